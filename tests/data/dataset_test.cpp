#include "testdb.h"

#include "data/binding.h"
#include "data/dataset.h"
#include "data/schema.h"
#include "support/freshbase.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QSignalSpy>

namespace {

// A crop table and a detail table of targets, on a fresh base.
class DatasetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        raw.connect();
        // The tests build exactly the rows they count on.
        for (const TableDef &t : Schema::tables())
            sql(raw, QStringLiteral("DELETE FROM \"%1\"").arg(t.name));
        sql(raw, QStringLiteral("DELETE FROM sqlite_sequence"));
        for (const char *name : {"Кальциевая селитра", "Калиевая селитра", "Сульфат магния",
                                 "50% [особая] 'смесь'", "Монофосфат калия"})
            sql(raw, QStringLiteral("INSERT INTO t_udobra (name_udobra, ppm) VALUES (?, 500)"),
                {QString::fromUtf8(name)});
    }

    void declareFertilizers(Dataset &ds)
    {
        ds.addStoredField(QStringLiteral("id_udobra"));
        ds.addStoredField(QStringLiteral("name_udobra"));
        ds.addStoredField(QStringLiteral("ppm"));
    }

    QStringList names(Dataset &ds)
    {
        QStringList out;
        ds.first();
        while (!ds.eof()) {
            out << ds.asString(QStringLiteral("name_udobra"));
            ds.next();
        }
        return out;
    }

    FreshBase base;
    Connection conn{QStringLiteral("base.mdb")};
    Connection raw{QStringLiteral("base.mdb")};
};

TEST_F(DatasetTest, NavigationAndEndOfTable)
{
    Dataset ds(QStringLiteral("T_Udobra"), &conn, QStringLiteral("t_udobra"));
    declareFertilizers(ds);
    LAYER_OK(ds.open());
    EXPECT_EQ(ds.recordCount(), 5);
    EXPECT_FALSE(ds.eof());
    EXPECT_EQ(ds.currentRow(), 0);

    ds.last();
    EXPECT_TRUE(ds.eof()) << "a jump to the last row sets end-of-table";
    EXPECT_EQ(ds.asString(QStringLiteral("name_udobra")), QStringLiteral("Монофосфат калия"));
    ds.prior();
    EXPECT_FALSE(ds.eof());
    ds.next();
    EXPECT_FALSE(ds.eof()) << "moving onto the last row is not yet the end";
    ds.next();
    EXPECT_TRUE(ds.eof());
    EXPECT_EQ(ds.currentRow(), 4);

    int seen = 0;
    ds.first();
    while (!ds.eof()) {
        ++seen;
        ds.next();
    }
    EXPECT_EQ(seen, 5);

    sql(raw, QStringLiteral("DELETE FROM t_udobra"));
    ds.close();
    ds.open();
    EXPECT_TRUE(ds.eof()) << "an empty dataset is at its end at once";
    EXPECT_EQ(ds.currentRow(), -1);
    EXPECT_TRUE(ds.isNull(QStringLiteral("name_udobra")));
    EXPECT_EQ(ds.asInteger(QStringLiteral("ppm")), 0);
}

TEST_F(DatasetTest, PostWritesAtOnceAndAssignsTheKey)
{
    Dataset ds(QStringLiteral("T_Udobra"), &conn, QStringLiteral("t_udobra"));
    declareFertilizers(ds);
    ds.open();
    LAYER_OK(ds.append());
    EXPECT_EQ(ds.state(), DatasetState::Insert);
    EXPECT_FALSE(ds.isModified());
    ds.setValue(QStringLiteral("name_udobra"), QStringLiteral("Новое"));
    EXPECT_TRUE(ds.isModified());
    EXPECT_TRUE(ds.isNull(QStringLiteral("id_udobra")));
    LAYER_OK(ds.post());
    EXPECT_EQ(ds.state(), DatasetState::Browse);
    EXPECT_FALSE(ds.isModified());
    const int id = ds.asInteger(QStringLiteral("id_udobra"));
    EXPECT_GT(id, 5);
    EXPECT_EQ(scalar(raw, QStringLiteral("SELECT name_udobra FROM t_udobra WHERE id_udobra = ?"), {id})
                  .toString(),
              QStringLiteral("Новое"));
    EXPECT_TRUE(scalar(raw, QStringLiteral("SELECT ppm FROM t_udobra WHERE id_udobra = ?"), {id})
                    .isNull())
        << "a field never set is stored empty";

    ds.first();
    ds.edit();
    ds.setValue(QStringLiteral("ppm"), 650);
    ds.post();
    EXPECT_EQ(scalar(raw, QStringLiteral("SELECT ppm FROM t_udobra WHERE id_udobra = 1")).toInt(), 650);

    // Keys past 32 bits: the key a post assigns is the file's rowid, whole.
    const qint64 big = 5'000'000'000LL;
    sql(raw, QStringLiteral("INSERT INTO t_udobra (id_udobra, name_udobra) VALUES (?, 'Далеко')"), {big});
    LAYER_OK(ds.append());
    ds.setValue(QStringLiteral("name_udobra"), QStringLiteral("Дальше"));
    LAYER_OK(ds.post());
    EXPECT_EQ(ds.value(QStringLiteral("id_udobra")).toLongLong(), big + 1);
    ds.close();
    ds.open();
    ds.last();
    EXPECT_EQ(ds.value(QStringLiteral("id_udobra")).toLongLong(), big + 1) << "and read back whole";
}

TEST_F(DatasetTest, MovesEndPendingEdits)
{
    Dataset ds(QStringLiteral("T_Udobra"), &conn, QStringLiteral("t_udobra"));
    declareFertilizers(ds);
    ds.open();

    ds.edit();
    ds.setValue(QStringLiteral("ppm"), 700);
    ds.next();
    EXPECT_EQ(ds.state(), DatasetState::Browse);
    EXPECT_EQ(scalar(raw, QStringLiteral("SELECT ppm FROM t_udobra WHERE id_udobra = 1")).toInt(), 700)
        << "a changed row is posted by the move";

    ds.append();
    ds.first();
    EXPECT_EQ(ds.recordCount(), 5) << "a new row without changes is dropped by the move";
    EXPECT_EQ(scalar(raw, QStringLiteral("SELECT count(*) FROM t_udobra")).toInt(), 5);

    ds.insert();
    EXPECT_EQ(ds.currentRow(), 0) << "insert starts the row at the current position";
    ds.setValue(QStringLiteral("name_udobra"), QStringLiteral("Вставка"));
    ds.cancel();
    EXPECT_EQ(ds.recordCount(), 5);
    EXPECT_EQ(ds.asString(QStringLiteral("name_udobra")), QStringLiteral("Кальциевая селитра"));

    ds.edit();
    ds.setValue(QStringLiteral("name_udobra"), QStringLiteral("Передумал"));
    ds.cancel();
    EXPECT_EQ(ds.asString(QStringLiteral("name_udobra")), QStringLiteral("Кальциевая селитра"));
    EXPECT_EQ(scalar(raw, QStringLiteral("SELECT name_udobra FROM t_udobra WHERE id_udobra = 1")).toString(),
              QStringLiteral("Кальциевая селитра"));
}

TEST_F(DatasetTest, DeleteRemovesAtOnceAndRefusesAnEmptyDataset)
{
    Dataset ds(QStringLiteral("T_HEAD_RAR"), &conn, QStringLiteral("t_head_rar"));
    ds.addStoredField(QStringLiteral("id_head_rar"));
    ds.addStoredField(QStringLiteral("name_rar"));
    ds.open();
    EXPECT_LAYER_ERROR(ds.remove(),
                       QStringLiteral("T_HEAD_RAR: Cannot perform this operation on an empty dataset"));
    EXPECT_LAYER_ERROR(ds.edit(),
                       QStringLiteral("T_HEAD_RAR: Cannot perform this operation on an empty dataset"));
    for (const char *n : {"a", "b", "c"}) {
        ds.append();
        ds.setValue(QStringLiteral("name_rar"), QString::fromLatin1(n));
        ds.post();
    }
    ds.first();
    ds.next();
    ds.remove();
    EXPECT_EQ(ds.asString(QStringLiteral("name_rar")), QStringLiteral("c")) << "the following row is current";
    EXPECT_EQ(scalar(raw, QStringLiteral("SELECT count(*) FROM t_head_rar")).toInt(), 2);
    ds.remove();
    EXPECT_EQ(ds.asString(QStringLiteral("name_rar")), QStringLiteral("a")) << "after the last row, the new last";

    ds.append();
    ds.setValue(QStringLiteral("name_rar"), QStringLiteral("new"));
    ds.remove();
    EXPECT_EQ(ds.state(), DatasetState::Browse) << "deleting a new row drops it";
    EXPECT_EQ(scalar(raw, QStringLiteral("SELECT count(*) FROM t_head_rar")).toInt(), 1);

    ds.close();
    EXPECT_LAYER_ERROR(ds.first(), QStringLiteral("T_HEAD_RAR: Cannot perform this operation on a closed dataset"));
}

TEST_F(DatasetTest, OverLongTextIsRefusedAndNothingStored)
{
    Dataset ds(QStringLiteral("T_Udobra"), &conn, QStringLiteral("t_udobra"));
    declareFertilizers(ds);
    ds.open();
    ds.edit();
    const QString fifty(50, QChar(u'ж'));
    LAYER_OK(ds.setValue(QStringLiteral("name_udobra"), fifty));
    try {
        ds.setValue(QStringLiteral("name_udobra"), fifty + QStringLiteral("ж"));
        ADD_FAILURE() << "51 characters were accepted";
    } catch (const AppError &e) {
        // A refused value is the field's error: it names the field, not the dataset.
        EXPECT_FALSE(e.text().startsWith(QStringLiteral("T_Udobra: "))) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(QStringLiteral("name_udobra")));
        EXPECT_TRUE(e.text().contains(QStringLiteral("50")));
    }
    EXPECT_EQ(ds.asString(QStringLiteral("name_udobra")), fifty) << "the refused value changed nothing";
    ds.post();
    EXPECT_EQ(scalar(raw, QStringLiteral("SELECT name_udobra FROM t_udobra WHERE id_udobra = 1")).toString(), fifty);

    // Another writer cannot store it either.
    Connection::Statement other(raw, QStringLiteral("UPDATE t_udobra SET name_udobra = ? WHERE id_udobra = 2"));
    other.bind(1, fifty + fifty);
    EXPECT_THROW(other.step(), AppError);

    ds.edit();
    EXPECT_LAYER_ERROR(ds.setAsString(QStringLiteral("ppm"), QStringLiteral("12a")),
                       QStringLiteral("'12a' is not a valid integer value for field 'ppm'"));
    EXPECT_LAYER_ERROR(ds.setValue(QStringLiteral("id_udobra"), 99),
                       QStringLiteral("T_Udobra: Field 'id_udobra' cannot be modified"));
}

TEST_F(DatasetTest, SnapshotsShowOnlyTheirOwnChanges)
{
    Dataset a(QStringLiteral("A"), &conn, QStringLiteral("t_udobra"));
    Dataset b(QStringLiteral("B"), &conn, QStringLiteral("t_udobra"));
    declareFertilizers(a);
    declareFertilizers(b);
    a.open();
    b.open();
    a.append();
    a.setValue(QStringLiteral("name_udobra"), QStringLiteral("Только в A"));
    a.post();
    a.first();
    a.edit();
    a.setValue(QStringLiteral("ppm"), 1);
    a.post();
    EXPECT_EQ(a.recordCount(), 6);
    EXPECT_EQ(b.recordCount(), 5) << "another dataset's append shows only after reopening";
    EXPECT_EQ(b.asInteger(QStringLiteral("ppm")), 500);
    b.refresh();
    EXPECT_EQ(b.recordCount(), 6);
    EXPECT_EQ(b.asInteger(QStringLiteral("ppm")), 1);
}

TEST_F(DatasetTest, AnotherProcessWritesWhileDatasetsAreOpen)
{
    Dataset ds(QStringLiteral("T_Udobra"), &conn, QStringLiteral("t_udobra"));
    declareFertilizers(ds);
    ds.open();
    ds.edit();
    ds.setValue(QStringLiteral("ppm"), 111);
    ds.post();

    QProcess other;
    other.start(QStringLiteral("python3"),
                {QStringLiteral("-c"),
                 QStringLiteral("import sqlite3; c = sqlite3.connect('base.mdb', timeout=10); "
                                "c.execute(\"insert into t_udobra (name_udobra, ppm) values ('Чужое', 9)\"); "
                                "c.execute('update t_udobra set ppm = 222 where id_udobra = 2'); c.commit(); "
                                "print(c.execute('select ppm from t_udobra where id_udobra = 1').fetchone()[0])")});
    ASSERT_TRUE(other.waitForFinished(30000));
    ASSERT_EQ(other.exitCode(), 0) << other.readAllStandardError().toStdString();
    EXPECT_EQ(other.readAllStandardOutput().trimmed(), QByteArray("111")) << "our post is visible to the other process";

    EXPECT_EQ(ds.recordCount(), 5) << "not noticed until reopened";
    ds.last();
    ds.edit();
    ds.setValue(QStringLiteral("ppm"), 333);
    LAYER_OK(ds.post());
    ds.close();
    ds.open();
    EXPECT_EQ(ds.recordCount(), 6);
    ds.moveTo(1);
    EXPECT_EQ(ds.asInteger(QStringLiteral("ppm")), 222);
}

TEST_F(DatasetTest, SearchFilterMatchesLiterallyIgnoringCase)
{
    Dataset ds(QStringLiteral("T_Udobra"), &conn, QStringLiteral("t_udobra"));
    declareFertilizers(ds);
    ds.open();
    ds.moveTo(3);
    auto search = [&](const QString &text) {
        ds.setFilter(QStringLiteral("name_udobra like %") + text + QStringLiteral("%"));
        ds.setFiltered(true);
        return names(ds);
    };
    ds.setFilter(QStringLiteral("name_udobra like %СЕЛИТРА%"));
    ds.setFiltered(true);
    EXPECT_EQ(ds.currentRow(), 0) << "switching the filter on makes the first row current";
    EXPECT_EQ(search(QStringLiteral("СЕЛИТРА")),
              QStringList({QStringLiteral("Кальциевая селитра"), QStringLiteral("Калиевая селитра")}));
    EXPECT_EQ(search(QStringLiteral("%")), QStringList(QStringLiteral("50% [особая] 'смесь'")));
    EXPECT_EQ(search(QStringLiteral("[особая]")), QStringList(QStringLiteral("50% [особая] 'смесь'")));
    EXPECT_EQ(search(QStringLiteral("'с")), QStringList(QStringLiteral("50% [особая] 'смесь'")));
    EXPECT_EQ(search(QStringLiteral("_")), QStringList()) << "an underscore is no wildcard";
    EXPECT_EQ(search(QStringLiteral("калия")), QStringList(QStringLiteral("Монофосфат калия")));
    EXPECT_EQ(search(QStringLiteral("\"; DROP TABLE t_udobra; --")), QStringList());

    ds.last();
    ds.setFiltered(false);
    EXPECT_EQ(ds.recordCount(), 5);
    EXPECT_EQ(ds.currentRow(), 0) << "switching the filter off leaves the first row current";

    ds.setFilter(QStringLiteral("id_udobra=2"));
    ds.setFiltered(true);
    EXPECT_EQ(names(ds), QStringList(QStringLiteral("Калиевая селитра")));
    EXPECT_LAYER_ERROR(ds.setFilter(QStringLiteral("ppm > 3")),
                       QStringLiteral("T_Udobra: Filter expression incorrectly formatted: ppm > 3"));
}

TEST_F(DatasetTest, SortBySettingSurvivesReopeningAndByClickDoesNot)
{
    Dataset ds(QStringLiteral("T_Udobra"), &conn, QStringLiteral("t_udobra"));
    declareFertilizers(ds);
    ds.open();
    ds.moveTo(2);
    ds.setSort(QStringLiteral("name_udobra DESC"));
    EXPECT_EQ(ds.asString(QStringLiteral("name_udobra")), QStringLiteral("Сульфат магния"))
        << "the current row stays current when sorted";
    EXPECT_EQ(names(ds), QStringList({QStringLiteral("Сульфат магния"), QStringLiteral("Монофосфат калия"),
                                      QStringLiteral("Кальциевая селитра"), QStringLiteral("Калиевая селитра"),
                                      QStringLiteral("50% [особая] 'смесь'")}));
    ds.setSort(QStringLiteral("name_udobra ASC"));
    EXPECT_EQ(names(ds).first(), QStringLiteral("50% [особая] 'смесь'"));
    ds.close();
    ds.open();
    EXPECT_EQ(names(ds).first(), QStringLiteral("Кальциевая селитра")) << "a sort set while open is dropped";

    ds.close();
    ds.setSort(QStringLiteral("name_udobra DESC"));
    ds.open();
    ds.close();
    ds.open();
    EXPECT_EQ(names(ds).first(), QStringLiteral("Сульфат магния")) << "a sort set while closed is a setting";
}

TEST_F(DatasetTest, MasterDetailFollowsAndFillsTheDetailField)
{
    sql(raw, QStringLiteral("INSERT INTO T_kult (id_kult, name_kult) VALUES (1, 'Томат'), (2, 'Огурец')"));
    sql(raw, QStringLiteral("INSERT INTO t_konc (id_kult, id_el, vega) VALUES (1, 1, 10), (1, 2, 20), (2, 1, 30)"));
    Dataset crops(QStringLiteral("ADOTable3"), &conn, QStringLiteral("T_kult"));
    crops.addStoredField(QStringLiteral("id_kult"));
    crops.addStoredField(QStringLiteral("name_kult"));
    Binding cropBinding(QStringLiteral("DataSource3"), &crops);
    Dataset targets(QStringLiteral("ADOTable2"), &conn, QStringLiteral("t_konc"));
    for (const char *f : {"id_konc", "vega", "id_kult", "id_el"})
        targets.addStoredField(QString::fromLatin1(f));
    Binding targetBinding(QStringLiteral("DataSource2"), &targets);
    targets.setMasterLink(&cropBinding, QStringLiteral("id_kult"), QStringLiteral("id_kult"));

    targets.open();
    EXPECT_EQ(targets.recordCount(), 0) << "a detail of a closed master shows nothing";
    crops.open();
    EXPECT_EQ(targets.recordCount(), 2) << "opening the master applies the link";
    targets.next();
    crops.next();
    EXPECT_EQ(targets.recordCount(), 1);
    EXPECT_EQ(targets.currentRow(), 0) << "the detail stands on its first row";
    EXPECT_DOUBLE_EQ(targets.asFloat(QStringLiteral("vega")), 30);

    targets.edit();
    targets.setValue(QStringLiteral("vega"), 31.5);
    crops.first();
    EXPECT_DOUBLE_EQ(scalar(raw, QStringLiteral("SELECT vega FROM t_konc WHERE id_kult = 2")).toDouble(), 31.5)
        << "the detail posts its pending edit when the master moves";

    targets.append();
    EXPECT_EQ(targets.asInteger(QStringLiteral("id_kult")), 1);
    targets.setValue(QStringLiteral("id_el"), 3);
    targets.post();
    EXPECT_EQ(scalar(raw, QStringLiteral("SELECT id_kult FROM t_konc WHERE id_el = 3")).toInt(), 1);

    // A new crop: its key exists once posted, and the detail follows it.
    crops.append();
    EXPECT_EQ(targets.recordCount(), 0);
    crops.setValue(QStringLiteral("name_kult"), QStringLiteral("Салат"));
    crops.post();
    targets.append();
    EXPECT_EQ(targets.asInteger(QStringLiteral("id_kult")), crops.asInteger(QStringLiteral("id_kult")));
    targets.cancel();

    // Re-pointed at run time: set the link, close and open.
    Dataset other(QStringLiteral("T_kult2"), &conn, QStringLiteral("T_kult"));
    other.addStoredField(QStringLiteral("id_kult"));
    Binding otherBinding(QStringLiteral("Other"), &other);
    other.open();
    other.last();
    other.prior();
    targets.setMasterLink(&otherBinding, QStringLiteral("id_kult"), QStringLiteral("id_kult"));
    targets.close();
    targets.open();
    EXPECT_EQ(targets.recordCount(), 1) << "now the second crop of the other dataset";
    crops.first();
    EXPECT_EQ(targets.recordCount(), 1) << "the old master no longer drives it";
}

TEST_F(DatasetTest, LookupsSeeEveryRowInDeclaredOrder)
{
    sql(raw, QStringLiteral("INSERT INTO t_kof (id_kof, name_kof, kof, id_element) VALUES "
                            "(1, 'P2O5 -> P, очень длинное название', 0.4364, 2)"));
    sql(raw, QStringLiteral("INSERT INTO T_element (id_element, Smallname_element, kof, id_kof) VALUES (1, 'N', 0, NULL), (13, 'P2O5', 1, 1)"));
    Dataset kof(QStringLiteral("T_KOF"), &conn, QStringLiteral("t_kof"));
    for (const char *f : {"id_kof", "name_kof", "kof", "id_element"})
        kof.addStoredField(QString::fromLatin1(f));
    Dataset element(QStringLiteral("T_Element"), &conn, QStringLiteral("T_element"));
    for (const char *f : {"id_element", "Smallname_element", "kof", "id_kof"})
        element.addStoredField(QString::fromLatin1(f));
    element.addLookupField(QStringLiteral("name_k"), FieldType::Text, 20, QStringLiteral("id_kof"), &kof,
                           QStringLiteral("id_kof"), QStringLiteral("name_kof"));
    Dataset sos(QStringLiteral("T_SOS"), &conn, QStringLiteral("T_sostav_udobra"));
    for (const char *f : {"id_sostav_udobra", "id_element", "id_udobra", "kol_element"})
        sos.addStoredField(QString::fromLatin1(f));
    sos.addLookupField(QStringLiteral("id_kof"), FieldType::Int, 0, QStringLiteral("id_element"), &element,
                       QStringLiteral("id_element"), QStringLiteral("id_kof"));
    sos.addLookupField(QStringLiteral("kof"), FieldType::Double, 0, QStringLiteral("id_kof"), &kof,
                       QStringLiteral("id_kof"), QStringLiteral("kof"));
    sos.addLookupField(QStringLiteral("id_el"), FieldType::Int, 0, QStringLiteral("id_kof"), &kof,
                       QStringLiteral("id_kof"), QStringLiteral("id_element"));
    sql(raw, QStringLiteral("INSERT INTO T_sostav_udobra (id_element, id_udobra, kol_element) VALUES (13, 1, 52), (1, 1, 12)"));

    sos.open();
    EXPECT_TRUE(sos.isNull(QStringLiteral("kof"))) << "the lookup datasets are still closed";
    element.open();
    kof.open();
    EXPECT_DOUBLE_EQ(sos.asFloat(QStringLiteral("kof")), 0.4364) << "the chain id_element -> id_kof -> kof";
    EXPECT_EQ(sos.asInteger(QStringLiteral("id_el")), 2);
    sos.next();
    EXPECT_TRUE(sos.isNull(QStringLiteral("kof"))) << "an element without a coefficient";
    EXPECT_DOUBLE_EQ(sos.asFloat(QStringLiteral("kof")), 0.0);
    EXPECT_EQ(sos.asInteger(QStringLiteral("id_el")), 0);

    element.setFilter(QStringLiteral("kof<>true"));
    element.setFiltered(true);
    sos.first();
    EXPECT_EQ(sos.asInteger(QStringLiteral("id_kof")), 1) << "a filtered lookup dataset still resolves";
    EXPECT_EQ(element.currentRow(), 0) << "a lookup never moves the lookup dataset";

    element.setFiltered(false);
    element.last();
    EXPECT_EQ(element.asString(QStringLiteral("name_k")), QStringLiteral("P2O5 -> P, очень дли"))
        << "cut to the lookup field's 20 characters";
}

TEST_F(DatasetTest, CalculatedFieldsAndBookmarks)
{
    Dataset ds(QStringLiteral("T_rachet"), &conn, QStringLiteral("t_rachet"));
    ds.addStoredField(QStringLiteral("id_rachet"));
    ds.addStoredField(QStringLiteral("kol"));
    ds.addCalculatedField(QStringLiteral("kol_pr"));
    int factor = 2;
    int calls = 0;
    ds.setCalcHook([&](Dataset &d) {
        ++calls;
        d.setCalcValue(QStringLiteral("kol_pr"), d.asFloat(QStringLiteral("kol")) * factor);
    });
    sql(raw, QStringLiteral("INSERT INTO t_rachet (id_udobra, kol) VALUES (1, 1.5), (2, NULL), (3, 4)"));
    ds.open();
    EXPECT_GE(calls, 3);
    EXPECT_DOUBLE_EQ(ds.asFloat(QStringLiteral("kol_pr")), 3.0);
    ds.next();
    EXPECT_DOUBLE_EQ(ds.asFloat(QStringLiteral("kol_pr")), 0.0) << "an empty amount counts as 0";

    ds.edit();
    ds.setValue(QStringLiteral("kol"), 5.0);
    EXPECT_DOUBLE_EQ(ds.asFloat(QStringLiteral("kol_pr")), 10.0) << "recomputed as the stored field changes";
    EXPECT_LAYER_ERROR(ds.setValue(QStringLiteral("kol_pr"), 1.0),
                       QStringLiteral("T_rachet: Field 'kol_pr' cannot be modified"));
    ds.post();

    const Bookmark mark = ds.bookmark();
    factor = 10;
    ds.first();
    EXPECT_DOUBLE_EQ(ds.valueAt(2, QStringLiteral("kol_pr")).toDouble(), 40.0) << "first() reads the rows again";
    ds.gotoBookmark(mark);
    EXPECT_EQ(ds.currentRow(), 1);
    EXPECT_DOUBLE_EQ(ds.asFloat(QStringLiteral("kol")), 5.0);
    ds.gotoBookmark(Bookmark());
    EXPECT_EQ(ds.currentRow(), 1) << "a null bookmark goes nowhere";

    ds.refresh();
    EXPECT_EQ(ds.currentRow(), 1) << "refresh keeps the current row";
}

TEST_F(DatasetTest, BindingDisabledHidesChangesFromControls)
{
    Dataset ds(QStringLiteral("T_Udobra"), &conn, QStringLiteral("t_udobra"));
    declareFertilizers(ds);
    Binding b(QStringLiteral("DS_UDobRA"), &ds);
    QSignalSpy dataChange(&b, &Binding::dataChange);
    QSignalSpy current(&b, &Binding::currentChanged);
    ds.open();
    EXPECT_GT(dataChange.count(), 0);
    b.setEnabled(false);
    dataChange.clear();
    current.clear();
    ds.next();
    ds.next();
    EXPECT_EQ(dataChange.count(), 0);
    EXPECT_EQ(current.count(), 0);
    QSignalSpy reset(&b, &Binding::reset);
    b.setEnabled(true);
    EXPECT_EQ(reset.count(), 1);
    ASSERT_EQ(current.count(), 1);
    EXPECT_EQ(current.first().first().toInt(), 2);
}

TEST(ConnectionTest, MissingAndCorruptBasesAreRefused)
{
    QTemporaryDir dir;
    Connection missing(dir.filePath(QStringLiteral("base.mdb")));
    try {
        missing.connect();
        ADD_FAILURE() << "a missing base was opened";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("base.mdb"))) << e.text().toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("base.mdb")))) << "never created";

    QFile junk(dir.filePath(QStringLiteral("junk.mdb")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    Connection corrupt(junk.fileName());
    EXPECT_THROW(corrupt.connect(), AppError);
    EXPECT_FALSE(corrupt.isConnected());

    Dataset ds(QStringLiteral("ADOTable1"), &missing, QStringLiteral("t_opt"));
    EXPECT_THROW(ds.open(), AppError);
    EXPECT_FALSE(ds.isActive());
}

} // namespace
