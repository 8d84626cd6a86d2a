#include "optionsprogram.h"

#include "options/applyoptions.h"

#include <QGroupBox>
#include <QLabel>
#include <QTimer>

using namespace WinColor;

namespace {

struct BoxRow
{
    const char *checkBox;
    const char *caption;
    const char *field;
    bool enabled;
    int picker; // 0: none
    bool pickerEnabled;
    int initial;
};

const int clCvet = rgb(240, 202, 166);

const BoxRow BoxRows[] = {
    {"DBCheckBox14", "Кол-во от % концентрации", "c11", true, 1, true, clTeal},
    {"DBCheckBox15", "Кол-во г./л.", "c21", true, 2, false, clAqua},
    {"DBCheckBox16", "Кол-во на г./n-литров", "c22", true, 3, true, clGradientActiveCaption},
    {"DBCheckBox17", "Кол-во от % концентрации г./л.", "c23", true, 4, false, clTeal},
    {"DBCheckBox18", "Кол-во от % конц. г./n-литров", "c24", true, 5, false,
     clGradientActiveCaption},
    {"DBCheckBox1", "Элемент", "c31", false, 6, true, clBtnHighlight},
    {"DBCheckBox2", "Вега", "c32", true, 7, true, clMoneyGreen},
    {"DBCheckBox3", "Цвет", "c33", true, 8, true, clCvet},
    {"DBCheckBox4", "Расчёт", "c34", false, 9, true, clAqua},
    {"DBCheckBox5", "Расчёт от % концентрации", "c35", true, 10, false, clTeal},
    {"DBCheckBox6", "Вега от % концентрации", "c36", true, 11, false, clMoneyGreen},
    {"DBCheckBox7", "Цвет от % концентрации", "c37", true, 12, false, clCvet},
    {"DBCheckBox8", "Разница расчёта от Веги", "c38", true, 13, false, clMoneyGreen},
    {"DBCheckBox9", "Разница расчёта от Цвета", "c39", true, 14, false, clCvet},
    {"DBCheckBox11", "Автозапуск окна \"Калькулятор\"", "avto", true, 0, false, 0},
    {"DBCheckBox12", "Считать Общую сумму солей (мл./л.)", "ppm1", true, 0, false, 0},
    {"DBCheckBox13", "Считать Общую сумму солей (ppm)", "ppm2", true, 0, false, 0},
    {"DBCheckBox10", "Отображать меню \"Культура\"", "kult", true, 0, false, 0},
};

QString u8(const char *s)
{
    return QString::fromUtf8(s);
}

QCheckBox *checkBoxOfPicker(int n)
{
    for (const BoxRow &row : BoxRows) {
        if (row.picker == n)
            return Form18->findChild<QCheckBox *>(u8(row.checkBox));
    }
    return nullptr;
}

} // namespace

using OptionsWindowTest = OptionsProgram;

TEST_F(OptionsWindowTest, BuiltAsAFixedToolWindowWithItsGroupsAndNothingCutOff)
{
    // A fresh window, before start-up applied anything to its pickers and boxes.
    TForm18 fresh(Form1->data());
    fresh.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fresh));

    EXPECT_EQ(fresh.windowTitle(), u8("Опции"));
    EXPECT_EQ(fresh.size(), QSize(872, 246));
    EXPECT_EQ(fresh.minimumSize(), fresh.maximumSize());
    EXPECT_EQ(fresh.windowType(), Qt::Tool);
    EXPECT_FALSE(fresh.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(fresh.windowFlags() & Qt::WindowMaximizeButtonHint);

    const std::pair<const char *, const char *> groups[] = {
        {"GroupBox3", "Отображать в меню \"Состав р-ра\""},
        {"GroupBox4", "Отображать в меню \"Готовые р-ры\""},
        {"GroupBox1", "Отображать в меню \"Концентрация элементов\":"},
        {"GroupBox2", ""},
    };
    int previousRight = -1;
    for (const auto &[name, caption] : groups) {
        auto *group = fresh.findChild<QGroupBox *>(u8(name));
        ASSERT_NE(group, nullptr) << name;
        EXPECT_EQ(group->title(), u8(caption));
        EXPECT_GE(group->width(), group->minimumSizeHint().width()) << name;
        EXPECT_TRUE(fresh.rect().contains(group->geometry())) << name;
        if (u8(name) != u8("GroupBox4")) {
            EXPECT_GT(group->x(), previousRight) << name << " is not right of the previous group";
            previousRight = group->geometry().right();
        }
    }
    EXPECT_GT(fresh.findChild<QGroupBox *>(u8("GroupBox4"))->y(),
              fresh.findChild<QGroupBox *>(u8("GroupBox3"))->geometry().bottom());

    for (const BoxRow &row : BoxRows) {
        auto *box = fresh.findChild<QCheckBox *>(u8(row.checkBox));
        ASSERT_NE(box, nullptr) << row.checkBox;
        EXPECT_EQ(box->text(), u8(row.caption));
        EXPECT_EQ(box->isEnabled(), row.enabled) << row.checkBox;
        EXPECT_GE(box->width(), box->sizeHint().width()) << row.checkBox << " is cut off";
        EXPECT_TRUE(box->isVisibleTo(&fresh));
        if (row.picker == 0)
            continue;
        auto *p = fresh.findChild<ColorPicker *>(QStringLiteral("RzColorComboBox%1").arg(row.picker));
        ASSERT_NE(p, nullptr) << row.picker;
        EXPECT_EQ(p->isEnabled(), row.pickerEnabled) << row.picker;
        EXPECT_EQ(p->colorValue(), row.initial) << row.picker;
        EXPECT_EQ(background(box), colour(row.initial)) << row.checkBox;
        // On the check box's line, to its right.
        const QPoint boxAt = box->mapTo(&fresh, QPoint(0, box->height() / 2));
        const QRect pickerAt(p->mapTo(&fresh, QPoint(0, 0)), p->size());
        EXPECT_GT(pickerAt.left(), boxAt.x() + box->width() - 1) << row.picker;
        EXPECT_TRUE(pickerAt.top() <= boxAt.y() && boxAt.y() <= pickerAt.bottom()) << row.picker;
    }

    auto *label = fresh.findChild<QLabel *>(u8("Label1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), u8("Максимальная концентрация:"));
    EXPECT_GE(label->width(), label->sizeHint().width());
    auto *maxim = fresh.findChild<QLineEdit *>(u8("DBEdit1"));
    ASSERT_NE(maxim, nullptr);
    EXPECT_EQ(maxim->text(), u8("250"));
    EXPECT_FALSE(maxim->accessibleName().isEmpty());
    EXPECT_EQ(fresh.findChild<QLabel *>(u8("Label2"))->text(), u8("%"));
    auto *apply = fresh.findChild<QAbstractButton *>(u8("Button1"));
    ASSERT_NE(apply, nullptr);
    EXPECT_EQ(apply->text(), u8("Применить"));
    EXPECT_GE(apply->width(), apply->sizeHint().width());
}

TEST_F(OptionsWindowTest, CheckBoxesShowTheStoredRowAndEditItWhenToggled)
{
    storeOptions({{"c32", false}, {"c31", false}, {"ppm2", false}});
    showOptions();
    auto *vega = optionsControl<QCheckBox>(u8("DBCheckBox2"));
    auto *element = optionsControl<QCheckBox>(u8("DBCheckBox1"));
    auto *ppm = optionsControl<QCheckBox>(u8("DBCheckBox13"));
    auto *cvet = optionsControl<QCheckBox>(u8("DBCheckBox3"));
    EXPECT_FALSE(vega->isChecked());
    EXPECT_FALSE(element->isChecked());
    EXPECT_FALSE(ppm->isChecked());
    EXPECT_TRUE(cvet->isChecked());

    QTest::mouseClick(vega, Qt::LeftButton);
    EXPECT_TRUE(vega->isChecked());
    EXPECT_EQ(options().state(), DatasetState::Edit);
    EXPECT_TRUE(options().asBoolean(u8("c32")));
    QTest::keyClick(cvet, Qt::Key_Space);
    EXPECT_FALSE(options().asBoolean(u8("c33")));

    // The disabled "Элемент" box cannot be ticked: the column it governs stays as stored.
    QTest::mouseClick(element, Qt::LeftButton);
    EXPECT_FALSE(element->isChecked());
    EXPECT_FALSE(options().asBoolean(u8("c31")));

    // Closing the window posts the row and applies nothing.
    Form18->close();
    EXPECT_FALSE(Form18->isVisible());
    EXPECT_EQ(options().state(), DatasetState::Browse);
    rereadOptions();
    EXPECT_TRUE(options().asBoolean(u8("c32")));
    EXPECT_FALSE(options().asBoolean(u8("c33")));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(OptionsWindowTest, PickerOneColoursItsBoxAndSetsPickersFourAndTen)
{
    showOptions();
    const QColor chosen(12, 34, 56);
    const int value = fromQColor(chosen);
    pickCustom(picker(1), chosen);

    EXPECT_EQ(picker(1)->colorValue(), value);
    for (int n : {1, 4, 10}) {
        EXPECT_EQ(picker(n)->colorValue(), value) << n;
        EXPECT_EQ(background(checkBoxOfPicker(n)), chosen) << n;
    }
    // Nobody else follows picker 1.
    for (int n : {2, 3, 5, 6, 7, 8, 9, 11, 12, 13, 14})
        EXPECT_NE(picker(n)->colorValue(), value) << n;
    EXPECT_EQ(background(checkBoxOfPicker(9)), colour(clAqua));

    // Not stored until "Применить".
    EXPECT_NE(options().asInteger(u8("cl1")), value);
    clickApply();
    EXPECT_FALSE(Form18->isVisible());
    rereadOptions();
    for (int n : {1, 4, 10})
        EXPECT_EQ(options().asInteger(QStringLiteral("cl%1").arg(n)), value) << n;
    EXPECT_EQ(options().asInteger(u8("cl7")), clMoneyGreen);

    // Applied: the percentage-scaled column, totals, slider and panel take it.
    for (const char *name : {"dxDBGrid2Column3", "dxDBGrid4Column4", "dxDBGrid3Column10", "Label11",
                             "Label13", "RxSlider1", "Panel12"}) {
        QObject *control = calculatorControl(u8(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(background(control), chosen) << name;
    }
    EXPECT_EQ(background(calculatorControl(u8("dxDBGrid3vaga_calc"))), colour(clMoneyGreen));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(OptionsWindowTest, PickersThreeSevenAndEightSetTheirFollowers)
{
    showOptions();
    pickEntry(picker(3), picker(3)->findData(clYellow));
    pickEntry(picker(7), picker(7)->findData(clLime));
    pickEntry(picker(8), picker(8)->findData(clSilver));
    const std::pair<int, int> expected[] = {
        {3, clYellow}, {5, clYellow}, {7, clLime}, {11, clLime},
        {13, clLime},  {8, clSilver}, {12, clSilver}, {14, clSilver},
    };
    for (const auto &[n, value] : expected) {
        EXPECT_EQ(picker(n)->colorValue(), value) << n;
        EXPECT_EQ(background(checkBoxOfPicker(n)), colour(value)) << n;
    }
    // A follower's own rule colours its box but sets nobody.
    EXPECT_EQ(picker(1)->colorValue(), clTeal);
    EXPECT_EQ(picker(6)->colorValue(), clBtnHighlight);
}

TEST_F(OptionsWindowTest, ClosingPostsPendingChangesButForgetsUnappliedColours)
{
    showOptions();
    pickEntry(picker(6), picker(6)->findData(clRed));
    QTest::mouseClick(optionsControl<QCheckBox>(u8("DBCheckBox10")), Qt::LeftButton);
    Form18->close();
    EXPECT_FALSE(Form18->isVisible());

    rereadOptions();
    EXPECT_FALSE(options().asBoolean(u8("kult")));
    EXPECT_EQ(options().asInteger(u8("cl6")), clBtnHighlight);
    // Not applied: the crop list is still shown.
    auto *crops = calculatorControl<QWidget>(u8("dxDBGrid6"));
    ASSERT_NE(crops, nullptr);
    EXPECT_FALSE(crops->isHidden());
    // The picker keeps the colour while the program runs.
    EXPECT_EQ(picker(6)->colorValue(), clRed);
}

TEST_F(OptionsWindowTest, ANonIntegerMaximumIsRefusedAndTheRowKeepsItsValue)
{
    showOptions();
    auto *maxim = optionsControl<QLineEdit>(u8("DBEdit1"));
    maxim->setFocus();
    QTest::keyClick(maxim, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(maxim, u8("12,5"));
    EXPECT_EQ(options().state(), DatasetState::Edit);

    // Leaving the edit hands the text to the row, which refuses it.
    boxes.expect(BoxButton::Ok);
    QTest::keyClick(maxim, Qt::Key_Tab);
    ASSERT_EQ(boxes.count(), 1);
    // Ends with a quote, so the error box adds no full stop.
    EXPECT_EQ(boxes.last().text, u8("'12,5' is not a valid integer value for field 'maxim'"));
    EXPECT_EQ(boxes.last().caption, u8("Vernolat"));
    EXPECT_EQ(boxes.last().icon, BoxIcon::Error);
    EXPECT_EQ(options().asInteger(u8("maxim")), 250);
    EXPECT_EQ(maxim->text(), u8("12,5"));

    // Escape gives the stored value back; an emptied maximum stores nothing.
    QTest::keyClick(maxim, Qt::Key_Escape);
    EXPECT_EQ(maxim->text(), u8("250"));
    maxim->selectAll();
    QTest::keyClick(maxim, Qt::Key_Backspace);
    EXPECT_EQ(maxim->text(), QString());
    Form18->close();
    rereadOptions();
    EXPECT_TRUE(options().isNull(u8("maxim")));
    EXPECT_EQ(boxes.count(), 1);
}

// The press on "Применить" first takes the focus from the edit, whose text the row refuses: the
// error box comes before the press reaches the button and takes its release, so the press is
// answered by the box alone and the button never goes down.
TEST_F(OptionsWindowTest, ApplyPressedFromARefusedMaximumLooksReleasedAfterTheErrorBox)
{
    showOptions();
    auto *maxim = optionsControl<QLineEdit>(u8("DBEdit1"));
    auto *apply = optionsControl<QAbstractButton>(u8("Button1"));
    maxim->setFocus();
    QTest::keyClick(maxim, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(maxim, u8("8o"));

    boxes.expect(BoxButton::Ok);
    QTest::mousePress(apply, Qt::LeftButton);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, u8("'8o' is not a valid integer value for field 'maxim'"));
    EXPECT_FALSE(apply->isDown());
    EXPECT_TRUE(maxim->hasFocus());
    QTest::mouseRelease(apply, Qt::LeftButton);
    EXPECT_EQ(boxes.count(), 1) << "the release clicks nothing";
    EXPECT_TRUE(Form18->isVisible());
}

TEST_F(OptionsWindowTest, AFailingPostInApplyAppliesNothingAndKeepsTheWindowOpen)
{
    showOptions();
    QTest::mouseClick(optionsControl<QCheckBox>(u8("DBCheckBox11")), Qt::LeftButton);
    pickEntry(picker(9), picker(9)->findData(clRed));
    // Typed without the edit ever having the focus, so only the post hands the text over.
    auto *maxim = optionsControl<QLineEdit>(u8("DBEdit1"));
    maxim->selectAll();
    QTest::keyClicks(maxim, u8("8o"));

    boxes.expect(BoxButton::Ok);
    clickApply();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.last().text.contains(u8("'8o' is not a valid integer value for field 'maxim'")))
        << boxes.last().text.toStdString();
    EXPECT_TRUE(Form18->isVisible());
    auto *timer = Form1->findChild<QTimer *>(u8("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive());
    auto *rachet = calculatorControl<DataGridColumn>(u8("dxDBGrid3rachet"));
    ASSERT_NE(rachet, nullptr);
    EXPECT_EQ(rachet->colour(), colour(clAqua));

    // Corrected, the same press stores, applies and closes.
    maxim->selectAll();
    QTest::keyClicks(maxim, u8("80"));
    clickApply();
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_FALSE(Form18->isVisible());
    EXPECT_TRUE(timer->isActive());
    rereadOptions();
    EXPECT_EQ(options().asInteger(u8("maxim")), 80);
    EXPECT_EQ(options().asInteger(u8("cl9")), clRed);
    EXPECT_EQ(options().asInteger(u8("cl2")), clRed);
    EXPECT_TRUE(options().asBoolean(u8("avto")));
    timer->stop();
}
