#pragma once

#include <QString>
#include <QVariant>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// The one connection to base.mdb. The file is opened read-write and never created: a missing
// base is an error. WAL journalling lets other processes read and write the file meanwhile.
class Connection
{
public:
    explicit Connection(QString fileName = QStringLiteral("base.mdb"));
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    QString fileName() const { return m_fileName; }
    void setFileName(const QString &fileName); // takes effect at the next connect

    void connect();    // nothing when connected; throws AppError when the file cannot be used
    void disconnect(); // nothing when disconnected
    bool isConnected() const { return m_db != nullptr; }

    sqlite3 *handle(); // connects first when needed

    // A prepared statement with values bound by position (from 1). Values go in only through
    // sqlite3_bind_*; nothing typed by a user is ever spliced into SQL text.
    class Statement
    {
    public:
        Statement(Connection &connection, const QString &sql);
        ~Statement();
        Statement(const Statement &) = delete;
        Statement &operator=(const Statement &) = delete;

        void bind(int index, const QVariant &value); // a null QVariant binds NULL
        bool step();                                 // true while a row is available
        int columnCount() const;
        QVariant column(int index) const;            // NULL gives a null QVariant
        void reset();

    private:
        Connection &m_connection;
        sqlite3_stmt *m_stmt = nullptr;
    };

    void exec(const QString &sql);
    qint64 lastInsertId();
    int changes();
    QString lastError();

    // Groups many posts into one transaction for speed. What was posted before an error is
    // committed all the same: nothing the grower posted is rolled back.
    class Batch
    {
    public:
        explicit Batch(Connection &connection);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        Connection &m_connection;
        bool m_began = false;
    };

private:
    QString m_fileName;
    sqlite3 *m_db = nullptr;
    int m_batchDepth = 0;
};
