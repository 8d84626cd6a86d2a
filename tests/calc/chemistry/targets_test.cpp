#include "chemistrytestdata.h"

#include "calc/chemistry/targetbalance.h"

#include "support/errorof.h"

#include <QRegularExpression>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace Chemistry;
using namespace ChemistryTestData;

namespace {

ElementLine target(const char *symbol, double mg)
{
    return {QString::fromLatin1(symbol), mg, {}, 0};
}

// The default base's Томат, vegetative stage (Hochmuth and Hochmuth, UF/IFAS HS796).
CropTargets tomato()
{
    CropTargets t;
    t.elements = {target("N", 70),  target("P", 50),  target("K", 120),  target("Ca", 150),
                  target("Mg", 40), target("S", 50),  target("Fe", 2.8), target("Mn", 0.8),
                  target("Zn", 0.3), target("Cu", 0.2), target("B", 0.7), target("Mo", 0.05)};
    return t;
}

// The default base's Огурец: de Kreij's cucumber solution with N as one total (17.25 mmol/L, of
// it 1.25 ammonium), so that all N as nitrate leaves the anions 2.5 meq/L ahead.
CropTargets cucumber()
{
    CropTargets t;
    t.elements = {target("N", 241.6), target("P", 38.7),  target("K", 312.8), target("Ca", 160.3),
                  target("Mg", 36.5), target("S", 44.1)};
    return t;
}

void add(CropTargets &t, const char *symbol, double mg)
{
    t.elements.append(target(symbol, mg));
}

} // namespace

// Every standard solution is a target that salts can meet once its ammonium is stated; with all
// its N as nitrate, the anions lead by twice the ammonium, and the ammonium the check proposes is
// the book's own. The book counts phosphate as H2PO4-; at pH 5.8 up to 5 % of it is HPO4 2-,
// which adds as much to the anions.
TEST(TargetBalance, StandardSolutionsAsTargets)
{
    for (const StandardSolution &s : standardSolutions()) {
        SCOPED_TRACE(s.name);
        const TargetBalance stated = targetBalance(asTargets(s, true));
        EXPECT_TRUE(stated.balanced) << stated.balance.difference;
        EXPECT_TRUE(stated.unmapped.isEmpty());
        const TargetBalance allNitrate = targetBalance(asTargets(s, false));
        ASSERT_FALSE(allNitrate.balanced);
        const double phosphate = 0.05 * s.h2po4;
        EXPECT_NEAR(-allNitrate.balance.difference, 2 * s.nh4, phosphate + 0.01);
        ASSERT_TRUE(allNitrate.ammoniumN.has_value());
        EXPECT_NEAR(*allNitrate.ammoniumN, s.nh4 * 14.007, (phosphate / 2 + 0.005) * 14.007);
        EXPECT_NEAR(allNitrate.ammoniumShareAfter, s.nh4 / (s.no3 + s.nh4) * 100, 0.5);
        EXPECT_EQ(allNitrate.sulphateS, 0);
    }
}

// What the check proposes closes the gap: the targets with it added balance.
TEST(TargetBalance, ProposedClosingBalancesTheTargets)
{
    struct Case
    {
        const char *name;
        CropTargets targets;
        bool cationsAhead;
    };
    const Case cases[] = {{"Томат", tomato(), true}, {"Огурец", cucumber(), false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TargetBalance b = targetBalance(c.targets);
        ASSERT_FALSE(b.balanced);
        EXPECT_EQ(b.balance.difference > 0, c.cationsAhead);
        QList<CropTargets> closed;
        if (c.cationsAhead) {
            closed.append(c.targets);
            add(closed.last(), "S", b.sulphateS);
            closed.append(c.targets);
            add(closed.last(), "Cl", b.chlorideCl);
            EXPECT_FALSE(b.ammoniumN.has_value());
        } else {
            ASSERT_TRUE(b.ammoniumN.has_value());
            closed.append(c.targets);
            add(closed.last(), "N-NH4", *b.ammoniumN);
            closed.append(c.targets);
            add(closed.last(), "K", b.potassiumK);
            closed.append(c.targets);
            add(closed.last(), "Ca", b.calciumCa);
            EXPECT_EQ(b.sulphateS, 0);
        }
        for (const CropTargets &t : closed) {
            const TargetBalance after = targetBalance(t);
            EXPECT_TRUE(after.balanced);
            EXPECT_NEAR(after.balance.difference, 0, 0.01);
        }
    }
}

// The finding in words, with the separator the caller gives.
TEST(TargetBalance, TextForTheGrower)
{
    struct Case
    {
        const char *name;
        CropTargets targets;
        QChar separator;
        const char *begins;
        const char *mentions;
    };
    CropTargets balanced = asTargets(standardSolutions().first(), true);
    const Case cases[] = {
        {"Томат", tomato(), QLatin1Char('.'),
         "Цели не сбалансированы: катионов больше, чем анионов, на 4.1 мг-экв/л;", "в виде сульфата"},
        {"Томат, запятая", tomato(), QLatin1Char(','),
         "Цели не сбалансированы: катионов больше, чем анионов, на 4,1 мг-экв/л;", "в виде хлорида"},
        {"Огурец", cucumber(), QLatin1Char(','),
         "Цели не сбалансированы: анионов больше, чем катионов, на 2,", "в аммонийной форме"},
        {"Томат, минвата", balanced, QLatin1Char(','), "Цели сбалансированы: катионы 22,5 мг-экв/л", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString text = targetBalanceText(targetBalance(c.targets), c.separator);
        EXPECT_TRUE(text.startsWith(QString::fromUtf8(c.begins))) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.mentions))) << text.toStdString();
        EXPECT_TRUE(text.endsWith(QLatin1Char('.')));
        const QChar other = c.separator == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
        EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("\\d\\") + other + QStringLiteral("\\d"))))
            << text.toStdString();
    }
    // Where the nitrate cannot carry the ammonium that would close the gap, only cations are named.
    CropTargets little = cucumber();
    little.elements.first().amount = 10;
    add(little, "Cl", 800);
    const QString text = targetBalanceText(targetBalance(little), QLatin1Char('.'));
    EXPECT_FALSE(text.contains(QStringLiteral("аммоний"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("мг/л K"))) << text.toStdString();
}

// Plain N is the total; a stated N-NH4 line is its ammonium, the rest nitrate. Symbols without a
// form are listed.
TEST(TargetBalance, NitrogenLinesAndUnmappedSymbols)
{
    CropTargets t = cucumber();
    add(t, "N-NH4", 1.25 * 14.007);
    add(t, "Se", 0.01);
    const TargetBalance b = targetBalance(t);
    EXPECT_TRUE(b.balanced) << b.balance.difference;
    EXPECT_NEAR(at(b.species, Ion::NH4), 1.25, 1e-3);
    EXPECT_NEAR(at(b.species, Ion::NO3), 241.6 / 14.007 - 1.25, 1e-9);
    ASSERT_EQ(b.unmapped.size(), 1);
    EXPECT_EQ(b.unmapped.first().symbol, QStringLiteral("Se"));

    CropTargets shared = cucumber();
    shared.ammoniumShare = 150;
    EXPECT_THAT(errorOf([&] { targetBalance(shared); }), testing::StartsWith("Доля аммония, %: число 150"));
    CropTargets negative = cucumber();
    add(negative, "K", -5);
    EXPECT_THAT(errorOf([&] { targetBalance(negative); }), testing::StartsWith("Цель K, мг/л: число -5 меньше нуля"));
}
