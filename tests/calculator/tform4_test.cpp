#include "calculatorfixture.h"

#include "app/layoutfile.h"
#include "calculator/tform5.h"
#include "options/tform18.h"
#include "reference/tform2.h"
#include "reference/tform3.h"
#include "ui/color/wincolor.h"
#include "ui/splitter.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QTimer>

#include <memory>

namespace {

QColor win(int value)
{
    return WinColor::toQColor(value);
}

QColor background(const QWidget *w)
{
    return w->palette().color(w->backgroundRole());
}

// The window as it is built, before any layout file or option reaches it.
class BuiltCalculatorTest : public ::testing::Test
{
protected:
    template<typename T>
    T *find(const char *name)
    {
        T *control = window->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << "no control " << name;
        return control;
    }

    FreshBase base{FreshBase::Crops::Test};
    DataModules data;
    std::unique_ptr<TForm4> window = std::make_unique<TForm4>(data);
};

TEST_F(BuiltCalculatorTest, EveryNamedControlExists)
{
    const char *widgets[] = {
        "RzSplitter1", "RzSplitter2", "RzSplitter4", "RzSplitter5", "Edit1", "dxDBGrid1",
        "Label6", "Panel4", "Button1", "Button2", "Button6", "Button8", "Button9", "Button3",
        "dxDBGrid2", "Button5", "Button4", "ActionRow", "ButtonSolve", "ButtonChart", "dxDBGrid3", "Panel13", "Label12", "Label10",
        "Label11", "Panel9", "Label3", "Label4", "Label13", "Label5", "Label9", "GroupBox8",
        "RxSlider1", "Panel12", "Edit2", "dxDBGrid6", "Panel11", "DBNavigator1",
        "DBNavigator2", "DBNavigator3", "ButtonStock"};
    for (const char *name : widgets)
        EXPECT_NE(window->findChild<QWidget *>(QString::fromLatin1(name)), nullptr) << name;
    const char *columns[] = {
        "dxDBGrid1name_udobra", "dxDBGrid2Column1", "dxDBGrid2Column2", "dxDBGrid2Column3",
        "dxDBGrid3id_konc", "dxDBGrid3id_kult", "dxDBGrid3id_el", "dxDBGrid3name_el",
        "dxDBGrid3vega", "dxDBGrid3cvet", "dxDBGrid3rachet", "dxDBGrid3Column10",
        "dxDBGrid3vaga_calc", "dxDBGrid3cvet_calc", "dxDBGrid3Column11", "dxDBGrid3Column12",
        "dxDBGrid6id_kult", "dxDBGrid6name_kult", "dxDBGrid6ph"};
    for (const char *name : columns)
        EXPECT_NE(window->findChild<DataGridColumn *>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_NE(find<QMenu>("PopupMenu3"), nullptr);
    EXPECT_NE(find<QAction>("N7"), nullptr);
    EXPECT_NE(find<QAction>("N8"), nullptr);
    EXPECT_NE(find<QTimer>("Timer1"), nullptr);

    // No name is given twice.
    QStringList names;
    for (const QObject *o : window->findChildren<QObject *>()) {
        if (!o->objectName().isEmpty() && !o->objectName().startsWith(u"qt_"))
            names.append(o->objectName());
    }
    QStringList unique = names;
    unique.removeDuplicates();
    EXPECT_EQ(names.size(), unique.size()) << names.join(u' ').toStdString();
}

TEST_F(BuiltCalculatorTest, WindowAndPanes)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Калькулятор v1.2"));
    EXPECT_TRUE(window->isWindow());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(943, 725));
    EXPECT_EQ(window->font().pointSize(), 8);

    const struct
    {
        const char *name;
        Qt::Orientation orientation;
        int bar;
        int position;
    } splitters[] = {
        {"RzSplitter1", Qt::Horizontal, 7, 475},
        {"RzSplitter2", Qt::Vertical, 7, 431},
        {"RzSplitter4", Qt::Horizontal, 6, 281},
        {"RzSplitter5", Qt::Vertical, 6, 416},
    };
    for (const auto &s : splitters) {
        auto *splitter = find<Splitter>(s.name);
        ASSERT_NE(splitter, nullptr);
        EXPECT_EQ(splitter->orientation(), s.orientation) << s.name;
        EXPECT_EQ(splitter->handleWidth(), s.bar) << s.name;
        EXPECT_EQ(splitter->position(), s.position) << s.name;
        EXPECT_EQ(splitter->handle(1)->toolTip(), QStringLiteral("Изменить размер")) << s.name;
        EXPECT_EQ(background(splitter->handle(1)), win(WinColor::clMedGray)) << s.name;
    }

    QStringList titles;
    for (const QGroupBox *g : window->findChildren<QGroupBox *>())
        titles.append(g->title());
    for (const char *title : {"Удобрения:", "Состав раствора:", "Готовые растворы:",
                              "Концентрация элементов: мг/л.", "Культура:", "Концентрация: 100%"})
        EXPECT_TRUE(titles.contains(QString::fromUtf8(title))) << title;
}

TEST_F(BuiltCalculatorTest, ConcentrationGridColumnsInOrderWithThreeHidden)
{
    auto *concentration = find<DataGrid>("dxDBGrid3");
    QStringList shown;
    int hidden = 0;
    for (const DataGridColumn *c : concentration->columns()) {
        if (c->isVisible())
            shown.append(c->headerText());
        else
            EXPECT_LT(hidden++, 3) << "only the three key columns are hidden";
    }
    EXPECT_EQ(shown, QStringList({QStringLiteral("Элемент"), QStringLiteral("Вега100%"),
                                  QStringLiteral("Цвет100%"), QStringLiteral("Расчёт"),
                                  QStringLiteral("Расчёт от %"), QStringLiteral("В100%"),
                                  QStringLiteral("Ц100%"), QStringLiteral("+-Веги"),
                                  QStringLiteral("+-Цвета")}));
    for (const char *name : {"dxDBGrid3vega", "dxDBGrid3cvet"}) {
        const ColumnEditor &e = concentration->column(QString::fromLatin1(name))->editor();
        EXPECT_EQ(e.kind, EditorKind::Spin) << name;
        EXPECT_DOUBLE_EQ(e.step, 1) << name;
        EXPECT_FALSE(e.bounded) << name;
    }
    const ColumnEditor &kol = find<DataGridColumn>("dxDBGrid2Column2")->editor();
    EXPECT_TRUE(kol.bounded);
    EXPECT_DOUBLE_EQ(kol.maximum, 1000);
    EXPECT_DOUBLE_EQ(kol.step, 0.01);
}

TEST_F(BuiltCalculatorTest, ControlsWithoutTextHaveAccessibleNames)
{
    for (const char *name : {"dxDBGrid1", "dxDBGrid2", "dxDBGrid3", "dxDBGrid6", "Edit1", "Edit2",
                             "RxSlider1"}) {
        auto *w = find<QWidget>(name);
        ASSERT_NE(w, nullptr);
        EXPECT_FALSE(w->accessibleName().isEmpty()) << name;
        EXPECT_NE(w->focusPolicy(), Qt::NoFocus) << name;
    }
}

TEST_F(BuiltCalculatorTest, AtItsBuiltSizeNoCaptionIsCutOff)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // The saved-solution pane answers for its own controls.
    const QWidget *saved = find<QWidget>("SavedSolutionsPane");
    const auto ours = [saved](const QWidget *w) { return w != saved && !saved->isAncestorOf(w); };
    for (const QLabel *l : window->findChildren<QLabel *>()) {
        if (l->isVisible() && ours(l)) {
            EXPECT_GE(l->width(), l->sizeHint().width()) << l->objectName().toStdString();
        }
    }
    for (const QPushButton *b : window->findChildren<QPushButton *>()) {
        if (ours(b)) {
            EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text()) + 4)
                << b->objectName().toStdString();
        }
    }
    for (const QGroupBox *g : window->findChildren<QGroupBox *>()) {
        if (ours(g)) {
            EXPECT_GE(g->width(), g->fontMetrics().horizontalAdvance(g->title()) + 8)
                << g->title().toStdString();
        }
    }
    // Column captions may break at their blanks onto the header's second line; no word of them
    // is wider than its column.
    for (const char *name : {"dxDBGrid1", "dxDBGrid2", "dxDBGrid3", "dxDBGrid6"}) {
        auto *g = find<DataGrid>(name);
        const QFontMetrics fm(g->horizontalHeader()->font());
        for (const DataGridColumn *c : g->columns()) {
            if (!c->isVisible())
                continue;
            for (const QString &word : c->headerText().split(u' '))
                EXPECT_LE(fm.horizontalAdvance(word) + 8, g->columnWidth(g->sectionOf(c)))
                    << name << ": " << c->headerText().toStdString();
        }
    }
}

// ---------------------------------------------------------------- in the running program

using CalculatorWindowTest = CalculatorTest;

TEST_F(CalculatorWindowTest, TheSearchEditFitsItsBarOnShowAndWhenTheBarMoves)
{
    auto *edit = find<QLineEdit>(QStringLiteral("Edit1"));
    QWidget *bar = edit->parentWidget();
    EXPECT_EQ(edit->width(), bar->width() - 65);

    auto *splitter = find<Splitter>(QStringLiteral("RzSplitter4"));
    splitter->setPosition(splitter->position() + 60);
    QApplication::processEvents();
    EXPECT_EQ(edit->width(), bar->width() - 65);
    splitter->setPosition(splitter->position() - 120);
    QApplication::processEvents();
    EXPECT_EQ(edit->width(), bar->width() - 65);
}

TEST_F(CalculatorWindowTest, SmallButtonsOpenTheReferenceAndOptionsWindows)
{
    press("Button6");
    EXPECT_TRUE(Form3->isVisible());
    press("Button8");
    EXPECT_TRUE(Form2->isVisible());
    press("Button9");
    EXPECT_TRUE(Form18->isVisible());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(CalculatorWindowTest, ClosingRunsTheDatabaseCycleAndHides)
{
    addFertilizer(QStringLiteral("Кальциевая селитра"));
    // An amount still being typed is not posted by the cycle.
    DecimalSpinBox *spin = openSpinEditor(grid("dxDBGrid2"), 0, "dxDBGrid2Column2");
    ASSERT_NE(spin, nullptr);
    QTest::keyClicks(spin, QStringLiteral("3"));
    QTest::keyClick(spin, Qt::Key_Return);
    selectCrop(QStringLiteral("Салат"));

    EXPECT_TRUE(Form4->close());
    EXPECT_FALSE(Form4->isVisible());
    EXPECT_TRUE(Form1->isVisible()) << "without autostart the main window stays";
    EXPECT_TRUE(f4().T_rachet.isActive());
    EXPECT_EQ(f4().ADOTable3.asString(QStringLiteral("name_kult")), QStringLiteral("Томат"))
        << "after the cycle the first crop is selected";
    EXPECT_TRUE(stored("SELECT kol FROM t_rachet").isNull());
    EXPECT_TRUE(QFile::exists(base.path(QStringLiteral("size.ini"))));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(CalculatorWindowTest, ClosingStopsAPendingRecalculationUnlessTheWindowStaysOpen)
{
    addFertilizer(QStringLiteral("Кальциевая селитра"));
    QTimer *timer = recalculationTimer();
    DecimalSpinBox *spin = openSpinEditor(grid("dxDBGrid2"), 0, "dxDBGrid2Column2");
    ASSERT_NE(spin, nullptr);
    QTest::keyClicks(spin, QStringLiteral("3"));
    ASSERT_TRUE(timer->isActive());

    // A layout file that cannot be written keeps the window open, and the recalculation due.
    ASSERT_TRUE(QFile::remove(QStringLiteral("size.ini")));
    ASSERT_TRUE(QDir::current().mkdir(QStringLiteral("size.ini")));
    boxes.expect(BoxButton::Ok);
    EXPECT_FALSE(Form4->close());
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_TRUE(Form4->isVisible());
    EXPECT_TRUE(timer->isActive());

    ASSERT_TRUE(QDir::current().rmdir(QStringLiteral("size.ini")));
    EXPECT_TRUE(Form4->close());
    EXPECT_FALSE(timer->isActive()) << "no tick recalculates behind the closed window";
    EXPECT_EQ(boxes.count(), 1);
}

// The totals of a run are longer than the zeros before it; the lines cut them at their right
// edge rather than widen the right half, so the bar stays where the layout file put it, also
// when the window is shown again after the database cycle.
TEST_F(CalculatorWindowTest, LongTotalsNeverPushTheMiddleBar)
{
    auto *splitter = find<Splitter>(QStringLiteral("RzSplitter1"));
    ASSERT_EQ(splitter->position(), 577) << "the default layout";
    const char *names[] = {"Кальциевая селитра", "Калиевая селитра", "Монофосфат калия",
                           "Сульфат магния (7-водный)"};
    const char *amounts[] = {"1", "0.5", "0.2", "0.6"};
    for (const char *name : names)
        addFertilizer(QString::fromUtf8(name));
    for (int i = 0; i < 4; ++i)
        typeAmount(QString::fromUtf8(names[i]), QString::fromLatin1(amounts[i]));
    press("Button4");
    QApplication::processEvents();
    ASSERT_EQ(labelText("Label4"), QStringLiteral("   847.19"));
    EXPECT_EQ(splitter->position(), 577);
    auto *label = find<QLabel>(QStringLiteral("Label9"));
    EXPECT_EQ(label->width(), label->sizeHint().width()) << "each value is drawn whole, the line clips";

    for (int cycle = 0; cycle < 2; ++cycle) {
        ASSERT_TRUE(Form4->close());
        EXPECT_EQ(LayoutFile::read(LayoutFile::FileName)[LayoutFile::CalculatorSplitter1],
                  QStringLiteral("577")) << cycle;
        Form4->show();
        QApplication::processEvents();
        EXPECT_EQ(splitter->position(), 577) << cycle;
    }
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(CalculatorWindowTest, ClosingWithAutostartClosesTheMainWindow)
{
    Dataset &options = data().form18.ADOTable1;
    options.edit();
    options.setValue(QStringLiteral("avto"), true);
    options.post();

    EXPECT_TRUE(Form4->close());
    EXPECT_FALSE(Form4->isVisible());
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_FALSE(f4().T_rachet.isActive()) << "the main window closed the database";
}

} // namespace
