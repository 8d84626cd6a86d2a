#pragma once

#include <QString>

// value × 10^places + 0.5, truncated towards zero, divided by 10^places, in 80-bit arithmetic.
double RoundDecimals(double value, int places);

// The general number format: shortest text of at most 15 significant digits, no trailing zeros,
// no thousands separator, the system's decimal separator; scientific only from 1e15 up or
// below 0.00001.
QString formatGeneral(double value);
QString formatGeneral(double value, QChar decimalSeparator);

// Strict conversions; on failure throw AppError "'%s' is not a valid integer value" or
// "'%s' is not a valid floating point value".
int strToInt(const QString &text);
double strToFloat(const QString &text); // the system's decimal separator
double strToFloat(const QString &text, QChar decimalSeparator);
bool tryStrToInt(const QString &text, int &out);
bool tryStrToFloat(const QString &text, double &out);

// The system's decimal separator (QLocale::system()).
QChar systemDecimalSeparator();
