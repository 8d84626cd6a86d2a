#include "dbcheckbox.h"

#include "data/binding.h"
#include "data/dataset.h"
#include "ui/messages.h"

DBCheckBox::DBCheckBox(const QString &name, const QString &caption, Binding *binding,
                       const QString &field, QWidget *parent)
    : QCheckBox(caption, parent), m_binding(binding), m_field(field)
{
    setObjectName(name);
    connect(m_binding, &Binding::reset, this, &DBCheckBox::refresh);
    connect(m_binding, &Binding::valuesChanged, this, &DBCheckBox::refresh);
    connect(m_binding, &Binding::rowChanged, this, &DBCheckBox::refresh);
    connect(m_binding, &Binding::currentChanged, this, &DBCheckBox::refresh);
    connect(m_binding, &Binding::stateChanged, this, &DBCheckBox::refresh);
    refresh();
}

bool DBCheckBox::hasData() const
{
    return m_binding->isEnabled() && m_binding->dataset()->isActive();
}

void DBCheckBox::refresh()
{
    setChecked(hasData() && m_binding->dataset()->asBoolean(m_field));
}

void DBCheckBox::nextCheckState()
{
    // A box without data behind it does not toggle.
    if (!hasData())
        return;
    guarded([this] {
        Dataset *ds = m_binding->dataset();
        const bool ticked = ds->asBoolean(m_field);
        if (ds->state() == DatasetState::Browse) {
            if (ds->isEmpty())
                ds->append();
            else
                ds->edit();
        }
        ds->setValue(m_field, !ticked);
    });
    refresh();
}

bool DBCheckBox::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}
