#include "testdb.h"

#include "data/fields.h"
#include "data/owntables.h"
#include "data/schema.h"
#include "support/freshbase.h"

#include <QCryptographicHash>
#include <QFile>
#include <QMap>

#include <sqlite3.h>

namespace {

// Our tables as each earlier version of the program made them, written out as it wrote them,
// with rows of ours in each: a migration must keep every one.
const QStringList Version1 = {
    "CREATE TABLE \"t_voda\" (\"id_voda\" INTEGER PRIMARY KEY AUTOINCREMENT, \"name_voda\" "
    "TEXT(50) CHECK (length(\"name_voda\") <= 50))",
    "CREATE TABLE \"t_sostav_vody\" (\"id_sostav_vody\" INTEGER PRIMARY KEY AUTOINCREMENT, "
    "\"id_voda\" INTEGER, \"id_element\" INTEGER, \"mg_l\" DOUBLE)",
    "CREATE INDEX \"t_sostav_vody_id_voda\" ON \"t_sostav_vody\" (\"id_voda\")",
    "INSERT INTO t_voda (id_voda, name_voda) VALUES (4, 'Скважина')",
    "INSERT INTO t_sostav_vody (id_voda, id_element, mg_l) VALUES (4, 4, 40), (4, 5, 12.5)",
};
const QStringList Version2 = {
    "CREATE TABLE \"t_svoistva_udobra\" (\"id_svoistva\" INTEGER PRIMARY KEY AUTOINCREMENT, "
    "\"id_udobra\" INTEGER, \"rastvorimost\" DOUBLE, \"cena\" DOUBLE, \"bak\" INTEGER)",
    "CREATE UNIQUE INDEX \"t_svoistva_udobra_id_udobra\" ON \"t_svoistva_udobra\" (\"id_udobra\")",
    "INSERT INTO t_svoistva_udobra (id_udobra, rastvorimost, cena, bak) VALUES (2, 316, 2.1, 2)",
};

// Every row of the tables given, as text.
QMap<QString, QStringList> rowsOf(Connection &c, const QStringList &tables)
{
    QMap<QString, QStringList> out;
    for (const QString &t : tables) {
        Connection::Statement st(c, QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1").arg(t));
        while (st.step()) {
            QStringList cells;
            for (int i = 0; i < st.columnCount(); ++i)
                cells << st.column(i).toString();
            out[t] << cells.join(u'|');
        }
    }
    return out;
}

QStringList tenTables()
{
    QStringList out;
    for (const TableDef &t : Schema::tables())
        out << t.name;
    return out;
}

int userVersion(Connection &c)
{
    return scalar(c, QStringLiteral("PRAGMA user_version")).toInt();
}

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// A copy of the default base taken back to an earlier version of ours: v0 the ten tables only,
// v1 and v2 as those versions made our tables, with the version stored or, as before it was
// stored, without.
class MigrationTest : public ::testing::Test
{
protected:
    void makeVersion(int version, bool stored)
    {
        Connection raw(base.basePath());
        raw.connectToNewFile();
        for (const TableDef &t : OwnTables::tables())
            sql(raw, QStringLiteral("DROP TABLE \"%1\"").arg(t.name));
        QStringList script;
        if (version >= 1)
            script += Version1;
        if (version >= 2)
            script += Version2;
        for (const QString &s : script)
            sql(raw, s);
        sql(raw, QStringLiteral("PRAGMA user_version = %1").arg(stored ? version : 0));
        ours = rowsOf(raw, version >= 2 ? QStringList{Tables::t_voda, Tables::t_sostav_vody, Tables::t_svoistva_udobra}
                                        : version == 1 ? QStringList{Tables::t_voda, Tables::t_sostav_vody}
                                                       : QStringList{});
        ten = rowsOf(raw, tenTables());
    }

    // Every table, field and index of the latest version is there.
    void expectLatest(Connection &c, const std::string &what)
    {
        for (const TableDef &t : OwnTables::tables()) {
            for (const FieldDef &f : t.fields)
                EXPECT_NO_THROW(scalar(c, QStringLiteral("SELECT \"%1\" FROM \"%2\"").arg(f.name, t.name)))
                    << what << ": " << t.name.toStdString() << "." << f.name.toStdString();
        }
        for (const char *index : {"t_sostav_vody_id_voda", "t_svoistva_udobra_id_udobra", "t_svoistva_kult_id_kult"})
            EXPECT_EQ(scalar(c, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = ?1"),
                             {QString::fromLatin1(index)})
                          .toInt(),
                      1)
                << what << ": " << index;
        EXPECT_EQ(userVersion(c), OwnTables::LatestVersion) << what;
    }

    FreshBase base;
    QMap<QString, QStringList> ours;
    QMap<QString, QStringList> ten;
};

TEST_F(MigrationTest, EveryEarlierVersionReachesTheLatestKeepingItsRows)
{
    const struct
    {
        int version;
        bool stored;
    } cases[] = {{0, false}, {1, false}, {1, true}, {2, false}, {2, true}};
    for (const auto &c : cases) {
        const std::string what = "v" + std::to_string(c.version) + (c.stored ? " stored" : " recognised");
        makeVersion(c.version, c.stored);
        {
            Connection raw(base.basePath());
            raw.connectToNewFile();
            EXPECT_EQ(OwnTables::schemaVersion(raw.handle()), c.stored ? c.version : 0) << what;
        }
        Connection opened(base.basePath());
        LAYER_OK(opened.connect());
        expectLatest(opened, what);
        EXPECT_EQ(rowsOf(opened, tenTables()), ten) << what << ": the ten tables untouched";
        // Rows of ours keep every value; the fields a later version added are empty.
        for (auto it = ours.cbegin(); it != ours.cend(); ++it) {
            const QStringList after = rowsOf(opened, {it.key()}).value(it.key());
            ASSERT_EQ(after.size(), it.value().size()) << what << " " << it.key().toStdString();
            for (int i = 0; i < after.size(); ++i)
                EXPECT_TRUE(after.at(i).startsWith(it.value().at(i))) << what << ": " << after.at(i).toStdString();
        }
        if (c.version >= 2) {
            EXPECT_THROW(opened.exec(QStringLiteral("INSERT INTO t_svoistva_udobra (id_udobra) VALUES (2)")), AppError)
                << what << ": still one properties row per fertilizer";
        }
        opened.disconnect();

        // Up to date now: opening again writes nothing.
        const QByteArray before = fileHash(base.basePath());
        Connection again(base.basePath());
        LAYER_OK(again.connect());
        again.disconnect();
        EXPECT_EQ(fileHash(base.basePath()), before) << what;
    }
}

// A base from before the version was stored but holding all of the latest version is left as
// it is; a stored version whose parts were lost since is mended; a later program's version is
// never lowered.
TEST_F(MigrationTest, TheStoredVersionIsCheckedAgainstWhatTheBaseHolds)
{
    {
        Connection raw(base.basePath());
        raw.connectToNewFile();
        EXPECT_EQ(userVersion(raw), OwnTables::LatestVersion) << "a new base stores the version";
        sql(raw, QStringLiteral("PRAGMA user_version = 0"));
    }
    {
        Connection c(base.basePath());
        LAYER_OK(c.connect());
        EXPECT_EQ(userVersion(c), 0) << "recognised as the latest: nothing to write";
        sql(c, QStringLiteral("PRAGMA user_version = 3"));
        sql(c, QStringLiteral("DROP INDEX t_svoistva_kult_id_kult"));
    }
    {
        Connection c(base.basePath());
        LAYER_OK(c.connect());
        expectLatest(c, "a lost index");
        sql(c, QStringLiteral("PRAGMA user_version = 7"));
        sql(c, QStringLiteral("DROP TABLE t_svoistva_kult"));
    }
    Connection c(base.basePath());
    LAYER_OK(c.connect());
    EXPECT_NO_THROW(scalar(c, QStringLiteral("SELECT nh4_dolya FROM t_svoistva_kult")));
    EXPECT_EQ(userVersion(c), 7) << "a later program's version stays";
}

// A step that fails leaves the base at the last whole step: version 2 is taken, version 3's
// new column cannot be added to a table that refuses its type, and nothing of 3 is there.
TEST_F(MigrationTest, AFailingStepLeavesTheBaseAtTheLastWholeOne)
{
    makeVersion(1, true);
    {
        Connection raw(base.basePath());
        raw.connectToNewFile();
        sql(raw, QStringLiteral("CREATE TABLE t_svoistva_udobra (id_svoistva INTEGER PRIMARY KEY, id_udobra INTEGER, "
                                "rastvorimost REAL, cena REAL, bak INTEGER) STRICT"));
    }
    Connection c(base.basePath());
    EXPECT_THROW(c.connect(), AppError);
    Connection raw(base.basePath());
    raw.connectToNewFile();
    EXPECT_EQ(userVersion(raw), 2);
    EXPECT_EQ(scalar(raw, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 't_svoistva_udobra_id_udobra'")).toInt(), 1);
    EXPECT_EQ(scalar(raw, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name LIKE 't_svoistva_kult%'")).toInt(), 0);
    EXPECT_EQ(scalar(raw, QStringLiteral("SELECT count(*) FROM pragma_table_info('t_voda') WHERE name = 'hco3'")).toInt(), 0);
}

// The version lives in the file's header: a base refused by the checks keeps every byte.
TEST_F(MigrationTest, ARefusedBaseKeepsEveryByte)
{
    makeVersion(1, false);
    {
        Connection raw(base.basePath());
        raw.connectToNewFile();
        sql(raw, QStringLiteral("ALTER TABLE t_udobra RENAME COLUMN ppm TO ppm_old"));
    }
    const QByteArray before = fileHash(base.basePath());
    Connection c(base.basePath());
    EXPECT_LAYER_ERROR(c.connect(), QStringLiteral("t_udobra: no such column: ppm"));
    EXPECT_EQ(fileHash(base.basePath()), before);
}

} // namespace
