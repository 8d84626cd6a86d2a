#include "calcprocess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

// vernolat-calc run as a process, as a script runs it: its output, its messages and exit codes.
namespace {

// IUPAC 2013 abridged atomic weights, as the default base and the chemistry use them.
constexpr double H = 1.008, N = 14.007, O = 15.999, P = 30.974, S = 32.06, K = 39.098, Ca = 40.078,
                 Mg = 24.305;
constexpr double Water = 2 * H + O;

// A salt typed as a grower types a pure one: each element's share of the formula mass, dosed so
// that a litre holds `mmol` of it.
struct Salt
{
    const char *name;
    double mmol;
    double molarMass;
    QList<std::pair<const char *, double>> elements; // symbol, g of it per mol of salt
};

// Hoagland and Arnon's No. 2 as salts: KNO3 6, Ca(NO3)2·4H2O 4, NH4H2PO4 1, MgSO4·7H2O 2 mmol/L
// give NO3 14, NH4 1, H2PO4 1, K 6, Ca 4, Mg 2, SO4 2 mmol/L.
QList<Salt> hoaglandTwo()
{
    return {{"Калиевая селитра", 6, K + N + 3 * O, {{"K", K}, {"N-NO3", N}}},
            {"Кальциевая селитра 4-водная", 4, Ca + 2 * (N + 3 * O) + 4 * Water, {{"Ca", Ca}, {"N-NO3", 2 * N}}},
            {"Моноаммонийфосфат", 1, N + 6 * H + P + 4 * O, {{"N-NH4", N}, {"P", P}}},
            {"Сульфат магния 7-водный", 2, Mg + S + 4 * O + 7 * Water, {{"Mg", Mg}, {"S", S}}}};
}

QJsonObject fertilizer(const Salt &salt)
{
    QJsonObject composition;
    for (const auto &[symbol, grams] : salt.elements)
        composition.insert(QLatin1StringView(symbol), 100 * grams / salt.molarMass);
    return {{QStringLiteral("name"), QString::fromUtf8(salt.name)},
            {QStringLiteral("composition"), composition},
            {QStringLiteral("grams_per_litre"), salt.mmol * salt.molarMass / 1000}};
}

// Nitric acid 60 %, density 1.367 g/mL: 10 × 60 × 1.367 / 63.012 = 13.02 mol/L.
const double NitricMolarMass = H + N + 3 * O;
const double NitricMolarity = 10 * 60 * 1.367 / NitricMolarMass;

QByteArray hoaglandFile(double hco3Meq)
{
    QJsonArray fertilizers;
    for (const Salt &s : hoaglandTwo())
        fertilizers.append(fertilizer(s));
    QJsonObject recipe{{QStringLiteral("format"), QStringLiteral("vernolat-recipe")},
                       {QStringLiteral("version"), 1},
                       {QStringLiteral("name"), QStringLiteral("Хогланд № 2")},
                       {QStringLiteral("fertilizers"), fertilizers}};
    if (hco3Meq > 0) {
        fertilizers.append(QJsonObject{
            {QStringLiteral("name"), QStringLiteral("Азотная кислота 60%")},
            {QStringLiteral("composition"), QJsonObject{{QStringLiteral("N-NO3"), 60 * N / NitricMolarMass}}},
            {QStringLiteral("grams_per_litre"), 0},
            {QStringLiteral("acid"), QJsonObject{{QStringLiteral("strength_percent"), 60},
                                                 {QStringLiteral("density"), 1.367}}}});
        recipe.insert(QStringLiteral("fertilizers"), fertilizers);
        // Alkalinity 1 meq/L is 61.017 mg/L of HCO3.
        recipe.insert(QStringLiteral("water"), QJsonObject{{QStringLiteral("hco3"), hco3Meq * 61.017},
                                                          {QStringLiteral("ph"), 7.5}});
        recipe.insert(QStringLiteral("target_ph"), 5.8);
        recipe.insert(QStringLiteral("acid"), QStringLiteral("Азотная кислота 60%"));
    }
    return QJsonDocument(recipe).toJson();
}

class VernolatCalc : public ::testing::Test
{
protected:
    QString file(const QString &name, const QByteArray &bytes) { return writeFile(dir, name, bytes); }

    QJsonObject analyseJson(const QByteArray &recipe)
    {
        const Outcome r = calc({QStringLiteral("analyse"), file(QStringLiteral("recipe.json"), recipe),
                            QStringLiteral("--json")});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty());
        QJsonParseError error;
        const QJsonDocument d = QJsonDocument::fromJson(r.out, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
        return d.object();
    }

    QTemporaryDir dir;
};

} // namespace

// The elements are what the salts hold by hand (mmol × atomic weight), the ions the published
// make-up, the charges balance at 19 meq/L, and the EC is the model's 2.09 mS/cm with pairs.
TEST_F(VernolatCalc, HoaglandTwoTypedAsSaltsGivesItsIonsAndEc)
{
    const QJsonObject r = analyseJson(hoaglandFile(0));
    const QStringList keys = r.keys();
    EXPECT_EQ(keys, (QStringList{"acid", "anions_meq", "cations_meq", "ec", "elements", "ions", "ph"}));
    EXPECT_TRUE(r.value(QStringLiteral("acid")).isNull());

    const QJsonObject elements = r.value(QStringLiteral("elements")).toObject();
    EXPECT_EQ(elements.size(), 15);
    const std::pair<const char *, double> byHand[] = {{"N", 15 * N}, {"P", P},      {"K", 6 * K},
                                                      {"Ca", 4 * Ca}, {"Mg", 2 * Mg}, {"S", 2 * S},
                                                      {"Fe", 0},      {"Na", 0}};
    for (const auto &[symbol, mg] : byHand)
        EXPECT_NEAR(elements.value(QLatin1StringView(symbol)).toDouble(-1), mg, 1e-3) << symbol;

    const QJsonObject ions = r.value(QStringLiteral("ions")).toObject();
    const auto mmol = [&ions](const char *ion) {
        return ions.value(QLatin1StringView(ion)).toObject().value(QStringLiteral("mmol")).toDouble();
    };
    // A form split by the pH adds up over its species; one under 0.1 % of its form is not listed.
    const std::tuple<QStringList, double, int> published[] = {
        {{"NO3"}, 14, 1},         {{"K"}, 6, 1},          {{"Ca"}, 4, 2},
        {{"Mg"}, 2, 2},           {{"SO4", "HSO4"}, 2, 2}, {{"NH4", "NH3"}, 1, 1},
        {{"H2PO4", "HPO4", "H3PO4"}, 1, 1}};
    for (const auto &[species, amount, charge] : published) {
        SCOPED_TRACE(species.first().toStdString());
        double sum = 0;
        for (const QString &s : species)
            sum += mmol(s.toLatin1().constData());
        EXPECT_NEAR(sum, amount, species.size() == 1 ? 1e-6 : 1e-3 * amount);
        const double meq = ions.value(species.first()).toObject().value(QStringLiteral("meq")).toDouble();
        EXPECT_NEAR(meq, mmol(species.first().toLatin1().constData()) * charge, 1e-9);
    }
    EXPECT_GT(mmol("NH4"), 0.999) << "at a nutrient pH ammonium stays ammonium";
    EXPECT_GT(mmol("H2PO4"), 0.9);
    EXPECT_NEAR(ions.value(QStringLiteral("NO3")).toObject().value(QStringLiteral("mg")).toDouble(), 14 * (N + 3 * O), 1e-3);

    EXPECT_NEAR(r.value(QStringLiteral("cations_meq")).toDouble(), 19, 0.01);
    EXPECT_NEAR(r.value(QStringLiteral("anions_meq")).toDouble(), 19, 0.05);
    EXPECT_NEAR(r.value(QStringLiteral("ec")).toDouble(), 2.09, 0.01);
}

// Water of 2 meq/L alkalinity at pH 7.5 brought to 5.8 takes 1.531 meq/L of H+ (the closed-system
// table); 60 % nitric acid gives 13.02 eq/L, adds 14.007 mg/L of N per meq and leaves the rest of
// the bicarbonate. The text output says the same as the JSON.
TEST_F(VernolatCalc, AcidDoseAgainstTheWatersBicarbonate)
{
    const QByteArray recipe = hoaglandFile(2);
    const QJsonObject r = analyseJson(recipe);
    const QJsonObject acid = r.value(QStringLiteral("acid")).toObject();
    const double meq = 1.531;
    EXPECT_NEAR(acid.value(QStringLiteral("meq_per_litre")).toDouble(), meq, 0.005);
    EXPECT_NEAR(acid.value(QStringLiteral("ml_per_litre")).toDouble(), meq / NitricMolarity, 0.005 / NitricMolarity);
    EXPECT_EQ(acid.value(QStringLiteral("adds")).toObject().keys(), QStringList{QStringLiteral("N")});
    EXPECT_NEAR(acid.value(QStringLiteral("adds")).toObject().value(QStringLiteral("N")).toDouble(), meq * N, 0.005 * N);
    EXPECT_NEAR(acid.value(QStringLiteral("hco3_left")).toDouble(), (2 - meq) * 61.017, 0.005 * 61.017);

    const Outcome text = calc({QStringLiteral("analyse"), file(QStringLiteral("text.json"), recipe)});
    ASSERT_EQ(text.code, 0) << text.err.toStdString();
    const QString out = QString::fromUtf8(text.out);
    const auto shown = [](const QJsonValue &v, int decimals) { return QString::number(v.toDouble(), 'f', decimals); };
    for (const QString &expected :
         {QStringLiteral("Рецепт «Хогланд № 2», концентрация 100 %"),
          QStringLiteral("EC ≈ %1 мСм/см при 25 °C").arg(shown(r.value(QStringLiteral("ec")), 2)),
          QStringLiteral("pH ≈ %1, оценка").arg(shown(r.value(QStringLiteral("ph")), 1)),
          QStringLiteral("Кислота «Азотная кислота 60%» до pH 5.8: %1 мг-экв/л, %2 мл/л, %3 мл на 1000 л")
              .arg(shown(acid.value(QStringLiteral("meq_per_litre")), 3),
                   shown(acid.value(QStringLiteral("ml_per_litre")), 4),
                   QString::number(acid.value(QStringLiteral("ml_per_litre")).toDouble() * 1000, 'f', 1)),
          QStringLiteral("Катионы %1 мг-экв/л, анионы %2 мг-экв/л")
              .arg(shown(r.value(QStringLiteral("cations_meq")), 3), shown(r.value(QStringLiteral("anions_meq")), 3))})
        EXPECT_TRUE(out.contains(expected)) << expected.toStdString() << "\n" << out.toStdString();

    // A Russian desktop's decimal comma changes nothing: the output is for scripts as well.
    const Outcome russian = calc({QStringLiteral("analyse"), file(QStringLiteral("text.json"), recipe)}, {},
                                 {QStringLiteral("LC_ALL=ru_RU.UTF-8"), QStringLiteral("LANG=ru_RU.UTF-8")});
    EXPECT_EQ(russian.out, text.out);

    // The same file through standard input.
    const Outcome piped = calc({QStringLiteral("analyse"), QStringLiteral("-"), QStringLiteral("--json")}, recipe);
    EXPECT_EQ(piped.code, 0) << piped.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(piped.out).object(), r);
}

// A wrong call, a file that cannot be read and a file whose content is refused: each its own exit
// code, one line on standard error naming the file and the fault, nothing on standard output.
TEST_F(VernolatCalc, BadCallsAndFilesExitWithTheirCodeAndMessage)
{
    const QString notJson = file(QStringLiteral("broken.json"), "{\n  \"format\": \"vernolat-recipe\",\n  \"version\" 1\n}");
    const QString unknown = file(QStringLiteral("symbol.json"),
                                 "{\"format\": \"vernolat-recipe\", \"version\": 1, \"name\": \"R\",\n"
                                 " \"fertilizers\": [\n"
                                 "  {\"name\": \"A\", \"composition\": {\"P2O6\": 52}, \"grams_per_litre\": 1}]}");
    const QString negative = file(QStringLiteral("negative.json"),
                                  "{\"format\": \"vernolat-recipe\", \"version\": 1, \"name\": \"R\",\n"
                                  " \"fertilizers\": [{\"name\": \"A\", \"composition\": {\"K\": 40},\n"
                                  "                  \"grams_per_litre\": -1}]}");
    struct Case
    {
        const char *what;
        QStringList arguments;
        int code;
        QString message; // the start of standard error's first line
    };
    const Case cases[] = {
        {"not JSON", {"analyse", notJson}, 65, notJson + ": строка 3, столбец 14: после имени поля нет двоеточия"},
        {"an unknown symbol", {"analyse", unknown, "--json"}, 65,
         unknown + ": строка 3: fertilizers[0].composition.P2O6: неизвестный символ"},
        {"a negative amount", {"analyse", negative}, 65,
         negative + ": строка 3: fertilizers[0].grams_per_litre: число -1, а должно быть от 0 до 100"},
        {"no such file", {"analyse", dir.filePath("none.json")}, 66, dir.filePath("none.json") + ": нет такого файла"},
        {"a folder", {"analyse", dir.path()}, 66, dir.path() + ": это папка, а не файл"},
        {"no command", {}, 64, "не указана команда"},
        {"an unknown command", {"mix", notJson}, 64, "неизвестная команда «mix»"},
        {"no file", {"analyse"}, 64, "analyse: нужен один файл рецепта"},
        {"two files", {"analyse", notJson, unknown}, 64, "analyse: нужен один файл рецепта"},
        {"an unknown option", {"analyse", notJson, "--xml"}, 64, "неизвестный параметр «xml»"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome r = calc(c.arguments);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("vernolat-calc: ") + c.message)) << r.err.toStdString();
        EXPECT_EQ(r.err.count(u'\n'), c.code == 64 ? 2 : 1) << "the fault, and for a wrong call where help is";
    }

    const Outcome help = calc({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains("analyse FILE")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--json"));
    const Outcome version = calc({QStringLiteral("--version")});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, QByteArray("vernolat-calc " VERNOLAT_VERSION "\n"));
}
