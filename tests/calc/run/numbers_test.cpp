#include "calc/run/numbers.h"
#include "data/apperror.h"

#include <QLocale>

#include <limits>

#include <gtest/gtest.h>

namespace {

TEST(RoundDecimals, AddsAHalfAndTruncatesTowardsZero)
{
    struct Case
    {
        double value;
        int places;
        double expected;
    };
    const Case cases[] = {
        {123.45678, 4, 123.4568}, {-123.45678, 4, -123.4567}, {2.71828, 2, 2.72},
        {-3, 2, -2.99},           {-0.006, 2, 0},             {-12.3449, 2, -12.33},
        {-12.346, 2, -12.34},     {0.0049, 2, 0},             {-0.0149, 2, 0},
        {-0.0151, 2, -0.01},      {2.5, 0, 3},                {-2.5, 0, -2},
        {1.23456789, 6, 1.234568}, {7.77, -1, 8},             {45.51652, 4, 45.5165},
        {250.820024, 4, 250.82},  {847.1857, 2, 847.19},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(RoundDecimals(c.value, c.places), c.expected)
            << c.value << " with " << c.places << " places";
}

// The calculation holds its products and sums in the x87 80-bit type. Where 64-bit arithmetic
// rounds value × 10^places to the half before the truncation, the figures below change; a port
// whose long double is another type fails here and must bring 80-bit arithmetic of its own.
TEST(RoundDecimals, NeedsEightyBitArithmetic)
{
    EXPECT_EQ(std::numeric_limits<long double>::digits, 64) << "long double is not the x87 type";
    struct Case
    {
        double value;
        int places;
        double eightyBit; // 64-bit arithmetic gives one unit more in the last place
    };
    const Case cases[] = {
        {2.675, 2, 2.67},         {-2.675, 2, -2.66}, {0.615, 2, 0.61}, {16.345, 2, 16.34},
        {123.45675, 4, 123.4567}, {1.45, 1, 1.4},     {4.35, 1, 4.3},   {1.0005, 3, 1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RoundDecimals(c.value, c.places), c.eightyBit)
            << c.value << " with " << c.places << " places";
}

TEST(GeneralFormat, ShortestTextWithFifteenDigits)
{
    struct Case
    {
        double value;
        const char *text;
    };
    const Case cases[] = {
        {1450, "1450"},
        {12.5, "12.5"},
        {0, "0"},
        {-2.99, "-2.99"},
        {0.1 + 0.2, "0.3"},
        {2.3333333333333335, "2.33333333333333"},
        {123456789012345, "123456789012345"},
        {1e15, "1E15"},
        {1.5e20, "1.5E20"},
        {0.00001, "0.00001"},
        {0.000009, "9E-6"},
        {-0.0000123, "-0.0000123"},
        {-0.0000099, "-9.9E-6"},
        {100, "100"},
        {1e14, "100000000000000"},
        {0.000123, "0.000123"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(formatGeneral(c.value, u'.').toStdString(), std::string(c.text)) << c.value;
    EXPECT_EQ(formatGeneral(12.5, u','), QStringLiteral("12,5"));
    EXPECT_EQ(formatGeneral(1.5e20, u','), QStringLiteral("1,5E20"));
}

TEST(GeneralFormat, FollowsTheSystemSeparatorWithoutGrouping)
{
    // Whatever locale the machine has: the separator is the system's, digits are never grouped.
    const QString text = formatGeneral(1234567.25);
    EXPECT_EQ(text, QStringLiteral("1234567") + systemDecimalSeparator() + QStringLiteral("25"));
}

TEST(Conversions, RefuseWithTheStandardTexts)
{
    EXPECT_EQ(strToInt(QStringLiteral("250")), 250);
    EXPECT_EQ(strToInt(QStringLiteral("-20")), -20);
    EXPECT_EQ(strToInt(QStringLiteral(" 7")), 7);
    for (const char *bad : {"", "1a", "7 ", "12.5", "2147483648", "--1", "+"}) {
        try {
            strToInt(QString::fromLatin1(bad));
            ADD_FAILURE() << bad << " was accepted";
        } catch (const AppError &e) {
            EXPECT_EQ(e.text(), QStringLiteral("'%1' is not a valid integer value").arg(QString::fromLatin1(bad)));
        }
    }
    EXPECT_EQ(strToInt(QStringLiteral("-2147483648")), -2147483647 - 1);

    EXPECT_DOUBLE_EQ(strToFloat(QStringLiteral("12,5"), u','), 12.5);
    EXPECT_DOUBLE_EQ(strToFloat(QStringLiteral(" 1e3 "), u'.'), 1000);
    EXPECT_DOUBLE_EQ(strToFloat(QStringLiteral("-.5"), u'.'), -0.5);
    for (const char *bad : {"", "12.5", "1,2,3", "abc", "1e", "."}) {
        try {
            strToFloat(QString::fromLatin1(bad), u',');
            ADD_FAILURE() << bad << " was accepted";
        } catch (const AppError &e) {
            EXPECT_EQ(e.text(),
                      QStringLiteral("'%1' is not a valid floating point value").arg(QString::fromLatin1(bad)));
        }
    }
}

} // namespace
