#include "gridfixture.h"

#include "ui/grid/datagrid.h"
#include "ui/grid/datagridcolumn.h"
#include "ui/grid/gridkeys.h"
#include "ui/grid/gridlook.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include <memory>

namespace {

// A window with an edit, the coefficient grid and another edit, in that order.
class GridKeysTest : public GridFixture
{
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        window = std::make_unique<QWidget>();
        before = new QLineEdit(window.get());
        grid = new DataGrid(QStringLiteral("dxDBGrid1"), &kofBinding, window.get());
        grid->addColumn(QStringLiteral("dxDBGrid1name_kof"), QStringLiteral("name_kof"),
                        QStringLiteral("Название"));
        grid->addColumn(QStringLiteral("dxDBGrid1kof"), QStringLiteral("kof"),
                        QStringLiteral("Коэффициент"), ColumnEditor::unboundedSpin(0.01, 4))
            ->setHint(QStringLiteral("Масса элемента в единице массы оксида"));
        grid->addColumn(QStringLiteral("dxDBGrid1id_element"), QStringLiteral("id_element"),
                        QStringLiteral("Элемент"),
                        ColumnEditor::lookup(&elementBinding, QStringLiteral("id_element"),
                                             QStringLiteral("Smallname_element")));
        after = new QLineEdit(window.get());
        auto *row = new QHBoxLayout(window.get());
        row->addWidget(before);
        row->addWidget(grid, 1);
        row->addWidget(after);
        window->resize(640, 240);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QApplication::setActiveWindow(window.get());
    }

    void focusCell(int row, int column)
    {
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(row, column));
    }

    std::unique_ptr<QWidget> window;
    QLineEdit *before = nullptr;
    DataGrid *grid = nullptr;
    QLineEdit *after = nullptr;
};

const struct TabKey
{
    const char *name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool forward;
} TabKeys[] = {
    {"Tab", Qt::Key_Tab, Qt::NoModifier, true},
    {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, false},
    {"Ctrl+Tab", Qt::Key_Tab, Qt::ControlModifier, true},
    {"Ctrl+Shift+Tab", Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, false},
};

// From any cell, the first and the last included, each Tab key goes to the control beside the
// grid and the current cell stays where it was.
TEST_F(GridKeysTest, EveryTabKeyLeavesAGridThatTabLeaves)
{
    GridKeys::leaveOnTab(grid);
    EXPECT_FALSE(grid->tabKeyNavigation());
    for (const TabKey &k : TabKeys) {
        for (const QPoint cell : {QPoint(0, 0), QPoint(2, 2)}) {
            focusCell(cell.y(), cell.x());
            QTest::keyClick(QApplication::focusWidget(), k.key, k.modifiers);
            EXPECT_EQ(QApplication::focusWidget(), k.forward ? after : before) << k.name;
            EXPECT_EQ(grid->currentIndex(), grid->model()->index(cell.y(), cell.x())) << k.name;
        }
    }
}

// An open editor hands its value over before the focus goes: text, number and drop-down alike.
TEST_F(GridKeysTest, TabInAnOpenEditorStoresItsValueAndLeaves)
{
    GridKeys::leaveOnTab(grid);
    for (const TabKey &k : TabKeys) {
        focusCell(1, 0);
        QTest::keyClick(grid, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr) << k.name;
        editor->selectAll();
        QTest::keyClicks(editor, QString::fromLatin1(k.name));
        QTest::keyClick(editor, k.key, k.modifiers);
        EXPECT_EQ(QApplication::focusWidget(), k.forward ? after : before) << k.name;
        EXPECT_EQ(kof.asString(QStringLiteral("name_kof")), QString::fromLatin1(k.name));
        EXPECT_EQ(grid->indexWidget(grid->model()->index(1, 0)), nullptr) << "closed, " << k.name;
    }
    focusCell(1, 1);
    QTest::keyClick(grid, Qt::Key_F2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("0.75"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);
    EXPECT_EQ(kof.value(QStringLiteral("kof")).toDouble(), 0.75);
}

// A grid left as it was (the calculator's and the reference windows') moves between its cells.
TEST_F(GridKeysTest, AGridThatKeepsTabMovesBetweenItsCells)
{
    ASSERT_TRUE(grid->tabKeyNavigation());
    focusCell(0, 0);
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), grid);
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(0, 1));
}

// An editor has no label beside it: it is named after its column, and its column's hint is its
// description and tool-tip, as it is the header's and the cells'.
TEST_F(GridKeysTest, EditorsAreNamedAfterTheirColumn)
{
    const struct
    {
        int column;
        QString name;
        QString hint;
    } cases[] = {
        {0, QStringLiteral("Название"), QString()},
        {1, QStringLiteral("Коэффициент"), QStringLiteral("Масса элемента в единице массы оксида")},
        {2, QStringLiteral("Элемент"), QString()},
    };
    for (const auto &c : cases) {
        const QModelIndex cell = grid->model()->index(0, c.column);
        grid->edit(cell);
        QWidget *editor = grid->indexWidget(cell);
        ASSERT_NE(editor, nullptr) << c.column;
        EXPECT_EQ(editor->accessibleName(), c.name) << c.column;
        EXPECT_EQ(editor->accessibleDescription(), c.hint) << c.column;
        EXPECT_EQ(editor->toolTip(), c.hint) << c.column;
        EXPECT_EQ(grid->model()->headerData(c.column, Qt::Horizontal, Qt::ToolTipRole).toString(), c.hint);
        EXPECT_EQ(cell.data(Qt::ToolTipRole).toString(), c.hint);
        QTest::keyClick(editor, Qt::Key_Escape);
    }
}

// A header that draws the current column's caption bold is measured bold: at a width where the
// caption just fits on one line in the plain font, the bold one wraps, and the header is as tall
// as that; no column is narrower than its longest bold word.
TEST(GridLookTest, ABoldCurrentCaptionIsNeverCut)
{
    const QStringList captions = {QStringLiteral("Элемент"), QStringLiteral("Вода, мг/л"),
                                  QStringLiteral("Результат, мг/л")};
    for (const bool highlighted : {false, true}) {
        QTableWidget table(3, int(captions.size()));
        table.setHorizontalHeaderLabels(captions);
        table.horizontalHeader()->setHighlightSections(highlighted);
        const QFontMetrics plain(table.horizontalHeader()->font());
        QFont drawn = table.horizontalHeader()->font();
        drawn.setBold(highlighted);
        const QFontMetrics shown(drawn);
        for (int c = 0; c < captions.size(); ++c)
            table.setColumnWidth(c, plain.horizontalAdvance(captions.at(c)) + 8);
        GridLook::wrapHeader(&table);
        for (int c = 0; c < captions.size(); ++c) {
            const QString &caption = captions.at(c);
            for (const QString &word : caption.split(u' '))
                EXPECT_GT(GridLook::widestWord(&table, caption), shown.horizontalAdvance(word)) << word.toStdString();
            const QRect wrapped =
                shown.boundingRect(QRect(0, 0, table.columnWidth(c) - 8, 1000), Qt::TextWordWrap, caption);
            EXPECT_GE(table.horizontalHeader()->minimumHeight(), wrapped.height())
                << caption.toStdString() << (highlighted ? " bold" : "");
        }
    }
}

} // namespace
