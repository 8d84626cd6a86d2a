#include "calculatorfixture.h"

#include "ui/grid/navbar.h"

#include <QToolButton>

namespace {

const QStringList NonOxides = {QStringLiteral("N"),  QStringLiteral("P"),  QStringLiteral("K"),
                               QStringLiteral("Ca"), QStringLiteral("Mg"), QStringLiteral("S"),
                               QStringLiteral("Fe"), QStringLiteral("Mn"), QStringLiteral("Zn"),
                               QStringLiteral("Cu"), QStringLiteral("B"),  QStringLiteral("Mo"),
                               QStringLiteral("Na"), QStringLiteral("Cl"), QStringLiteral("Si")};

class CropTest : public CalculatorTest
{
protected:
    DataGrid *crops() { return grid("dxDBGrid6"); }
    DataGrid *targets() { return grid("dxDBGrid3"); }

    QToolButton *navButton(const char *name)
    {
        return find<QToolButton>(QString::fromLatin1(name));
    }

    int storedTargetRows(const QString &crop)
    {
        Connection c(QStringLiteral("base.mdb"));
        Connection::Statement st(c, QStringLiteral("SELECT count(*) FROM t_konc k JOIN T_kult c "
                                                   "ON c.id_kult = k.id_kult WHERE c.name_kult = ?"));
        st.bind(1, crop);
        return st.step() ? st.column(0).toInt() : -1;
    }

    // Adds an element through the element window's dataset, as the element window posts it.
    void addElement(const QString &name, bool oxide)
    {
        Dataset &e = data().form3.T_Element;
        e.append();
        e.setValue(QStringLiteral("Smallname_element"), name);
        e.setValue(QStringLiteral("kof"), oxide);
        e.post();
    }

    // Starts a crop with the insert button, types its name and posts it with the post button.
    void newCrop(const QString &name)
    {
        QTest::mouseClick(navButton("DBNavigator1Insert"), Qt::LeftButton);
        ASSERT_EQ(f4().ADOTable3.state(), DatasetState::Insert);
        DataGrid *g = crops();
        const QModelIndex i = index(g, f4().ADOTable3.currentRow(), "dxDBGrid6name_kult");
        g->setCurrentIndex(i);
        g->edit(i);
        auto *editor = qobject_cast<QLineEdit *>(g->indexWidget(i));
        ASSERT_NE(editor, nullptr);
        typeText(editor, name);
        QTest::mouseClick(navButton("DBNavigator3Post"), Qt::LeftButton);
    }
};

TEST_F(CropTest, TheCropPaneAsBuilt)
{
    EXPECT_EQ(columnTexts(crops(), "dxDBGrid6name_kult").first(), QStringLiteral("Томат"));
    EXPECT_FALSE(find<DataGridColumn>(QStringLiteral("dxDBGrid6id_kult"))->isVisible());
    EXPECT_EQ(caption("dxDBGrid6name_kult"), QStringLiteral("Название"));
    EXPECT_EQ(caption("dxDBGrid6ph"), QStringLiteral("ph"));
    EXPECT_EQ(find<DataGridColumn>(QStringLiteral("dxDBGrid6ph"))->colour(), QColor(240, 251, 255));
    for (const char *bar : {"DBNavigator1", "DBNavigator2", "DBNavigator3"})
        EXPECT_EQ(find<NavBar>(QString::fromLatin1(bar))->buttons().size(), 1) << bar;
    EXPECT_EQ(navButton("DBNavigator1Insert")->toolTip(), QStringLiteral("Добавить новую культуру"));
    EXPECT_EQ(navButton("DBNavigator2Delete")->toolTip(), QStringLiteral("Удалить культуру"));
    EXPECT_EQ(navButton("DBNavigator3Post")->toolTip(), QStringLiteral("Сохранить изменения"));
    EXPECT_TRUE(navButton("DBNavigator1Insert")->isEnabled());
    EXPECT_TRUE(navButton("DBNavigator2Delete")->isEnabled());
    EXPECT_FALSE(navButton("DBNavigator3Post")->isEnabled()) << "nothing being edited";
    EXPECT_EQ(find<QWidget>(QStringLiteral("Panel11"))->width(), 44);
}

TEST_F(CropTest, ANewCropGetsOneEmptyTargetRowPerNonOxideElement)
{
    newCrop(QStringLiteral("Клубника"));
    EXPECT_EQ(f4().ADOTable3.state(), DatasetState::Browse);
    EXPECT_EQ(f4().ADOTable3.asString(QStringLiteral("name_kult")), QStringLiteral("Клубника"));
    EXPECT_EQ(columnTexts(targets(), "dxDBGrid3name_el"), NonOxides) << "in the element table's order";
    for (const char *column : {"dxDBGrid3vega", "dxDBGrid3cvet", "dxDBGrid3rachet"})
        EXPECT_EQ(columnTexts(targets(), column), QStringList(NonOxides.size(), QString())) << column;
    EXPECT_EQ(storedTargetRows(QStringLiteral("Клубника")), NonOxides.size());
    EXPECT_EQ(stored("SELECT count(*) FROM t_konc WHERE id_kult IS NULL").toInt(), 0);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(CropTest, ClickingACompleteCropAddsNothingAndReturnsToTheFirstRow)
{
    selectCrop(QStringLiteral("Огурец"));
    clickCell(targets(), 5, "dxDBGrid3name_el");
    ASSERT_EQ(f4().ADOTable2.currentRow(), 5);
    selectCrop(QStringLiteral("Огурец"));
    EXPECT_EQ(targets()->model()->rowCount(), NonOxides.size());
    EXPECT_EQ(f4().ADOTable2.currentRow(), 0) << "the target rows were reopened";
    EXPECT_EQ(stored("SELECT count(*) FROM t_konc").toInt(), 5 * NonOxides.size());
}

TEST_F(CropTest, SelectingAnotherCropSwitchesTargetsAndSavedSolutions)
{
    // A saved solution of the first crop.
    Dataset &head = f4().T_HEAD_RAR;
    head.append();
    head.setValue(QStringLiteral("name_rar"), QStringLiteral("Рассада"));
    head.post();
    ASSERT_EQ(head.recordCount(), 1);

    selectCrop(QStringLiteral("Огурец"));
    EXPECT_EQ(f4().ADOTable3.asString(QStringLiteral("name_kult")), QStringLiteral("Огурец"));
    EXPECT_EQ(cell(targets(), 0, "dxDBGrid3vega"), QStringLiteral("241.6"));
    EXPECT_EQ(head.recordCount(), 0);

    selectCrop(QStringLiteral("Томат"));
    EXPECT_EQ(cell(targets(), 0, "dxDBGrid3vega"), QStringLiteral("70"));
    EXPECT_EQ(head.recordCount(), 1);
    EXPECT_EQ(head.asString(QStringLiteral("name_rar")), QStringLiteral("Рассада"));
}

TEST_F(CropTest, ANewElementJoinsOnlyTheCropClickedNextAndOxidesNever)
{
    addElement(QStringLiteral("Se"), false);
    addElement(QStringLiteral("SeO2"), true);
    selectCrop(QStringLiteral("Салат"));
    EXPECT_EQ(columnTexts(targets(), "dxDBGrid3name_el"), NonOxides + QStringList{QStringLiteral("Se")});
    EXPECT_EQ(storedTargetRows(QStringLiteral("Салат")), NonOxides.size() + 1);
    EXPECT_EQ(storedTargetRows(QStringLiteral("Томат")), NonOxides.size());

    // An element that becomes an oxide keeps the rows it has.
    Dataset &e = data().form3.T_Element;
    e.last();
    e.prior();
    ASSERT_EQ(e.asString(QStringLiteral("Smallname_element")), QStringLiteral("Se"));
    e.edit();
    e.setValue(QStringLiteral("kof"), true);
    e.post();
    selectCrop(QStringLiteral("Салат"));
    EXPECT_EQ(storedTargetRows(QStringLiteral("Салат")), NonOxides.size() + 1);
}

TEST_F(CropTest, TheDeleteButtonAsksAndRemovesOnlyTheCrop)
{
    selectCrop(QStringLiteral("Перец сладкий"));
    boxes.expect(BoxButton::Cancel);
    QTest::mouseClick(navButton("DBNavigator2Delete"), Qt::LeftButton);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("Delete record?"));
    EXPECT_EQ(boxes.last().caption, QStringLiteral("Confirm"));
    EXPECT_EQ(boxes.last().icon, BoxIcon::Question);
    EXPECT_EQ(boxes.last().buttons, QList<BoxButton>({BoxButton::Ok, BoxButton::Cancel}));
    EXPECT_EQ(crops()->model()->rowCount(), 5);

    boxes.expect(BoxButton::Ok);
    QTest::mouseClick(navButton("DBNavigator2Delete"), Qt::LeftButton);
    EXPECT_EQ(rowOf(crops(), "dxDBGrid6name_kult", QStringLiteral("Перец сладкий")), -1);
    EXPECT_EQ(crops()->model()->rowCount(), 4);
    EXPECT_EQ(stored("SELECT count(*) FROM t_konc WHERE id_kult = 3").toInt(), NonOxides.size())
        << "the window deletes nothing else";
}

TEST_F(CropTest, AClickWithoutACropCreatesNoTargetRows)
{
    // A crop being inserted has no key yet.
    QTest::mouseClick(navButton("DBNavigator1Insert"), Qt::LeftButton);
    clickCell(crops(), f4().ADOTable3.currentRow(), "dxDBGrid6ph");
    EXPECT_EQ(stored("SELECT count(*) FROM t_konc").toInt(), 5 * NonOxides.size());
    f4().ADOTable3.cancel();

    // No crop at all.
    Dataset &c = f4().ADOTable3;
    while (!c.isEmpty())
        c.remove();
    QTest::mouseClick(crops()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(stored("SELECT count(*) FROM t_konc").toInt(), 5 * NonOxides.size());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(CropTest, TargetsAreTypedInTheConcentrationGridAndComputedColumnsRefuseEdits)
{
    DataGrid *g = targets();
    const QModelIndex vega = index(g, 0, "dxDBGrid3vega");
    EXPECT_TRUE(g->model()->flags(vega) & Qt::ItemIsEditable);
    for (const char *computed : {"dxDBGrid3Column10", "dxDBGrid3vaga_calc", "dxDBGrid3cvet_calc",
                                 "dxDBGrid3Column11", "dxDBGrid3Column12", "dxDBGrid3name_el"})
        EXPECT_FALSE(g->model()->flags(index(g, 0, computed)) & Qt::ItemIsEditable) << computed;

    // An unbounded spin editor with step 1.
    DecimalSpinBox *spin = openSpinEditor(g, 0, "dxDBGrid3vega");
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->singleStep(), 1);
    EXPECT_LE(spin->minimum(), -1e9);
    EXPECT_GE(spin->maximum(), 1e9);
    QTest::keyClick(spin, Qt::Key_Up);
    QTest::keyClick(spin, Qt::Key_Return);
    clickCell(g, 1, "dxDBGrid3name_el"); // leaving the row posts it
    EXPECT_EQ(stored("SELECT vega FROM t_konc WHERE id_konc = 1").toDouble(), 71);

    // "Расчёт" takes a typed value until the next calculation replaces it.
    const QModelIndex rachet = index(g, 1, "dxDBGrid3rachet");
    g->setCurrentIndex(rachet);
    g->edit(rachet);
    auto *text = qobject_cast<QLineEdit *>(g->indexWidget(rachet));
    ASSERT_NE(text, nullptr);
    QTest::keyClicks(text, QStringLiteral("12.5"));
    QTest::keyClick(text, Qt::Key_Return);
    clickCell(g, 2, "dxDBGrid3name_el");
    EXPECT_EQ(cell(g, 1, "dxDBGrid3rachet"), QStringLiteral("12.5"));
    EXPECT_EQ(cell(g, 1, "dxDBGrid3Column10"), QStringLiteral("12.5"));
    press("Button4");
    EXPECT_EQ(cell(g, 1, "dxDBGrid3rachet"), QStringLiteral("0"));
}

} // namespace
