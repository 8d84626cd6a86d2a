#pragma once

#include <QLineEdit>
#include <QString>

class Binding;

// A text edit on one field of its binding's current row. Typing puts the row into editing (a new
// row when the table has none); the typed text goes into the field when the edit loses the
// focus or when updateRecord() is called before a post. A text the field refuses raises the
// field's error and leaves the field as it was; the edit then keeps the text and the focus.
// Escape gives back the stored value.
class DBEdit : public QLineEdit
{
    Q_OBJECT

public:
    DBEdit(const QString &name, Binding *binding, const QString &field, QWidget *parent = nullptr);

    QString field() const { return m_field; }

    // Text typed since the field was last shown or written.
    bool isPending() const { return m_pending; }

    // Writes pending text into the field; throws the field's error when it refuses the text.
    void updateRecord();

protected:
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool hasData() const;
    void refresh();
    void reload();
    void onTextEdited();
    void onStateChanged();

    Binding *m_binding;
    QString m_field;
    bool m_pending = false;
    bool m_committing = false;
};
