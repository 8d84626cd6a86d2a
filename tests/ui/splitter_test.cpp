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

} // namespace
