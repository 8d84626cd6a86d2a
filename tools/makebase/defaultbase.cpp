#include "defaultbase.h"

#include "basedata.h"

#include "data/apperror.h"
#include "data/connection.h"
#include "data/schema.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <limits>

namespace {

bool pathTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

void insertRows(Connection &connection, const BaseSection &section)
{
    if (section.rows.isEmpty())
        return;
    QStringList columns;
    QStringList marks;
    for (const QString &f : section.fields) {
        columns.append(QStringLiteral("\"%1\"").arg(f));
        marks.append(QStringLiteral("?"));
    }
    Connection::Statement st(connection,
                             QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                 .arg(section.table, columns.join(QStringLiteral(", ")),
                                      marks.join(QStringLiteral(", "))));
    for (const BaseRow &row : section.rows) {
        for (int i = 0; i < row.values.size(); ++i)
            st.bind(i + 1, row.values.at(i));
        st.step();
        st.reset();
    }
}

void buildBase(const QString &fileName, const QList<BaseSection> &sections)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw AppError(QStringLiteral("Не удалось создать файл \"%1\": %2")
                           .arg(fileName, file.errorString()));
    file.close(); // SQLite takes an empty file for an empty database

    Connection connection(fileName);
    connection.connectToNewFile();
    {
        Connection::Batch batch(connection);
        for (const QString &sql : Schema::createStatements())
            connection.exec(sql);
        for (const BaseSection &section : sections)
            insertRows(connection, section);
        batch.commit();
    }
    // A plain rollback-journal file: complete in itself once closed, safe to copy anywhere.
    connection.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    connection.disconnect();
}

void writeBase(const QString &path, const QList<BaseSection> &sections)
{
    if (pathTaken(path))
        throw AppError(QStringLiteral("Файл \"%1\" уже существует").arg(path));
    const QString tmp = path + QStringLiteral(".tmp");
    // Leftovers of an interrupted run are ours; a stale journal must not meet the new file.
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(tmp + QLatin1String(suffix));
    try {
        buildBase(tmp, sections);
    } catch (...) {
        QFile::remove(tmp);
        throw;
    }
    // rename() never replaces an existing file, so a base that appeared meanwhile survives.
    if (!QFile::rename(tmp, path)) {
        QFile::remove(tmp);
        throw AppError(QStringLiteral("Не удалось записать файл \"%1\"").arg(path));
    }
}

QList<BaseSection> scaled(const QList<BaseSection> &sections, int factor)
{
    // Copy k of a row with key n gets key n + k * (largest key of its table).
    QHash<QString, int> stride;
    for (const BaseSection &sec : sections) {
        const qsizetype keyCol = sec.fields.indexOf(Schema::table(sec.table).keyField());
        int top = 0;
        if (keyCol >= 0)
            for (const BaseRow &row : sec.rows)
                top = qMax(top, row.values.at(keyCol).toInt());
        if (qint64(top) * factor > std::numeric_limits<qint32>::max())
            throw AppError(QStringLiteral("Ключи %1 не помещаются в 32 бита при множителе %2")
                               .arg(sec.table).arg(factor));
        stride.insert(sec.table, top);
    }

    QList<BaseSection> out;
    for (const BaseSection &sec : sections) {
        QHash<qsizetype, QString> shiftBy; // column -> table whose stride applies
        const qsizetype keyCol = sec.fields.indexOf(Schema::table(sec.table).keyField());
        if (keyCol < 0) {
            out.append(sec); // the options row: once
            continue;
        }
        shiftBy.insert(keyCol, sec.table);
        for (const BaseReference &ref : BaseData::references())
            if (ref.table == sec.table && sec.fields.contains(ref.field))
                shiftBy.insert(sec.fields.indexOf(ref.field), ref.target);

        BaseSection copy{sec.table, sec.fields, {}};
        copy.rows.reserve(sec.rows.size() * factor);
        for (int k = 0; k < factor; ++k) {
            for (BaseRow row : sec.rows) {
                for (auto it = shiftBy.cbegin(); it != shiftBy.cend(); ++it) {
                    QVariant &v = row.values[it.key()];
                    if (!v.isNull())
                        v = QVariant(v.toInt() + k * stride.value(it.value()));
                }
                copy.rows.append(row);
            }
        }
        out.append(copy);
    }
    return out;
}

} // namespace

void writeDefaultBase(const QString &path)
{
    writeBase(path, BaseData::parse(BaseData::defaultText()));
}

void writeScaledBase(const QString &path, int factor)
{
    if (factor < 1)
        throw AppError(QStringLiteral("Множитель базы должен быть не меньше 1, а не %1").arg(factor));
    writeBase(path, scaled(BaseData::parse(BaseData::defaultText()), factor));
}
