#include "xlsreadback.h"

#include "ui/color/wincolor.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOption>
#include <QTableView>

namespace XlsReadBack {

namespace {

QColor gridLine(const QTableView &view)
{
    QStyleOption option;
    option.initFrom(&view);
    return QColor::fromRgba(QRgb(view.style()->styleHint(QStyle::SH_Table_GridLineColor, &option, &view)));
}

} // namespace

QJsonArray rgb(const QColor &c)
{
    if (!c.isValid() || c.alpha() == 0)
        return {0, 0, 0};
    return {c.red(), c.green(), c.blue()};
}

QJsonObject font(const QFont &f, const QColor &colour)
{
    return {{"name", f.family()},           {"height", qRound(f.pointSizeF() * 20)},
            {"bold", f.bold()},             {"italic", f.italic()},
            {"underline", f.underline()},   {"strikeOut", f.strikeOut()},
            {"rgb", rgb(colour)}};
}

QJsonObject look(const QTableView &view, const QColor &background)
{
    const QPalette cells = view.palette();
    const QPalette head = view.horizontalHeader()->palette();
    const QColor headerText = head.color(QPalette::ButtonText);
    const QColor header = head.color(QPalette::Button);
    const QJsonArray palette{rgb(headerText), rgb(header), rgb(headerText), rgb(header),
                             rgb(cells.color(QPalette::Text)), rgb(background),
                             rgb(WinColor::toQColor(WinColor::clWindowFrame)),
                             rgb(WinColor::toQColor(WinColor::clWindow)),
                             rgb(headerText), rgb(header), rgb(headerText), rgb(header),
                             rgb(gridLine(view))};
    const QJsonObject headerFormat{
        {"font", font(view.horizontalHeader()->font(), headerText)}, {"halign", 2},
        {"fill", rgb(header)}, {"border", 1},
        {"borderRgb", rgb(WinColor::toQColor(WinColor::clWindowFrame))}};
    return {{"palette", palette}, {"header", headerFormat}};
}

QJsonObject cellFormat(const QTableView &view, const QFont &f, const QColor &background, bool text)
{
    return {{"font", font(f, view.palette().color(QPalette::Text))},
            {"halign", text ? 1 : 3},
            {"fill", rgb(background)},
            {"border", view.showGrid() ? 1 : 0},
            {"borderRgb", rgb(gridLine(view))}};
}

QString run(const QJsonArray &sheets, const QString &dir)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        return QStringLiteral("python3 is not installed");
    QFile json(QDir(dir).filePath(QStringLiteral("expected.json")));
    if (!json.open(QIODevice::WriteOnly))
        return json.errorString();
    json.write(QJsonDocument(sheets).toJson());
    json.close();
    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start(python, {QStringLiteral(VERNOLAT_XLS_READBACK_SCRIPT), json.fileName()});
    if (!check.waitForFinished(120000))
        return check.errorString();
    const QString output = QString::fromUtf8(check.readAll());
    const QString done = QStringLiteral("checked %1 sheets, 0 problems").arg(sheets.size());
    if (check.exitCode() != 0 || !output.contains(done))
        return output;
    return {};
}

} // namespace XlsReadBack
