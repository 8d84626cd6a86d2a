#include "biffrecords.h"
#include "samplesheets.h"

#include "data/apperror.h"
#include "export/xls/worksheetwriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString createError(const QString &path, const WorksheetWriter &writer)
{
    try {
        writer.writeFile(path, worksheetRowsFrom(SampleSheets::compositionRows()));
    } catch (const AppError &e) {
        return e.text();
    }
    return QStringLiteral("(no error)");
}

} // namespace

TEST(WorksheetFile, fileThatCannotBeCreatedNamesItsFullPathAndTheReason)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const WorksheetWriter writer(SampleSheets::composition());

    const QString missing = dir.filePath(QStringLiteral("нет/Состав р-ра.xls"));
    EXPECT_EQ(createError(missing, writer),
              QStringLiteral("Cannot create file \"%1\". No such file or directory").arg(missing));
    EXPECT_FALSE(QFile::exists(missing));

    // A directory of that name cannot be replaced; it stays as it was.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.xls")));
    const QString taken = dir.filePath(QStringLiteral("taken.xls"));
    EXPECT_EQ(createError(taken, writer),
              QStringLiteral("Cannot create file \"%1\". Is a directory").arg(taken));
    EXPECT_TRUE(QDir(taken).isEmpty());

    // A bare name is taken from the working directory, and the message gives it in full.
    const QString oldCwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const QString relative = createError(QStringLiteral("нет/x.xls"), writer);
    QDir::setCurrent(oldCwd);
    EXPECT_EQ(relative, QStringLiteral("Cannot create file \"%1/нет/x.xls\". No such file or directory")
                            .arg(QDir(dir.path()).canonicalPath()));
}

TEST(WorksheetFile, failingRowSourceLeavesTheRowsSoFarAndTheEnd)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Концентрация р-ра.xls"));
    const WorksheetWriter writer(SampleSheets::concentration());
    const QList<WorksheetRow> rows = SampleSheets::concentrationRows();

    int delivered = 0;
    const WorksheetRowSource failsAfterTwo = [&](WorksheetRow &row) {
        if (delivered == 2)
            throw std::runtime_error("database gone");
        row = rows.at(delivered++);
        return true;
    };
    EXPECT_THROW(
        {
            try {
                writer.writeFile(path, failsAfterTwo);
            } catch (const std::runtime_error &e) {
                EXPECT_STREQ(e.what(), "database gone"); // the source's own error comes through
                throw;
            }
        },
        std::runtime_error);

    const QByteArray written = readFile(path);
    EXPECT_TRUE(written.endsWith(QByteArray::fromHex("0A000000")));
    EXPECT_EQ(written, writer.toBytes(worksheetRowsFrom(rows.mid(0, 2))));

    // A row of the wrong shape ends the file the same way, after the good rows.
    WorksheetRow bad = rows.at(2);
    bad.removeLast();
    EXPECT_THROW(writer.writeFile(path, worksheetRowsFrom({rows.at(0), bad})), AppError);
    EXPECT_EQ(readFile(path), writer.toBytes(worksheetRowsFrom({rows.at(0)})));
}
