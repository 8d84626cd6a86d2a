#include "connection.h"

#include "apperror.h"
#include "filesystem.h"
#include "owntables.h"
#include "schema.h"

#include <QFileInfo>
#include <QStringList>

#include <utility>

#include <sqlite3.h>

namespace {

// Whether the file is a base the program may use, before anything in it is changed.
void checkBase(sqlite3 *db, const QString &path)
{
    const QString notADatabase = QStringLiteral("Unrecognized database format '%1'. %2");
    // SQLite takes an empty file for an empty database and would make one of it.
    if (QFileInfo(path).size() == 0 && !QFileInfo::exists(path + QStringLiteral("-wal")))
        throw AppError(notADatabase.arg(path, QStringLiteral("file is not a database")));
    // Refused now rather than at the grower's first post, whatever the journal mode.
    if (sqlite3_db_readonly(db, "main") == 1)
        throw AppError(
            QStringLiteral("Cannot write database '%1'. The file is read-only").arg(path));
    if (!QFileInfo(QFileInfo(path).absolutePath()).isWritable())
        throw AppError(QStringLiteral("Cannot write database '%1'. Its folder is read-only").arg(path));

    // The ten tables with every field the program reads; a base may hold more of either.
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info(?1)", -1, &st, nullptr)
        != SQLITE_OK) {
        const QString why = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(st);
        throw AppError(notADatabase.arg(path, why));
    }
    struct Finalize
    {
        sqlite3_stmt *st;
        ~Finalize() { sqlite3_finalize(st); }
    } finalize{st};
    for (const TableDef &table : Schema::tables()) {
        const QByteArray name = table.name.toUtf8();
        sqlite3_reset(st);
        sqlite3_bind_text(st, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        QStringList columns;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            columns << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)))
                           .toCaseFolded();
        if (rc != SQLITE_DONE)
            throw AppError(notADatabase.arg(path, QString::fromUtf8(sqlite3_errmsg(db))));
        if (columns.isEmpty())
            throw AppError(QStringLiteral("no such table: %1").arg(table.name));
        for (const FieldDef &field : table.fields) {
            if (!columns.contains(field.name.toCaseFolded()))
                throw AppError(
                    QStringLiteral("%1: no such column: %2").arg(table.name, field.name));
        }
    }
}

} // namespace

Connection::Connection(QString fileName)
    : m_fileName(std::move(fileName)), m_fileSystemType(&FileSystem::typeOf)
{
}

void Connection::setFileSystemTypeReader(std::function<qint64(const QString &)> reader)
{
    m_fileSystemType = std::move(reader);
}

Connection::~Connection()
{
    disconnect();
}

void Connection::setFileName(const QString &fileName)
{
    m_fileName = fileName;
}

void Connection::connect()
{
    if (m_db)
        return;
    const QString path = QFileInfo(m_fileName).absoluteFilePath();
    if (!QFileInfo::exists(path))
        throw AppError(QStringLiteral("Could not find file '%1'").arg(path));
    open(SQLITE_OPEN_READWRITE, false);
}

void Connection::connectToNewFile()
{
    if (m_db)
        return;
    open(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, true);
}

void Connection::open(int flags, bool newFile)
{
    const QString path = QFileInfo(m_fileName).absoluteFilePath();
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString why = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
        sqlite3_close(db);
        throw AppError(QStringLiteral("Cannot open database '%1'. %2").arg(path, why));
    }
    // A double-quoted name that matches no column must be an error, never a string that reads
    // as the name itself.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_busy_timeout(db, m_busyTimeout);
    try {
        m_ownTablesProblem.clear();
        if (!newFile) {
            checkBase(db, path);
            // The calculator's ten tables are whole: a fault in the tables of our own that no
            // upgrade mends switches off only what is built on them.
            m_ownTablesProblem = OwnTables::brokenPart(db);
            if (m_ownTablesProblem.isEmpty()) {
                try {
                    OwnTables::ensure(db);
                } catch (const AppError &e) {
                    throw AppError(QStringLiteral("Cannot open database '%1'. %2").arg(path, e.text()));
                }
            }
        }
        // Only once the base is known to be one we use: a refused file stays as it was. The
        // write-ahead log lets another process read and write meanwhile, but only on one host:
        // on a network share, where two computers may open the file, the rollback journal.
        m_onNetworkShare = FileSystem::isNetwork(m_fileSystemType(path));
        const char *journal = m_onNetworkShare ? "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;"
                                               : "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;";
        char *err = nullptr;
        if (sqlite3_exec(db, journal, nullptr, nullptr, &err) != SQLITE_OK) {
            const QString why = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
            sqlite3_free(err);
            throw AppError(QStringLiteral("Cannot open database '%1'. %2").arg(path, why));
        }
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    m_db = db;
}

void Connection::disconnect()
{
    if (!m_db)
        return;
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_batchDepth = 0;
    m_batchWriters.clear();
}

void Connection::setBusyTimeout(int milliseconds)
{
    m_busyTimeout = milliseconds;
    if (m_db)
        sqlite3_busy_timeout(m_db, milliseconds);
}

void Connection::noteWrite(QObject *writer, const std::function<void()> &reread)
{
    if (m_batchDepth == 0)
        return;
    for (const Writer &w : std::as_const(m_batchWriters)) {
        if (w.object == writer)
            return;
    }
    m_batchWriters.append({writer, reread});
}

void Connection::rereadWriters()
{
    const QList<Writer> writers = std::exchange(m_batchWriters, {});
    for (const Writer &w : writers) {
        if (w.object)
            w.reread();
    }
}

sqlite3 *Connection::handle()
{
    connect();
    return m_db;
}

void Connection::exec(const QString &sql)
{
    char *err = nullptr;
    if (sqlite3_exec(handle(), sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString why = QString::fromUtf8(err ? err : "");
        sqlite3_free(err);
        throw AppError(why);
    }
}

qint64 Connection::lastInsertId()
{
    return sqlite3_last_insert_rowid(handle());
}

int Connection::changes()
{
    return sqlite3_changes(handle());
}

QString Connection::lastError()
{
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
}

// ---- Statement

Connection::Statement::Statement(Connection &connection, const QString &sql)
    : m_connection(connection)
{
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(connection.handle(), text.constData(), int(text.size()), &m_stmt,
                           nullptr)
        != SQLITE_OK) {
        const QString why = connection.lastError();
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw AppError(why);
    }
}

Connection::Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

void Connection::Statement::bind(int index, const QVariant &value)
{
    int rc = SQLITE_OK;
    if (value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int(m_stmt, index, value.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        default: {
            const QByteArray t = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        throw AppError(m_connection.lastError());
}

bool Connection::Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw AppError(m_connection.lastError());
}

int Connection::Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QVariant Connection::Statement::column(int index) const
{
    switch (sqlite3_column_type(m_stmt, index)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(m_stmt, index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, index));
    default: {
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, index));
        return QVariant(QString::fromUtf8(p, sqlite3_column_bytes(m_stmt, index)));
    }
    }
}

void Connection::Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

// ---- Batch

Connection::Batch::Batch(Connection &connection)
    : m_connection(connection)
{
    if (m_connection.m_batchDepth == 0) {
        // Counted only once begun: a BEGIN that fails leaves the next batch its own.
        m_connection.exec(QStringLiteral("BEGIN IMMEDIATE"));
        m_began = true;
        m_connection.m_batchWriters.clear();
    }
    ++m_connection.m_batchDepth;
}

Connection::Batch::~Batch()
{
    if (!m_finished)
        finish(false); // the error path: what was posted stays posted
}

void Connection::Batch::commit()
{
    if (!m_finished)
        finish(true);
}

void Connection::Batch::rollback()
{
    if (m_finished)
        return;
    // Undone first: the COMMIT that finish() then tries finds no transaction, which is its
    // failure path, so the writers are read again and nothing is reported.
    sqlite3 *db = m_connection.m_db;
    if (m_began && db && !sqlite3_get_autocommit(db))
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    finish(false);
}

void Connection::Batch::finish(bool report)
{
    m_finished = true;
    if (m_connection.m_batchDepth > 0)
        --m_connection.m_batchDepth;
    sqlite3 *db = m_connection.m_db;
    if (!m_began || !db)
        return;
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK) {
        m_connection.m_batchWriters.clear();
        return;
    }
    const QString why = QString::fromUtf8(sqlite3_errmsg(db));
    if (!sqlite3_get_autocommit(db))
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    m_connection.rereadWriters();
    if (report)
        throw AppError(why);
}
