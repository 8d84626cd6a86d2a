#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>

struct sqlite3;
struct sqlite3_stmt;

// The one connection to base.mdb. The file is opened read-write and never created: a missing
// base is an error. Before anything is changed in it, the file must be a database holding every
// field of the ten tables, and writable. WAL journalling lets other processes read and write
// the file meanwhile.
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
    // Connects to a new, empty file to build a base in it: none of the checks of a base apply.
    void connectToNewFile();
    void disconnect(); // nothing when disconnected
    bool isConnected() const { return m_db != nullptr; }
    // Why the tables of our own (water analyses, fertilizer properties) could not be brought up
    // to date when the base was opened, in Russian; empty when they are usable.
    const QString &ownTablesProblem() const { return m_ownTablesProblem; }
    // Whether the base lives on a network file system, and so keeps the rollback journal
    // (FileSystem::isNetwork); known once connected.
    bool onNetworkShare() const { return m_onNetworkShare; }
    // What tells the file system's type of the base (FileSystem::typeOf unless replaced).
    void setFileSystemTypeReader(std::function<qint64(const QString &)> reader);

    sqlite3 *handle(); // connects first when needed

    // How long a statement waits for another process's lock before it fails.
    void setBusyTimeout(int milliseconds);

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

    // Groups many posts into one transaction for speed. commit() ends the work; when an error
    // ends it instead, the destructor commits what was posted all the same: nothing the grower
    // posted is rolled back. A COMMIT that fails rolls the batch back and reads every dataset
    // that wrote in it again, so that they show what the file holds; commit() then throws the
    // layer's error (on the error path the first error is the one reported).
    class Batch
    {
    public:
        explicit Batch(Connection &connection);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

        void commit(); // nothing for a batch inside another; throws AppError when COMMIT fails
        // For work that must be all or nothing: undoes every post of the batch and reads the
        // datasets that wrote in it again. Nothing for a batch inside another.
        void rollback();

    private:
        void finish(bool report);

        Connection &m_connection;
        bool m_began = false;
        bool m_finished = false;
    };

    // Called by a dataset that wrote: inside a batch, `reread` runs if the batch fails, so that
    // the dataset shows what the file holds again. A writer destroyed by then is passed over.
    void noteWrite(QObject *writer, const std::function<void()> &reread);

private:
    void open(int flags, bool newFile);
    QString lastError();
    void rereadWriters();

    QString m_fileName;
    QString m_ownTablesProblem;
    bool m_onNetworkShare = false;
    std::function<qint64(const QString &)> m_fileSystemType;
    sqlite3 *m_db = nullptr;
    int m_busyTimeout = 5000;
    int m_batchDepth = 0;
    struct Writer
    {
        QPointer<QObject> object;
        std::function<void()> reread;
    };
    QList<Writer> m_batchWriters;
};
