#pragma once

#include <QChar>
#include <QString>

// Numbers as text, shared by the data layer and the engine.

// The system's decimal separator (QLocale::system()).
QChar systemDecimalSeparator();

// The general number format: the shortest text of at most 15 significant digits, no trailing
// zeros, no thousands separator, scientific only from 1e15 up or below 0.00001.
QString formatGeneral(double value, QChar decimalSeparator);
QString formatGeneral(double value); // with the system's separator

// Strict readings: an optional sign and digits (leading blanks allowed, nothing after them).
bool tryParseInt(const QString &text, int &out);
// A decimal number with the given separator, optional exponent, blanks around it allowed.
bool tryParseDouble(const QString &text, QChar decimalSeparator, double &out);
// A number a grower typed, or a base holds as text: since no number is written with grouped
// digits, a point and a comma both mark the decimals, whatever the system's separator.
bool tryParseDecimal(const QString &text, double &out);
// Whether `c` marks the decimals in what tryParseDecimal reads.
bool isDecimalMark(QChar c);
