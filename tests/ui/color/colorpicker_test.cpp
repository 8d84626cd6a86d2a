#include "ui/color/colorpicker.h"
#include "ui/color/wincolor.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace WinColor;

namespace {

class ColorPickerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        picker.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
    }

    void TearDown() override
    {
        ColorPicker::setDialogHook({});
        picker.hidePopup();
    }

    // Opens the list and picks an entry from it with the keyboard, as a person would.
    void pickFromList(int index)
    {
        picker.showPopup();
        QAbstractItemView *view = picker.view();
        ASSERT_TRUE(view->isVisible());
        QTest::keyClick(view, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(view, Qt::Key_Down);
        ASSERT_EQ(view->currentIndex().row(), index);
        QTest::keyClick(view, Qt::Key_Return);
        EXPECT_FALSE(view->isVisible());
    }

    int indexOf(int value) const { return picker.findData(value); }

    ColorPicker picker;
};

QColor swatchCentre(const ColorPicker &picker, int index, QIcon::Mode mode = QIcon::Normal)
{
    const QSize size = picker.iconSize();
    const QImage image = picker.itemIcon(index).pixmap(size, mode).toImage();
    return image.pixelColor(size.width() / 4, size.height() / 2);
}

} // namespace

TEST_F(ColorPickerTest, ListsNamelessSwatchesWithRussianNames)
{
    // Default, 16 standard, 30 system colours, custom.
    ASSERT_EQ(picker.count(), 48);
    EXPECT_EQ(picker.customIndex(), 47);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(picker.itemData(ColorPicker::FirstStandardIndex + i).toInt(), StandardColors[i]);
    EXPECT_EQ(picker.itemData(ColorPicker::FirstSystemIndex).toInt(), clScrollBar);
    EXPECT_EQ(picker.itemData(picker.customIndex() - 1).toInt(), clMenuBar);

    for (int i = 0; i < picker.count(); ++i) {
        EXPECT_TRUE(picker.itemText(i).isEmpty()) << i;
        EXPECT_FALSE(picker.itemIcon(i).isNull()) << i;
        EXPECT_FALSE(picker.itemData(i, Qt::AccessibleTextRole).toString().isEmpty()) << i;
        EXPECT_EQ(picker.itemData(i, Qt::ToolTipRole), picker.itemData(i, Qt::AccessibleTextRole));
    }
    EXPECT_EQ(picker.itemData(indexOf(clTeal), Qt::AccessibleTextRole).toString(),
              QStringLiteral("Бирюзовый"));
    EXPECT_TRUE(picker.itemData(picker.customIndex(), Qt::AccessibleTextRole)
                    .toString()
                    .startsWith(QStringLiteral("Другой цвет")));

    EXPECT_FALSE(picker.accessibleName().isEmpty());
    EXPECT_TRUE(picker.focusPolicy() & Qt::TabFocus);
}

TEST_F(ColorPickerTest, SwatchesShowTheColours)
{
    EXPECT_EQ(swatchCentre(picker, indexOf(clTeal)), QColor(0, 128, 128));
    EXPECT_EQ(swatchCentre(picker, indexOf(clGradientActiveCaption)), QColor(166, 202, 240));
    // A disabled picker shows the colour its leader gave it, not a greyed one.
    EXPECT_EQ(swatchCentre(picker, indexOf(clTeal), QIcon::Disabled), QColor(0, 128, 128));

    // System colour swatches follow a change of the palette.
    const QPalette saved = QApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    QApplication::setPalette(palette);
    QApplication::processEvents();
    EXPECT_EQ(swatchCentre(picker, indexOf(clInfoBk)), QColor(255, 255, 225));
    palette.setColor(QPalette::ToolTipBase, QColor(10, 20, 30));
    QApplication::setPalette(palette);
    QApplication::processEvents();
    EXPECT_EQ(swatchCentre(picker, indexOf(clInfoBk)), QColor(10, 20, 30));
    QApplication::setPalette(saved);
    QApplication::processEvents();
}

TEST_F(ColorPickerTest, SettingSelectsTheFirstEntryOfThatValue)
{
    picker.setColorValue(clTeal);
    EXPECT_EQ(picker.currentIndex(), ColorPicker::FirstStandardIndex + 6);
    EXPECT_EQ(picker.colorValue(), clTeal);
    EXPECT_EQ(picker.accessibleDescription(), QStringLiteral("Бирюзовый"));

    // Black is both the default entry and a standard one: the default entry comes first.
    picker.setColorValue(clBlack);
    EXPECT_EQ(picker.currentIndex(), ColorPicker::DefaultIndex);

    // A system colour is its own entry even when it looks like a standard colour.
    picker.setColorValue(clWindow);
    EXPECT_GE(picker.currentIndex(), ColorPicker::FirstSystemIndex);
    EXPECT_EQ(picker.colorValue(), clWindow);
    picker.setColorValue(clWhite);
    EXPECT_EQ(picker.currentIndex(), ColorPicker::FirstStandardIndex + 15);

    picker.setColorValue(clInfoBk);
    EXPECT_EQ(picker.itemData(picker.currentIndex()).toInt(), clInfoBk);
}

TEST_F(ColorPickerTest, SettingAnUnlistedValueMakesItTheCustomColour)
{
    const int salmon = rgb(240, 202, 166);
    picker.setColorValue(salmon);
    EXPECT_EQ(picker.currentIndex(), picker.customIndex());
    EXPECT_EQ(picker.colorValue(), salmon);
    EXPECT_EQ(picker.customColorValue(), salmon);
    EXPECT_EQ(swatchCentre(picker, picker.customIndex()), QColor(240, 202, 166));
    EXPECT_TRUE(picker.accessibleDescription().contains(QStringLiteral("240, 202, 166")));

    picker.setColorValue(clMoneyGreen);
    EXPECT_EQ(picker.currentIndex(), picker.customIndex());
    EXPECT_EQ(picker.colorValue(), clMoneyGreen);

    // A listed value leaves the custom colour as it was.
    picker.setColorValue(clAqua);
    EXPECT_EQ(picker.colorValue(), clAqua);
    EXPECT_EQ(picker.customColorValue(), clMoneyGreen);

    // An index that names no system colour is still kept exactly.
    picker.setColorValue(systemColor(25));
    EXPECT_EQ(picker.currentIndex(), picker.customIndex());
    EXPECT_EQ(picker.colorValue(), systemColor(25));
}

TEST_F(ColorPickerTest, DefaultEntryTakesItsValue)
{
    picker.setDefaultColorValue(clTeal);
    picker.setColorValue(clTeal);
    EXPECT_EQ(picker.currentIndex(), ColorPicker::DefaultIndex);

    QSignalSpy spy(&picker, &ColorPicker::colorChanged);
    picker.setDefaultColorValue(clAqua);
    EXPECT_EQ(picker.colorValue(), clAqua);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), clAqua);

    picker.setColorValue(clRed);
    picker.setDefaultColorValue(clLime);
    EXPECT_EQ(picker.colorValue(), clRed);
    EXPECT_EQ(spy.count(), 2);
}

TEST_F(ColorPickerTest, EverySettingFromCodeSignals)
{
    QSignalSpy spy(&picker, &ColorPicker::colorChanged);
    picker.setColorValue(clTeal);
    picker.setColorValue(clTeal);
    picker.setColorValue(rgb(1, 2, 3));
    picker.setColorValue(clInfoBk);
    ASSERT_EQ(spy.count(), 4);
    EXPECT_EQ(spy.at(0).at(0).toInt(), clTeal);
    EXPECT_EQ(spy.at(1).at(0).toInt(), clTeal);
    EXPECT_EQ(spy.at(2).at(0).toInt(), rgb(1, 2, 3));
    EXPECT_EQ(spy.at(3).at(0).toInt(), clInfoBk);
}

TEST_F(ColorPickerTest, PicksByThePersonSignal)
{
    QSignalSpy spy(&picker, &ColorPicker::colorChanged);
    pickFromList(indexOf(clRed));
    EXPECT_EQ(picker.colorValue(), clRed);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), clRed);

    // Picking the entry already shown still counts as a setting.
    pickFromList(indexOf(clRed));
    EXPECT_EQ(spy.count(), 2);

    // The keyboard reaches the entries too.
    picker.setFocus();
    QTest::keyClick(&picker, Qt::Key_Down);
    EXPECT_EQ(picker.colorValue(), clLime);
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy.at(2).at(0).toInt(), clLime);
}

TEST_F(ColorPickerTest, CustomEntryAsksTheDialog)
{
    picker.setColorValue(clTeal);
    QColor offered;
    QWidget *parent = nullptr;
    ColorPicker::setDialogHook([&](const QColor &initial, QWidget *p) -> std::optional<QColor> {
        offered = initial;
        parent = p;
        return QColor(10, 20, 30);
    });
    QSignalSpy spy(&picker, &ColorPicker::colorChanged);
    pickFromList(picker.customIndex());

    EXPECT_EQ(offered, QColor(255, 255, 255));
    EXPECT_EQ(parent, &picker);
    EXPECT_EQ(picker.currentIndex(), picker.customIndex());
    EXPECT_EQ(picker.colorValue(), rgb(10, 20, 30));
    EXPECT_EQ(picker.customColorValue(), rgb(10, 20, 30));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), rgb(10, 20, 30));

    // Opening it again starts from the custom colour. A colour that is also listed stays the
    // custom entry's: the person chose that entry.
    ColorPicker::setDialogHook([&](const QColor &initial, QWidget *) -> std::optional<QColor> {
        offered = initial;
        return QColor(255, 0, 0);
    });
    picker.setFocus();
    QTest::keyClick(&picker, Qt::Key_Up);
    QTest::keyClick(&picker, Qt::Key_End);
    EXPECT_EQ(offered, QColor(10, 20, 30));
    EXPECT_EQ(picker.currentIndex(), picker.customIndex());
    EXPECT_EQ(picker.colorValue(), clRed);
}

TEST_F(ColorPickerTest, CancellingTheDialogKeepsTheColour)
{
    picker.setColorValue(clOlive);
    int asked = 0;
    ColorPicker::setDialogHook([&](const QColor &, QWidget *) -> std::optional<QColor> {
        ++asked;
        return std::nullopt;
    });
    QSignalSpy spy(&picker, &ColorPicker::colorChanged);
    pickFromList(picker.customIndex());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(picker.currentIndex(), indexOf(clOlive));
    EXPECT_EQ(picker.colorValue(), clOlive);
    EXPECT_EQ(picker.customColorValue(), clWhite);
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(ColorPickerTest, DisabledPickerDoesNotOpen)
{
    picker.setColorValue(clTeal);
    picker.setEnabled(false);
    QSignalSpy spy(&picker, &ColorPicker::colorChanged);

    picker.showPopup();
    EXPECT_FALSE(picker.view()->isVisible());
    QTest::mouseClick(&picker, Qt::LeftButton);
    EXPECT_FALSE(picker.view()->isVisible());
    QTest::keyClick(&picker, Qt::Key_Down);
    QTest::keyClick(&picker, Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(picker.view()->isVisible());
    EXPECT_EQ(picker.colorValue(), clTeal);
    EXPECT_EQ(spy.count(), 0);

    // Code still sets it, as the options' follow-on rules do.
    picker.setColorValue(clAqua);
    EXPECT_EQ(picker.colorValue(), clAqua);
    EXPECT_EQ(spy.count(), 1);
}
