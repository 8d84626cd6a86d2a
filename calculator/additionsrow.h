#pragma once

#include <QWidget>

class QPushButton;

// The composition pane's row under "Сохранить" and "Рассчитать >>": buttons that open the
// windows added beside the calculator, right-aligned like the row above.
class AdditionsRow : public QWidget
{
    Q_OBJECT

public:
    explicit AdditionsRow(QWidget *parent = nullptr);

    // Appends a button named `name` (its objectName) with the caption `text`.
    QPushButton *addButton(const QString &name, const QString &text);
};
