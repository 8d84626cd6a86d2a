#include "samplesheets.h"

#include "export/xls/worksheetwriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QJsonArray rgb(const WorksheetColour &c)
{
    return {c.red, c.green, c.blue};
}

QJsonObject font(const WorksheetFont &f, const WorksheetColour &colour)
{
    return {{"name", f.name},          {"height", qRound(f.pointSize * 20)},
            {"bold", f.bold},          {"italic", f.italic},
            {"underline", f.underline}, {"strikeOut", f.strikeOut},
            {"rgb", rgb(colour)}};
}

// xlrd's horizontal alignment codes: 1 left, 2 centred, 3 right.
int halign(const WorksheetColumn &c)
{
    switch (c.alignment) {
    case WorksheetAlignment::Left:
        return 1;
    case WorksheetAlignment::Centre:
        return 2;
    case WorksheetAlignment::Right:
        return 3;
    case WorksheetAlignment::FieldDefault:
        break;
    }
    return c.kind == WorksheetCellKind::Text ? 1 : 3;
}

// What a reader should find in the file, worked out from the description alone.
QJsonObject expectation(const QString &path, const WorksheetDescription &d,
                        const QList<WorksheetRow> &rows)
{
    const WorksheetPalette &p = d.palette;
    QJsonArray palette;
    for (const WorksheetColour &c : p.inOrder())
        palette.append(rgb(c));
    const QJsonObject header{{"font", font(d.headerFont, p.headerText)}, {"halign", 2},
                             {"fill", rgb(p.header)}, {"border", 1}, {"borderRgb", rgb(p.windowFrame)}};
    QJsonArray columns;
    for (const WorksheetColumn &c : d.columns) {
        static const char *const kinds[] = {"number", "integer", "text"};
        const QJsonObject format{{"font", font(c.font, p.text)}, {"halign", halign(c)},
                                 {"fill", rgb(p.background)}, {"border", d.showGridLines ? 1 : 0},
                                 {"borderRgb", rgb(p.gridLine)}};
        columns.append(QJsonObject{{"caption", c.caption}, {"kind", kinds[int(c.kind)]},
                                   {"width", c.widthPixels * 36}, {"format", format}});
    }
    QJsonArray values;
    for (const WorksheetRow &row : rows) {
        QJsonArray cells;
        for (const WorksheetCell &cell : row)
            std::visit([&](const auto &v) { cells.append(QJsonValue(v)); }, cell);
        values.append(cells);
    }
    return {{"path", path},       {"palette", palette}, {"header", header},
            {"columns", columns}, {"rows", values}};
}

// A third sheet with integer keys, inside and outside the RK range.
WorksheetDescription keysSheet()
{
    WorksheetDescription d = SampleSheets::concentration();
    d.columns = {d.columns.at(0), d.columns.at(1)};
    d.columns[1].caption = QStringLiteral("Ключ");
    d.columns[1].kind = WorksheetCellKind::Integer;
    return d;
}

} // namespace

TEST(XlrdReadBack, readerSeesEveryCaptionValueFontColourAndWidth)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    struct Sheet
    {
        QString name;
        WorksheetDescription description;
        QList<WorksheetRow> rows;
    };
    const QList<WorksheetRow> keys{{QStringLiteral("a"), qint64(-7)},
                                   {QStringLiteral("b"), qint64(536870911)},
                                   {QStringLiteral("c"), qint64(-536870913)},
                                   {QStringLiteral("d"), qint64(3000000000LL)}};
    const QList<Sheet> sheets{
        {QStringLiteral("Состав р-ра.xls"), SampleSheets::composition(), SampleSheets::compositionRows()},
        {QStringLiteral("Концентрация р-ра.xls"), SampleSheets::concentration(),
         SampleSheets::concentrationRows()},
        {QStringLiteral("Ключи.xls"), keysSheet(), keys},
    };
    QJsonArray expectations;
    for (const Sheet &s : sheets) {
        const QString path = dir.filePath(s.name);
        WorksheetWriter(s.description).writeFile(path, worksheetRowsFrom(s.rows));
        expectations.append(expectation(path, s.description, s.rows));
    }
    QFile json(dir.filePath(QStringLiteral("expected.json")));
    ASSERT_TRUE(json.open(QIODevice::WriteOnly));
    json.write(QJsonDocument(expectations).toJson());
    json.close();

    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start(python, {QStringLiteral(VERNOLAT_XLS_READBACK_SCRIPT), json.fileName()});
    ASSERT_TRUE(check.waitForFinished(120000)) << check.errorString().toStdString();
    const QString output = QString::fromUtf8(check.readAll());
    if (check.exitCode() == 3)
        GTEST_SKIP() << "python3-xlrd is not installed";
    EXPECT_EQ(check.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(check.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("checked 3 sheets, 0 problems"))) << output.toStdString();
}
