#pragma once

#include <QCheckBox>
#include <QString>

class Binding;

// A check box on a boolean field of its binding's current row: it shows the stored value (an
// empty one as unticked), and a toggle by the user puts the row into editing (a new row when the
// table has none) and sets the field at once. Nothing is posted here.
class DBCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    DBCheckBox(const QString &name, const QString &caption, Binding *binding,
               const QString &field, QWidget *parent = nullptr);

    QString field() const { return m_field; }

protected:
    void nextCheckState() override;
    // The whole box answers a click, not only its caption.
    bool hitButton(const QPoint &pos) const override;

private:
    void refresh();
    bool hasData() const;

    Binding *m_binding;
    QString m_field;
};
