#include "commandline.h"

#include "analysereport.h"

#include "calc/recipefile/recipeanalysis.h"
#include "data/apperror.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

const QString Program = QStringLiteral("vernolat-calc");

CommandResult failure(int code, const QString &message)
{
    QString text = Program + QStringLiteral(": ") + message + u'\n';
    if (code == ExitCode::Usage)
        text += QStringLiteral("Справка: %1 --help\n").arg(Program);
    return {code, {}, text.toUtf8()};
}

// The file's bytes, at most one more than a recipe may hold; a reason when it cannot be read.
QByteArray readInput(const QString &path, QIODevice &standardInput, QString &reason)
{
    const qsizetype most = RecipeFile::MaximumFileSize + 1;
    if (path == u'-')
        return standardInput.read(most);
    const QFileInfo info(path);
    if (!info.exists()) {
        reason = QStringLiteral("нет такого файла");
        return {};
    }
    if (info.isDir()) {
        reason = QStringLiteral("это папка, а не файл");
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = QStringLiteral("файл не открывается для чтения (%1)").arg(file.errorString());
        return {};
    }
    const QByteArray bytes = file.read(most);
    if (file.error() != QFileDevice::NoError)
        reason = QStringLiteral("ошибка чтения (%1)").arg(file.errorString());
    return bytes;
}

CommandResult analyse(const QString &path, bool json, QIODevice &standardInput)
{
    QString reason;
    const QByteArray bytes = readInput(path, standardInput, reason);
    if (!reason.isEmpty())
        return failure(ExitCode::Unreadable, path + QStringLiteral(": ") + reason);
    try {
        const RecipeFile::Recipe recipe = RecipeFile::read(bytes);
        const RecipeFile::Analysis analysis = RecipeFile::analyse(recipe);
        return {ExitCode::Success,
                json ? AnalyseReport::json(analysis) : AnalyseReport::text(recipe, analysis), {}};
    } catch (const AppError &e) {
        return failure(ExitCode::BadContent, path + QStringLiteral(": ") + e.text());
    }
}

} // namespace

CommandResult runCommandLine(const QStringList &arguments, QIODevice &standardInput)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Расчёт питательного раствора по файлу рецепта, без окон: для скриптов, тепличных\n"
        "компьютеров и проверок. Формат файла описан в recipe-format.md (в пакете:\n"
        "/usr/share/doc/vernolat/).\n\n"
        "Команды:\n"
        "  analyse FILE   элементы (мг/л), ионы, баланс катионов и анионов, EC, pH и доза\n"
        "                 кислоты; FILE «-» читает стандартный ввод\n\n"
        "Коды выхода: 0 готово, 64 неверный вызов, 65 файл отклонён, 66 файл не прочитать."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("analyse: вывод в JSON, для программ."));
    parser.addOption(json);
    parser.addPositionalArgument(QStringLiteral("команда"), QStringLiteral("Команда: analyse."),
                                 QStringLiteral("analyse FILE"));

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        return failure(ExitCode::Usage, unknown.isEmpty()
                                            ? parser.errorText()
                                            : QStringLiteral("неизвестный параметр «%1»").arg(unknown.first()));
    }
    if (parser.isSet(help))
        return {ExitCode::Success, parser.helpText().toUtf8(), {}};
    if (parser.isSet(version))
        return {ExitCode::Success,
                QStringLiteral("%1 %2\n").arg(Program, QCoreApplication::applicationVersion()).toUtf8(),
                {}};

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return failure(ExitCode::Usage, QStringLiteral("не указана команда"));
    if (positional.first() != QStringLiteral("analyse"))
        return failure(ExitCode::Usage, QStringLiteral("неизвестная команда «%1»").arg(positional.first()));
    if (positional.size() != 2)
        return failure(ExitCode::Usage, QStringLiteral("analyse: нужен один файл рецепта"));
    return analyse(positional.at(1), parser.isSet(json), standardInput);
}
