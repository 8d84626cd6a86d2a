#pragma once

#include "calc/recipeexchange/recipeexport.h"

#include <QDialog>

#include <optional>

class DataModules;
class QComboBox;

// "Экспорт рецепта": what to write (the working composition at its percentage or the current
// saved solution, as the stock window's source box offers them) and which water analysis goes
// with it, then the file.
class RecipeExportDialog : public QDialog
{
    Q_OBJECT

public:
    explicit RecipeExportDialog(DataModules &data, QWidget *parent = nullptr);

    // What there is to export now: the working composition as the calculator holds it, and the
    // current saved solution, if any.
    void setSources(const RecipeExport::Source &working, std::optional<int> saved, const QString &savedName);

    // "Сохранить...": the recipe, the file chosen, written whole. Throws.
    void ButtonSaveClick();

    // The recipe of the source and water chosen.
    RecipeFile::Recipe recipe() const;

private:
    DataModules &m_data;
    RecipeExport::Source m_working;
    std::optional<int> m_saved;
    QComboBox *m_sourceBox = nullptr;
    QComboBox *m_waterBox = nullptr;
};
