#pragma once

#include "calc/run/savedsolutions.h"

#include <QWidget>

class CompositionSource;
class DataModules;
class QLineEdit;
class QPushButton;

// The name dialog of the saved solutions: a small tool window that does not block the
// calculator. Created once and only ever hidden, so its edit keeps the text it last held. It
// holds the rename mode, which it reads when its "Сохранить" is pressed.
class TForm5 : public QWidget
{
    Q_OBJECT

public:
    TForm5(DataModules &data, CompositionSource &calculator, QWidget *parent = nullptr);

    // Shows the dialog, or brings it to the front when it is already open.
    void showDialog();
    // The calculator's "Сохранить": rename mode off, the dialog shown.
    void showToSave();
    // "изменить название": rename mode on, the dialog shown with `name` in its edit.
    void showToRename(const QString &name);

    // On, "Сохранить" renames the current saved solution; off, it saves a new one.
    bool renameMode() const { return m_renameMode; }
    void setRenameMode(bool on) { m_renameMode = on; }

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
    void create(const QString &name);

    SavedSolutions m_solutions;
    CompositionSource &m_calculator;
    bool m_renameMode = false;
    QLineEdit *m_edit1 = nullptr;
    QPushButton *m_button1 = nullptr;
    QPushButton *m_button2 = nullptr;
    bool m_centred = false;
};
