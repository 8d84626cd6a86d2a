#include "referenceprogram.h"

#include "app/layoutfile.h"
#include "calculator/tform4.h"
#include "reference/tf_converter.h"
#include "reference/tform2.h"
#include "ui/splitter.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {

class FertilizerWindowTest : public ReferenceProgram
{
protected:
    void SetUp() override
    {
        ReferenceProgram::SetUp();
        showWindow(Form2);
        fertilizers = control<DataGrid>(Form2, "dxDBGrid2");
        composition = control<DataGrid>(Form2, "dxDBGrid1");
        search = control<QLineEdit>(Form2, "Edit1");
        count = control<QLabel>(Form2, "Label2");
        // The calculator's list: a second view of the same query.
        calculatorList = control<DataGrid>(Form4, "dxDBGrid1");
        calculatorCount = control<QLabel>(Form4, "Label6");
        calculatorSearch = control<QLineEdit>(calculatorList->parentWidget(), "Edit1");
    }

    Dataset &T_Udobra() { return data().form2.T_Udobra; }
    Dataset &T_Sostav_Udobra() { return data().form2.T_Sostav_Udobra; }
    QStringList names() { return column(T_Udobra(), "name_udobra"); }
    SortMark mark() const { return fertilizers->columns().first()->sortMark(); }
    SortMark calculatorMark() const { return calculatorList->columns().first()->sortMark(); }

    static void typeInto(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        typeText(edit, text);
    }

    static QStringList sorted(QStringList list, bool descending)
    {
        std::stable_sort(list.begin(), list.end(), [descending](const QString &a, const QString &b) {
            return descending ? a.compare(b, Qt::CaseInsensitive) > 0 : a.compare(b, Qt::CaseInsensitive) < 0;
        });
        return list;
    }

    static int fertilizerKey(const QString &name)
    {
        return stored("SELECT id_udobra FROM t_udobra WHERE name_udobra = ?", {name}).toInt();
    }

    DataGrid *fertilizers = nullptr;
    DataGrid *composition = nullptr;
    QLineEdit *search = nullptr;
    QLabel *count = nullptr;
    DataGrid *calculatorList = nullptr;
    QLabel *calculatorCount = nullptr;
    QLineEdit *calculatorSearch = nullptr;
};

TEST_F(FertilizerWindowTest, SearchInEitherWindowFiltersBothListsAndBothCounts)
{
    EXPECT_EQ(count->text(), QStringLiteral("29"));
    EXPECT_EQ(calculatorCount->text(), QStringLiteral("29"));

    typeInto(search, QStringLiteral("селитра"));
    EXPECT_EQ(names(), (QStringList{QStringLiteral("Кальциевая селитра"), QStringLiteral("Калиевая селитра"),
                                    QStringLiteral("Аммиачная селитра"),
                                    QStringLiteral("Магниевая селитра (6-водная)"),
                                    QStringLiteral("Кальциевая селитра чистая (4-водная)"),
                                    QStringLiteral("Натриевая селитра")}));
    EXPECT_EQ(T_Udobra().currentRow(), 0);
    EXPECT_EQ(calculatorList->model()->rowCount(), 6);
    EXPECT_EQ(count->text(), QStringLiteral("6"));
    EXPECT_EQ(calculatorCount->text(), QStringLiteral("6"));

    // Characters with a meaning in a filter match literally and raise nothing.
    const std::pair<const char *, const char *> odd[] = {{"'", "0"}, {"%", "7"}, {"[a]", "0"}, {"(", "11"}};
    for (const auto &[text, rows] : odd) {
        typeInto(search, QString::fromLatin1(text));
        EXPECT_EQ(count->text(), QString::fromLatin1(rows)) << text;
    }
    typeInto(search, QString());
    EXPECT_EQ(count->text(), QStringLiteral("29"));
    EXPECT_EQ(calculatorCount->text(), QStringLiteral("29"));

    Form4->show();
    typeInto(calculatorSearch, QStringLiteral("СУЛЬФАТ"));
    EXPECT_EQ(fertilizers->model()->rowCount(), 6);
    EXPECT_EQ(count->text(), QStringLiteral("6"));
    EXPECT_EQ(calculatorCount->text(), QStringLiteral("6"));
    EXPECT_TRUE(search->text().isEmpty()); // the two texts do not copy each other
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(FertilizerWindowTest, EachWindowTogglesItsOwnSortMarkOverTheSharedSort)
{
    const QStringList own = names();
    EXPECT_EQ(mark(), SortMark::Up);
    EXPECT_EQ(calculatorMark(), SortMark::Down);

    clickHeader(fertilizers, 1); // "PPM, 1г./л." sorts by name too
    EXPECT_EQ(mark(), SortMark::Down);
    EXPECT_EQ(names(), sorted(own, false));
    clickHeader(fertilizers, 0);
    EXPECT_EQ(mark(), SortMark::Up);
    EXPECT_EQ(names(), sorted(own, true));
    EXPECT_EQ(calculatorMark(), SortMark::Down);

    Form4->show();
    clickHeader(calculatorList, 0);
    EXPECT_EQ(calculatorMark(), SortMark::Up);
    EXPECT_EQ(names(), sorted(own, true));
    clickHeader(calculatorList, 0);
    EXPECT_EQ(names(), sorted(own, false));
    EXPECT_EQ(mark(), SortMark::Up);

    // The database cycle keeps the search but not the sort; the marks stay as they are.
    typeInto(search, QStringLiteral("сульфат"));
    Form2->close();
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_EQ(names(), (QStringList{QStringLiteral("Сульфат калия"), QStringLiteral("Сульфат магния (7-водный)"),
                                    QStringLiteral("Сульфат марганца (1-водный)"),
                                    QStringLiteral("Сульфат цинка (7-водный)"),
                                    QStringLiteral("Сульфат меди (5-водный)"),
                                    QStringLiteral("Сульфат аммония")}));
    EXPECT_EQ(mark(), SortMark::Up);
    EXPECT_EQ(calculatorMark(), SortMark::Down);
    EXPECT_EQ(count->text(), QStringLiteral("6"));
}

TEST_F(FertilizerWindowTest, ANewFertilizerIsPostedWhenTheGrowerTurnsToItsComposition)
{
    const QString name = QStringLiteral("Тестовое удобрение");
    press(Form2, "DBNavigator2", NavButton::Insert);
    EXPECT_EQ(count->text(), QStringLiteral("30"));
    const int row = T_Udobra().currentRow();
    typeAndEnter(openEditor(fertilizers, row, "dxDBGrid2name_udobra"), name);
    typeAndEnter(openEditor(fertilizers, row, "dxDBGrid2Column2"), QStringLiteral("300"));
    EXPECT_EQ(fertilizerKey(name), 0);

    QTest::mouseClick(composition->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    const int key = fertilizerKey(name);
    ASSERT_NE(key, 0);
    EXPECT_EQ(T_Udobra().asInteger(QStringLiteral("id_udobra")), key);

    press(Form2, "DBNavigator4", NavButton::Insert);
    auto *element = openEditor<QComboBox>(composition, 0, "dxDBGrid1name_element");
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->count(), 22); // every element and oxide
    EXPECT_EQ(element->maxVisibleItems(), 19);
    QTest::keyClick(element, Qt::Key_Down);
    typeAndEnter(openEditor(composition, 0, "dxDBGrid1kol_element"), QStringLiteral("12") + systemDecimalSeparator() + u'5');
    press(Form2, "DBNavigator4", NavButton::Post);
    EXPECT_EQ(stored("SELECT count(*) FROM T_sostav_udobra WHERE id_udobra = ? AND id_element = 1 "
                     "AND kol_element = 12.5", {key}).toInt(), 1);
}

TEST_F(FertilizerWindowTest, InsertingACompositionRowPostsThePendingFertilizerFirst)
{
    press(Form2, "DBNavigator2", NavButton::Insert);
    typeAndEnter(openEditor(fertilizers, T_Udobra().currentRow(), "dxDBGrid2name_udobra"), QStringLiteral("Новое"));
    press(Form2, "DBNavigator4", NavButton::Insert);
    const int key = fertilizerKey(QStringLiteral("Новое"));
    ASSERT_NE(key, 0);
    // The row asked for is there, under the new fertilizer.
    ASSERT_EQ(T_Sostav_Udobra().state(), DatasetState::Insert);
    EXPECT_EQ(T_Sostav_Udobra().asInteger(QStringLiteral("id_udobra")), key);
}

TEST_F(FertilizerWindowTest, RefusedOrOutOfRangeValues)
{
    // Within the range, as many decimals as the converter gives: 1234.5678 mg/L is 0.12345678 %.
    const struct { const char *typed; double kept; } percents[] = {
        {"150", 100}, {"0", 0.0001}, {"-3", 0.0001}, {"0.12345", 0.12345}, {"0.12345678", 0.12345678}};
    for (const auto &p : percents) {
        typeAndEnter(openEditor(composition, 0, "dxDBGrid1kol_element"), QString::fromLatin1(p.typed));
        press(Form2, "DBNavigator4", NavButton::Post);
        EXPECT_DOUBLE_EQ(stored("SELECT kol_element FROM T_sostav_udobra WHERE id_sostav_udobra = 1").toDouble(),
                         p.kept) << p.typed;
    }
    EXPECT_EQ(boxes.count(), 0);

    boxes.expect(BoxButton::Ok);
    typeAndEnter(openEditor(fertilizers, 1, "dxDBGrid2Column2"), QStringLiteral("6x"));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("'6x' is not a valid integer value for field 'ppm'"));
    press(Form2, "DBNavigator2", NavButton::Post);
    EXPECT_EQ(stored("SELECT ppm FROM t_udobra WHERE name_udobra = 'Калиевая селитра'").toInt(), 674);

    // A name stops at the field's 50 characters while it is typed: nothing left to refuse.
    typeAndEnter(openEditor(fertilizers, 1, "dxDBGrid2name_udobra"), QString(51, u'ы'));
    press(Form2, "DBNavigator2", NavButton::Post);
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_NE(fertilizerKey(QString(50, u'ы')), 0);
}

TEST_F(FertilizerWindowTest, ClosingDropsAnEditNotYetPosted)
{
    const int ppm = stored("SELECT sum(ppm) FROM t_udobra").toInt();
    typeAndEnter(openEditor(fertilizers, 3, "dxDBGrid2name_udobra"), QStringLiteral("Изменено"));
    QWidget *open = openEditor(fertilizers, 3, "dxDBGrid2Column2");
    ASSERT_NE(open, nullptr);
    QTest::keyClicks(open, QStringLiteral("9")); // still in its editor at the close
    Form2->close();
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_EQ(fertilizerKey(QStringLiteral("Изменено")), 0);
    EXPECT_EQ(stored("SELECT sum(ppm) FROM t_udobra").toInt(), ppm);
    EXPECT_EQ(T_Udobra().state(), DatasetState::Browse);
}

TEST_F(FertilizerWindowTest, PanesSearchWidthAndConverter)
{
    auto *bar = control(Form2, "Panel1");
    auto *right = control(Form2, "GroupBox4");
    auto *splitter = control<Splitter>(Form2, "RzSplitter1");
    EXPECT_EQ(splitter->handleWidth(), 7);
    EXPECT_EQ(search->width(), bar->width() - 80);

    const int rightWidth = right->width();
    const int position = splitter->position();
    Form2->resize(Form2->width() + 100, Form2->height());
    EXPECT_EQ(search->width(), control(Form2, "GroupBox1")->width() / 2 - 90);
    EXPECT_EQ(right->width(), rightWidth); // the composition keeps its width
    EXPECT_EQ(splitter->position(), position + 100);
    splitter->setPosition(position + 40);
    EXPECT_EQ(search->width(), bar->width() - 80);

    for (const char *name : {"DBNavigator2", "DBNavigator4"})
        EXPECT_EQ(control<NavBar>(Form2, name)->buttons(),
                  (QList<NavButton>{NavButton::Insert, NavButton::Delete, NavButton::Post}));
    click(control<QPushButton>(Form2, "Button1"));
    EXPECT_TRUE(F_Converter->isVisible());
}

// The bar the grower sees is the one the layout file gets and the one the next showing puts
// back, also after the window was widened and the list took the difference.
TEST_F(FertilizerWindowTest, TheBarShownIsTheBarSavedAndLoaded)
{
    auto *splitter = control<Splitter>(Form2, "RzSplitter1");
    const auto savedBar = [] {
        return LayoutFile::read(LayoutFile::FileName)[LayoutFile::FertilizersSplitter1].toInt();
    };
    const int before = splitter->position();
    Form2->resize(Form2->width() + 120, Form2->height());
    const int widened = splitter->position();
    ASSERT_EQ(widened, before + 120);

    Form2->close(); // saves the layout and cycles the database, which loads it again
    EXPECT_EQ(savedBar(), widened);
    Form1->RzButton1Click(); // "Удобрения": loads the layout, shows the window
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form2));
    EXPECT_EQ(splitter->position(), widened);
    Form2->close();
    EXPECT_EQ(savedBar(), widened);

    // Narrowed while shown, likewise.
    Form1->RzButton1Click();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form2));
    Form2->resize(Form2->width() - 60, Form2->height());
    EXPECT_EQ(splitter->position(), widened - 60);
    Form2->close();
    Form1->RzButton1Click();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form2));
    EXPECT_EQ(splitter->position(), widened - 60);
    EXPECT_EQ(savedBar(), widened - 60);
    EXPECT_EQ(boxes.count(), 0);
}

} // namespace
