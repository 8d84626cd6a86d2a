#pragma once

#include <QWidget>

class QPushButton;

// The row of additions under "Сохранить" and "Рассчитать >>" in the composition pane: buttons
// that open windows of our own, three to a line. They share the line's width and never widen
// the pane, so the splitter positions of the layout file hold whatever the row carries.
class ActionRow : public QWidget
{
    Q_OBJECT

public:
    explicit ActionRow(QWidget *parent = nullptr);

    // Appends a button named `name` (its objectName) with the caption.
    QPushButton *addButton(const QString &name, const QString &caption);
};
