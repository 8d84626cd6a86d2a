#include "calc/calcdatatest.h"
#include "calc/run/contribution.h"
#include "calc/run/derivedvalues.h"
#include "calc/run/engine.h"
#include "calc/run/numbers.h"

#include <QHash>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

// The six totals as the window shows them, by label.
QHash<QString, QString> labels(const SaltTotals &t)
{
    return {{QStringLiteral("Label4"), SaltTotals::text(t.concentration, u'.')},
            {QStringLiteral("Label13"), SaltTotals::text(t.concentrationAtPercentage, u'.')},
            {QStringLiteral("Label5"), SaltTotals::text(t.vegetativeTargets, u'.')},
            {QStringLiteral("Label9"), SaltTotals::text(t.floweringTargets, u'.')},
            {QStringLiteral("Label10"), SaltTotals::text(t.ppm, u'.')},
            {QStringLiteral("Label11"), SaltTotals::text(t.ppmAtPercentage, u'.')}};
}

// The engine over the calculator's datasets, with the window's inputs faked.
class EngineTest : public CalcDataTest
{
protected:
    void SetUp() override
    {
        engine.installHooks();
        // What the engine tells the window about the saved solution, in order.
        QObject::connect(&engine, &ConcentrationEngine::savedRowWorkedOut,
                         [this](const QString &litres, const QString &percentage) {
                             events.append(QStringLiteral("row %1 %2").arg(litres, percentage));
                         });
        QObject::connect(&engine, &ConcentrationEngine::savedSolutionRun, [this](double litres) {
            events.append(QStringLiteral("run %1").arg(litres));
        });
        CalcDataTest::SetUp();
    }

    void setTarget(const QString &element, const char *field, double value)
    {
        Dataset &t = f4().ADOTable2;
        t.first();
        while (!t.eof() && t.asString(QStringLiteral("name_el")) != element)
            t.next();
        ASSERT_FALSE(t.eof());
        t.edit();
        t.setValue(QString::fromLatin1(field), value);
        t.post();
    }

    double targetField(const QString &element, const char *field)
    {
        Dataset &t = f4().ADOTable2;
        t.first();
        while (!t.eof() && t.asString(QStringLiteral("name_el")) != element)
            t.next();
        return t.eof() ? -999 : t.asFloat(QString::fromLatin1(field));
    }

    FakeInputs view;
    ConcentrationEngine engine{data, view};
    QStringList events;
};

TEST_F(EngineTest, WorkedMacroCompositionOnTheDefaultBase)
{
    selectCrop(QStringLiteral("Огурец"));
    addToComposition(QStringLiteral("Кальциевая селитра"), 1.0);
    addToComposition(QStringLiteral("Калиевая селитра"), 0.5);
    addToComposition(QStringLiteral("Монофосфат калия"), 0.2);
    addToComposition(QStringLiteral("Сульфат магния (7-водный)"), 0.6);
    const QHash<QString, QString> totals = labels(engine.runComposition());

    EXPECT_EQ(f4().ADOTable3.asString(QStringLiteral("name_kult")), QStringLiteral("Огурец"))
        << "the run returns to the selected crop";
    EXPECT_EQ(f4().ADOTable2.currentRow(), 0);
    EXPECT_TRUE(f4().DataSource2.isEnabled());
    const QHash<QString, double> c = computed();
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("N")), 224.25);
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("P")), 45.5165);
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("K")), 250.82);
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("Ca")), 189.3955);
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("Mg")), 59.1543);
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("S")), 78.0494);
    for (const char *micro : {"Fe", "Mn", "Zn", "Cu", "B", "Mo"})
        EXPECT_EQ(c.value(QString::fromLatin1(micro), -1), 0.0) << micro;

    EXPECT_EQ(totals.value(QStringLiteral("Label4")), QStringLiteral("   847.19"));
    EXPECT_EQ(totals.value(QStringLiteral("Label10")), QStringLiteral("   1253"));
    EXPECT_EQ(totals.value(QStringLiteral("Label11")), QStringLiteral("   1253"));
    EXPECT_TRUE(events.isEmpty()) << "a run over the working composition says nothing of saved ones";

    // Only the selected crop changed.
    Connection raw(QStringLiteral("base.mdb"));
    Connection::Statement st(raw, QStringLiteral("SELECT count(*) FROM t_konc k JOIN T_kult c ON c.id_kult = k.id_kult "
                                                 "WHERE c.name_kult <> 'Огурец' AND k.rachet IS NOT NULL"));
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.column(0).toInt(), 0);
}

TEST_F(EngineTest, MicroCompositionAndPercentageTotals)
{
    addToComposition(QStringLiteral("Хелат железа Fe-EDTA 13%"), 0.02);
    addToComposition(QStringLiteral("Борная кислота"), 0.003);
    addToComposition(QStringLiteral("Комплекс микроэлементов (хелаты)"), 0.04);
    view.p = 70;
    const QHash<QString, QString> totals = labels(engine.runComposition());
    const QHash<QString, double> c = computed();
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("Fe")), 5.4) << "two fertilizers add up in one row";
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("B")), 1.0444);
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("Mo")), 0.024);
    EXPECT_EQ(totals.value(QStringLiteral("Label4")), QStringLiteral("   7.47"));
    EXPECT_EQ(totals.value(QStringLiteral("Label10")), QStringLiteral("   4.62"));
    EXPECT_EQ(totals.value(QStringLiteral("Label11")), QStringLiteral("   3.24")) << "4.623 × 0.7 = 3.2361";
}

TEST_F(EngineTest, DirectAndCoefficientMatchesCountOncePerRow)
{
    Connection raw(QStringLiteral("base.mdb"));
    auto exec = [&](const char *sql) {
        Connection::Statement st(raw, QString::fromUtf8(sql));
        st.step();
    };
    // A made-up fertilizer: 15 % N directly, 20 % P2O5 (0.4364 -> P), and an element K whose own
    // coefficient would yield K again, and Ca whose coefficient yields Mg.
    exec("INSERT INTO t_kof (id_kof, name_kof, kof, id_element) VALUES (50, 'K->K', 0.5, 3), (51, 'Ca->Mg', 0.25, 5)");
    exec("UPDATE T_element SET id_kof = 50 WHERE id_element = 3");
    exec("UPDATE T_element SET id_kof = 51 WHERE id_element = 4");
    exec("INSERT INTO T_element (id_element, Smallname_element, kof, id_kof) VALUES (60, 'XO', 1, 99)");
    exec("INSERT INTO t_udobra (id_udobra, name_udobra, ppm) VALUES (90, 'Опыт', 0)");
    exec("INSERT INTO T_sostav_udobra (id_udobra, id_element, kol_element) VALUES "
         "(90, 1, 15), (90, 13, 20), (90, 3, 10), (90, 4, 8), (90, 60, 50)");
    data.closeAll();
    data.openAll();

    addToComposition(QStringLiteral("Опыт"), 2.0);
    engine.runComposition();
    QHash<QString, double> c = computed();
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("N")), 300.0) << "15 × 10 × 2";
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("P")), 174.56) << "20 × 10 × 2 × 0.4364";
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("K")), 200.0) << "counted once, without the factor";
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("Ca")), 160.0);
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("Mg")), 40.0) << "Ca counts in Mg's row with the factor";

    // Changing the amount and running again replaces, never accumulates across runs.
    Dataset &r = f4().T_rachet;
    r.first();
    r.edit();
    r.setValue(QStringLiteral("kol"), 1.5);
    engine.runComposition(); // posts the pending amount first
    c = computed();
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("P")), 130.92);

    // An empty composition sets every target row to 0.
    r.first();
    r.remove();
    engine.runComposition();
    for (double v : computed())
        EXPECT_EQ(v, 0.0);
}

TEST_F(EngineTest, DerivedFieldsFollowThePercentage)
{
    setTarget(QStringLiteral("N"), "vega", 180);
    setTarget(QStringLiteral("N"), "rachet", 100);
    setTarget(QStringLiteral("K"), "vega", 90);
    setTarget(QStringLiteral("K"), "rachet", 87);
    view.p = 50;
    f4().ADOTable2.refresh();
    EXPECT_DOUBLE_EQ(targetField(QStringLiteral("N"), "vaga_calc"), 90);
    EXPECT_DOUBLE_EQ(targetField(QStringLiteral("N"), "raznica_v"), 10);
    EXPECT_DOUBLE_EQ(targetField(QStringLiteral("N"), "r_pr"), 50);

    view.p = 100;
    f4().ADOTable2.first();
    EXPECT_DOUBLE_EQ(targetField(QStringLiteral("K"), "raznica_v"), -2.99) << "a shortfall of exactly 3";
    EXPECT_DOUBLE_EQ(targetField(QStringLiteral("K"), "vaga_calc"), 90);

    view.p = 0;
    f4().ADOTable2.first();
    EXPECT_DOUBLE_EQ(targetField(QStringLiteral("N"), "vaga_calc"), 0);
    EXPECT_DOUBLE_EQ(targetField(QStringLiteral("N"), "raznica_v"), 100);
    EXPECT_DOUBLE_EQ(targetField(QStringLiteral("N"), "r_pr"), 0);
}

TEST_F(EngineTest, SaltTotalsHonourTheOptions)
{
    Connection raw(QStringLiteral("base.mdb"));
    {
        Connection::Statement st(raw, QStringLiteral("INSERT INTO t_udobra (id_udobra, name_udobra, ppm) VALUES "
                                                     "(91, 'A700', 700), (92, 'B500', 500)"));
        st.step();
    }
    data.closeAll();
    data.openAll();
    addToComposition(QStringLiteral("A700"), 1.5);
    addToComposition(QStringLiteral("B500"), 0.8);
    view.p = 50;
    f4().T_rachet.refresh();
    QHash<QString, QString> totals = labels(engine.saltTotals());
    EXPECT_EQ(totals.value(QStringLiteral("Label10")), QStringLiteral("   1450"));
    EXPECT_EQ(totals.value(QStringLiteral("Label11")), QStringLiteral("   725"));

    Dataset &opt = data.form18.ADOTable1;
    opt.edit();
    opt.setValue(QStringLiteral("ppm2"), false);
    opt.setValue(QStringLiteral("ppm1"), false);
    opt.post();
    totals = labels(engine.runComposition());
    for (const char *label : {"Label4", "Label13", "Label5", "Label9", "Label10", "Label11"})
        EXPECT_EQ(totals.value(QString::fromLatin1(label)), QStringLiteral("   0")) << label;
}

TEST_F(EngineTest, SavedSolutionRowsAndTheirRun)
{
    Dataset &head = f4().T_HEAD_RAR;
    head.append();
    head.setValue(QStringLiteral("name_rar"), QStringLiteral("Рабочий"));
    head.setValue(QStringLiteral("konc"), 80);
    head.setValue(QStringLiteral("kol_l"), 10.0);
    head.post();
    Dataset &rows = f4().T_save_rar;
    rows.append();
    rows.setValue(QStringLiteral("id_udobra"), fertilizerId(QStringLiteral("Калиевая селитра")));
    rows.setValue(QStringLiteral("kol"), 2.0);
    rows.post();

    view.litresText = QStringLiteral("10");
    events.clear();
    rows.close();
    rows.open();
    EXPECT_DOUBLE_EQ(rows.asFloat(QStringLiteral("kol_temp")), 20);
    EXPECT_DOUBLE_EQ(rows.asFloat(QStringLiteral("r_conc")), 1.6);
    EXPECT_DOUBLE_EQ(rows.asFloat(QStringLiteral("rl_conc")), 16);
    // The hook tells the stored litres and the saved percentage, the captions' figures, for
    // the row it works out.
    EXPECT_EQ(events, QStringList({QStringLiteral("row 10 80")}));

    addToComposition(QStringLiteral("Монофосфат калия"), 1.0);
    events.clear();
    const QHash<QString, QString> totals = labels(engine.runSavedSolution());
    const QHash<QString, double> c = computed();
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("N")), 277.0) << "13.85 × 10 × 2 from the saved solution";
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("P")), 0.0) << "the working composition is not used";
    EXPECT_EQ(head.asString(QStringLiteral("name_rar")), QStringLiteral("Рабочий"));
    EXPECT_EQ(totals.value(QStringLiteral("Label10")), QStringLiteral("   350"))
        << "ppm totals still come from the working composition";
    ASSERT_GE(events.size(), 2);
    EXPECT_EQ(events.last(2), QStringList({QStringLiteral("run 10"), QStringLiteral("row 10 80")}))
        << "reopening the rows rewrites the run's caption";

    view.litresText = QStringLiteral("abc");
    rows.close();
    rows.open();
    EXPECT_DOUBLE_EQ(rows.asFloat(QStringLiteral("kol_temp")), 0) << "unreadable litres count as 0";

    // A solution without rows: zeros, and the run's own caption stays.
    head.append();
    head.setValue(QStringLiteral("name_rar"), QStringLiteral("Пустой"));
    head.post();
    view.litresText = QStringLiteral("10");
    events.clear();
    engine.runSavedSolution();
    for (double v : computed())
        EXPECT_EQ(v, 0.0);
    EXPECT_EQ(events, QStringList({QStringLiteral("run 10")})) << "no row rewrites the run's caption";
    EXPECT_EQ(head.asString(QStringLiteral("name_rar")), QStringLiteral("Пустой"));
}

// The contribution of one composition row, as the run and a solver both take it.
TEST(Contribution, DirectMatchFirstThenTheCoefficientAtMostOnce)
{
    const CompositionRow nitrogen{1, 15, 0, 0};
    EXPECT_DOUBLE_EQ(double(contribution(nitrogen, 1, 2.0).value()), 300) << "15 × 10 × 2";
    EXPECT_FALSE(contribution(nitrogen, 2, 2.0)) << "a row without a coefficient never yields";

    const CompositionRow oxide{13, 20, 2, 0.4364}; // P2O5 -> P
    EXPECT_DOUBLE_EQ(double(contribution(oxide, 2, 1.5).value()), 130.92) << "20 × 10 × 1.5 × 0.4364";
    EXPECT_FALSE(contribution(oxide, 3, 1.5));

    // An element whose coefficient yields itself counts once, without the factor; one with a
    // coefficient towards another element counts in both rows.
    const CompositionRow selfYielding{3, 10, 3, 0.5};
    EXPECT_DOUBLE_EQ(double(contribution(selfYielding, 3, 2.0).value()), 200);
    const CompositionRow calcium{4, 8, 5, 0.25};
    EXPECT_DOUBLE_EQ(double(contribution(calcium, 4, 2.0).value()), 160);
    EXPECT_DOUBLE_EQ(double(contribution(calcium, 5, 2.0).value()), 40);

    // A match that adds nothing is still a match: the run posts the target row all the same.
    EXPECT_TRUE(contribution(calcium, 4, 0.0).has_value());
}

// The totals from plain lists, in list order, each partial sum kept as a double.
TEST(SaltTotalsTest, SumsInOrderAndShowsTwoPlaces)
{
    const SaltTotals t = SaltTotals::compute(
        {{100, 50, 90, 95.5}, {0.1, 0.05, 0.2, 0.3}},
        {{700, 1.5, 0.75}, {500, 0.8, 0.4}});
    EXPECT_DOUBLE_EQ(t.concentration, 100.1);
    EXPECT_DOUBLE_EQ(t.concentrationAtPercentage, 50.05);
    EXPECT_DOUBLE_EQ(t.vegetativeTargets, 90.2);
    EXPECT_DOUBLE_EQ(t.floweringTargets, 95.8);
    EXPECT_EQ(SaltTotals::text(t.ppm, u'.'), QStringLiteral("   1450"));
    EXPECT_EQ(SaltTotals::text(t.ppmAtPercentage, u'.'), QStringLiteral("   725"));
    EXPECT_EQ(SaltTotals::text(1.005, u'.'), QStringLiteral("   1")) << "1.005 is 1.00499… as a double";
    EXPECT_EQ(SaltTotals::text(-3, u'.'), QStringLiteral("   -2.99")) << "the rounding truncates after adding a half";

    const SaltTotals none = SaltTotals::compute({}, {});
    EXPECT_EQ(SaltTotals::text(none.concentration, u'.'), QStringLiteral("   0"));
    EXPECT_EQ(SaltTotals::text(none.ppm, u'.'), QStringLiteral("   0"));
}

} // namespace
