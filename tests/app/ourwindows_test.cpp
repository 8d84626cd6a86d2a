#include "calculator/calculatorfixture.h"

#include "app/qttranslations.h"
#include "chart/chartwindow.h"
#include "solver/waterwindow.h"
#include "stock/stockwindow.h"
#include "ui/chart/elementchart.h"
#include "ui/grid/navbar.h"

#include <QAccessible>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QLocale>
#include <QSignalSpy>
#include <QTableView>
#include <QToolButton>
#include <QTranslator>

#include <memory>

namespace {

QString focusName()
{
    QWidget *w = QApplication::focusWidget();
    return w ? w->objectName() : QStringLiteral("<none>");
}

class OurWindowsTest : public CalculatorTest
{
protected:
    void TearDown() override
    {
        water.reset();
        CalculatorTest::TearDown();
    }

    // "Анализ воды" with one analysis, so that both its grids take the keyboard.
    WaterWindow *openWater()
    {
        Dataset &analyses = data().own.T_voda;
        analyses.append();
        analyses.setValue(QStringLiteral("name_voda"), QStringLiteral("Скважина"));
        analyses.post();
        water = std::make_unique<WaterWindow>(data());
        water->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(water.get()));
        QApplication::setActiveWindow(water.get());
        return water.get();
    }

    StockWindow *openStock()
    {
        typeReadmeRecipe();
        press("ButtonStock");
        EXPECT_TRUE(QTest::qWaitForWindowExposed(StockForm));
        QApplication::setActiveWindow(StockForm);
        for (int i = 0; i < 4; ++i)
            QCoreApplication::processEvents();
        return StockForm;
    }

    ChartWindow *openChart()
    {
        typeReadmeRecipe();
        press("Button4");
        press("ButtonChart");
        EXPECT_TRUE(QTest::qWaitForWindowExposed(ChartForm));
        QApplication::setActiveWindow(ChartForm);
        return ChartForm;
    }

    std::unique_ptr<WaterWindow> water;
};

// From each grid and list of ours every Tab key goes to the control beside it in the window's
// order (the solver's grids are the solver dialog's tests'), never to another cell.
TEST_F(OurWindowsTest, EveryTabKeyLeavesEachGridOfOurs)
{
    const struct
    {
        bool stock;
        const char *grid;
        const char *next;
        const char *previous;
    } cases[] = {
        {false, "WaterGrid", "WaterNavigatorInsert", "WaterCloseButton"},
        {false, "WaterElementGrid", "WaterElementNavigatorInsert", "WaterNavigatorDelete"},
        {true, "TankAGrid", "TankBGrid", "ButtonPrint"},
        {true, "TankBGrid", "WarningList", "TankAGrid"},
        {true, "WarningList", "PropertiesGrid", "TankBGrid"},
        {true, "PropertiesGrid", "SourceBox", "WarningList"},
    };
    QWidget *windows[] = {openWater(), openStock()};
    const struct
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool forward;
    } keys[] = {{Qt::Key_Tab, Qt::NoModifier, true},
                {Qt::Key_Backtab, Qt::ShiftModifier, false},
                {Qt::Key_Tab, Qt::ControlModifier, true},
                {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, false}};
    for (const auto &c : cases) {
        QWidget *window = windows[c.stock ? 1 : 0];
        QApplication::setActiveWindow(window);
        auto *grid = window->findChild<QAbstractItemView *>(QString::fromLatin1(c.grid));
        ASSERT_NE(grid, nullptr) << c.grid;
        for (const auto &k : keys) {
            grid->setFocus();
            if (grid->model()->rowCount() > 0)
                grid->setCurrentIndex(grid->model()->index(grid->model()->rowCount() - 1, 0));
            ASSERT_EQ(QApplication::focusWidget(), grid) << c.grid;
            QTest::keyClick(grid, k.key, k.modifiers);
            EXPECT_EQ(focusName(), QString::fromLatin1(k.forward ? c.next : c.previous))
                << c.grid << " key " << k.key << " modifiers " << k.modifiers.toInt();
        }
    }
    EXPECT_EQ(boxes.count(), 0);
}

// Escape closes each window as its close box does: what is pending is posted first. Inside a
// grid whose row is being edited, Escape first takes the row's change back, as the grids do.
TEST_F(OurWindowsTest, EscapeClosesEachWindowOfOursAndPostsWhatIsPending)
{
    // "Анализ воды": a new analysis typed and not yet stored.
    WaterWindow *w = openWater();
    QSignalSpy closed(w, &WaterWindow::closed);
    QTest::mouseClick(w->findChild<NavBar *>(QStringLiteral("WaterNavigator"))->button(NavButton::Insert),
                      Qt::LeftButton);
    auto *analyses = w->findChild<DataGrid *>(QStringLiteral("WaterGrid"));
    const QModelIndex name = analyses->model()->index(analyses->currentIndex().row(), 0);
    analyses->setFocus();
    analyses->edit(name);
    typeText(QApplication::focusWidget(), QStringLiteral("Дождевая"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(data().own.T_voda.state(), DatasetState::Insert);
    QTest::keyClick(analyses, Qt::Key_Escape);
    EXPECT_TRUE(w->isVisible()) << "the grid took the first Escape";
    EXPECT_EQ(data().own.T_voda.state(), DatasetState::Browse);
    EXPECT_EQ(data().own.T_voda.recordCount(), 1) << "the new row taken back";

    QTest::mouseClick(w->findChild<NavBar *>(QStringLiteral("WaterNavigator"))->button(NavButton::Insert),
                      Qt::LeftButton);
    analyses->edit(analyses->model()->index(analyses->currentIndex().row(), 0));
    typeText(QApplication::focusWidget(), QStringLiteral("Дождевая"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(focusName(), QStringLiteral("WaterNavigatorInsert"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(stored("SELECT COUNT(*) FROM t_voda WHERE name_voda = 'Дождевая'").toInt(), 1);

    // "Маточные растворы": a price typed in the properties grid, its row not yet left.
    StockWindow *stock = openStock();
    auto *properties = stock->findChild<DataGrid *>(QStringLiteral("PropertiesGrid"));
    const int price = properties->sectionOf(properties->column(QStringLiteral("PropertiesGridCena")));
    properties->setFocus();
    properties->setCurrentIndex(properties->model()->index(0, price));
    QTest::keyClick(properties, Qt::Key_F2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    typeText(QApplication::focusWidget(), QStringLiteral("85.5"));
    stock->findChild<QListWidget *>(QStringLiteral("WarningList"))->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(stock->isVisible());
    EXPECT_EQ(stored("SELECT COUNT(*) FROM t_svoistva_udobra WHERE cena = 85.5").toInt(), 1);

    // "Диаграмма", from its chart.
    ChartWindow *chart = openChart();
    chart->chart()->setFocus();
    QTest::keyClick(chart->chart(), Qt::Key_Escape);
    EXPECT_FALSE(chart->isVisible());
    EXPECT_TRUE(Form4->isVisible()) << "only the window with the focus";
    EXPECT_EQ(boxes.count(), 0);
}

} // namespace
