#include "binding.h"

#include "dataset.h"

Binding::Binding(const QString &name, Dataset *dataset, QObject *parent)
    : QObject(parent), m_dataset(dataset)
{
    setObjectName(name);
    dataset->m_binding = this;
    connect(dataset, &Dataset::rowsReset, this, &Binding::forwardReset);
    connect(dataset, &Dataset::valuesChanged, this, &Binding::forwardValues);
    connect(dataset, &Dataset::rowChanged, this, &Binding::forwardRowChanged);
    connect(dataset, &Dataset::rowInserted, this, &Binding::forwardRowInserted);
    connect(dataset, &Dataset::rowRemoved, this, &Binding::forwardRowRemoved);
    connect(dataset, &Dataset::currentChanged, this, &Binding::forwardCurrent);
    connect(dataset, &Dataset::stateChanged, this, &Binding::forwardState);
}

Binding::~Binding()
{
    if (m_dataset && m_dataset->m_binding == this)
        m_dataset->m_binding = nullptr;
}

void Binding::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    // Controls show nothing while disabled and everything afresh once enabled.
    Q_EMIT reset();
    if (m_enabled) {
        Q_EMIT currentChanged(m_dataset->currentRow());
        Q_EMIT dataChange();
    }
}

void Binding::addFollower(Dataset *detail)
{
    if (!m_followers.contains(detail))
        m_followers.append(detail);
}

void Binding::removeFollower(Dataset *detail)
{
    m_followers.removeAll(detail);
}

void Binding::notifyMasterChanged()
{
    // Copied: a follower's reaction never changes the list, but be safe against it.
    const QList<Dataset *> followers = m_followers;
    for (Dataset *d : followers)
        d->masterChanged();
}

void Binding::forwardReset()
{
    if (!m_enabled)
        return;
    Q_EMIT reset();
    Q_EMIT dataChange();
}

void Binding::forwardValues()
{
    if (!m_enabled)
        return;
    Q_EMIT valuesChanged();
    Q_EMIT dataChange();
}

void Binding::forwardRowChanged(int row)
{
    if (!m_enabled)
        return;
    Q_EMIT rowChanged(row);
    Q_EMIT dataChange();
}

void Binding::forwardRowInserted(int row)
{
    if (!m_enabled)
        return;
    Q_EMIT rowInserted(row);
    Q_EMIT dataChange();
}

void Binding::forwardRowRemoved(int row)
{
    if (!m_enabled)
        return;
    Q_EMIT rowRemoved(row);
    Q_EMIT dataChange();
}

void Binding::forwardCurrent(int row)
{
    if (!m_enabled)
        return;
    Q_EMIT currentChanged(row);
    Q_EMIT dataChange();
}

void Binding::forwardState()
{
    if (!m_enabled)
        return;
    Q_EMIT stateChanged();
}
