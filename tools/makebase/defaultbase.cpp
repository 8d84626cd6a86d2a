#include "defaultbase.h"

#include "data/apperror.h"
#include "data/connection.h"
#include "data/schema.h"

#include <QFile>

#include <sqlite3.h>

// Minimal first cut: schema, the key elements and the options row.
void writeDefaultBase(const QString &path)
{
    if (QFile::exists(path))
        throw AppError(QStringLiteral("Файл \"%1\" уже существует").arg(path));
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw AppError(QStringLiteral("Не удалось создать файл \"%1\"").arg(path));
    }
    sqlite3_close(db);
    Connection c(path);
    c.connect();
    {
        Connection::Batch batch(c);
        for (const QString &sql : Schema::createStatements())
            c.exec(sql);
        const char *names[] = {"N", "P", "K", "Ca", "Mg", "S"};
        for (int i = 0; i < 6; ++i) {
            Connection::Statement st(c, QStringLiteral(
                "INSERT INTO T_element (id_element, Smallname_element, kof) VALUES (?, ?, 0)"));
            st.bind(1, i + 1);
            st.bind(2, QString::fromLatin1(names[i]));
            st.step();
        }
        c.exec(QStringLiteral("INSERT INTO t_opt (c11, maxim, ppm1, ppm2, kult, avto) VALUES (1, 250, 1, 1, 1, 0)"));
    }
    c.disconnect();
}
