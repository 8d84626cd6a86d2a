#include "lookupcombobox.h"

#include "data/binding.h"
#include "data/dataset.h"
#include "ui/messages.h"

#include <QSignalBlocker>

LookupComboBox::LookupComboBox(const QString &name, Binding *dataSource, const QString &dataField,
                               Binding *listSource, const QString &keyField,
                               const QString &listField, QWidget *parent)
    : QComboBox(parent),
      m_dataSource(dataSource),
      m_dataField(dataField),
      m_listSource(listSource),
      m_keyField(keyField),
      m_listField(listField)
{
    setObjectName(name);
    setEditable(false);

    connect(listSource, &Binding::reset, this, &LookupComboBox::reloadList);
    connect(listSource, &Binding::valuesChanged, this, &LookupComboBox::reloadList);
    connect(listSource, &Binding::rowChanged, this, &LookupComboBox::reloadList);
    connect(listSource, &Binding::rowInserted, this, &LookupComboBox::reloadList);
    connect(listSource, &Binding::rowRemoved, this, &LookupComboBox::reloadList);

    connect(dataSource, &Binding::reset, this, &LookupComboBox::showCurrent);
    connect(dataSource, &Binding::valuesChanged, this, &LookupComboBox::showCurrent);
    connect(dataSource, &Binding::rowChanged, this, &LookupComboBox::showCurrent);
    connect(dataSource, &Binding::rowInserted, this, &LookupComboBox::showCurrent);
    connect(dataSource, &Binding::rowRemoved, this, &LookupComboBox::showCurrent);
    connect(dataSource, &Binding::currentChanged, this, &LookupComboBox::showCurrent);
    connect(dataSource, &Binding::stateChanged, this, &LookupComboBox::showCurrent);

    connect(this, &QComboBox::activated, this, &LookupComboBox::pick);
    reloadList();
}

QVariant LookupComboBox::key() const
{
    return currentIndex() < 0 ? QVariant() : currentData();
}

void LookupComboBox::reloadList()
{
    {
        const QSignalBlocker blocker(this);
        clear();
        const Dataset *list = m_listSource->dataset();
        if (m_listSource->isEnabled() && list->isActive()) {
            const int keyIndex = list->fieldIndex(m_keyField);
            const int nameIndex = list->fieldIndex(m_listField);
            const int rows = list->recordCount();
            for (int r = 0; keyIndex >= 0 && nameIndex >= 0 && r < rows; ++r)
                addItem(list->valueAt(r, nameIndex).toString(), list->valueAt(r, keyIndex));
        }
    }
    showCurrent();
}

void LookupComboBox::showCurrent()
{
    const Dataset *ds = m_dataSource->dataset();
    const bool onRow = m_dataSource->isEnabled() && ds->isActive() && ds->currentRow() >= 0;
    int found = -1;
    if (onRow) {
        QVariant value;
        try {
            value = ds->value(m_dataField);
        } catch (...) {
            // An unreadable key shows as no key; showing is no place for a message box.
        }
        for (int i = 0; !value.isNull() && i < count(); ++i) {
            if (itemData(i).toLongLong() == value.toLongLong()) {
                found = i;
                break;
            }
        }
    }
    const QSignalBlocker blocker(this);
    setCurrentIndex(found);
    setEnabled(onRow);
}

void LookupComboBox::pick(int index)
{
    const QVariant picked = itemData(index);
    guarded([this, &picked] {
        Dataset *ds = m_dataSource->dataset();
        const QVariant now = ds->value(m_dataField);
        if (!now.isNull() && now.toLongLong() == picked.toLongLong())
            return;
        ds->edit();
        ds->setValue(m_dataField, picked);
    });
    // A refused pick shows the key the row still holds.
    showCurrent();
}
