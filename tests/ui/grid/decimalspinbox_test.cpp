#include "gridfixture.h"

#include "calc/run/numbers.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/decimalspinbox.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

// Typed text as the system writes numbers: "12.5" with the system's decimal separator.
QString typed(const char *text)
{
    return QString::fromLatin1(text).replace(u'.', systemDecimalSeparator());
}

class DecimalSpinBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        spin.setMaxDecimals(4);
        spin.setRange(0.0001, 100);
        spin.setSingleStep(0.0001);
        spin.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&spin));
        spin.setFocus();
    }

    QVariant typeAndRead(const QString &text)
    {
        spin.setExactValue(1.0);
        spin.selectAll();
        QTest::keyClicks(&spin, text);
        return spin.readValue();
    }

    DecimalSpinBox spin;
};

TEST_F(DecimalSpinBoxTest, TypedValuesOutsideTheRangeGoToTheNearestBound)
{
    const struct { const char *text; double expected; } cases[] = {
        {"150", 100}, {"100.5", 100}, {"0", 0.0001}, {"-3", 0.0001},
        {"0.00005", 0.0001}, {"12.5", 12.5}, {"0.0001", 0.0001},
    };
    for (const auto &c : cases) {
        const QVariant v = typeAndRead(typed(c.text));
        EXPECT_DOUBLE_EQ(v.toDouble(), c.expected) << c.text;
    }
}

TEST_F(DecimalSpinBoxTest, RefusesKeysRatherThanCuttingDigits)
{
    spin.setExactValue(QVariant());
    QTest::keyClicks(&spin, typed("12.345678"));
    EXPECT_EQ(spin.text(), typed("12.3456"));
    spin.selectAll();
    QTest::keyClicks(&spin, QStringLiteral("1x2"));
    EXPECT_EQ(spin.text(), QStringLiteral("12"));

    DecimalSpinBox whole;
    whole.setMaxDecimals(0);
    whole.setRange(0, 1000);
    whole.setExactValue(QVariant());
    QTest::keyClicks(&whole, typed("7.5"));
    EXPECT_EQ(whole.text(), QStringLiteral("75"));
}

TEST_F(DecimalSpinBoxTest, AStoredValueIsShownWholeAndKeptUntilEdited)
{
    DecimalSpinBox narrow;
    narrow.setMaxDecimals(2);
    narrow.setRange(0, 100);
    narrow.setExactValue(0.123456);
    EXPECT_EQ(narrow.text(), typed("0.123456"));
    EXPECT_FALSE(narrow.isEdited());
    EXPECT_DOUBLE_EQ(narrow.readValue().toDouble(), 0.123456);

    // Outside the range too: shown and kept as stored.
    narrow.setExactValue(250.0);
    EXPECT_EQ(narrow.text(), QStringLiteral("250"));
    EXPECT_DOUBLE_EQ(narrow.readValue().toDouble(), 250.0);

    narrow.setExactValue(QVariant());
    EXPECT_EQ(narrow.text(), QString());
    EXPECT_TRUE(narrow.readValue().isNull());
}

TEST_F(DecimalSpinBoxTest, StepsStayInsideTheRangeAndEveryChangeIsReported)
{
    QSignalSpy changes(&spin, &DecimalSpinBox::userChanged);
    spin.setExactValue(99.9999);
    EXPECT_EQ(changes.count(), 0);
    QTest::keyClick(&spin, Qt::Key_Up);
    QTest::keyClick(&spin, Qt::Key_Up); // at the bound: no step, no change
    EXPECT_EQ(spin.text(), QStringLiteral("100"));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_DOUBLE_EQ(spin.readValue().toDouble(), 100);

    spin.setSingleStep(0.01);
    spin.setExactValue(0.1);
    QTest::keyClick(&spin, Qt::Key_Up);
    EXPECT_EQ(spin.text(), typed("0.11"));
    EXPECT_EQ(spin.readValue().toDouble(), 0.11); // the value shown, not 0.1 + 0.01

    spin.selectAll();
    QTest::keyClicks(&spin, QStringLiteral("42"));
    EXPECT_EQ(changes.count(), 4);
}

// Through a grid: the bounded editor of a percentage column.
class SpinColumnTest : public GridFixture
{
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        grid = std::make_unique<DataGrid>(QStringLiteral("dxDBGrid1"), &kofBinding);
        grid->addColumn(QStringLiteral("dxDBGrid1name_kof"), QStringLiteral("name_kof"));
        column = grid->addColumn(QStringLiteral("dxDBGrid1kol_element"), QStringLiteral("kof"),
                                 QStringLiteral("Кол-во, %"),
                                 ColumnEditor::spin(0.0001, 0.0001, 100, 4));
        grid->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    }

    DecimalSpinBox *openEditor(int row)
    {
        const QModelIndex index = grid->model()->index(row, 1);
        grid->setCurrentIndex(index);
        grid->edit(index);
        return grid->viewport()->findChild<DecimalSpinBox *>();
    }

    void commitAndClose(DecimalSpinBox *spin)
    {
        QTest::keyClick(spin, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    std::unique_ptr<DataGrid> grid;
    DataGridColumn *column = nullptr;
};

TEST_F(SpinColumnTest, ATypedValueAboveTheRangeIsStoredAsTheBound)
{
    DecimalSpinBox *spin = openEditor(2);
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->minimum(), 0.0001);
    EXPECT_EQ(spin->maximum(), 100);
    spin->selectAll();
    QTest::keyClicks(spin, QStringLiteral("150"));
    commitAndClose(spin);
    EXPECT_DOUBLE_EQ(kof.asFloat(QStringLiteral("kof")), 100);
    EXPECT_EQ(grid->model()->index(2, 1).data().toString(), QStringLiteral("100"));
}

TEST_F(SpinColumnTest, LeavingAnUntouchedEditorChangesNothing)
{
    column->setEditor(ColumnEditor::spin(0.01, 0, 1, 2));
    DecimalSpinBox *spin = openEditor(0);
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->text(), typed("0.8301"));
    commitAndClose(spin);
    EXPECT_EQ(kof.state(), DatasetState::Browse);
    EXPECT_DOUBLE_EQ(kof.asFloat(QStringLiteral("kof")), 0.8301);
}

// What a grower types into a cell is what is stored, whichever way the editor opens and
// whichever mark the decimals carry (this test also runs under a Russian locale).
TEST_F(SpinColumnTest, TypingIntoACellStoresExactlyWhatWasTypedWithEitherDecimalMark)
{
    column->setEditor(ColumnEditor::unboundedSpin(0.01, 4));
    enum Opening { ByTyping, ByF2, ByDoubleClick };
    const struct
    {
        Opening opening;
        bool empty; // the cell holds no value
        const char *typed;
        double stored;
    } cases[] = {
        {ByTyping, true, "1", 1},        {ByF2, true, "40", 40},
        {ByDoubleClick, true, "5", 5},   {ByTyping, true, "0.5", 0.5},
        {ByTyping, true, "0,5", 0.5},    {ByF2, false, "0.25", 0.25},
        {ByF2, false, "0,25", 0.25},     {ByDoubleClick, false, "7", 7},
        {ByTyping, false, "3", 3},       {ByDoubleClick, true, "2,75", 2.75},
    };
    const int row = 2;
    const QModelIndex index = grid->model()->index(row, 1);
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " opened " + std::to_string(int(c.opening))
                     + (c.empty ? " into an empty cell" : " over a value"));
        exec(conn, "UPDATE t_kof SET kof = ? WHERE id_kof = 3", {c.empty ? QVariant() : QVariant(9.5)});
        kof.close();
        GRID_LAYER_OK(kof.open());
        grid->setFocus();
        grid->setCurrentIndex(index);
        ASSERT_EQ(kof.currentRow(), row);
        QWidget *target = grid.get();
        if (c.opening == ByF2) {
            QTest::keyClick(grid.get(), Qt::Key_F2);
        } else if (c.opening == ByDoubleClick) {
            const QPoint at = grid->visualRect(index).center();
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        }
        if (c.opening != ByTyping) {
            target = grid->indexWidget(index);
            ASSERT_NE(target, nullptr) << "no editor";
            const auto *edit = target->findChild<QLineEdit *>();
            // Typing replaces what an editor opens with: nothing, or the value selected.
            EXPECT_TRUE(edit->text().isEmpty() || edit->selectedText() == edit->text())
                << edit->text().toStdString();
        }
        // Key by key to whatever has the focus, as a keyboard types: the first key typed into the
        // grid opens the editor, the rest go into it.
        for (const char ch : std::string(c.typed)) {
            QWidget *focus = QApplication::focusWidget();
            QTest::keyClick(c.opening == ByTyping && focus ? focus : target, ch);
        }
        auto *spin = qobject_cast<DecimalSpinBox *>(grid->indexWidget(index));
        ASSERT_NE(spin, nullptr);
        commitAndClose(spin);
        GRID_LAYER_OK(kof.post());
        EXPECT_EQ(stored("SELECT kof FROM t_kof WHERE id_kof = 3").toDouble(), c.stored);
    }

    // What still reads as no number is refused as the editor's keys: nothing of it is taken.
    openEditor(row);
    auto *spin = qobject_cast<DecimalSpinBox *>(grid->indexWidget(index));
    ASSERT_NE(spin, nullptr);
    spin->selectAll();
    QTest::keyClicks(spin, QStringLiteral("1,2.3"));
    EXPECT_EQ(spin->text(), QStringLiteral("1,23"));
    spin->selectAll();
    QTest::keyClicks(spin, QStringLiteral("4.5,6"));
    EXPECT_EQ(spin->text(), QStringLiteral("4.56"));
    commitAndClose(spin);
    GRID_LAYER_OK(kof.post());
    EXPECT_EQ(stored("SELECT kof FROM t_kof WHERE id_kof = 3").toDouble(), 4.56);
}

} // namespace
