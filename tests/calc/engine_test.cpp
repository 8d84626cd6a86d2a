#include "calc/engine.h"
#include "calc/numbers.h"
#include "data/apperror.h"
#include "data/datamodules.h"
#include "support/freshbase.h"

#include <QHash>

#include <gtest/gtest.h>

namespace {

class FakeView : public CalculatorView
{
public:
    int percentage() const override { return p; }
    QString litresText() const override { return litres; }
    void setColumnCaption(const QString &column, const QString &caption) override { captions[column] = caption; }
    void setLabelText(const QString &label, const QString &text) override { labels[label] = text; }

    int p = 100;
    QString litres;
    QHash<QString, QString> captions;
    QHash<QString, QString> labels;
};

// The engine over a fresh default base, with helpers that type into the datasets as a grower would.
class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine.installHooks();
        try {
            data.openAll();
        } catch (const AppError &e) {
            FAIL() << e.text().toStdString();
        }
    }

    Form4Data &f4() { return data.form4; }

    int fertilizerId(const QString &name)
    {
        Dataset &u = data.form2.T_Udobra;
        u.first();
        while (!u.eof()) {
            if (u.asString(QStringLiteral("name_udobra")) == name)
                return u.asInteger(QStringLiteral("id_udobra"));
            u.next();
        }
        ADD_FAILURE() << "no fertilizer " << name.toStdString();
        return 0;
    }

    void addToComposition(const QString &name, double grams)
    {
        Dataset &r = f4().T_rachet;
        r.append();
        r.setValue(QStringLiteral("id_udobra"), fertilizerId(name));
        r.setValue(QStringLiteral("kol"), grams);
        r.post();
    }

    void selectCrop(const QString &name)
    {
        Dataset &c = f4().ADOTable3;
        c.first();
        while (!c.eof() && c.asString(QStringLiteral("name_kult")) != name)
            c.next();
        ASSERT_FALSE(c.eof()) << "no crop " << name.toStdString();
    }

    // rachet of the selected crop's target rows by element symbol.
    QHash<QString, double> computed()
    {
        QHash<QString, double> out;
        Dataset &t = f4().ADOTable2;
        t.first();
        while (!t.eof()) {
            out[t.asString(QStringLiteral("name_el"))] = t.asFloat(QStringLiteral("rachet"));
            t.next();
        }
        return out;
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

    FreshBase base;
    DataModules data;
    FakeView view;
    ConcentrationEngine engine{data, view};
};

TEST_F(EngineTest, WorkedMacroCompositionOnTheDefaultBase)
{
    selectCrop(QStringLiteral("Огурец"));
    addToComposition(QStringLiteral("Кальциевая селитра"), 1.0);
    addToComposition(QStringLiteral("Калиевая селитра"), 0.5);
    addToComposition(QStringLiteral("Монофосфат калия"), 0.2);
    addToComposition(QStringLiteral("Сульфат магния (7-водный)"), 0.6);
    engine.Button4Click();

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

    EXPECT_EQ(view.labels.value(QStringLiteral("Label4")), QStringLiteral("   847.19"));
    EXPECT_EQ(view.labels.value(QStringLiteral("Label10")), QStringLiteral("   1253"));
    EXPECT_EQ(view.labels.value(QStringLiteral("Label11")), QStringLiteral("   1253"));

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
    engine.Button4Click();
    const QHash<QString, double> c = computed();
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("Fe")), 5.4) << "two fertilizers add up in one row";
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("B")), 1.0444);
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("Mo")), 0.024);
    EXPECT_EQ(view.labels.value(QStringLiteral("Label4")), QStringLiteral("   7.47"));
    EXPECT_EQ(view.labels.value(QStringLiteral("Label10")), QStringLiteral("   4.62"));
    EXPECT_EQ(view.labels.value(QStringLiteral("Label11")), QStringLiteral("   3.24")) << "4.623 × 0.7 = 3.2361";
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
    engine.Button4Click();
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
    engine.Button4Click(); // posts the pending amount first
    c = computed();
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("P")), 130.92);

    // An empty composition sets every target row to 0.
    r.first();
    r.remove();
    engine.Button4Click();
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
    engine.UpdateSaltTotals();
    EXPECT_EQ(view.labels.value(QStringLiteral("Label10")), QStringLiteral("   1450"));
    EXPECT_EQ(view.labels.value(QStringLiteral("Label11")), QStringLiteral("   725"));

    Dataset &opt = data.form18.ADOTable1;
    opt.edit();
    opt.setValue(QStringLiteral("ppm2"), false);
    opt.setValue(QStringLiteral("ppm1"), false);
    opt.post();
    engine.Button4Click();
    for (const char *label : {"Label4", "Label13", "Label5", "Label9", "Label10", "Label11"})
        EXPECT_EQ(view.labels.value(QString::fromLatin1(label)), QStringLiteral("   0")) << label;
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

    view.litres = QStringLiteral("10");
    rows.close();
    rows.open();
    EXPECT_DOUBLE_EQ(rows.asFloat(QStringLiteral("kol_temp")), 20);
    EXPECT_DOUBLE_EQ(rows.asFloat(QStringLiteral("r_conc")), 1.6);
    EXPECT_DOUBLE_EQ(rows.asFloat(QStringLiteral("rl_conc")), 16);
    EXPECT_EQ(view.captions.value(QStringLiteral("dxDBGrid4Column3")), QStringLiteral("Кол-во г./10л."));
    EXPECT_EQ(view.captions.value(QStringLiteral("dxDBGrid4Column4")), QStringLiteral("Кол-во от 80% г./л."));
    EXPECT_EQ(view.captions.value(QStringLiteral("dxDBGrid4Column5")), QStringLiteral("Кол-во от 80% г./10л."));

    addToComposition(QStringLiteral("Монофосфат калия"), 1.0);
    engine.dxDBGrid5Click();
    const QHash<QString, double> c = computed();
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("N")), 277.0) << "13.85 × 10 × 2 from the saved solution";
    EXPECT_DOUBLE_EQ(c.value(QStringLiteral("P")), 0.0) << "the working composition is not used";
    EXPECT_EQ(head.asString(QStringLiteral("name_rar")), QStringLiteral("Рабочий"));
    EXPECT_EQ(view.labels.value(QStringLiteral("Label10")), QStringLiteral("   350"))
        << "ppm totals still come from the working composition";
    EXPECT_EQ(view.captions.value(QStringLiteral("dxDBGrid4Column3")), QStringLiteral("Кол-во г./10л."))
        << "reopening the rows rewrites the run's caption";

    view.litres = QStringLiteral("abc");
    rows.close();
    rows.open();
    EXPECT_DOUBLE_EQ(rows.asFloat(QStringLiteral("kol_temp")), 0) << "unreadable litres count as 0";

    // A solution without rows: zeros, and the run's own caption stays.
    head.append();
    head.setValue(QStringLiteral("name_rar"), QStringLiteral("Пустой"));
    head.post();
    view.litres = QStringLiteral("10");
    engine.dxDBGrid5Click();
    for (double v : computed())
        EXPECT_EQ(v, 0.0);
    EXPECT_EQ(view.captions.value(QStringLiteral("dxDBGrid4Column3")), QStringLiteral("Кол-во, г/10 л."));
    EXPECT_EQ(head.asString(QStringLiteral("name_rar")), QStringLiteral("Пустой"));
}

} // namespace
