#include "calculatorfixture.h"

#include "calculator/tform5.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>

#include <sqlite3.h>

namespace {

using namespace ReadmeRecipe;

class CompositionTest : public CalculatorTest
{
protected:
    DataGrid *composition() { return grid("dxDBGrid2"); }
    DataGrid *list() { return grid("dxDBGrid1"); }
    DataGrid *concentration() { return grid("dxDBGrid3"); }

    QStringList compositionNames() { return columnTexts(composition(), "dxDBGrid2Column1"); }

    // The cell of the concentration grid in the row of the element.
    QString concentrationCell(const char *element, const char *column)
    {
        DataGrid *g = concentration();
        const int row = rowOf(g, "dxDBGrid3name_el", QString::fromLatin1(element));
        EXPECT_GE(row, 0) << "no row for " << element;
        return row < 0 ? QString() : cell(g, row, column);
    }

    QString currentFertilizer()
    {
        return data().form2.T_Udobra.asString(QStringLiteral("name_udobra"));
    }
};

// The worked composition, by hand from the default base (crop Томат, the first, selected):
//   N  = (14.4 + 1.1) × 10 × 1.0 + 13.85 × 10 × 0.5                       = 224.25
//   P  = 52.15 × 10 × 0.2 × 0.4364                                        = 45.5165
//   K  = 46.58 × 10 × 0.5 × 0.8302 + 34.61 × 10 × 0.2 × 0.8302             = 250.82
//   Ca = 26.5 × 10 × 1.0 × 0.7147                                          = 189.3955
//   Mg = 16.35 × 10 × 0.6 × 0.603                                          = 59.1543
//   S  = 32.48 × 10 × 0.6 × 0.4005                                         = 78.0494
//   sum 847.1857 → 847.19 mg/L; ppm 589 × 1 + 624 × 0.5 + 350 × 0.2 + 470 × 0.6 = 1253;
//   Томат's targets: vega total 484.85, cvet total 654.85.
TEST_F(CompositionTest, WorkedCompositionThroughTheWindow)
{
    for (const QString &f : {CalciumNitrate, PotassiumNitrate, Mkp, Epsom})
        addFertilizer(f);
    EXPECT_EQ(compositionNames(), QStringList({CalciumNitrate, PotassiumNitrate, Mkp, Epsom}));
    EXPECT_EQ(cell(composition(), 0, "dxDBGrid2Column2"), QString()) << "a new row has no amount";

    typeAmount(CalciumNitrate, QStringLiteral("1"));
    typeAmount(PotassiumNitrate, QStringLiteral("0.5"));
    typeAmount(Mkp, QStringLiteral("0.2"));
    typeAmount(Epsom, QStringLiteral("0.6"));
    press("Button4");

    EXPECT_EQ(concentrationCell("N", "dxDBGrid3rachet"), QStringLiteral("224.25"));
    EXPECT_EQ(concentrationCell("P", "dxDBGrid3rachet"), QStringLiteral("45.5165"));
    EXPECT_EQ(concentrationCell("K", "dxDBGrid3rachet"), QStringLiteral("250.82"));
    EXPECT_EQ(concentrationCell("Ca", "dxDBGrid3rachet"), QStringLiteral("189.3955"));
    EXPECT_EQ(concentrationCell("Mg", "dxDBGrid3rachet"), QStringLiteral("59.1543"));
    EXPECT_EQ(concentrationCell("S", "dxDBGrid3rachet"), QStringLiteral("78.0494"));
    EXPECT_EQ(concentrationCell("Fe", "dxDBGrid3rachet"), QStringLiteral("0"));
    // At 100 % the scaled values equal the unscaled ones; differences against Томат's targets.
    EXPECT_EQ(concentrationCell("N", "dxDBGrid3Column10"), QStringLiteral("224.25"));
    EXPECT_EQ(concentrationCell("N", "dxDBGrid3vaga_calc"), QStringLiteral("70"));
    EXPECT_EQ(concentrationCell("N", "dxDBGrid3Column11"), QStringLiteral("154.25"));
    EXPECT_EQ(concentrationCell("N", "dxDBGrid3Column12"), QStringLiteral("74.25"));
    // A shortfall of 2.8 shows as −2.79: the rounding truncates after adding a half.
    EXPECT_EQ(concentrationCell("Fe", "dxDBGrid3Column11"), QStringLiteral("-2.79"));

    EXPECT_EQ(labelText("Label4"), QStringLiteral("   847.19"));
    EXPECT_EQ(labelText("Label13"), QStringLiteral("   847.19"));
    EXPECT_EQ(labelText("Label5"), QStringLiteral("   484.85"));
    EXPECT_EQ(labelText("Label9"), QStringLiteral("   654.85"));
    EXPECT_EQ(labelText("Label10"), QStringLiteral("   1253"));
    EXPECT_EQ(labelText("Label11"), QStringLiteral("   1253"));
    EXPECT_EQ(boxes.count(), 0);

    // The composition is a table: what was typed is in the file.
    EXPECT_DOUBLE_EQ(stored("SELECT sum(kol) FROM t_rachet").toDouble(), 2.3);
}

TEST_F(CompositionTest, AddingKeepsOneRowPerFertilizerAndTheListWhereItWas)
{
    addFertilizer(CalciumNitrate);
    addFertilizer(CalciumNitrate);
    EXPECT_EQ(compositionNames(), QStringList({CalciumNitrate})) << "present once: not again";
    EXPECT_EQ(currentFertilizer(), CalciumNitrate);
    EXPECT_EQ(f4().T_rachet.currentRow(), 0) << "the composition is read afresh";

    // Twice (as a copied saved solution may leave it): one more.
    Dataset &r = f4().T_rachet;
    r.append();
    r.setValue(QStringLiteral("id_udobra"), data().form2.T_Udobra.asInteger(QStringLiteral("id_udobra")));
    r.post();
    press("Button1");
    EXPECT_EQ(compositionNames(), QStringList({CalciumNitrate, CalciumNitrate, CalciumNitrate}));
    EXPECT_EQ(currentFertilizer(), CalciumNitrate);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(CompositionTest, DoubleClickAndThePopUpMenuAddAndRemove)
{
    DataGrid *l = list();
    doubleClickCell(l, rowOf(l, "dxDBGrid1name_udobra", Mkp), "dxDBGrid1name_udobra");
    EXPECT_EQ(compositionNames(), QStringList({Mkp}));

    selectFertilizer(Epsom);
    auto *menu = find<QMenu>(QStringLiteral("PopupMenu3"));
    ASSERT_NE(menu, nullptr);
    const QList<QAction *> items = menu->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items.at(0)->objectName(), QStringLiteral("N7"));
    EXPECT_EQ(items.at(0)->text(), QStringLiteral("Удалить"));
    EXPECT_EQ(items.at(1)->objectName(), QStringLiteral("N8"));
    EXPECT_EQ(items.at(1)->text(), QStringLiteral("Добавить"));
    items.at(1)->trigger();
    EXPECT_EQ(compositionNames(), QStringList({Mkp, Epsom}));

    clickCell(composition(), 0, "dxDBGrid2Column1");
    items.at(0)->trigger();
    EXPECT_EQ(compositionNames(), QStringList({Epsom}));
}

TEST_F(CompositionTest, RemoveAndClearOnEmptyAndFilledCompositions)
{
    // Nothing to remove or clear: nothing happens and nothing is reported.
    Form4->Button2Click();
    Form4->Button3Click();
    EXPECT_EQ(f4().T_rachet.recordCount(), 0);
    EXPECT_FALSE(find<QPushButton>(QStringLiteral("Button2"))->isEnabled());
    EXPECT_FALSE(find<QPushButton>(QStringLiteral("Button3"))->isEnabled());

    for (const QString &f : {CalciumNitrate, PotassiumNitrate, Mkp})
        addFertilizer(f);
    clickCell(composition(), 0, "dxDBGrid2Column1");
    press("Button2");
    EXPECT_EQ(compositionNames(), QStringList({PotassiumNitrate, Mkp}));
    EXPECT_EQ(f4().T_rachet.currentRow(), 1) << "after \"<\" the last row is current";
    EXPECT_EQ(composition()->currentIndex().row(), 1);

    press("Button3");
    EXPECT_TRUE(compositionNames().isEmpty());
    EXPECT_EQ(stored("SELECT count(*) FROM t_rachet").toInt(), 0);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(CompositionTest, AddingFromAnEmptyListAddsNothing)
{
    typeText(find<QLineEdit>(QStringLiteral("Edit1")), QStringLiteral("нет такого"));
    EXPECT_EQ(list()->model()->rowCount(), 0);
    EXPECT_FALSE(find<QPushButton>(QStringLiteral("Button1"))->isEnabled());
    EXPECT_FALSE(find<QAction>(QStringLiteral("N8"))->isEnabled());
    Form4->Button1Click();
    EXPECT_EQ(f4().T_rachet.recordCount(), 0);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(CompositionTest, SearchFiltersTheSharedListAndClearingShowsAll)
{
    auto *edit = find<QLineEdit>(QStringLiteral("Edit1"));
    typeText(edit, QStringLiteral("селитра"));
    EXPECT_EQ(columnTexts(list(), "dxDBGrid1name_udobra"),
              QStringList({CalciumNitrate, PotassiumNitrate, AmmoniumNitrate, MagnesiumNitrate,
                           QStringLiteral("Кальциевая селитра чистая (4-водная)"),
                           QStringLiteral("Натриевая селитра")}));
    EXPECT_EQ(data().form2.T_Udobra.filter(), QStringLiteral("name_udobra like %селитра%"));
    EXPECT_EQ(labelText("Label6"), QStringLiteral("6")) << "the count follows the search";

    edit->clear();
    EXPECT_EQ(list()->model()->rowCount(), 29);
    EXPECT_EQ(labelText("Label6"), QStringLiteral("29"));
    EXPECT_FALSE(data().form2.T_Udobra.isFiltered());

    // Characters with a meaning in a criterion are taken as typed.
    QTest::keyClicks(edit, QStringLiteral("13%"));
    EXPECT_EQ(columnTexts(list(), "dxDBGrid1name_udobra"),
              QStringList({QStringLiteral("Хелат железа Fe-EDTA 13%")}));
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("'["));
    EXPECT_EQ(list()->model()->rowCount(), 0);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(CompositionTest, HeaderClicksToggleTheMarkAndTheSort)
{
    auto *column = find<DataGridColumn>(QStringLiteral("dxDBGrid1name_udobra"));
    EXPECT_EQ(column->sortMark(), SortMark::Down);
    EXPECT_EQ(cell(list(), 0, "dxDBGrid1name_udobra"), CalciumNitrate) << "the query's own order";

    clickHeader(list(), "dxDBGrid1name_udobra");
    EXPECT_EQ(column->sortMark(), SortMark::Up);
    EXPECT_EQ(cell(list(), 0, "dxDBGrid1name_udobra"), QStringLiteral("Хлорид кальция (2-водный)"));
    EXPECT_EQ(cell(list(), 28, "dxDBGrid1name_udobra"), QStringLiteral("Азотная кислота 38%"));

    clickHeader(list(), "dxDBGrid1name_udobra");
    EXPECT_EQ(column->sortMark(), SortMark::Down);
    EXPECT_EQ(cell(list(), 0, "dxDBGrid1name_udobra"), QStringLiteral("Азотная кислота 38%"));
    EXPECT_EQ(cell(list(), 28, "dxDBGrid1name_udobra"), QStringLiteral("Хлорид кальция (2-водный)"));
}

TEST_F(CompositionTest, AClickInTheListGivesTheCompositionHint)
{
    EXPECT_TRUE(list()->toolTip().isEmpty());
    selectFertilizer(CalciumNitrate);
    EXPECT_EQ(list()->toolTip(), QStringLiteral("Кальциевая селитра:\r\n\r\nN-NO3 - 14.4%\r\n"
                                                "N-NH4 - 1.1%\r\nCaO - 26.5%"));

    // A fertilizer without element rows: its name line and one line break.
    Dataset &u = data().form2.T_Udobra;
    u.append();
    u.setValue(QStringLiteral("name_udobra"), QStringLiteral("Пустое"));
    u.post();
    selectFertilizer(QStringLiteral("Пустое"));
    EXPECT_EQ(list()->toolTip(), QStringLiteral("Пустое:\r\n"));
}

TEST_F(CompositionTest, ABurstOfAmountEditsGivesOneRecalculation)
{
    addFertilizer(CalciumNitrate);
    auto *timer = find<QTimer>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1000);
    recalculationTimer();
    // Every recalculation is a press of "Рассчитать >>".
    QSignalSpy runs(find<QPushButton>(QStringLiteral("Button4")), &QPushButton::clicked);

    // Three edits: the first starts the timer, the others find it running and leave it so;
    // nothing is calculated until it ticks.
    DecimalSpinBox *spin = openSpinEditor(composition(), 0, "dxDBGrid2Column2");
    ASSERT_NE(spin, nullptr);
    QTest::keyClick(spin, Qt::Key_1);
    EXPECT_TRUE(timer->isActive()) << "the first change starts the timer";
    QTest::keyClick(spin, Qt::Key_Period);
    QTest::keyClick(spin, Qt::Key_5);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(runs.count(), 0);
    EXPECT_EQ(concentrationCell("N", "dxDBGrid3rachet"), QString()) << "nothing calculated yet";

    tick(timer);
    EXPECT_EQ(runs.count(), 1) << "the tick presses the button once";
    EXPECT_FALSE(timer->isActive()) << "the tick switches the timer off: no second run is due";
    // N = (14.4 + 1.1) × 10 × 1.5; ppm 589 × 1.5. The amount still in the editor counts.
    EXPECT_EQ(concentrationCell("N", "dxDBGrid3rachet"), QStringLiteral("232.5"));
    EXPECT_EQ(labelText("Label10"), QStringLiteral("   883.5"));

    // An edit after the tick starts a new second.
    spin = openSpinEditor(composition(), 0, "dxDBGrid2Column2");
    ASSERT_NE(spin, nullptr);
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(runs.count(), 1);
}

TEST_F(CompositionTest, AFailingRecalculationSwitchesTheTimerOff)
{
    addFertilizer(CalciumNitrate);
    QTimer *timer = recalculationTimer();
    DecimalSpinBox *spin = openSpinEditor(composition(), 0, "dxDBGrid2Column2");
    ASSERT_NE(spin, nullptr);
    QTest::keyClick(spin, Qt::Key_2);
    ASSERT_TRUE(timer->isActive());
    // The target rows go away under the run: its first step fails.
    f4().ADOTable2.close();
    boxes.expect(BoxButton::Ok);
    tick(timer);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().caption, QStringLiteral("Vernolat"));
    EXPECT_TRUE(boxes.last().text.startsWith(QStringLiteral("ADOTable2: ")));
    EXPECT_FALSE(timer->isActive()) << "not retried every second";
}

TEST_F(CompositionTest, RoundingKeepsFourDecimalsOfEveryTargetRow)
{
    Dataset &targets = f4().ADOTable2;
    const double typed[] = {123.45678, -123.45678};
    for (int row = 0; row < 2; ++row) {
        targets.moveTo(row);
        targets.edit();
        targets.setValue(QStringLiteral("rachet"), typed[row]);
        targets.post();
    }
    Form4->RoundCalculatedConcentrations();
    EXPECT_EQ(cell(concentration(), 0, "dxDBGrid3rachet"), QStringLiteral("123.4568"));
    EXPECT_EQ(cell(concentration(), 1, "dxDBGrid3rachet"), QStringLiteral("-123.4567"));
    EXPECT_DOUBLE_EQ(stored("SELECT rachet FROM t_konc WHERE id_kult = 1 ORDER BY id_konc").toDouble(),
                     123.4568);
}

// A run whose COMMIT fails (refused here by a commit hook, as a full disk or an I/O error
// refuses it) is reported, and the grid and the file agree on the last run that was committed.
TEST_F(CompositionTest, ARunWhoseCommitFailsIsReportedAndTheGridShowsTheFile)
{
    addFertilizer(CalciumNitrate);
    typeAmount(CalciumNitrate, QStringLiteral("1"));
    press("Button4");
    ASSERT_EQ(concentrationCell("N", "dxDBGrid3rachet"), QStringLiteral("155"));
    typeAmount(CalciumNitrate, QStringLiteral("2"));
    f4().T_rachet.post(); // the amount is in the file before the commits start failing

    sqlite3_commit_hook(data().ADOConnection1.handle(), [](void *) { return 1; }, nullptr);
    boxes.expect(BoxButton::Ok);
    press("Button4");
    sqlite3_commit_hook(data().ADOConnection1.handle(), nullptr, nullptr);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("constraint failed."));
    EXPECT_EQ(boxes.last().icon, BoxIcon::Error);
    EXPECT_DOUBLE_EQ(stored("SELECT rachet FROM t_konc WHERE id_kult = 1 AND id_el = 1").toDouble(), 155);
    EXPECT_EQ(concentrationCell("N", "dxDBGrid3rachet"), QStringLiteral("155"));
    EXPECT_EQ(f4().ADOTable2.state(), DatasetState::Browse);

    press("Button4");
    EXPECT_EQ(concentrationCell("N", "dxDBGrid3rachet"), QStringLiteral("310"));
    EXPECT_DOUBLE_EQ(stored("SELECT rachet FROM t_konc WHERE id_kult = 1 AND id_el = 1").toDouble(), 310);
}

TEST_F(CompositionTest, SaveSwitchesTheRenameModeOffAndShowsTheNameDialog)
{
    Form5->setRenameMode(true);
    press("Button5");
    EXPECT_FALSE(Form5->renameMode());
    EXPECT_TRUE(Form5->isVisible());
}

// The amount of a newly added fertilizer, typed straight into its empty cell, is what is stored:
// "1" is 1 g/L, not 10; either decimal mark reads as one.
TEST_F(CompositionTest, AnAmountTypedIntoANewRowIsStoredAsTyped)
{
    const struct
    {
        const QString fertilizer;
        const char *typed;
        double stored;
    } cases[] = {
        {CalciumNitrate, "1", 1},
        {PotassiumNitrate, "0,5", 0.5},
        {Mkp, "0.2", 0.2},
    };
    DataGrid *g = grid("dxDBGrid2");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        addFertilizer(c.fertilizer);
        const int row = rowOf(g, "dxDBGrid2Column1", c.fertilizer);
        ASSERT_GE(row, 0);
        EXPECT_TRUE(cell(g, row, "dxDBGrid2Column2").isEmpty()) << "added without an amount";
        g->setFocus();
        g->setCurrentIndex(index(g, row, "dxDBGrid2Column2"));
        // Key by key to the focus, as a keyboard types: the first key opens the editor.
        for (const char ch : std::string(c.typed))
            QTest::keyClick(QApplication::focusWidget(), ch);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QApplication::processEvents();
        f4().T_rachet.checkBrowseMode();
        EXPECT_EQ(stored(QStringLiteral("SELECT kol FROM t_rachet r JOIN t_udobra u ON u.id_udobra = "
                                        "r.id_udobra WHERE u.name_udobra = '%1'")
                             .arg(c.fertilizer)
                             .toUtf8()
                             .constData())
                      .toDouble(),
                  c.stored);
    }
}

} // namespace
