#include "basecommands.h"

#include "calc/recipeexchange/recipeexport.h"
#include "calc/recipeexchange/recipeimport.h"
#include "data/wholefile.h"
#include "data/apperror.h"
#include "data/basequeries.h"
#include "data/connection.h"


namespace BaseCommands {

namespace {

using CommandLine::failure;

bool isBusy(const QString &why)
{
    return why.contains(QStringLiteral("locked")) || why.contains(QStringLiteral("busy"));
}

// A fault of the base: busy when another program holds its lock, else it cannot be used.
CommandResult baseFailure(const QString &base, const QString &why)
{
    const bool busy = isBusy(why);
    return failure(busy ? ExitCode::Busy : ExitCode::Unreadable,
                   busy ? QStringLiteral("%1: база занята другой программой, повторите позже (%2)").arg(base, why)
                        : QStringLiteral("%1: %2").arg(base, why));
}

bool sameName(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

std::optional<int> cropId(BaseQueries &queries, const std::optional<QString> &name)
{
    if (!name)
        return std::nullopt;
    for (const BaseRows::Crop &c : queries.crops()) {
        if (sameName(c.name, *name))
            return c.id;
    }
    throw AppError(QStringLiteral("в базе нет культуры «%1»").arg(name->trimmed()));
}

std::optional<int> waterId(BaseQueries &queries, const std::optional<QString> &name)
{
    if (!name)
        return std::nullopt;
    for (const BaseRows::WaterAnalysis &w : queries.waterAnalyses()) {
        if (sameName(w.name, *name))
            return w.id;
    }
    throw AppError(QStringLiteral("в базе нет анализа воды «%1»").arg(name->trimmed()));
}

int savedId(BaseQueries &queries, const QString &name, std::optional<int> crop)
{
    QList<int> crops;
    if (crop) {
        crops.append(*crop);
    } else {
        for (const BaseRows::Crop &c : queries.crops())
            crops.append(c.id);
    }
    QList<BaseRows::SavedSolution> found;
    for (const int c : crops) {
        for (const BaseRows::SavedSolution &s : queries.savedSolutions(c)) {
            if (sameName(s.name, name))
                found.append(s);
        }
    }
    if (found.isEmpty())
        throw AppError(QStringLiteral("в базе нет готового раствора «%1»").arg(name.trimmed()));
    if (found.size() > 1)
        throw AppError(QStringLiteral("готовых растворов «%1» несколько (%2): укажите культуру, --crop NAME")
                           .arg(name.trimmed())
                           .arg(found.size()));
    return found.first().id;
}

} // namespace

CommandResult importRecipe(const ImportCall &call, QIODevice &standardInput)
{
    return CommandLine::withRecipe(call.file, standardInput, [&call](const RecipeFile::Recipe &recipe) {
        Connection connection(call.base);
        connection.setBusyTimeout(BusyTimeoutMs);
        try {
            connection.connect();
        } catch (const AppError &e) {
            return baseFailure(call.base, e.text());
        }
        try {
            const RecipeImport::Plan plan = RecipeImport::plan(connection, recipe, call.crop);
            const RecipeImport::Result result = RecipeImport::apply(connection, plan);
            QString out = RecipeImport::describe(plan).join(u'\n') + u'\n';
            out += result.created == 0 ? QStringLiteral("Ничего нового: всё уже есть в базе.\n")
                                       : QStringLiteral("Готово: создано записей %1.\n").arg(result.created);
            return CommandResult{ExitCode::Success, out.toUtf8(), {}};
        } catch (const AppError &e) {
            if (isBusy(e.text()))
                return baseFailure(call.base, e.text());
            throw;
        }
    });
}

CommandResult exportRecipe(const ExportCall &call)
{
    Connection connection(call.base);
    connection.setBusyTimeout(BusyTimeoutMs);
    QByteArray bytes;
    try {
        connection.connect();
    } catch (const AppError &e) {
        return baseFailure(call.base, e.text());
    }
    try {
        BaseQueries queries(connection);
        const std::optional<int> crop = cropId(queries, call.crop);
        const std::optional<int> water = waterId(queries, call.water);
        RecipeFile::Recipe recipe;
        if (call.saved) {
            recipe = RecipeExport::savedSolution(queries, savedId(queries, *call.saved, crop), water);
        } else {
            RecipeExport::Source source;
            source.name = QStringLiteral("Рабочий состав");
            source.crop = crop;
            source.water = water;
            recipe = RecipeExport::workingComposition(queries, source);
        }
        bytes = RecipeFile::write(recipe);
    } catch (const AppError &e) {
        if (isBusy(e.text()))
            return baseFailure(call.base, e.text());
        return failure(ExitCode::BadContent, call.base + QStringLiteral(": ") + e.text());
    }
    if (!call.output)
        return {ExitCode::Success, bytes, {}};
    try {
        WholeFile::write(*call.output, bytes);
    } catch (const AppError &e) {
        return failure(ExitCode::CannotWrite, e.text());
    }
    return {ExitCode::Success, {}, {}};
}

} // namespace BaseCommands
