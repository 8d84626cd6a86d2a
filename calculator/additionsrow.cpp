#include "additionsrow.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace {

constexpr int RowHeight = 32;

} // namespace

AdditionsRow::AdditionsRow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("AdditionsRow"));
    setFixedHeight(RowHeight);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 0, 4, 4);
    row->addStretch(1);
}

QPushButton *AdditionsRow::addButton(const QString &name, const QString &text)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(name);
    layout()->addWidget(button);
    return button;
}
