#pragma once

#include <QFrame>

class QPushButton;

// Panel4, the 40-px column of buttons along the fertilizer list's right edge: ">" and "<" at
// the top, "E", "U", "O" lower down, "X" at the bottom. The window connects them.
class ButtonColumn : public QFrame
{
    Q_OBJECT

public:
    explicit ButtonColumn(QWidget *parent = nullptr);

    QPushButton *addButton() const { return m_button1; }
    QPushButton *removeButton() const { return m_button2; }
    QPushButton *clearButton() const { return m_button3; }
    QPushButton *elementsButton() const { return m_button6; }
    QPushButton *fertilizersButton() const { return m_button8; }
    QPushButton *optionsButton() const { return m_button9; }

private:
    QPushButton *makeButton(const QString &name, const QString &caption, const QString &toolTip);

    QPushButton *m_button1;
    QPushButton *m_button2;
    QPushButton *m_button6;
    QPushButton *m_button8;
    QPushButton *m_button9;
    QPushButton *m_button3;
};
