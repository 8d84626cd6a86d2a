#pragma once

#include <functional>

class DataModules;
class QWidget;

// The fertilizer window's CSV buttons: the reference books written as tables, and a fertilizer
// list read through the import preview.
namespace ReferenceFiles {

// "Экспорт CSV...": the fertilizer list to the file chosen, in the layout a list is read in, and
// beside it the elements with their coefficients ("… - элементы.csv") and the crops with their
// targets ("… - культуры.csv"), numbers with the system's decimal mark. Throws AppError.
void exportAll(DataModules &data, QWidget *parent);

// "Импорт CSV...": the list chosen, previewed and, when the grower says so, written;
// `imported` runs after that. Throws AppError for a list that is refused.
void importList(DataModules &data, QWidget *parent, const std::function<void()> &imported);

} // namespace ReferenceFiles
