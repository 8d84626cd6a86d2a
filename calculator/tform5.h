#pragma once

#include <QWidget>

class DataModules;
class QLineEdit;
class QPushButton;

// The name dialog of the saved solutions: a small tool window that does not block the
// calculator. Created once and only ever hidden, so its edit keeps the text it last held.
class TForm5 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm5(DataModules &data, QWidget *parent = nullptr);

    // Shows the dialog, or brings it to the front when it is already open.
    void showDialog();

    QString nameText() const;
    void setNameText(const QString &text);

    // "Сохранить": renames the current saved solution when the rename mode is on at this
    // moment, otherwise saves the working composition under the typed name.
    void Button1Click();
    // "Отмена".
    void Button2Click();
    // A key pressed in the edit: Enter saves, Escape cancels. True when the key was taken.
    bool Edit1KeyDown(int key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void rename(const QString &name);
    void create(const QString &name);

    DataModules &m_data;
    QLineEdit *m_edit1 = nullptr;
    QPushButton *m_button1 = nullptr;
    QPushButton *m_button2 = nullptr;
    bool m_centred = false;
};
