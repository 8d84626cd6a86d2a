#pragma once

#include "datasetfield.h"

#include <QSet>
#include <QString>
#include <QVariant>

// A dataset's filter, read once when it is set. Four forms are understood:
//   "id_udobra=7"              the field holds this whole number
//   "id_udobra in (1,4,7)"     the field holds one of these whole numbers (none: no row passes)
//   "name_udobra like %text%"  the field's text contains `text`, literally, ignoring case
//   "kof<>true"                the field is not true (false or empty)
// The rows are filtered in our own code, so typed search text never reaches SQL and a % or
// a quote in it is just a character.
class RowFilter
{
public:
    RowFilter() = default; // lets every row pass

    // Throws AppError "Filter expression incorrectly formatted: ..." for an expression of none
    // of the forms, or one that names no declared field. An empty expression lets every row pass.
    static RowFilter parse(const QString &expression, const DatasetFields &fields);
    // The expression "field in (keys)": the rows of a list of keys.
    static QString oneOf(const QString &field, const QList<int> &keys);

    bool isEmpty() const { return m_kind == Kind::None; }
    int field() const { return m_field; } // the field tested; -1 when empty
    bool passes(const QVariant &value) const; // `value`: the row's value of field()

private:
    enum class Kind { None, Equals, In, Like, NotTrue };
    Kind m_kind = Kind::None;
    int m_field = -1;
    qint64 m_number = 0;
    QSet<qint64> m_numbers;
    QString m_text; // case-folded
};
