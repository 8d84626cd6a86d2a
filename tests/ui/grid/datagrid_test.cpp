#include "gridfixture.h"

#include "ui/grid/bindingmodel.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/datagridcolumn.h"
#include "ui/grid/decimalspinbox.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include <memory>

namespace {

class DataGridTest : public GridFixture
{
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        grid = std::make_unique<DataGrid>(QStringLiteral("dxDBGrid1"), &kofBinding);
        grid->addColumn(QStringLiteral("dxDBGrid1name_kof"), QStringLiteral("name_kof"),
                        QStringLiteral("Название коэффициента"));
        grid->addColumn(QStringLiteral("dxDBGrid1kof"), QStringLiteral("kof"),
                        QStringLiteral("Значение коэффц."), ColumnEditor::unboundedSpin(0.01, 4));
        grid->addColumn(QStringLiteral("dxDBGrid1id_element"), QStringLiteral("id_element"),
                        QStringLiteral("Элемент"),
                        ColumnEditor::lookup(&elementBinding, QStringLiteral("id_element"),
                                             QStringLiteral("Smallname_element"), 19));
        grid->resize(420, 240);
        grid->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    }

    QModelIndex at(int row, int column) const { return grid->model()->index(row, column); }

    void click(int row, int column)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(at(row, column)).center());
    }

    std::unique_ptr<DataGrid> grid;
};

TEST_F(DataGridTest, SelectingARowMovesTheDatasetAndPostsTheRowLeft)
{
    int rowAtClick = -1;
    QObject::connect(grid.get(), &DataGrid::gridClicked, grid.get(),
                     [&] { rowAtClick = kof.currentRow(); });
    ASSERT_EQ(grid->currentIndex().row(), 0);
    ASSERT_TRUE(grid->model()->setData(at(0, 0), QStringLiteral("K2O->K, уточнён")));
    EXPECT_EQ(kof.state(), DatasetState::Edit);

    click(2, 0);
    EXPECT_EQ(kof.currentRow(), 2);
    EXPECT_EQ(rowAtClick, 2);
    EXPECT_EQ(kof.state(), DatasetState::Browse);
    EXPECT_EQ(stored("SELECT name_kof FROM t_kof WHERE id_kof = 1").toString(),
              QStringLiteral("K2O->K, уточнён"));

    QTest::keyClick(grid.get(), Qt::Key_Up);
    EXPECT_EQ(kof.currentRow(), 1);
}

TEST_F(DataGridTest, TheDatasetMovingMovesTheSelection)
{
    GRID_LAYER_OK(kof.moveTo(2));
    EXPECT_EQ(grid->currentIndex().row(), 2);
    EXPECT_TRUE(grid->selectionModel()->isSelected(grid->currentIndex()));
    GRID_LAYER_OK(kof.first());
    EXPECT_EQ(grid->currentIndex().row(), 0);
    GRID_LAYER_OK(kof.append());
    EXPECT_EQ(grid->currentIndex().row(), 3);
    GRID_LAYER_OK(kof.cancel());
    EXPECT_EQ(grid->currentIndex().row(), 2);
    EXPECT_EQ(kof.currentRow(), 2);
}

TEST_F(DataGridTest, ARefusedMoveIsReportedAndTheSelectionGoesBack)
{
    ASSERT_TRUE(grid->model()->setData(at(0, 0), QStringLiteral("изменён")));
    {
        // Another process deletes the row being edited: posting it cannot find it.
        Connection other(QStringLiteral("base.mdb"));
        GridFixture::exec(other, "DELETE FROM t_kof WHERE id_kof = 1");
    }
    BoxRecorder boxes;
    boxes.expect(BoxButton::Ok);
    click(1, 0);
    QCoreApplication::processEvents();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.last().text.startsWith(QStringLiteral("T_KOF: Row cannot be located")))
        << boxes.last().text.toStdString();
    EXPECT_EQ(kof.currentRow(), 0);
    EXPECT_EQ(grid->currentIndex().row(), 0);
    EXPECT_EQ(kof.state(), DatasetState::Edit);
}

TEST_F(DataGridTest, RefusedValueIsReportedAndTheRowKeepsItsValue)
{
    BoxRecorder boxes;
    boxes.expect(BoxButton::Ok);
    const QString tooLong(51, u'я');
    EXPECT_FALSE(grid->model()->setData(at(0, 0), tooLong));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.last().text.contains(QStringLiteral("name_kof")))
        << boxes.last().text.toStdString();
    EXPECT_TRUE(boxes.last().text.endsWith(u'.'));
    EXPECT_EQ(boxes.last().caption, QStringLiteral("Vernolat"));
    EXPECT_EQ(boxes.last().icon, BoxIcon::Error);
    EXPECT_EQ(at(0, 0).data().toString(), QStringLiteral("K2O->K"));

    boxes.expect(BoxButton::Ok);
    EXPECT_FALSE(grid->model()->setData(at(0, 1), QStringLiteral("0,5x")));
    EXPECT_EQ(boxes.count(), 2);
    EXPECT_TRUE(boxes.last().text.contains(QStringLiteral("'0,5x' is not a valid floating point")))
        << boxes.last().text.toStdString();
    EXPECT_EQ(at(0, 1).data().toString(), QStringLiteral("0.8301"));
}

TEST_F(DataGridTest, ARefusedTypedValueIsShownWhileItsEditorStaysOpen)
{
    click(0, 0);
    grid->edit(at(0, 0));
    QPointer<QLineEdit> edit = grid->viewport()->findChild<QLineEdit *>();
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    const QString tooLong(51, u'x'); // keyClicks types Latin letters only
    QTest::keyClicks(edit, tooLong);

    BoxRecorder boxes;
    boxes.expect(BoxButton::Ok);
    EXPECT_TRUE(grid->commitEditor());
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text,
              QStringLiteral("Поле \"name_kof\" вмещает не больше 50 знаков, а в тексте их 51."));
    // What was typed stays in the editor to be put right; the row holds its stored value.
    EXPECT_EQ(edit->text(), tooLong);
    EXPECT_TRUE(edit->isModified());
    QCoreApplication::processEvents();
    ASSERT_TRUE(edit);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(kof.asString(QStringLiteral("name_kof")), QStringLiteral("K2O->K"));
}

TEST_F(DataGridTest, CtrlDeleteAsksAndDeletesOnlyOnOk)
{
    click(1, 0);
    BoxRecorder boxes;
    boxes.expect(BoxButton::Cancel);
    QTest::keyClick(grid.get(), Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("Delete record?"));
    EXPECT_EQ(boxes.last().caption, QStringLiteral("Confirm"));
    EXPECT_EQ(boxes.last().icon, BoxIcon::Question);
    EXPECT_EQ(boxes.last().buttons, (QList<BoxButton>{BoxButton::Ok, BoxButton::Cancel}));
    EXPECT_EQ(grid->model()->rowCount(), 3);

    boxes.expect(BoxButton::Ok);
    QTest::keyClick(grid.get(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(boxes.count(), 2);
    EXPECT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(stored("SELECT count(*) FROM t_kof WHERE id_kof = 2").toInt(), 0);
    EXPECT_EQ(grid->currentIndex().row(), kof.currentRow());

    // A plain Delete deletes nothing.
    QTest::keyClick(grid.get(), Qt::Key_Delete);
    EXPECT_EQ(grid->model()->rowCount(), 2);
}

TEST_F(DataGridTest, InsertStartsARowHereAndEscapeCancelsIt)
{
    click(1, 0);
    QTest::keyClick(grid.get(), Qt::Key_Insert);
    EXPECT_EQ(kof.state(), DatasetState::Insert);
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(kof.currentRow(), 1);
    EXPECT_EQ(grid->currentIndex().row(), 1);

    QTest::keyClick(grid.get(), Qt::Key_Escape);
    EXPECT_EQ(kof.state(), DatasetState::Browse);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->model()->index(1, 0).data().toString(), QStringLiteral("P2O5->P"));

    // Escape also drops the changes of an edited row.
    ASSERT_TRUE(grid->model()->setData(at(1, 0), QStringLiteral("забыть")));
    QTest::keyClick(grid.get(), Qt::Key_Escape);
    EXPECT_EQ(kof.state(), DatasetState::Browse);
    EXPECT_EQ(grid->model()->index(1, 0).data().toString(), QStringLiteral("P2O5->P"));
}

TEST_F(DataGridTest, AHeaderClickOnlyReports)
{
    DataGridColumn *name = grid->column(QStringLiteral("dxDBGrid1name_kof"));
    name->setSortMark(SortMark::Down);
    click(1, 0);
    QSignalSpy clicks(grid.get(), &DataGrid::headerClicked);
    QHeaderView *header = grid->horizontalHeader();
    const QPoint centre(header->sectionViewportPosition(0) + header->sectionSize(0) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);

    ASSERT_EQ(clicks.count(), 2);
    EXPECT_EQ(clicks.at(0).at(0).value<DataGridColumn *>(), name);
    EXPECT_EQ(name->sortMark(), SortMark::Down);
    EXPECT_TRUE(kof.sort().isEmpty());
    EXPECT_EQ(grid->model()->index(0, 0).data().toString(), QStringLiteral("K2O->K"));
    EXPECT_EQ(kof.currentRow(), 1);
    EXPECT_EQ(grid->currentIndex().row(), 1);
}

// Counts the pixels of the mark's colour near the right end of a header section.
int markPixels(QHeaderView *header, int section)
{
    const QImage image = header->grab().toImage();
    const QColor mark = header->palette().color(QPalette::ButtonText);
    const int right = header->sectionViewportPosition(section) + header->sectionSize(section);
    int count = 0;
    for (int x = right - 16; x < right; ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - mark.red()) + qAbs(c.green() - mark.green()) + qAbs(c.blue() - mark.blue()) < 60)
                ++count;
        }
    }
    return count;
}

TEST_F(DataGridTest, TheSortMarkIsPaintedAndPointsTheWayItSays)
{
    DataGridColumn *name = grid->column(QStringLiteral("dxDBGrid1name_kof"));
    QHeaderView *header = grid->horizontalHeader();
    const int plain = markPixels(header, 0);
    name->setSortMark(SortMark::Up);
    const int up = markPixels(header, 0);
    EXPECT_GT(up, plain + 5) << "the mark is drawn";
    name->setSortMark(SortMark::Down);
    EXPECT_GT(markPixels(header, 0), plain + 5);
    name->setSortMark(SortMark::None);
    EXPECT_EQ(markPixels(header, 0), plain);
}

TEST_F(DataGridTest, AFittedGridScrollsRatherThanCutANumbersWholePart)
{
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DataGridColumn *value = grid->column(QStringLiteral("dxDBGrid1kof"));
    value->setWidth(1); // the built proportions would leave it almost nothing
    grid->setFitColumns(true);
    kof.first();
    kof.edit();
    kof.setValue(QStringLiteral("kof"), -123456.789);
    kof.post();
    QCoreApplication::processEvents(); // the fit after a burst of row changes
    const int section = grid->sectionOf(value);
    const QFontMetrics metrics(grid->font());
    EXPECT_GE(grid->columnWidth(section), metrics.horizontalAdvance(QStringLiteral("-123456.78")))
        << "the whole part and two decimals stay readable";

    grid->resize(90, 240);
    int total = 0;
    for (int s = 0; s < grid->model()->columnCount(); ++s)
        total += grid->isColumnHidden(s) ? 0 : grid->columnWidth(s);
    EXPECT_GT(total, grid->viewport()->width());
    EXPECT_EQ(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);

    grid->resize(900, 240);
    total = 0;
    for (int s = 0; s < grid->model()->columnCount(); ++s)
        total += grid->isColumnHidden(s) ? 0 : grid->columnWidth(s);
    EXPECT_EQ(total, grid->viewport()->width()) << "room enough: fitted exactly again";
    EXPECT_EQ(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff) << "the window's own policy is back";
}

TEST_F(DataGridTest, ColumnsAreFoundByNameAndFollowRuntimeChanges)
{
    DataGridColumn *value = grid->findChild<DataGridColumn *>(QStringLiteral("dxDBGrid1kof"));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(grid->column(QStringLiteral("dxDBGrid1kof")), value);
    EXPECT_EQ(grid->column(QStringLiteral("nothing")), nullptr);

    value->setVisible(false);
    EXPECT_TRUE(grid->isColumnHidden(1));
    value->setVisible(true);
    EXPECT_FALSE(grid->isColumnHidden(1));

    value->setColour(QColor(0, 128, 128));
    EXPECT_EQ(at(2, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(0, 128, 128));
    grid->setColour(QColor(255, 255, 225));
    EXPECT_EQ(grid->colour(), QColor(255, 255, 225));

    // Fitted: the visible columns share the width in proportion 1:2:1.
    grid->column(QStringLiteral("dxDBGrid1name_kof"))->setWidth(100);
    value->setWidth(200);
    grid->column(QStringLiteral("dxDBGrid1id_element"))->setWidth(100);
    grid->setFitColumns(true);
    const int width = grid->viewport()->width();
    EXPECT_EQ(grid->columnWidth(0) + grid->columnWidth(1) + grid->columnWidth(2), width);
    EXPECT_NEAR(grid->columnWidth(1), width / 2, 1);
    value->setVisible(false);
    EXPECT_EQ(grid->columnWidth(0) + grid->columnWidth(2), width);
    grid->resize(600, 240);
    EXPECT_EQ(grid->columnWidth(0) + grid->columnWidth(2), grid->viewport()->width());
}

TEST_F(DataGridTest, TheSpinEditorReportsEveryChangeAndStoresTheTypedValue)
{
    QSignalSpy changes(grid.get(), &DataGrid::editorValueChanged);
    DataGridColumn *value = grid->column(QStringLiteral("dxDBGrid1kof"));
    QSignalSpy columnChanges(value, &DataGridColumn::editorValueChanged);
    click(1, 1);
    grid->edit(at(1, 1));
    auto *spin = grid->viewport()->findChild<DecimalSpinBox *>();
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->text(), QStringLiteral("0.4364"));
    EXPECT_EQ(spin->minimum(), -1e15);
    EXPECT_EQ(spin->maximum(), 1e15);
    EXPECT_EQ(spin->singleStep(), 0.01);
    EXPECT_EQ(kof.state(), DatasetState::Browse); // opening an editor changes nothing

    spin->selectAll();
    QTest::keyClicks(spin, QStringLiteral("0.75"));
    EXPECT_EQ(changes.count(), 4);
    EXPECT_EQ(columnChanges.count(), 4);
    EXPECT_EQ(changes.first().at(0).value<DataGridColumn *>(), value);
    // The row is being edited from the first change on, while the value is still typed.
    EXPECT_EQ(kof.state(), DatasetState::Edit);

    EXPECT_TRUE(grid->commitEditor());
    EXPECT_DOUBLE_EQ(kof.asFloat(QStringLiteral("kof")), 0.75);
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(changes.count(), 5);
    QTest::keyClick(spin, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor is committed and closed queued
    EXPECT_DOUBLE_EQ(kof.asFloat(QStringLiteral("kof")), 0.76);
    GRID_LAYER_OK(kof.post());
    EXPECT_DOUBLE_EQ(stored("SELECT kof FROM t_kof WHERE id_kof = 2").toDouble(), 0.76);
}

TEST_F(DataGridTest, PostingFromOutsideTakesWhatIsStillBeingTyped)
{
    click(1, 1);
    grid->edit(at(1, 1));
    auto *spin = grid->viewport()->findChild<DecimalSpinBox *>();
    ASSERT_NE(spin, nullptr);
    spin->selectAll();
    QTest::keyClicks(spin, QStringLiteral("0.5"));
    GRID_LAYER_OK(kof.post()); // e.g. a recalculation pressed while the editor is open
    EXPECT_DOUBLE_EQ(stored("SELECT kof FROM t_kof WHERE id_kof = 2").toDouble(), 0.5);

    grid->edit(at(1, 1));
    spin = grid->viewport()->findChild<DecimalSpinBox *>();
    ASSERT_NE(spin, nullptr);
    spin->selectAll();
    QTest::keyClicks(spin, QStringLiteral("0.25"));
    GRID_LAYER_OK(kof.first()); // a move posts it too
    EXPECT_DOUBLE_EQ(stored("SELECT kof FROM t_kof WHERE id_kof = 2").toDouble(), 0.25);
}

TEST_F(DataGridTest, TheDropDownShowsNamesAndStoresTheKey)
{
    EXPECT_EQ(at(0, 2).data().toString(), QStringLiteral("K"));
    EXPECT_EQ(at(2, 2).data().toString(), QString());
    click(0, 2);
    grid->edit(at(0, 2));
    auto *combo = grid->viewport()->findChild<QComboBox *>();
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("N"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("K"));
    EXPECT_EQ(combo->maxVisibleItems(), 19);

    QSignalSpy changes(grid.get(), &DataGrid::editorValueChanged);
    combo->setCurrentIndex(1);
    Q_EMIT combo->activated(1);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(kof.asInteger(QStringLiteral("id_element")), 2);
    EXPECT_EQ(at(0, 2).data().toString(), QStringLiteral("P"));
}

TEST_F(DataGridTest, TheChoiceDropDownShowsItsTextsAndStoresThePosition)
{
    grid->column(QStringLiteral("dxDBGrid1id_element"))
        ->setEditor(ColumnEditor::choice({QStringLiteral("ноль"), QStringLiteral("один"),
                                          QStringLiteral("два"), QStringLiteral("три")}));
    EXPECT_EQ(at(0, 2).data().toString(), QStringLiteral("три"));
    EXPECT_EQ(at(1, 2).data().toString(), QStringLiteral("два"));
    EXPECT_EQ(at(2, 2).data().toString(), QString()) << "empty stays empty";
    click(1, 2);
    grid->edit(at(1, 2));
    auto *combo = grid->viewport()->findChild<QComboBox *>();
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->currentText(), QStringLiteral("два"));
    combo->setCurrentIndex(1);
    Q_EMIT combo->activated(1);
    EXPECT_EQ(kof.asInteger(QStringLiteral("id_element")), 1);
    EXPECT_EQ(at(1, 2).data().toString(), QStringLiteral("один"));
    // A stored number the list has no text for shows as the number.
    kof.edit();
    kof.setValue(QStringLiteral("id_element"), 9);
    EXPECT_EQ(at(1, 2).data().toString(), QStringLiteral("9"));
}

TEST_F(DataGridTest, AListGridOnlyShowsAndMoves)
{
    grid->setEditable(false);
    QSignalSpy doubleClicks(grid.get(), &DataGrid::gridDoubleClicked);
    QSignalSpy releases(grid.get(), &DataGrid::keyReleased);
    click(1, 0);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(at(1, 0)).center());
    EXPECT_EQ(doubleClicks.count(), 1);
    EXPECT_EQ(grid->viewport()->findChild<QLineEdit *>(), nullptr); // no editor opened
    EXPECT_TRUE(grid->selectionModel()->isRowSelected(1, QModelIndex()));

    QTest::keyClick(grid.get(), Qt::Key_Insert);
    EXPECT_EQ(kof.state(), DatasetState::Browse);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(kof.currentRow(), 2);
    ASSERT_GE(releases.count(), 2);
    EXPECT_EQ(releases.last().at(0).toInt(), int(Qt::Key_Down));
}

TEST_F(DataGridTest, ControlEndJumpsToTheEndOfTheTable)
{
    QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(kof.currentRow(), 2);
    EXPECT_TRUE(kof.eof());
    QTest::keyClick(grid.get(), Qt::Key_Up);
    EXPECT_FALSE(kof.eof());
    QTest::keyClick(grid.get(), Qt::Key_Down);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(kof.currentRow(), 2);
    EXPECT_TRUE(kof.eof());
}

TEST_F(DataGridTest, ADisabledBindingEmptiesTheGrid)
{
    GRID_LAYER_OK(kof.moveTo(1));
    kofBinding.setEnabled(false);
    EXPECT_EQ(grid->model()->rowCount(), 0);
    EXPECT_FALSE(grid->currentIndex().isValid());
    GRID_LAYER_OK(kof.moveTo(2));
    kofBinding.setEnabled(true);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->currentIndex().row(), 2);
}

TEST_F(DataGridTest, CheckBoxesToggleWithTheSpaceBar)
{
    DataGrid elements(QStringLiteral("dxDBGrid1"), &elementBinding);
    elements.addColumn(QStringLiteral("dxDBGrid1Smallname_element"),
                       QStringLiteral("Smallname_element"), QStringLiteral("Обозн."));
    DataGridColumn *oxide = elements.addColumn(QStringLiteral("dxDBGrid1Column5"),
                                               QStringLiteral("kof"), QStringLiteral("Оксид"));
    elements.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&elements));
    QSignalSpy changes(oxide, &DataGridColumn::editorValueChanged);
    elements.setCurrentIndex(elements.model()->index(1, 1));
    EXPECT_EQ(element.currentRow(), 1);
    QTest::keyClick(&elements, Qt::Key_Space);
    EXPECT_TRUE(element.asBoolean(QStringLiteral("kof")));
    EXPECT_EQ(changes.count(), 1);
    QTest::keyClick(&elements, Qt::Key_Space);
    EXPECT_FALSE(element.asBoolean(QStringLiteral("kof")));
}

TEST_F(DataGridTest, ToolTipsBreakAtCarriageReturnsOrComeFromTheParent)
{
    QWidget parent;
    parent.setToolTip(QStringLiteral("Название искомого удобрения"));
    DataGrid list(QStringLiteral("dxDBGrid1"), &kofBinding, &parent);
    list.addColumn(QStringLiteral("dxDBGrid1name_kof"), QStringLiteral("name_kof"));
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    auto hover = [&list] {
        const QPoint pos(5, 5);
        QHelpEvent help(QEvent::ToolTip, pos, list.viewport()->mapToGlobal(pos));
        QApplication::sendEvent(list.viewport(), &help);
        return QToolTip::text();
    };
    EXPECT_EQ(hover(), QStringLiteral("Название искомого удобрения"));

    list.setToolTip(QStringLiteral("A:\r\n\r\nN - 15.5%\r\nCa - 19%"));
    EXPECT_EQ(hover(), QStringLiteral("A:\n\nN - 15.5%\nCa - 19%"));
    EXPECT_EQ(list.toolTip(), QStringLiteral("A:\r\n\r\nN - 15.5%\r\nCa - 19%"));
    QToolTip::hideText();
}

} // namespace
