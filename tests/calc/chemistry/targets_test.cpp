#include "chemistrytestdata.h"

#include "calc/chemistry/targetbalance.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Chemistry;
using namespace ChemistryTestData;

namespace {

CropTargets targets(std::initializer_list<std::pair<const char *, double>> mg)
{
    CropTargets t;
    for (const auto &[symbol, amount] : mg)
        t.elements.append({QString::fromLatin1(symbol), amount, {}, 0});
    return t;
}

// An earlier default base's Томат, vegetative (Hochmuth and Hochmuth, UF/IFAS HS796): cations ahead.
CropTargets tomato()
{
    return targets({{"N", 70}, {"P", 50}, {"K", 120}, {"Ca", 150}, {"Mg", 40}, {"S", 50}, {"Fe", 2.8},
                    {"Mn", 0.8}, {"Zn", 0.3}, {"Cu", 0.2}, {"B", 0.7}, {"Mo", 0.05}});
}

// An earlier default base's Огурец: de Kreij's cucumber solution with N as one total (17.25 mmol/L, of
// it 1.25 ammonium), so that all N as nitrate puts the anions 2.5 meq/L ahead.
CropTargets cucumber()
{
    return targets({{"N", 241.6}, {"P", 38.7}, {"K", 312.8}, {"Ca", 160.3}, {"Mg", 36.5}, {"S", 44.1}});
}

CropTargets plus(CropTargets t, const char *symbol, double mg)
{
    t.elements.append({QString::fromLatin1(symbol), mg, {}, 0});
    return t;
}

} // namespace

// Every standard solution is a target salts can meet once its ammonium is stated; with all its N
// as nitrate the anions lead by twice the ammonium, and the ammonium proposed is the book's. The
// book counts phosphate as H2PO4-; at pH 5.8 up to 5 % of it is HPO4 2-, which adds to the anions.
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

// What the check proposes closes the gap: the targets with it added balance. Where the nitrate
// cannot carry the ammonium needed, only cations are proposed.
TEST(TargetBalance, ProposedClosingBalancesTheTargets)
{
    const TargetBalance tomatoGap = targetBalance(tomato());
    const TargetBalance cucumberGap = targetBalance(cucumber());
    ASSERT_GT(tomatoGap.balance.difference, 0);
    ASSERT_LT(cucumberGap.balance.difference, 0);
    EXPECT_FALSE(tomatoGap.ammoniumN.has_value());
    ASSERT_TRUE(cucumberGap.ammoniumN.has_value());
    const std::pair<const char *, CropTargets> closed[] = {
        {"Томат + S", plus(tomato(), "S", tomatoGap.sulphateS)},
        {"Томат + Cl", plus(tomato(), "Cl", tomatoGap.chlorideCl)},
        {"Огурец + N-NH4", plus(cucumber(), "N-NH4", *cucumberGap.ammoniumN)},
        {"Огурец + K", plus(cucumber(), "K", cucumberGap.potassiumK)},
        {"Огурец + Ca", plus(cucumber(), "Ca", cucumberGap.calciumCa)}};
    for (const auto &[name, t] : closed) {
        const TargetBalance after = targetBalance(t);
        EXPECT_TRUE(after.balanced) << name;
        EXPECT_NEAR(after.balance.difference, 0, 0.01) << name;
    }
    CropTargets little = plus(cucumber(), "Cl", 800);
    little.elements.first().amount = 10;
    const TargetBalance b = targetBalance(little);
    EXPECT_FALSE(b.ammoniumN.has_value());
    EXPECT_GT(b.potassiumK, 0);
}

// The finding in words, numbers with the separator the caller gives (never the other one).
TEST(TargetBalance, TextForTheGrower)
{
    const std::tuple<CropTargets, char, const char *, const char *> cases[] = {
        {tomato(), '.', "Цели не сбалансированы: катионов больше, чем анионов, на 4.1 мг-экв/л;", "в виде сульфата"},
        {tomato(), ',', "Цели не сбалансированы: катионов больше, чем анионов, на 4,1 мг-экв/л;", "в виде хлорида"},
        {cucumber(), ',', "Цели не сбалансированы: анионов больше, чем катионов, на 2,", "в аммонийной форме"},
        {plus(cucumber(), "N-NH4", 17.5), ',', "Цели сбалансированы: катионы 20,", "анионы 20,"}};
    for (const auto &[t, separator, begins, mentions] : cases) {
        const QString text = targetBalanceText(targetBalance(t), QLatin1Char(separator));
        SCOPED_TRACE(text.toStdString());
        EXPECT_TRUE(text.startsWith(QString::fromUtf8(begins)));
        EXPECT_TRUE(text.contains(QString::fromUtf8(mentions)));
        EXPECT_TRUE(text.endsWith(QLatin1Char('.')));
        const QString other = separator == ',' ? QStringLiteral("\\.") : QStringLiteral(",");
        EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("\\d") + other + QStringLiteral("\\d"))));
    }
}

// Plain N is the total and a stated N-NH4 line its ammonium; symbols without a form are listed.
TEST(TargetBalance, NitrogenLinesAndUnmappedSymbols)
{
    const TargetBalance b = targetBalance(plus(plus(cucumber(), "N-NH4", 1.25 * 14.007), "Se", 0.01));
    EXPECT_TRUE(b.balanced) << b.balance.difference;
    EXPECT_NEAR(at(b.species, Ion::NH4), 1.25, 1e-3);
    EXPECT_NEAR(at(b.species, Ion::NO3), 241.6 / 14.007 - 1.25, 1e-9);
    ASSERT_EQ(b.unmapped.size(), 1);
    EXPECT_EQ(b.unmapped.first().symbol, QStringLiteral("Se"));
}
