#include "commandline.h"

#include "analysereport.h"
#include "basecommands.h"
#include "solvereport.h"

#include "calc/recipefile/recipeanalysis.h"
#include "data/apperror.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {
const QString Program = QStringLiteral("vernolat-calc");
} // namespace

namespace CommandLine {

CommandResult failure(int code, const QString &message)
{
    QString text = Program + QStringLiteral(": ") + message + u'\n';
    if (code == ExitCode::Usage)
        text += QStringLiteral("Справка: %1 --help\n").arg(Program);
    return {code, {}, text.toUtf8()};
}

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

CommandResult withRecipe(const QString &path, QIODevice &standardInput,
                         const std::function<CommandResult(const RecipeFile::Recipe &)> &command)
{
    QString reason;
    const QByteArray bytes = readInput(path, standardInput, reason);
    if (!reason.isEmpty())
        return failure(ExitCode::Unreadable, path + QStringLiteral(": ") + reason);
    try {
        return command(RecipeFile::read(bytes));
    } catch (const AppError &e) {
        return failure(ExitCode::BadContent, path + QStringLiteral(": ") + e.text());
    }
}

} // namespace CommandLine

namespace {

using CommandLine::failure;

CommandResult analyse(const QString &path, bool json, QIODevice &standardInput)
{
    return CommandLine::withRecipe(path, standardInput, [json](const RecipeFile::Recipe &recipe) -> CommandResult {
        const RecipeFile::Analysis analysis = RecipeFile::analyse(recipe);
        return {ExitCode::Success, json ? AnalyseReport::json(analysis) : AnalyseReport::text(recipe, analysis), {}};
    });
}

CommandResult solve(const QString &path, bool json, QIODevice &standardInput)
{
    return CommandLine::withRecipe(path, standardInput, [json](const RecipeFile::Recipe &recipe) -> CommandResult {
        const RecipeSolve::Solved solved = RecipeSolve::solve(recipe);
        return {ExitCode::Success, json ? SolveReport::json(solved) : SolveReport::text(solved), {}};
    });
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
        "                 кислоты; FILE «-» читает стандартный ввод\n"
        "  import FILE --base PATH [--crop NAME]\n"
        "                 переносит рецепт в базу готовым раствором: удобрения с тем же\n"
        "                 названием и составом берутся из базы, остальные создаются\n"
        "  export --base PATH --saved NAME|--working [--crop NAME] [--water NAME] [--output FILE]\n"
        "                 записывает готовый раствор или рабочий состав файлом рецепта\n"
        "  solve FILE     подбирает граммы удобрений файла под его targets, как «Подбор состава»\n\n"
        "Коды выхода: 0 готово, 64 неверный вызов, 65 файл отклонён, 66 файл или база не\n"
        "открываются, 73 не записать, 75 база занята другой программой."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("analyse, solve: вывод в JSON, для программ."));
    const QCommandLineOption base(QStringLiteral("base"), QStringLiteral("import, export: файл базы."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption crop(QStringLiteral("crop"),
                                  QStringLiteral("import: культура раствора; export: где искать раствор."),
                                  QStringLiteral("NAME"));
    const QCommandLineOption saved(QStringLiteral("saved"), QStringLiteral("export: готовый раствор."),
                                   QStringLiteral("NAME"));
    const QCommandLineOption working(QStringLiteral("working"), QStringLiteral("export: рабочий состав."));
    const QCommandLineOption water(QStringLiteral("water"), QStringLiteral("export: анализ воды в рецепт."),
                                   QStringLiteral("NAME"));
    const QCommandLineOption output(QStringLiteral("output"),
                                    QStringLiteral("export: файл рецепта (без него: стандартный вывод)."),
                                    QStringLiteral("FILE"));
    for (const QCommandLineOption &o : {json, base, crop, saved, working, water, output})
        parser.addOption(o);
    parser.addPositionalArgument(QStringLiteral("команда"), QStringLiteral("Команда: analyse, import, export, solve."),
                                 QStringLiteral("analyse FILE | import FILE | export | solve FILE"));

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
    const QString command = positional.first();
    const auto value = [&parser](const QCommandLineOption &o) {
        return parser.isSet(o) ? std::optional<QString>(parser.value(o)) : std::nullopt;
    };
    if (command == QStringLiteral("analyse")) {
        if (positional.size() != 2)
            return failure(ExitCode::Usage, QStringLiteral("analyse: нужен один файл рецепта"));
        return analyse(positional.at(1), parser.isSet(json), standardInput);
    }
    if (command == QStringLiteral("solve")) {
        if (positional.size() != 2)
            return failure(ExitCode::Usage, QStringLiteral("solve: нужен один файл рецепта"));
        return solve(positional.at(1), parser.isSet(json), standardInput);
    }
    if (command == QStringLiteral("import")) {
        if (positional.size() != 2)
            return failure(ExitCode::Usage, QStringLiteral("import: нужен один файл рецепта"));
        if (!parser.isSet(base))
            return failure(ExitCode::Usage, QStringLiteral("import: не указана база (--base PATH)"));
        return BaseCommands::importRecipe({positional.at(1), parser.value(base), value(crop)}, standardInput);
    }
    if (command == QStringLiteral("export")) {
        if (positional.size() != 1)
            return failure(ExitCode::Usage, QStringLiteral("export: лишнее «%1»").arg(positional.at(1)));
        if (!parser.isSet(base))
            return failure(ExitCode::Usage, QStringLiteral("export: не указана база (--base PATH)"));
        if (parser.isSet(saved) == parser.isSet(working))
            return failure(ExitCode::Usage, QStringLiteral("export: нужен ровно один из --saved NAME и --working"));
        return BaseCommands::exportRecipe(
            {parser.value(base), value(saved), value(crop), value(water), value(output)});
    }
    return failure(ExitCode::Usage, QStringLiteral("неизвестная команда «%1»").arg(command));
}
