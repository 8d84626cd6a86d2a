#pragma once

#include "baserows.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

class Connection;

// Read-only questions to the base, by key, answered with plain values from what the file holds
// now: no dataset is opened or moved, and a program without a window asks the same. Every value
// is bound; a base without our tables answers as if they were empty.
class BaseQueries
{
public:
    explicit BaseQueries(Connection &connection);

    QList<BaseRows::Element> elements(); // in key order
    std::optional<BaseRows::Element> elementBySymbol(const QString &symbol); // case as typed
    // The keys of the given symbols that the base holds; a symbol it lacks is left out.
    QHash<QString, int> elementIds(const QStringList &symbols);
    QList<BaseRows::Coefficient> coefficients(); // in key order

    QList<BaseRows::Fertilizer> fertilizers(); // in key order
    std::optional<BaseRows::Fertilizer> fertilizer(int id);
    std::optional<BaseRows::Fertilizer> fertilizerByName(const QString &name);
    // The composition rows of the fertilizers `ids` (of all without them), by fertilizer, each
    // list in the order the rows were made.
    QHash<int, QList<BaseRows::CompositionLine>> compositions(const std::optional<QList<int>> &ids = {});
    // The properties rows of the fertilizers `ids`, by fertilizer.
    QHash<int, BaseRows::FertilizerProperties> fertilizerProperties(const QList<int> &ids);

    QList<BaseRows::Crop> crops(); // names and keys only, no targets, in key order
    std::optional<BaseRows::Crop> crop(int id); // with its targets and properties
    std::optional<BaseRows::Crop> cropByName(const QString &name);

    QList<BaseRows::WaterAnalysis> waterAnalyses(); // without their lines, in key order
    std::optional<BaseRows::WaterAnalysis> waterAnalysis(int id); // with its lines

    QList<BaseRows::SavedSolution> savedSolutions(int crop); // without their lines
    std::optional<BaseRows::SavedSolution> savedSolution(int id); // with its lines
    QList<BaseRows::RecipeLine> workingComposition(); // as stored, in the rows' order

    BaseRows::Options options();

private:
    bool hasTable(const QString &table);

    Connection &m_connection;
};
