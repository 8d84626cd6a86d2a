#include "referenceprogram.h"

#include "reference/tf_converter.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

// Written with a point; the window uses the system's separator.
QString local(const char *number)
{
    return QString::fromLatin1(number).replace(u'.', systemDecimalSeparator());
}

class ConverterTest : public ReferenceProgram
{
protected:
    void SetUp() override
    {
        ReferenceProgram::SetUp();
        showWindow(F_Converter);
        amount = control<QLineEdit>(F_Converter, "Edit1");
        unit = control<QComboBox>(F_Converter, "ComboBox1");
        result = control<QLabel>(F_Converter, "Label4");
        amount->setFocus();
    }

    void pickUnit(int index) // with the arrow keys, as from the list
    {
        while (unit->currentIndex() != index)
            QTest::keyClick(unit, unit->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
    }

    void typeAmount(const QString &text) // over the selected amount, never passing through empty
    {
        QTest::keyClick(amount, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(amount, text);
    }

    QLineEdit *amount = nullptr;
    QComboBox *unit = nullptr;
    QLabel *result = nullptr;
};

TEST_F(ConverterTest, ConvertsEachUnitByItsDivisorOnEveryKeystroke)
{
    EXPECT_EQ(amount->text(), QStringLiteral("0"));
    EXPECT_EQ(unit->currentText(), QStringLiteral("г./л."));
    EXPECT_EQ(result->text(), QStringLiteral("0  "));

    typeAmount(QStringLiteral("2"));
    EXPECT_EQ(result->text(), local("0.2  "));
    QTest::keyClicks(amount, QStringLiteral("50"));
    EXPECT_EQ(result->text(), QStringLiteral("25  "));
    pickUnit(0); // a unit change converts at once
    EXPECT_EQ(result->text(), local("0.025  "));

    const struct { const char *amount; int unit; const char *percent; } cases[] = {
        {"12", 0, "0.0012"}, {"5", 5, "0.5"}, {"5", 3, "0.0005"}, {"7.5", 2, "0.75"},
        {"30", 4, "3"},      {"0.03", 0, "3E-6"}, {"0.1", 0, "0.00001"},
    };
    for (const auto &c : cases) {
        pickUnit(c.unit);
        typeAmount(local(c.amount));
        EXPECT_EQ(result->text(), local(c.percent) + QStringLiteral("  ")) << c.amount << " " << c.unit;
    }
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ConverterTest, AnEmptyAmountReadsZeroWithOrWithoutTheBlanks)
{
    typeAmount(QStringLiteral("250"));
    QTest::keyClick(amount, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(amount, Qt::Key_Backspace);
    EXPECT_EQ(result->text(), QStringLiteral("0"));
    pickUnit(3);
    EXPECT_EQ(result->text(), QStringLiteral("0  "));
}

TEST_F(ConverterTest, AnAmountThatIsNoNumberShowsTheErrorAndKeepsTheResult)
{
    const QChar wrongSeparator = systemDecimalSeparator() == u'.' ? u',' : u'.';
    for (const QString &bad : {QStringLiteral("1a"), QStringLiteral("1") + wrongSeparator, QStringLiteral("-")}) {
        typeAmount(QStringLiteral("8"));
        boxes.clear();
        boxes.expect(BoxButton::Ok);
        typeAmount(bad); // the last key makes it no number
        ASSERT_EQ(boxes.count(), 1) << bad.toStdString();
        EXPECT_EQ(boxes.last().text, QStringLiteral("'%1' is not a valid floating point value.").arg(bad));
        EXPECT_EQ(boxes.last().caption, QStringLiteral("Vernolat"));
        EXPECT_EQ(boxes.last().icon, BoxIcon::Error);
        EXPECT_EQ(result->text(), bad == QStringLiteral("-") ? local("0.8  ") : local("0.1  "));
    }
}

TEST_F(ConverterTest, ATypedUnitLeavesTheResultAsItWas)
{
    typeAmount(QStringLiteral("250"));
    QTest::keyClicks(unit->lineEdit(), QStringLiteral("x"));
    typeAmount(QStringLiteral("12q")); // not even a bad amount is converted
    EXPECT_EQ(result->text(), QStringLiteral("25  "));
    EXPECT_EQ(boxes.count(), 0);

    typeAmount(QStringLiteral("12"));
    QTest::keyClick(unit, Qt::Key_Up); // picked from the list again
    EXPECT_EQ(result->text(), local("0.0012  "));
}

} // namespace
