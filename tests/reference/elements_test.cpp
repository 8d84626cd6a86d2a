#include "referenceprogram.h"

#include "reference/tform3.h"
#include "reference/tform6.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>

namespace {

class ElementWindowTest : public ReferenceProgram
{
protected:
    void SetUp() override
    {
        ReferenceProgram::SetUp();
        showWindow(Form3);
        elements = grid(Form3, "dxDBGrid1");
        ASSERT_NE(elements, nullptr);
    }

    Dataset &T_Element() { return data().form3.T_Element; }
    Dataset &T_KOF() { return data().form3.T_KOF; }

    int elementRow(int id)
    {
        const QStringList ids = column(T_Element(), "id_element");
        return int(ids.indexOf(QString::number(id)));
    }

    void pressDelete() { click(control<QPushButton>(Form3, QStringLiteral("Button4"))); }

    static int storedElements()
    {
        return stored("SELECT count(*) FROM T_element").toInt();
    }

    static bool elementStored(int id)
    {
        return stored("SELECT count(*) FROM T_element WHERE id_element = ?", {id}).toInt() == 1;
    }

    DataGrid *elements = nullptr;
};

const BoxRequest KeyElementBox{QStringLiteral("нельзя удалить ключевой элемент!"),
                               QStringLiteral("сообщение"), BoxIcon::None, {BoxButton::Ok}};
const BoxRequest ConfirmBox{QStringLiteral("удалить?"), QStringLiteral("подтверждение"),
                            BoxIcon::None, {BoxButton::Yes, BoxButton::No}};

void expectBox(const BoxRequest &shown, const BoxRequest &expected)
{
    EXPECT_EQ(shown.text, expected.text);
    EXPECT_EQ(shown.caption, expected.caption);
    EXPECT_EQ(shown.icon, expected.icon);
    EXPECT_EQ(shown.buttons, expected.buttons);
}

TEST_F(ElementWindowTest, EveryNamedControlIsInPlace)
{
    EXPECT_EQ(Form3->windowTitle(), QStringLiteral("Справочник элементов"));
    EXPECT_EQ(control<QGroupBox>(Form3, QStringLiteral("GroupBox2"))->title(),
              QStringLiteral("Список элементов:"));
    const std::pair<const char *, const char *> buttons[] = {
        {"Button4", "удалить"}, {"Button5", "коэффициэнты"}, {"Button6", "выход"}};
    for (const auto &[name, caption] : buttons)
        EXPECT_EQ(control<QPushButton>(Form3, QString::fromLatin1(name))->text(), QString::fromUtf8(caption));
    EXPECT_EQ(control<NavBar>(Form3, QStringLiteral("DBNavigator2"))->buttons(),
              (QList<NavButton>{NavButton::Insert, NavButton::Post}));
    const std::pair<const char *, const char *> columns[] = {
        {"dxDBGrid1Smallname_element", "Обозн."}, {"dxDBGrid1fullname_element", "Полное название"},
        {"dxDBGrid1Column5", "Оксид"}, {"dxDBGrid1Column6", "Коэффициент"}};
    for (const auto &[name, caption] : columns)
        EXPECT_EQ(elements->column(QString::fromLatin1(name))->caption(), QString::fromUtf8(caption));
}

TEST_F(ElementWindowTest, KeyElementsAreRefusedAndOthersAskFirst)
{
    ASSERT_EQ(storedElements(), 19);
    for (int id = TForm3::FirstKeyElement; id <= TForm3::LastKeyElement; ++id) {
        clickCell(elements, elementRow(id), "dxDBGrid1Smallname_element");
        boxes.clear();
        boxes.expect(BoxButton::Ok);
        pressDelete();
        ASSERT_EQ(boxes.count(), 1) << "element " << id;
        expectBox(boxes.last(), KeyElementBox);
        EXPECT_TRUE(elementStored(id));
    }

    clickCell(elements, elementRow(7), "dxDBGrid1Smallname_element");
    boxes.clear();
    boxes.expect(BoxButton::No);
    pressDelete();
    ASSERT_EQ(boxes.count(), 1);
    expectBox(boxes.last(), ConfirmBox);
    EXPECT_TRUE(elementStored(7));

    boxes.expect(BoxButton::Yes);
    pressDelete();
    EXPECT_FALSE(elementStored(7));
    EXPECT_EQ(storedElements(), 18);
    EXPECT_EQ(T_Element().recordCount(), 18);
}

TEST_F(ElementWindowTest, DeleteDoesNothingRightAfterCtrlEndUntilAnotherRowIsChosen)
{
    clickCell(elements, 8, "dxDBGrid1Smallname_element");
    elements->setFocus();
    QTest::keyClick(elements, Qt::Key_End, Qt::ControlModifier);
    ASSERT_EQ(T_Element().asInteger(QStringLiteral("id_element")), 19);
    pressDelete();
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_TRUE(elementStored(19));

    elements->setFocus();
    QTest::keyClick(elements, Qt::Key_Up);
    ASSERT_EQ(T_Element().asInteger(QStringLiteral("id_element")), 18);
    boxes.expect(BoxButton::Yes);
    pressDelete();
    ASSERT_EQ(boxes.count(), 1);
    expectBox(boxes.last(), ConfirmBox);
    EXPECT_FALSE(elementStored(18));
    EXPECT_TRUE(elementStored(19));
}

TEST_F(ElementWindowTest, DeleteOnAnEmptyTableShowsNothing)
{
    execute("DELETE FROM T_element");
    Form3->close(); // the database cycle reads the empty table
    showWindow(Form3);
    ASSERT_EQ(T_Element().recordCount(), 0);
    pressDelete();
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ElementWindowTest, TheGridsOwnDeleteKeyIsNotGuarded)
{
    clickCell(elements, elementRow(2), "dxDBGrid1Smallname_element");
    boxes.expect(BoxButton::Ok);
    QTest::keyClick(elements, Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("Delete record?"));
    EXPECT_FALSE(elementStored(2));
}

TEST_F(ElementWindowTest, ANameTooLongIsRefusedAndTheRowKeepsItsName)
{
    auto *editor = openEditor<QLineEdit>(elements, elementRow(7), "dxDBGrid1fullname_element");
    ASSERT_NE(editor, nullptr);
    boxes.expect(BoxButton::Ok);
    typeAndEnter(editor, QString(51, u'ж'));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("T_Element: Поле \"fullname_element\" вмещает не "
                                                "больше 50 знаков, а в тексте их 51."));
    EXPECT_EQ(boxes.last().icon, BoxIcon::Error);
    EXPECT_EQ(T_Element().asString(QStringLiteral("fullname_element")), QStringLiteral("Железо"));

    // Fifty fit.
    editor = openEditor<QLineEdit>(elements, elementRow(7), "dxDBGrid1fullname_element");
    ASSERT_NE(editor, nullptr);
    typeAndEnter(editor, QString(50, u'ж'));
    click(navButton(Form3, "DBNavigator2", NavButton::Post));
    EXPECT_EQ(stored("SELECT fullname_element FROM T_element WHERE id_element = 7").toString(),
              QString(50, u'ж'));
}

TEST_F(ElementWindowTest, OxideFlagAndCoefficientAreEditedInPlace)
{
    const int row = elementRow(7); // Fe, no coefficient
    clickCell(elements, row, "dxDBGrid1Column5");
    QTest::keyClick(elements, Qt::Key_Space);
    EXPECT_EQ(T_Element().state(), DatasetState::Edit);

    auto *coefficient = openEditor<QComboBox>(elements, row, "dxDBGrid1Column6");
    ASSERT_NE(coefficient, nullptr);
    EXPECT_EQ(coefficient->count(), 7);
    EXPECT_EQ(coefficient->maxVisibleItems(), 22);
    QTest::keyClick(coefficient, Qt::Key_Down); // the first coefficient
    click(navButton(Form3, "DBNavigator2", NavButton::Post));

    EXPECT_EQ(stored("SELECT kof FROM T_element WHERE id_element = 7").toInt(), 1);
    EXPECT_EQ(stored("SELECT id_kof FROM T_element WHERE id_element = 7").toInt(), 1);
    EXPECT_EQ(elements->model()->data(cell(elements, row, "dxDBGrid1Column6")).toString(),
              QStringLiteral("P2O5 -> P"));
}

class CoefficientWindowTest : public ElementWindowTest
{
protected:
    void SetUp() override
    {
        ElementWindowTest::SetUp();
        click(control<QPushButton>(Form3, QStringLiteral("Button5")));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form6));
        coefficients = grid(Form6, "dxDBGrid1");
        picker = control<QComboBox>(Form6, QStringLiteral("DBLookupComboBox1"));
        ASSERT_TRUE(coefficients && picker);
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

TEST_F(CoefficientWindowTest, ThePickerShowsTheCoefficientsElement)
{
    EXPECT_EQ(Form6->windowTitle(), QStringLiteral("Спарвочник коэффициентов"));
    EXPECT_EQ(control<QGroupBox>(Form6, QStringLiteral("GroupBox1"))->title(),
              QStringLiteral("Список Коэффициентов:"));
    EXPECT_EQ(control<NavBar>(Form6, QStringLiteral("DBNavigator1"))->buttons(),
              (QList<NavButton>{NavButton::Insert, NavButton::Delete, NavButton::Post}));
    EXPECT_EQ(coefficients->column(QStringLiteral("dxDBGrid1name_kof"))->caption(),
              QStringLiteral("Название коэффициента"));
    EXPECT_EQ(coefficients->column(QStringLiteral("dxDBGrid1kof"))->caption(),
              QStringLiteral("Значение коэффц."));
    EXPECT_EQ(offered().size(), 12); // the non-oxides
    clickCell(coefficients, 1, "dxDBGrid1name_kof"); // K2O -> K
    EXPECT_EQ(picker->currentText(), QStringLiteral("K"));

    // Picking stores the element's key in the coefficient, posted by the bar.
    picker->setFocus();
    QTest::keyClick(picker, Qt::Key_Down);
    EXPECT_EQ(picker->currentText(), QStringLiteral("Ca"));
    EXPECT_EQ(T_KOF().state(), DatasetState::Edit);
    click(navButton(Form6, "DBNavigator1", NavButton::Post));
    EXPECT_EQ(stored("SELECT id_element FROM t_kof WHERE id_kof = 2").toInt(), 4);
}

TEST_F(CoefficientWindowTest, APickerOverAnOxideOrADeletedElementIsEmpty)
{
    execute("UPDATE t_kof SET id_element = 13 WHERE id_kof = 1"); // P2O5, an oxide
    execute("UPDATE t_kof SET id_element = 99 WHERE id_kof = 2"); // no such element
    Form3->close();
    for (int row : {0, 1}) {
        clickCell(coefficients, row, "dxDBGrid1name_kof");
        EXPECT_EQ(picker->currentIndex(), -1) << row;
        EXPECT_TRUE(picker->currentText().isEmpty()) << row;
    }
    clickCell(coefficients, 2, "dxDBGrid1name_kof");
    EXPECT_EQ(picker->currentText(), QStringLiteral("Ca"));
}

TEST_F(CoefficientWindowTest, ANewElementReachesThePickerOnlyAfterTheDatabaseCycle)
{
    click(navButton(Form3, "DBNavigator2", NavButton::Insert));
    auto *symbol = openEditor<QLineEdit>(elements, T_Element().currentRow(),
                                         "dxDBGrid1Smallname_element");
    ASSERT_NE(symbol, nullptr);
    typeAndEnter(symbol, QStringLiteral("Si"));
    click(navButton(Form3, "DBNavigator2", NavButton::Post));
    ASSERT_EQ(stored("SELECT count(*) FROM T_element WHERE Smallname_element = 'Si'").toInt(), 1);
    EXPECT_FALSE(offered().contains(QStringLiteral("Si")));

    click(control<QPushButton>(Form3, QStringLiteral("Button6"))); // "выход"
    EXPECT_FALSE(Form3->isVisible());
    EXPECT_TRUE(offered().contains(QStringLiteral("Si")));
    EXPECT_EQ(offered().size(), 13);
}

TEST_F(CoefficientWindowTest, AnElementMarkedAsOxideLeavesThePickerAtTheCycle)
{
    clickCell(elements, elementRow(9), "dxDBGrid1Column5"); // Zn
    QTest::keyClick(elements, Qt::Key_Space);
    click(navButton(Form3, "DBNavigator2", NavButton::Post));
    ASSERT_EQ(stored("SELECT kof FROM T_element WHERE id_element = 9").toInt(), 1);
    EXPECT_TRUE(offered().contains(QStringLiteral("Zn")));

    Form3->close();
    EXPECT_FALSE(offered().contains(QStringLiteral("Zn")));
}

TEST_F(CoefficientWindowTest, ClosingTheCoefficientWindowNeitherSavesNorCycles)
{
    QFile::remove(QStringLiteral("size.ini"));
    auto *name = openEditor<QLineEdit>(coefficients, 0, "dxDBGrid1name_kof");
    ASSERT_NE(name, nullptr);
    typeAndEnter(name, QStringLiteral("P2O5 => P"));
    ASSERT_EQ(T_KOF().state(), DatasetState::Edit);

    click(control<QPushButton>(Form6, QStringLiteral("Button1"))); // "выход"
    EXPECT_FALSE(Form6->isVisible());
    EXPECT_FALSE(QFile::exists(QStringLiteral("size.ini")));
    // The edit is still pending: nothing was closed under it.
    EXPECT_EQ(T_KOF().state(), DatasetState::Edit);
    EXPECT_EQ(T_KOF().asString(QStringLiteral("name_kof")), QStringLiteral("P2O5 => P"));
    click(control<QPushButton>(Form3, QStringLiteral("Button5")));
    click(navButton(Form6, "DBNavigator1", NavButton::Post));
    EXPECT_EQ(stored("SELECT name_kof FROM t_kof WHERE id_kof = 1").toString(),
              QStringLiteral("P2O5 => P"));
}

TEST_F(CoefficientWindowTest, DeletingACoefficientAsksAndEmptiesItsElementsColumn)
{
    clickCell(coefficients, 0, "dxDBGrid1name_kof");
    boxes.expect(BoxButton::Cancel);
    click(navButton(Form6, "DBNavigator1", NavButton::Delete));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("Delete record?"));
    EXPECT_EQ(boxes.last().caption, QStringLiteral("Confirm"));
    EXPECT_EQ(stored("SELECT count(*) FROM t_kof").toInt(), 7);

    boxes.expect(BoxButton::Ok);
    click(navButton(Form6, "DBNavigator1", NavButton::Delete));
    EXPECT_EQ(stored("SELECT count(*) FROM t_kof").toInt(), 6);
    // P2O5 used it: its coefficient now shows empty.
    EXPECT_TRUE(elements->model()->data(cell(elements, elementRow(13), "dxDBGrid1Column6"))
                    .toString()
                    .isEmpty());
}

TEST_F(CoefficientWindowTest, TheFactorHasNoBoundsAndStepsByAHundredth)
{
    auto *factor = openEditor<QAbstractSpinBox>(coefficients, 0, "dxDBGrid1kof");
    ASSERT_NE(factor, nullptr);
    QTest::keyClick(factor, Qt::Key_Up);
    QTest::keyClick(factor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_DOUBLE_EQ(T_KOF().asFloat(QStringLiteral("kof")), 0.4464);

    factor = openEditor<QAbstractSpinBox>(coefficients, 0, "dxDBGrid1kof");
    ASSERT_NE(factor, nullptr);
    typeAndEnter(factor, QStringLiteral("-12345"));
    click(navButton(Form6, "DBNavigator1", NavButton::Post));
    EXPECT_DOUBLE_EQ(stored("SELECT kof FROM t_kof WHERE id_kof = 1").toDouble(), -12345.0);
}

} // namespace
