#include "ui/color/wincolor.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

using namespace WinColor;

TEST(WinColor, ConstantsHoldTheWindowsValues)
{
    const struct { int value; std::uint32_t bits; } cases[] = {
        {clInfoBk, 0xFF000018}, {clBtnFace, 0xFF00000F}, {clBtnHighlight, 0xFF000014},
        {clGradientActiveCaption, 0xFF00001B}, {clWindow, 0xFF000005},
        {clWindowFrame, 0xFF000006}, {clTeal, 0x00808000}, {clAqua, 0x00FFFF00},
        {clMoneyGreen, 0x00C0DCC0}, {clMedGray, 0x00A4A0A0}, {clPurple, 0x00800080},
        {clNavy, 0x00800000}, {clBlack, 0}, {clWhite, 0x00FFFFFF}, {clMaroon, 0x00000080},
        {clOlive, 0x00008080}, {clSilver, 0x00C0C0C0}, {clLime, 0x0000FF00},
        {clYellow, 0x0000FFFF}, {clFuchsia, 0x00FF00FF}, {clBlue, 0x00FF0000},
    };
    for (const auto &c : cases)
        EXPECT_EQ(static_cast<std::uint32_t>(c.value), c.bits) << std::hex << c.bits;
}

TEST(WinColor, PlainValuesRoundTripThroughQColor)
{
    const int values[] = {clBlack, clWhite, clTeal, clMoneyGreen, rgb(240, 202, 166), 0x00123456};
    for (int value : values)
        EXPECT_EQ(fromQColor(toQColor(value)), value) << std::hex << value;

    // Red is the low byte, blue the third.
    EXPECT_EQ(toQColor(0x00A6CAF0), QColor(240, 202, 166));
    EXPECT_EQ(toQColor(clNavy), QColor(0, 0, 128));
    EXPECT_EQ(fromQColor(QColor(0, 128, 128)), clTeal);
}

TEST(WinColor, FromQColorDropsAlphaAndConvertsSpecs)
{
    EXPECT_EQ(fromQColor(QColor(1, 2, 3, 10)), rgb(1, 2, 3));
    EXPECT_EQ(fromQColor(QColor::fromHsv(0, 255, 255)), rgb(255, 0, 0));
}

TEST(WinColor, HighestByteDecidesSystemColours)
{
    // A system colour read back from the database as signed int32.
    EXPECT_EQ(clInfoBk, -16777192);
    EXPECT_LT(clGradientActiveCaption, 0);
    EXPECT_TRUE(isSystem(-16777192));
    EXPECT_EQ(systemIndex(clInfoBk), 24);
    EXPECT_EQ(systemColor(ColorBtnFace), clBtnFace);

    EXPECT_FALSE(isSystem(clWhite));
    EXPECT_FALSE(isSystem(fromBits(0x7F000005)));
    EXPECT_FALSE(isSystem(fromBits(0xFE000005)));

    // Any other highest byte is not a system colour; the low three bytes are the colour.
    EXPECT_EQ(toQColor(fromBits(0x02FF0000)), QColor(0, 0, 255));
    EXPECT_EQ(toQColor(fromBits(0x7F000005)), QColor(5, 0, 0));
}

namespace {

QPalette distinctPalette()
{
    QPalette palette;
    int n = 1;
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        if (role == QPalette::NoRole)
            continue;
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, QPalette::ColorRole(role), QColor(n++, 100 + group, 50));
    }
    return palette;
}

} // namespace

TEST(WinColor, SystemColoursComeFromThePalette)
{
    const QPalette palette = distinctPalette();
    const struct { int value; QPalette::ColorGroup group; QPalette::ColorRole role; } cases[] = {
        {clInfoBk, QPalette::Active, QPalette::ToolTipBase},
        {clInfoText, QPalette::Active, QPalette::ToolTipText},
        {clBtnFace, QPalette::Active, QPalette::Button},
        {clBtnText, QPalette::Active, QPalette::ButtonText},
        {clBtnHighlight, QPalette::Active, QPalette::Light},
        {clBtnShadow, QPalette::Active, QPalette::Dark},
        {cl3DDkShadow, QPalette::Active, QPalette::Shadow},
        {cl3DLight, QPalette::Active, QPalette::Midlight},
        {clWindow, QPalette::Active, QPalette::Base},
        {clWindowText, QPalette::Active, QPalette::Text},
        {clMenu, QPalette::Active, QPalette::Window},
        {clMenuText, QPalette::Active, QPalette::WindowText},
        {clHighlight, QPalette::Active, QPalette::Highlight},
        {clHighlightText, QPalette::Active, QPalette::HighlightedText},
        {clGrayText, QPalette::Disabled, QPalette::Text},
        {clHotLight, QPalette::Active, QPalette::Link},
    };
    for (const auto &c : cases)
        EXPECT_EQ(toQColor(c.value, palette), palette.color(c.group, c.role))
            << "index " << systemIndex(c.value);
}

TEST(WinColor, SystemColoursWithoutAPaletteRoleTakeTheClassicScheme)
{
    const QPalette palette = distinctPalette();
    EXPECT_EQ(toQColor(clGradientActiveCaption, palette), QColor(166, 202, 240));
    EXPECT_EQ(toQColor(clGradientInactiveCaption, palette), QColor(192, 192, 192));
    EXPECT_EQ(toQColor(clWindowFrame, palette), QColor(0, 0, 0));
    EXPECT_EQ(toQColor(clActiveCaption, palette), QColor(10, 36, 106));
    // 25 and anything past the table name no system colour.
    EXPECT_EQ(toQColor(systemColor(25), palette), QColor(0, 0, 0));
    EXPECT_EQ(toQColor(systemColor(0x123456), palette), QColor(0, 0, 0));
}

TEST(WinColor, EveryListedSystemColourIsOpaque)
{
    QPalette palette = distinctPalette();
    palette.setColor(QPalette::Active, QPalette::ToolTipBase, QColor(1, 2, 3, 0));
    EXPECT_EQ(toQColor(clInfoBk, palette), QColor(1, 2, 3));
    for (int index : SystemIndices)
        EXPECT_EQ(toQColor(systemColor(index), palette).alpha(), 255) << index;
}

TEST(WinColor, DefaultPaletteIsTheApplications)
{
    const QPalette saved = QGuiApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    QGuiApplication::setPalette(palette);
    EXPECT_EQ(toQColor(clInfoBk), QColor(255, 255, 225));
    QGuiApplication::setPalette(saved);
}
