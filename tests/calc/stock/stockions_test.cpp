#include "calc/stock/saltions.h"
#include "calc/stock/solubilitycurve.h"
#include "calc/stock/stockplan.h"
#include "stocktestrecipes.h"
#include "support/readmerecipe.h"

#include <gtest/gtest.h>

#include <cmath>

// The stock planner at the mixing temperature, with the ions its salts share, the micro
// elements and the acids. Compositions and solubility curves are the default base's.
namespace {

using namespace StockTestRecipes;
using Chemistry::Component;
using Stock::Fertilizer;
using Stock::Tank;

const QString K = QStringLiteral("K");
const CompositionRow Potash = oxide(QStringLiteral("K2O"), 1, K, 0.8301); // percent set per salt

CompositionRow with(CompositionRow row, double percent)
{
    row.percent = percent;
    return row;
}

// Formula masses, g/mol, for the figures worked by hand.
constexpr double KNO3 = 101.103;
constexpr double KH2PO4 = 136.085;
constexpr double K2SO4 = 174.259;
constexpr double MgSO4_7H2O = 246.475;

Fertilizer withCurve(Fertilizer f, std::array<double, 5> curve)
{
    f.solubility0 = curve[0];
    f.solubility10 = curve[1];
    f.solubility = curve[2];
    f.solubility30 = curve[3];
    f.solubility40 = curve[4];
    f.price = 1; // priced, so that the warnings under test are the only ones
    return f;
}

Fertilizer potassiumNitrate(double amount)
{
    return withCurve(fertilizer(2, "Калиевая селитра", amount,
                                {oxide(QStringLiteral("N-NO3"), 13.85, QStringLiteral("N"), 1), with(Potash, 46.58)}),
                     {136, 214, 319, 456, 629});
}
Fertilizer monopotassiumPhosphate(double amount)
{
    return withCurve(fertilizer(4, "Монофосфат калия", amount, {with(P2O5, 52.15), with(Potash, 34.61)}),
                     {133, 175, 223, 278, 338});
}
Fertilizer potassiumSulphate(double amount)
{
    return withCurve(fertilizer(6, "Сульфат калия", amount, {with(Potash, 54.06), with(SO3, 45.94)}),
                     {77, 92, 110, 129, 148});
}
Fertilizer magnesiumSulphate(double amount)
{
    return withCurve(fertilizer(7, "Сульфат магния (7-водный)", amount, {MgO, SO3}),
                     {592, 799, 1057, 1368, 1722});
}
Fertilizer calciumNitrate(double amount)
{
    Fertilizer f = fertilizer(1, "Кальциевая селитра", amount,
                              {NitrateN, oxide(QStringLiteral("N-NH4"), 1.1, QStringLiteral("N"), 1), CaO});
    f.price = 1;
    return f;
}
Fertilizer ironChelate(double amount)
{
    Fertilizer f = fertilizer(9, "Хелат железа Fe-EDTA 13%", amount, {element(Stock::Iron, 13)});
    f.price = 1;
    return f;
}
Fertilizer acid(int id, const char *name, double amount, CompositionRow row, double density)
{
    Fertilizer f = fertilizer(id, name, amount, {row});
    f.acid = true;
    f.density = density;
    f.price = 1;
    return f;
}
Fertilizer nitricAcid(double amount)
{
    return acid(18, "Азотная кислота 60%", amount, oxide(QStringLiteral("N-NO3"), 13.34, QStringLiteral("N"), 1),
                1.3667);
}

Fertilizer in(Fertilizer f, TankChoice tank)
{
    f.choice = tank;
    return f;
}

const Stock::Line &lineOf(const Stock::Plan &plan, const QString &name)
{
    for (const Stock::TankContents &t : plan.tanks) {
        for (const Stock::Line &line : t.lines) {
            if (line.name == name)
                return line;
        }
    }
    throw std::runtime_error("no line " + name.toStdString());
}

QStringList names(const Stock::Plan &plan, Tank tank)
{
    QStringList out;
    if (const Stock::TankContents *t = plan.tank(tank)) {
        for (const Stock::Line &line : t->lines)
            out << line.name;
    }
    return out;
}

std::string all(const Stock::Plan &plan)
{
    return plan.warnings.join(u'\n').toStdString();
}

// ---------------------------------------------------------------- temperature

TEST(StockTemperature, TheCurveIsReadAlongStraightLinesAndNamedWhereItEnds)
{
    const auto curveOf = [](std::array<std::optional<double>, 5> grams) {
        return Stock::SolubilityCurve{grams};
    };
    const Stock::SolubilityCurve full = curveOf({136, 214, 319, 456, 629});
    struct Case
    {
        const char *what;
        Stock::SolubilityCurve curve;
        double temperature;
        double grams;
        bool measured;
        int takenAt;
    };
    const Case cases[] = {
        {"a figure of the curve, exactly", full, 20, 319, true, 20},
        {"halfway between 20 and 30 °C", full, 25, (319 + 456) / 2.0, true, 25},
        {"a tenth of the way from 0 to 10 °C", full, 1, 136 + (214 - 136) * 0.1, true, 1},
        {"only the 20 °C figure, in the cold", curveOf({std::nullopt, std::nullopt, 319, std::nullopt, std::nullopt}), 10, 319, false, 20},
        {"only the 20 °C figure, warm", curveOf({std::nullopt, std::nullopt, 319, std::nullopt, std::nullopt}), 35, 319, false, 20},
        {"a gap in the curve is bridged", curveOf({136, std::nullopt, std::nullopt, 456, 629}), 20, 136 + (456 - 136) * 2 / 3.0, true, 20},
        {"0 and less are no figures", curveOf({0, -5, 319, 456, 629}), 5, 319, false, 20},
    };
    for (const Case &c : cases) {
        const auto s = Stock::solubilityAt(c.curve, c.temperature);
        ASSERT_TRUE(s.has_value()) << c.what;
        EXPECT_NEAR(s->grams, c.grams, 1e-9) << c.what;
        EXPECT_EQ(s->measured, c.measured) << c.what;
        EXPECT_EQ(s->takenAt, c.takenAt) << c.what;
    }
    EXPECT_FALSE(Stock::solubilityAt({}, 20).has_value()) << "no figure: nothing is checked";
}

TEST(StockTemperature, TheReadmeNitrateDissolvesAtTwentyDegreesAndNotInAColdRoom)
{
    // The README recipe's potassium nitrate at K = 300 in a tank of its own salt: 168 g/L of
    // tank leave 832 g of water, 201.92 g per litre of it.
    double amount = 0;
    for (const ReadmeRecipe::Amount &a : ReadmeRecipe::amounts()) {
        if (a.fertilizer == ReadmeRecipe::PotassiumNitrate)
            amount = QString::fromLatin1(a.grams).toDouble();
    }
    ASSERT_EQ(amount, 0.56);
    const double perWater = amount * 300 * 1000 / (1000 - amount * 300);
    const Fertilizer nitrate = in(potassiumNitrate(amount), TankChoice::B);

    const Stock::Plan warm = Stock::plan({nitrate}, 300, 10, u'.', 20);
    EXPECT_NEAR(*lineOf(warm, nitrate.name).solubilityPercent, perWater / 319 * 100, 1e-9);
    EXPECT_TRUE(warm.warnings.isEmpty()) << all(warm);

    // At 10 °C the curve gives 214 g: 94.4 %, above the 90 % the plan allows.
    const Stock::Plan cold = Stock::plan({nitrate}, 300, 10, u'.', 10);
    EXPECT_NEAR(*lineOf(cold, nitrate.name).solubilityPercent, perWater / 214 * 100, 1e-9);
    ASSERT_EQ(cold.warnings.size(), 1) << all(cold);
    EXPECT_EQ(cold.warnings.first(),
              QStringLiteral("Калиевая селитра в баке B: 168 г/л — 94.4 % растворимости (21.4 г на "
                             "100 г воды при 10 °C), больше 90 %: кристаллы могут выпасть. "
                             "Наибольший K, при котором не больше 90 %: 288."));
    // By hand: 0.56 K × 1000 / (1000 − 0.56 K) ≤ 0.9 × 214 = 192.6 up to K = 288.
    EXPECT_LE(0.56 * 288 * 1000 / (1000 - 0.56 * 288), 192.6);
    EXPECT_GT(0.56 * 289 * 1000 / (1000 - 0.56 * 289), 192.6);

    // At 5 °C, halfway to 136 g, it does not dissolve at all.
    const Stock::Plan colder = Stock::plan({nitrate}, 300, 10, u'.', 5);
    EXPECT_TRUE(colder.warnings.first().contains(QStringLiteral("при 5 °C, растворимость 17.5.")))
        << all(colder);

    // Without a curve the 20 °C figure stands for every temperature, and the plan says so.
    Fertilizer flat = nitrate;
    flat.solubility0 = flat.solubility10 = flat.solubility30 = flat.solubility40 = std::nullopt;
    const Stock::Plan guessed = Stock::plan({flat}, 300, 10, u'.', 10);
    EXPECT_EQ(lineOf(guessed, flat.name).solubilityPercent, lineOf(warm, flat.name).solubilityPercent);
    EXPECT_EQ(guessed.warnings,
              QStringList{QStringLiteral("Калиевая селитра: цифры растворимости при 10 °C нет, взята цифра при 20 °C.")});
}

// ---------------------------------------------------------------- shared ions

TEST(StockSharedIons, EachSaltIsReadAsItsPrincipalCationAndAnion)
{
    struct Case
    {
        const char *what;
        QList<CompositionRow> composition;
        std::optional<Component> cation;
        Component anion;
        int x;
        int y;
    };
    const Case cases[] = {
        {"KNO3", potassiumNitrate(1).composition, Component::Potassium, Component::Nitrate, 1, 1},
        {"K2SO4", potassiumSulphate(1).composition, Component::Potassium, Component::Sulphate, 2, 1},
        {"MgSO4·7H2O", magnesiumSulphate(1).composition, Component::Magnesium, Component::Sulphate, 1, 1},
        {"the label's calcium nitrate, its ammonium aside", calciumNitrate(1).composition,
         Component::Calcium, Component::Nitrate, 1, 2},
        {"KH2PO4: the phosphate as H2PO4-", monopotassiumPhosphate(1).composition,
         Component::Potassium, Component::Phosphate, 1, 1},
        {"(NH4)2HPO4: the phosphate as HPO4 2-",
         {oxide(QStringLiteral("N-NH4"), 21.21, QStringLiteral("N"), 1), with(P2O5, 53.74)},
         Component::Ammonium, Component::Phosphate, 2, 1},
        {"KCl", {with(Potash, 63.18), element(QStringLiteral("Cl"), 47.55)}, Component::Potassium,
         Component::Chloride, 1, 1},
        {"nitric acid: no cation", nitricAcid(1).composition, std::nullopt, Component::Nitrate, 0, 0},
        {"a chelate: no anion", ironChelate(1).composition, std::nullopt, Component::Nitrate, 0, 0},
        {"potassium bicarbonate: its carbonate has no line", {with(Potash, 47.04)}, std::nullopt,
         Component::Nitrate, 0, 0},
    };
    for (const Case &c : cases) {
        const auto pair = Stock::saltPairOf(Stock::ionsPerGram(c.composition));
        ASSERT_EQ(pair.has_value(), c.cation.has_value()) << c.what;
        if (!pair)
            continue;
        EXPECT_EQ(pair->cation, *c.cation) << c.what;
        EXPECT_EQ(pair->anion, c.anion) << c.what;
        EXPECT_EQ(pair->x, c.x) << c.what;
        EXPECT_EQ(pair->y, c.y) << c.what;
    }
    // What a gram brings, from the label's oxides: potassium nitrate's potassium is its formula's.
    EXPECT_NEAR(Stock::ionsPerGram(potassiumNitrate(1).composition)[std::size_t(Component::Potassium)],
                1000 / KNO3, 0.01);
}

// The tank g/L of two salts whose water holds `first` and `second` g per 100 g.
QPair<double, double> perLitreOfTank(double first, double second)
{
    const double water = 1000 / (1 + first / 100 + second / 100);
    return {first / 100 * water, second / 100 * water};
}

TEST(StockSharedIons, TheMeasuredCoSaturationIsWarnedAndSaltsWithoutACommonIonAreNot)
{
    // Potassium nitrate and monopotassium phosphate saturate together at 25 °C with 32.2 and
    // 13.2 g per 100 g of water, where the curves give 38.75 and 25.05 alone: 83.1 % and 52.7 %.
    const auto [nitrate, phosphate] = perLitreOfTank(32.2, 13.2);
    const QList<Fertilizer> both = {in(potassiumNitrate(nitrate / 100), TankChoice::B),
                                    in(monopotassiumPhosphate(phosphate / 100), TankChoice::B)};
    const Stock::Plan together = Stock::plan(both, 100, 10, u'.', 25);
    const Stock::Line &kno3 = lineOf(together, both[0].name);
    const Stock::Line &mkp = lineOf(together, both[1].name);
    EXPECT_NEAR(*kno3.solubilityPercent, 322 / 387.5 * 100, 1e-6);
    EXPECT_NEAR(*mkp.solubilityPercent, 132 / 250.5 * 100, 1e-6);
    // By hand: the water holds the potassium of both, the nitrate of one. KNO3's product grows
    // by (1 + 132/136.085 ÷ 322/101.103) = 1.3046, its amount by the square root, to 94.9 %.
    const double potassium = 1 + (132 / KH2PO4) / (322 / KNO3);
    EXPECT_NEAR(*kno3.sharedPercent, 322 / 387.5 * 100 * std::sqrt(potassium), 0.1);
    EXPECT_NEAR(*mkp.sharedPercent, 132 / 250.5 * 100 * std::sqrt(potassium / (potassium - 1)), 0.1);
    EXPECT_GT(*kno3.sharedPercent, Stock::SharedIonWarningPercent);
    const QStringList shared = together.warnings.filter(QStringLiteral("С общими ионами"));
    ASSERT_EQ(shared.size(), 2) << all(together);
    EXPECT_TRUE(shared[0].startsWith(QStringLiteral("Калиевая селитра в баке B:"))) << all(together);
    EXPECT_TRUE(shared[0].contains(QStringLiteral("С общими ионами (Монофосфат калия) — 94.9 %, больше 90 %")))
        << all(together);
    EXPECT_TRUE(shared[1].startsWith(QStringLiteral("Монофосфат калия в баке B: 90.78 г/л — 52.7 % растворимости (25.05 г на 100 г воды при 25 °C)")))
        << "dissolved alone, 109 % with the nitrate's potassium: " << all(together);
    EXPECT_TRUE(shared[1].contains(QStringLiteral("— 109.1 %, больше предела: кристаллы выпадут.")))
        << all(together);

    // Each at 80 % of its own solubility: in two tanks, and beside a salt with no common ion.
    const auto [apart1, apart2] = perLitreOfTank(0.8 * 38.75, 0);
    const auto [apart3, apart4] = perLitreOfTank(0.8 * 25.05, 0);
    Q_UNUSED(apart2);
    Q_UNUSED(apart4);
    const Stock::Plan apart = Stock::plan({in(potassiumNitrate(apart1 / 100), TankChoice::A),
                                           in(monopotassiumPhosphate(apart3 / 100), TankChoice::B)},
                                          100, 10, u'.', 25);
    EXPECT_NEAR(*lineOf(apart, both[0].name).sharedPercent, 80, 1e-9);
    EXPECT_NEAR(*lineOf(apart, both[1].name).sharedPercent, 80, 1e-9);
    EXPECT_TRUE(apart.warnings.isEmpty()) << all(apart);

    const auto [kno3g, epsomg] = perLitreOfTank(0.8 * 31.9, 0.8 * 105.7);
    const QList<Fertilizer> unrelated = {in(potassiumNitrate(kno3g / 100), TankChoice::B),
                                         magnesiumSulphate(epsomg / 100)};
    const Stock::Plan side = Stock::plan(unrelated, 100, 10, u'.', 20);
    for (const Fertilizer &f : unrelated) {
        EXPECT_NEAR(*lineOf(side, f.name).solubilityPercent, 80, 1e-9) << f.name.toStdString();
        EXPECT_EQ(lineOf(side, f.name).sharedPercent, lineOf(side, f.name).solubilityPercent);
    }
    EXPECT_TRUE(side.warnings.isEmpty()) << all(side);
}

TEST(StockSharedIons, TheStandardTomatosBTankAtTwoHundred)
{
    // Sonneveld's tomato in rockwool, its B tank: K2SO4 1.75 mmol/L, KNO3 4, MgSO4 2, weighed
    // as 0.305, 0.404 and 0.493 g/L. At K = 200 the tank holds 240.4 g/L and 759.6 g of water.
    const QList<Fertilizer> tank = {potassiumSulphate(0.305), in(potassiumNitrate(0.404), TankChoice::B),
                                    magnesiumSulphate(0.493)};
    const Stock::Plan plan = Stock::plan(tank, 200, 10, u'.', 20);
    ASSERT_EQ(names(plan, Tank::B).size(), 3);
    const Stock::Line &sulphate = lineOf(plan, tank[0].name);
    // Alone: 61 g/L, 80.31 g per litre of water, 73.0 % of 110.
    const double alone = 61 * 1000 / 759.6 / 110 * 100;
    EXPECT_NEAR(*sulphate.solubilityPercent, alone, 1e-9);
    // With the nitrate's potassium and the magnesium salt's sulphate, per litre of working
    // solution: K 2 × 0.305/174.259 + 0.404/101.103 = 3.5005 + 3.9959 mmol, SO4 1.7503 + 2.0002.
    // K2SO4's product (K)² (SO4) grows by 2.1415² × 2.1428 = 9.827, its amount by the cube
    // root 2.1421: 156.4 %.
    const double k = 1 + (0.404 / KNO3) / (2 * 0.305 / K2SO4);
    const double so4 = 1 + (0.493 / MgSO4_7H2O) / (0.305 / K2SO4);
    const double factor = std::cbrt(k * k * so4);
    EXPECT_NEAR(factor, 2.1421, 0.001);
    EXPECT_NEAR(*sulphate.sharedPercent, alone * factor, 0.15);
    // The largest K at 90 %: the sulphate weighs as 0.305 × 2.1421 = 0.6533 g/L alone would;
    // 0.6533 K × 1000 / (1000 − 1.202 K) ≤ 99 holds up to K = 128.
    EXPECT_LE(0.305 * factor * 128 * 1000 / (1000 - 1.202 * 128), 99);
    EXPECT_GT(0.305 * factor * 129 * 1000 / (1000 - 1.202 * 129), 99);
    const QStringList warned = plan.warnings.filter(QStringLiteral("Сульфат калия в баке B"));
    ASSERT_EQ(warned.size(), 1) << all(plan);
    EXPECT_TRUE(warned.first().endsWith(QStringLiteral("Наибольший K, при котором не больше 90 %: 128.")))
        << all(plan);
    EXPECT_TRUE(warned.first().contains(
        QStringLiteral("С общими ионами (Калиевая селитра, Сульфат магния (7-водный)) — 156.")))
        << all(plan);
    // The double salt the rule cannot see is named as a finding of its own.
    EXPECT_EQ(plan.warnings.filter(QStringLiteral("K2SO4·MgSO4·6H2O")).size(), 1) << all(plan);
    // At K = 128 the sulphate is within the rule's 90 %.
    EXPECT_TRUE(Stock::plan(tank, 128, 10, u'.', 20).warnings.filter(QStringLiteral("Сульфат калия в")).isEmpty());
}

TEST(StockSharedIons, MeetingsTheRuleCannotSeeAreNamedByTheirIons)
{
    const Fertilizer ammoniumSulphate = fertilizer(22, "Сульфат аммония", 0.1,
        {oxide(QStringLiteral("N-NH4"), 21.2, QStringLiteral("N"), 1), with(SO3, 60.59)});
    const Fertilizer chloride = fertilizer(23, "Хлорид калия", 0.1, {with(Potash, 63.18), element(QStringLiteral("Cl"), 47.55)});
    const Fertilizer map = fertilizer(5, "Моноаммонийфосфат", 0.1,
        {oxide(QStringLiteral("N-NH4"), 12.18, QStringLiteral("N"), 1), with(P2O5, 61.7)});
    // A salt the grower named as he likes is recognised by what it brings.
    Fertilizer ownNitrate = potassiumNitrate(0.1);
    ownNitrate.name = QStringLiteral("Селитра с моего склада");
    struct Case
    {
        Fertilizer first;
        Fertilizer second;
        const char *finding; // empty: none
    };
    const Case cases[] = {
        {ammoniumSulphate, ownNitrate, "выпадает малорастворимый сульфат калия"},
        {chloride, ammoniumSulphate, "выпадает малорастворимый сульфат калия"},
        {potassiumSulphate(0.1), magnesiumSulphate(0.1), "K2SO4·MgSO4·6H2O"},
        {calciumNitrate(0.1), ownNitrate, "KNO3·Ca(NO3)2·3H2O"},
        {map, ownNitrate, "моноаммонийфосфата"},
        {ownNitrate, magnesiumSulphate(0.1), ""},
        {monopotassiumPhosphate(0.1), ownNitrate, ""},
    };
    for (const Case &c : cases) {
        const Stock::Plan together = Stock::plan({in(c.first, TankChoice::A), in(c.second, TankChoice::A)},
                                                 10, 10, u'.');
        const QStringList found = together.warnings.filter(QStringLiteral("правило общих ионов"));
        const std::string what = c.first.name.toStdString() + " + " + c.second.name.toStdString();
        if (*c.finding == 0) {
            EXPECT_TRUE(found.isEmpty()) << what << ": " << all(together);
            continue;
        }
        ASSERT_EQ(found.size(), 1) << what << ": " << all(together);
        EXPECT_TRUE(found.first().startsWith(QStringLiteral("В баке A: %1 и %2: ").arg(c.first.name, c.second.name)))
            << found.first().toStdString();
        EXPECT_TRUE(found.first().contains(QString::fromUtf8(c.finding))) << what;
        // In two tanks they never meet.
        const Stock::Plan apart = Stock::plan({in(c.first, TankChoice::A), in(c.second, TankChoice::B)},
                                              10, 10, u'.');
        EXPECT_TRUE(apart.warnings.filter(QStringLiteral("правило общих ионов")).isEmpty()) << what;
    }
}

// ---------------------------------------------------------------- micro elements and acids

TEST(StockTanks, MicroElementsGoToBIronChelatesToAAndTheGrowerStillDecides)
{
    const QString mo = QStringLiteral("Mo");
    const QString b = QStringLiteral("B");
    struct Case
    {
        const char *what;
        QList<CompositionRow> composition;
        Tank tank;
    };
    const Case cases[] = {
        {"sodium molybdate", {element(mo, 39.66)}, Tank::B},
        {"boric acid", {element(b, 17.48)}, Tank::B},
        {"borax, with its sodium", {element(b, 11.34), element(QStringLiteral("Na"), 12.06)}, Tank::B},
        {"ammonium molybdate, with its nitrogen", {element(mo, 54.34), oxide(QStringLiteral("N-NH4"), 6.8, QStringLiteral("N"), 1)}, Tank::B},
        {"a chelated micro mix",
         {element(Stock::Iron, 7), element(QStringLiteral("Mn"), 2), element(QStringLiteral("Zn"), 0.4),
          element(QStringLiteral("Cu"), 0.1), element(b, 1.3), element(mo, 0.06)},
         Tank::B},
        {"Fe-EDTA", {element(Stock::Iron, 13)}, Tank::A},
        {"a manganese chelate", {element(QStringLiteral("Mn"), 13)}, Tank::B},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Stock::ruleTank(c.composition), c.tank) << c.what;

    // With calcium nitrate in the recipe, the molybdate and boric acid stay out of A; the
    // grower who puts the molybdate in A has it there.
    Fertilizer molybdate = fertilizer(15, "Молибдат натрия", 0.0002, {element(mo, 39.66)});
    Fertilizer boric = fertilizer(11, "Борная кислота", 0.002, {element(b, 17.48)});
    const QList<Fertilizer> recipe = {calciumNitrate(1), molybdate, boric, ironChelate(0.02)};
    const Stock::Plan plan = Stock::plan(recipe, 100, 10, u'.');
    EXPECT_EQ(names(plan, Tank::A), (QStringList{recipe[0].name, recipe[3].name}));
    EXPECT_EQ(names(plan, Tank::B), (QStringList{molybdate.name, boric.name}));
    const Stock::Plan chosen = Stock::plan({recipe[0], in(molybdate, TankChoice::A), boric}, 100, 10, u'.');
    EXPECT_EQ(names(chosen, Tank::A), (QStringList{recipe[0].name, molybdate.name}));
}

TEST(StockTanks, AnAcidHasItsOwnTankInMillilitresAndIsWarnedOfWhereItHarms)
{
    const Fertilizer nitric = nitricAcid(0.1);
    const Fertilizer phosphoric =
        acid(21, "Ортофосфорная кислота 85%", 0.05, with(P2O5, 61.56), 1.689);
    const QList<Fertilizer> recipe = {calciumNitrate(1), nitric, potassiumSulphate(0.3), phosphoric};
    const Stock::Plan plan = Stock::plan(recipe, 100, 10, u'.');
    EXPECT_EQ(names(plan, Tank::Acid), (QStringList{nitric.name, phosphoric.name}));
    EXPECT_EQ(Stock::tankName(Tank::Acid), QStringLiteral("Кислота"));
    // 0.1 g/L × 100 × 10 L = 100 g, over 1.3667 g/mL.
    const Stock::Line &dose = lineOf(plan, nitric.name);
    EXPECT_EQ(dose.grams, 100);
    EXPECT_NEAR(*dose.millilitres, 100 / 1.3667, 1e-9);
    EXPECT_NEAR(*lineOf(plan, phosphoric.name).millilitres, 50 / 1.689, 1e-9);
    EXPECT_FALSE(lineOf(plan, recipe[0].name).millilitres.has_value()) << "a salt has no density";
    EXPECT_TRUE(plan.warnings.filter(QStringLiteral("кислота")).isEmpty()) << all(plan);
    // The tank order: A, B, the acids, then the separate ones.
    ASSERT_EQ(plan.tanks.size(), 3);
    EXPECT_EQ(plan.tanks[2].tank, Tank::Acid);

    // Nitric acid in A beside calcium nitrate is practice; phosphoric acid there is not, nor is
    // any acid beside a chelate.
    const Stock::Plan nitricInA = Stock::plan({calciumNitrate(1), in(nitric, TankChoice::A)}, 100, 10, u'.');
    EXPECT_EQ(names(nitricInA, Tank::A), (QStringList{QStringLiteral("Кальциевая селитра"), nitric.name}));
    EXPECT_TRUE(nitricInA.warnings.isEmpty()) << all(nitricInA);
    const Stock::Plan phosphoricInA =
        Stock::plan({calciumNitrate(1), in(phosphoric, TankChoice::A)}, 100, 10, u'.');
    EXPECT_EQ(phosphoricInA.warnings,
              QStringList{QStringLiteral("В баке A кальций (Кальциевая селитра) встречается с серой или "
                                         "фосфором (Ортофосфорная кислота 85%): выпадет осадок (гипс, "
                                         "фосфат кальция).")});
    const Stock::Plan withChelate =
        Stock::plan({calciumNitrate(1), ironChelate(0.02), in(nitric, TankChoice::A)}, 100, 10, u'.');
    EXPECT_EQ(withChelate.warnings,
              QStringList{QStringLiteral("В баке A кислота (Азотная кислота 60%) вместе с хелатами "
                                         "(Хелат железа Fe-EDTA 13%): в крепкой кислоте хелаты "
                                         "разрушаются и железо выпадает. Кислоту дозируйте из своего бака.")});
    // Phosphoric acid in B, with the sulphates, is where it belongs.
    const Stock::Plan inB = Stock::plan({potassiumSulphate(0.3), in(phosphoric, TankChoice::B)}, 100, 10, u'.');
    EXPECT_EQ(names(inB, Tank::B).size(), 2);
    EXPECT_TRUE(inB.warnings.isEmpty()) << all(inB);
}

} // namespace
