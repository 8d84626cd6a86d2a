#include "gridheader.h"

#include "bindingmodel.h"
#include "datagridcolumn.h"

#include <QPainter>
#include <QPolygon>

namespace {

constexpr int MarkWidth = 8;
constexpr int MarkHeight = 5;
constexpr int MarkMargin = 4;

} // namespace

GridHeader::GridHeader(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setSortIndicatorShown(false);
}

void GridHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    QHeaderView::paintSection(painter, rect, logicalIndex);
    const auto *m = qobject_cast<const BindingModel *>(model());
    const DataGridColumn *col = m ? m->column(logicalIndex) : nullptr;
    if (!col || col->sortMark() == SortMark::None)
        return;
    const int x = rect.right() - MarkMargin - MarkWidth;
    const int y = rect.center().y() - MarkHeight / 2;
    QPolygon triangle;
    if (col->sortMark() == SortMark::Up)
        triangle << QPoint(x, y + MarkHeight) << QPoint(x + MarkWidth, y + MarkHeight)
                 << QPoint(x + MarkWidth / 2, y);
    else
        triangle << QPoint(x, y) << QPoint(x + MarkWidth, y)
                 << QPoint(x + MarkWidth / 2, y + MarkHeight);
    painter->save();
    // The style's section painting may leave the clip empty; the mark belongs to this section.
    painter->setClipRect(rect);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(palette().color(QPalette::ButtonText));
    painter->drawPolygon(triangle);
    painter->restore();
}

QSize GridHeader::sectionSizeFromContents(int logicalIndex) const
{
    QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    size.rwidth() += MarkWidth + 2 * MarkMargin;
    return size;
}
