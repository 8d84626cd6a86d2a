#include "datasetfield.h"

#include "apperror.h"
#include "textconv.h"

#include <cmath>

namespace {

QString typeName(FieldType t)
{
    switch (t) {
    case FieldType::Key:
    case FieldType::Int:
        return QStringLiteral("integer");
    case FieldType::Double:
        return QStringLiteral("floating point");
    case FieldType::Bool:
        return QStringLiteral("boolean");
    case FieldType::Text:
        return QStringLiteral("text");
    }
    return {};
}

[[noreturn]] void refuse(const QString &text, const DatasetField &field)
{
    throw AppError(QStringLiteral("'%1' is not a valid %2 value for field '%3'")
                       .arg(text, typeName(field.type), field.name));
}

} // namespace

int indexOfField(const DatasetFields &fields, const QString &name)
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant DatasetField::accept(const QVariant &value) const
{
    if (value.isNull())
        return {};
    const bool isText = value.typeId() == QMetaType::QString;
    const QString text = isText ? value.toString() : QString();
    switch (type) {
    case FieldType::Text: {
        const QString s = value.toString();
        if (s.isEmpty())
            return {};
        if (size > 0 && s.size() > size)
            throw AppError(QStringLiteral("Поле \"%1\" вмещает не больше %2 знаков, а в тексте их %3")
                               .arg(name)
                               .arg(size)
                               .arg(s.size()));
        return s;
    }
    case FieldType::Key:
    case FieldType::Int: {
        if (isText) {
            if (text.isEmpty())
                return {};
            int v = 0;
            if (!tryParseInt(text, v))
                refuse(text, *this);
            return v;
        }
        if (value.typeId() == QMetaType::Double) {
            const double d = value.toDouble();
            if (!std::isfinite(d) || d > 2147483647.0 || d < -2147483648.0)
                refuse(formatGeneral(d), *this);
            return int(std::llround(d));
        }
        bool ok = false;
        const qlonglong v = value.toLongLong(&ok);
        if (!ok || v > 2147483647LL || v < -2147483648LL)
            refuse(value.toString(), *this);
        return int(v);
    }
    case FieldType::Double: {
        if (isText) {
            if (text.trimmed().isEmpty())
                return {};
            double d = 0;
            if (!tryParseDecimal(text, d))
                refuse(text, *this);
            return d;
        }
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            refuse(value.toString(), *this);
        return d;
    }
    case FieldType::Bool: {
        if (isText) {
            const QString t = text.trimmed().toLower();
            if (t.isEmpty())
                return {};
            if (t == u"true" || t == u"1")
                return true;
            if (t == u"false" || t == u"0")
                return false;
            refuse(text, *this);
        }
        return value.toBool();
    }
    }
    throw AppError(QStringLiteral("Field '%1' is of an unknown %2 type").arg(name, typeName(type)));
}

QVariant DatasetField::fromStored(const QVariant &value) const
{
    if (value.isNull())
        return value;
    // A figure the file holds that is no number, or none this field can hold, is named rather
    // than read as 0 or cut down.
    const auto refuseStored = [this, &value] {
        throw AppError(QStringLiteral("В базе в поле «%1» значение «%2», а не число")
                           .arg(name, value.typeId() == QMetaType::Double
                                          ? formatGeneral(value.toDouble(), u'.')
                                          : value.toString()));
    };
    const bool isText = value.typeId() == QMetaType::QString;
    switch (type) {
    case FieldType::Key:
    case FieldType::Int: {
        qint64 v = 0;
        if (isText) {
            int i = 0;
            if (!tryParseInt(value.toString(), i))
                refuseStored();
            v = i;
        } else if (value.typeId() == QMetaType::Double) {
            const double d = value.toDouble();
            if (!std::isfinite(d) || d != std::trunc(d) || std::abs(d) > 9.0e15)
                refuseStored();
            v = qint64(d);
        } else {
            v = value.toLongLong();
        }
        // Keys are the file's 64-bit rowids; other whole numbers are ints.
        if (type == FieldType::Key)
            return QVariant(v);
        if (v > 2147483647LL || v < -2147483648LL)
            refuseStored();
        return QVariant(int(v));
    }
    case FieldType::Double: {
        double d = 0;
        if (isText) {
            if (value.toString().trimmed().isEmpty())
                return {};
            if (!tryParseDecimal(value.toString(), d))
                refuseStored();
        } else {
            d = value.toDouble();
        }
        if (!std::isfinite(d))
            refuseStored();
        return QVariant(d);
    }
    case FieldType::Bool:
        return QVariant(value.toLongLong() != 0);
    case FieldType::Text:
        return QVariant(value.toString());
    }
    return value;
}
