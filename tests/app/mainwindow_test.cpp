#include "appwindows.h"

#include "app/database.h"
#include "app/outersize.h"
#include "ui/messages.h"

#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QTest>

namespace {

using MainWindowTest = AppWindowsTest;

QPushButton *button(const char *name)
{
    return Form1->findChild<QPushButton *>(QString::fromLatin1(name));
}

TEST_F(MainWindowTest, LooksAsDesigned)
{
    start();
    EXPECT_EQ(Form1->windowTitle(), QStringLiteral("Vernolat v1.2"));
    EXPECT_EQ(Form1->size(), QSize(182, 124));
    EXPECT_EQ(Form1->minimumSize(), Form1->maximumSize()) << "fixed size";
    const Qt::WindowFlags f = Form1->windowFlags();
    EXPECT_TRUE(f & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(f & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(Form1->font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(Form1->font().pointSize(), 8);

    struct Expected
    {
        const char *name;
        const char *caption;
        QColor colour;
        int top;
    };
    const Expected buttons[] = {
        {"RzButton3", "Элементы", QColor(128, 0, 128), 8},
        {"RzButton1", "Удобрения", QColor(0, 0, 128), 48},
        {"RzButton2", "Калькулятор", QColor(0, 128, 128), 88},
    };
    for (const Expected &e : buttons) {
        QPushButton *b = button(e.name);
        ASSERT_NE(b, nullptr) << e.name;
        EXPECT_EQ(b->text(), QString::fromUtf8(e.caption));
        EXPECT_EQ(b->geometry().topLeft(), QPoint(8, e.top)) << e.name;
        EXPECT_EQ(b->width(), 169);
        EXPECT_LE(b->geometry().bottom(), 124);
        EXPECT_TRUE(b->font().bold());
        EXPECT_EQ(b->palette().color(QPalette::ButtonText), e.colour) << e.name;
        // Whatever font stands in for the missing one, the caption is never cut off.
        EXPECT_LE(b->sizeHint().width(), b->width()) << e.name;
        EXPECT_LE(b->sizeHint().height(), b->height()) << e.name;
        EXPECT_LT(QFontMetrics(b->font()).horizontalAdvance(b->text()), b->width() - 16);
    }
    // The keyboard: Удобрения, Калькулятор, Элементы.
    QStringList order;
    QWidget *w = button("RzButton1");
    for (int i = 0; i < 3; ++i, w = w->nextInFocusChain()) {
        while (!(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
        order << w->objectName();
    }
    EXPECT_EQ(order, QStringList({"RzButton1", "RzButton2", "RzButton3"}));
    EXPECT_EQ(Form1->findChild<QTimer *>(QStringLiteral("Timer1"))->interval(), 100);
}

TEST_F(MainWindowTest, EachButtonReappliesTheLayoutToAllThreeWindowsAndShowsItsOwn)
{
    start();
    const QList<QPair<const char *, QWidget *>> presses = {
        {"RzButton3", Form3}, {"RzButton1", Form2}, {"RzButton2", Form4}};
    for (const auto &[name, window] : presses) {
        // Sizes and splitters moved since the layout was stored go back to it.
        Form3->resize(300, 200);
        Form4->resize(500, 400);
        Splitter *s = Form2->findChild<Splitter *>(QStringLiteral("RzSplitter1"));
        s->setPosition(100);
        button(name)->click();
        EXPECT_TRUE(window->isVisible()) << name;
        EXPECT_EQ(OuterSize::of(Form3), QSize(465, 630)) << name;
        EXPECT_EQ(OuterSize::of(Form4), QSize(936, 738)) << name;
        EXPECT_EQ(s->position(), 230) << name;
    }
    EXPECT_TRUE(Form1->isVisible()) << "the main window stays open";
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(MainWindowTest, AButtonWhoseLayoutFailsShowsNothingUntilTheFileIsRemoved)
{
    start();
    ASSERT_TRUE(writeFile(QStringLiteral("size.ini"), "0\r\n0\r\n0\r\n630\r\n465\r\n-\r\n"));
    boxes.expect(BoxButton::Ok);
    button("RzButton1")->click();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("'-' is not a valid integer value."));
    EXPECT_FALSE(Form2->isVisible());

    ASSERT_TRUE(QFile::remove(QStringLiteral("size.ini")));
    button("RzButton1")->click();
    EXPECT_TRUE(Form2->isVisible());
    EXPECT_EQ(fileBytes(QStringLiteral("size.ini")), goldenFile(QStringLiteral("default-size.ini")));
    EXPECT_EQ(boxes.count(), 1);
}

TEST_F(MainWindowTest, TheTimerTicksOncePressingTheCalculatorButton)
{
    start();
    QTimer *timer = autostartTimer();
    int presses = 0;
    QObject::connect(button("RzButton2"), &QPushButton::clicked, [&] { ++presses; });
    Form1->setTimer1Enabled(true);
    Form1->setTimer1Enabled(true); // switching it on again does not restart it
    EXPECT_TRUE(Form1->isTimer1Enabled());
    EXPECT_EQ(presses, 0);
    tickTimer(timer);
    EXPECT_EQ(presses, 1);
    EXPECT_TRUE(Form4->isVisible());
    EXPECT_FALSE(Form1->isTimer1Enabled()) << "one tick: nothing is left to press again";
}

TEST_F(MainWindowTest, AFailingTickIsNotRepeatedWhileItsBoxWaits)
{
    start();
    QTimer *timer = autostartTimer();
    ASSERT_TRUE(writeFile(QStringLiteral("size.ini"), "x\r\n"));
    int shown = 0;
    bool runningUnderTheBox = true;
    // A box that waits for the user keeps events, and timer ticks, running: the timer must be
    // off by the time the box is up.
    Messages::setResponder([&](const BoxRequest &) {
        ++shown;
        runningUnderTheBox = Form1->isTimer1Enabled();
        return BoxButton::Ok;
    });
    Form1->setTimer1Enabled(true);
    tickTimer(timer);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(runningUnderTheBox) << "a tick could come again while the box waits";
    EXPECT_FALSE(Form1->isTimer1Enabled());
    EXPECT_FALSE(Form4->isVisible());
}

TEST_F(MainWindowTest, ClosingTheMainWindowClosesTheDatabaseAndLeavesTheLayoutFileAlone)
{
    start();
    button("RzButton2")->click();
    Form4->resize(400, 300);
    const QByteArray layout = fileBytes(QStringLiteral("size.ini"));
    Form1->data().form4.T_rachet.append();
    Form1->data().form4.T_rachet.setValue(QStringLiteral("kol"), 2.5);
    const int rows = Form1->data().form4.T_rachet.recordCount();

    EXPECT_TRUE(Form1->close());
    EXPECT_FALSE(Form1->isVisible());
    for (Dataset *ds : allDatasets())
        EXPECT_FALSE(ds->isActive()) << ds->name().toStdString();
    EXPECT_FALSE(Form1->data().ADOConnection1.isConnected());
    EXPECT_EQ(fileBytes(QStringLiteral("size.ini")), layout);
    EXPECT_TRUE(Form4->isVisible()) << "the other windows go with the program, unclosed";

    Form1->data().form4.T_rachet.open();
    EXPECT_EQ(Form1->data().form4.T_rachet.recordCount(), rows - 1) << "the typed row is lost";
}

TEST_F(MainWindowTest, ClosingFromCodeEndsTheProgramAsTheCloseBoxDoes)
{
    bool closedFromCode = false;
    QTimer::singleShot(0, [&] {
        ensureLayoutSplitters();
        DatabaseCycle(); // as the calculator runs it before its avto rule
        CloseMainWindow();
        closedFromCode = true;
    });
    boxes.expect(BoxButton::Ok); // the first load, before the stand-in splitters exist
    EXPECT_EQ(RunProgram(*qApp), 0);
    EXPECT_TRUE(closedFromCode);
}

} // namespace
