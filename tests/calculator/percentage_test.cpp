#include "calculatorfixture.h"

#include <QGroupBox>

namespace {

class PercentageTest : public CalculatorTest
{
protected:
    void SetUp() override
    {
        CalculatorTest::SetUp();
        if (HasFatalFailure())
            return;
        slider = find<QSlider>(QStringLiteral("RxSlider1"));
        edit = find<QLineEdit>(QStringLiteral("Edit2"));
        ASSERT_TRUE(slider && edit);
    }

    // The four fertilizers of the worked composition, calculated at 100 %.
    void calculateWorkedComposition()
    {
        const char *names[] = {"Кальциевая селитра", "Калиевая селитра", "Монофосфат калия",
                               "Сульфат магния (7-водный)"};
        const char *amounts[] = {"1", "0.5", "0.2", "0.6"};
        for (int i = 0; i < 4; ++i)
            addFertilizer(QString::fromUtf8(names[i]));
        for (int i = 0; i < 4; ++i)
            typeAmount(QString::fromUtf8(names[i]), QString::fromLatin1(amounts[i]));
        press("Button4");
    }

    QStringList captions()
    {
        return {caption("dxDBGrid3vaga_calc"), caption("dxDBGrid3cvet_calc"),
                caption("dxDBGrid2Column3"), caption("dxDBGrid3Column10"),
                find<QGroupBox>(QStringLiteral("GroupBox8"))->title()};
    }

    QString nitrogen(const char *column)
    {
        DataGrid *g = grid("dxDBGrid3");
        return cell(g, rowOf(g, "dxDBGrid3name_el", QStringLiteral("N")), column);
    }

    QSlider *slider = nullptr;
    QLineEdit *edit = nullptr;
};

TEST_F(PercentageTest, BuiltCaptionsHoldUntilTheFirstChange)
{
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 250);
    EXPECT_EQ(slider->value(), 100);
    EXPECT_EQ(edit->text(), QStringLiteral("100"));
    EXPECT_EQ(captions(), QStringList({QStringLiteral("В100%"), QStringLiteral("Ц100%"),
                                       QStringLiteral("Кол-во от %"), QStringLiteral("Расчёт от %"),
                                       QStringLiteral("Концентрация: 100%")}));
    EXPECT_EQ(Form4->percentage(), 100);
    EXPECT_EQ(Form4->percentageText(), QStringLiteral("100"));
}

// At 80 %, by hand: В80% of N = 70 × 0.8 = 56; Расчёт от 80% of N = 224.25 × 0.8 = 179.4;
// the sum of the scaled computed values 677.74856 → 677.75; of the scaled targets 387.88 and
// 523.88; ppm at 80 % 1223.4 × 0.8 = 978.72, at 100 % still 1223.4.
TEST_F(PercentageTest, MovingTheSliderRescalesCaptionsColumnsAndTotals)
{
    calculateWorkedComposition();
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Down); // one step
    EXPECT_EQ(edit->text(), QStringLiteral("99"));
    slider->setValue(80);

    EXPECT_EQ(edit->text(), QStringLiteral("80"));
    EXPECT_EQ(captions(), QStringList({QStringLiteral("В80%"), QStringLiteral("Ц80%"),
                                       QStringLiteral("Кол-во от 80%"), QStringLiteral("Расчёт от 80%"),
                                       QStringLiteral("Концентрация 80 %")}));
    EXPECT_EQ(nitrogen("dxDBGrid3vaga_calc"), QStringLiteral("56"));
    EXPECT_EQ(nitrogen("dxDBGrid3cvet_calc"), QStringLiteral("120"));
    EXPECT_EQ(nitrogen("dxDBGrid3Column10"), QStringLiteral("179.4"));
    EXPECT_EQ(nitrogen("dxDBGrid3rachet"), QStringLiteral("224.25"));
    EXPECT_EQ(nitrogen("dxDBGrid3Column11"), QStringLiteral("168.25")) << "224.25 − 56";
    DataGrid *composition = grid("dxDBGrid2");
    EXPECT_EQ(cell(composition, 0, "dxDBGrid2Column3"), QStringLiteral("0.8"));
    EXPECT_EQ(cell(composition, 1, "dxDBGrid2Column3"), QStringLiteral("0.4"));

    EXPECT_EQ(labelText("Label4"), QStringLiteral("   847.19"));
    EXPECT_EQ(labelText("Label13"), QStringLiteral("   677.75"));
    EXPECT_EQ(labelText("Label5"), QStringLiteral("   387.88"));
    EXPECT_EQ(labelText("Label9"), QStringLiteral("   523.88"));
    EXPECT_EQ(labelText("Label10"), QStringLiteral("   1223.4"));
    EXPECT_EQ(labelText("Label11"), QStringLiteral("   978.72"));
    EXPECT_EQ(Form4->percentage(), 80);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(PercentageTest, TypedPercentageAboveTheMaximumStopsAtIt)
{
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("300"));
    EXPECT_EQ(slider->value(), 250);
    EXPECT_EQ(edit->text(), QStringLiteral("250"));
    EXPECT_EQ(captions().last(), QStringLiteral("Концентрация 250 %"));
    EXPECT_EQ(caption("dxDBGrid3vaga_calc"), QStringLiteral("В250%"));

    edit->setText(QStringLiteral("-5"));
    EXPECT_EQ(slider->value(), 0);
    EXPECT_EQ(edit->text(), QStringLiteral("0"));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(PercentageTest, AnEmptyEditKeepsTheSliderButRewritesTheCaptions)
{
    edit->clear();
    EXPECT_EQ(slider->value(), 100);
    EXPECT_EQ(edit->text(), QString());
    EXPECT_EQ(caption("dxDBGrid2Column3"), QStringLiteral("Кол-во от 100%"));
    EXPECT_EQ(captions().last(), QStringLiteral("Концентрация 100 %"));
    EXPECT_EQ(labelText("Label4"), QStringLiteral("   0")) << "the totals were worked out";
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(PercentageTest, TextThatIsNoIntegerIsReportedAndChangesNothing)
{
    calculateWorkedComposition();
    slider->setValue(80);
    const QStringList before = captions();

    boxes.expect(BoxButton::Ok);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, QStringLiteral("a"));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("'80a' is not a valid integer value."));
    EXPECT_EQ(boxes.last().caption, QStringLiteral("Vernolat"));
    EXPECT_EQ(boxes.last().icon, BoxIcon::Error);
    EXPECT_EQ(slider->value(), 80);
    EXPECT_EQ(edit->text(), QStringLiteral("80a"));
    EXPECT_EQ(captions(), before);
    EXPECT_EQ(labelText("Label11"), QStringLiteral("   978.72"));
}

TEST_F(PercentageTest, ALowerMaximumBringsTheValueDownWithItsHandling)
{
    // What the options do with a maximum under the value.
    slider->setMaximum(70);
    EXPECT_EQ(slider->value(), 70);
    EXPECT_EQ(edit->text(), QStringLiteral("70"));
    EXPECT_EQ(caption("dxDBGrid3cvet_calc"), QStringLiteral("Ц70%"));
}

} // namespace
