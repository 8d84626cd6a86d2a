#include "optionsprogram.h"

#include "data/apperror.h"
#include "options/applyoptions.h"

#include <QAbstractSlider>
#include <QGroupBox>
#include <QTimer>

using namespace WinColor;

namespace {

QString u8(const char *s)
{
    return QString::fromUtf8(s);
}

// Which picker colours which calculator control.
const std::pair<const char *, int> ColouredControls[] = {
    {"dxDBGrid4kol", 2},       {"dxDBGrid4Column3", 3},   {"dxDBGrid4Column5", 5},
    {"dxDBSpinEdit1", 5},      {"dxDBGrid3name_el", 6},   {"dxDBGrid3vega", 7},
    {"dxDBGrid3cvet", 8},      {"dxDBGrid3rachet", 9},    {"dxDBGrid3vaga_calc", 11},
    {"dxDBGrid3cvet_calc", 12}, {"dxDBGrid3Column11", 13}, {"dxDBGrid3Column12", 14},
    {"dxDBGrid2Column3", 1},   {"dxDBGrid4Column4", 4},   {"dxDBGrid3Column10", 10},
    {"Label11", 1},            {"Label13", 1},            {"RxSlider1", 1},
    {"Panel12", 1},            {"Label10", 9},            {"Label4", 9},
    {"Label5", 7},             {"Label9", 8},
};

// Which field shows which column.
const std::pair<const char *, const char *> ShownColumns[] = {
    {"c11", "dxDBGrid2Column3"},  {"c21", "dxDBGrid4kol"},       {"c22", "dxDBGrid4Column3"},
    {"c23", "dxDBGrid4Column4"},  {"c24", "dxDBGrid4Column5"},   {"c31", "dxDBGrid3name_el"},
    {"c32", "dxDBGrid3vega"},     {"c33", "dxDBGrid3cvet"},      {"c34", "dxDBGrid3rachet"},
    {"c35", "dxDBGrid3Column10"}, {"c36", "dxDBGrid3vaga_calc"}, {"c37", "dxDBGrid3cvet_calc"},
    {"c38", "dxDBGrid3Column11"}, {"c39", "dxDBGrid3Column12"},
};

const std::pair<const char *, const char *> ShownPanels[] = {
    {"ppm2", "Panel13"}, {"ppm1", "Panel9"}, {"kult", "dxDBGrid6"}, {"kult", "Panel11"},
};

// A colour of no picker list, different for every n.
int distinct(int n)
{
    return rgb(11 * n, 200 - 7 * n, 3 + n);
}

bool shown(QObject *control)
{
    if (!control) {
        ADD_FAILURE() << "control not found";
        return false;
    }
    if (auto *column = qobject_cast<DataGridColumn *>(control))
        return column->isVisible();
    return !qobject_cast<QWidget *>(control)->isHidden();
}

} // namespace

using ApplyOptionsTest = OptionsProgram;

TEST_F(ApplyOptionsTest, TheCalculatorHasEveryControlTheOptionsGovern)
{
    // Each exactly once: the options reach them by name.
    QStringList missing;
    auto check = [&missing](const char *name) {
        const qsizetype found = Form4->findChildren<QObject *>(u8(name)).size();
        if (found != 1)
            missing.append(QStringLiteral("%1 (%2 found)").arg(u8(name)).arg(found));
    };
    for (const auto &[name, picker] : ColouredControls)
        check(name);
    for (const auto &[field, name] : ShownPanels)
        check(name);
    for (const auto &[field, name] : ShownColumns)
        check(name);
    // And the tables the program looks the names up by.
    for (const QString &name : governedControls())
        check(name.toLatin1().constData());
    missing.removeDuplicates();
    EXPECT_TRUE(missing.isEmpty()) << missing.join(u8(", ")).toStdString();
    EXPECT_NE(Form1->findChild<QTimer *>(u8("Timer1")), nullptr);
}

TEST_F(ApplyOptionsTest, ANameTheCalculatorDoesNotHoldIsAnError)
{
    QWidget stranger;
    try {
        applyOptions(*Form18, {&stranger, {}});
        ADD_FAILURE() << "a control that is not there was passed over";
    } catch (const AppError &e) {
        EXPECT_EQ(e.text(), u8("The calculator has no control dxDBGrid4kol"));
    }
}

TEST_F(ApplyOptionsTest, EveryPickerTakesItsOwnColourButPickerTwoEndsWithNine)
{
    for (int n = 1; n <= TForm18::PickerCount; ++n) {
        Dataset &row = options();
        row.edit();
        row.setValue(QStringLiteral("cl%1").arg(n), distinct(n));
        row.post();
    }
    ApplyOptions();

    for (int n = 1; n <= TForm18::PickerCount; ++n)
        EXPECT_EQ(picker(n)->colorValue(), n == 2 ? distinct(9) : distinct(n)) << n;
    EXPECT_EQ(background(optionsControl(u8("DBCheckBox15"))), colour(distinct(9)));
    EXPECT_EQ(background(optionsControl(u8("DBCheckBox4"))), colour(distinct(9)));
    EXPECT_EQ(background(optionsControl(u8("DBCheckBox14"))), colour(distinct(1)));
    EXPECT_EQ(background(optionsControl(u8("DBCheckBox9"))), colour(distinct(14)));

    for (const auto &[name, n] : ColouredControls) {
        QObject *control = calculatorControl(u8(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(background(control), colour(n == 2 ? distinct(9) : distinct(n))) << name;
    }
    // The stored row is read, not written.
    EXPECT_EQ(options().asInteger(u8("cl2")), distinct(2));
}

TEST_F(ApplyOptionsTest, PickerNineColoursTheSavedAmountAndTheComputedColumnsAlike)
{
    showOptions();
    pickEntry(picker(9), picker(9)->findData(clFuchsia));
    EXPECT_EQ(background(optionsControl(u8("DBCheckBox4"))), colour(clFuchsia));
    EXPECT_EQ(background(optionsControl(u8("DBCheckBox15"))), colour(clFuchsia));
    EXPECT_EQ(picker(2)->colorValue(), clFuchsia);

    auto *kol = calculatorControl(u8("dxDBGrid4kol"));
    ASSERT_NE(kol, nullptr);
    EXPECT_EQ(background(kol), colour(clAqua)); // nothing applied before "Применить"
    clickApply();
    for (const char *name : {"dxDBGrid4kol", "dxDBGrid3rachet", "Label10", "Label4"}) {
        QObject *control = calculatorControl(u8(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(background(control), colour(clFuchsia)) << name;
    }
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ApplyOptionsTest, EachColumnFieldShowsItsOwnColumn)
{
    for (const auto &[hiddenField, hiddenColumn] : ShownColumns) {
        storeOptions({{hiddenField, false}});
        ApplyOptions();
        for (const auto &[field, name] : ShownColumns) {
            QObject *column = calculatorControl<DataGridColumn>(u8(name));
            ASSERT_NE(column, nullptr) << name;
            EXPECT_EQ(shown(column), u8(name) != u8(hiddenColumn))
                << name << " with " << hiddenField << " false";
        }
        storeOptions({{hiddenField, true}});
    }
    ApplyOptions();
    for (const auto &[field, name] : ShownColumns)
        EXPECT_TRUE(shown(calculatorControl(u8(name)))) << name;
}

TEST_F(ApplyOptionsTest, ElementAndComputedColumnsHiddenInTheStoredRowCannotBeShownAgain)
{
    storeOptions({{"c31", false}, {"c34", false}});
    ApplyOptions();
    auto *element = calculatorControl<DataGridColumn>(u8("dxDBGrid3name_el"));
    auto *rachet = calculatorControl<DataGridColumn>(u8("dxDBGrid3rachet"));
    ASSERT_NE(element, nullptr);
    ASSERT_NE(rachet, nullptr);
    EXPECT_FALSE(element->isVisible());
    EXPECT_FALSE(rachet->isVisible());

    showOptions();
    for (const char *name : {"DBCheckBox1", "DBCheckBox4"}) {
        auto *box = optionsControl<QCheckBox>(u8(name));
        EXPECT_FALSE(box->isEnabled()) << name;
        EXPECT_FALSE(box->isChecked()) << name;
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_Space);
    }
    clickApply();
    EXPECT_FALSE(element->isVisible());
    EXPECT_FALSE(rachet->isVisible());
    EXPECT_TRUE(calculatorControl<DataGridColumn>(u8("dxDBGrid3vega"))->isVisible());
}

TEST_F(ApplyOptionsTest, TotalLinesAndTheCropListFollowTheirFields)
{
    for (const auto &[field, name] : ShownPanels)
        ASSERT_TRUE(shown(calculatorControl(u8(name)))) << name;

    storeOptions({{"kult", false}});
    ApplyOptions();
    EXPECT_FALSE(shown(calculatorControl(u8("dxDBGrid6"))));
    EXPECT_FALSE(shown(calculatorControl(u8("Panel11"))));
    EXPECT_TRUE(shown(calculatorControl(u8("Panel9"))));
    EXPECT_TRUE(shown(calculatorControl(u8("Panel13"))));
    auto *percentage = calculatorControl<QWidget>(u8("GroupBox8"));
    ASSERT_NE(percentage, nullptr);
    EXPECT_FALSE(percentage->isHidden());

    storeOptions({{"kult", true}, {"ppm1", false}});
    ApplyOptions();
    EXPECT_FALSE(shown(calculatorControl(u8("Panel9"))));
    EXPECT_TRUE(shown(calculatorControl(u8("Panel13"))));
    EXPECT_TRUE(shown(calculatorControl(u8("dxDBGrid6"))));

    storeOptions({{"ppm1", true}, {"ppm2", false}});
    ApplyOptions();
    EXPECT_TRUE(shown(calculatorControl(u8("Panel9"))));
    EXPECT_FALSE(shown(calculatorControl(u8("Panel13"))));
}

TEST_F(ApplyOptionsTest, TheSliderMaximumIgnoresValuesNotAboveZero)
{
    auto *slider = calculatorControl<QAbstractSlider>(u8("RxSlider1"));
    ASSERT_NE(slider, nullptr);
    ASSERT_EQ(slider->maximum(), 250);
    ASSERT_EQ(slider->value(), 100);

    for (const QVariant &maxim : {QVariant(0), QVariant(-5), QVariant()}) {
        storeOptions({{"maxim", maxim}});
        ApplyOptions();
        EXPECT_EQ(slider->maximum(), 250) << maxim.toString().toStdString();
        EXPECT_EQ(slider->value(), 100);
    }

    storeOptions({{"maxim", 300}});
    ApplyOptions();
    EXPECT_EQ(slider->maximum(), 300);
    EXPECT_EQ(slider->value(), 100);
}

TEST_F(ApplyOptionsTest, AMaximumBelowTheValueRunsTheSlidersChangeHandling)
{
    auto *slider = calculatorControl<QAbstractSlider>(u8("RxSlider1"));
    ASSERT_NE(slider, nullptr);
    ASSERT_EQ(slider->value(), 100);

    storeOptions({{"maxim", 80}});
    ApplyOptions();
    EXPECT_EQ(slider->maximum(), 80);
    EXPECT_EQ(slider->value(), 80);
    auto *edit2 = calculatorControl<QLineEdit>(u8("Edit2"));
    ASSERT_NE(edit2, nullptr);
    EXPECT_EQ(edit2->text(), u8("80"));
    EXPECT_EQ(calculatorControl<QGroupBox>(u8("GroupBox8"))->title(), u8("Концентрация 80 %"));
    EXPECT_EQ(calculatorControl<DataGridColumn>(u8("dxDBGrid3vaga_calc"))->caption(), u8("В80%"));
    EXPECT_EQ(calculatorControl<DataGridColumn>(u8("dxDBGrid2Column3"))->caption(),
              u8("Кол-во от 80%"));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ApplyOptionsTest, AutostartTickedAndAppliedStartsTheTimerAtOnce)
{
    auto *timer = Form1->findChild<QTimer *>(u8("Timer1"));
    ASSERT_NE(timer, nullptr);
    ASSERT_FALSE(timer->isActive());

    showOptions();
    auto *autostart = optionsControl<QCheckBox>(u8("DBCheckBox11"));
    ASSERT_FALSE(autostart->isChecked());
    QTest::mouseClick(autostart, Qt::LeftButton);
    EXPECT_FALSE(timer->isActive()); // only "Применить" applies
    clickApply();
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 100);
    rereadOptions();
    EXPECT_TRUE(options().asBoolean(u8("avto")));

    // Applying it again leaves it running; switched off, it stops.
    ApplyOptions();
    EXPECT_TRUE(timer->isActive());
    storeOptions({{"avto", false}});
    ApplyOptions();
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(boxes.count(), 0);
}
