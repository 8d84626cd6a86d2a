#include "workingcomposition.h"

#include "data/connection.h"
#include "data/datamodules.h"
#include "data/fields.h"

WorkingComposition::WorkingComposition(Form4Data &calculator) : m_data(calculator)
{
}

void WorkingComposition::add(Dataset &fertilizers)
{
    if (!fertilizers.isActive() || fertilizers.currentRow() < 0
        || fertilizers.isNull(Fields::id_udobra))
        return;
    Dataset &composition = m_data.T_rachet;
    const Bookmark current = fertilizers.bookmark();
    const int id = fertilizers.asInteger(Fields::id_udobra);
    composition.setFilter(Fields::id_udobra + u'=' + QString::number(id));
    composition.setFiltered(true);
    // Present exactly once: not again. Absent, or twice or more (a copied saved solution): add.
    if (composition.recordCount() != 1) {
        composition.setFiltered(false);
        composition.append();
        composition.setValue(Fields::id_udobra, id);
        composition.post();
    }
    composition.setFiltered(false);
    if (composition.isModified())
        composition.post();
    composition.close();
    composition.open();
    fertilizers.gotoBookmark(current);
}

void WorkingComposition::removeCurrent()
{
    Dataset &composition = m_data.T_rachet;
    if (composition.recordCount() >= 1)
        composition.remove();
    composition.last();
}

void WorkingComposition::clear()
{
    Dataset &composition = m_data.T_rachet;
    composition.first();
    while (!composition.isEmpty())
        composition.remove();
    composition.close();
    composition.open();
}

void WorkingComposition::setAmounts(const QList<QPair<QVariant, double>> &amounts)
{
    Dataset &composition = m_data.T_rachet;
    // One recipe or the other, never a mix of both: an error undoes every amount written.
    Connection::Batch batch(composition.connection());
    try {
        composition.first();
        while (!composition.eof()) {
            const qlonglong key = composition.value(Fields::id_rachet).toLongLong();
            for (const auto &[row, grams] : amounts) {
                if (!row.isNull() && row.toLongLong() == key) {
                    composition.edit();
                    composition.setValue(Fields::kol, grams);
                    composition.post();
                    break;
                }
            }
            composition.next();
        }
        batch.commit();
    } catch (...) {
        if (composition.isActive())
            composition.cancel();
        batch.rollback();
        composition.close();
        composition.open();
        throw;
    }
    composition.close();
    composition.open();
}

Recipe WorkingComposition::recipe(int percentage) const
{
    return {Recipe::linesOf(m_data.T_rachet), percentage};
}
