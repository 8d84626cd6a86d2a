#include "referencefiles.h"

#include "importdialog.h"

#include "calc/recipeexchange/fertilizercsv.h"
#include "calc/recipeexchange/recipeexport.h"
#include "data/wholefile.h"
#include "data/basequeries.h"
#include "data/datamodules.h"
#include "data/textconv.h"
#include "ui/filechooser.h"
#include "ui/messages.h"

namespace ReferenceFiles {

namespace {

const QString CsvFilter = QStringLiteral("Таблица CSV (*.csv)");

} // namespace

void exportAll(DataModules &data, QWidget *parent)
{
    QString path = FileChooser::choose(
        parent, {FileChooser::Purpose::Save, QStringLiteral("Экспорт справочников"), QStringLiteral("Удобрения.csv"),
                 CsvFilter});
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        path += QStringLiteral(".csv");
    const QString stem = path.left(path.size() - 4);
    BaseQueries queries(data.ADOConnection1);
    const QChar mark = systemDecimalSeparator();
    const QList<std::pair<QString, QByteArray>> files = {
        {path, FertilizerCsv::write(RecipeExport::fertilizerList(queries), mark)},
        {stem + QStringLiteral(" - элементы.csv"), FertilizerCsv::writeElements(queries, mark)},
        {stem + QStringLiteral(" - культуры.csv"), FertilizerCsv::writeCrops(queries, mark)},
    };
    QStringList written;
    for (const auto &[name, bytes] : files) {
        WholeFile::write(name, bytes);
        written.append(name);
    }
    Messages::ask({QStringLiteral("Записаны файлы:\n") + written.join(u'\n'), Messages::AppTitle,
                   BoxIcon::Information, {BoxButton::Ok}});
}

void importList(DataModules &data, QWidget *parent, const std::function<void()> &imported)
{
    const QString path = FileChooser::choose(
        parent, {FileChooser::Purpose::Open, QStringLiteral("Импорт удобрений"), {}, CsvFilter});
    if (path.isEmpty())
        return;
    ImportDialog dialog(data, parent);
    dialog.loadList(path);
    QObject::connect(&dialog, &ImportDialog::imported, &dialog, imported);
    dialog.exec();
}

} // namespace ReferenceFiles
