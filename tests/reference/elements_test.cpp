#include "referenceprogram.h"

#include "reference/tform3.h"
#include "reference/tform6.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

class ElementWindowTest : public ReferenceProgram
{
protected:
    void SetUp() override
    {
        ReferenceProgram::SetUp();
        showWindow(Form3);
        elements = control<DataGrid>(Form3, "dxDBGrid1");
    }

    Dataset &T_Element() { return data().form3.T_Element; }
    int rowOf(int id) { return int(column(T_Element(), "id_element").indexOf(QString::number(id))); }
    void pressDelete() { click(control<QPushButton>(Form3, "Button4")); }
    static bool elementStored(int id)
    {
        return stored("SELECT count(*) FROM T_element WHERE id_element = ?", {id}).toInt() == 1;
    }

    void expectBox(const char *text, const char *caption, QList<BoxButton> buttons)
    {
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.last().text, QString::fromUtf8(text));
        EXPECT_EQ(boxes.last().caption, QString::fromUtf8(caption));
        EXPECT_EQ(boxes.last().icon, BoxIcon::None);
        EXPECT_EQ(boxes.last().buttons, buttons);
        boxes.clear();
    }

    DataGrid *elements = nullptr;
};

TEST_F(ElementWindowTest, KeyElementsAreRefusedAndOthersAskFirst)
{
    const int count = stored("SELECT count(*) FROM T_element").toInt();
    for (int id = TForm3::FirstKeyElement; id <= TForm3::LastKeyElement; ++id) {
        clickCell(elements, rowOf(id), "dxDBGrid1Smallname_element");
        boxes.expect(BoxButton::Ok);
        pressDelete();
        expectBox("нельзя удалить ключевой элемент!", "сообщение", {BoxButton::Ok});
        EXPECT_TRUE(elementStored(id));
    }
    clickCell(elements, rowOf(7), "dxDBGrid1Smallname_element");
    boxes.expect(BoxButton::No);
    pressDelete();
    expectBox("удалить?", "подтверждение", {BoxButton::Yes, BoxButton::No});
    EXPECT_TRUE(elementStored(7));
    boxes.expect(BoxButton::Yes);
    pressDelete();
    EXPECT_FALSE(elementStored(7));
    EXPECT_EQ(T_Element().recordCount(), count - 1);
}

TEST_F(ElementWindowTest, DeleteDoesNothingAfterCtrlEndOrOnAnEmptyTable)
{
    const int last = stored("SELECT max(id_element) FROM T_element").toInt();
    const int beforeLast = stored("SELECT max(id_element) FROM T_element WHERE id_element < "
                                  "(SELECT max(id_element) FROM T_element)").toInt();
    clickCell(elements, 8, "dxDBGrid1Smallname_element");
    QTest::keyClick(elements, Qt::Key_End, Qt::ControlModifier);
    ASSERT_EQ(T_Element().asInteger(QStringLiteral("id_element")), last);
    pressDelete();
    EXPECT_EQ(boxes.count(), 0);

    QTest::keyClick(elements, Qt::Key_Up); // another row: the button works again
    boxes.expect(BoxButton::Yes);
    pressDelete();
    expectBox("удалить?", "подтверждение", {BoxButton::Yes, BoxButton::No});
    EXPECT_FALSE(elementStored(beforeLast));
    EXPECT_TRUE(elementStored(last));

    exec("DELETE FROM T_element");
    Form3->close(); // the database cycle reads the empty table
    showWindow(Form3);
    pressDelete();
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ElementWindowTest, EditorsOfTheElementGrid)
{
    EXPECT_EQ(Form3->windowTitle(), QStringLiteral("Справочник элементов"));
    EXPECT_EQ(control<QGroupBox>(Form3, "GroupBox2")->title(), QStringLiteral("Список элементов:"));
    EXPECT_EQ(control<NavBar>(Form3, "DBNavigator2")->buttons(),
              (QList<NavButton>{NavButton::Insert, NavButton::Post}));

    const int fe = rowOf(7);
    clickCell(elements, fe, "dxDBGrid1Column5");
    QTest::keyClick(elements, Qt::Key_Space); // "Оксид" ticked
    auto *coefficient = openEditor<QComboBox>(elements, fe, "dxDBGrid1Column6");
    ASSERT_NE(coefficient, nullptr);
    EXPECT_EQ(coefficient->count(), 7);
    EXPECT_EQ(coefficient->maxVisibleItems(), 22);
    QTest::keyClick(coefficient, Qt::Key_Down);
    // The text editors stop typing at the field's length, so the post cannot refuse the row.
    typeAndEnter(openEditor(elements, fe, "dxDBGrid1fullname_element"), QString(51, u'ж'));
    typeAndEnter(openEditor(elements, fe, "dxDBGrid1Smallname_element"), QStringLiteral("Fe23456789AB"));
    press(Form3, "DBNavigator2", NavButton::Post);
    EXPECT_EQ(boxes.count(), 0);

    EXPECT_EQ(stored("SELECT kof FROM T_element WHERE id_element = 7").toInt(), 1);
    EXPECT_EQ(stored("SELECT id_kof FROM T_element WHERE id_element = 7").toInt(), 1);
    EXPECT_EQ(stored("SELECT fullname_element FROM T_element WHERE id_element = 7").toString(),
              QString(50, u'ж'));
    EXPECT_EQ(stored("SELECT Smallname_element FROM T_element WHERE id_element = 7").toString(),
              QStringLiteral("Fe23456789"));
    EXPECT_EQ(elements->model()->data(cell(elements, fe, "dxDBGrid1Column6")).toString(),
              QStringLiteral("P2O5 -> P"));
}

class CoefficientWindowTest : public ElementWindowTest
{
protected:
    void SetUp() override
    {
        ElementWindowTest::SetUp();
        click(control<QPushButton>(Form3, "Button5"));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form6));
        coefficients = control<DataGrid>(Form6, "dxDBGrid1");
        picker = control<QComboBox>(Form6, "DBLookupComboBox1");
    }

    QStringList offered() const
    {
        QStringList out;
        for (int i = 0; i < picker->count(); ++i)
            out.append(picker->itemText(i));
        return out;
    }

    DataGrid *coefficients = nullptr;
    QComboBox *picker = nullptr;
};

TEST_F(CoefficientWindowTest, ThePickerOffersTheCalculatorsNonOxidesAndStoresTheKey)
{
    EXPECT_EQ(Form6->windowTitle(), QStringLiteral("Спарвочник коэффициентов"));
    EXPECT_EQ(offered().size(), stored("SELECT count(*) FROM T_element WHERE kof = 0").toInt());
    clickCell(coefficients, 1, "dxDBGrid1name_kof"); // K2O -> K
    EXPECT_EQ(picker->currentText(), QStringLiteral("K"));
    picker->setFocus();
    QTest::keyClick(picker, Qt::Key_Down);
    press(Form6, "DBNavigator1", NavButton::Post);
    EXPECT_EQ(stored("SELECT id_element FROM t_kof WHERE id_kof = 2").toInt(), 4); // Ca

    // A coefficient yielding an oxide or a deleted element shows an empty picker.
    exec("UPDATE t_kof SET id_element = 13 WHERE id_kof = 1");
    exec("UPDATE t_kof SET id_element = 99 WHERE id_kof = 2");
    Form3->close();
    for (int row : {0, 1}) {
        clickCell(coefficients, row, "dxDBGrid1name_kof");
        EXPECT_EQ(picker->currentIndex(), -1) << row;
    }
}

TEST_F(CoefficientWindowTest, ThePickerSeesElementChangesOnlyAfterTheDatabaseCycle)
{
    press(Form3, "DBNavigator2", NavButton::Insert);
    typeAndEnter(openEditor(elements, T_Element().currentRow(), "dxDBGrid1Smallname_element"),
                 QStringLiteral("Se"));
    press(Form3, "DBNavigator2", NavButton::Post);
    clickCell(elements, rowOf(9), "dxDBGrid1Column5");
    QTest::keyClick(elements, Qt::Key_Space); // Zn becomes an oxide
    press(Form3, "DBNavigator2", NavButton::Post);
    ASSERT_EQ(stored("SELECT count(*) FROM T_element WHERE Smallname_element = 'Se'").toInt(), 1);
    ASSERT_EQ(stored("SELECT kof FROM T_element WHERE id_element = 9").toInt(), 1);
    EXPECT_FALSE(offered().contains(QStringLiteral("Se")));
    EXPECT_TRUE(offered().contains(QStringLiteral("Zn")));

    click(control<QPushButton>(Form3, "Button6")); // "выход"
    EXPECT_FALSE(Form3->isVisible());
    EXPECT_TRUE(offered().contains(QStringLiteral("Se")));
    EXPECT_FALSE(offered().contains(QStringLiteral("Zn")));
}

TEST_F(CoefficientWindowTest, ClosingTheCoefficientWindowNeitherSavesTheLayoutNorCycles)
{
    QFile::remove(QStringLiteral("size.ini"));
    typeAndEnter(openEditor(coefficients, 0, "dxDBGrid1name_kof"), QStringLiteral("P2O5 => P"));
    click(control<QPushButton>(Form6, "Button1")); // "выход"
    EXPECT_FALSE(Form6->isVisible());
    EXPECT_FALSE(QFile::exists(QStringLiteral("size.ini")));
    ASSERT_EQ(data().form3.T_KOF.state(), DatasetState::Edit); // nothing closed under the edit

    click(control<QPushButton>(Form3, "Button5"));
    press(Form6, "DBNavigator1", NavButton::Post);
    EXPECT_EQ(stored("SELECT name_kof FROM t_kof WHERE id_kof = 1").toString(), QStringLiteral("P2O5 => P"));

    // A name stops at its field's 50 characters while it is typed.
    typeAndEnter(openEditor(coefficients, 1, "dxDBGrid1name_kof"), QString(51, u'к'));
    press(Form6, "DBNavigator1", NavButton::Post);
    EXPECT_EQ(stored("SELECT name_kof FROM t_kof WHERE id_kof = 2").toString(), QString(50, u'к'));
    EXPECT_EQ(boxes.count(), 0);
}

} // namespace
