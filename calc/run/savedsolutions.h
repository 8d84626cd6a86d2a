#pragma once

#include "recipe.h"

#include <QString>
#include <QVariant>

class DataModules;
class Dataset;

// The saved solutions of the selected crop (T_HEAD_RAR with its rows T_save_rar) and what the
// grower does with them: save the working composition under a name, rename, delete, copy one
// back into the working composition, add and remove fertilizers. Widget-free: the name dialog
// and the saved-solution pane gather the input and call these. Rows posted before an error
// stay posted.
class SavedSolutions
{
public:
    explicit SavedSolutions(DataModules &data);

    // Saving, in two steps so that an amount still open in an editor can be written in
    // between. First a new solution of the selected crop named `name` at the percentage
    // `percentageText` (a decimal integer), posted and current; returns its key. A text that
    // is no integer throws, and the row stays appended with its name.
    QVariant appendSolution(const QString &name, const QString &percentageText);
    // Then the working composition, first row to last, copied into that solution.
    void copyCompositionInto(const QVariant &solution);

    // Gives the current solution the name, whatever it is; with no solution a new one of the
    // selected crop is started and posted with that name.
    void renameCurrent(const QString &name);
    // Deletes the current solution (a new one not yet posted is dropped), not its rows.
    void removeCurrent();
    // Replaces the working composition by the current solution's rows, duplicates kept.
    void copyToComposition();
    // Appends a row of the current fertilizer of `fertilizers` without an amount, then reads the
    // solution's rows afresh.
    void addFertilizer(const Dataset &fertilizers);
    // Deletes the current row of the solution (a new one not yet posted is dropped).
    void removeFertilizer();

    // The current solution as a recipe at the percentage it was saved with (0 when not set).
    Recipe currentRecipe() const;

private:
    DataModules &m_data;
};
