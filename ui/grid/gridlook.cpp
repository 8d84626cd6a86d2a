#include "gridlook.h"

#include "ui/windowfont.h"

#include <QAbstractItemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace GridLook {

namespace {

constexpr int RowMargin = 6;
constexpr int MaxHeaderLines = 20;
constexpr int HeaderPadding = 8; // the style's margins around a header caption

// A grid of its own font keeps it; any other shows the windows' font, also while it is built
// and has not inherited that font yet.
QFont gridFont(const QTableView *grid)
{
    return grid->testAttribute(Qt::WA_SetFont) ? grid->font() : windowFont();
}

// A header that highlights the current column draws its caption bold: captions are measured
// as the widest they are drawn.
QFont captionFont(const QHeaderView *header)
{
    QFont font = header->font();
    if (header->highlightSections())
        font.setBold(true);
    return font;
}

void fitHeaderHeight(QTableView *grid)
{
    QHeaderView *header = grid->horizontalHeader();
    if (!grid->model())
        return;
    const QFontMetrics metrics(captionFont(header));
    const int most = MaxHeaderLines * metrics.lineSpacing();
    int height = metrics.height();
    for (int section = 0; section < header->count(); ++section) {
        if (header->isSectionHidden(section))
            continue;
        const QString caption = grid->model()->headerData(section, Qt::Horizontal).toString();
        const QRect bounds(0, 0, std::max(1, header->sectionSize(section) - HeaderPadding), most);
        height = std::max(height, metrics.boundingRect(bounds, Qt::TextWordWrap, caption).height());
    }
    header->setMinimumHeight(std::min(height, most) + HeaderPadding);
}

} // namespace

void compactRows(QTableView *grid)
{
    QHeaderView *rows = grid->verticalHeader();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(QFontMetrics(gridFont(grid)).height() + RowMargin);
}

void wrapHeader(QTableView *grid)
{
    QHeaderView *header = grid->horizontalHeader();
    header->setTextElideMode(Qt::ElideNone);
    // The word-wrap flag travels with the alignment down to the style's text drawing.
    header->setDefaultAlignment(Qt::Alignment(int(Qt::AlignCenter) | int(Qt::TextWordWrap)));
    QObject::connect(header, &QHeaderView::sectionResized, header, [grid] { fitHeaderHeight(grid); });
    QObject::connect(header, &QHeaderView::sectionCountChanged, header, [grid] { fitHeaderHeight(grid); });
    if (grid->model())
        QObject::connect(grid->model(), &QAbstractItemModel::headerDataChanged, header,
                         [grid] { fitHeaderHeight(grid); });
    fitHeaderHeight(grid);
}

int widestWord(const QTableView *grid, const QString &caption)
{
    const QFontMetrics metrics(captionFont(grid->horizontalHeader()));
    int widest = 0;
    for (const QString &word : caption.split(u' ', Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    return widest + HeaderPadding;
}

} // namespace GridLook
