#include "recipefiletestdata.h"

#include "calc/calcdatatest.h"
#include "calc/recipefile/defaultelements.h"
#include "calc/recipefile/jsonlines.h"
#include "calc/recipefile/recipefile.h"
#include "data/fields.h"
#include "support/errorof.h"
#include "tools/makebase/basedata.h"

#include <QRegularExpression>

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

using namespace RecipeFile;

namespace {

// A file whose line 6 is a good fertilizer, line 7 the case's own and line 8 what follows the
// list, so that every case knows the line its fault stands on.
QByteArray recipeWith(const QString &fertilizer, const QString &after = {})
{
    return QStringLiteral("{\n"
                          "    \"format\": \"vernolat-recipe\",\n"
                          "    \"version\": 1,\n"
                          "    \"name\": \"Проба\",\n"
                          "    \"fertilizers\": [\n"
                          "        {\"name\": \"Калиевая селитра\", \"composition\": {\"N-NO3\": 13.85, \"K2O\": 46.58}, \"grams_per_litre\": 0.56},\n"
                          "        %1\n"
                          "    ]%2\n"
                          "}\n")
        .arg(fertilizer, after)
        .toUtf8();
}

QByteArray top(const QString &members)
{
    return QStringLiteral("{\"format\": \"vernolat-recipe\", \"version\": 1, \"name\": \"Проба\", %1}")
        .arg(members)
        .toUtf8();
}

const QString Salt = QStringLiteral("{\"name\": \"Сульфат магния\", \"composition\": {\"MgO\": 16.35, \"SO3\": 32.48}, \"grams_per_litre\": 0.62}");
const QString Acid = QStringLiteral("{\"name\": \"Азотная кислота 60%\", \"composition\": {\"N-NO3\": 13.34}, \"grams_per_litre\": 0, \"acid\": {\"strength_percent\": 60, \"density\": 1.367}}");

} // namespace

// Each refused file with the start of its message: the line, the field, what is wrong.
TEST(RecipeFileRead, RefusesEachBadFileNamingTheLineAndTheField)
{
    const QString longName(10000, QChar(u'я'));
    struct Case
    {
        const char *what;
        QByteArray file;
        QString message;
    };
    const Case cases[] = {
        {"not JSON: a comma missing", recipeWith(QStringLiteral("{\"name\": \"x\" \"composition\": {}}")),
         // The parser stops in the second key, after its quote: 8 blanks, `{"name": "x" "` 14 more.
         QStringLiteral("строка 7, столбец 23: объект не закрыт или после значения нет запятой")},
        {"truncated", recipeWith(Salt).left(200), QStringLiteral("строка 6, столбец")},
        {"a bare word", QByteArray("{\"format\": vernolat}"), QStringLiteral("строка 1, столбец 12: неверное или слишком большое число")},
        {"empty", QByteArray(), QStringLiteral("файл пуст")},
        {"blanks and a byte-order mark only", QByteArray("\xEF\xBB\xBF \r\n "), QStringLiteral("файл пуст")},
        {"not UTF-8", recipeWith(QStringLiteral("%1")).replace("Проба", "\xCF\xF0\xEE\xE1\xE0"),
         QStringLiteral("строка 4, столбец")},
        {"a number beyond a double", recipeWith(QStringLiteral("{\"name\": \"x\", \"composition\": {\"K\": 1}, \"grams_per_litre\": 1e999}")),
         QStringLiteral("строка 7, столбец")},
        {"an array, not an object", QByteArray("[1, 2]"), QStringLiteral("строка 1: ожидается объект { }, а здесь массив")},
        {"another format", QByteArray("{\"format\": \"csv\", \"version\": 1}"),
         QStringLiteral("строка 1: format: \"csv\", а у рецепта Vernolat \"vernolat-recipe\"")},
        {"version 2", QByteArray("{\"format\": \"vernolat-recipe\",\n\"version\": 2, \"future\": true}"),
         QStringLiteral("строка 2: version: версия 2 не поддерживается: эта программа читает версию 1")},
        {"no version", QByteArray("{\"format\": \"vernolat-recipe\"}"), QStringLiteral("строка 1: version: нет обязательного поля")},
        {"a required field missing", recipeWith(QStringLiteral("{\"name\": \"x\", \"composition\": {\"K\": 1}}")),
         QStringLiteral("строка 7: fertilizers[1].grams_per_litre: нет обязательного поля")},
        {"a number as text", recipeWith(QStringLiteral("{\"name\": \"x\", \"composition\": {\"K\": \"46.6\"}, \"grams_per_litre\": 1}")),
         QStringLiteral("строка 7: fertilizers[1].composition.K: ожидается число, а здесь текст \"46.6\"")},
        {"an unknown symbol", recipeWith(QStringLiteral("{\"name\": \"x\", \"composition\": {\"P2O6\": 52}, \"grams_per_litre\": 1}")),
         QStringLiteral("строка 7: fertilizers[1].composition.P2O6: неизвестный символ (известны: N, P, K,")},
        {"a symbol in the wrong case", recipeWith(QStringLiteral("{\"name\": \"x\", \"composition\": {\"ca\": 19}, \"grams_per_litre\": 1}")),
         QStringLiteral("строка 7: fertilizers[1].composition.ca: неизвестный символ")},
        {"a negative amount", recipeWith(QStringLiteral("{\"name\": \"x\", \"composition\": {\"K\": 1}, \"grams_per_litre\": -0.5}")),
         QStringLiteral("строка 7: fertilizers[1].grams_per_litre: число -0.5, а должно быть от 0 до 100")},
        {"more g/L than the amount editors hold", recipeWith(QStringLiteral("{\"name\": \"x\", \"composition\": {\"K\": 1}, \"grams_per_litre\": 150}")),
         QStringLiteral("строка 7: fertilizers[1].grams_per_litre: число 150, а должно быть от 0 до 100")},
        {"a figure over 100 %", recipeWith(QStringLiteral("{\"name\": \"x\", \"composition\": {\"K\": 101}, \"grams_per_litre\": 1}")),
         QStringLiteral("строка 7: fertilizers[1].composition.K: число 101, а должно быть от 0 до 100")},
        {"a composition over 100 %", recipeWith(QStringLiteral("{\"name\": \"x\", \"composition\": {\"K2O\": 63.18, \"Cl\": 60}, \"grams_per_litre\": 1}")),
         // K2O 63.18 % holds 63.18 × 0.8302 = 52.45 % K.
         QStringLiteral("строка 7: fertilizers[1].composition: элементы составляют 112.45 % массы удобрения, больше 100 %")},
        {"one form twice", recipeWith(QStringLiteral("{\"name\": \"x\", \"composition\": {\"P\": 22.7, \"P2O5\": 52}, \"grams_per_litre\": 1}")),
         QStringLiteral("строка 7: fertilizers[1].composition.P2O5: P и P2O5 дают одно и то же: P посчитался бы дважды")},
        {"plain nitrate N beside N-NO3", recipeWith(QStringLiteral("{\"name\": \"x\", \"composition\": {\"N\": 10, \"N-NO3\": 10}, \"grams_per_litre\": 1}")),
         QStringLiteral("строка 7: fertilizers[1].composition.N-NO3: N и N-NO3 дают одно и то же")},
        {"a key repeated", recipeWith(QStringLiteral("{\"name\": \"x\", \"composition\": {\"K\": 10, \"K\": 20}, \"grams_per_litre\": 1}")),
         QStringLiteral("строка 7: fertilizers[1].composition.K: поле повторяется")},
        {"a misspelt field", recipeWith(QStringLiteral("{\"name\": \"x\", \"composition\": {\"K\": 1}, \"grams_per_liter\": 1}")),
         QStringLiteral("строка 7: fertilizers[1].grams_per_liter: неизвестное поле (здесь бывают: name, composition, grams_per_litre, nitrogen_form, acid, ppm, solubility, price, fixed, at_most)")},
        {"duplicate names", recipeWith(QStringLiteral("{\"name\": \" калиевая селитра \", \"composition\": {\"K\": 1}, \"grams_per_litre\": 1}")),
         QStringLiteral("строка 7: fertilizers[1].name: «калиевая селитра» уже есть в fertilizers[0]")},
        {"a 10 kB name", recipeWith(QStringLiteral("{\"name\": \"%1\", \"composition\": {\"K\": 1}, \"grams_per_litre\": 1}").arg(longName)),
         QStringLiteral("строка 7: fertilizers[1].name: название длиннее 50 знаков (10000)")},
        {"an empty name", recipeWith(QStringLiteral("{\"name\": \"  \", \"composition\": {}, \"grams_per_litre\": 1}")),
         QStringLiteral("строка 7: fertilizers[1].name: пустое название")},
        {"a line break in a name", recipeWith(QStringLiteral("{\"name\": \"a\\nb\", \"composition\": {}, \"grams_per_litre\": 1}")),
         QStringLiteral("строка 7: fertilizers[1].name: управляющий знак в названии (код 10)")},
        {"an unknown nitrogen form", recipeWith(QStringLiteral("{\"name\": \"x\", \"composition\": {\"N\": 46}, \"grams_per_litre\": 1, \"nitrogen_form\": \"amide\"}")),
         QStringLiteral("строка 7: fertilizers[1].nitrogen_form: \"amide\", а должно быть одно из: nitrate, ammonium, urea")},
        {"an acid's density 10 times too high", recipeWith(QStringLiteral("{\"name\": \"x\", \"composition\": {\"N-NO3\": 13.34}, \"grams_per_litre\": 0, \"acid\": {\"strength_percent\": 60, \"density\": 13.67}}")),
         QStringLiteral("строка 7: fertilizers[1].acid.density: число 13.67, а должно быть от 1 до 2.5")},
        {"an acid of no strength", recipeWith(QStringLiteral("{\"name\": \"x\", \"composition\": {\"N-NO3\": 13.34}, \"grams_per_litre\": 0, \"acid\": {\"strength_percent\": 0, \"density\": 1.3}}")),
         QStringLiteral("строка 7: fertilizers[1].acid.strength_percent: число 0, а должно быть больше 0 и не больше 100")},
        {"the percentage beyond the slider", top(QStringLiteral("\"percentage\": 300, \"fertilizers\": []")),
         QStringLiteral("строка 1: percentage: число 300, а должно быть от 0 до 250")},
        {"a fractional percentage", top(QStringLiteral("\"percentage\": 87.5, \"fertilizers\": []")),
         QStringLiteral("строка 1: percentage: число 87.5, а должно быть целым")},
        {"fertilizers not a list", top(QStringLiteral("\"fertilizers\": {}")),
         QStringLiteral("строка 1: fertilizers: ожидается массив [ ], а здесь объект")},
        {"a water pH of 15", recipeWith(Salt, QStringLiteral(", \"water\": {\"ph\": 15}")),
         QStringLiteral("строка 8: water.ph: число 15, а должно быть от 0 до 14")},
        {"a water's unknown symbol", recipeWith(Salt, QStringLiteral(", \"water\": {\"mg_per_litre\": {\"HCO3\": 183}}")),
         QStringLiteral("строка 8: water.mg_per_litre.HCO3: неизвестный символ")},
        {"the acid not among the fertilizers", recipeWith(Salt, QStringLiteral(", \"acid\": \"Серная кислота\"")),
         QStringLiteral("строка 8: acid: среди fertilizers нет удобрения «Серная кислота»")},
        {"the acid without strength and density", recipeWith(Salt, QStringLiteral(", \"acid\": \"Сульфат магния\"")),
         QStringLiteral("строка 8: acid: у «Сульфат магния» не указаны крепость и плотность (fertilizers[1].acid)")},
        {"the acid brings no N, P or S",
         recipeWith(QStringLiteral("{\"name\": \"Щёлочь\", \"composition\": {\"K\": 50}, \"grams_per_litre\": 0, \"acid\": {\"strength_percent\": 50, \"density\": 1.5}}"),
                    QStringLiteral(", \"acid\": \"Щёлочь\"")),
         QStringLiteral("строка 8: acid: «Щёлочь» не кислота: в составе должен быть ровно один из N, P, S")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString message = QString::fromStdString(errorOf([&c] { read(c.file); }));
        EXPECT_TRUE(message.startsWith(c.message)) << message.toStdString();
    }
}

TEST(RecipeFileRead, AFileOverTheSizeLimitIsRefusedUnparsed)
{
    QByteArray huge = recipeWith(Salt);
    huge.append(QByteArray(MaximumFileSize, ' '));
    EXPECT_EQ(errorOf([&huge] { read(huge); }), "файл больше 16 МБ: рецепт столько не занимает");
}

// A byte-order mark and Windows line ends read as the plain file does; the optional fields take
// their defaults, and names lose surrounding blanks.
TEST(RecipeFileRead, ByteOrderMarkCrLfAndDefaults)
{
    const QByteArray plain = recipeWith(QStringLiteral("{\"name\": \"  Сульфат магния \", \"composition\": {\"MgO\": 16.35}, \"grams_per_litre\": 0.62}"));
    QByteArray windows = plain;
    windows.replace("\n", "\r\n").prepend("\xEF\xBB\xBF");
    const Recipe r = read(plain);
    EXPECT_EQ(read(windows), r);
    EXPECT_EQ(r.name, QStringLiteral("Проба"));
    EXPECT_EQ(r.percentage, 100);
    EXPECT_EQ(r.fertilizers.size(), 2);
    EXPECT_EQ(r.fertilizers.at(1).name, QStringLiteral("Сульфат магния"));
    EXPECT_FALSE(r.fertilizers.at(1).nitrogenForm || r.fertilizers.at(1).acid);
    EXPECT_FALSE(r.water || r.targetPh || r.acid);
    const QMap<QString, double> expected{{QStringLiteral("K2O"), 46.58}, {QStringLiteral("N-NO3"), 13.85}};
    EXPECT_EQ(r.fertilizers.at(0).composition, expected);

    // A fault after the mark is placed as without it: the mark is no character of the line. The
    // parser stops on the x of `{"format" "x"`.
    QByteArray broken = QByteArray("\xEF\xBB\xBF{\"format\" \"x\"}");
    EXPECT_EQ(errorOf([&broken] { read(broken); }), "строка 1, столбец 12: после имени поля нет двоеточия");
}

// Every fertilizer of the default base, as its composition rows state it, makes a file that reads:
// the symbols, the 100 % rule and the one-form rule hold for real labels.
TEST(RecipeFileRead, EveryDefaultFertilizerReads)
{
    const QList<BaseSection> sections = BaseData::parse(BaseData::defaultText());
    const auto section = [&sections](const QString &table) {
        return *std::find_if(sections.cbegin(), sections.cend(),
                             [&table](const BaseSection &s) { return s.table == table; });
    };
    const BaseSection fertilizers = section(Tables::t_udobra);
    const BaseSection rows = section(Tables::T_sostav_udobra);
    const auto cell = [](const BaseSection &s, const BaseRow &row, const QString &field) {
        return row.values.at(s.fields.indexOf(field));
    };
    int read = 0;
    for (const BaseRow &f : fertilizers.rows) {
        const int id = cell(fertilizers, f, Fields::id_udobra).toInt();
        const QString name = cell(fertilizers, f, Fields::name_udobra).toString();
        SCOPED_TRACE(name.toStdString());
        QStringList composition;
        for (const BaseRow &row : rows.rows) {
            if (cell(rows, row, Fields::id_udobra).toInt() != id)
                continue;
            const int element = cell(rows, row, Fields::id_element).toInt();
            const auto e = std::find_if(DefaultElements::all().cbegin(), DefaultElements::all().cend(),
                                        [element](const DefaultElements::Element &e) { return e.id == element; });
            composition.append(QStringLiteral("\"%1\": %2").arg(e->symbol).arg(cell(rows, row, Fields::kol_element).toDouble()));
        }
        ASSERT_FALSE(composition.isEmpty());
        const QByteArray file = top(QStringLiteral("\"fertilizers\": [{\"name\": \"%1\", \"composition\": {%2}, \"grams_per_litre\": 1}]")
                                        .arg(name, composition.join(QStringLiteral(", "))));
        EXPECT_EQ(errorOf([&file] { RecipeFile::read(file); }), "(no error)");
        ++read;
    }
    EXPECT_EQ(read, fertilizers.rows.size());
}

// Writing: every key in one order whatever order the file had, the numbers as they were read, and
// what is written reads back the same.
TEST(RecipeFileWrite, StableOrderNumbersAsGivenAndRoundTrip)
{
    const Recipe example = read(RecipeFileTestData::example());
    const QByteArray written = write(example);
    EXPECT_EQ(read(written), example);
    EXPECT_EQ(write(read(written)), written);

    // The same recipe with its keys in another order writes the same bytes.
    const QByteArray shuffled = QByteArray(
        "{\"acid\": \"A\", \"fertilizers\": [{\"grams_per_litre\": 0.1, \"acid\": {\"density\": 1.367, \"strength_percent\": 60},"
        " \"composition\": {\"N-NO3\": 13.34}, \"name\": \"A\"}], \"water\": {\"ph\": 7.5, \"hco3\": 183},"
        " \"name\": \"R\", \"version\": 1, \"format\": \"vernolat-recipe\"}");
    const QByteArray ordered = QByteArray(
        "{\"format\": \"vernolat-recipe\", \"version\": 1, \"name\": \"R\", \"fertilizers\": [{\"name\": \"A\","
        " \"composition\": {\"N-NO3\": 13.34}, \"grams_per_litre\": 0.1, \"acid\": {\"strength_percent\": 60,"
        " \"density\": 1.367}}], \"water\": {\"hco3\": 183, \"ph\": 7.5}, \"acid\": \"A\"}");
    EXPECT_EQ(write(read(shuffled)), write(read(ordered)));

    // Figures a label or a scale gives are written as typed, and all of them read back exactly.
    const char *figures[] = {"14.4", "0.1", "1.367", "46.58", "0.000123", "100", "0.95", "33.333333333333336"};
    for (const char *figure : figures) {
        SCOPED_TRACE(figure);
        const QByteArray file = top(QStringLiteral("\"fertilizers\": [{\"name\": \"A\", \"composition\": {\"K\": %1}, \"grams_per_litre\": %1}]")
                                        .arg(QLatin1StringView(figure)));
        const QByteArray out = write(read(file));
        EXPECT_TRUE(out.contains(QByteArray("\"K\": ") + figure)) << out.toStdString();
        EXPECT_EQ(read(out).fertilizers.at(0).gramsPerLitre, std::stod(figure));
    }
}

// The example the format's description shows is the file docs/ ships, and it reads.
TEST(RecipeFileRead, TheDocumentedExampleIsTheShippedFileAndReads)
{
    const QByteArray example = RecipeFileTestData::example();
    ASSERT_FALSE(example.isEmpty());
    const QString description = QString::fromUtf8(RecipeFileTestData::documentFile(QStringLiteral("recipe-format.md")));
    const QRegularExpressionMatch block =
        QRegularExpression(QStringLiteral("```json\\n(.*?)```"), QRegularExpression::DotMatchesEverythingOption)
            .match(description);
    ASSERT_TRUE(block.hasMatch());
    EXPECT_EQ(block.captured(1).toUtf8(), example);
    // The description's table of symbols states the coefficients the reader uses.
    for (const DefaultElements::Element &e : DefaultElements::all()) {
        if (e.isLabelForm() && e.factor != 1) {
            EXPECT_TRUE(description.contains(QStringLiteral("%1 as %2 × %3").arg(e.symbol, e.yields).arg(e.factor)))
                << e.symbol.toStdString();
        }
    }
    const Recipe r = read(example);
    EXPECT_EQ(r.fertilizers.size(), 8);
    ASSERT_NE(r.acidFertilizer(), nullptr);
    EXPECT_TRUE(r.acidFertilizer()->acid);
}

// Where values stand: lines by path, the nearest enclosing value for a missing one, and byte
// offsets as a reader counts them.
TEST(JsonLines, LinesOfPathsAndPositionsOfOffsets)
{
    const QByteArray text("\xEF\xBB\xBF{\r\n"
                          "  \"name\": \"Проба\",\r\n"
                          "  \"list\": [\r\n"
                          "    {\"a\": 1,\r\n"
                          "     \"b\": {\"c\": [1,\r\n"
                          "                  2]}}\r\n"
                          "  ]\r\n"
                          "}");
    const JsonLines lines(text);
    const std::pair<const char *, int> paths[] = {
        {"", 1},           {"name", 2},          {"list", 3},        {"list[0]", 4},
        {"list[0].a", 4},  {"list[0].b", 5},     {"list[0].b.c", 5}, {"list[0].b.c[1]", 6},
        {"list[0].b.z", 5}, {"list[3].x", 3},    {"missing", 1}};
    for (const auto &[path, line] : paths)
        EXPECT_EQ(lines.lineOf(QString::fromLatin1(path)), line) << path;
    EXPECT_FALSE(lines.repeatedKey());

    // Offsets: the mark is no column, Cyrillic letters are one column of two bytes each.
    const qsizetype afterName = text.indexOf("\xD0\x9F"); // "П"
    const std::tuple<qsizetype, int, int> offsets[] = {
        {0, 1, 1}, {3, 1, 1}, {4, 1, 2}, {afterName, 2, 12}, {afterName + 4, 2, 14}, {text.size(), 8, 2}};
    for (const auto &[offset, line, column] : offsets)
        EXPECT_EQ(JsonLines::position(text, offset), std::make_pair(line, column)) << offset;
}
