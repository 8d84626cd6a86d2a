#include "buttoncolumn.h"

#include "calculatorlook.h"

#include "ui/color/widgetcolour.h"
#include "ui/color/wincolor.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int ColumnWidth = 40;
constexpr int ButtonWidth = 27;
constexpr int TallButtonHeight = 65;
constexpr int GlyphPointSize = 14;

} // namespace

ButtonColumn::ButtonColumn(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel4"));
    setFixedWidth(ColumnWidth);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 0, 2);
    layout->setSpacing(4);

    m_button1 = makeButton(QStringLiteral("Button1"), QStringLiteral(">"),
                           QStringLiteral("Добавить в состав"));
    m_button2 = makeButton(QStringLiteral("Button2"), QStringLiteral("<"),
                           QStringLiteral("Удалить из состава"));
    for (QPushButton *b : {m_button1, m_button2}) {
        b->setFixedSize(ButtonWidth, TallButtonHeight);
        b->setFont(CalculatorLook::boldFont(GlyphPointSize));
    }

    m_button6 = makeButton(QStringLiteral("Button6"), QStringLiteral("E"),
                           QStringLiteral("Справочник элементов"));
    m_button8 = makeButton(QStringLiteral("Button8"), QStringLiteral("U"),
                           QStringLiteral("Справочник удобрений"));
    m_button9 = makeButton(QStringLiteral("Button9"), QStringLiteral("O"), QStringLiteral("Опции"));
    for (QPushButton *b : {m_button6, m_button8, m_button9}) {
        b->setFixedSize(ButtonWidth, ButtonWidth);
        b->setFont(CalculatorLook::boldFont());
        WidgetColour::setTextColour(b, WinColor::clPurple);
    }

    m_button3 = makeButton(QStringLiteral("Button3"), QStringLiteral("X"),
                           QStringLiteral("Очистить весь состав"));
    m_button3->setFixedSize(ButtonWidth, ButtonWidth + 6);
    m_button3->setFont(CalculatorLook::boldFont(GlyphPointSize));

    for (QPushButton *b : {m_button1, m_button2})
        layout->addWidget(b, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    for (QPushButton *b : {m_button6, m_button8, m_button9})
        layout->addWidget(b, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    layout->addWidget(m_button3, 0, Qt::AlignHCenter);
}

QPushButton *ButtonColumn::makeButton(const QString &name, const QString &caption,
                                      const QString &toolTip)
{
    auto *b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setToolTip(toolTip);
    b->setAccessibleName(toolTip);
    return b;
}
