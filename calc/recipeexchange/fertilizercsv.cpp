#include "fertilizercsv.h"

#include "calc/recipefile/defaultelements.h"
#include "data/apperror.h"
#include "data/basequeries.h"
#include "data/csvtable.h"
#include "data/textconv.h"

#include <QRegularExpression>

#include <functional>

namespace FertilizerCsv {

namespace {

// The columns beside the symbols: the caption written, the other spellings read, and how a
// fertilizer holds the value.
struct Property
{
    QString caption;
    QStringList spellings; // lower case, without the unit after a comma
    std::function<std::optional<double>(const RecipeFile::Fertilizer &)> get;
    std::function<void(RecipeFile::Fertilizer &, double)> set;
};

const QList<Property> &properties()
{
    using F = RecipeFile::Fertilizer;
    static const QList<Property> all = {
        {QStringLiteral("ppm"), {QStringLiteral("ppm")},
         [](const F &f) { return f.ppm ? std::optional<double>(*f.ppm) : std::nullopt; },
         [](F &f, double v) { f.ppm = int(v); }},
        {QStringLiteral("Растворимость, г/л"), {QStringLiteral("растворимость"), QStringLiteral("solubility")},
         [](const F &f) { return f.solubility; }, [](F &f, double v) { f.solubility = v; }},
        {QStringLiteral("Цена"), {QStringLiteral("цена"), QStringLiteral("price")},
         [](const F &f) { return f.price; }, [](F &f, double v) { f.price = v; }},
        {QStringLiteral("Крепость, %"), {QStringLiteral("крепость"), QStringLiteral("strength")},
         [](const F &f) { return f.acid ? std::optional(f.acid->strengthPercent) : std::nullopt; },
         [](F &f, double v) { f.acid = RecipeFile::AcidProperties{v, f.acid ? f.acid->density : 0}; }},
        {QStringLiteral("Плотность, г/мл"), {QStringLiteral("плотность"), QStringLiteral("density")},
         [](const F &f) { return f.acid ? std::optional(f.acid->density) : std::nullopt; },
         [](F &f, double v) { f.acid = RecipeFile::AcidProperties{f.acid ? f.acid->strengthPercent : 0, v}; }},
    };
    return all;
}

const QString NameCaption = QStringLiteral("Удобрение");

bool isNameCaption(const QString &caption)
{
    const QString c = caption.trimmed().toLower();
    return c == NameCaption.toLower() || c == QStringLiteral("название") || c == QStringLiteral("name");
}

const Property *propertyOf(const QString &caption)
{
    const QString c = caption.section(u',', 0, 0).trimmed().toLower();
    for (const Property &p : properties()) {
        if (p.spellings.contains(c))
            return &p;
    }
    return nullptr;
}

struct Column
{
    QString symbol;                // a composition column
    const Property *property = nullptr;
};

QList<Column> columnsOf(const QStringList &header)
{
    if (header.isEmpty() || !isNameCaption(header.first()))
        throw AppError(QStringLiteral("строка 1, столбец 1: первым идёт столбец «%1» с названиями удобрений")
                           .arg(NameCaption));
    QList<Column> out;
    QStringList seen;
    for (qsizetype i = 1; i < header.size(); ++i) {
        const QString caption = header.at(i).trimmed();
        Column c;
        if (DefaultElements::find(caption))
            c.symbol = caption;
        else if (!(c.property = propertyOf(caption)))
            throw AppError(QStringLiteral("строка 1, столбец %1: неизвестный заголовок «%2» (бывают: символы %3; %4)")
                               .arg(i + 1)
                               .arg(caption.left(40), DefaultElements::symbolList(),
                                    QStringLiteral("ppm, растворимость, цена, крепость, плотность")));
        const QString key = c.property ? c.property->caption : c.symbol;
        if (seen.contains(key))
            throw AppError(QStringLiteral("строка 1, столбец %1: «%2» второй раз").arg(i + 1).arg(caption));
        seen.append(key);
        out.append(c);
    }
    return out;
}

// The reader's refusal of fertilizer `index`, said of the line it stands on in the list.
[[noreturn]] void refuseFertilizer(const AppError &e, const QList<RecipeFile::Fertilizer> &list, const QList<int> &lines)
{
    static const QRegularExpression where(QStringLiteral("^строка \\d+: fertilizers\\[(\\d+)\\]\\.?([^:]*): (.*)$"));
    const QRegularExpressionMatch m = where.match(e.text());
    if (!m.hasMatch())
        throw AppError(e.text());
    const int index = m.captured(1).toInt();
    const QString field = m.captured(2).section(u'.', -1);
    throw AppError(QStringLiteral("строка %1: «%2»%3: %4")
                       .arg(lines.value(index))
                       .arg(list.value(index).name, field.isEmpty() ? QString() : QStringLiteral(", ") + field,
                            m.captured(3)));
}

QList<RecipeFile::Fertilizer> checked(const QList<RecipeFile::Fertilizer> &list, const QList<int> &lines)
{
    RecipeFile::Recipe r;
    r.name = QStringLiteral("Список удобрений");
    r.fertilizers = list;
    try {
        return RecipeFile::read(RecipeFile::write(r)).fertilizers;
    } catch (const AppError &e) {
        refuseFertilizer(e, list, lines);
    }
}

} // namespace

QByteArray write(const QList<RecipeFile::Fertilizer> &fertilizers, QChar decimalMark)
{
    QStringList symbols;
    for (const DefaultElements::Element &e : DefaultElements::all()) {
        if (std::any_of(fertilizers.cbegin(), fertilizers.cend(),
                        [&e](const RecipeFile::Fertilizer &f) { return f.composition.contains(e.symbol); }))
            symbols.append(e.symbol);
    }
    QList<const Property *> used;
    for (const Property &p : properties()) {
        if (std::any_of(fertilizers.cbegin(), fertilizers.cend(),
                        [&p](const RecipeFile::Fertilizer &f) { return p.get(f).has_value(); }))
            used.append(&p);
    }
    QList<QStringList> rows;
    QStringList header{NameCaption};
    header += symbols;
    for (const Property *p : used)
        header.append(p->caption);
    rows.append(header);
    for (const RecipeFile::Fertilizer &f : fertilizers) {
        QStringList row{f.name};
        for (const QString &s : symbols)
            row.append(f.composition.contains(s) ? CsvTable::number(f.composition.value(s), decimalMark) : QString());
        for (const Property *p : used) {
            const std::optional<double> v = p->get(f);
            row.append(v ? CsvTable::number(*v, decimalMark) : QString());
        }
        rows.append(row);
    }
    return CsvTable::write(rows);
}

QList<RecipeFile::Fertilizer> read(const QByteArray &bytes)
{
    QList<int> lines;
    const QList<QStringList> rows = CsvTable::read(bytes, &lines);
    if (rows.isEmpty())
        throw AppError(QStringLiteral("файл пуст"));
    const QList<Column> columns = columnsOf(rows.first());
    QList<RecipeFile::Fertilizer> out;
    QList<int> outLines;
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const QStringList &row = rows.at(r);
        const int line = lines.at(r);
        if (row.size() > columns.size() + 1)
            throw AppError(QStringLiteral("строка %1: столбцов %2, а заголовков %3")
                               .arg(line)
                               .arg(row.size())
                               .arg(columns.size() + 1));
        RecipeFile::Fertilizer f;
        f.name = row.first().trimmed();
        for (qsizetype c = 1; c < row.size(); ++c) {
            const QString cell = row.at(c).trimmed();
            if (cell.isEmpty())
                continue;
            double value = 0;
            if (!tryParseDecimal(cell, value))
                throw AppError(QStringLiteral("строка %1, столбец %2 (%3): «%4» не число")
                                   .arg(line)
                                   .arg(c + 1)
                                   .arg(rows.first().at(c).trimmed(), cell.left(40)));
            const Column &column = columns.at(c - 1);
            if (column.property)
                column.property->set(f, value);
            else
                f.composition.insert(column.symbol, value);
        }
        if (f.acid && (f.acid->strengthPercent == 0 || f.acid->density == 0))
            throw AppError(QStringLiteral("строка %1: «%2»: у кислоты нужны и крепость, и плотность").arg(line).arg(f.name));
        out.append(f);
        outLines.append(line);
    }
    return checked(out, outLines);
}

QByteArray writeElements(BaseQueries &base, QChar decimalMark)
{
    QList<QStringList> rows{{QStringLiteral("Символ"), QStringLiteral("Название"), QStringLiteral("Коэффициент"),
                             QStringLiteral("Пересчёт в"), QStringLiteral("Множитель")}};
    const QList<BaseRows::Element> elements = base.elements();
    QHash<int, QString> symbolOf;
    for (const BaseRows::Element &e : elements)
        symbolOf.insert(e.id, e.symbol);
    QHash<int, BaseRows::Coefficient> coefficients;
    for (const BaseRows::Coefficient &c : base.coefficients())
        coefficients.insert(c.id, c);
    for (const BaseRows::Element &e : elements) {
        QStringList row{e.symbol, e.name};
        if (e.isForm && e.coefficient && coefficients.contains(*e.coefficient)) {
            const BaseRows::Coefficient &c = coefficients.value(*e.coefficient);
            row << c.name << symbolOf.value(c.element) << CsvTable::number(c.factor, decimalMark);
        }
        rows.append(row);
    }
    return CsvTable::write(rows);
}

QByteArray writeCrops(BaseQueries &base, QChar decimalMark)
{
    QList<QStringList> rows{{QStringLiteral("Культура"), QStringLiteral("pH"), QStringLiteral("Символ"),
                             QStringLiteral("Вегетация, мг/л"), QStringLiteral("Цветение, мг/л")}};
    for (const BaseRows::Crop &listed : base.crops()) {
        const std::optional<BaseRows::Crop> crop = base.crop(listed.id);
        if (!crop)
            continue;
        for (const BaseRows::Target &t : crop->targets) {
            if (!t.symbol.isNull())
                rows.append({crop->name, crop->ph, t.symbol, CsvTable::number(t.vega, decimalMark),
                             CsvTable::number(t.cvet, decimalMark)});
        }
    }
    return CsvTable::write(rows);
}

} // namespace FertilizerCsv
