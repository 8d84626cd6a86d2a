#include "appwindows.h"

#include "app/database.h"
#include "app/layoutfile.h"
#include "app/outersize.h"

#include <QDir>

namespace {

class DatabaseCycleTest : public AppWindowsTest
{
protected:
    void SetUp() override { start(); }
    DataModules &d() { return Form1->data(); }

    // Pending, unposted edits in a master (the options row) and in three details: the targets,
    // a saved solution's row and a fertilizer's composition.
    void editWithoutPosting()
    {
        // The default base has no saved solution: one for the first crop, read in by a cycle.
        sqlOnBase(QStringLiteral(
            "INSERT INTO t_head_rar (name_rar, id_konc, kol_l, konc) SELECT 'Проба', min(id_kult),"
            " 10, 100 FROM T_kult; INSERT INTO t_save_rar (id_udobra, kol, id_head_rar) VALUES (1,"
            " 1.5, last_insert_rowid())"));
        ASSERT_TRUE(DatabaseCycle());
        Form4Data &f4 = d().form4;
        d().form18.ADOTable1.edit();
        d().form18.ADOTable1.setValue(QStringLiteral("maxim"), 555);
        ASSERT_GT(f4.ADOTable2.recordCount(), 0);
        f4.ADOTable2.edit();
        f4.ADOTable2.setValue(QStringLiteral("vega"), 999.0);
        ASSERT_GT(f4.T_save_rar.recordCount(), 0);
        f4.T_save_rar.edit();
        f4.T_save_rar.setValue(QStringLiteral("kol"), 88.0);
        Dataset &composition = d().form2.T_Sostav_Udobra;
        ASSERT_GT(composition.recordCount(), 0);
        composition.edit();
        composition.setValue(QStringLiteral("kol_element"), 77.0);
    }

    // Every row of the tables those edits touch, as the file holds them.
    static QString fileRows()
    {
        Connection c(QStringLiteral("base.mdb"));
        QString out;
        for (const char *table : {"t_opt", "t_konc", "t_save_rar", "T_sostav_udobra"}) {
            Connection::Statement st(c, QStringLiteral("SELECT * FROM %1").arg(QLatin1String(table)));
            while (st.step()) {
                for (int i = 0; i < st.columnCount(); ++i)
                    out += st.column(i).toString() + u'|';
                out += u'\n';
            }
        }
        return out;
    }
};

TEST_F(DatabaseCycleTest, PendingEditsOfMastersAndDetailsAreDroppedUnposted)
{
    editWithoutPosting();
    const QString before = fileRows();
    ASSERT_TRUE(DatabaseCycle());
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(fileRows().toStdString(), before.toStdString());
    for (Dataset *ds : allDatasets()) {
        EXPECT_TRUE(ds->isActive()) << ds->name().toStdString();
        EXPECT_EQ(ds->state(), DatasetState::Browse) << ds->name().toStdString();
    }
    EXPECT_NE(d().form4.ADOTable2.asFloat(QStringLiteral("vega")), 999.0);
}

// Another program holds the write lock: closing has nothing to write, so it neither waits for
// the lock nor stops with some instances closed and others open.
TEST_F(DatabaseCycleTest, AFileLockedByAnotherProgramClosesWhole)
{
    editWithoutPosting();
    const QString before = fileRows();
    d().ADOConnection1.setBusyTimeout(50);
    Connection other(QStringLiteral("base.mdb"));
    other.exec(QStringLiteral("BEGIN IMMEDIATE"));
    EXPECT_NO_THROW(CloseDatabase());
    for (Dataset *ds : allDatasets())
        EXPECT_FALSE(ds->isActive()) << ds->name().toStdString();
    EXPECT_FALSE(d().ADOConnection1.isConnected());
    other.exec(QStringLiteral("COMMIT"));

    EXPECT_NO_THROW(OpenDatabase());
    for (Dataset *ds : allDatasets())
        EXPECT_TRUE(ds->isActive()) << ds->name().toStdString();
    EXPECT_EQ(fileRows().toStdString(), before.toStdString());
}

TEST_F(DatabaseCycleTest, EveryDatasetIsReadAfreshAtItsFirstRowWithItsSettings)
{
    Form4Data &f4 = d().form4;
    Dataset &udobra = d().form2.T_Udobra;
    const QString firstCrop = f4.ADOTable3.asString(QStringLiteral("name_kult"));
    const int rachetRows = f4.T_rachet.recordCount();

    f4.ADOTable3.next();
    ASSERT_NE(f4.ADOTable3.asString(QStringLiteral("name_kult")), firstCrop);
    f4.T_SOS.setMasterLink(&f4.DS_SAVE_RAR, QStringLiteral("id_udobra"), QStringLiteral("id_udobra"));
    udobra.setFilter(QStringLiteral("name_udobra like %а%"));
    udobra.setFiltered(true);
    udobra.setSort(QStringLiteral("name_udobra DESC"));
    udobra.last();
    const QString lastFiltered = udobra.asString(QStringLiteral("name_udobra"));
    f4.T_rachet.append();
    f4.T_rachet.setValue(QStringLiteral("id_udobra"), 1);
    f4.T_rachet.setValue(QStringLiteral("kol"), 2.5); // typed, not posted

    ASSERT_TRUE(DatabaseCycle());
    EXPECT_EQ(boxes.count(), 0);
    for (Dataset *ds : allDatasets())
        EXPECT_TRUE(ds->isActive()) << ds->name().toStdString();
    EXPECT_EQ(f4.T_rachet.recordCount(), rachetRows) << "the typed amount is lost";
    EXPECT_EQ(f4.ADOTable3.asString(QStringLiteral("name_kult")), firstCrop);
    EXPECT_EQ(f4.ADOTable3.currentRow(), 0);
    EXPECT_EQ(f4.T_SOS.masterBinding(), &f4.DS_SAVE_RAR) << "the last run's link is kept";
    EXPECT_TRUE(udobra.isFiltered());
    EXPECT_EQ(udobra.filter(), QStringLiteral("name_udobra like %а%"));
    EXPECT_TRUE(udobra.sort().isEmpty()) << "a sort made by a click does not survive";
    EXPECT_EQ(udobra.currentRow(), 0);
    udobra.last();
    EXPECT_NE(udobra.asString(QStringLiteral("name_udobra")), lastFiltered)
        << "the rows come back in the table's order";
}

TEST_F(DatabaseCycleTest, AnotherWindowsPostedRowsShowAfterTheCycle)
{
    Dataset &elements = d().form3.T_Element;
    const int pickable = d().form4.T_el.recordCount();
    elements.append();
    elements.setValue(QStringLiteral("Smallname_element"), QStringLiteral("Zz"));
    elements.setValue(QStringLiteral("kof"), false);
    elements.post();
    EXPECT_EQ(d().form4.T_el.recordCount(), pickable) << "a snapshot until the cycle";
    ASSERT_TRUE(DatabaseCycle());
    EXPECT_EQ(d().form4.T_el.recordCount(), pickable + 1);
}

TEST_F(DatabaseCycleTest, TheLayoutIsWrittenAndReadStraightBack)
{
    Form4->show();
    Form4->resize(1100, 800);
    Splitter *s = Form4->findChild<Splitter *>(QStringLiteral("RzSplitter1"));
    // Where the panes' contents let it go.
    const int before = s->position();
    s->setPosition(before + 40);
    const int moved = s->position();
    ASSERT_NE(moved, before);
    const QSize outer = OuterSize::of(Form4);
    ASSERT_TRUE(DatabaseCycle());
    const QStringList lines = LayoutFile::parse(fileBytes(QStringLiteral("size.ini")));
    EXPECT_EQ(lines[LayoutFile::CalculatorHeight], QString::number(outer.height()));
    EXPECT_EQ(lines[LayoutFile::CalculatorWidth], QString::number(outer.width()));
    EXPECT_EQ(lines[LayoutFile::CalculatorSplitter1], QString::number(moved));
    EXPECT_EQ(OuterSize::of(Form4), outer);
    EXPECT_EQ(s->position(), moved);
}

TEST_F(DatabaseCycleTest, ALayoutFileThatCannotBeWrittenKeepsEverythingAsItWas)
{
    ASSERT_TRUE(QFile::remove(QStringLiteral("size.ini")));
    ASSERT_TRUE(QDir::current().mkdir(QStringLiteral("size.ini")));
    Dataset &rachet = d().form4.T_rachet;
    rachet.append();
    rachet.setValue(QStringLiteral("kol"), 2.5);
    d().form4.ADOTable3.next();
    const int crop = d().form4.ADOTable3.currentRow();

    boxes.expect(BoxButton::Ok);
    EXPECT_FALSE(DatabaseCycle()) << "the closing window stays open";
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.last().text.endsWith(QStringLiteral("size.ini\". File access denied.")));
    EXPECT_EQ(rachet.state(), DatasetState::Insert) << "nothing was closed";
    EXPECT_DOUBLE_EQ(rachet.asFloat(QStringLiteral("kol")), 2.5);
    EXPECT_EQ(d().form4.ADOTable3.currentRow(), crop);
    EXPECT_TRUE(d().ADOConnection1.isConnected());
}

TEST_F(DatabaseCycleTest, AFailedReopeningLeavesTheRestClosedUntilTheNextOne)
{
    const QString saved = base.path(QStringLiteral("saved.mdb"));
    ASSERT_TRUE(QFile::rename(base.basePath(), saved));
    boxes.expect(BoxButton::Ok);
    EXPECT_FALSE(DatabaseCycle());
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.last().text.startsWith(QStringLiteral("ADOTable1: ")))
        << boxes.last().text.toStdString();
    EXPECT_TRUE(boxes.last().text.contains(QStringLiteral("base.mdb")));
    for (Dataset *ds : allDatasets())
        EXPECT_FALSE(ds->isActive()) << ds->name().toStdString();
    EXPECT_TRUE(QFile::exists(QStringLiteral("size.ini"))) << "the layout was saved first";

    ASSERT_TRUE(QFile::rename(saved, base.basePath()));
    ASSERT_TRUE(DatabaseCycle());
    for (Dataset *ds : allDatasets())
        EXPECT_TRUE(ds->isActive()) << ds->name().toStdString();
}

TEST_F(DatabaseCycleTest, ABrokenLayoutFileLeavesTheDatasetsOpen)
{
    Form4->resize(500, 400);
    ASSERT_TRUE(writeFile(QStringLiteral("size.ini"), ""));
    CloseDatabase();
    try {
        OpenDatabase();
        ADD_FAILURE() << "OpenDatabase did not fail";
    } catch (const AppError &e) {
        EXPECT_EQ(e.text(), QStringLiteral("'' is not a valid integer value"));
    }
    for (Dataset *ds : allDatasets())
        EXPECT_TRUE(ds->isActive()) << ds->name().toStdString();
    EXPECT_TRUE(d().ADOConnection1.isConnected());
}

TEST_F(DatabaseCycleTest, ClosingTheMainWindowAfterACycleClosesTheDatabaseAgain)
{
    ASSERT_TRUE(DatabaseCycle());
    CloseMainWindow();
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_FALSE(d().ADOConnection1.isConnected());
    for (Dataset *ds : allDatasets())
        EXPECT_FALSE(ds->isActive()) << ds->name().toStdString();
}

} // namespace
