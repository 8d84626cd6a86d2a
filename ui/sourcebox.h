#pragma once

#include <QComboBox>

class Dataset;

// "Источник" of a window that reads a recipe: the working composition, or the current saved
// solution, which follow() names as the second choice while there is one.
class SourceBox : public QComboBox
{
    Q_OBJECT

public:
    explicit SourceBox(QWidget *parent = nullptr);

    // Names the current row of `solutions` (T_HEAD_RAR), or drops the choice when there is
    // none, which returns to the working composition. Signals nothing: the caller reads next.
    void follow(const Dataset &solutions);
    bool savedChosen() const { return currentIndex() == 1; }
};
