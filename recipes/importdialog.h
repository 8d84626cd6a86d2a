#pragma once

#include "calc/recipeexchange/recipeimport.h"

#include <QDialog>

#include <functional>

class DataModules;
class QLabel;
class QTableWidget;

// The preview of a recipe import: what each fertilizer of the file becomes (taken from the
// base, created, or created under a new name the grower may edit), the crop and the saved
// solution. Nothing is written before "Импортировать", and then all of it in one transaction.
class ImportDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ImportDialog(DataModules &data, QWidget *parent = nullptr);

    // Reads the file and plans the import. Throws AppError for a file that is refused (its
    // message names the field and the line) or a base that cannot take it.
    void load(const QString &path);
    // The same for a fertilizer list in CSV.
    void loadList(const QString &path);

    const RecipeImport::Plan &plan() const { return m_plan; }

    // "Импортировать": the plan with the names as edited, written. Throws; nothing stays
    // written then.
    void ButtonImportClick();

Q_SIGNALS:
    void imported(); // written: the windows must read the base again

private:
    void planFrom(const QString &path, const std::function<RecipeImport::Plan(const QByteArray &)> &planner);
    void fill();

    DataModules &m_data;
    RecipeImport::Plan m_plan;
    QTableWidget *m_table = nullptr;
    QLabel *m_summary = nullptr;
};
