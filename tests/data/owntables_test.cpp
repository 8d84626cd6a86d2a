#include "testdb.h"

#include "data/fields.h"
#include "data/owntables.h"
#include "data/schema.h"
#include "support/freshbase.h"

#include <QMap>

#include <sqlite3.h>

namespace {

// Every row of the ten tables, as text, to show that an upgrade keeps them all.
QMap<QString, QStringList> tenTables(Connection &c)
{
    QMap<QString, QStringList> out;
    for (const TableDef &t : Schema::tables()) {
        Connection::Statement st(c, QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1").arg(t.name));
        while (st.step()) {
            QStringList cells;
            for (int i = 0; i < st.columnCount(); ++i)
                cells << st.column(i).toString();
            out[t.name] << cells.join(u'|');
        }
    }
    return out;
}

QStringList objects(Connection &c)
{
    QStringList out;
    Connection::Statement st(c, QStringLiteral("SELECT type || ' ' || name FROM sqlite_master "
                                               "WHERE name NOT LIKE 'sqlite_%' ORDER BY 1"));
    while (st.step())
        out << st.column(0).toString();
    return out;
}

// A base as an older version of the program left it: the default rows, none of our tables.
class OwnTablesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Connection raw(QStringLiteral("base.mdb"));
        raw.connectToNewFile();
        for (const TableDef &t : OwnTables::tables())
            sql(raw, QStringLiteral("DROP TABLE \"%1\"").arg(t.name));
        sql(raw, QStringLiteral("INSERT INTO t_udobra (name_udobra, ppm) VALUES ('Своё удобрение', 640)"));
        tenOnly = objects(raw);
        rows = tenTables(raw);
    }

    qint64 schemaVersion()
    {
        Connection raw(QStringLiteral("base.mdb"));
        raw.connectToNewFile();
        return scalar(raw, QStringLiteral("PRAGMA schema_version")).toLongLong();
    }

    FreshBase base;
    QStringList tenOnly;
    QMap<QString, QStringList> rows;
};

TEST_F(OwnTablesTest, ABaseOfTheTenTablesGainsOursOnceAndKeepsEveryRow)
{
    for (const TableDef &t : OwnTables::tables())
        ASSERT_FALSE(tenOnly.contains(QStringLiteral("table ") + t.name));

    Connection c(QStringLiteral("base.mdb"));
    LAYER_OK(c.connect());
    const QStringList after = objects(c);
    for (const TableDef &t : OwnTables::tables()) {
        EXPECT_TRUE(after.contains(QStringLiteral("table ") + t.name)) << t.name.toStdString();
        for (const FieldDef &f : t.fields)
            EXPECT_NO_THROW(scalar(c, QStringLiteral("SELECT \"%1\" FROM \"%2\"").arg(f.name, t.name)))
                << f.name.toStdString();
    }
    EXPECT_EQ(after.size(), tenOnly.size() + OwnTables::tables().size() + 3) << "three indexes";
    EXPECT_EQ(tenTables(c), rows);
    c.disconnect();

    // Up to date now: opening again changes nothing in the file's schema.
    const qint64 version = schemaVersion();
    Connection again(QStringLiteral("base.mdb"));
    LAYER_OK(again.connect());
    again.disconnect();
    EXPECT_EQ(schemaVersion(), version);
}

TEST_F(OwnTablesTest, AFieldAddedLaterReachesAnOlderTableOfOursWithItsRows)
{
    {
        Connection raw(QStringLiteral("base.mdb"));
        raw.connectToNewFile();
        sql(raw, QStringLiteral("CREATE TABLE t_svoistva_udobra (id_svoistva INTEGER PRIMARY KEY "
                                "AUTOINCREMENT, id_udobra INTEGER, rastvorimost DOUBLE)"));
        sql(raw, QStringLiteral("INSERT INTO t_svoistva_udobra (id_udobra, rastvorimost) VALUES (1, 1212)"));
    }
    Connection c(QStringLiteral("base.mdb"));
    LAYER_OK(c.connect());
    EXPECT_EQ(scalar(c, QStringLiteral("SELECT rastvorimost FROM t_svoistva_udobra WHERE id_udobra = 1"))
                  .toDouble(),
              1212);
    EXPECT_TRUE(scalar(c, QStringLiteral("SELECT cena FROM t_svoistva_udobra")).isNull());
    // The unique index came with the upgrade: one properties row per fertilizer.
    EXPECT_THROW(c.exec(QStringLiteral("INSERT INTO t_svoistva_udobra (id_udobra) VALUES (1)")),
                 AppError);
}

// Another program holds the write lock past the busy timeout: the open fails with the reason,
// and nothing of ours is half made.
TEST_F(OwnTablesTest, AnUpgradeThatCannotTakeTheLockLeavesTheBaseAsItWas)
{
    Connection other(QStringLiteral("base.mdb"));
    other.connectToNewFile();
    other.exec(QStringLiteral("BEGIN IMMEDIATE"));

    Connection c(QStringLiteral("base.mdb"));
    c.setBusyTimeout(20);
    EXPECT_LAYER_ERROR(c.connect(), QStringLiteral("Cannot open database '%1'. database is locked")
                                        .arg(base.basePath()));
    EXPECT_FALSE(c.isConnected());
    other.exec(QStringLiteral("COMMIT"));
    EXPECT_EQ(objects(other), tenOnly);
}

TEST(OwnTables, ANewBaseHoldsThemWithTheirIndexes)
{
    FreshBase base;
    Connection c(QStringLiteral("base.mdb"));
    LAYER_OK(c.connect());
    const QStringList all = objects(c);
    for (const QString &name : {Tables::t_voda, Tables::t_sostav_vody, Tables::t_svoistva_udobra,
                                Tables::t_svoistva_kult})
        EXPECT_TRUE(all.contains(QStringLiteral("table ") + name)) << name.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("index t_svoistva_udobra_id_udobra")));
    EXPECT_TRUE(all.contains(QStringLiteral("index t_svoistva_kult_id_kult")));
    EXPECT_TRUE(all.contains(QStringLiteral("index t_sostav_vody_id_voda")));
    EXPECT_EQ(&Schema::table(QStringLiteral("T_VODA")), &OwnTables::tables().first());
}

} // namespace
