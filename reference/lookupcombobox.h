#pragma once

#include <QComboBox>
#include <QString>

class Binding;

// A drop-down bound to a key field of the current row of one binding: it offers the rows of
// another binding by one of their fields and stores the picked row's key. A key that names no
// listed row shows an empty box. The list is the list binding's rows as they stand, so a
// snapshot not yet re-read offers what it held when opened.
class LookupComboBox : public QComboBox
{
    Q_OBJECT

public:
    LookupComboBox(const QString &name, Binding *dataSource, const QString &dataField,
                   Binding *listSource, const QString &keyField, const QString &listField,
                   QWidget *parent = nullptr);

    // The key shown, null when none.
    QVariant key() const;

private:
    void reloadList();
    void showCurrent();
    void pick(int index);

    Binding *m_dataSource;
    QString m_dataField;
    Binding *m_listSource;
    QString m_keyField;
    QString m_listField;
};
