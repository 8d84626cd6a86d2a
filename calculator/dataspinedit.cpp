#include "dataspinedit.h"

#include "data/binding.h"
#include "data/dataset.h"
#include "data/textconv.h"
#include "ui/messages.h"

#include <QLineEdit>

#include <algorithm>

DataSpinEdit::DataSpinEdit(const QString &name, Binding *binding, const QString &field,
                           QWidget *parent)
    : DecimalSpinBox(parent), m_binding(binding), m_field(field)
{
    setObjectName(name);
    connect(binding, &Binding::reset, this, &DataSpinEdit::showCurrent);
    connect(binding, &Binding::currentChanged, this, &DataSpinEdit::showCurrent);
    connect(binding, &Binding::valuesChanged, this, &DataSpinEdit::showCurrent);
    connect(binding, &Binding::stateChanged, this, &DataSpinEdit::showCurrent);
    connect(binding, &Binding::rowChanged, this, [this](int row) {
        if (row == dataset()->currentRow())
            showCurrent();
    });
    connect(this, &DecimalSpinBox::userChanged, this, &DataSpinEdit::userChangedValue);
    connect(this, &QAbstractSpinBox::editingFinished, this, &DataSpinEdit::finishEditing);
    showCurrent();
}

Dataset *DataSpinEdit::dataset() const
{
    return m_binding->dataset();
}

bool DataSpinEdit::hasRow() const
{
    return m_binding->isEnabled() && dataset()->isActive() && dataset()->currentRow() >= 0;
}

// The number in the text as the field takes it: empty or unreadable is no value, and a number
// outside the range is brought to the nearest bound.
QVariant DataSpinEdit::typedValue() const
{
    const QString text = lineEdit()->text().trimmed();
    double v = 0;
    if (text.isEmpty() || !tryParseDecimal(text, v))
        return QVariant();
    return std::clamp(v, minimum(), maximum());
}

void DataSpinEdit::showCurrent()
{
    // Our own writes come back as row and state changes; what is typed stays as typed.
    if (m_writing)
        return;
    const bool row = hasRow();
    setReadOnly(!row);
    QVariant v;
    if (row) {
        try {
            v = dataset()->value(m_field);
        } catch (...) {
            // A value that cannot be read shows empty; showing is no place for a message box.
        }
    }
    setExactValue(v);
    emitIfTextChanged();
}

void DataSpinEdit::userChangedValue()
{
    if (hasRow()) {
        Dataset *ds = dataset();
        m_writing = true;
        guarded([this, ds] {
            ds->edit();
            const QVariant v = typedValue();
            if (v.isNull())
                ds->clearValue(m_field);
            else
                ds->setValue(m_field, v);
        });
        m_writing = false;
    }
    emitIfTextChanged();
}

// Leaving the editor shows the value as stored: a number typed outside the range shows its
// bound, and an empty text stays empty rather than becoming the base class's 0.
void DataSpinEdit::finishEditing()
{
    showCurrent();
}

void DataSpinEdit::emitIfTextChanged()
{
    const QString now = text();
    if (now == m_lastText)
        return;
    m_lastText = now;
    Q_EMIT changed();
}
