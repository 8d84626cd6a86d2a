#include "gridfixture.h"

#include "ui/grid/bindingmodel.h"
#include "ui/grid/datagridcolumn.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

namespace {

// Collects what QAbstractItemModelTester reports, so that a broken contract fails the test.
class ModelTesterLog
{
public:
    ModelTesterLog() { s_log = &m_messages; m_previous = qInstallMessageHandler(&handler); }
    ~ModelTesterLog()
    {
        qInstallMessageHandler(m_previous);
        s_log = nullptr;
    }
    const QStringList &messages() const { return m_messages; }

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (s_log && type != QtDebugMsg && context.category
            && QByteArrayView(context.category) == "qt.modeltest")
            s_log->append(text);
    }
    static inline QStringList *s_log = nullptr;
    QStringList m_messages;
    QtMessageHandler m_previous = nullptr;
};

class BindingModelTest : public GridFixture
{
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        for (const char *f : {"id_kof", "name_kof", "kof", "id_element"}) {
            auto *c = new DataGridColumn(QStringLiteral("col_") + QString::fromLatin1(f),
                                         QString::fromLatin1(f), &model);
            model.addColumn(c);
        }
    }

    QVariant cell(int row, int column, int role = Qt::DisplayRole) const
    {
        return model.data(model.index(row, column), role);
    }

    BindingModel model{&kofBinding};
};

TEST_F(BindingModelTest, KeepsQtsContractThroughTheDatasetsLife)
{
    ModelTesterLog log;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);

    ASSERT_EQ(model.rowCount(), 3);
    GRID_LAYER_OK(kof.setFilter(QStringLiteral("id_element=3")));
    GRID_LAYER_OK(kof.setFiltered(true));
    EXPECT_EQ(model.rowCount(), 1);
    GRID_LAYER_OK(kof.setFiltered(false));
    EXPECT_EQ(model.rowCount(), 3);

    GRID_LAYER_OK(kof.append());
    EXPECT_EQ(model.rowCount(), 4);
    GRID_LAYER_OK(kof.setValue(QStringLiteral("name_kof"), QStringLiteral("новый")));
    GRID_LAYER_OK(kof.post());
    EXPECT_EQ(cell(3, 1).toString(), QStringLiteral("новый"));

    GRID_LAYER_OK(kof.moveTo(1));
    GRID_LAYER_OK(kof.insert());
    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_EQ(cell(1, 1).toString(), QString());
    EXPECT_EQ(cell(2, 1).toString(), QStringLiteral("P2O5->P"));
    GRID_LAYER_OK(kof.cancel());
    EXPECT_EQ(model.rowCount(), 4);

    GRID_LAYER_OK(kof.moveTo(0));
    GRID_LAYER_OK(kof.remove());
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(cell(0, 1).toString(), QStringLiteral("P2O5->P"));

    GRID_LAYER_OK(kof.setSort(QStringLiteral("name_kof DESC")));
    GRID_LAYER_OK(kof.refresh());
    GRID_LAYER_OK(kof.last());
    kofBinding.setEnabled(false);
    kofBinding.setEnabled(true);
    kof.close();
    EXPECT_EQ(model.rowCount(), 0);
    GRID_LAYER_OK(kof.open());
    EXPECT_EQ(model.rowCount(), 3);

    EXPECT_TRUE(log.messages().isEmpty()) << log.messages().join(u'\n').toStdString();
}

TEST_F(BindingModelTest, ShowsNothingWhileTheBindingIsDisabled)
{
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    kofBinding.setEnabled(false);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.currentRow(), -1);
    EXPECT_EQ(resets.count(), 1);

    // Moves and edits meanwhile are not seen; enabling shows the dataset as it now stands.
    GRID_LAYER_OK(kof.append());
    GRID_LAYER_OK(kof.setValue(QStringLiteral("name_kof"), QStringLiteral("пока не видно")));
    GRID_LAYER_OK(kof.post());
    EXPECT_EQ(model.rowCount(), 0);

    kofBinding.setEnabled(true);
    EXPECT_EQ(resets.count(), 2);
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.currentRow(), 3);
    EXPECT_EQ(cell(3, 1).toString(), QStringLiteral("пока не видно"));
}

TEST_F(BindingModelTest, FormatsValuesByFieldType)
{
    EXPECT_EQ(cell(0, 0).toString(), QStringLiteral("1"));
    EXPECT_EQ(cell(0, 1).toString(), QStringLiteral("K2O->K"));
    EXPECT_EQ(cell(0, 2).toString(), QStringLiteral("0.8301"));
    EXPECT_EQ(cell(2, 2).toString(), QStringLiteral("1.5"));
    EXPECT_EQ(cell(2, 3).toString(), QString()); // an empty value shows empty
    EXPECT_EQ(cell(0, 2, Qt::EditRole).toDouble(), 0.8301);
    EXPECT_FALSE(cell(0, 1, Qt::CheckStateRole).isValid());

    BindingModel elements(&elementBinding);
    auto *oxide = new DataGridColumn(QStringLiteral("dxDBGrid1Column5"), QStringLiteral("kof"),
                                     &elements);
    auto *coefficient = new DataGridColumn(QStringLiteral("dxDBGrid1Column6"),
                                           QStringLiteral("name_k"), &elements);
    elements.addColumn(oxide);
    elements.addColumn(coefficient);
    EXPECT_EQ(elements.data(elements.index(0, 0), Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_EQ(elements.data(elements.index(3, 0), Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(elements.data(elements.index(3, 0)).toString(), QString());
    EXPECT_EQ(elements.data(elements.index(3, 1)).toString(), QStringLiteral("K2O->K"));
}

TEST_F(BindingModelTest, ColumnChangesReachHeaderAndCells)
{
    DataGridColumn *name = model.column(1);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("name_kof"));
    EXPECT_FALSE(cell(0, 1, Qt::BackgroundRole).isValid());

    QSignalSpy headers(&model, &QAbstractItemModel::headerDataChanged);
    QSignalSpy cells(&model, &QAbstractItemModel::dataChanged);
    name->setCaption(QStringLiteral("Название коэффициента"));
    name->setColour(QColor(0, 255, 255));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(),
              QStringLiteral("Название коэффициента"));
    EXPECT_EQ(cell(2, 1, Qt::BackgroundRole).value<QColor>(), QColor(0, 255, 255));
    EXPECT_EQ(headers.count(), 2);
    ASSERT_EQ(cells.count(), 2);
    EXPECT_EQ(cells.last().at(0).toModelIndex().column(), 1);
    EXPECT_EQ(cells.last().at(1).toModelIndex().row(), 2);
}

TEST_F(BindingModelTest, SetDataEditsTheRowWithoutPostingIt)
{
    ASSERT_EQ(kof.currentRow(), 0);
    EXPECT_TRUE(model.setData(model.index(1, 2), 0.5));
    // The row became current and is being edited; nothing is stored yet.
    EXPECT_EQ(kof.currentRow(), 1);
    EXPECT_EQ(kof.state(), DatasetState::Edit);
    EXPECT_EQ(cell(1, 2).toString(), QStringLiteral("0.5"));
    EXPECT_DOUBLE_EQ(stored("SELECT kof FROM t_kof WHERE id_kof = 2").toDouble(), 0.4364);

    // Text is read in the system's number format; leaving the row posts it.
    EXPECT_TRUE(model.setData(model.index(1, 2), QStringLiteral("0.25")));
    GRID_LAYER_OK(kof.moveTo(0));
    EXPECT_EQ(kof.state(), DatasetState::Browse);
    EXPECT_DOUBLE_EQ(stored("SELECT kof FROM t_kof WHERE id_kof = 2").toDouble(), 0.25);

    // An emptied number clears the field.
    EXPECT_TRUE(model.setData(model.index(0, 3), QString()));
    EXPECT_TRUE(kof.isNull(QStringLiteral("id_element")));
}

TEST_F(BindingModelTest, ARefusedValueIsReportedAndNoBoxOpens)
{
    BoxRecorder boxes; // expects nothing: a box that opens fails the test
    QSignalSpy refused(&model, &BindingModel::valueRefused);
    QSignalSpy cells(&model, &QAbstractItemModel::dataChanged);
    const QString tooLong(51, u'я');
    EXPECT_FALSE(model.setData(model.index(0, 1), tooLong));
    ASSERT_EQ(refused.count(), 1);
    EXPECT_EQ(refused.last().at(0).toString(),
              QStringLiteral("Поле \"name_kof\" вмещает не больше 50 знаков, а в тексте их 51"));
    // The view is told to show the cell again as the dataset has it.
    ASSERT_EQ(cells.count(), 1);
    EXPECT_EQ(cells.last().at(0).toModelIndex(), model.index(0, 1));
    EXPECT_EQ(cell(0, 1).toString(), QStringLiteral("K2O->K"));

    // Posting the row being left fails: the value is refused with the dataset's error.
    EXPECT_TRUE(model.setData(model.index(0, 1), QStringLiteral("изменён")));
    exec(conn, "DELETE FROM t_kof WHERE id_kof = 1");
    EXPECT_FALSE(model.setData(model.index(1, 2), 0.5));
    ASSERT_EQ(refused.count(), 2);
    EXPECT_TRUE(refused.last().at(0).toString().startsWith(
        QStringLiteral("T_KOF: Row cannot be located for updating")))
        << refused.last().at(0).toString().toStdString();
    EXPECT_EQ(kof.currentRow(), 0);
    EXPECT_EQ(cell(1, 2).toString(), QStringLiteral("0.4364"));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(BindingModelTest, WhatCannotBeEditedSaysSo)
{
    auto flagsOf = [this](int column) { return model.flags(model.index(0, column)); };
    EXPECT_FALSE(flagsOf(0) & Qt::ItemIsEditable); // the key
    EXPECT_TRUE(flagsOf(1) & Qt::ItemIsEditable);

    model.column(1)->setReadOnly(true);
    EXPECT_FALSE(flagsOf(1) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(0, 1), QStringLiteral("x")));
    model.column(2)->setEditor(ColumnEditor::none());
    EXPECT_FALSE(flagsOf(2) & Qt::ItemIsEditable);
    model.setReadOnly(true);
    EXPECT_FALSE(flagsOf(3) & Qt::ItemIsEditable);
    EXPECT_EQ(kof.state(), DatasetState::Browse);

    // A lookup shows but is not typed into; its drop-down writes the key instead.
    BindingModel elements(&elementBinding);
    auto *name = new DataGridColumn(QStringLiteral("dxDBGrid1Column6"), QStringLiteral("name_k"),
                                    &elements);
    elements.addColumn(name);
    EXPECT_FALSE(elements.flags(elements.index(3, 0)) & Qt::ItemIsEditable);
    name->setEditor(ColumnEditor::lookup(&kofBinding, QStringLiteral("id_kof"),
                                         QStringLiteral("name_kof"), 22));
    EXPECT_TRUE(elements.flags(elements.index(3, 0)) & Qt::ItemIsEditable);
    EXPECT_EQ(elements.data(elements.index(3, 0), Qt::EditRole).toInt(), 1);
    EXPECT_TRUE(elements.setData(elements.index(3, 0), 2));
    EXPECT_EQ(element.asInteger(QStringLiteral("id_kof")), 2);
    EXPECT_EQ(elements.data(elements.index(3, 0)).toString(), QStringLiteral("P2O5->P"));
}

TEST_F(BindingModelTest, CheckBoxesWriteBooleans)
{
    BindingModel elements(&elementBinding);
    auto *oxide = new DataGridColumn(QStringLiteral("dxDBGrid1Column5"), QStringLiteral("kof"),
                                     &elements);
    elements.addColumn(oxide);
    const QModelIndex cellIndex = elements.index(1, 0);
    EXPECT_TRUE(elements.flags(cellIndex) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(elements.flags(cellIndex) & Qt::ItemIsEditable);
    EXPECT_FALSE(elements.setData(cellIndex, true, Qt::EditRole));
    EXPECT_TRUE(elements.setData(cellIndex, Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(element.asBoolean(QStringLiteral("kof")));
    GRID_LAYER_OK(element.post());
    EXPECT_EQ(stored("SELECT kof FROM T_element WHERE id_element = 2").toInt(), 1);
}

} // namespace
