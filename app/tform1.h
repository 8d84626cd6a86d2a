#pragma once

#include "data/datamodules.h"

#include <QWidget>

class QPushButton;
class QTimer;

// The main window: a small launcher of the element window, the fertilizer window and the
// calculator. It owns the one connection (through the data modules, which every window
// shares), opens the database when shown, and ends the program when closed.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    // Connects ADOConnection1; a failure is shown in the standard error box and the window is
    // built all the same.
    explicit TForm1(QWidget *parent = nullptr);

    DataModules &data() { return m_data; }

    // Pressing a button from code (the calculator's "E" and "U", the autostart) is click() on
    // these: it runs exactly what a click runs.
    QPushButton *RzButton1() const { return m_rzButton1; } // "Удобрения"
    QPushButton *RzButton2() const { return m_rzButton2; } // "Калькулятор"
    QPushButton *RzButton3() const { return m_rzButton3; } // "Элементы"

    // The autostart timer, off as built; ApplyOptions switches it from t_opt.avto. Switching it
    // on while it runs changes nothing; its tick switches it off.
    void setTimer1Enabled(bool enabled);
    bool isTimer1Enabled() const;

    // The handlers. Each throws; the events reach them through guarded().
    void FormShow();
    void FormClose();
    void RzButton1Click();
    void RzButton2Click();
    void RzButton3Click();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QPushButton *addButton(const char *name, const QString &caption, QColor colour, int top);

    DataModules m_data;
    bool m_toldOwnTablesProblem = false; // the box about our own tables, once per run
    bool m_toldNetworkShare = false;     // the box about a base on a network share, likewise
    QPushButton *m_rzButton1 = nullptr;
    QPushButton *m_rzButton2 = nullptr;
    QPushButton *m_rzButton3 = nullptr;
    QTimer *m_timer1 = nullptr;
};

// Copies the options row onto the options window's pickers, the calculator's controls and the
// autostart timer (run when the main window is shown and by the options' "Применить").
void ApplyOptions();
