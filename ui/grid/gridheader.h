#pragma once

#include <QHeaderView>

// The column header of a data grid: draws each column's sort mark as a small triangle at the
// right of its caption. Clicking never changes a mark.
class GridHeader : public QHeaderView
{
    Q_OBJECT

public:
    explicit GridHeader(QWidget *parent = nullptr);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    QSize sectionSizeFromContents(int logicalIndex) const override;
};
