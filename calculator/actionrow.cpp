#include "actionrow.h"

#include "calculatorlook.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace {

constexpr int RowHeight = 30;

} // namespace

ActionRow::ActionRow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ActionRow"));
    setFixedHeight(RowHeight);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 0, 4, 4);
    row->setSpacing(4);
}

QPushButton *ActionRow::addButton(const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, this);
    b->setObjectName(name);
    // Condensed, as the pane's grid: three captions fit the pane at the window's built size.
    b->setFont(CalculatorLook::condensedFont());
    b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    layout()->addWidget(b);
    return b;
}
