#include "connection.h"

#include "apperror.h"

#include <QFileInfo>

#include <sqlite3.h>

Connection::Connection(QString fileName)
    : m_fileName(std::move(fileName))
{
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

    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const QString why = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
        sqlite3_close(db);
        throw AppError(QStringLiteral("Cannot open database '%1'. %2").arg(path, why));
    }
    sqlite3_busy_timeout(db, 5000);
    // The first statement that reads the file tells a database from anything else.
    const char *setup = "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; "
                        "SELECT count(*) FROM sqlite_master;";
    char *err = nullptr;
    if (sqlite3_exec(db, setup, nullptr, nullptr, &err) != SQLITE_OK) {
        const QString why = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
        sqlite3_free(err);
        sqlite3_close(db);
        throw AppError(QStringLiteral("Unrecognized database format '%1'. %2").arg(path, why));
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
    if (m_connection.m_batchDepth++ == 0) {
        m_connection.exec(QStringLiteral("BEGIN IMMEDIATE"));
        m_began = true;
    }
}

Connection::Batch::~Batch()
{
    --m_connection.m_batchDepth;
    if (m_began && m_connection.m_db) {
        // Committed on the error path too: what was posted stays posted.
        if (sqlite3_exec(m_connection.m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
            sqlite3_exec(m_connection.m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}
