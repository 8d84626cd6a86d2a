#include "ui/color/wincolor.h"

#include <QGuiApplication>

namespace WinColor {

namespace {

// Where a system colour comes from: a palette role when Qt has one, otherwise the colour of the
// classic Windows scheme.
struct SystemSource
{
    bool fromPalette;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    QRgb classic;
};

constexpr SystemSource palette(QPalette::ColorRole role, QPalette::ColorGroup group = QPalette::Active)
{
    return {true, group, role, 0};
}

constexpr SystemSource classic(int r, int g, int b)
{
    return {false, QPalette::Active, QPalette::NoRole, qRgb(r, g, b)};
}

// Roles follow the way Qt builds its palette from the Windows system colours.
SystemSource systemSource(int index)
{
    switch (index) {
    case ColorScrollBar: return classic(212, 208, 200);
    case ColorBackground: return classic(58, 110, 165);
    case ColorActiveCaption: return classic(10, 36, 106);
    case ColorInactiveCaption: return classic(128, 128, 128);
    case ColorMenu: return palette(QPalette::Window);
    case ColorWindow: return palette(QPalette::Base);
    case ColorWindowFrame: return classic(0, 0, 0);
    case ColorMenuText: return palette(QPalette::WindowText);
    case ColorWindowText: return palette(QPalette::Text);
    case ColorCaptionText: return classic(255, 255, 255);
    case ColorActiveBorder: return classic(212, 208, 200);
    case ColorInactiveBorder: return classic(212, 208, 200);
    case ColorAppWorkspace: return classic(128, 128, 128);
    case ColorHighlight: return palette(QPalette::Highlight);
    case ColorHighlightText: return palette(QPalette::HighlightedText);
    case ColorBtnFace: return palette(QPalette::Button);
    case ColorBtnShadow: return palette(QPalette::Dark);
    case ColorGrayText: return palette(QPalette::Text, QPalette::Disabled);
    case ColorBtnText: return palette(QPalette::ButtonText);
    case ColorInactiveCaptionText: return classic(212, 208, 200);
    case ColorBtnHighlight: return palette(QPalette::Light);
    case Color3DDkShadow: return palette(QPalette::Shadow);
    case Color3DLight: return palette(QPalette::Midlight);
    case ColorInfoText: return palette(QPalette::ToolTipText);
    case ColorInfoBk: return palette(QPalette::ToolTipBase);
    case ColorHotLight: return palette(QPalette::Link);
    case ColorGradientActiveCaption: return classic(166, 202, 240);
    case ColorGradientInactiveCaption: return classic(192, 192, 192);
    case ColorMenuHilight: return palette(QPalette::Highlight);
    case ColorMenuBar: return palette(QPalette::Window);
    default: return classic(0, 0, 0); // no such system colour
    }
}

} // namespace

QColor toQColor(int value, const QPalette &pal)
{
    if (!isSystem(value))
        return QColor(red(value), green(value), blue(value));
    const SystemSource source = systemSource(systemIndex(value));
    if (!source.fromPalette)
        return QColor(source.classic);
    QColor color = pal.color(source.group, source.role);
    color.setAlpha(255);
    return color;
}

QColor toQColor(int value)
{
    return toQColor(value, QGuiApplication::palette());
}

int fromQColor(const QColor &color)
{
    const QColor c = color.toRgb();
    return rgb(c.red(), c.green(), c.blue());
}

} // namespace WinColor
