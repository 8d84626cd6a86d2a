#include "referenceprogram.h"

#include "reference/tf_converter.h"

namespace {

// Expected numbers are written with a point; the window uses the system's separator.
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
        amount = control<QLineEdit>(F_Converter, QStringLiteral("Edit1"));
        unit = control<QComboBox>(F_Converter, QStringLiteral("ComboBox1"));
        result = control<QLabel>(F_Converter, QStringLiteral("Label4"));
        ASSERT_TRUE(amount && unit && result);
    }

    // Picks a unit from the list with the arrow keys, as the grower does.
    void pickUnit(int index)
    {
        while (unit->currentIndex() < index)
            QTest::keyClick(unit, Qt::Key_Down);
        while (unit->currentIndex() > index)
            QTest::keyClick(unit, Qt::Key_Up);
    }

    void clearAmount()
    {
        amount->setFocus();
        QTest::keyClick(amount, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(amount, Qt::Key_Backspace);
    }

    void typeAmount(const QString &text)
    {
        clearAmount();
        QTest::keyClicks(amount, text);
    }

    // The whole amount at once, as a paste over the selected text puts it.
    void pasteAmount(const QString &text)
    {
        amount->selectAll();
        amount->insert(text);
    }

    QLineEdit *amount = nullptr;
    QComboBox *unit = nullptr;
    QLabel *result = nullptr;
};

TEST_F(ConverterTest, StartsAtZeroGramsPerLitre)
{
    EXPECT_EQ(F_Converter->windowTitle(), QStringLiteral("Конвертер"));
    EXPECT_EQ(amount->text(), QStringLiteral("0"));
    EXPECT_EQ(unit->currentText(), QStringLiteral("г./л."));
    EXPECT_EQ(result->text(), QStringLiteral("0  "));
    QStringList units;
    for (int i = 0; i < unit->count(); ++i)
        units.append(unit->itemText(i));
    EXPECT_EQ(units, (QStringList{QStringLiteral("мг./л."), QStringLiteral("г./л."),
                                  QStringLiteral("мл./л."), QStringLiteral("мг./дм3"),
                                  QStringLiteral("г./дм3"), QStringLiteral("мл./дм3")}));
}

TEST_F(ConverterTest, ConvertsEachUnitByItsDivisor)
{
    struct Case
    {
        const char *amount;
        int unit;
        const char *percent;
    };
    const Case cases[] = {
        {"250", 1, "25"},   {"12", 0, "0.0012"}, {"5", 5, "0.5"},   {"5", 3, "0.0005"},
        {"7.5", 2, "0.75"}, {"30", 4, "3"},      {"-4", 1, "-0.4"}, {"1e3", 0, "0.1"},
        {"0.1", 0, "0.00001"}, {"0.03", 0, "3E-6"},
    };
    for (const Case &c : cases) {
        pickUnit(c.unit);
        pasteAmount(local(c.amount));
        EXPECT_EQ(result->text(), local(c.percent) + QStringLiteral("  "))
            << c.amount << " in " << unit->currentText().toStdString();
    }
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ConverterTest, EveryKeystrokeConvertsAndAUnitChangeConvertsAtOnce)
{
    clearAmount();
    QTest::keyClick(amount, Qt::Key_2);
    EXPECT_EQ(result->text(), local("0.2  "));
    QTest::keyClick(amount, Qt::Key_5);
    EXPECT_EQ(result->text(), local("2.5  "));
    QTest::keyClick(amount, Qt::Key_0);
    EXPECT_EQ(result->text(), QStringLiteral("25  "));

    pickUnit(0); // мг./л.
    EXPECT_EQ(result->text(), local("0.025  "));
    EXPECT_EQ(amount->text(), QStringLiteral("250"));
}

TEST_F(ConverterTest, AnEmptyAmountReadsZeroWithOrWithoutTheBlanks)
{
    typeAmount(QStringLiteral("250"));
    clearAmount();
    EXPECT_EQ(result->text(), QStringLiteral("0"));
    pickUnit(3);
    EXPECT_EQ(result->text(), QStringLiteral("0  "));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ConverterTest, AnAmountThatIsNoNumberShowsTheStandardErrorAndKeepsTheResult)
{
    const QChar wrongSeparator = systemDecimalSeparator() == u'.' ? u',' : u'.';
    struct Case
    {
        QString typed;  // typed after "1"
        QString failing; // the amount text the error names
    };
    const Case cases[] = {
        {QStringLiteral("a"), QStringLiteral("1a")},
        {QString(wrongSeparator), QStringLiteral("1") + wrongSeparator},
    };
    for (const Case &c : cases) {
        typeAmount(QStringLiteral("1"));
        ASSERT_EQ(result->text(), local("0.1  "));
        boxes.clear();
        boxes.expect(BoxButton::Ok);
        QTest::keyClicks(amount, c.typed);
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.last().text,
                  QStringLiteral("'%1' is not a valid floating point value.").arg(c.failing));
        EXPECT_EQ(boxes.last().caption, QStringLiteral("Vernolat"));
        EXPECT_EQ(boxes.last().icon, BoxIcon::Error);
        EXPECT_EQ(boxes.last().buttons, QList<BoxButton>{BoxButton::Ok});
        EXPECT_EQ(result->text(), local("0.1  "));
    }

    // An unfinished number is converted as it stands: a lone sign fails at once.
    clearAmount();
    boxes.clear();
    boxes.expect(BoxButton::Ok);
    QTest::keyClick(amount, Qt::Key_Minus);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("'-' is not a valid floating point value."));
    EXPECT_EQ(result->text(), QStringLiteral("0"));
}

TEST_F(ConverterTest, ATypedUnitLeavesTheResultAsItWas)
{
    typeAmount(QStringLiteral("250"));
    ASSERT_EQ(result->text(), QStringLiteral("25  "));

    QTest::keyClicks(unit->lineEdit(), QStringLiteral("x"));
    EXPECT_EQ(result->text(), QStringLiteral("25  "));
    // Not even an amount that is no number is converted while no unit is picked.
    QTest::keyClicks(amount, QStringLiteral("q"));
    EXPECT_EQ(result->text(), QStringLiteral("25  "));
    EXPECT_EQ(boxes.count(), 0);

    // Picking from the list again converts what the amount holds.
    QTest::keyClick(amount, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(amount, QStringLiteral("12"));
    EXPECT_EQ(result->text(), QStringLiteral("25  "));
    QTest::keyClick(unit, Qt::Key_Up);
    EXPECT_EQ(result->text(), local("0.0012  "));
}

} // namespace
