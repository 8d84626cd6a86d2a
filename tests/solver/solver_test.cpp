#include "calculator/calculatorfixture.h"

#include "calc/run/numbers.h"
#include "chart/chartwindow.h"
#include "data/textconv.h"
#include "solver/solverdialog.h"
#include "solver/solverelementmodel.h"
#include "solver/waterwindow.h"
#include "support/accessibilitywalk.h"
#include "ui/chart/elementchart.h"
#include "ui/grid/navbar.h"

#include <QBarSeries>
#include <QBarSet>
#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLogValueAxis>
#include <QPointer>
#include <QSignalSpy>
#include <QTableView>
#include <QToolButton>

#include <functional>
#include <optional>

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

    static QString text(QTableView *g, int row, int column)
    {
        return g->model()->index(row, column).data().toString();
    }

    // The figure behind a cell's text.
    static double value(QTableView *g, int row, int column)
    {
        return g->model()->index(row, column).data(Qt::EditRole).toDouble();
    }

    static Qt::CheckState checkState(QTableView *g, int row, int column)
    {
        return Qt::CheckState(g->model()->index(row, column).data(Qt::CheckStateRole).toInt());
    }

    static int rowOf(QTableView *g, const QString &name)
    {
        for (int r = 0; r < g->model()->rowCount(); ++r) {
            if (text(g, r, 0) == name)
                return r;
        }
        ADD_FAILURE() << "no row " << name.toStdString();
        return -1;
    }

    static QString headerCaption(QTableView *g, int column)
    {
        return g->model()->headerData(column, Qt::Horizontal).toString();
    }

    static QStringList captions(QTableView *g)
    {
        QStringList out;
        for (int c = 0; c < g->model()->columnCount(); ++c)
            out.append(headerCaption(g, c));
        return out;
    }

    // Picks the mode in the element's drop-down and leaves it with Enter.
    static void setMode(QTableView *g, const QString &element, const QString &mode)
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
    static void typeInCell(QTableView *g, int row, int column, const QString &typed)
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

    auto *elements = in<QTableView>(dialog, "ElementGrid");
    EXPECT_EQ(captions(elements), QStringList({"Элемент", "Цель, мг/л", "Режим", "Вес", "Вода, мг/л",
                                               "Результат, мг/л", "Отклонение, %"}));
    EXPECT_EQ(elements->model()->rowCount(), 15) << "Томат's target rows";
    EXPECT_EQ(text(elements, rowOf(elements, "N"), SolverElementModel::Target), QStringLiteral("70")) << "vega at 100 %";
    for (int r = 0; r < elements->model()->rowCount(); ++r) {
        // N to Mo have a target above 0, sulphur's at least; Na, Cl and Si have none.
        const QString name = text(elements, r, SolverElementModel::Name);
        const QString mode = r >= 12 ? QStringLiteral("Игнорировать")
                             : name == QLatin1String("S") ? QStringLiteral("Не меньше")
                                                           : QStringLiteral("Цель");
        EXPECT_EQ(text(elements, r, SolverElementModel::Mode), mode) << name.toStdString();
        // The cations weigh 3, phosphorus 2, the rest 1.
        const QString weight = QStringList({"K", "Ca", "Mg"}).contains(name) ? QStringLiteral("3")
                               : name == QLatin1String("P")                 ? QStringLiteral("2")
                                                                            : QStringLiteral("1");
        EXPECT_EQ(text(elements, r, SolverElementModel::Weight), weight) << name.toStdString();
    }

    auto *fertilizers = in<QTableView>(dialog, "FertilizerGrid");
    EXPECT_EQ(captions(fertilizers), QStringList({"Удобрение", "Кол-во г/л.", "Закрепить",
                                                  "Не больше г/л."}));
    ASSERT_EQ(fertilizers->model()->rowCount(), amounts().size());
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
    for (QTableView *g : {elements, fertilizers}) {
        const QFontMetrics fm(g->horizontalHeader()->font());
        for (int c = 0; c < g->model()->columnCount(); ++c) {
            for (const QString &word : headerCaption(g, c).split(u' '))
                EXPECT_LE(fm.horizontalAdvance(word) + 8, g->columnWidth(c)) << word.toStdString();
        }
    }

    // Stage Цвет shows the flowering targets.
    stage->setCurrentIndex(1);
    EXPECT_EQ(text(elements, rowOf(elements, "N"), SolverElementModel::Target), QStringLiteral("150"));
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
    auto *elements = in<QTableView>(dialog, "ElementGrid");
    EXPECT_EQ(text(elements, rowOf(elements, "Ca"), SolverElementModel::Water), QStringLiteral("40"));
    EXPECT_EQ(text(elements, rowOf(elements, "N"), SolverElementModel::Water), QStringLiteral("0"));

    QTest::mouseClick(in<QPushButton>(dialog, "SolveButton"), Qt::LeftButton);
    ASSERT_TRUE(dialog->result());
    // The old tomato's targets hold more cations than anions: said, and fitted all the same.
    const QString status = in<QLabel>(dialog, "StatusLabel")->text();
    EXPECT_TRUE(status.startsWith(QStringLiteral("Подобрано по остальным элементам. Ни одно удобрение состава не "
                                                 "содержит: Mn, Zn, Cu, B, Mo. Цели не сбалансированы: катионов "
                                                 "больше, чем анионов, на ")))
        << status.toStdString();
    EXPECT_TRUE(in<QPushButton>(dialog, "ApplySolveButton")->isEnabled());

    // The chart shows the grid's numbers, the uncarried elements in the warning colour.
    auto *chart = in<ElementChart>(dialog, "SolverChart");
    ASSERT_EQ(chart->series().size(), 2);
    const QList<QList<double>> shown = bars(chart);
    ASSERT_EQ(shown.size(), 2);
    QHash<QString, double> result;
    QHash<QString, double> waterIn;
    for (int r = 0; r < elements->model()->rowCount(); ++r) {
        const QString name = text(elements, r, SolverElementModel::Name);
        EXPECT_EQ(chart->elements().at(r), name);
        expectBar(chart, shown.at(0).at(r), numberIn(text(elements, r, SolverElementModel::Target)), name.toStdString());
        result[name] = value(elements, r, SolverElementModel::Result);
        EXPECT_EQ(numberIn(text(elements, r, SolverElementModel::Result)), RoundDecimals(result[name], 2)) << name.toStdString();
        waterIn[name] = numberIn(text(elements, r, SolverElementModel::Water));
        expectBar(chart, shown.at(1).at(r), result[name], name.toStdString());
        // Beyond 10 % in the warning colour: the five no fertilizer carries, and nitrogen, which
        // gives way to calcium's weight (calcium nitrate brings both).
        const QString deviation = text(elements, r, SolverElementModel::Deviation);
        const bool warned = !deviation.isEmpty() && std::abs(numberIn(deviation)) > 10;
        EXPECT_EQ(warned, QStringList({"N", "Mn", "Zn", "Cu", "B", "Mo"}).contains(name)) << name.toStdString();
        EXPECT_EQ(chart->series().at(1).warnings.at(r), warned) << name.toStdString();
    }
    auto *fertilizers = in<QTableView>(dialog, "FertilizerGrid");
    QStringList amounts;
    for (int r = 0; r < fertilizers->model()->rowCount(); ++r)
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
    auto *elements = in<QTableView>(dialog, "ElementGrid");
    EXPECT_EQ(text(elements, rowOf(elements, "Zn"), SolverElementModel::Mode), QStringLiteral("Игнорировать"));
    EXPECT_EQ(text(elements, rowOf(elements, "Mo"), SolverElementModel::Mode), QStringLiteral("Цель"));
    in<QComboBox>(dialog, "StageBox")->setCurrentIndex(1);
    EXPECT_EQ(text(elements, rowOf(elements, "Zn"), SolverElementModel::Mode), QStringLiteral("Цель"));
    EXPECT_EQ(text(elements, rowOf(elements, "Mo"), SolverElementModel::Mode), QStringLiteral("Игнорировать"));
    in<QComboBox>(dialog, "WaterBox")->setCurrentIndex(1);
    setMode(elements, QStringLiteral("K"), QStringLiteral("Не больше"));
    setMode(elements, QStringLiteral("Mo"), QStringLiteral("Игнорировать"));
    QTest::mouseClick(in<QPushButton>(dialog, "SolveButton"), Qt::LeftButton);
    ASSERT_TRUE(dialog->result());
    EXPECT_LE(numberIn(text(elements, rowOf(elements, "K"), SolverElementModel::Result)), 200) << "K at most its flowering target";
    EXPECT_EQ(text(elements, rowOf(elements, "Mo"), SolverElementModel::Mode), QStringLiteral("Игнорировать"));
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
    elements = in<QTableView>(dialog, "ElementGrid");
    EXPECT_EQ(text(elements, rowOf(elements, "K"), SolverElementModel::Target), QStringLiteral("200"));
    EXPECT_EQ(text(elements, rowOf(elements, "K"), SolverElementModel::Mode), QStringLiteral("Не больше"));
    EXPECT_EQ(text(elements, rowOf(elements, "Mo"), SolverElementModel::Mode), QStringLiteral("Игнорировать"));
    EXPECT_EQ(text(elements, rowOf(elements, "N"), SolverElementModel::Mode), QStringLiteral("Цель"));
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
    auto *fertilizers = in<QTableView>(dialog, "FertilizerGrid");
    // Potassium nitrate kept at its 0.56 g/L yet no more than 0.1.
    const int row = 1;
    fertilizers->setCurrentIndex(fertilizers->model()->index(row, 2));
    QTest::keyClick(fertilizers, Qt::Key_Space);
    EXPECT_EQ(checkState(fertilizers, row, 2), Qt::Checked);
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
    fertilizers->setCurrentIndex(fertilizers->model()->index(row, 2));
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

// ---------------------------------------------------------------- the keyboard and a screen reader

// Tab goes through the dialog in the order it is laid out, from "Стадия" at the top left; the
// chart, a picture with nothing to do, is no stop; the grids are left by Tab.
TEST_F(SolverTest, TabFollowsTheOrderOnTheScreenFromTheStage)
{
    typeReadmeRecipe();
    SolverDialog *dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    EXPECT_EQ(QApplication::focusWidget(), in(dialog, "StageBox"));
    EXPECT_EQ(in(dialog, "SolverChart")->focusPolicy(), Qt::NoFocus);

    const auto stops = [](Qt::KeyboardModifiers modifiers) {
        QStringList out;
        for (int i = 0; i < 9; ++i) {
            out.append(QApplication::focusWidget()->objectName());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
        }
        return out;
    };
    // "Применить" is off until there is an answer.
    EXPECT_EQ(stops(Qt::NoModifier),
              QStringList({"StageBox", "WaterBox", "WaterButton", "Nh4Edit", "EcEdit", "ByEcBox",
                           "ElementGrid", "FertilizerGrid", "SolveButton"}));
    QTest::mouseClick(in<QPushButton>(dialog, "SolveButton"), Qt::LeftButton);
    in(dialog, "CloseSolveButton")->setFocus();
    EXPECT_EQ(stops(Qt::ShiftModifier),
              QStringList({"CloseSolveButton", "ApplySolveButton", "SolveButton", "FertilizerGrid",
                           "ElementGrid", "ByEcBox", "EcEdit", "Nh4Edit", "WaterButton"}));
    dialog->close();
    EXPECT_EQ(boxes.count(), 0);
}

// The arrows move between rows of "Режим" and change no mode; the editor opens on F2, Enter, a
// click or typing.
TEST_F(SolverTest, ArrowsInTheModeColumnMoveRowsAndChangeNoMode)
{
    typeReadmeRecipe();
    SolverDialog *dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    auto *elements = in<QTableView>(dialog, "ElementGrid");
    const auto modes = [&] {
        QStringList out;
        for (int r = 0; r < elements->model()->rowCount(); ++r)
            out.append(text(elements, r, SolverElementModel::Mode));
        return out;
    };
    const QStringList before = modes();
    elements->setFocus();
    elements->setCurrentIndex(elements->model()->index(0, 2));
    for (int r = 1; r <= 13; ++r) {
        QTest::keyClick(elements, Qt::Key_Down);
        EXPECT_EQ(elements->currentIndex(), elements->model()->index(r, 2));
        EXPECT_EQ(elements->indexWidget(elements->currentIndex()), nullptr) << "no editor on arrival, row " << r;
    }
    QTest::keyClick(elements, Qt::Key_Up);
    EXPECT_EQ(elements->currentIndex().row(), 12);
    EXPECT_EQ(modes(), before);
    EXPECT_FALSE(in<QLabel>(dialog, "StatusLabel")->isVisible()) << "nothing solved, nothing changed";

    // Each way in opens the drop-down on the current cell; Escape leaves it as it was.
    const auto editorOn = [&](const QModelIndex &i) { return qobject_cast<QComboBox *>(elements->indexWidget(i)); };
    const std::function<QModelIndex()> opens[] = {
        [&] { QTest::keyClick(elements, Qt::Key_F2); return elements->currentIndex(); },
        [&] { QTest::keyClick(elements, Qt::Key_Return); return elements->currentIndex(); },
        [&] {
            const QModelIndex i = elements->model()->index(3, 2);
            QTest::mouseClick(elements->viewport(), Qt::LeftButton, {}, elements->visualRect(i).center());
            return i;
        },
    };
    for (const auto &open : opens) {
        const QModelIndex i = open();
        QComboBox *box = editorOn(i);
        ASSERT_NE(box, nullptr) << "row " << i.row();
        EXPECT_EQ(box->currentText(), text(elements, i.row(), SolverElementModel::Mode));
        QTest::keyClick(box, Qt::Key_Escape);
        QApplication::processEvents();
        EXPECT_EQ(editorOn(i), nullptr);
    }
    EXPECT_EQ(modes(), before);

    // Typing opens it too and picks by the first letter; Enter keeps the choice.
    elements->setFocus();
    elements->setCurrentIndex(elements->model()->index(rowOf(elements, QStringLiteral("Mg")), 2));
    QTest::sendKeyEvent(QTest::Click, elements, Qt::Key(u'Н'), QStringLiteral("Н"), Qt::NoModifier);
    QComboBox *box = editorOn(elements->currentIndex());
    ASSERT_NE(box, nullptr);
    QTest::keyClick(box, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(text(elements, rowOf(elements, QStringLiteral("Mg")), 2), QStringLiteral("Не меньше"));
    dialog->close();
    EXPECT_EQ(boxes.count(), 0);
}

// Enter presses the button that has the focus; in a grid's plain cell it presses "Подобрать".
TEST_F(SolverTest, EnterPressesTheFocusedButton)
{
    typeReadmeRecipe();
    press("Button4");
    const QStringList typed = storedAmounts();
    const struct
    {
        const char *focused;
        bool solvedFirst;
        bool closes;
        bool solves;
        bool writes;
        bool opensWater;
    } cases[] = {
        {"CloseSolveButton", false, true, false, false, false},
        {"CloseSolveButton", true, true, false, false, false},
        {"WaterButton", false, false, false, false, true},
        {"SolveButton", false, false, true, false, false},
        {"ElementGrid", false, false, true, false, false}, // on the element's name
        {"ApplySolveButton", true, true, false, true, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.focused) + (c.solvedFirst ? " after solving" : ""));
        QPointer<SolverDialog> dialog = openDialog();
        ASSERT_NE(dialog, nullptr);
        QSignalSpy applied(dialog.data(), &SolverDialog::applied);
        if (c.solvedFirst) {
            QTest::mouseClick(in<QPushButton>(dialog, "SolveButton"), Qt::LeftButton);
            ASSERT_TRUE(dialog->result());
        }
        QWidget *focused = in(dialog, c.focused);
        focused->setFocus();
        if (auto *grid = qobject_cast<QTableView *>(focused))
            grid->setCurrentIndex(grid->model()->index(0, 0));
        const std::optional<SolverResult> before = dialog->result();
        QTest::keyClick(focused, Qt::Key_Return);
        EXPECT_EQ(dialog->isHidden(), c.closes);
        if (!c.solvedFirst) {
            EXPECT_EQ(dialog->result().has_value(), c.solves);
        }
        EXPECT_EQ(applied.count(), c.writes ? 1 : 0);
        auto *water = dialog->findChild<WaterWindow *>(QStringLiteral("WaterWindow"));
        EXPECT_EQ(water && water->isVisible(), c.opensWater);
        if (water)
            water->close();
        if (dialog)
            dialog->close();
        QApplication::processEvents();
        EXPECT_EQ(storedAmounts() != typed, c.writes);
    }
    EXPECT_EQ(boxes.count(), 0);
}

// What a screen reader meets: every control with a role and a Russian name, check cells that
// say they can be checked and what they keep, and the words behind the warning colour.
TEST_F(SolverTest, AScreenReaderFindsNamesStatesAndTheWordsBehindTheColour)
{
    typeReadmeRecipe();
    SolverDialog *dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(in<QPushButton>(dialog, "SolveButton"), Qt::LeftButton);
    ASSERT_TRUE(dialog->result());

    const QList<AccessibleControl> controls = accessibleControls(dialog);
    QStringList named;
    for (const AccessibleControl &c : controls) {
        EXPECT_NE(c.role, QAccessible::NoRole) << c.objectName.toStdString();
        if (c.container)
            continue;
        EXPECT_TRUE(isRussian(c.name)) << c.objectName.toStdString() << " reads \"" << c.name.toStdString() << '"';
        named.append(c.objectName);
    }
    for (const char *name : {"StageBox", "WaterBox", "WaterButton", "ElementGrid", "FertilizerGrid",
                             "SolverChart", "StatusLabel", "SaltTotalsLabel", "SolveButton",
                             "ApplySolveButton", "CloseSolveButton"})
        EXPECT_TRUE(named.contains(QString::fromLatin1(name))) << name;

    // "Закрепить": a name and a checkable state, checked or not.
    auto *fertilizers = in<QTableView>(dialog, "FertilizerGrid");
    QAccessibleTableInterface *table =
        QAccessible::queryAccessibleInterface(fertilizers)->tableInterface();
    ASSERT_NE(table, nullptr);
    for (Qt::CheckState state : {Qt::Unchecked, Qt::Checked}) {
        QAccessibleInterface *cell = table->cellAt(1, 2);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("Закрепить «%1»").arg(PotassiumNitrate));
        EXPECT_TRUE(cell->state().checkable) << state;
        EXPECT_EQ(bool(cell->state().checked), state == Qt::Checked);
        fertilizers->setCurrentIndex(fertilizers->model()->index(1, 2));
        QTest::keyClick(fertilizers, Qt::Key_Space);
    }

    // Beyond 10 % the colour comes with words; the header says what the colour means.
    QTest::mouseClick(in<QPushButton>(dialog, "SolveButton"), Qt::LeftButton);
    auto *elements = in<QTableView>(dialog, "ElementGrid");
    QAccessibleTableInterface *grid = QAccessible::queryAccessibleInterface(elements)->tableInterface();
    ASSERT_NE(grid, nullptr);
    for (int r = 0; r < elements->model()->rowCount(); ++r) {
        const QModelIndex deviation = elements->model()->index(r, SolverElementModel::Deviation);
        const bool coloured = deviation.data(Qt::BackgroundRole).isValid();
        const QString said = grid->cellAt(r, SolverElementModel::Deviation)->text(QAccessible::Description);
        EXPECT_EQ(coloured, !said.isEmpty()) << text(elements, r, SolverElementModel::Name).toStdString();
        EXPECT_EQ(deviation.data(Qt::ToolTipRole).toString(), said);
        if (text(elements, r, SolverElementModel::Name) == QStringLiteral("Mn")) {
            EXPECT_EQ(said, QStringLiteral("Ни одно удобрение состава не содержит этот элемент."));
        }
    }
    EXPECT_TRUE(elements->model()->headerData(SolverElementModel::Deviation, Qt::Horizontal, Qt::ToolTipRole).toString()
                    .contains(QStringLiteral("Красным")));
    // The short hints on the columns the grower sets.
    EXPECT_FALSE(elements->model()->headerData(SolverElementModel::Mode, Qt::Horizontal, Qt::ToolTipRole).toString().isEmpty());
    EXPECT_FALSE(elements->model()->headerData(SolverElementModel::Weight, Qt::Horizontal, Qt::ToolTipRole).toString().isEmpty());
    for (int column : {2, 3})
        EXPECT_FALSE(fertilizers->model()->headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString().isEmpty())
            << headerCaption(fertilizers, column).toStdString();
    dialog->close();
    EXPECT_EQ(boxes.count(), 0);
}

// "Не больше г/л." takes every digit an amount can hold; the models keep Qt's contract.
TEST_F(SolverTest, TheBoundTakesEveryDigitAndTheGridsKeepTheModelContract)
{
    typeReadmeRecipe();
    SolverDialog *dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    auto *fertilizers = in<QTableView>(dialog, "FertilizerGrid");
    auto *elements = in<QTableView>(dialog, "ElementGrid");
    QAbstractItemModelTester checkFertilizers(fertilizers->model(),
                                              QAbstractItemModelTester::FailureReportingMode::Warning);
    QAbstractItemModelTester checkElements(elements->model(),
                                           QAbstractItemModelTester::FailureReportingMode::Warning);
    const QChar point = systemDecimalSeparator();
    const struct
    {
        QString typed;
        QString shown; // with the system's mark
        double bound;
    } cases[] = {
        {QStringLiteral("12345,6789"), QStringLiteral("12345") + point + QStringLiteral("6789"), 12345.6789},
        {QStringLiteral("999999999.123456"), QStringLiteral("999999999") + point + QStringLiteral("123456"),
         999999999.123456},
        {QStringLiteral("0,000125"), QStringLiteral("0") + point + QStringLiteral("000125"), 0.000125},
    };
    for (const auto &c : cases) {
        typeInCell(fertilizers, 0, 3, c.typed);
        EXPECT_EQ(text(fertilizers, 0, 3), c.shown);
        EXPECT_EQ(fertilizers->model()->index(0, 3).data(Qt::EditRole).toDouble(), c.bound);
    }
    setMode(elements, QStringLiteral("N"), QStringLiteral("Не меньше"));
    QTest::mouseClick(in<QPushButton>(dialog, "SolveButton"), Qt::LeftButton);
    ASSERT_TRUE(dialog->result());
    in<QComboBox>(dialog, "StageBox")->setCurrentIndex(1);
    EXPECT_FALSE(dialog->result());
    dialog->close();
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

// On hard water the nitric acid of the composition is dosed, not fitted, and "Применить"
// writes it with the rest: the run counts its nitrogen once. The ammonium share typed holds, a
// share that is no number is refused and the edit shows the share again, and "По EC" meets the
// EC typed.
TEST_F(SolverTest, AcidAmmoniumAndEcTypedInTheDialogHoldInTheRunAfterApply)
{
    const QString acid = QStringLiteral("Азотная кислота 60%");
    typeReadmeRecipe();
    addFertilizer(acid);
    SolverDialog *dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    typeWaterAnalysis(dialog, QStringLiteral("Жёсткая"), "Ca", "80");
    Connection(QStringLiteral("base.mdb")).exec(QStringLiteral("UPDATE t_voda SET hco3 = 268, ph_voda = 7.6"));
    auto *water = in<QComboBox>(dialog, "WaterBox");
    water->setCurrentIndex(0);
    water->setCurrentIndex(1); // read again, with its bicarbonate

    auto *nh4 = in<QLineEdit>(dialog, "Nh4Edit");
    auto *ec = in<QLineEdit>(dialog, "EcEdit");
    EXPECT_EQ(nh4->text(), QStringLiteral("15")) << "a crop that stores no share";
    EXPECT_TRUE(ec->text().isEmpty()) << "nor an EC";
    enter(nh4, QStringLiteral("5"));
    QTest::mouseClick(in<QPushButton>(dialog, "SolveButton"), Qt::LeftButton);
    ASSERT_TRUE(dialog->result());
    const SolverResult first = *dialog->result();
    ASSERT_EQ(first.status, SolverResult::Status::Solved);
    ASSERT_TRUE(first.ammoniumShare);
    EXPECT_LE(*first.ammoniumShare, 5.01);
    EXPECT_TRUE(in<QLabel>(dialog, "ChemistryLabel")->text().contains(QStringLiteral("не больше 5")));
    auto *fertilizers = in<QTableView>(dialog, "FertilizerGrid");
    const int acidRow = fertilizers->model()->rowCount() - 1;
    ASSERT_EQ(text(fertilizers, acidRow, 0), acid);
    ASSERT_EQ(first.acid, acidRow);
    EXPECT_GT(numberIn(text(fertilizers, acidRow, 1)), 0.3) << "about 0.35 g/L for 3.4 meq/L";
    EXPECT_TRUE(in<QLabel>(dialog, "StatusLabel")->text().contains(acid));

    // A share that is no number: the standard error box, and the share as it was.
    boxes.expect(BoxButton::Ok);
    enter(nh4, QStringLiteral("пять"));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().icon, BoxIcon::Error);
    EXPECT_EQ(nh4->text(), QStringLiteral("5"));
    EXPECT_TRUE(dialog->result()) << "nothing changed, the answer stands";

    // "По EC" at 2 mS/cm.
    enter(ec, QStringLiteral("2"));
    in<QCheckBox>(dialog, "ByEcBox")->setChecked(true);
    QTest::mouseClick(in<QPushButton>(dialog, "SolveButton"), Qt::LeftButton);
    ASSERT_TRUE(dialog->result());
    const SolverResult byEc = *dialog->result();
    ASSERT_TRUE(byEc.ec);
    EXPECT_NEAR(*byEc.ec, 2, EcTolerance);
    EXPECT_LE(*byEc.ammoniumShare, 5.01);
    QHash<QString, double> result;
    auto *elements = in<QTableView>(dialog, "ElementGrid");
    for (int r = 0; r < elements->model()->rowCount(); ++r)
        result[text(elements, r, SolverElementModel::Name)] = value(elements, r, SolverElementModel::Result);
    const double acidGrams = byEc.amounts.at(acidRow);
    EXPECT_GT(acidGrams, 0);

    QTest::mouseClick(in<QPushButton>(dialog, "ApplySolveButton"), Qt::LeftButton);
    QApplication::processEvents();
    const QStringList file = storedAmounts();
    ASSERT_EQ(file.size(), acidRow + 1);
    EXPECT_EQ(file.at(acidRow).toDouble(), acidGrams) << "the acid written with the rest";
    // The run's N is the dialog's: the acid's nitrate once, the water bringing none.
    const QHash<QString, double> run = runResults();
    EXPECT_NEAR(run.value(QStringLiteral("N")), result.value(QStringLiteral("N")), 1e-9);
    EXPECT_NEAR(run.value(QStringLiteral("Ca")), result.value(QStringLiteral("Ca")) - 80, 1e-9);
    EXPECT_EQ(boxes.count(), 1);
}
