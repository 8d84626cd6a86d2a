#pragma once

#include "ui/grid/decimalspinbox.h"

#include <QString>

class Binding;
class Dataset;

// A number editor bound to one field of a binding's current row. It shows the field of
// whichever row is current; typing or stepping puts that row into the editing state and sets
// the field at once, so the value is posted with the row. Without a current row it shows
// nothing and takes nothing.
class DataSpinEdit : public DecimalSpinBox
{
    Q_OBJECT

public:
    DataSpinEdit(const QString &name, Binding *binding, const QString &field,
                 QWidget *parent = nullptr);

    Binding *binding() const { return m_binding; }
    QString field() const { return m_field; }

Q_SIGNALS:
    // The shown text changed: typed, stepped, or because another row became current.
    void changed();

private:
    Dataset *dataset() const;
    bool hasRow() const;
    QVariant typedValue() const;
    void showCurrent();
    void userChangedValue();
    void finishEditing();
    void emitIfTextChanged();

    Binding *m_binding;
    QString m_field;
    QString m_lastText;
    bool m_writing = false;
};
