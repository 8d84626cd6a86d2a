#include "referenceprogram.h"

#include "calculator/tform4.h"
#include "reference/tf_converter.h"
#include "reference/tform2.h"
#include "ui/splitter.h"

#include <QGroupBox>
#include <QPushButton>

#include <tuple>

#include <algorithm>

namespace {

class FertilizerWindowTest : public ReferenceProgram
{
protected:
    void SetUp() override
    {
        ReferenceProgram::SetUp();
        showWindow(Form2);
        fertilizers = grid(Form2, "dxDBGrid2");
        composition = grid(Form2, "dxDBGrid1");
        search = control<QLineEdit>(Form2, QStringLiteral("Edit1"));
        count = control<QLabel>(Form2, QStringLiteral("Label2"));
        ASSERT_TRUE(fertilizers && composition && search && count);
    }

    Dataset &T_Udobra() { return data().form2.T_Udobra; }
    Dataset &T_Sostav_Udobra() { return data().form2.T_Sostav_Udobra; }

    // The calculator's fertilizer list and the controls around it.
    static DataGrid *calculatorList() { return grid(Form4, "dxDBGrid1"); }
    static QLabel *calculatorCount() { return control<QLabel>(Form4, QStringLiteral("Label6")); }
    static QLineEdit *calculatorSearch()
    {
        DataGrid *list = calculatorList();
        return list ? control<QLineEdit>(list->parentWidget(), QStringLiteral("Edit1")) : nullptr;
    }

    SortMark mark() const { return fertilizers->column(QStringLiteral("dxDBGrid2name_udobra"))->sortMark(); }
    static SortMark calculatorMark() { return calculatorList()->columns().first()->sortMark(); }

    static void typeInto(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        typeText(edit, text);
    }

    static QStringList sorted(QStringList names, bool descending)
    {
        std::stable_sort(names.begin(), names.end(), [descending](const QString &a, const QString &b) {
            const int c = a.compare(b, Qt::CaseInsensitive);
            return descending ? c > 0 : c < 0;
        });
        return names;
    }

    static int storedFertilizers(const QString &name)
    {
        return stored("SELECT count(*) FROM t_udobra WHERE name_udobra = ?", {name}).toInt();
    }

    DataGrid *fertilizers = nullptr;
    DataGrid *composition = nullptr;
    QLineEdit *search = nullptr;
    QLabel *count = nullptr;
};

TEST_F(FertilizerWindowTest, EveryNamedControlIsInPlace)
{
    EXPECT_EQ(Form2->windowTitle(), QStringLiteral("Справочник удобрений"));
    const std::pair<const char *, const char *> groups[] = {
        {"GroupBox1", "Список удобрений:"}, {"GroupBox3", ""},
        {"GroupBox4", "Содержание элементов в удобрении:"}};
    for (const auto &[name, title] : groups) {
        auto *g = control<QGroupBox>(Form2, QString::fromLatin1(name));
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->title(), QString::fromUtf8(title)) << name;
    }
    for (const char *name : {"Panel1", "Panel3", "Panel4", "Panel5", "Panel6"})
        EXPECT_NE(control<QWidget>(Form2, QString::fromLatin1(name)), nullptr);
    auto *splitter = control<Splitter>(Form2, QStringLiteral("RzSplitter1"));
    ASSERT_NE(splitter, nullptr);
    EXPECT_EQ(splitter->handleWidth(), 7);
    EXPECT_EQ(count->text(), QStringLiteral("17"));

    const std::tuple<DataGrid *, const char *, const char *, const char *> columns[] = {
        {fertilizers, "dxDBGrid2name_udobra", "name_udobra", "Название"},
        {fertilizers, "dxDBGrid2Column2", "ppm", "PPM, 1г./л."},
        {composition, "dxDBGrid1name_element", "name_element", "Название"},
        {composition, "dxDBGrid1kol_element", "kol_element", "Кол-во, %"}};
    for (const auto &[g, name, field, caption] : columns) {
        DataGridColumn *c = g->column(QString::fromLatin1(name));
        ASSERT_NE(c, nullptr) << name;
        EXPECT_EQ(c->field(), QString::fromLatin1(field));
        EXPECT_EQ(c->caption(), QString::fromUtf8(caption));
    }
    const ColumnEditor &percent = composition->column(QStringLiteral("dxDBGrid1kol_element"))->editor();
    EXPECT_EQ(percent.kind, EditorKind::Spin);
    EXPECT_DOUBLE_EQ(percent.step, 0.0001);
    EXPECT_EQ(percent.maxLength, 100);

    // The bars show only their three buttons, each with a spoken name.
    for (const char *bar : {"DBNavigator2", "DBNavigator4"}) {
        auto *nav = control<NavBar>(Form2, QString::fromLatin1(bar));
        ASSERT_NE(nav, nullptr);
        EXPECT_EQ(nav->buttons(), (QList<NavButton>{NavButton::Insert, NavButton::Delete, NavButton::Post}));
        for (NavButton b : nav->buttons()) {
            EXPECT_FALSE(nav->button(b)->accessibleName().isEmpty());
            EXPECT_TRUE(nav->button(b)->toolTip().isEmpty());
        }
    }
}

TEST_F(FertilizerWindowTest, SearchFiltersBothListsAndBothCountsFollow)
{
    ASSERT_NE(calculatorCount(), nullptr);
    EXPECT_EQ(count->text(), QStringLiteral("17"));
    EXPECT_EQ(calculatorCount()->text(), QStringLiteral("17"));

    typeInto(search, QStringLiteral("селитра"));
    EXPECT_EQ(column(T_Udobra(), "name_udobra"),
              (QStringList{QStringLiteral("Кальциевая селитра"), QStringLiteral("Калиевая селитра"),
                           QStringLiteral("Аммиачная селитра"),
                           QStringLiteral("Магниевая селитра (6-водная)")}));
    EXPECT_EQ(T_Udobra().currentRow(), 0);
    EXPECT_EQ(fertilizers->model()->rowCount(), 4);
    EXPECT_EQ(calculatorList()->model()->rowCount(), 4);
    EXPECT_EQ(count->text(), QStringLiteral("4"));
    EXPECT_EQ(calculatorCount()->text(), QStringLiteral("4"));

    // Characters with a meaning in a filter match literally and raise nothing.
    const std::pair<const char *, const char *> odd[] = {
        {"'", "0"}, {"%", "2"}, {"[a]", "0"}, {"a%b", "0"}, {"(", "8"}};
    for (const auto &[text, rows] : odd) {
        typeInto(search, QString::fromLatin1(text));
        EXPECT_EQ(count->text(), QString::fromLatin1(rows)) << text;
    }
    EXPECT_EQ(boxes.count(), 0);

    typeInto(search, QString());
    EXPECT_FALSE(T_Udobra().isFiltered());
    EXPECT_EQ(count->text(), QStringLiteral("17"));
    EXPECT_EQ(calculatorCount()->text(), QStringLiteral("17"));

    // A search typed in the calculator filters this list and this count; the texts stay apart.
    ASSERT_NE(calculatorSearch(), nullptr);
    Form4->show();
    typeInto(calculatorSearch(), QStringLiteral("СУЛЬФАТ"));
    EXPECT_EQ(fertilizers->model()->rowCount(), 5);
    EXPECT_EQ(count->text(), QStringLiteral("5"));
    EXPECT_EQ(calculatorCount()->text(), QStringLiteral("5"));
    EXPECT_TRUE(search->text().isEmpty());

    // The last search typed in either window is the one in force.
    typeInto(search, QStringLiteral("хелат"));
    EXPECT_EQ(calculatorList()->model()->rowCount(), 3);
    EXPECT_EQ(calculatorSearch()->text(), QStringLiteral("СУЛЬФАТ"));
}

TEST_F(FertilizerWindowTest, EachWindowTogglesItsOwnSortMark)
{
    const QStringList own = column(T_Udobra(), "name_udobra");
    ASSERT_NE(calculatorList(), nullptr);
    EXPECT_EQ(mark(), SortMark::Up);
    EXPECT_EQ(calculatorMark(), SortMark::Down);

    clickHeader(fertilizers, "dxDBGrid2Column2"); // the ppm header sorts by name too
    EXPECT_EQ(mark(), SortMark::Down);
    EXPECT_EQ(column(T_Udobra(), "name_udobra"), sorted(own, false));
    EXPECT_EQ(calculatorMark(), SortMark::Down);

    clickHeader(fertilizers, "dxDBGrid2name_udobra");
    EXPECT_EQ(mark(), SortMark::Up);
    EXPECT_EQ(column(T_Udobra(), "name_udobra"), sorted(own, true));

    Form4->show();
    clickHeader(calculatorList(), calculatorList()->columns().first()->name().toLatin1().constData());
    EXPECT_EQ(calculatorMark(), SortMark::Up);
    EXPECT_EQ(column(T_Udobra(), "name_udobra"), sorted(own, true));
    EXPECT_EQ(mark(), SortMark::Up);
    clickHeader(calculatorList(), calculatorList()->columns().first()->name().toLatin1().constData());
    EXPECT_EQ(column(T_Udobra(), "name_udobra"), sorted(own, false));
    EXPECT_EQ(mark(), SortMark::Up);
}

TEST_F(FertilizerWindowTest, TheCycleKeepsTheSearchButDropsTheSort)
{
    typeInto(search, QStringLiteral("сульфат"));
    clickHeader(fertilizers, "dxDBGrid2name_udobra");
    ASSERT_EQ(column(T_Udobra(), "name_udobra"), sorted(column(T_Udobra(), "name_udobra"), false));
    Form2->close();
    EXPECT_FALSE(Form2->isVisible());
    // Back in the query's own order, still searched.
    EXPECT_EQ(column(T_Udobra(), "name_udobra"),
              (QStringList{QStringLiteral("Сульфат калия"), QStringLiteral("Сульфат магния (7-водный)"),
                           QStringLiteral("Сульфат марганца (1-водный)"),
                           QStringLiteral("Сульфат цинка (7-водный)"),
                           QStringLiteral("Сульфат меди (5-водный)")}));
    EXPECT_EQ(mark(), SortMark::Down);
    EXPECT_EQ(count->text(), QStringLiteral("5"));
}

TEST_F(FertilizerWindowTest, ANewFertilizerIsPostedWhenTheGrowerTurnsToItsComposition)
{
    const QString name = QStringLiteral("Тестовое удобрение");
    click(navButton(Form2, "DBNavigator2", NavButton::Insert));
    ASSERT_EQ(T_Udobra().state(), DatasetState::Insert);
    EXPECT_EQ(count->text(), QStringLiteral("18"));
    const int row = T_Udobra().currentRow();
    typeAndEnter(openEditor<QLineEdit>(fertilizers, row, "dxDBGrid2name_udobra"), name);
    typeAndEnter(openEditor<QLineEdit>(fertilizers, row, "dxDBGrid2Column2"), QStringLiteral("300"));
    EXPECT_EQ(storedFertilizers(name), 0);

    QTest::mouseClick(composition->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_EQ(storedFertilizers(name), 1);
    EXPECT_EQ(T_Udobra().state(), DatasetState::Browse);
    const int key = stored("SELECT id_udobra FROM t_udobra WHERE name_udobra = ?", {name}).toInt();
    EXPECT_EQ(T_Udobra().asInteger(QStringLiteral("id_udobra")), key);
    EXPECT_EQ(stored("SELECT ppm FROM t_udobra WHERE id_udobra = ?", {key}).toInt(), 300);

    // Its composition rows take its key.
    click(navButton(Form2, "DBNavigator4", NavButton::Insert));
    ASSERT_EQ(T_Sostav_Udobra().state(), DatasetState::Insert);
    auto *element = openEditor<QComboBox>(composition, 0, "dxDBGrid1name_element");
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->count(), 19); // every element and oxide
    EXPECT_EQ(element->maxVisibleItems(), 19);
    QTest::keyClick(element, Qt::Key_Down);
    typeAndEnter(openEditor<QAbstractSpinBox>(composition, 0, "dxDBGrid1kol_element"),
                 QStringLiteral("12") + systemDecimalSeparator() + QStringLiteral("5"));
    click(navButton(Form2, "DBNavigator4", NavButton::Post));
    EXPECT_EQ(stored("SELECT count(*) FROM T_sostav_udobra WHERE id_udobra = ? AND id_element = 1 "
                     "AND kol_element = 12.5",
                     {key})
                  .toInt(),
              1);
    EXPECT_EQ(composition->model()->data(cell(composition, 0, "dxDBGrid1name_element")).toString(),
              QStringLiteral("N"));
}

TEST_F(FertilizerWindowTest, InsertingACompositionRowPostsThePendingFertilizerFirst)
{
    const QString name = QStringLiteral("Новое");
    click(navButton(Form2, "DBNavigator2", NavButton::Insert));
    typeAndEnter(openEditor<QLineEdit>(fertilizers, T_Udobra().currentRow(), "dxDBGrid2name_udobra"),
                 name);
    click(navButton(Form2, "DBNavigator4", NavButton::Insert));
    ASSERT_EQ(storedFertilizers(name), 1);
    const int key = stored("SELECT id_udobra FROM t_udobra WHERE name_udobra = ?", {name}).toInt();
    // The composition row the grower asked for is there, under the new fertilizer.
    ASSERT_EQ(T_Sostav_Udobra().state(), DatasetState::Insert);
    EXPECT_EQ(T_Sostav_Udobra().asInteger(QStringLiteral("id_udobra")), key);

    // The same for a renamed fertilizer: the rename is posted, the new row stays.
    click(navButton(Form2, "DBNavigator4", NavButton::Post)); // nothing typed: the row goes
    clickCell(fertilizers, 2, "dxDBGrid2name_udobra");
    typeAndEnter(openEditor<QLineEdit>(fertilizers, 2, "dxDBGrid2name_udobra"), QStringLiteral("Переименовано"));
    const int before = T_Sostav_Udobra().recordCount();
    click(navButton(Form2, "DBNavigator4", NavButton::Insert));
    EXPECT_EQ(storedFertilizers(QStringLiteral("Переименовано")), 1);
    EXPECT_EQ(T_Sostav_Udobra().state(), DatasetState::Insert);
    EXPECT_EQ(T_Sostav_Udobra().recordCount(), before + 1);
}

TEST_F(FertilizerWindowTest, APercentageOutsideItsRangeIsBroughtToTheNearestBound)
{
    struct Case
    {
        const char *typed;
        double stored;
    };
    for (const Case &c : {Case{"150", 100.0}, Case{"0", 0.0001}, Case{"-3", 0.0001}, Case{"100", 100.0}}) {
        typeAndEnter(openEditor<QAbstractSpinBox>(composition, 0, "dxDBGrid1kol_element"),
                     QString::fromLatin1(c.typed));
        click(navButton(Form2, "DBNavigator4", NavButton::Post));
        EXPECT_DOUBLE_EQ(stored("SELECT kol_element FROM T_sostav_udobra WHERE id_sostav_udobra = 1")
                             .toDouble(),
                         c.stored)
            << c.typed;
    }
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(FertilizerWindowTest, DeletingThroughEitherBarAsksFirst)
{
    const int rows = T_Sostav_Udobra().recordCount();
    ASSERT_GT(rows, 0);
    for (const char *bar : {"DBNavigator2", "DBNavigator4"}) {
        boxes.expect(BoxButton::Cancel);
        click(navButton(Form2, bar, NavButton::Delete));
        ASSERT_EQ(boxes.count(), 1) << bar;
        EXPECT_EQ(boxes.last().text, QStringLiteral("Delete record?"));
        EXPECT_EQ(boxes.last().buttons, (QList<BoxButton>{BoxButton::Ok, BoxButton::Cancel}));
        boxes.clear();
    }
    EXPECT_EQ(stored("SELECT count(*) FROM t_udobra").toInt(), 17);
    EXPECT_EQ(T_Sostav_Udobra().recordCount(), rows);

    boxes.expect(BoxButton::Ok);
    click(navButton(Form2, "DBNavigator4", NavButton::Delete));
    EXPECT_EQ(T_Sostav_Udobra().recordCount(), rows - 1);
    boxes.expect(BoxButton::Ok);
    click(navButton(Form2, "DBNavigator2", NavButton::Delete));
    EXPECT_EQ(stored("SELECT count(*) FROM t_udobra").toInt(), 16);
    EXPECT_EQ(count->text(), QStringLiteral("16"));
}

TEST_F(FertilizerWindowTest, RefusedValuesAreReportedAndTheRowKeepsItsValues)
{
    boxes.expect(BoxButton::Ok);
    typeAndEnter(openEditor<QLineEdit>(fertilizers, 1, "dxDBGrid2Column2"), QStringLiteral("6x"));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text,
              QStringLiteral("T_Udobra: '6x' is not a valid integer value for field 'ppm'"));
    EXPECT_EQ(T_Udobra().asInteger(QStringLiteral("ppm")), 624);
    boxes.clear();

    boxes.expect(BoxButton::Ok);
    typeAndEnter(openEditor<QLineEdit>(fertilizers, 1, "dxDBGrid2name_udobra"), QString(51, u'ы'));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("T_Udobra: Поле \"name_udobra\" вмещает не больше "
                                                "50 знаков, а в тексте их 51."));
    EXPECT_EQ(T_Udobra().asString(QStringLiteral("name_udobra")), QStringLiteral("Калиевая селитра"));
    EXPECT_EQ(storedFertilizers(QStringLiteral("Калиевая селитра")), 1);
}

TEST_F(FertilizerWindowTest, ClosingDropsAnEditNotYetPosted)
{
    typeAndEnter(openEditor<QLineEdit>(fertilizers, 3, "dxDBGrid2name_udobra"), QStringLiteral("Изменено"));
    ASSERT_EQ(T_Udobra().state(), DatasetState::Edit);
    // A second one still in its editor when the window closes.
    auto *open = openEditor<QLineEdit>(fertilizers, 3, "dxDBGrid2Column2");
    ASSERT_NE(open, nullptr);
    QTest::keyClicks(open, QStringLiteral("9"));

    Form2->close();
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_EQ(storedFertilizers(QStringLiteral("Изменено")), 0);
    EXPECT_EQ(stored("SELECT ppm FROM t_udobra WHERE id_udobra = 4").toInt(), 350);
    EXPECT_EQ(stored("SELECT ppm FROM t_udobra WHERE id_udobra = 1").toInt(), 589);
    EXPECT_EQ(T_Udobra().state(), DatasetState::Browse);
    EXPECT_EQ(T_Udobra().currentRow(), 0);
}

TEST_F(FertilizerWindowTest, TheSearchEditFollowsItsWidthRules)
{
    auto *bar = control<QWidget>(Form2, QStringLiteral("Panel1"));
    auto *group = control<QGroupBox>(Form2, QStringLiteral("GroupBox1"));
    auto *right = control<QGroupBox>(Form2, QStringLiteral("GroupBox4"));
    auto *splitter = control<Splitter>(Form2, QStringLiteral("RzSplitter1"));
    EXPECT_EQ(search->width(), bar->width() - 80);

    const int rightWidth = right->width();
    const int position = splitter->position();
    Form2->resize(Form2->width() + 100, Form2->height());
    EXPECT_EQ(search->width(), group->width() / 2 - 90);
    EXPECT_EQ(right->width(), rightWidth);
    EXPECT_EQ(splitter->position(), position + 100);

    splitter->setPosition(position + 40);
    EXPECT_EQ(search->width(), bar->width() - 80);
    EXPECT_EQ(right->width(), rightWidth + 60);
}

TEST_F(FertilizerWindowTest, TheConverterButtonShowsTheConverter)
{
    auto *button = control<QPushButton>(Form2, QStringLiteral("Button1"));
    EXPECT_EQ(button->text(), QStringLiteral("КОНВЕРТЕР"));
    click(button);
    EXPECT_TRUE(F_Converter->isVisible());
    EXPECT_TRUE(Form2->isVisible());
}

} // namespace
