#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

// Colours are stored as 32-bit Windows colour values: 0x00BBGGRR for a plain colour, or a
// system colour index with the highest byte 0xFF (a negative number as signed int32).
// Widget-free: Qt Gui only.
namespace WinColor {

// Builds a value from a 32-bit pattern such as 0xFF000018 without narrowing warnings.
constexpr int fromBits(std::uint32_t bits)
{
    return static_cast<int>(bits);
}

constexpr int rgb(int r, int g, int b)
{
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

constexpr int red(int value)
{
    return value & 0xFF;
}

constexpr int green(int value)
{
    return (value >> 8) & 0xFF;
}

constexpr int blue(int value)
{
    return (value >> 16) & 0xFF;
}

constexpr bool isSystem(int value)
{
    return (static_cast<std::uint32_t>(value) >> 24) == 0xFF;
}

// The index of a system colour value (meaningful only when isSystem()).
constexpr int systemIndex(int value)
{
    return value & 0x00FFFFFF;
}

constexpr int systemColor(int index)
{
    return fromBits(0xFF000000u | (static_cast<std::uint32_t>(index) & 0x00FFFFFFu));
}

// System colour indices.
enum SystemIndex : int {
    ColorScrollBar = 0,
    ColorBackground = 1,
    ColorActiveCaption = 2,
    ColorInactiveCaption = 3,
    ColorMenu = 4,
    ColorWindow = 5,
    ColorWindowFrame = 6,
    ColorMenuText = 7,
    ColorWindowText = 8,
    ColorCaptionText = 9,
    ColorActiveBorder = 10,
    ColorInactiveBorder = 11,
    ColorAppWorkspace = 12,
    ColorHighlight = 13,
    ColorHighlightText = 14,
    ColorBtnFace = 15,
    ColorBtnShadow = 16,
    ColorGrayText = 17,
    ColorBtnText = 18,
    ColorInactiveCaptionText = 19,
    ColorBtnHighlight = 20,
    Color3DDkShadow = 21,
    Color3DLight = 22,
    ColorInfoText = 23,
    ColorInfoBk = 24,
    ColorHotLight = 26,
    ColorGradientActiveCaption = 27,
    ColorGradientInactiveCaption = 28,
    ColorMenuHilight = 29,
    ColorMenuBar = 30,
};

// The system colour indices that exist (25 is unassigned), in index order.
inline constexpr int SystemIndices[] = {
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24,
    26, 27, 28, 29, 30,
};

// Standard colours.
inline constexpr int clBlack = rgb(0, 0, 0);
inline constexpr int clMaroon = rgb(128, 0, 0);
inline constexpr int clGreen = rgb(0, 128, 0);
inline constexpr int clOlive = rgb(128, 128, 0);
inline constexpr int clNavy = rgb(0, 0, 128);
inline constexpr int clPurple = rgb(128, 0, 128);
inline constexpr int clTeal = rgb(0, 128, 128);
inline constexpr int clGray = rgb(128, 128, 128);
inline constexpr int clSilver = rgb(192, 192, 192);
inline constexpr int clRed = rgb(255, 0, 0);
inline constexpr int clLime = rgb(0, 255, 0);
inline constexpr int clYellow = rgb(255, 255, 0);
inline constexpr int clBlue = rgb(0, 0, 255);
inline constexpr int clFuchsia = rgb(255, 0, 255);
inline constexpr int clAqua = rgb(0, 255, 255);
inline constexpr int clWhite = rgb(255, 255, 255);

// The sixteen standard colours in the order the colour pickers list them.
inline constexpr int StandardColors[] = {
    clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray,
    clSilver, clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite,
};

inline constexpr int clMoneyGreen = rgb(192, 220, 192);
inline constexpr int clMedGray = rgb(160, 160, 164);

// System colours.
inline constexpr int clScrollBar = systemColor(ColorScrollBar);
inline constexpr int clBackground = systemColor(ColorBackground);
inline constexpr int clActiveCaption = systemColor(ColorActiveCaption);
inline constexpr int clInactiveCaption = systemColor(ColorInactiveCaption);
inline constexpr int clMenu = systemColor(ColorMenu);
inline constexpr int clWindow = systemColor(ColorWindow);
inline constexpr int clWindowFrame = systemColor(ColorWindowFrame);
inline constexpr int clMenuText = systemColor(ColorMenuText);
inline constexpr int clWindowText = systemColor(ColorWindowText);
inline constexpr int clCaptionText = systemColor(ColorCaptionText);
inline constexpr int clActiveBorder = systemColor(ColorActiveBorder);
inline constexpr int clInactiveBorder = systemColor(ColorInactiveBorder);
inline constexpr int clAppWorkSpace = systemColor(ColorAppWorkspace);
inline constexpr int clHighlight = systemColor(ColorHighlight);
inline constexpr int clHighlightText = systemColor(ColorHighlightText);
inline constexpr int clBtnFace = systemColor(ColorBtnFace);
inline constexpr int clBtnShadow = systemColor(ColorBtnShadow);
inline constexpr int clGrayText = systemColor(ColorGrayText);
inline constexpr int clBtnText = systemColor(ColorBtnText);
inline constexpr int clInactiveCaptionText = systemColor(ColorInactiveCaptionText);
inline constexpr int clBtnHighlight = systemColor(ColorBtnHighlight);
inline constexpr int cl3DDkShadow = systemColor(Color3DDkShadow);
inline constexpr int cl3DLight = systemColor(Color3DLight);
inline constexpr int clInfoText = systemColor(ColorInfoText);
inline constexpr int clInfoBk = systemColor(ColorInfoBk);
inline constexpr int clHotLight = systemColor(ColorHotLight);
inline constexpr int clGradientActiveCaption = systemColor(ColorGradientActiveCaption);
inline constexpr int clGradientInactiveCaption = systemColor(ColorGradientInactiveCaption);
inline constexpr int clMenuHighlight = systemColor(ColorMenuHilight);
inline constexpr int clMenuBar = systemColor(ColorMenuBar);

// The colour a value stands for. A system colour is read from the given palette where Qt has an
// equivalent role, otherwise it takes the classic Windows scheme value; an index that names no
// system colour gives black. For a plain value any highest byte other than 0xFF is ignored.
QColor toQColor(int value, const QPalette &palette);

// As above, with the application's palette.
QColor toQColor(int value);

// The plain value of a colour; alpha is dropped.
int fromQColor(const QColor &color);

} // namespace WinColor
