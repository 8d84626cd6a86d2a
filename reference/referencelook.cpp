#include "referencelook.h"

#include "ui/grid/navbar.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>
#include <QToolButton>

#include <algorithm>
#include <QWidget>

namespace ReferenceLook {

QFont standard()
{
    QFont f(QStringLiteral("MS Sans Serif"), 8);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

QFont bold(const QFont &font)
{
    QFont f = font;
    f.setBold(true);
    return f;
}

void apply(QWidget *window)
{
    window->setFont(standard());
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

void nameButtons(NavBar *bar)
{
    for (NavButton which : bar->buttons()) {
        QString name;
        switch (which) {
        case NavButton::Insert:
            name = QStringLiteral("Вставить запись");
            break;
        case NavButton::Delete:
            name = QStringLiteral("Удалить запись");
            break;
        case NavButton::Post:
            name = QStringLiteral("Сохранить запись");
            break;
        case NavButton::First:
            name = QStringLiteral("Первая запись");
            break;
        case NavButton::Prior:
            name = QStringLiteral("Предыдущая запись");
            break;
        case NavButton::Next:
            name = QStringLiteral("Следующая запись");
            break;
        case NavButton::Last:
            name = QStringLiteral("Последняя запись");
            break;
        case NavButton::Edit:
            name = QStringLiteral("Изменить запись");
            break;
        case NavButton::Cancel:
            name = QStringLiteral("Отменить изменения");
            break;
        case NavButton::Refresh:
            name = QStringLiteral("Обновить");
            break;
        }
        bar->button(which)->setAccessibleName(name);
    }
}

} // namespace ReferenceLook
