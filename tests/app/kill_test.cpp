// The real program killed with SIGKILL at random moments of its start-up and idle while another
// program commits rows to the same base: every time the base stays whole, every committed row is
// there, and the program starts again without an error box.
#include "appwindows.h"

#include <QProcess>

#include <atomic>
#include <random>
#include <thread>

#include <sqlite3.h>

namespace {

constexpr int Rounds = 20;

// Another program that commits one row after another until told to stop, remembering which
// commits succeeded.
class Writer
{
public:
    explicit Writer(int round)
    {
        m_thread = std::thread([this, round] { run(round); });
    }
    ~Writer() { stop(); }

    QStringList stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        return m_committed;
    }

private:
    void run(int round)
    {
        sqlite3 *db = nullptr;
        if (sqlite3_open_v2("base.mdb", &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            return;
        }
        sqlite3_busy_timeout(db, 5000);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO t_udobra (name_udobra, ppm) VALUES (?1, ?2)", -1, &st,
                           nullptr);
        for (int i = 0; !m_stop; ++i) {
            const QByteArray name = QStringLiteral("kill %1-%2").arg(round).arg(i).toUtf8();
            sqlite3_bind_text(st, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 2, i);
            if (sqlite3_step(st) == SQLITE_DONE)
                m_committed << QString::fromUtf8(name);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_close(db);
    }

    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    QStringList m_committed;
};

QStringList pragma(sqlite3 *db, const char *sql)
{
    QStringList out;
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        return {QString::fromUtf8(sqlite3_errmsg(db))};
    while (sqlite3_step(st) == SQLITE_ROW)
        out << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return out;
}

using KillTest = AppWindowsTest;

TEST_F(KillTest, TheBaseSurvivesKillsWhileAnotherProgramCommits)
{
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::uniform_int_distribution<int> moment(0, 900); // ms: start-up, then idle

    int committedInAll = 0;
    for (int round = 0; round < Rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Writer writer(round);
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(base.dir());
        program.start(QStringLiteral(VERNOLAT_PROGRAM), QStringList());
        ASSERT_TRUE(program.waitForStarted(10000));
        const int wait = moment(random);
        EXPECT_FALSE(program.waitForFinished(wait)) << "the program ended by itself";
        program.kill(); // SIGKILL
        ASSERT_TRUE(program.waitForFinished(10000));
        const QStringList committed = writer.stop();
        committedInAll += int(committed.size());

        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open_v2("base.mdb", &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        EXPECT_EQ(pragma(db, "PRAGMA integrity_check"), QStringList{QStringLiteral("ok")});
        const QStringList names = pragma(
            db, QStringLiteral("SELECT name_udobra FROM t_udobra WHERE name_udobra LIKE 'kill %1-%'")
                    .arg(round)
                    .toUtf8()
                    .constData());
        sqlite3_close(db);
        EXPECT_EQ(names, committed) << "killed after " << wait << " ms";

        // Started again, as main starts it: no error box, every dataset open.
        ASSERT_TRUE(CreateWindows());
        ShowMainWindow();
        EXPECT_EQ(boxes.count(), 0) << (boxes.count() ? boxes.last().text.toStdString() : "");
        for (Dataset *ds : allDatasets())
            EXPECT_TRUE(ds->isActive()) << ds->name().toStdString();
        DestroyWindows();
        boxes.clear();
    }
    EXPECT_GT(committedInAll, 0) << "the other program committed nothing";
}

} // namespace
