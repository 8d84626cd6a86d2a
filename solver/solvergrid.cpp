#include "solvergrid.h"

#include "ui/grid/gridkeys.h"
#include "ui/grid/gridlook.h"

#include <QHeaderView>
#include <QKeyEvent>

#include <algorithm>

SolverGrid::SolverGrid(const QString &name, const QString &accessibleName,
                       QAbstractItemModel *model, QWidget *parent)
    : QTableView(parent)
{
    setObjectName(name);
    setAccessibleName(accessibleName);
    setModel(model);
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                    | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    GridKeys::leaveOnTab(this); // Tab leaves the grid; the arrows move within it
    horizontalHeader()->setStretchLastSection(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridLook::compactRows(this);
    GridLook::wrapHeader(this);
    // A click on a cell that is not yet current opens its editor too.
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        if (editable(index) && state() != EditingState)
            edit(index);
    });
}

void SolverGrid::fitColumns(const QList<int> &widths)
{
    for (int c = 0; c < widths.size(); ++c) {
        const QString caption = model()->headerData(c, Qt::Horizontal).toString();
        setColumnWidth(c, std::max(widths.at(c), GridLook::widestWord(this, caption)));
    }
}

void SolverGrid::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && state() != EditingState && editable(currentIndex())) {
        edit(currentIndex());
        return;
    }
    // Enter elsewhere goes on to the dialog's default button.
    QTableView::keyPressEvent(event);
}

bool SolverGrid::editable(const QModelIndex &index) const
{
    return index.isValid() && (index.flags() & Qt::ItemIsEditable);
}
