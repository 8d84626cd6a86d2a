#pragma once

#include <QVariant>

#include <cmath>

// How every reader of the base takes a stored number: empty is 0, a double read as an integer
// is rounded. The datasets' asInteger and asFloat, the queries and the computing layers agree.
namespace StoredValues {

inline int integerOf(const QVariant &v)
{
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::Double)
        return int(std::llround(v.toDouble()));
    return int(v.toLongLong());
}

inline double numberOf(const QVariant &v)
{
    return v.isNull() ? 0.0 : v.toDouble();
}

} // namespace StoredValues
