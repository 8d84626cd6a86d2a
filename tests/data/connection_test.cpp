#include "testdb.h"

#include "data/dataset.h"
#include "data/filesystem.h"
#include "data/schema.h"
#include "support/childprocess.h"
#include "support/errorof.h"
#include "support/freshbase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>

#include <memory>

#include <sqlite3.h>

namespace {

// Files beside the base: SQLite's journals would show a base that was written to.
QStringList dirEntries(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden);
}

// A base as a grower's may be: a fresh default base, possibly changed by another program.
class ConnectionTest : public ::testing::Test
{
protected:
    // Runs statements on the base as another program would, not through our connection.
    void otherProgram(const char *statements)
    {
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(base.basePath().toUtf8().constData(), &db), SQLITE_OK);
        char *err = nullptr;
        const int rc = sqlite3_exec(db, statements, nullptr, nullptr, &err);
        EXPECT_EQ(rc, SQLITE_OK) << (err ? err : "");
        sqlite3_free(err);
        sqlite3_close(db);
    }

    std::string shown(const char *name) { return QFileInfo(base.path(QString::fromLatin1(name))).absoluteFilePath().toStdString(); }

    FreshBase base;
};

TEST_F(ConnectionTest, AMissingFieldIsNamedAndNeverReadAsText)
{
    otherProgram("CREATE TABLE t_new (id_udobra INTEGER PRIMARY KEY AUTOINCREMENT, ppm INTEGER);"
                 "INSERT INTO t_new SELECT id_udobra, ppm FROM t_udobra;"
                 "DROP TABLE t_udobra; ALTER TABLE t_new RENAME TO t_udobra;");
    Connection c(QStringLiteral("base.mdb"));
    EXPECT_EQ(errorOf([&] { c.connect(); }), "t_udobra: no such column: name_udobra");
    EXPECT_FALSE(c.isConnected());

    otherProgram("ALTER TABLE t_udobra ADD COLUMN name_udobra TEXT(50); DROP TABLE t_konc");
    Connection again(QStringLiteral("base.mdb"));
    EXPECT_EQ(errorOf([&] { again.connect(); }), "no such table: t_konc");
}

TEST_F(ConnectionTest, ExtraTablesAndFieldsAreNoBar)
{
    otherProgram("CREATE TABLE own_tanks (id INTEGER PRIMARY KEY, litres DOUBLE);"
                 "ALTER TABLE t_udobra ADD COLUMN note TEXT;");
    Connection c(QStringLiteral("base.mdb"));
    LAYER_OK(c.connect());
    Dataset ds(QStringLiteral("T_Udobra"), &c, QStringLiteral("t_udobra"));
    ds.addStoredField(QStringLiteral("name_udobra"));
    LAYER_OK(ds.open());
    EXPECT_EQ(ds.asString(QStringLiteral("name_udobra")), QStringLiteral("Кальциевая селитра"));
}

TEST_F(ConnectionTest, DoubleQuotesAlwaysNameAColumn)
{
    Connection c(QStringLiteral("base.mdb"));
    EXPECT_EQ(errorOf([&] { Connection::Statement st(c, QStringLiteral("SELECT \"nothing\" FROM t_udobra")); }),
              "no such column: nothing");
    EXPECT_EQ(errorOf([&] { c.exec(QStringLiteral("UPDATE t_udobra SET name_udobra = \"x\"")); }),
              "no such column: x");
    EXPECT_EQ(scalar(c, QStringLiteral("SELECT \"name_udobra\" FROM t_udobra WHERE id_udobra = 1"))
                  .toString(),
              QStringLiteral("Кальциевая селитра"));
}

TEST_F(ConnectionTest, AnEmptyFileIsNoDatabaseAndStaysEmpty)
{
    ASSERT_TRUE(QFile::resize(base.basePath(), 0));
    Connection c(QStringLiteral("base.mdb"));
    EXPECT_EQ(errorOf([&] { c.connect(); }),
              "Unrecognized database format '" + shown("base.mdb") + "'. file is not a database");
    EXPECT_EQ(QFileInfo(base.basePath()).size(), 0);
    EXPECT_EQ(dirEntries(base.dir()), QStringList{QStringLiteral("base.mdb")});
}

// A read-only base is refused at once, in either journal mode, before anything is written.
TEST_F(ConnectionTest, ABaseThatCannotBeWrittenIsRefused)
{
    const std::string readOnly =
        "Cannot write database '" + shown("base.mdb") + "'. The file is read-only";
    const auto everyoneMay = [](QFileDevice::Permissions others) {
        return QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | others;
    };
    ASSERT_TRUE(QFile::setPermissions(base.dir(), everyoneMay(QFile::ReadOther | QFile::ExeOther
                                                              | QFile::WriteOther)));
    for (const char *mode : {"DELETE", "WAL"}) {
        ASSERT_TRUE(QFile::setPermissions(base.basePath(), QFile::ReadOwner | QFile::WriteOwner));
        otherProgram(QByteArray("PRAGMA journal_mode=").append(mode).constData());
        ASSERT_TRUE(QFile::setPermissions(base.basePath(), QFile::ReadOwner | QFile::ReadOther));
        EXPECT_EQ(runInChild([] { return errorOf([] { Connection(QStringLiteral("base.mdb")).connect(); }); }),
                  readOnly)
            << mode;
    }

    ASSERT_TRUE(QFile::setPermissions(base.basePath(), QFile::ReadOwner | QFile::WriteOwner
                                                         | QFile::ReadOther | QFile::WriteOther));
    ASSERT_TRUE(QFile::setPermissions(base.dir(), QFile::ReadOwner | QFile::ExeOwner
                                                    | QFile::ReadOther | QFile::ExeOther));
    EXPECT_EQ(dirEntries(base.dir()), QStringList{QStringLiteral("base.mdb")}) << "nothing written";
    const std::string folder =
        runInChild([] { return errorOf([] { Connection(QStringLiteral("base.mdb")).connect(); }); });
    QFile::setPermissions(base.dir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(folder, "Cannot write database '" + shown("base.mdb") + "'. Its folder is read-only");
}

// Another program holds the write lock past the busy timeout: the batch that meets it fails,
// and the next one is a transaction of its own again, not a run of autocommitted posts.
TEST_F(ConnectionTest, AFailedBeginLeavesLaterBatchesWhole)
{
    Connection c(QStringLiteral("base.mdb"));
    c.setBusyTimeout(20);
    Connection other(QStringLiteral("base.mdb"));
    other.exec(QStringLiteral("BEGIN IMMEDIATE"));
    EXPECT_EQ(errorOf([&] { Connection::Batch batch(c); }), "database is locked");
    other.exec(QStringLiteral("COMMIT"));

    Connection reader(QStringLiteral("base.mdb"));
    const int before = scalar(reader, QStringLiteral("SELECT count(*) FROM t_udobra")).toInt();
    {
        Connection::Batch batch(c);
        sql(c, QStringLiteral("INSERT INTO t_udobra (name_udobra, ppm) VALUES ('A', 1)"));
        sql(c, QStringLiteral("INSERT INTO t_udobra (name_udobra, ppm) VALUES ('B', 2)"));
        EXPECT_EQ(scalar(reader, QStringLiteral("SELECT count(*) FROM t_udobra")).toInt(), before)
            << "nothing shows before the batch commits";
        LAYER_OK(batch.commit());
    }
    EXPECT_EQ(scalar(reader, QStringLiteral("SELECT count(*) FROM t_udobra")).toInt(),
              before + 2);
}

// A COMMIT that fails (here refused by a commit hook, as a full disk or an I/O error would
// refuse it) is the batch's error, and the datasets that wrote show what the file holds.
TEST_F(ConnectionTest, AFailedCommitIsReportedAndTheWritersRead)
{
    Connection c(QStringLiteral("base.mdb"));
    Dataset ds(QStringLiteral("T_Udobra"), &c, QStringLiteral("t_udobra"));
    ds.addStoredField(QStringLiteral("id_udobra"));
    ds.addStoredField(QStringLiteral("ppm"));
    LAYER_OK(ds.open());
    const int rows = ds.recordCount();
    const int ppm = ds.asInteger(QStringLiteral("ppm"));

    sqlite3_commit_hook(c.handle(), [](void *) { return 1; }, nullptr);
    {
        Connection::Batch batch(c);
        ds.edit();
        ds.setValue(QStringLiteral("ppm"), ppm + 100);
        ds.post();
        ds.append();
        ds.setValue(QStringLiteral("ppm"), 5);
        ds.post();
        EXPECT_EQ(ds.recordCount(), rows + 1);
        EXPECT_EQ(errorOf([&] { batch.commit(); }), "constraint failed");
    }
    EXPECT_EQ(ds.recordCount(), rows);
    ds.first();
    EXPECT_EQ(ds.asInteger(QStringLiteral("ppm")), ppm);
    EXPECT_EQ(ds.state(), DatasetState::Browse);

    // On the error path the rows are committed all the same; a failing COMMIT there is
    // rolled back and read again, and the first error is the one that travels.
    sqlite3_commit_hook(c.handle(), nullptr, nullptr);
    try {
        Connection::Batch batch(c);
        ds.edit();
        ds.setValue(QStringLiteral("ppm"), ppm + 1);
        ds.post();
        throw AppError(QStringLiteral("stop"));
    } catch (const AppError &e) {
        EXPECT_EQ(e.text(), QStringLiteral("stop"));
    }
    Connection reader(QStringLiteral("base.mdb"));
    EXPECT_EQ(scalar(reader, QStringLiteral("SELECT ppm FROM t_udobra WHERE id_udobra = 1")).toInt(),
              ppm + 1);
}

// The writers a failed batch reads back: each once, however often it wrote, and none that is
// gone by then.
TEST_F(ConnectionTest, AFailedCommitReadsEachWriterOnceAndPassesOverOneThatIsGone)
{
    Connection c(QStringLiteral("base.mdb"));
    auto fertilizers = [&c]() -> std::unique_ptr<Dataset> {
        auto ds = std::make_unique<Dataset>(QStringLiteral("T_Udobra"), &c, QStringLiteral("t_udobra"));
        ds->addStoredField(QStringLiteral("id_udobra"));
        ds->addStoredField(QStringLiteral("ppm"));
        ds->open();
        return ds;
    };
    std::unique_ptr<Dataset> kept = fertilizers();
    std::unique_ptr<Dataset> gone = fertilizers();
    const int ppm = kept->asInteger(QStringLiteral("ppm"));
    QSignalSpy readBack(kept.get(), &Dataset::rowsReset);

    sqlite3_commit_hook(c.handle(), [](void *) { return 1; }, nullptr);
    {
        Connection::Batch batch(c);
        for (int i = 1; i <= 3; ++i) {
            kept->edit();
            kept->setValue(QStringLiteral("ppm"), ppm + i);
            kept->post();
        }
        gone->edit();
        gone->setValue(QStringLiteral("ppm"), ppm + 10);
        gone->post();
        gone.reset();
        EXPECT_EQ(readBack.count(), 0);
        EXPECT_EQ(errorOf([&] { batch.commit(); }), "constraint failed");
    }
    EXPECT_EQ(readBack.count(), 1) << "read back once for its three posts";
    EXPECT_EQ(kept->asInteger(QStringLiteral("ppm")), ppm);
}

// Network and user-space file systems by their statfs() type codes; local ones are not.
TEST(FileSystemTest, NetworkFileSystemsAreToldByTheirTypeCode)
{
    const struct
    {
        const char *name;
        qint64 type;
        bool network;
    } cases[] = {
        {"NFS", 0x6969, true},           {"SMB", 0x517B, true},
        {"CIFS", 0xFF534D42, true},      {"SMB2", 0xFE534D42, true},
        {"FUSE (sshfs)", 0x65735546, true}, {"9p", 0x01021997, true},
        {"AFS", 0x5346414F, true},       {"Ceph", 0x00C36400, true},
        {"ext4", 0xEF53, false},         {"btrfs", 0x9123683E, false},
        {"XFS", 0x58465342, false},      {"tmpfs", 0x01021994, false},
        {"overlayfs", 0x794C7630, false}, {"unknown", 0, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FileSystem::isNetwork(c.type), c.network) << c.name;

    FreshBase base;
    EXPECT_NE(FileSystem::typeOf(base.basePath()), 0);
    EXPECT_FALSE(FileSystem::isNetwork(FileSystem::typeOf(base.basePath()))) << "a local folder";
}

// On a network share the base keeps the rollback journal, and says where it is; elsewhere the
// write-ahead log.
TEST_F(ConnectionTest, ABaseOnANetworkShareKeepsTheRollbackJournal)
{
    const auto journalOf = [](Connection &c) {
        return scalar(c, QStringLiteral("PRAGMA journal_mode")).toString();
    };
    const auto headerBytes = [this] {
        QFile f(base.basePath());
        return f.open(QIODevice::ReadOnly) ? f.read(20).mid(18, 2) : QByteArray();
    };
    {
        Connection share(QStringLiteral("base.mdb"));
        share.setFileSystemTypeReader([](const QString &) { return qint64(0xFF534D42); });
        LAYER_OK(share.connect());
        EXPECT_TRUE(share.onNetworkShare());
        EXPECT_EQ(journalOf(share), QStringLiteral("delete"));
        EXPECT_EQ(scalar(share, QStringLiteral("PRAGMA synchronous")).toInt(), 2) << "FULL";
    }
    EXPECT_EQ(headerBytes(), QByteArray("\x01\x01", 2));
    {
        Connection local(QStringLiteral("base.mdb"));
        LAYER_OK(local.connect());
        EXPECT_FALSE(local.onNetworkShare());
        EXPECT_EQ(journalOf(local), QStringLiteral("wal"));
    }
    EXPECT_EQ(headerBytes(), QByteArray("\x02\x02", 2));
    // A base that was in WAL goes back to the rollback journal once it is found on a share.
    Connection again(QStringLiteral("base.mdb"));
    again.setFileSystemTypeReader([](const QString &) { return qint64(0x6969); });
    LAYER_OK(again.connect());
    EXPECT_EQ(journalOf(again), QStringLiteral("delete"));
}

} // namespace
