#include "recipeexportdialog.h"

#include "data/wholefile.h"
#include "data/basequeries.h"
#include "data/datamodules.h"
#include "ui/filechooser.h"
#include "ui/messages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

RecipeExportDialog::RecipeExportDialog(DataModules &data, QWidget *parent)
    : QDialog(parent)
    , m_data(data)
{
    setObjectName(QStringLiteral("RecipeExportDialog"));
    setWindowTitle(QStringLiteral("Экспорт рецепта"));
    auto *form = new QFormLayout(this);
    m_sourceBox = new QComboBox(this);
    m_sourceBox->setObjectName(QStringLiteral("SourceBox"));
    m_sourceBox->setAccessibleName(QStringLiteral("Что записать"));
    form->addRow(QStringLiteral("&Рецепт:"), m_sourceBox);
    m_waterBox = new QComboBox(this);
    m_waterBox->setObjectName(QStringLiteral("WaterBox"));
    m_waterBox->setAccessibleName(QStringLiteral("Анализ воды"));
    form->addRow(QStringLiteral("&Вода:"), m_waterBox);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *save = buttons->addButton(QStringLiteral("Сохранить..."), QDialogButtonBox::AcceptRole);
    save->setObjectName(QStringLiteral("ButtonSave"));
    QPushButton *cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("ButtonCancel"));
    form->addRow(buttons);
    connect(save, &QPushButton::clicked, this, [this] { guarded([this] { ButtonSaveClick(); }); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void RecipeExportDialog::setSources(const RecipeExport::Source &working, std::optional<int> saved,
                                    const QString &savedName)
{
    m_working = working;
    m_saved = saved;
    m_sourceBox->clear();
    m_sourceBox->addItem(QStringLiteral("Рабочий состав (%1 %)").arg(working.percentage));
    if (saved) {
        m_sourceBox->addItem(QStringLiteral("Готовый раствор: ") + savedName);
        m_sourceBox->setCurrentIndex(1);
    }
    m_waterBox->clear();
    m_waterBox->addItem(QStringLiteral("Без воды"));
    if (m_data.ADOConnection1.ownTablesProblem().isEmpty()) {
        for (const BaseRows::WaterAnalysis &w : BaseQueries(m_data.ADOConnection1).waterAnalyses())
            m_waterBox->addItem(w.name, w.id);
    }
}

RecipeFile::Recipe RecipeExportDialog::recipe() const
{
    BaseQueries queries(m_data.ADOConnection1);
    const QVariant water = m_waterBox->currentData();
    const std::optional<int> waterId = water.isValid() ? std::optional(water.toInt()) : std::nullopt;
    if (m_saved && m_sourceBox->currentIndex() == 1)
        return RecipeExport::savedSolution(queries, *m_saved, waterId);
    RecipeExport::Source source = m_working;
    source.water = waterId;
    return RecipeExport::workingComposition(queries, source);
}

void RecipeExportDialog::ButtonSaveClick()
{
    const RecipeFile::Recipe r = recipe();
    const QByteArray bytes = RecipeFile::write(r);
    const QString path = FileChooser::choose(
        this, {FileChooser::Purpose::Save, QStringLiteral("Экспорт рецепта"), r.name + QStringLiteral(".json"),
               QStringLiteral("Рецепт (*.json)")});
    if (path.isEmpty())
        return;
    WholeFile::write(path, bytes);
    accept();
}
