#include "fakewindows.h"
#include "goldenfile.h"

#include "app/outersize.h"
#include "app/windowlayout.h"
#include "data/apperror.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class WindowLayoutTest : public ::testing::Test
{
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("size.ini")); }
    WindowLayout layout() const
    {
        return WindowLayout(w.elements.get(), w.fertilizers.get(), w.calculator.get(), path());
    }

    // A layout file from the default lines with some replaced (line numbers from 1).
    void writeLayout(std::initializer_list<std::pair<int, const char *>> changes, int keep = 15)
    {
        QList<QByteArray> lines;
        for (int v : LayoutFile::Defaults)
            lines << QByteArray::number(v);
        for (const auto &[line, text] : changes)
            lines[line - 1] = text;
        QByteArray bytes;
        for (int i = 0; i < keep; ++i)
            bytes += lines[i] + "\r\n";
        ASSERT_TRUE(writeFile(path(), bytes));
    }

    std::string loadError()
    {
        try {
            layout().load();
        } catch (const AppError &e) {
            return e.text().toStdString();
        }
        return "(no error)";
    }

    QTemporaryDir m_dir;
    FakeWindows w;
};

TEST_F(WindowLayoutTest, FirstLoadWritesTheDefaultsAppliesThemAndSavesThemBackUnchanged)
{
    ASSERT_NO_THROW(layout().load());
    const QByteArray golden = goldenFile(QStringLiteral("default-size.ini"));
    EXPECT_EQ(fileBytes(path()), golden);

    EXPECT_EQ(OuterSize::of(w.elements.get()), QSize(465, 630));
    EXPECT_EQ(OuterSize::of(w.fertilizers.get()), QSize(627, 603));
    EXPECT_EQ(OuterSize::of(w.calculator.get()), QSize(936, 738));
    EXPECT_EQ(w.splitter(w.fertilizers.get(), 1)->position(), 230);
    const int calculatorSplitters[] = {577, 355, 258, 307, 416};
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(w.splitter(w.calculator.get(), n)->position(), calculatorSplitters[n - 1]) << n;
    EXPECT_FALSE(w.elements->isMaximized());

    // Shown, the windows take the stored outer sizes, frame included, and a save writes the
    // same file: nothing creeps by a frame from one run to the next.
    w.showAll();
    QApplication::processEvents();
    EXPECT_EQ(w.elements->frameGeometry().size(), QSize(465, 630));
    EXPECT_EQ(w.fertilizers->frameGeometry().size(), QSize(627, 603));
    EXPECT_EQ(w.calculator->frameGeometry().size(), QSize(936, 738));
    EXPECT_NE(w.calculator->frameGeometry().size(), w.calculator->size()) << "the platform frames windows";
    EXPECT_EQ(w.splitter(w.fertilizers.get(), 1)->position(), 230);
    EXPECT_EQ(w.splitter(w.calculator.get(), 1)->position(), 577);
    ASSERT_NO_THROW(layout().save());
    ASSERT_NO_THROW(layout().load());
    ASSERT_NO_THROW(layout().save());
    EXPECT_EQ(fileBytes(path()), golden);
}

TEST_F(WindowLayoutTest, ValuesApplyInFileOrderUpToABadLine)
{
    w.elements->resize(300, 300);
    w.fertilizers->resize(300, 300);
    w.calculator->resize(300, 300);
    const QSize fertilizersBefore = OuterSize::of(w.fertilizers.get());
    const QSize calculatorBefore = OuterSize::of(w.calculator.get());
    writeLayout({{4, "401"}, {5, "402"}, {6, "403"}, {7, "abc"}});

    EXPECT_EQ(loadError(), "'abc' is not a valid integer value");
    EXPECT_EQ(OuterSize::of(w.elements.get()), QSize(402, 401));
    EXPECT_EQ(OuterSize::of(w.fertilizers.get()), QSize(fertilizersBefore.width(), 403));
    EXPECT_EQ(OuterSize::of(w.calculator.get()), calculatorBefore);
    EXPECT_EQ(w.splitter(w.fertilizers.get(), 1)->position(), 200) << "splitters come later";
    EXPECT_EQ(fileBytes(path()).count("\r\n"), 15) << "the broken file is left as it is";
    EXPECT_EQ(loadError(), "'abc' is not a valid integer value") << "and fails every time";
}

TEST_F(WindowLayoutTest, AShortFileFailsOnItsFirstMissingLine)
{
    writeLayout({{10, "250"}}, 10);
    EXPECT_EQ(loadError(), "'' is not a valid integer value");
    EXPECT_EQ(w.splitter(w.fertilizers.get(), 1)->position(), 250);
    EXPECT_EQ(w.splitter(w.calculator.get(), 1)->position(), 500);
}

TEST_F(WindowLayoutTest, OnlyAnExactOneMaximisesAndNothingRestores)
{
    writeLayout({{1, "1 "}, {2, "01"}, {3, "1"}});
    ASSERT_EQ(loadError(), "(no error)");
    EXPECT_FALSE(w.elements->isMaximized());
    EXPECT_FALSE(w.fertilizers->isMaximized());
    EXPECT_TRUE(w.calculator->isMaximized()) << "set on a hidden window, for its next showing";

    w.calculator->show();
    QApplication::processEvents();
    writeLayout({});
    ASSERT_EQ(loadError(), "(no error)");
    EXPECT_TRUE(w.calculator->isMaximized()) << "\"0\" never restores a maximised window";
    EXPECT_NE(w.calculator->frameGeometry().size(), QSize(936, 738));
}

TEST_F(WindowLayoutTest, LongNumbersAreCutToFourCharacters)
{
    writeLayout({{9, "12345"}, {11, "-2000"}});
    ASSERT_EQ(loadError(), "(no error)");
    EXPECT_EQ(OuterSize::of(w.calculator.get()).width(), 1234);
    EXPECT_EQ(w.splitter(w.calculator.get(), 1)->position(),
              w.splitter(w.calculator.get(), 1)->minimumPosition())
        << "-200 is raised to the splitter's margin";
}

TEST_F(WindowLayoutTest, SplitterPositionsStayWithinTheirExtent)
{
    w.showAll();
    QApplication::processEvents();
    writeLayout({{10, "-20"}, {11, "9999"}});
    ASSERT_EQ(loadError(), "(no error)");
    Splitter *f = w.splitter(w.fertilizers.get(), 1);
    Splitter *c = w.splitter(w.calculator.get(), 1);
    EXPECT_EQ(f->position(), f->minimumPosition());
    EXPECT_EQ(c->position(), c->maximumPosition());
    EXPECT_LT(c->maximumPosition(), 936);
}

TEST_F(WindowLayoutTest, SaveWritesStatesAndSizesOfTheMoment)
{
    w.showAll();
    QApplication::processEvents();
    w.calculator->showMaximized();
    w.elements->showMinimized();
    w.fertilizers->resize(700, 500);
    QApplication::processEvents();
    w.splitter(w.fertilizers.get(), 1)->setPosition(321);
    ASSERT_NO_THROW(layout().save());

    const QStringList lines = LayoutFile::parse(fileBytes(path()));
    const QSize maximised = w.calculator->frameGeometry().size();
    EXPECT_NE(maximised, QSize(936, 738));
    EXPECT_EQ(lines.mid(0, 3), QStringList({"0", "0", "1"})) << "a minimised window writes 0";
    EXPECT_EQ(lines[LayoutFile::FertilizersHeight], QString::number(500 + 4));
    EXPECT_EQ(lines[LayoutFile::FertilizersWidth], QString::number(700 + 4));
    EXPECT_EQ(lines[LayoutFile::CalculatorHeight].toInt(), qMin(maximised.height(), 9999));
    EXPECT_EQ(fileBytes(path()).split('\n')[LayoutFile::CalculatorWidth],
              QByteArray::number(maximised.width()) + '\r');
    EXPECT_EQ(lines[LayoutFile::FertilizersSplitter1], QStringLiteral("321"));
}

TEST_F(WindowLayoutTest, AMissingSplitterIsNamedAndStopsThere)
{
    delete w.splitter(w.calculator.get(), 3);
    writeLayout({{12, "111"}, {14, "222"}});
    EXPECT_EQ(loadError(), "TForm4 has no splitter RzSplitter3");
    EXPECT_EQ(w.splitter(w.calculator.get(), 2)->position(), 111);
    EXPECT_EQ(w.splitter(w.calculator.get(), 4)->position(), 100);

    const QByteArray before = fileBytes(path());
    EXPECT_THROW(layout().save(), AppError);
    EXPECT_EQ(fileBytes(path()), before) << "nothing half-written";
}

TEST_F(WindowLayoutTest, AFileThatCannotBeWrittenFailsLoadAndSave)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("size.ini")));
    const QSize before = OuterSize::of(w.elements.get());
    const std::string expected = "Cannot create file \""
        + QDir::toNativeSeparators(path()).toStdString() + "\". File access denied";
    EXPECT_EQ(loadError(), expected) << "the defaults cannot be written";
    EXPECT_EQ(OuterSize::of(w.elements.get()), before) << "nothing applied";
    try {
        layout().save();
        ADD_FAILURE() << "save did not fail";
    } catch (const AppError &e) {
        EXPECT_EQ(e.text().toStdString(), expected);
    }
}

} // namespace
