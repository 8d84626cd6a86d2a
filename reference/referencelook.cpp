#include "referencelook.h"

#include "ui/windowfont.h"

#include "ui/grid/navbar.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>
#include <QToolButton>

#include <algorithm>
#include <QWidget>

namespace ReferenceLook {

QFont bold(const QFont &font)
{
    QFont f = font;
    f.setBold(true);
    return f;
}

void apply(QWidget *window)
{
    window->setFont(windowFont());
}

void centre(QWidget *window)
{
    if (QScreen *s = window->screen())
        window->move(s->availableGeometry().center() - window->rect().center());
}

void fitRows(QTableView *grid)
{
    constexpr int Margin = 6;
    QHeaderView *rows = grid->verticalHeader();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(QFontMetrics(grid->font()).height() + Margin);
}

namespace {

constexpr int MaxHeaderLines = 20;
constexpr int HeaderPadding = 8; // the style's margins around a header caption

void fitHeaderHeight(QTableView *grid)
{
    QHeaderView *header = grid->horizontalHeader();
    const QFontMetrics metrics(header->font());
    const int most = MaxHeaderLines * metrics.lineSpacing();
    int height = 0;
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

void wrapHeader(QTableView *grid)
{
    QHeaderView *header = grid->horizontalHeader();
    header->setTextElideMode(Qt::ElideNone);
    // The word-wrap flag travels with the alignment down to the style's text drawing.
    header->setDefaultAlignment(
        Qt::Alignment(int(Qt::AlignCenter) | int(Qt::TextWordWrap)));
    QObject::connect(header, &QHeaderView::sectionResized, header,
                     [grid] { fitHeaderHeight(grid); });
    fitHeaderHeight(grid);
}

int widestWord(const QTableView *grid, const QString &caption)
{
    const QFontMetrics metrics(grid->horizontalHeader()->font());
    int widest = 0;
    for (const QString &word : caption.split(u' ', Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    return widest + HeaderPadding;
}

} // namespace ReferenceLook
