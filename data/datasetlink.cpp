// The master/detail link and the bindings: which rows a detail shows, how details follow their
// master, and what the controls are asked for.
#include "dataset.h"

#include "binding.h"

namespace {

// Compares two key-like values as integers; an empty value matches nothing.
bool sameKey(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return false;
    return a.toLongLong() == b.toLongLong();
}

} // namespace

Dataset::~Dataset()
{
    if (m_master)
        m_master->removeFollower(this);
}

bool Dataset::isInView(const Row &row) const
{
    if (m_master) {
        const Dataset *master = m_master->dataset();
        if (!master || !master->isActive())
            return false;
        const int di = fieldIndex(m_detailField);
        if (di < 0 || !sameKey(rowValue(row, di), masterValue()))
            return false;
    }
    if (m_filtered && !m_filter.isEmpty() && !m_filter.passes(rowValue(row, m_filter.field())))
        return false;
    return true;
}

QVariant Dataset::masterValue() const
{
    if (!m_master)
        return {};
    const Dataset *master = m_master->dataset();
    if (!master->isActive())
        return {};
    const int mi = master->fieldIndex(m_masterField);
    const Row *r = master->currentRowData();
    if (mi < 0 || !r)
        return {};
    return master->rowValue(*r, mi);
}

bool Dataset::masterChainClosed() const
{
    const Dataset *ds = this;
    // Links never form a loop in the program; the bound only keeps a mistaken one finite.
    for (int depth = 0; depth < 16 && ds->m_master; ++depth) {
        ds = ds->m_master->dataset();
        if (!ds || !ds->isActive())
            return true;
    }
    return false;
}

Binding *Dataset::binding() const
{
    return m_binding.data();
}

Binding *Dataset::masterBinding() const
{
    return m_master.data();
}

void Dataset::notifyDetailsLinkedBy(const QString &field)
{
    // A detail follows a change of its master field at once.
    if (!m_binding)
        return;
    for (const Dataset *d : m_binding->followers()) {
        if (d->m_masterField.compare(field, Qt::CaseInsensitive) == 0) {
            notifyDetails();
            return;
        }
    }
}

void Dataset::notifyDetails()
{
    if (m_binding)
        m_binding->notifyMasterChanged();
}

void Dataset::updateRecord()
{
    if (m_updatingRecord || !m_binding || !isEditing())
        return;
    m_updatingRecord = true;
    struct Reset
    {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{m_updatingRecord};
    m_binding->requestUpdateData();
}

void Dataset::setMasterLink(Binding *master, const QString &masterField, const QString &detailField)
{
    if (m_master)
        m_master->removeFollower(this);
    m_master = master;
    m_masterField = masterField;
    m_detailField = detailField;
    if (m_master)
        m_master->addFollower(this);
}

void Dataset::masterChanged()
{
    if (!isActive())
        return;
    // A master closing takes the pending changes of its details with it, unposted: closing
    // never writes, and so never fails half-way or reconnects a closed connection.
    if (masterChainClosed())
        cancel();
    else
        checkBrowseMode();
    showViewFromFirstRow();
}
