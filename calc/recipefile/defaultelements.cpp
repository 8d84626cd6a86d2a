#include "defaultelements.h"

#include "data/apperror.h"
#include "data/fields.h"
#include "tools/makebase/basedata.h"

#include <QHash>
#include <QStringList>

#include <algorithm>

namespace DefaultElements {

namespace {

const BaseSection &section(const QList<BaseSection> &sections, const QString &table)
{
    for (const BaseSection &s : sections) {
        if (s.table == table)
            return s;
    }
    throw AppError(QStringLiteral("В данных базы по умолчанию нет таблицы %1").arg(table));
}

// A row's value by field name, as the data file's header orders them.
QVariant cell(const BaseSection &s, const BaseRow &row, const QString &field)
{
    const qsizetype i = s.fields.indexOf(field);
    return i < 0 ? QVariant() : row.values.value(i);
}

QList<Element> readElements()
{
    const QList<BaseSection> sections = BaseData::parse(BaseData::defaultText());
    const BaseSection &elements = section(sections, Tables::T_element);
    const BaseSection &coefficients = section(sections, Tables::t_kof);

    struct Coefficient
    {
        int yieldsId;
        double factor;
    };
    QHash<int, Coefficient> byKey;
    for (const BaseRow &row : coefficients.rows)
        byKey.insert(cell(coefficients, row, Fields::id_kof).toInt(),
                     {cell(coefficients, row, Fields::id_element).toInt(),
                      cell(coefficients, row, Fields::kof).toDouble()});

    QList<Element> out;
    for (const BaseRow &row : elements.rows) {
        Element e;
        e.id = cell(elements, row, Fields::id_element).toInt();
        e.symbol = cell(elements, row, Fields::Smallname_element).toString();
        const QVariant coefficient = cell(elements, row, Fields::id_kof);
        if (cell(elements, row, Fields::kof).toBool() && !coefficient.isNull()) {
            const Coefficient c = byKey.value(coefficient.toInt());
            e.yieldsId = c.yieldsId;
            e.factor = c.factor;
        }
        out.append(e);
    }
    for (Element &e : out) {
        if (!e.isLabelForm())
            continue;
        const auto yielded = std::find_if(out.cbegin(), out.cend(),
                                          [&e](const Element &y) { return y.id == e.yieldsId; });
        if (yielded != out.cend())
            e.yields = yielded->symbol;
    }
    std::sort(out.begin(), out.end(), [](const Element &a, const Element &b) { return a.id < b.id; });
    return out;
}

} // namespace

const QList<Element> &all()
{
    static const QList<Element> elements = readElements();
    return elements;
}

const Element *find(const QString &symbol)
{
    for (const Element &e : all()) {
        if (e.symbol == symbol)
            return &e;
    }
    return nullptr;
}

QString symbolList()
{
    QStringList symbols;
    for (const Element &e : all())
        symbols.append(e.symbol);
    return symbols.join(QStringLiteral(", "));
}

} // namespace DefaultElements
