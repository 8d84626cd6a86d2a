#include "calculator/calculatorfixture.h"

#include "chart/chartwindow.h"
#include "data/textconv.h"
#include "solver/solverdialog.h"
#include "solver/waterwindow.h"
#include "ui/chart/elementchart.h"
#include "ui/grid/navbar.h"

#include <QBarSeries>
#include <QBarSet>
#include <QComboBox>
#include <QLogValueAxis>
#include <QToolButton>
#include <QTableWidget>

namespace {

using namespace ReadmeRecipe;

// The values the chart's bar sets hold, by series.
QList<QList<double>> bars(const ElementChart *chart)
{
    // One bar series; beside it at most the legend's entry for the red, which holds no bars.
    QList<QList<double>> out;
    const QBarSeries *barSeries = nullptr;
    for (QAbstractSeries *s : chart->chart()->series()) {
        if (auto *b = qobject_cast<QBarSeries *>(s)) {
            if (barSeries)
                return out;
            barSeries = b;
        }
    }
    if (!barSeries)
        return out;
    for (const QBarSet *set : barSeries->barSets()) {
        QList<double> values;
        for (int i = 0; i < set->count(); ++i)
            values.append(set->at(i));
        out.append(values);
    }
    return out;
}

// A bar shows the value, or stands at the bottom of the logarithmic axis for 0.
void expectBar(const ElementChart *chart, double bar, double value, const std::string &what)
{
    if (value > 0)
        EXPECT_EQ(bar, value) << what;
    else
        EXPECT_EQ(bar, chart->axisBottom()) << what;
}

double numberIn(const QString &text)
{
    double v = 0;
    EXPECT_TRUE(tryParseDouble(text, systemDecimalSeparator(), v)) << text.toStdString();
    return v;
}

// The solver dialog, the water window and the chart window, driven through the calculator.
class SolverTest : public CalculatorTest
{
protected:
    SolverDialog *openDialog()
    {
        press("ButtonSolve");
        auto *d = Form4->findChild<SolverDialog *>(QStringLiteral("SolverDialog"));
        EXPECT_NE(d, nullptr);
        if (d) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(d));
        }
        return d;
    }

    template<typename T = QWidget>
    static T *in(QWidget *window, const char *name)
    {
        T *c = window->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << "no " << name;
        return c;
    }

    static QString text(QTableWidget *g, int row, int column)
    {
        const QTableWidgetItem *item = g->item(row, column);
        return item ? item->text() : QString();
    }

    static int rowOf(QTableWidget *g, const QString &name)
    {
        for (int r = 0; r < g->rowCount(); ++r) {
            if (text(g, r, 0) == name)
                return r;
        }
        ADD_FAILURE() << "no row " << name.toStdString();
        return -1;
    }

    static QStringList captions(QTableWidget *g)
    {
        QStringList out;
        for (int c = 0; c < g->columnCount(); ++c)
            out.append(g->horizontalHeaderItem(c)->text());
        return out;
    }

    // Picks the mode in the element's drop-down and leaves it with Enter.
    static void setMode(QTableWidget *g, const QString &element, const QString &mode)
    {
        const QModelIndex i = g->model()->index(rowOf(g, element), 2);
        g->setCurrentIndex(i);
        QTest::keyClick(g, Qt::Key_F2);
        auto *box = qobject_cast<QComboBox *>(g->indexWidget(i));
        ASSERT_NE(box, nullptr);
        box->setCurrentIndex(box->findText(mode));
        QTest::keyClick(box, Qt::Key_Return);
        QApplication::processEvents(); // the view stores the value from its queue
    }

    // Opens a cell's editor with F2, replaces what it holds, and leaves it with Enter.
    static void typeInCell(QTableWidget *g, int row, int column, const QString &typed)
    {
        const QModelIndex i = g->model()->index(row, column);
        g->setCurrentIndex(i);
        QTest::keyClick(g, Qt::Key_F2);
        QWidget *editor = g->indexWidget(i);
        ASSERT_NE(editor, nullptr);
        enter(editor, typed);
    }

    static void enter(QWidget *editor, const QString &typed)
    {
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Delete);
        typeText(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
    }

    // A water analysis typed in the window "Анализ воды", as a grower does it.
    void typeWaterAnalysis(SolverDialog *dialog, const QString &name, const char *element,
                           const char *mgL)
    {
        QTest::mouseClick(in<QPushButton>(dialog, "WaterButton"), Qt::LeftButton);
        auto *window = dialog->findChild<WaterWindow *>(QStringLiteral("WaterWindow"));
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Анализ воды"));
        EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);

        QTest::mouseClick(in<NavBar>(window, "WaterNavigator")->button(NavButton::Insert), Qt::LeftButton);
        auto *analyses = in<DataGrid>(window, "WaterGrid");
        const QModelIndex nameCell = analyses->model()->index(analyses->currentIndex().row(), 0);
        analyses->edit(nameCell);
        QWidget *nameEditor = analyses->indexWidget(nameCell);
        ASSERT_NE(nameEditor, nullptr);
        enter(nameEditor, name);

        // Turning to the rows stores the new analysis, so that they carry its key.
        QTest::mouseClick(in<NavBar>(window, "WaterElementNavigator")->button(NavButton::Insert),
                          Qt::LeftButton);
        auto *rows = in<DataGrid>(window, "WaterElementGrid");
        const int row = rows->currentIndex().row();
        const QModelIndex elementCell = rows->model()->index(row, 0);
        rows->edit(elementCell);
        auto *picker = qobject_cast<QComboBox *>(rows->indexWidget(elementCell));
        ASSERT_NE(picker, nullptr);
        QStringList offered;
        for (int i = 0; i < picker->count(); ++i)
            offered.append(picker->itemText(i));
        EXPECT_EQ(offered, QStringList({"N", "P", "K", "Ca", "Mg", "S", "Fe", "Mn", "Zn", "Cu",
                                        "B", "Mo", "Na", "Cl", "Si"}))
            << "the non-oxide elements";
        picker->setCurrentIndex(picker->findText(QString::fromLatin1(element)));
        QTest::keyClick(picker, Qt::Key_Return);
        QApplication::processEvents();
        const QModelIndex amountCell = rows->model()->index(row, 1);
        rows->edit(amountCell);
        QWidget *amount = rows->indexWidget(amountCell);
        ASSERT_NE(amount, nullptr);
        enter(amount, QString::fromLatin1(mgL));
        QTest::mouseClick(in<QPushButton>(window, "WaterCloseButton"), Qt::LeftButton);
        EXPECT_FALSE(window->isVisible());
    }

    // The run's rachet of the selected crop by element, as the concentration grid shows it.
    QHash<QString, double> runResults()
    {
        QHash<QString, double> out;
        DataGrid *g = grid("dxDBGrid3");
        for (int r = 0; r < g->model()->rowCount(); ++r)
            out[cell(g, r, "dxDBGrid3name_el")] = numberIn(cell(g, r, "dxDBGrid3rachet"));
        return out;
    }

    QStringList storedAmounts()
    {
        QStringList out;
        Connection c(QStringLiteral("base.mdb"));
        Connection::Statement st(c, QStringLiteral("SELECT kol FROM t_rachet ORDER BY id_rachet"));
        while (st.step())
            out.append(st.column(0).toString());
        return out;
    }
};

TEST_F(SolverTest, TheDialogNeedsAFertilizerAndShowsTheCompositionAndTheCrop)
{
    boxes.expect(BoxButton::Ok);
    press("ButtonSolve");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().caption, QStringLiteral("Подбор состава"));
    EXPECT_EQ(boxes.last().icon, BoxIcon::None);
    EXPECT_EQ(Form4->findChild<SolverDialog *>(), nullptr);

    typeReadmeRecipe();
    SolverDialog *dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Подбор состава"));
    EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);

    auto *stage = in<QComboBox>(dialog, "StageBox");
    EXPECT_EQ(stage->itemText(0), QStringLiteral("Вега"));
    EXPECT_EQ(stage->itemText(1), QStringLiteral("Цвет"));
    EXPECT_EQ(in<QComboBox>(dialog, "WaterBox")->currentText(), QStringLiteral("Без учёта воды"));
    EXPECT_EQ(in<QPushButton>(dialog, "SolveButton")->text(), QStringLiteral("Подобрать"));
    EXPECT_EQ(in<QPushButton>(dialog, "ApplySolveButton")->text(), QStringLiteral("Применить"));
    EXPECT_FALSE(in<QPushButton>(dialog, "ApplySolveButton")->isEnabled()) << "nothing solved yet";
    EXPECT_EQ(in<QPushButton>(dialog, "CloseSolveButton")->text(), QStringLiteral("Закрыть"));
    EXPECT_EQ(in<QPushButton>(dialog, "WaterButton")->text(), QStringLiteral("Анализ воды..."));
    for (const char *name : {"StageBox", "WaterBox", "ElementGrid", "FertilizerGrid", "SolverChart"})
        EXPECT_FALSE(in(dialog, name)->accessibleName().isEmpty()) << name;
    for (const char *name : {"StageBox", "WaterBox", "WaterButton", "ElementGrid",
                             "FertilizerGrid", "SolveButton", "ApplySolveButton", "CloseSolveButton"})
        EXPECT_TRUE(in(dialog, name)->focusPolicy() & Qt::TabFocus) << name;

    auto *elements = in<QTableWidget>(dialog, "ElementGrid");
    EXPECT_EQ(captions(elements), QStringList({"Элемент", "Цель, мг/л", "Режим", "Вода, мг/л",
                                               "Результат, мг/л", "Отклонение, %"}));
    EXPECT_EQ(elements->rowCount(), 15) << "Томат's target rows";
    EXPECT_EQ(text(elements, rowOf(elements, "N"), 1), QStringLiteral("70")) << "vega at 100 %";
    for (int r = 0; r < elements->rowCount(); ++r) {
        // N to Mo have a target above 0; Na, Cl and Si have none.
        EXPECT_EQ(text(elements, r, 2), r < 12 ? QStringLiteral("Цель") : QStringLiteral("Игнорировать"))
            << text(elements, r, 0).toStdString();
    }

    auto *fertilizers = in<QTableWidget>(dialog, "FertilizerGrid");
    EXPECT_EQ(captions(fertilizers), QStringList({"Удобрение", "Кол-во г/л.", "Закрепить",
                                                  "Не больше г/л."}));
    ASSERT_EQ(fertilizers->rowCount(), amounts().size());
    EXPECT_EQ(text(fertilizers, 0, 0), CalciumNitrate);
    EXPECT_EQ(text(fertilizers, 6, 0), IronChelate);
    EXPECT_EQ(numberIn(text(fertilizers, 6, 1)), 0.011) << "the current amount";

    // At its built size no caption is cut: buttons, labels, the words of the grids' captions.
    for (const QPushButton *b : dialog->findChildren<QPushButton *>())
        EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text()) + 4) << b->text().toStdString();
    for (const QLabel *l : dialog->findChildren<QLabel *>()) {
        if (l->isVisible() && !l->wordWrap()) {
            EXPECT_GE(l->width(), l->sizeHint().width()) << l->text().toStdString();
        }
    }
    for (QTableWidget *g : {elements, fertilizers}) {
        const QFontMetrics fm(g->horizontalHeader()->font());
        for (int c = 0; c < g->columnCount(); ++c) {
            for (const QString &word : g->horizontalHeaderItem(c)->text().split(u' '))
                EXPECT_LE(fm.horizontalAdvance(word) + 8, g->columnWidth(c)) << word.toStdString();
        }
    }

    // Stage Цвет shows the flowering targets.
    stage->setCurrentIndex(1);
    EXPECT_EQ(text(elements, rowOf(elements, "N"), 1), QStringLiteral("150"));
    EXPECT_EQ(boxes.count(), 1);
}

// Solved with a tap water of 40 mg/L Ca typed in "Анализ воды"; "Применить" writes the amounts
// and the run computes exactly what the dialog promised, less the water.
TEST_F(SolverTest, ApplyThenTheRunGivesTheDialogsResultsLessTheWater)
{
    typeReadmeRecipe();
    SolverDialog *dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    typeWaterAnalysis(dialog, QStringLiteral("Водопровод"), "Ca", "40");
    auto *water = in<QComboBox>(dialog, "WaterBox");
    ASSERT_EQ(water->count(), 2);
    water->setCurrentIndex(1);
    EXPECT_EQ(water->currentText(), QStringLiteral("Водопровод"));
    auto *elements = in<QTableWidget>(dialog, "ElementGrid");
    EXPECT_EQ(text(elements, rowOf(elements, "Ca"), 3), QStringLiteral("40"));
    EXPECT_EQ(text(elements, rowOf(elements, "N"), 3), QStringLiteral("0"));

    QTest::mouseClick(in<QPushButton>(dialog, "SolveButton"), Qt::LeftButton);
    ASSERT_TRUE(dialog->result());
    EXPECT_EQ(in<QLabel>(dialog, "StatusLabel")->text(),
              QStringLiteral("Подобрано по остальным элементам. Ни одно удобрение состава не "
                             "содержит: Mn, Zn, Cu, B, Mo."));
    EXPECT_TRUE(in<QPushButton>(dialog, "ApplySolveButton")->isEnabled());

    // The chart shows the grid's numbers, the uncarried elements in the warning colour.
    auto *chart = in<ElementChart>(dialog, "SolverChart");
    ASSERT_EQ(chart->series().size(), 2);
    const QList<QList<double>> shown = bars(chart);
    ASSERT_EQ(shown.size(), 2);
    QHash<QString, double> result;
    QHash<QString, double> waterIn;
    for (int r = 0; r < elements->rowCount(); ++r) {
        const QString name = text(elements, r, 0);
        EXPECT_EQ(chart->elements().at(r), name);
        expectBar(chart, shown.at(0).at(r), numberIn(text(elements, r, 1)), name.toStdString());
        result[name] = numberIn(text(elements, r, 4));
        waterIn[name] = numberIn(text(elements, r, 3));
        expectBar(chart, shown.at(1).at(r), result[name], name.toStdString());
        // Beyond 10 % in the warning colour: the five no fertilizer carries, and calcium, which
        // only calcium nitrate brings and nitrogen holds back.
        const QString deviation = text(elements, r, 5);
        const bool warned = !deviation.isEmpty() && std::abs(numberIn(deviation)) > 10;
        EXPECT_EQ(warned, QStringList({"Ca", "Mn", "Zn", "Cu", "B", "Mo"}).contains(name));
        EXPECT_EQ(chart->series().at(1).warnings.at(r), warned) << name.toStdString();
    }
    auto *fertilizers = in<QTableWidget>(dialog, "FertilizerGrid");
    QStringList amounts;
    for (int r = 0; r < fertilizers->rowCount(); ++r)
        amounts.append(text(fertilizers, r, 1));
    const QString totals = in<QLabel>(dialog, "SaltTotalsLabel")->text();

    QTest::mouseClick(in<QPushButton>(dialog, "ApplySolveButton"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(Form4->findChild<SolverDialog *>(), nullptr) << "closed after applying";

    // The same rows hold the amounts shown, as the grid and the file give them.
    DataGrid *composition = grid("dxDBGrid2");
    ASSERT_EQ(composition->model()->rowCount(), amounts.size());
    for (int r = 0; r < amounts.size(); ++r)
        EXPECT_EQ(numberIn(cell(composition, r, "dxDBGrid2Column2")), numberIn(amounts.at(r)));
    const QStringList file = storedAmounts();
    ASSERT_EQ(file.size(), amounts.size());
    for (int r = 0; r < amounts.size(); ++r)
        EXPECT_EQ(file.at(r).toDouble(), numberIn(amounts.at(r)));

    // "Рассчитать >>" has run: its rachet is the dialog's result less the water.
    const QHash<QString, double> run = runResults();
    ASSERT_EQ(run.size(), result.size());
    for (auto it = result.cbegin(); it != result.cend(); ++it)
        EXPECT_NEAR(run.value(it.key()), it.value() - waterIn.value(it.key()), 1e-9) << it.key().toStdString();
    EXPECT_NEAR(run.value(QStringLiteral("Ca")), result.value(QStringLiteral("Ca")) - 40, 1e-9);
    EXPECT_EQ(totals, QStringLiteral("Общее кол-во солей: %1 мг./л., %2 PPM")
                          .arg(labelText("Label4").trimmed(), labelText("Label10").trimmed()));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(SolverTest, CloseWritesNothingAndTheChoicesStayForTheNextOpening)
{
    // The default mode follows the stage's target: Mo has no flowering target, Zn no
    // vegetative one.
    {
        Connection c(QStringLiteral("base.mdb"));
        c.exec(QStringLiteral("UPDATE t_konc SET cvet = 0 WHERE id_kult = 1 AND id_el = "
                              "(SELECT id_element FROM T_element WHERE Smallname_element = 'Mo')"));
        c.exec(QStringLiteral("UPDATE t_konc SET vega = 0 WHERE id_kult = 1 AND id_el = "
                              "(SELECT id_element FROM T_element WHERE Smallname_element = 'Zn')"));
    }
    f4().ADOTable2.refresh();
    typeReadmeRecipe();
    press("Button4");
    const QStringList before = storedAmounts();
    const QHash<QString, double> runBefore = runResults();
    Dataset &analyses = data().own.T_voda;
    analyses.append();
    analyses.setValue(QStringLiteral("name_voda"), QStringLiteral("Колодец"));
    analyses.post();

    SolverDialog *dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    auto *elements = in<QTableWidget>(dialog, "ElementGrid");
    EXPECT_EQ(text(elements, rowOf(elements, "Zn"), 2), QStringLiteral("Игнорировать"));
    EXPECT_EQ(text(elements, rowOf(elements, "Mo"), 2), QStringLiteral("Цель"));
    in<QComboBox>(dialog, "StageBox")->setCurrentIndex(1);
    EXPECT_EQ(text(elements, rowOf(elements, "Zn"), 2), QStringLiteral("Цель"));
    EXPECT_EQ(text(elements, rowOf(elements, "Mo"), 2), QStringLiteral("Игнорировать"));
    in<QComboBox>(dialog, "WaterBox")->setCurrentIndex(1);
    setMode(elements, QStringLiteral("K"), QStringLiteral("Не больше"));
    setMode(elements, QStringLiteral("Mo"), QStringLiteral("Игнорировать"));
    QTest::mouseClick(in<QPushButton>(dialog, "SolveButton"), Qt::LeftButton);
    ASSERT_TRUE(dialog->result());
    EXPECT_LE(numberIn(text(elements, rowOf(elements, "K"), 4)), 200) << "K at most its flowering target";
    EXPECT_EQ(text(elements, rowOf(elements, "Mo"), 2), QStringLiteral("Игнорировать"));
    EXPECT_FALSE(in<QLabel>(dialog, "StatusLabel")->text().contains(QStringLiteral("Mo")))
        << "an ignored element is not reported";
    QTest::mouseClick(in<QPushButton>(dialog, "CloseSolveButton"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(Form4->findChild<SolverDialog *>(), nullptr);
    EXPECT_EQ(storedAmounts(), before);
    EXPECT_EQ(runResults(), runBefore);

    dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(in<QComboBox>(dialog, "StageBox")->currentText(), QStringLiteral("Цвет"));
    EXPECT_EQ(in<QComboBox>(dialog, "WaterBox")->currentText(), QStringLiteral("Колодец"));
    elements = in<QTableWidget>(dialog, "ElementGrid");
    EXPECT_EQ(text(elements, rowOf(elements, "K"), 1), QStringLiteral("200"));
    EXPECT_EQ(text(elements, rowOf(elements, "K"), 2), QStringLiteral("Не больше"));
    EXPECT_EQ(text(elements, rowOf(elements, "Mo"), 2), QStringLiteral("Игнорировать"));
    EXPECT_EQ(text(elements, rowOf(elements, "N"), 2), QStringLiteral("Цель"));
    dialog->close();
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(SolverTest, ContradictingBoundsAreNamedAndApplyStaysOff)
{
    typeReadmeRecipe();
    SolverDialog *dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    const QStringList before = storedAmounts();
    EXPECT_EQ(before.last(), QString::fromLatin1(amounts().last().grams))
        << "opening posts the amount typed last";
    auto *fertilizers = in<QTableWidget>(dialog, "FertilizerGrid");
    // Potassium nitrate kept at its 0.56 g/L yet no more than 0.1.
    const int row = 1;
    fertilizers->setCurrentCell(row, 2);
    QTest::keyClick(fertilizers, Qt::Key_Space);
    EXPECT_EQ(fertilizers->item(row, 2)->checkState(), Qt::Checked);
    typeInCell(fertilizers, row, 3, QStringLiteral("0") + systemDecimalSeparator() + u'1');
    EXPECT_EQ(text(fertilizers, row, 3), QStringLiteral("0") + systemDecimalSeparator() + u'1');

    QTest::mouseClick(in<QPushButton>(dialog, "SolveButton"), Qt::LeftButton);
    ASSERT_TRUE(dialog->result());
    EXPECT_EQ(dialog->result()->status, SolverResult::Status::Contradiction);
    EXPECT_TRUE(in<QLabel>(dialog, "StatusLabel")->text().startsWith(
        QStringLiteral("Ограничения противоречат друг другу: Калиевая селитра «Закрепить», "
                       "Калиевая селитра «Не больше г/л.». Ничего не подобрано.")))
        << in<QLabel>(dialog, "StatusLabel")->text().toStdString();
    EXPECT_FALSE(in<QPushButton>(dialog, "ApplySolveButton")->isEnabled());

    // Without the bound it solves; a changed condition takes the answer back.
    typeInCell(fertilizers, row, 3, QString());
    QTest::mouseClick(in<QPushButton>(dialog, "SolveButton"), Qt::LeftButton);
    ASSERT_EQ(dialog->result()->status, SolverResult::Status::Solved);
    EXPECT_EQ(numberIn(text(fertilizers, row, 1)), 0.56) << "the kept amount";
    EXPECT_TRUE(in<QPushButton>(dialog, "ApplySolveButton")->isEnabled());
    fertilizers->setCurrentCell(row, 2);
    QTest::keyClick(fertilizers, Qt::Key_Space);
    EXPECT_FALSE(dialog->result());
    EXPECT_FALSE(in<QPushButton>(dialog, "ApplySolveButton")->isEnabled());
    for (int r = 0; r < before.size(); ++r)
        EXPECT_EQ(numberIn(text(fertilizers, r, 1)), before.at(r).toDouble()) << "no answer, the amounts kept";
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_EQ(storedAmounts(), before);
    EXPECT_EQ(boxes.count(), 0);
}

// "Диаграмма" follows the grid: its bar sets are the grid's columns "Расчёт от %", "В…%" and
// "Ц…%" with their values and colours, named in words ("Расчёт при 50 %"), after a run, a
// change of the percentage, another crop, a saved solution shown.
TEST_F(SolverTest, TheChartWindowFollowsTheConcentrationGrid)
{
    typeReadmeRecipe();
    press("ButtonChart");
    auto *window = Form4->findChild<ChartWindow *>(QStringLiteral("ChartWindow"));
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Диаграмма"));
    ElementChart *chart = window->chart();
    EXPECT_FALSE(chart->accessibleName().isEmpty());

    const auto matchesGrid = [&](const char *when) {
        DataGrid *g = grid("dxDBGrid3");
        const char *columns[] = {"dxDBGrid3Column10", "dxDBGrid3vaga_calc", "dxDBGrid3cvet_calc"};
        const QList<QList<double>> shown = bars(chart);
        ASSERT_EQ(shown.size(), 3) << when;
        ASSERT_EQ(chart->elements(), columnTexts(g, "dxDBGrid3name_el")) << when;
        for (int s = 0; s < 3; ++s) {
            const DataGridColumn *column = g->column(QString::fromLatin1(columns[s]));
            EXPECT_EQ(chart->series().at(s).colour,
                      column->colour().isValid() ? column->colour() : g->colour()) << when;
            for (int r = 0; r < g->model()->rowCount(); ++r)
                expectBar(chart, shown.at(s).at(r), numberIn(cell(g, r, columns[s])),
                          std::string(when) + ' ' + columns[s] + " row " + std::to_string(r));
        }
    };
    matchesGrid("shown");
    EXPECT_EQ(chart->chart()->title(), QStringLiteral("Томат"));
    press("Button4");
    matchesGrid("after a run");
    EXPECT_GT(chart->series().at(0).values.at(0), 0);

    EXPECT_EQ(chart->series().at(0).name, QStringLiteral("Расчёт при 100 %"));
    find<QLineEdit>(QStringLiteral("Edit2"))->setText(QStringLiteral("50"));
    EXPECT_EQ(chart->series().at(0).name, QStringLiteral("Расчёт при 50 %"));
    EXPECT_EQ(chart->series().at(1).name, QStringLiteral("Вега при 50 %"));
    EXPECT_EQ(chart->series().at(2).name, QStringLiteral("Цвет при 50 %"));
    matchesGrid("at 50 %");

    selectCrop(QStringLiteral("Огурец"));
    EXPECT_EQ(chart->chart()->title(), QStringLiteral("Огурец"));
    matchesGrid("another crop");

    // A saved solution of the crop, 2 g/L of calcium nitrate, clicked in the list.
    Dataset &head = f4().T_HEAD_RAR;
    head.append();
    head.setValue(QStringLiteral("name_rar"), QStringLiteral("Только кальций"));
    head.post();
    Dataset &rows = f4().T_save_rar;
    rows.append();
    rows.setValue(QStringLiteral("id_udobra"), 1);
    rows.setValue(QStringLiteral("kol"), 2.0);
    rows.post();
    clickCell(grid("dxDBGrid5"), 0, "dxDBGrid5Column1");
    matchesGrid("a saved solution");
    const int ca = int(chart->elements().indexOf(QStringLiteral("Ca")));
    EXPECT_NEAR(chart->series().at(0).values.at(ca), 26.5 * 10 * 2 * 0.7147 * 0.5, 1e-9);
    Form4->close();
    EXPECT_FALSE(window->isVisible()) << "the chart goes with the calculator";
    EXPECT_EQ(boxes.count(), 0);
}

// A target no solution could hold (stored through the grid's dataset, as a typed 1e308 would be)
// keeps off the logarithmic axis: both charts open and name it, and "Подобрать" refuses it by
// name instead of solving with it.
TEST_F(SolverTest, AnAbsurdTargetIsNamedAndTheChartsStillOpen)
{
    typeReadmeRecipe();
    Dataset &targets = f4().ADOTable2;
    targets.first();
    while (!targets.eof() && targets.asString(QStringLiteral("name_el")) != QStringLiteral("N"))
        targets.next();
    ASSERT_FALSE(targets.eof());
    targets.edit();
    targets.setValue(QStringLiteral("vega"), 1e308);
    targets.post();

    press("ButtonChart");
    auto *window = Form4->findChild<ChartWindow *>(QStringLiteral("ChartWindow"));
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const auto drawnWithin = [](ElementChart *chart, const char *where) {
        SCOPED_TRACE(where);
        const QList<QAbstractAxis *> axes = chart->chart()->axes(Qt::Vertical);
        ASSERT_EQ(axes.size(), 1);
        const auto *axis = static_cast<const QLogValueAxis *>(axes.first());
        EXPECT_TRUE(std::isfinite(axis->max()));
        EXPECT_LE(axis->max(), 1e10);
        EXPECT_TRUE(chart->chart()->title().contains(QStringLiteral("Не показано"))) << chart->chart()->title().toStdString();
        for (const QList<double> &set : bars(chart)) {
            for (double v : set)
                EXPECT_LE(v, axis->max());
        }
    };
    drawnWithin(window->chart(), "Диаграмма");
    EXPECT_TRUE(window->chart()->undrawn().contains(
        QStringLiteral("N, %1: 1E308").arg(window->chart()->series().at(1).name)))
        << window->chart()->undrawn().join(u';').toStdString();
    window->close();

    SolverDialog *dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    auto *chart = in<ElementChart>(dialog, "SolverChart");
    drawnWithin(chart, "Подбор состава");
    EXPECT_EQ(chart->undrawn(), QStringList{QStringLiteral("N, Цель: 1E308")});

    boxes.expect(BoxButton::Ok);
    QTest::mouseClick(in<QPushButton>(dialog, "SolveButton"), Qt::LeftButton);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("Элемент «N»: значение 1E308 мг/л не годится для подбора."));
    EXPECT_FALSE(in<QPushButton>(dialog, "ApplySolveButton")->isEnabled());
    dialog->reject();
}

// However the grower comes into an analysis's rows, the analysis is stored first; a row needs its
// element; and the program's end stores what the window still holds, as its close would.
TEST_F(SolverTest, WaterRowsBelongToAStoredAnalysisAndOutliveTheProgramsEnd)
{
    typeReadmeRecipe();
    SolverDialog *dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(in<QPushButton>(dialog, "WaterButton"), Qt::LeftButton);
    auto *window = dialog->findChild<WaterWindow *>(QStringLiteral("WaterWindow"));
    ASSERT_NE(window, nullptr);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto *analyses = in<DataGrid>(window, "WaterGrid");
    auto *rows = in<DataGrid>(window, "WaterElementGrid");
    const auto newAnalysis = [&](const QString &name) {
        QTest::mouseClick(in<NavBar>(window, "WaterNavigator")->button(NavButton::Insert), Qt::LeftButton);
        const QModelIndex cell = analyses->model()->index(analyses->currentIndex().row(), 0);
        analyses->setFocus();
        analyses->edit(cell);
        ASSERT_NE(analyses->indexWidget(cell), nullptr);
        enter(analyses->indexWidget(cell), name);
    };
    newAnalysis(QStringLiteral("Скважина"));
    Dataset &water = data().own.T_voda;
    EXPECT_EQ(water.state(), DatasetState::Insert) << "named, not stored yet";

    // Tab's way in: the focus reaches the rows, and the analysis is stored.
    rows->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(water.state(), DatasetState::Browse);
    const QVariant well = water.value(QStringLiteral("id_voda"));
    ASSERT_FALSE(well.isNull());
    QTest::keyClick(rows, Qt::Key_Insert);
    Dataset &elements = data().own.T_sostav_vody;
    ASSERT_EQ(elements.state(), DatasetState::Insert);
    EXPECT_EQ(elements.value(QStringLiteral("id_voda")), well);
    const int row = rows->currentIndex().row();
    const QModelIndex elementCell = rows->model()->index(row, 0);
    rows->edit(elementCell);
    auto *picker = qobject_cast<QComboBox *>(rows->indexWidget(elementCell));
    ASSERT_NE(picker, nullptr);
    picker->setCurrentIndex(picker->findText(QStringLiteral("Ca")));
    QTest::keyClick(picker, Qt::Key_Return);
    QApplication::processEvents();
    // Typed straight into the empty cell: 40, not 400.
    rows->setFocus();
    rows->setCurrentIndex(rows->model()->index(row, 1));
    for (const char ch : {'4', '0'}) // to the focus: the first key opens the editor
        QTest::keyClick(QApplication::focusWidget(), ch);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();

    // A row without its element is refused by name, and the window stays open.
    QTest::keyClick(rows, Qt::Key_Insert);
    rows->setCurrentIndex(rows->model()->index(rows->currentIndex().row(), 1));
    QTest::keyClick(rows, '5');
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();
    boxes.expect(BoxButton::Ok);
    EXPECT_FALSE(window->FormClose());
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("T_sostav_vody: Выберите элемент в строке состава воды."));
    elements.cancel();

    // A second analysis typed and left open when the program ends.
    newAnalysis(QStringLiteral("Дождь"));
    EXPECT_EQ(water.state(), DatasetState::Insert);
    Form1->close();
    EXPECT_FALSE(Form1->data().ADOConnection1.isConnected());
    EXPECT_EQ(stored("SELECT group_concat(name_voda, ', ') FROM (SELECT name_voda FROM t_voda ORDER BY id_voda)")
                  .toString(),
              QStringLiteral("Скважина, Дождь"));
    EXPECT_EQ(stored("SELECT count(*) FROM t_sostav_vody").toInt(), 1);
    EXPECT_EQ(stored("SELECT mg_l FROM t_sostav_vody WHERE id_voda IS NOT NULL AND id_element IS NOT NULL")
                  .toDouble(),
              40);
    EXPECT_EQ(boxes.count(), 1);
}

} // namespace
