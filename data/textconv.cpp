#include "textconv.h"

#include <QLocale>

#include <cmath>
#include <cstdio>
#include <cstdlib>

QChar systemDecimalSeparator()
{
    const QString dp = QLocale::system().decimalPoint();
    return dp.isEmpty() ? QChar(u'.') : dp.front();
}

QString formatGeneral(double value, QChar sep)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");

    // 15 significant digits, then trailing zeros dropped.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    const bool negative = buf[0] == '-';
    const char *p = buf + (negative ? 1 : 0);
    QString digits;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            digits.append(QLatin1Char(*p));
    }
    const int exponent = std::atoi(p + 1); // value = d.ddd × 10^exponent
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);

    QString out = negative ? QStringLiteral("-") : QString();
    if (exponent >= 15 || exponent < -5) {
        out += digits.left(1);
        if (digits.size() > 1)
            out += sep + digits.mid(1);
        out += u'E' + QString::number(exponent);
        return out;
    }
    if (exponent < 0) {
        out += u'0';
        out += sep;
        out += QString(-exponent - 1, u'0');
        out += digits;
        return out;
    }
    const int intDigits = exponent + 1;
    if (digits.size() <= intDigits) {
        out += digits + QString(intDigits - digits.size(), u'0');
    } else {
        out += digits.left(intDigits);
        out += sep;
        out += digits.mid(intDigits);
    }
    return out;
}

QString formatGeneral(double value)
{
    return formatGeneral(value, systemDecimalSeparator());
}

bool tryParseInt(const QString &text, int &out)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && text.at(i) == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    if (i >= n)
        return false;
    qint64 v = 0;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + (c.unicode() - u'0');
        if (v > 2147483648LL)
            return false;
    }
    if (negative)
        v = -v;
    if (v > 2147483647LL || v < -2147483648LL)
        return false;
    out = int(v);
    return true;
}

bool tryParseDouble(const QString &text, QChar sep, double &out)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    QByteArray ascii;
    ascii.reserve(t.size());
    int i = 0;
    const int n = int(t.size());
    if (t.at(i) == u'-' || t.at(i) == u'+')
        ascii.append(char(t.at(i++).unicode()));
    int mantissaDigits = 0;
    bool seenSep = false;
    for (; i < n; ++i) {
        const QChar c = t.at(i);
        if (c >= u'0' && c <= u'9') {
            ascii.append(char(c.unicode()));
            ++mantissaDigits;
        } else if (c == sep && !seenSep) {
            ascii.append('.');
            seenSep = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n && (t.at(i) == u'e' || t.at(i) == u'E')) {
        ascii.append('e');
        ++i;
        if (i < n && (t.at(i) == u'-' || t.at(i) == u'+'))
            ascii.append(char(t.at(i++).unicode()));
        int expDigits = 0;
        for (; i < n && t.at(i) >= u'0' && t.at(i) <= u'9'; ++i, ++expDigits)
            ascii.append(char(t.at(i).unicode()));
        if (expDigits == 0)
            return false;
    }
    if (i != n)
        return false;
    // Not strtod: the C library's reading follows LC_NUMERIC, which Qt sets from the desktop.
    bool ok = false;
    const double v = QLocale::c().toDouble(QString::fromLatin1(ascii), &ok);
    if (!ok || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

bool isDecimalMark(QChar c)
{
    return c == u'.' || c == u',';
}

bool tryParseDecimal(const QString &text, double &out)
{
    QString t = text;
    t.replace(u',', u'.');
    return tryParseDouble(t, u'.', out);
}
