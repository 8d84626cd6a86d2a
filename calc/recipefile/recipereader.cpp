#include "recipefile.h"

#include "defaultelements.h"
#include "jsonlines.h"
#include "recipeanalysis.h"

#include "calc/chemistry/inputcheck.h"
#include "calc/chemistry/ionmakeup.h"
#include "calc/run/numbers.h"
#include "data/apperror.h"
#include "data/fields.h"
#include "data/schema.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cmath>

namespace RecipeFile {

namespace {

// What the elements of a composition may exceed 100 % by: label figures are rounded.
constexpr double RoundingRoom = 0.1;

struct Range
{
    double low;
    double high;
    bool lowExcluded = false;
};
constexpr Range Percent{0, 100};
constexpr Range Grams{0, SavedAmountMaximum};
constexpr Range Percentage{0, PercentageMaximum};
constexpr Range WaterMilligrams{0, WaterMilligramsMaximum};
constexpr Range Ph{0, 14};
constexpr Range Strength{0, 100, true};
// Every aqueous acid a grower doses is heavier than water; the densest, sulphuric, is about 1.84.
constexpr Range Density{1, 2.5};
// Generous bounds for the figures a base keeps beside the recipe: they only keep out the absurd.
constexpr Range Ppm{0, 100000};
constexpr Range Solubility{0, 100000};
constexpr Range Price{0, 1e9};
constexpr Range Litres{0, 1e6};
constexpr Range TargetMilligrams{0, WaterMilligramsMaximum};
constexpr Range Conductivity{0, 100};
constexpr Range SolverAmount{0, MaxAmount};
constexpr Range Weight{1, 10};

const QList<std::pair<Chemistry::NitrogenForm, QString>> &nitrogenForms()
{
    static const QList<std::pair<Chemistry::NitrogenForm, QString>> forms = [] {
        QList<std::pair<Chemistry::NitrogenForm, QString>> f;
        for (const auto form : {Chemistry::NitrogenForm::Nitrate, Chemistry::NitrogenForm::Ammonium,
                                Chemistry::NitrogenForm::Urea})
            f.append({form, nitrogenFormText(form)});
        return f;
    }();
    return forms;
}

QString kindOf(const QJsonValue &v)
{
    switch (v.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return QStringLiteral("число");
    case QJsonValue::String:
        return QStringLiteral("текст \"%1\"").arg(v.toString().left(40));
    case QJsonValue::Array:
        return QStringLiteral("массив");
    case QJsonValue::Object:
        return QStringLiteral("объект");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("ничего");
}

QString parseErrorText(QJsonParseError::ParseError error)
{
    switch (error) {
    case QJsonParseError::UnterminatedObject:
        return QStringLiteral("объект не закрыт или после значения нет запятой");
    case QJsonParseError::MissingNameSeparator:
        return QStringLiteral("после имени поля нет двоеточия");
    case QJsonParseError::UnterminatedArray:
        return QStringLiteral("массив не закрыт или после значения нет запятой");
    case QJsonParseError::MissingValueSeparator:
        return QStringLiteral("между значениями нет запятой");
    case QJsonParseError::IllegalValue:
        return QStringLiteral("здесь не может стоять такое значение");
    case QJsonParseError::TerminationByNumber:
        return QStringLiteral("файл оборвался на числе");
    case QJsonParseError::IllegalNumber:
        return QStringLiteral("неверное или слишком большое число");
    case QJsonParseError::IllegalEscapeSequence:
        return QStringLiteral("неверная последовательность с \\ в тексте");
    case QJsonParseError::IllegalUTF8String:
        return QStringLiteral("текст не в кодировке UTF-8");
    case QJsonParseError::UnterminatedString:
        return QStringLiteral("текст не закрыт кавычкой");
    case QJsonParseError::MissingObject:
        return QStringLiteral("после запятой нет поля");
    case QJsonParseError::DeepNesting:
        return QStringLiteral("слишком глубокая вложенность");
    case QJsonParseError::DocumentTooLarge:
        return QStringLiteral("файл слишком велик");
    case QJsonParseError::GarbageAtEnd:
        return QStringLiteral("лишнее после конца объекта");
    case QJsonParseError::NoError:
        break;
    }
    return QStringLiteral("это не JSON");
}

int fieldSize(const QString &table, const QString &field)
{
    return Schema::table(table).field(field)->size;
}

// Walks the parsed file with the lines of its text at hand, so that every refusal names where.
class Reader
{
public:
    explicit Reader(const JsonLines &lines)
        : m_lines(lines)
    {
    }

    Recipe recipe(const QJsonObject &root) const;

private:
    [[noreturn]] void fail(const QString &path, const QString &what) const
    {
        throw AppError(at(path) + (path.isEmpty() ? what : path + QStringLiteral(": ") + what));
    }

    QString at(const QString &path) const
    {
        return QStringLiteral("строка %1: ").arg(m_lines.lineOf(path));
    }

    [[noreturn]] void unexpected(const QString &path, const QString &expected,
                                 const QJsonValue &v) const
    {
        fail(path, QStringLiteral("ожидается %1, а здесь %2").arg(expected, kindOf(v)));
    }

    void refuseUnknown(const QJsonObject &o, const QString &path, const QStringList &known) const;
    QJsonValue required(const QJsonObject &o, const QString &path, const QString &key) const;
    QJsonObject object(const QJsonValue &v, const QString &path) const;
    QString text(const QJsonValue &v, const QString &path) const;
    QString name(const QJsonValue &v, const QString &path, int longest) const;
    double number(const QJsonValue &v, const QString &path, const Range &range) const;
    int whole(const QJsonValue &v, const QString &path, const Range &range) const;
    QMap<QString, double> amounts(const QJsonValue &v, const QString &path, const Range &range,
                                  Chemistry::NitrogenForm plainNitrogen) const;
    Fertilizer fertilizer(const QJsonValue &v, const QString &path) const;
    Water water(const QJsonValue &v, const QString &path) const;
    Crop crop(const QJsonValue &v, const QString &path) const;
    Target target(const QJsonValue &v, const QString &path) const;
    QString shortText(const QJsonValue &v, const QString &path, int longest) const;
    void checkAcid(const Recipe &recipe) const;
    void readGoals(const QJsonObject &root, Recipe &r) const;

    const JsonLines &m_lines;
};

void Reader::refuseUnknown(const QJsonObject &o, const QString &path, const QStringList &known) const
{
    QString first;
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QString p = JsonLines::member(path, it.key());
        if (!known.contains(it.key()) && (first.isEmpty() || m_lines.lineOf(p) < m_lines.lineOf(first)))
            first = p;
    }
    if (!first.isEmpty())
        fail(first, QStringLiteral("неизвестное поле (здесь бывают: %1)").arg(known.join(QStringLiteral(", "))));
}

QJsonValue Reader::required(const QJsonObject &o, const QString &path, const QString &key) const
{
    const QString p = JsonLines::member(path, key);
    if (!o.contains(key))
        fail(p, QStringLiteral("нет обязательного поля"));
    return o.value(key);
}

QJsonObject Reader::object(const QJsonValue &v, const QString &path) const
{
    if (!v.isObject())
        unexpected(path, QStringLiteral("объект { }"), v);
    return v.toObject();
}

QString Reader::text(const QJsonValue &v, const QString &path) const
{
    if (!v.isString())
        unexpected(path, QStringLiteral("текст в кавычках"), v);
    return v.toString();
}

QString Reader::name(const QJsonValue &v, const QString &path, int longest) const
{
    const QString n = text(v, path).trimmed();
    if (n.isEmpty())
        fail(path, QStringLiteral("пустое название"));
    for (const QChar c : n) {
        if (c.category() == QChar::Other_Control)
            fail(path, QStringLiteral("управляющий знак в названии (код %1)").arg(c.unicode()));
    }
    if (n.size() > longest)
        fail(path, QStringLiteral("название длиннее %1 знаков (%2): «%3…»")
                       .arg(longest).arg(n.size()).arg(n.left(20)));
    return n;
}

double Reader::number(const QJsonValue &v, const QString &path, const Range &range) const
{
    if (!v.isDouble())
        unexpected(path, QStringLiteral("число"), v);
    const double x = v.toDouble();
    try {
        Chemistry::requireWithin(x, range.low, range.high, path, range.lowExcluded);
    } catch (const AppError &e) {
        throw AppError(at(path) + e.text());
    }
    return x;
}

int Reader::whole(const QJsonValue &v, const QString &path, const Range &range) const
{
    const double x = number(v, path, range);
    if (x != std::floor(x))
        fail(path, QStringLiteral("число %1, а должно быть целым").arg(x));
    return int(x);
}

QMap<QString, double> Reader::amounts(const QJsonValue &v, const QString &path, const Range &range,
                                      Chemistry::NitrogenForm plainNitrogen) const
{
    const QJsonObject o = object(v, path);
    QMap<QString, double> out;
    // What each symbol counts as: the element the run adds it to and its dissolved form. Two
    // symbols of one form (P and P2O5, N and N-NO3) would count the same element twice.
    QMap<std::pair<int, int>, QString> forms;
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QString p = JsonLines::member(path, it.key());
        const DefaultElements::Element *e = DefaultElements::find(it.key());
        if (!e)
            fail(p, QStringLiteral("неизвестный символ (известны: %1)").arg(DefaultElements::symbolList()));
        out.insert(it.key(), number(it.value(), p, range));
        const auto component = Chemistry::mappingOf(elementLine(it.key(), 0), plainNitrogen).component;
        const std::pair<int, int> form{e->isLabelForm() ? e->yieldsId : e->id,
                                       component ? int(*component) : -1};
        if (forms.contains(form))
            fail(p, QStringLiteral("%1 и %2 дают одно и то же: %3 посчитался бы дважды")
                        .arg(forms.value(form), it.key(), e->isLabelForm() ? e->yields : e->symbol));
        forms.insert(form, it.key());
    }
    return out;
}

Fertilizer Reader::fertilizer(const QJsonValue &v, const QString &path) const
{
    const QJsonObject o = object(v, path);
    refuseUnknown(o, path, {QStringLiteral("name"), QStringLiteral("composition"),
                            QStringLiteral("grams_per_litre"), QStringLiteral("nitrogen_form"),
                            QStringLiteral("acid"), QStringLiteral("ppm"), QStringLiteral("solubility"),
                            QStringLiteral("price"), QStringLiteral("fixed"), QStringLiteral("at_most")});
    const auto member = [&path](const char *key) { return JsonLines::member(path, QLatin1StringView(key)); };
    Fertilizer f;
    f.name = name(required(o, path, QStringLiteral("name")), member("name"),
                  fieldSize(Tables::t_udobra, Fields::name_udobra));
    if (o.contains(QStringLiteral("nitrogen_form"))) {
        const QString p = member("nitrogen_form");
        const QString form = text(o.value(QStringLiteral("nitrogen_form")), p);
        QStringList known;
        for (const auto &[value, spelling] : nitrogenForms()) {
            known.append(spelling);
            if (spelling == form)
                f.nitrogenForm = value;
        }
        if (!f.nitrogenForm)
            fail(p, QStringLiteral("\"%1\", а должно быть одно из: %2").arg(form, known.join(QStringLiteral(", "))));
    }
    const QString compositionPath = member("composition");
    f.composition = amounts(required(o, path, QStringLiteral("composition")), compositionPath, Percent,
                            f.nitrogenForm.value_or(Chemistry::NitrogenForm::Nitrate));
    double mass = 0; // % of the fertilizer's mass that its elements make up
    for (auto it = f.composition.cbegin(); it != f.composition.cend(); ++it) {
        const DefaultElements::Element *e = DefaultElements::find(it.key());
        mass += it.value() * (e->isLabelForm() ? e->factor : 1);
    }
    if (mass > 100 + RoundingRoom)
        fail(compositionPath, QStringLiteral("элементы составляют %1 % массы удобрения, больше 100 %")
                                  .arg(QString::number(mass, 'f', 2)));
    f.gramsPerLitre = number(required(o, path, QStringLiteral("grams_per_litre")),
                             member("grams_per_litre"), Grams);
    if (o.contains(QStringLiteral("acid"))) {
        const QString p = member("acid");
        const QJsonObject acid = object(o.value(QStringLiteral("acid")), p);
        refuseUnknown(acid, p, {QStringLiteral("strength_percent"), QStringLiteral("density")});
        f.acid = AcidProperties{
            number(required(acid, p, QStringLiteral("strength_percent")),
                   JsonLines::member(p, QStringLiteral("strength_percent")), Strength),
            number(required(acid, p, QStringLiteral("density")), JsonLines::member(p, QStringLiteral("density")),
                   Density)};
    }
    if (o.contains(QStringLiteral("ppm")))
        f.ppm = whole(o.value(QStringLiteral("ppm")), member("ppm"), Ppm);
    if (o.contains(QStringLiteral("solubility")))
        f.solubility = number(o.value(QStringLiteral("solubility")), member("solubility"), Solubility);
    if (o.contains(QStringLiteral("price")))
        f.price = number(o.value(QStringLiteral("price")), member("price"), Price);
    if (o.contains(QStringLiteral("fixed"))) {
        const QJsonValue fixed = o.value(QStringLiteral("fixed"));
        if (!fixed.isBool())
            unexpected(member("fixed"), QStringLiteral("true или false"), fixed);
        f.fixed = fixed.toBool();
    }
    if (o.contains(QStringLiteral("at_most")))
        f.atMost = number(o.value(QStringLiteral("at_most")), member("at_most"), SolverAmount);
    return f;
}

Water Reader::water(const QJsonValue &v, const QString &path) const
{
    const QJsonObject o = object(v, path);
    refuseUnknown(o, path, {QStringLiteral("name"), QStringLiteral("mg_per_litre"), QStringLiteral("hco3"),
                            QStringLiteral("ph")});
    Water w;
    if (o.contains(QStringLiteral("name")))
        w.name = name(o.value(QStringLiteral("name")), JsonLines::member(path, QStringLiteral("name")),
                      fieldSize(Tables::t_voda, Fields::name_voda));
    const QString milligrams = QStringLiteral("mg_per_litre");
    if (o.contains(milligrams))
        w.milligramsPerLitre = amounts(o.value(milligrams), JsonLines::member(path, milligrams),
                                       WaterMilligrams, Chemistry::NitrogenForm::Nitrate);
    if (o.contains(QStringLiteral("hco3")))
        w.hco3 = number(o.value(QStringLiteral("hco3")), JsonLines::member(path, QStringLiteral("hco3")),
                        WaterMilligrams);
    if (o.contains(QStringLiteral("ph")))
        w.ph = number(o.value(QStringLiteral("ph")), JsonLines::member(path, QStringLiteral("ph")), Ph);
    return w;
}

QString Reader::shortText(const QJsonValue &v, const QString &path, int longest) const
{
    const QString t = text(v, path).trimmed();
    if (t.size() > longest)
        fail(path, QStringLiteral("текст длиннее %1 знаков (%2)").arg(longest).arg(t.size()));
    return t;
}

Target Reader::target(const QJsonValue &v, const QString &path) const
{
    const QJsonObject o = object(v, path);
    refuseUnknown(o, path, {QStringLiteral("symbol"), QStringLiteral("vega"), QStringLiteral("cvet")});
    Target t;
    const QString symbolPath = JsonLines::member(path, QStringLiteral("symbol"));
    t.symbol = text(required(o, path, QStringLiteral("symbol")), symbolPath);
    if (!DefaultElements::find(t.symbol))
        fail(symbolPath, QStringLiteral("неизвестный символ «%1» (известны: %2)")
                             .arg(t.symbol.left(20), DefaultElements::symbolList()));
    t.vega = number(required(o, path, QStringLiteral("vega")), JsonLines::member(path, QStringLiteral("vega")),
                    TargetMilligrams);
    t.cvet = number(required(o, path, QStringLiteral("cvet")), JsonLines::member(path, QStringLiteral("cvet")),
                    TargetMilligrams);
    return t;
}

Crop Reader::crop(const QJsonValue &v, const QString &path) const
{
    const QJsonObject o = object(v, path);
    refuseUnknown(o, path, {QStringLiteral("name"), QStringLiteral("ph"), QStringLiteral("targets"),
                            QStringLiteral("ec_vega"), QStringLiteral("ec_cvet"), QStringLiteral("nh4_percent")});
    const auto member = [&path](const char *key) { return JsonLines::member(path, QLatin1StringView(key)); };
    Crop c;
    c.name = name(required(o, path, QStringLiteral("name")), member("name"),
                  fieldSize(Tables::T_kult, Fields::name_kult));
    if (o.contains(QStringLiteral("ph")))
        c.ph = shortText(o.value(QStringLiteral("ph")), member("ph"), fieldSize(Tables::T_kult, Fields::ph));
    if (o.contains(QStringLiteral("targets"))) {
        const QString targetsPath = member("targets");
        const QJsonValue targets = o.value(QStringLiteral("targets"));
        if (!targets.isArray())
            unexpected(targetsPath, QStringLiteral("массив [ ]"), targets);
        const QJsonArray list = targets.toArray();
        for (qsizetype i = 0; i < list.size(); ++i)
            c.targets.append(target(list.at(i), JsonLines::element(targetsPath, i)));
    }
    if (o.contains(QStringLiteral("ec_vega")))
        c.ecVega = number(o.value(QStringLiteral("ec_vega")), member("ec_vega"), Conductivity);
    if (o.contains(QStringLiteral("ec_cvet")))
        c.ecCvet = number(o.value(QStringLiteral("ec_cvet")), member("ec_cvet"), Conductivity);
    if (o.contains(QStringLiteral("nh4_percent")))
        c.nh4Percent = number(o.value(QStringLiteral("nh4_percent")), member("nh4_percent"), Percent);
    return c;
}

// "targets" and "modes": what a composition is solved for. A target names an element, not a
// label form: the solver compares elements.
void Reader::readGoals(const QJsonObject &root, Recipe &r) const
{
    const QString targetsPath = QStringLiteral("targets");
    if (root.contains(targetsPath)) {
        const QJsonObject o = object(root.value(targetsPath), targetsPath);
        for (auto it = o.begin(); it != o.end(); ++it) {
            const QString p = JsonLines::member(targetsPath, it.key());
            const DefaultElements::Element *e = DefaultElements::find(it.key());
            if (!e)
                fail(p, QStringLiteral("неизвестный символ (известны: %1)").arg(DefaultElements::symbolList()));
            if (e->isLabelForm())
                fail(p, QStringLiteral("цель ставится элементу, а %1 — форма на этикетке (пишите %2)")
                            .arg(e->symbol, e->yields));
            r.targets.insert(it.key(), number(it.value(), p, TargetMilligrams));
        }
    }
    const QString weightsPath = QStringLiteral("weights");
    if (root.contains(weightsPath)) {
        const QJsonObject o = object(root.value(weightsPath), weightsPath);
        for (auto it = o.begin(); it != o.end(); ++it) {
            const QString p = JsonLines::member(weightsPath, it.key());
            if (!r.targets.contains(it.key()))
                fail(p, QStringLiteral("для %1 нет цели в targets").arg(it.key()));
            r.weights.insert(it.key(), whole(it.value(), p, Weight));
        }
    }
    if (root.contains(QStringLiteral("ec")))
        r.ec = number(root.value(QStringLiteral("ec")), QStringLiteral("ec"), Conductivity);
    if (root.contains(QStringLiteral("nh4_percent")))
        r.nh4Percent = number(root.value(QStringLiteral("nh4_percent")), QStringLiteral("nh4_percent"), Percent);
    const QString modesPath = QStringLiteral("modes");
    if (!root.contains(modesPath))
        return;
    const QStringList known{QStringLiteral("target"), QStringLiteral("at_least"), QStringLiteral("at_most"),
                            QStringLiteral("ignore")};
    const QJsonObject o = object(root.value(modesPath), modesPath);
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QString p = JsonLines::member(modesPath, it.key());
        if (!r.targets.contains(it.key()))
            fail(p, QStringLiteral("для %1 нет цели в targets").arg(it.key()));
        const QString mode = text(it.value(), p);
        if (!known.contains(mode))
            fail(p, QStringLiteral("\"%1\", а должно быть одно из: %2").arg(mode, known.join(QStringLiteral(", "))));
        r.modes.insert(it.key(), mode);
    }
}

void Reader::checkAcid(const Recipe &recipe) const
{
    const QString path = QStringLiteral("acid");
    const Fertilizer *acid = recipe.acidFertilizer();
    if (!acid)
        fail(path, QStringLiteral("среди fertilizers нет удобрения «%1»").arg(*recipe.acid));
    const qsizetype index = acid - recipe.fertilizers.constData();
    if (!acid->acid)
        fail(path, QStringLiteral("у «%1» не указаны крепость и плотность (%2)")
                       .arg(acid->name, JsonLines::member(JsonLines::element(QStringLiteral("fertilizers"), index),
                                                          QStringLiteral("acid"))));
    if (!Chemistry::acidKindOf(elementLines(acid->composition)))
        fail(path, QStringLiteral("«%1» не кислота: в составе должен быть ровно один из N, P, S").arg(acid->name));
}

Recipe Reader::recipe(const QJsonObject &root) const
{
    const QString format = text(required(root, {}, QStringLiteral("format")), QStringLiteral("format"));
    if (format != QLatin1StringView(FormatName))
        fail(QStringLiteral("format"), QStringLiteral("\"%1\", а у рецепта Vernolat \"%2\"")
                                           .arg(format, QLatin1StringView(FormatName)));
    const QString versionPath = QStringLiteral("version");
    const QJsonValue version = required(root, {}, versionPath);
    if (!version.isDouble())
        unexpected(versionPath, QStringLiteral("число"), version);
    if (version.toDouble() != Version)
        fail(versionPath, QStringLiteral("версия %1 не поддерживается: эта программа читает версию %2")
                              .arg(version.toDouble())
                              .arg(Version));
    refuseUnknown(root, {}, {QStringLiteral("format"), QStringLiteral("version"), QStringLiteral("name"),
                             QStringLiteral("percentage"), QStringLiteral("litres"), QStringLiteral("crop"),
                             QStringLiteral("fertilizers"), QStringLiteral("water"), QStringLiteral("target_ph"),
                             QStringLiteral("acid"), QStringLiteral("targets"), QStringLiteral("modes"),
                             QStringLiteral("weights"), QStringLiteral("ec"), QStringLiteral("nh4_percent")});

    Recipe r;
    r.name = name(required(root, {}, QStringLiteral("name")), QStringLiteral("name"),
                  fieldSize(Tables::t_head_rar, Fields::name_rar));
    if (root.contains(QStringLiteral("percentage")))
        r.percentage = whole(root.value(QStringLiteral("percentage")), QStringLiteral("percentage"), Percentage);
    if (root.contains(QStringLiteral("litres")))
        r.litres = number(root.value(QStringLiteral("litres")), QStringLiteral("litres"), Litres);
    if (root.contains(QStringLiteral("crop")))
        r.crop = crop(root.value(QStringLiteral("crop")), QStringLiteral("crop"));

    const QString fertilizersPath = QStringLiteral("fertilizers");
    const QJsonValue fertilizers = required(root, {}, fertilizersPath);
    if (!fertilizers.isArray())
        unexpected(fertilizersPath, QStringLiteral("массив [ ]"), fertilizers);
    const QJsonArray list = fertilizers.toArray();
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString path = JsonLines::element(fertilizersPath, i);
        const Fertilizer f = fertilizer(list.at(i), path);
        for (qsizetype j = 0; j < r.fertilizers.size(); ++j) {
            if (r.fertilizers.at(j).name.compare(f.name, Qt::CaseInsensitive) == 0)
                fail(JsonLines::member(path, QStringLiteral("name")),
                     QStringLiteral("«%1» уже есть в %2").arg(f.name, JsonLines::element(fertilizersPath, j)));
        }
        r.fertilizers.append(f);
    }

    if (root.contains(QStringLiteral("water")))
        r.water = water(root.value(QStringLiteral("water")), QStringLiteral("water"));
    if (root.contains(QStringLiteral("target_ph")))
        r.targetPh = number(root.value(QStringLiteral("target_ph")), QStringLiteral("target_ph"), Ph);
    if (root.contains(QStringLiteral("acid"))) {
        r.acid = text(root.value(QStringLiteral("acid")), QStringLiteral("acid")).trimmed();
        checkAcid(r);
    }
    readGoals(root, r);
    return r;
}

} // namespace

Recipe read(const QByteArray &bytes)
{
    if (bytes.size() > MaximumFileSize)
        throw AppError(QStringLiteral("файл больше %1 МБ: рецепт столько не занимает")
                           .arg(MaximumFileSize / (1024 * 1024)));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        if (QString::fromUtf8(bytes).remove(QChar(0xFEFF)).trimmed().isEmpty())
            throw AppError(QStringLiteral("файл пуст"));
        const auto [line, column] = JsonLines::position(bytes, error.offset);
        throw AppError(QStringLiteral("строка %1, столбец %2: %3")
                           .arg(line)
                           .arg(column)
                           .arg(parseErrorText(error.error)));
    }
    const JsonLines lines(bytes);
    if (!document.isObject())
        throw AppError(QStringLiteral("строка 1: ожидается объект { }, а здесь массив"));
    if (const auto &repeated = lines.repeatedKey())
        throw AppError(QStringLiteral("строка %1: %2: поле повторяется, и одно из значений пропало бы")
                           .arg(repeated->line)
                           .arg(repeated->path));
    return Reader(lines).recipe(document.object());
}

} // namespace RecipeFile
