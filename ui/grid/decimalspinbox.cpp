#include "decimalspinbox.h"

#include "calc/run/numbers.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>

namespace {

// The widest the base class allows: with it the base class never rounds a value it holds.
constexpr int ExactDecimals = 323;

// Decimals of the shortest text of `value` with at most 15 significant digits.
int decimalsOf(double value)
{
    const QString text = QString::number(value, 'g', 15);
    const qsizetype e = text.indexOf(u'e');
    const QString mantissa = e < 0 ? text : text.left(e);
    const int exponent = e < 0 ? 0 : text.mid(e + 1).toInt();
    const qsizetype point = mantissa.indexOf(u'.');
    const int fraction = point < 0 ? 0 : int(mantissa.size() - point - 1);
    return std::clamp(fraction - exponent, 0, 30);
}

} // namespace

DecimalSpinBox::DecimalSpinBox(QWidget *parent)
    : QDoubleSpinBox(parent)
{
    QDoubleSpinBox::setDecimals(ExactDecimals);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setGroupSeparatorShown(false);
    connect(lineEdit(), &QLineEdit::textEdited, this, &DecimalSpinBox::userEdited);
}

void DecimalSpinBox::setMaxDecimals(int decimals)
{
    m_maxDecimals = std::max(0, decimals);
    m_shownDecimals = std::max(m_shownDecimals, m_maxDecimals);
}

void DecimalSpinBox::setMaxLength(int length)
{
    m_maxLength = std::max(0, length);
    lineEdit()->setMaxLength(m_maxLength > 0 ? m_maxLength : 32767);
}

void DecimalSpinBox::setExactValue(const QVariant &value)
{
    const QSignalBlocker blocker(this);
    m_original = value;
    m_edited = false;
    if (value.isNull() || !value.isValid()) {
        m_shownDecimals = m_maxDecimals;
        setValue(std::clamp(0.0, minimum(), maximum()));
        lineEdit()->clear();
        return;
    }
    const double v = value.toDouble();
    m_shownDecimals = std::max(m_maxDecimals, decimalsOf(v));
    setValue(v);
    // A stored value outside the range is shown as it is, not as the nearest bound.
    const QString text = textFromValue(v);
    if (m_maxLength > 0 && text.size() > m_maxLength)
        lineEdit()->setMaxLength(int(text.size()));
    if (lineEdit()->text() != text)
        lineEdit()->setText(text);
}

QVariant DecimalSpinBox::readValue()
{
    if (!m_edited)
        return m_original;
    if (lineEdit()->text().trimmed().isEmpty())
        return QVariant();
    // The text typed last may not have been taken as the value yet.
    interpretText();
    return value();
}

QValidator::State DecimalSpinBox::validate(QString &text, int &pos) const
{
    Q_UNUSED(pos);
    int digits = 0;
    int decimals = 0;
    bool seenSeparator = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if ((c == u'-' || c == u'+') && i == 0)
            continue;
        if (isDecimalMark(c) && !seenSeparator && m_shownDecimals > 0) {
            seenSeparator = true;
            continue;
        }
        if (!c.isDigit() || c.unicode() > u'9')
            return QValidator::Invalid;
        ++digits;
        if (seenSeparator && ++decimals > m_shownDecimals)
            return QValidator::Invalid;
    }
    if (digits == 0)
        return QValidator::Intermediate;
    const double v = valueFromText(text);
    return v >= minimum() && v <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void DecimalSpinBox::fixup(QString &text) const
{
    // A number outside the range becomes the nearest bound (the base class would bring it to
    // the bound nearest zero, and strip its locale's group separator, which may be our decimal
    // separator).
    int pos = 0;
    QString copy = text;
    if (validate(copy, pos) != QValidator::Intermediate)
        return;
    double v = 0;
    if (tryParseDecimal(text, v))
        text = textFromValue(std::clamp(v, minimum(), maximum()));
}

double DecimalSpinBox::valueFromText(const QString &text) const
{
    double v = 0;
    return tryParseDecimal(text, v) ? v : 0.0;
}

QString DecimalSpinBox::textFromValue(double value) const
{
    QString text = QString::number(value, 'f', m_shownDecimals);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    text.replace(u'.', systemDecimalSeparator());
    return text;
}

void DecimalSpinBox::showEvent(QShowEvent *event)
{
    QDoubleSpinBox::showEvent(event);
    // The base class writes its value's text when shown: for an empty value that is a "0" the
    // first key typed would go in front of.
    keepEmptyText();
}

void DecimalSpinBox::focusInEvent(QFocusEvent *event)
{
    QDoubleSpinBox::focusInEvent(event);
    keepEmptyText();
}

void DecimalSpinBox::keepEmptyText()
{
    if (!m_edited && (m_original.isNull() || !m_original.isValid()) && !lineEdit()->text().isEmpty())
        lineEdit()->clear();
}

void DecimalSpinBox::stepBy(int steps)
{
    QDoubleSpinBox::stepBy(steps);
    userEdited();
}

void DecimalSpinBox::userEdited()
{
    m_edited = true;
    Q_EMIT userChanged();
}
