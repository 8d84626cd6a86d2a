#include "calculator/calculatorfixture.h"

#include "app/qttranslations.h"
#include "chart/chartwindow.h"
#include "solver/waterwindow.h"
#include "calc/stock/stocksheet.h"
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

bool russian(const QString &text)
{
    for (const QChar c : text) {
        if (c.script() == QChar::Script_Cyrillic)
            return true;
    }
    return false;
}

// What a screen reader meets in a window: every visible control (a widget that takes the
// focus) and every element of a chart, as the accessibility tree gives them.
QList<QAccessibleInterface *> controls(QAccessibleInterface *node)
{
    QList<QAccessibleInterface *> out;
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (!child)
            continue;
        auto *widget = qobject_cast<QWidget *>(child->object());
        if (widget && !widget->isVisible())
            continue;
        if ((widget && widget->focusPolicy() != Qt::NoFocus)
            || (!child->object() && node->role() == QAccessible::Chart))
            out.append(child);
        // A table's cells are its model's, spoken from their texts; a chart's are above.
        if (child->role() != QAccessible::Table && child->role() != QAccessible::List)
            out += controls(child);
    }
    return out;
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

// Every control of our windows and of the calculator's row of additions has a role of its own
// and a Russian name no other control of its window shares: the two navigation bars of "Анализ
// воды" say what they insert and delete, each bar of the chart says its values.
TEST_F(OurWindowsTest, EveryControlOfOurWindowsHasARoleAndARussianName)
{
    QWidget *windows[] = {openWater(), openStock(), openChart(),
                          Form4->findChild<QWidget *>(QStringLiteral("ActionRow"))};
    for (QWidget *window : windows) {
        ASSERT_NE(window, nullptr);
        const std::string where = window->objectName().toStdString();
        QAccessibleInterface *root = QAccessible::queryAccessibleInterface(window);
        ASSERT_NE(root, nullptr) << where;
        QStringList names;
        for (QAccessibleInterface *control : controls(root)) {
            const QString name = control->text(QAccessible::Name);
            const std::string what = control->object() ? control->object()->objectName().toStdString()
                                                       : name.toStdString();
            EXPECT_NE(control->role(), QAccessible::NoRole) << where << ": " << what;
            EXPECT_NE(control->role(), QAccessible::Client) << where << ": " << what;
            EXPECT_TRUE(russian(name)) << where << ": " << what << " is named \"" << name.toStdString() << '"';
            EXPECT_FALSE(names.contains(name)) << where << ": \"" << name.toStdString() << "\" twice";
            names.append(name);
        }
        EXPECT_GE(names.size(), 3) << where;
    }
    const struct
    {
        const char *button;
        const char *name;
    } bars[] = {
        {"WaterNavigatorInsert", "Добавить анализ воды"},
        {"WaterNavigatorDelete", "Удалить анализ воды"},
        {"WaterElementNavigatorInsert", "Добавить элемент в анализ"},
        {"WaterElementNavigatorDelete", "Удалить элемент из анализа"},
    };
    for (const auto &b : bars) {
        auto *button = water->findChild<QToolButton *>(QString::fromLatin1(b.button));
        ASSERT_NE(button, nullptr) << b.button;
        EXPECT_EQ(button->accessibleName(), QString::fromUtf8(b.name));
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(b.name));
    }

    // The chart's elements carry the figures the concentration grid shows for them.
    DataGrid *g = grid("dxDBGrid3");
    QAccessibleInterface *chart = QAccessible::queryAccessibleInterface(ChartForm->chart());
    ASSERT_EQ(chart->childCount(), g->model()->rowCount());
    for (int r = 0; r < g->model()->rowCount(); ++r) {
        const QString name = chart->child(r)->text(QAccessible::Name);
        EXPECT_TRUE(name.startsWith(cell(g, r, "dxDBGrid3name_el") + QStringLiteral(": "))) << r;
        for (const char *column : {"dxDBGrid3Column10", "dxDBGrid3vaga_calc", "dxDBGrid3cvet_calc"})
            EXPECT_TRUE(name.contains(QStringLiteral(" %1").arg(cell(g, r, column)))) << name.toStdString();
        EXPECT_TRUE(name.contains(QStringLiteral("расчёт при 100 %"))) << name.toStdString();
    }
}

// The editors of our grids are named after their columns; the tank's says how "авто" chooses.
TEST_F(OurWindowsTest, TheEditorsOfOurGridsCarryNames)
{
    openWater();
    StockWindow *stock = openStock();
    Dataset &rows = data().own.T_sostav_vody;
    rows.append();
    const struct
    {
        QWidget *window;
        const char *grid;
        const char *column;
        const char *name;
        bool hinted;
    } cases[] = {
        {water.get(), "WaterElementGrid", "WaterElementGridname_element", "Элемент", false},
        {water.get(), "WaterElementGrid", "WaterElementGridmg_l", "мг/л", false},
        {stock, "PropertiesGrid", "PropertiesGridRastvorimost", "Растворимость, г на 1 л воды", true},
        {stock, "PropertiesGrid", "PropertiesGridCena", "Цена за кг, руб.", false},
        {stock, "PropertiesGrid", "PropertiesGridBak", "Бак", true},
    };
    // The tests run in the C locale (CTest's environment), which names no currency.
    ASSERT_EQ(QLocale::system().language(), QLocale::C);
    for (const auto &c : cases) {
        QApplication::setActiveWindow(c.window);
        auto *g = c.window->findChild<DataGrid *>(QString::fromLatin1(c.grid));
        ASSERT_NE(g, nullptr) << c.grid;
        const QModelIndex cell = g->model()->index(0, g->sectionOf(g->column(QString::fromLatin1(c.column))));
        g->setFocus();
        g->setCurrentIndex(cell);
        g->edit(cell);
        QWidget *editor = g->indexWidget(cell);
        ASSERT_NE(editor, nullptr) << c.column;
        EXPECT_EQ(editor->accessibleName(), QString::fromUtf8(c.name));
        EXPECT_EQ(g->model()->headerData(cell.column(), Qt::Horizontal).toString(), QString::fromUtf8(c.name));
        const QString hint = g->model()->headerData(cell.column(), Qt::Horizontal, Qt::ToolTipRole).toString();
        EXPECT_EQ(!hint.isEmpty(), c.hinted) << c.column;
        EXPECT_EQ(editor->toolTip(), hint) << c.column;
        QTest::keyClick(editor, Qt::Key_Escape);
    }
    const QString tank = stock->findChild<DataGrid *>(QStringLiteral("PropertiesGrid"))
                             ->column(QStringLiteral("PropertiesGridBak"))->hint();
    for (const char *word : {"«авто»", "кальцием", "фосфором", "отдельно"})
        EXPECT_TRUE(tank.contains(QString::fromUtf8(word))) << word;
}

// Over solubility, a tank's percentage stands on the warning colour and says so to a screen
// reader; the legend under the tanks explains the red while there is any; the warning states
// both figures per 100 g of water at the one temperature.
TEST_F(OurWindowsTest, OverSolubilityIsSaidNotOnlyShownInRed)
{
    StockWindow *stock = openStock();
    auto *legend = stock->findChild<QLabel *>(QStringLiteral("SolubilityLegend"));
    ASSERT_NE(legend, nullptr);
    const auto overCells = [stock] {
        int over = 0;
        for (const char *name : {"TankAGrid", "TankBGrid", "TankSeparateGrid"}) {
            const QAbstractItemModel *m = stock->findChild<QTableView *>(QString::fromLatin1(name))->model();
            for (int r = 0; r < m->rowCount(); ++r) {
                const QModelIndex percent = m->index(r, StockSheet::SolubilityPercent);
                bool isNumber = false;
                const double shown = percent.data().toString().toDouble(&isNumber);
                const bool above = percent.data().toString() == QStringLiteral("более 100")
                                   || (isNumber && shown > 100);
                const QString said = percent.data(Qt::AccessibleDescriptionRole).toString();
                EXPECT_EQ(!said.isEmpty(), above) << name << " row " << r;
                EXPECT_EQ(percent.data(Qt::BackgroundRole).isValid(), above) << name << " row " << r;
                EXPECT_FALSE(m->index(r, StockSheet::Name).data(Qt::AccessibleDescriptionRole).isValid());
                over += above ? 1 : 0;
            }
        }
        return over;
    };
    EXPECT_EQ(overCells(), 0);
    EXPECT_TRUE(legend->isHidden());

    auto *factor = stock->findChild<QLineEdit *>(QStringLiteral("FactorEdit"));
    factor->end(false);
    typeText(factor, QStringLiteral("0"));
    for (int i = 0; i < 4; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(factor->text(), QStringLiteral("1000"));
    EXPECT_GT(overCells(), 0);
    EXPECT_FALSE(legend->isHidden());
    EXPECT_TRUE(russian(legend->text()));
    const QStringList warned = stock->plan().warnings.filter(QStringLiteral("растворимость"));
    ASSERT_FALSE(warned.isEmpty());
    for (const QString &w : warned)
        EXPECT_EQ(w.count(QStringLiteral("°C")), 1) << w.toStdString();
    EXPECT_TRUE(warned.first().contains(QStringLiteral(" г на 100 г воды при 20 °C"))) << warned.first().toStdString();
}

// Qt's own texts (here a dialog's standard buttons) read Russian when the locale is, and stay
// Qt's own otherwise.
TEST(QtTranslationsTest, QtsOwnButtonsReadRussianInARussianLocale)
{
    const struct
    {
        QLocale locale;
        bool translated;
        const char *cancel;
        const char *close;
    } cases[] = {
        {QLocale(QLocale::Russian, QLocale::Russia), true, "Отмена", "Закрыть"},
        {QLocale(QLocale::Russian, QLocale::Ukraine), true, "Отмена", "Закрыть"},
        {QLocale(QLocale::English, QLocale::UnitedStates), false, "Cancel", "Close"},
        {QLocale::c(), false, "Cancel", "Close"},
    };
    for (const auto &c : cases) {
        QTranslator *translator = InstallQtTranslations(*qApp, c.locale);
        EXPECT_EQ(translator != nullptr, c.translated) << c.locale.name().toStdString();
        QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Close);
        EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text().remove(u'&'), QString::fromUtf8(c.cancel))
            << c.locale.name().toStdString();
        EXPECT_EQ(box.button(QDialogButtonBox::Close)->text().remove(u'&'), QString::fromUtf8(c.close))
            << c.locale.name().toStdString();
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
}

} // namespace
