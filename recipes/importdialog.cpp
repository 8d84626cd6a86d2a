#include "importdialog.h"

#include "calc/recipeexchange/fertilizercsv.h"
#include "data/apperror.h"
#include "data/datamodules.h"
#include "ui/messages.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { FileName, DecisionText, BaseName, ColumnCount };

QString decisionText(RecipeImport::Decision d)
{
    switch (d) {
    case RecipeImport::Decision::Reuse:
        return QStringLiteral("есть в базе, берётся оно");
    case RecipeImport::Decision::Rename:
        return QStringLiteral("в базе другой состав: новое название");
    case RecipeImport::Decision::Create:
        break;
    }
    return QStringLiteral("новое");
}

} // namespace

ImportDialog::ImportDialog(DataModules &data, QWidget *parent)
    : QDialog(parent)
    , m_data(data)
{
    setObjectName(QStringLiteral("ImportDialog"));
    setWindowTitle(QStringLiteral("Импорт рецепта"));
    resize(640, 360);
    auto *layout = new QVBoxLayout(this);
    m_table = new QTableWidget(0, ColumnCount, this);
    m_table->setObjectName(QStringLiteral("ImportTable"));
    m_table->setAccessibleName(QStringLiteral("Удобрения рецепта"));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("В файле"), QStringLiteral("Что будет"), QStringLiteral("Название в базе")});
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->setEditTriggers(QAbstractItemView::AllEditTriggers);
    layout->addWidget(m_table);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("ImportSummary"));
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *import = buttons->addButton(QStringLiteral("Импортировать"), QDialogButtonBox::AcceptRole);
    import->setObjectName(QStringLiteral("ButtonImport"));
    QPushButton *cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("ButtonCancel"));
    layout->addWidget(buttons);
    connect(import, &QPushButton::clicked, this, [this] { guarded([this] { ButtonImportClick(); }); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ImportDialog::load(const QString &path)
{
    planFrom(path, [this](const QByteArray &bytes) {
        return RecipeImport::plan(m_data.ADOConnection1, RecipeFile::read(bytes));
    });
}

void ImportDialog::loadList(const QString &path)
{
    planFrom(path, [this](const QByteArray &bytes) {
        return RecipeImport::planList(m_data.ADOConnection1, FertilizerCsv::read(bytes));
    });
}

void ImportDialog::planFrom(const QString &path, const std::function<RecipeImport::Plan(const QByteArray &)> &planner)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Файл «%1» не открывается: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.read(RecipeFile::MaximumFileSize + 1);
    if (bytes.size() > RecipeFile::MaximumFileSize)
        throw AppError(QStringLiteral("Файл «%1» больше %2 МБ").arg(path).arg(RecipeFile::MaximumFileSize / (1024 * 1024)));
    try {
        m_plan = planner(bytes);
    } catch (const AppError &e) {
        throw AppError(QStringLiteral("Файл «%1» не принят: %2").arg(path, e.text()));
    }
    fill();
}

void ImportDialog::fill()
{
    m_table->setRowCount(int(m_plan.fertilizers.size()));
    for (int i = 0; i < m_plan.fertilizers.size(); ++i) {
        const RecipeImport::FertilizerStep &step = m_plan.fertilizers.at(i);
        const auto cell = [](const QString &text, bool editable) {
            auto *item = new QTableWidgetItem(text);
            if (!editable)
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            return item;
        };
        m_table->setItem(i, FileName, cell(m_plan.recipe.fertilizers.at(i).name, false));
        m_table->setItem(i, DecisionText, cell(decisionText(step.decision), false));
        m_table->setItem(i, BaseName, cell(step.name, step.decision != RecipeImport::Decision::Reuse));
    }
    const QStringList lines = RecipeImport::describe(m_plan);
    m_summary->setText(m_plan.listOnly ? QStringLiteral("Список удобрений: %1").arg(m_plan.fertilizers.size())
                                       : lines.mid(m_plan.fertilizers.size()).join(u'\n'));
}

void ImportDialog::ButtonImportClick()
{
    RecipeImport::Plan plan = m_plan;
    for (int i = 0; i < plan.fertilizers.size(); ++i)
        plan.fertilizers[i].name = m_table->item(i, BaseName)->text();
    RecipeImport::apply(m_data.ADOConnection1, plan);
    accept();
    Q_EMIT imported();
}
