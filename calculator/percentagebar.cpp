#include "percentagebar.h"

#include "calculatorlook.h"

#include "calc/run/numbers.h"
#include "ui/color/widgetcolour.h"
#include "ui/color/wincolor.h"
#include "ui/messages.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QSlider>

namespace {

constexpr int StartPercentage = 100;
constexpr int BarHeight = 48;
constexpr int EditPanelWidth = 63;

} // namespace

PercentageBar::PercentageBar(Apply apply, QWidget *parent)
    : QGroupBox(QStringLiteral("Концентрация: 100%"), parent), m_apply(std::move(apply))
{
    setObjectName(QStringLiteral("GroupBox8"));
    setFixedHeight(BarHeight);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(2, 0, 2, 2);
    row->setSpacing(0);

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("RxSlider1"));
    m_slider->setRange(0, CalculatorLook::PercentageMaximum);
    m_slider->setSingleStep(1);
    m_slider->setValue(StartPercentage);
    m_slider->setToolTip(QStringLiteral("Процентная концентрация"));
    m_slider->setAccessibleName(QStringLiteral("Процентная концентрация"));
    WidgetColour::setBackground(m_slider, WinColor::clTeal);
    row->addWidget(m_slider, 1);

    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel12"));
    panel->setFixedWidth(EditPanelWidth);
    WidgetColour::setBackground(panel, WinColor::clTeal);
    auto *panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(4, 2, 4, 2);
    m_edit2 = new QLineEdit(QString::number(StartPercentage), panel);
    m_edit2->setObjectName(QStringLiteral("Edit2"));
    m_edit2->setAccessibleName(QStringLiteral("Процент концентрации"));
    WidgetColour::setBase(m_edit2, WinColor::clInfoBk);
    panelLayout->addWidget(m_edit2);
    row->addWidget(panel);

    connect(m_slider, &QSlider::valueChanged, this, [this] { guarded([this] { RxSlider1Change(); }); });
    connect(m_edit2, &QLineEdit::textChanged, this, [this] { guarded([this] { Edit2Change(); }); });
}

int PercentageBar::value() const
{
    return m_slider->value();
}

QString PercentageBar::text() const
{
    return m_edit2->text();
}

void PercentageBar::setPercentageCaption(int percentage)
{
    setTitle(QStringLiteral("Концентрация ") + QString::number(percentage) + QStringLiteral(" %"));
}

void PercentageBar::RxSlider1Change()
{
    // When the text differs, Edit2Change runs here, before this change is applied.
    m_edit2->setText(QString::number(m_slider->value()));
    m_apply(m_slider->value());
}

void PercentageBar::Edit2Change()
{
    const QString text = m_edit2->text();
    // Text that is no integer stops here, with the slider, captions and totals as they were.
    // The slider keeps a number within its range and, if it moved, writes that back.
    if (!text.isEmpty()) {
        const int typed = strToInt(text);
        m_slider->setValue(typed);
        // A slider already at the bound does not move and writes nothing back, yet the edit
        // must not keep a number the slider does not have: a saved solution records the edit.
        // The text written here runs this handler again, which applies the percentage.
        if (typed != m_slider->value()) {
            m_edit2->setText(QString::number(m_slider->value()));
            return;
        }
    }
    m_apply(m_slider->value());
}
