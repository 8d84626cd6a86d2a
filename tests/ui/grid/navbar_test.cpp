#include "gridfixture.h"

#include "ui/grid/navbar.h"

#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

class NavBarTest : public GridFixture
{
protected:
    QMap<NavButton, bool> enabled(const NavBar &bar) const
    {
        QMap<NavButton, bool> out;
        for (NavButton b : bar.buttons())
            out.insert(b, bar.button(b)->isEnabled());
        return out;
    }

    const QList<NavButton> all{NavButton::First, NavButton::Prior,  NavButton::Next,
                               NavButton::Last,  NavButton::Insert, NavButton::Delete,
                               NavButton::Edit,  NavButton::Post,   NavButton::Cancel,
                               NavButton::Refresh};
};

TEST_F(NavBarTest, ShowsOnlyTheNamedButtons)
{
    NavBar bar(QStringLiteral("DBNavigator2"), &elementBinding,
               {NavButton::Insert, NavButton::Post});
    EXPECT_EQ(bar.buttons(), (QList<NavButton>{NavButton::Insert, NavButton::Post}));
    EXPECT_EQ(bar.findChildren<QToolButton *>().size(), 2);
    EXPECT_NE(bar.findChild<QToolButton *>(QStringLiteral("DBNavigator2Insert")), nullptr);
    EXPECT_EQ(bar.button(NavButton::Delete), nullptr);
    EXPECT_FALSE(bar.button(NavButton::Insert)->icon().isNull());
    EXPECT_TRUE(bar.button(NavButton::Insert)->toolTip().isEmpty());
    EXPECT_EQ(bar.button(NavButton::Insert)->accessibleName(), QStringLiteral("Вставить запись"))
        << "a glyph-only button is still named for screen readers";
}

TEST_F(NavBarTest, EnablesButtonsFromTheDatasetsState)
{
    NavBar bar(QStringLiteral("DBNavigator1"), &kofBinding, all);
    using B = NavButton;
    // Browsing on the first of three rows.
    QMap<B, bool> expected{{B::First, false}, {B::Prior, false}, {B::Next, true},
                           {B::Last, true},   {B::Insert, true}, {B::Delete, true},
                           {B::Edit, true},   {B::Post, false},  {B::Cancel, false},
                           {B::Refresh, true}};
    EXPECT_EQ(enabled(bar), expected);

    GRID_LAYER_OK(kof.last());
    expected[B::First] = expected[B::Prior] = true;
    expected[B::Next] = expected[B::Last] = false;
    EXPECT_EQ(enabled(bar), expected);

    GRID_LAYER_OK(kof.edit());
    expected[B::Edit] = false;
    expected[B::Post] = expected[B::Cancel] = true;
    EXPECT_EQ(enabled(bar), expected);

    GRID_LAYER_OK(kof.cancel());
    kofBinding.setEnabled(false);
    for (B b : all)
        EXPECT_FALSE(bar.button(b)->isEnabled()) << NavBar::buttonName(b).toStdString();
    kofBinding.setEnabled(true);
    EXPECT_TRUE(bar.button(B::Insert)->isEnabled());

    kof.close();
    for (B b : all)
        EXPECT_FALSE(bar.button(b)->isEnabled()) << NavBar::buttonName(b).toStdString();

    // Open but empty: only Insert and Refresh.
    GRID_LAYER_OK(kof.setFilter(QStringLiteral("id_element=99")));
    GRID_LAYER_OK(kof.setFiltered(true));
    GRID_LAYER_OK(kof.open());
    for (B b : all) {
        const bool on = b == B::Insert || b == B::Refresh;
        EXPECT_EQ(bar.button(b)->isEnabled(), on) << NavBar::buttonName(b).toStdString();
    }
}

TEST_F(NavBarTest, ButtonsActAndReportAfterwards)
{
    NavBar bar(QStringLiteral("DBNavigator4"), &kofBinding,
               {NavButton::Insert, NavButton::Delete, NavButton::Post});
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    QSignalSpy clicks(&bar, &NavBar::clicked);
    GRID_LAYER_OK(kof.moveTo(1));

    QTest::mouseClick(bar.button(NavButton::Insert), Qt::LeftButton);
    EXPECT_EQ(kof.state(), DatasetState::Insert);
    EXPECT_EQ(kof.currentRow(), 1);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).value<NavButton>(), NavButton::Insert);
    EXPECT_TRUE(bar.button(NavButton::Post)->isEnabled());

    GRID_LAYER_OK(kof.setValue(QStringLiteral("name_kof"), QStringLiteral("MgO->Mg")));
    QTest::mouseClick(bar.button(NavButton::Post), Qt::LeftButton);
    EXPECT_EQ(kof.state(), DatasetState::Browse);
    EXPECT_EQ(stored("SELECT count(*) FROM t_kof WHERE name_kof = 'MgO->Mg'").toInt(), 1);
    EXPECT_FALSE(bar.button(NavButton::Post)->isEnabled());

    BoxRecorder boxes;
    boxes.expect(BoxButton::Cancel);
    QTest::mouseClick(bar.button(NavButton::Delete), Qt::LeftButton);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("Delete record?"));
    EXPECT_EQ(boxes.last().caption, QStringLiteral("Confirm"));
    EXPECT_EQ(kof.recordCount(), 4);
    boxes.expect(BoxButton::Ok);
    QTest::mouseClick(bar.button(NavButton::Delete), Qt::LeftButton);
    EXPECT_EQ(kof.recordCount(), 3);
    EXPECT_EQ(stored("SELECT count(*) FROM t_kof WHERE name_kof = 'MgO->Mg'").toInt(), 0);
    EXPECT_EQ(clicks.count(), 4);
}

TEST_F(NavBarTest, AFailingActionIsReportedAndNotAnnounced)
{
    NavBar bar(QStringLiteral("DBNavigator3"), &kofBinding, {NavButton::Post});
    QSignalSpy clicks(&bar, &NavBar::clicked);
    GRID_LAYER_OK(kof.edit());
    GRID_LAYER_OK(kof.setValue(QStringLiteral("name_kof"), QStringLiteral("изменён")));
    {
        Connection other(QStringLiteral("base.mdb"));
        GridFixture::exec(other, "DELETE FROM t_kof WHERE id_kof = 1");
    }
    BoxRecorder boxes;
    boxes.expect(BoxButton::Ok);
    bar.press(NavButton::Post);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.last().text.startsWith(QStringLiteral("T_KOF: ")));
    EXPECT_EQ(boxes.last().icon, BoxIcon::Error);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(kof.state(), DatasetState::Edit);
    EXPECT_TRUE(bar.button(NavButton::Post)->isEnabled());
}

} // namespace
