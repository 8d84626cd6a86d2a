#include "calculatorfixture.h"

#include "calculator/tform5.h"
#include "options/tform18.h"
#include "reference/tform2.h"
#include "reference/tform3.h"
#include "ui/color/wincolor.h"
#include "ui/splitter.h"

#include <QAction>
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

    FreshBase base;
    DataModules data;
    std::unique_ptr<TForm4> window = std::make_unique<TForm4>(data);
};

TEST_F(BuiltCalculatorTest, EveryNamedControlExists)
{
    const char *widgets[] = {
        "RzSplitter1", "RzSplitter2", "RzSplitter4", "RzSplitter5", "Edit1", "dxDBGrid1",
        "Label6", "Panel4", "Button1", "Button2", "Button6", "Button8", "Button9", "Button3",
        "dxDBGrid2", "Button5", "Button4", "dxDBGrid3", "Panel13", "Label12", "Label10",
        "Label11", "Panel9", "Label3", "Label4", "Label13", "Label5", "Label9", "GroupBox8",
        "RxSlider1", "Panel12", "Edit2", "dxDBGrid6", "Panel11", "DBNavigator1",
        "DBNavigator2", "DBNavigator3"};
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

TEST_F(BuiltCalculatorTest, FertilizerListAndButtonColumn)
{
    auto *edit = find<QLineEdit>("Edit1");
    EXPECT_EQ(edit->toolTip(), QStringLiteral("Название искомого удобрения"));
    EXPECT_EQ(edit->palette().color(QPalette::Base), win(WinColor::clBtnFace));
    auto *list = find<DataGrid>("dxDBGrid1");
    EXPECT_FALSE(list->isEditable());
    EXPECT_EQ(list->colour(), win(WinColor::clInfoBk));
    EXPECT_EQ(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(list->columns().size(), 1);
    EXPECT_EQ(list->columns().first()->headerText(), QStringLiteral("Названия"));
    EXPECT_EQ(list->columns().first()->sortMark(), SortMark::Down);
    EXPECT_EQ(find<QLabel>("Label6")->text(), QStringLiteral("0"));
    EXPECT_TRUE(find<QLabel>("Label6")->font().bold());

    EXPECT_EQ(find<QWidget>("Panel4")->width(), 40);
    const struct
    {
        const char *name;
        const char *caption;
        const char *toolTip;
    } buttons[] = {
        {"Button1", ">", "Добавить в состав"},  {"Button2", "<", "Удалить из состава"},
        {"Button6", "E", "Справочник элементов"}, {"Button8", "U", "Справочник удобрений"},
        {"Button9", "O", "Опции"},               {"Button3", "X", "Очистить весь состав"},
        {"Button5", "Сохранить", ""},            {"Button4", "Рассчитать >>", ""},
    };
    for (const auto &b : buttons) {
        auto *button = find<QPushButton>(b.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromUtf8(b.caption)) << b.name;
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(b.toolTip)) << b.name;
        // A caption is never cut off.
        EXPECT_GE(button->sizeHint().width(),
                  button->fontMetrics().horizontalAdvance(button->text())) << b.name;
        EXPECT_GE(button->width(), std::min(button->sizeHint().width(), button->maximumWidth()))
            << b.name;
    }
    EXPECT_EQ(find<QPushButton>("Button1")->size(), QSize(27, 65));
    EXPECT_EQ(find<QPushButton>("Button2")->size(), QSize(27, 65));
    EXPECT_TRUE(find<QPushButton>("Button1")->font().bold());
    EXPECT_EQ(find<QPushButton>("Button6")->palette().color(QPalette::ButtonText),
              win(WinColor::clPurple));
}

TEST_F(BuiltCalculatorTest, CompositionAndConcentrationGrids)
{
    auto *composition = find<DataGrid>("dxDBGrid2");
    QStringList captions;
    for (const DataGridColumn *c : composition->columns())
        captions.append(c->headerText());
    EXPECT_EQ(captions, QStringList({QStringLiteral("Наименование"), QStringLiteral("Кол-во г./л."),
                                     QStringLiteral("Кол-во от %")}));
    const DataGridColumn *kol = composition->column(QStringLiteral("dxDBGrid2Column2"));
    EXPECT_EQ(kol->editorKind(), EditorKind::Spin);
    EXPECT_DOUBLE_EQ(kol->editor().step, 0.01);
    EXPECT_TRUE(kol->editor().bounded);
    EXPECT_DOUBLE_EQ(kol->editor().minimum, 0);
    EXPECT_DOUBLE_EQ(kol->editor().maximum, 1000);
    EXPECT_GT(kol->editor().decimals, 0);
    EXPECT_EQ(kol->colour(), win(WinColor::clAqua));
    EXPECT_EQ(composition->column(QStringLiteral("dxDBGrid2Column3"))->colour(), win(WinColor::clTeal));
    EXPECT_EQ(composition->contextMenuPolicy(), Qt::CustomContextMenu);

    auto *concentration = find<DataGrid>("dxDBGrid3");
    EXPECT_EQ(concentration->colour(), win(WinColor::clInfoBk));
    const QColor moneyGreen = win(WinColor::clMoneyGreen);
    const QColor flowering(240, 202, 166);
    const struct
    {
        const char *caption;
        bool shown;
        QColor colour;
    } expected[] = {
        {"id_konc", false, QColor()},      {"id_kult", false, QColor()},
        {"id_el", false, QColor()},        {"Элемент", true, QColor()},
        {"Вега100%", true, moneyGreen},    {"Цвет100%", true, flowering},
        {"Расчёт", true, win(WinColor::clAqua)}, {"Расчёт от %", true, win(WinColor::clTeal)},
        {"В100%", true, moneyGreen},       {"Ц100%", true, flowering},
        {"+-Веги", true, moneyGreen},      {"+-Цвета", true, flowering},
    };
    ASSERT_EQ(concentration->columns().size(), 12);
    for (int i = 0; i < 12; ++i) {
        const DataGridColumn *c = concentration->columns().at(i);
        EXPECT_EQ(c->headerText(), QString::fromUtf8(expected[i].caption)) << i;
        EXPECT_EQ(c->isVisible(), expected[i].shown) << i;
        EXPECT_EQ(concentration->isColumnHidden(i), !expected[i].shown) << i;
        EXPECT_EQ(c->colour(), expected[i].colour) << i;
    }
    for (const char *name : {"dxDBGrid3vega", "dxDBGrid3cvet"}) {
        const ColumnEditor &e = concentration->column(QString::fromLatin1(name))->editor();
        EXPECT_EQ(e.kind, EditorKind::Spin) << name;
        EXPECT_DOUBLE_EQ(e.step, 1) << name;
        EXPECT_FALSE(e.bounded) << name;
    }
    EXPECT_EQ(concentration->column(QStringLiteral("dxDBGrid3rachet"))->editorKind(), EditorKind::Text);
}

TEST_F(BuiltCalculatorTest, TotalLinesAndPercentageBar)
{
    const struct
    {
        const char *name;
        const char *text;
        int colour; // -1: the panel's
    } labels[] = {
        {"Label12", " Общее кол-во солей (PPM):  ", -1},
        {"Label10", "0   ", WinColor::clAqua},
        {"Label11", "0    ", WinColor::clTeal},
        {"Label3", " Общее кол-во солей (мг./л.):  ", -1},
        {"Label4", "0   ", WinColor::clAqua},
        {"Label13", "0    ", WinColor::clTeal},
        {"Label5", "0    ", WinColor::clMoneyGreen},
        {"Label9", "0    ", 10930928},
    };
    for (const auto &l : labels) {
        auto *label = find<QLabel>(l.name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString::fromUtf8(l.text)) << l.name;
        if (l.colour >= 0) {
            EXPECT_TRUE(label->autoFillBackground()) << l.name;
            EXPECT_EQ(background(label), win(l.colour)) << l.name;
        }
    }
    EXPECT_EQ(find<QLabel>("Label10")->parentWidget(), find<QWidget>("Panel13"));
    EXPECT_EQ(find<QLabel>("Label9")->parentWidget(), find<QWidget>("Panel9"));
    EXPECT_EQ(find<QWidget>("Panel13")->height(), 16);

    auto *slider = find<QSlider>("RxSlider1");
    EXPECT_EQ(slider->toolTip(), QStringLiteral("Процентная концентрация"));
    EXPECT_EQ(background(slider), win(WinColor::clTeal));
    EXPECT_EQ(slider->singleStep(), 1);
    auto *panel = find<QWidget>("Panel12");
    EXPECT_EQ(panel->width(), 63);
    EXPECT_EQ(background(panel), win(WinColor::clTeal));
    auto *edit = find<QLineEdit>("Edit2");
    EXPECT_EQ(edit->text(), QStringLiteral("100"));
    EXPECT_EQ(edit->palette().color(QPalette::Base), win(WinColor::clInfoBk));
    EXPECT_EQ(edit->parentWidget(), panel);
    EXPECT_EQ(find<QWidget>("GroupBox8")->height(), 48);
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
