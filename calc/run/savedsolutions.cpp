#include "savedsolutions.h"

#include "numbers.h"
#include "workingcomposition.h"

#include "data/connection.h"
#include "data/datamodules.h"
#include "data/fields.h"

namespace {

void copyField(const Dataset &from, Dataset &to, const QString &field)
{
    const QVariant v = from.value(field);
    if (v.isNull())
        to.clearValue(field);
    else
        to.setValue(field, v);
}

} // namespace

SavedSolutions::SavedSolutions(DataModules &data) : m_data(data)
{
}

QVariant SavedSolutions::appendSolution(const QString &name, const QString &percentageText)
{
    Dataset &head = m_data.form4.T_HEAD_RAR;
    head.append(); // the link gives the row the selected crop
    head.setValue(Fields::name_rar, name);
    head.setValue(Fields::konc, strToInt(percentageText));
    head.post();
    return head.value(Fields::id_head_rar);
}

void SavedSolutions::copyCompositionInto(const QVariant &solution)
{
    Dataset &work = m_data.form4.T_rachet;
    Dataset &rows = m_data.form4.T_save_rar;
    Connection::Batch batch(m_data.ADOConnection1);
    work.first(); // posts an amount still being edited, so it is saved with the rest
    while (!work.eof()) {
        rows.append();
        rows.setValue(Fields::id_head_rar, solution);
        copyField(work, rows, Fields::id_udobra);
        copyField(work, rows, Fields::kol);
        rows.post();
        work.next();
    }
    batch.commit();
}

void SavedSolutions::renameCurrent(const QString &name)
{
    Dataset &head = m_data.form4.T_HEAD_RAR;
    // With no saved solution there is no row to edit: a new one is started, and the link
    // gives it the selected crop.
    if (head.state() == DatasetState::Browse && head.currentRow() < 0)
        head.append();
    else
        head.edit();
    head.setValue(Fields::name_rar, name);
    head.post();
}

void SavedSolutions::removeCurrent()
{
    m_data.form4.T_HEAD_RAR.remove();
}

void SavedSolutions::copyToComposition()
{
    WorkingComposition(m_data.form4).clear();
    Dataset &saved = m_data.form4.T_save_rar;
    Dataset &work = m_data.form4.T_rachet;
    Connection::Batch batch(m_data.ADOConnection1);
    saved.first();
    while (!saved.eof()) {
        work.append();
        copyField(saved, work, Fields::id_udobra);
        copyField(saved, work, Fields::kol);
        work.post();
        saved.next();
    }
    batch.commit();
}

void SavedSolutions::addFertilizer(const Dataset &fertilizers)
{
    Dataset &rows = m_data.form4.T_save_rar;
    rows.append(); // the link gives the row the current solution
    copyField(fertilizers, rows, Fields::id_udobra);
    rows.post();
    rows.close();
    rows.open();
}

void SavedSolutions::removeFertilizer()
{
    m_data.form4.T_save_rar.remove();
}

Recipe SavedSolutions::currentRecipe() const
{
    const Dataset &head = m_data.form4.T_HEAD_RAR;
    const int percentage = head.isActive() ? head.asInteger(Fields::konc) : 0;
    return {Recipe::linesOf(m_data.form4.T_save_rar), percentage};
}
