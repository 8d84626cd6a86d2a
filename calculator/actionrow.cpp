#include "actionrow.h"

#include "calculatorlook.h"

#include <QGridLayout>
#include <QPushButton>

namespace {

constexpr int LineHeight = 26;
constexpr int BottomMargin = 4;
// Condensed captions fit the pane three to a line at the window's built size.
constexpr int PerLine = 3;

} // namespace

ActionRow::ActionRow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ActionRow"));
    setFixedHeight(LineHeight + BottomMargin);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 0, 4, BottomMargin);
    grid->setSpacing(4);
    for (int c = 0; c < PerLine; ++c)
        grid->setColumnStretch(c, 1);
}

QPushButton *ActionRow::addButton(const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, this);
    b->setObjectName(name);
    // Condensed, as the pane's grid.
    b->setFont(CalculatorLook::condensedFont());
    b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto *grid = static_cast<QGridLayout *>(layout());
    const int at = grid->count();
    grid->addWidget(b, at / PerLine, at % PerLine);
    const int lines = at / PerLine + 1;
    setFixedHeight(lines * LineHeight + (lines - 1) * grid->verticalSpacing() + BottomMargin);
    return b;
}
