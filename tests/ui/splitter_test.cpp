#include "ui/splitter.h"

#include <QLabel>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

struct SplitterTest : ::testing::Test
{
    SplitterTest()
    {
        splitter.addWidget(new QLabel(QStringLiteral("левая")));
        splitter.addWidget(new QLabel(QStringLiteral("правая")));
        splitter.resize(600, 300);
        splitter.show();
    }
    Splitter splitter{QStringLiteral("RzSplitter1"), Qt::Horizontal, 7, 230};
};

TEST_F(SplitterTest, PositionsStayWithinTheExtentAndOnlyChangesAreAnnounced)
{
    EXPECT_EQ(splitter.objectName(), QStringLiteral("RzSplitter1"));
    EXPECT_EQ(splitter.handleWidth(), 7);
    EXPECT_EQ(splitter.position(), 230);

    QSignalSpy moved(&splitter, &Splitter::positionChanged);
    splitter.setPosition(230);
    EXPECT_EQ(moved.count(), 0) << "the same position changes nothing";
    splitter.setPosition(300);
    EXPECT_EQ(splitter.position(), 300);
    EXPECT_EQ(moved.count(), 1);

    splitter.setPosition(-20);
    EXPECT_EQ(splitter.position(), splitter.minimumPosition());
    splitter.setPosition(5000);
    EXPECT_EQ(splitter.position(), splitter.maximumPosition());
    EXPECT_LE(splitter.maximumPosition(), 600 - 7);
}

TEST_F(SplitterTest, TheBarKeepsItsDistanceFromTheEdgeOnResize)
{
    splitter.setPosition(250);
    splitter.resize(900, 300);
    EXPECT_EQ(splitter.position(), 250);
    splitter.resize(500, 300);
    EXPECT_EQ(splitter.position(), 250);
}

// A window that gives the resize to the first pane moves the bar; the bar shown then is the
// one a later showing keeps and the one a load of the same number leaves alone.
TEST_F(SplitterTest, TheBarShownAfterAResizeIsTheOneKept)
{
    splitter.setStretchFactor(0, 1);
    splitter.setStretchFactor(1, 0);
    splitter.resize(700, 300);
    ASSERT_EQ(splitter.position(), 330);
    splitter.hide();
    splitter.show();
    EXPECT_EQ(splitter.position(), 330);

    QSignalSpy moved(&splitter, &Splitter::positionChanged);
    splitter.setPosition(330);
    splitter.hide();
    splitter.show();
    EXPECT_EQ(splitter.position(), 330);
    EXPECT_EQ(moved.count(), 0);
}

} // namespace
