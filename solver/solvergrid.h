#pragma once

#include <QTableView>

// A grid of the solver dialog. Its editors open on F2, Enter, a click or typing, never on
// arriving at a cell, so the arrows move between rows without changing a value; Tab leaves the
// grid, the arrows move within it.
class SolverGrid : public QTableView
{
    Q_OBJECT

public:
    SolverGrid(const QString &name, const QString &accessibleName, QAbstractItemModel *model,
               QWidget *parent = nullptr);

    // Widths for all columns but the last, which takes the rest; none narrower than the longest
    // word of its caption, whatever the font.
    void fitColumns(const QList<int> &widths);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool editable(const QModelIndex &index) const;
};
