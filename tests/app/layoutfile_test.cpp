#include "goldenfile.h"

#include "app/layoutfile.h"
#include "data/apperror.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/childprocess.h"
#include "support/errorof.h"

#include <csignal>

#include <sys/resource.h>

namespace {

QStringList lines(std::initializer_list<const char *> texts)
{
    QStringList l;
    for (const char *t : texts)
        l << QString::fromLatin1(t);
    while (l.size() < LayoutFile::LineCount)
        l << QString();
    return l;
}

TEST(LayoutFileTest, DefaultsAreWrittenByteForByteAsTheGoldenFile)
{
    const QByteArray golden = goldenFile(QStringLiteral("default-size.ini"));
    ASSERT_EQ(golden.size(), 69) << "golden file missing or altered";
    EXPECT_EQ(LayoutFile::format(LayoutFile::Defaults), golden);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("size.ini"));
    ASSERT_TRUE(writeFile(path, QByteArray(200, 'x'))) << "a longer file is emptied first";
    LayoutFile::write(path, LayoutFile::Defaults);
    EXPECT_EQ(fileBytes(path), golden);
}

TEST(LayoutFileTest, NegativeAndLargeValuesAreWrittenPlainly)
{
    LayoutFile::Values v = LayoutFile::Defaults;
    v[LayoutFile::CalculatorSplitter2] = -20;
    v[LayoutFile::CalculatorWidth] = 12345;
    v[LayoutFile::CalculatorMaximised] = 1;
    const QByteArray bytes = LayoutFile::format(v);
    EXPECT_TRUE(bytes.startsWith("0\r\n0\r\n1\r\n630\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n12345\r\n230\r\n577\r\n-20\r\n258\r\n"));
}

TEST(LayoutFileTest, ReadingRule)
{
    struct Case
    {
        const char *what;
        QByteArray bytes;
        QStringList expected;
    };
    const Case cases[] = {
        {"CR LF lines", "0\r\n1\r\n0\r\n630\r\n", lines({"0", "1", "0", "630"})},
        {"LF lines", "0\n1\n0\n630\n", lines({"0", "1", "0", "630"})},
        {"a lone CR is dropped", "1\r2\n3\r\r\n", lines({"12", "3"})},
        {"cut to four, rest of line dropped", "12345\r\n-2000\r\n7\r\n",
         lines({"1234", "-200", "7"})},
        {"no line end at the end", "0\r\n465", lines({"0", "465"})},
        {"blank kept", "1 \r\n 1\r\n", lines({"1 ", " 1"})},
        {"empty lines stay empty", "\r\n\r\n5\r\n", lines({"", "", "5"})},
        {"empty file", "", lines({})},
        {"past fifteen lines nothing is read",
         "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15\n16\n",
         lines({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15"})},
    };
    for (const Case &c : cases) {
        const QStringList got = LayoutFile::parse(c.bytes);
        ASSERT_EQ(got.size(), LayoutFile::LineCount) << c.what;
        EXPECT_EQ(got, c.expected) << c.what << ": " << got.join(u'|').toStdString();
    }
}

TEST(LayoutFileTest, OnlyExactlyOneMeansMaximised)
{
    EXPECT_TRUE(LayoutFile::isMaximised(QStringLiteral("1")));
    for (const char *t : {"0", "1 ", " 1", "01", "11", "", "2", "-1"})
        EXPECT_FALSE(LayoutFile::isMaximised(QString::fromLatin1(t))) << t;
}

TEST(LayoutFileTest, ValueLinesConvertOrFailWithTheConversionText)
{
    EXPECT_EQ(LayoutFile::toInteger(QStringLiteral("-20")), -20);
    EXPECT_EQ(LayoutFile::toInteger(QStringLiteral("1234")), 1234);
    EXPECT_EQ(errorOf([] { LayoutFile::toInteger(QString()); }),
              "'' is not a valid integer value");
    EXPECT_EQ(errorOf([] { LayoutFile::toInteger(QStringLiteral("12a")); }),
              "'12a' is not a valid integer value");
}

TEST(LayoutFileTest, InputOutputErrorsNameTheFile)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("size.ini"));
    const std::string shown = QDir::toNativeSeparators(missing).toStdString();
    EXPECT_FALSE(LayoutFile::canOpen(missing));
    EXPECT_EQ(errorOf([&] { LayoutFile::read(missing); }),
              "Cannot open file \"" + shown + "\". File not found");

    const QString nowhere = dir.filePath(QStringLiteral("gone/size.ini"));
    EXPECT_EQ(errorOf([&] { LayoutFile::write(nowhere, LayoutFile::Defaults); }),
              "Cannot create file \"" + QDir::toNativeSeparators(nowhere).toStdString()
                  + "\". Path not found");

    // A directory in the file's place can be neither read as the file nor replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("size.ini")));
    EXPECT_FALSE(LayoutFile::canOpen(missing));
    EXPECT_EQ(errorOf([&] { LayoutFile::read(missing); }),
              "Cannot open file \"" + shown + "\". File access denied");
    EXPECT_EQ(errorOf([&] { LayoutFile::write(missing, LayoutFile::Defaults); }),
              "Cannot create file \"" + shown + "\". File access denied");
}

TEST(LayoutFileTest, ReadOnlyDirectoryRefusesTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("size.ini"));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                          | QFileDevice::ReadOther | QFileDevice::ExeOther));
    const std::string text =
        runInChild([&] { return errorOf([&] { LayoutFile::write(path, LayoutFile::Defaults); }); });
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ExeOwner);
    EXPECT_EQ(text, "Cannot create file \"" + QDir::toNativeSeparators(path).toStdString()
                        + "\". File access denied");
    EXPECT_FALSE(QFileInfo::exists(path));
}

// A write cut short (a full disk; here a file size limit) leaves the file as it was: a short or
// empty file would block every window until deleted by hand.
TEST(LayoutFileTest, AWriteCutShortLeavesTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("size.ini"));
    const QByteArray golden = goldenFile(QStringLiteral("default-size.ini"));
    ASSERT_TRUE(writeFile(path, golden));
    LayoutFile::Values wider = LayoutFile::Defaults;
    wider[LayoutFile::CalculatorWidth] = 1200;
    const std::string text = runInChild(
        [&] {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{20, 20};
            setrlimit(RLIMIT_FSIZE, &limit);
            return errorOf([&] { LayoutFile::write(path, wider); });
        },
        ChildUser::Same);
    EXPECT_EQ(text.rfind("Cannot write file \"" + QDir::toNativeSeparators(path).toStdString()
                             + "\". ",
                         0),
              0u)
        << text;
    EXPECT_EQ(fileBytes(path), golden);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("size.ini")})
        << "no temporary file is left behind";

    LayoutFile::write(path, wider);
    EXPECT_EQ(fileBytes(path), LayoutFile::format(wider));
}

} // namespace

namespace {

// Settings of our own windows follow the 15 lines; the 15 lines are read and written as if the
// section were not there, and the section survives their writes.
TEST(LayoutFileTest, TheSectionOfOurOwnFollowsTheFifteenLinesAndSurvivesTheirWrites)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("size.ini"));
    const QByteArray golden = goldenFile(QStringLiteral("default-size.ini"));
    const QString key = QStringLiteral("StockTemperature");

    // No file yet: the defaults, then the section.
    EXPECT_FALSE(LayoutFile::ownSetting(path, key).has_value());
    ASSERT_TRUE(LayoutFile::writeOwnSetting(path, key, QStringLiteral("12")));
    EXPECT_EQ(fileBytes(path), golden + "[Vernolat]\r\nStockTemperature=12\r\n");
    EXPECT_EQ(LayoutFile::parse(fileBytes(path)), LayoutFile::parse(golden));
    EXPECT_EQ(LayoutFile::ownSetting(path, key), QStringLiteral("12"));

    // A hand-edited line stays as it is when a setting changes; a second key joins the first.
    QByteArray edited = golden;
    edited.replace(0, 1, "01");
    ASSERT_TRUE(writeFile(path, edited + "[Vernolat]\r\nStockTemperature=12\r\n"));
    ASSERT_TRUE(LayoutFile::writeOwnSetting(path, key, QStringLiteral("8")));
    ASSERT_TRUE(LayoutFile::writeOwnSetting(path, QStringLiteral("Other"), QStringLiteral("x")));
    EXPECT_EQ(fileBytes(path), edited + "[Vernolat]\r\nOther=x\r\nStockTemperature=8\r\n");

    // Writing the 15 lines keeps the section; a file whose tail is not ours loses the tail.
    LayoutFile::Values wider = LayoutFile::Defaults;
    wider[LayoutFile::CalculatorWidth] = 1200;
    LayoutFile::write(path, wider);
    EXPECT_EQ(fileBytes(path), LayoutFile::format(wider) + "[Vernolat]\r\nOther=x\r\nStockTemperature=8\r\n");
    ASSERT_TRUE(writeFile(path, golden + "stray\r\n"));
    LayoutFile::write(path, LayoutFile::Defaults);
    EXPECT_EQ(fileBytes(path), golden);

    // A file of fewer than 15 lines is not ours to mend: it stays, and the setting is not kept.
    ASSERT_TRUE(writeFile(path, "0\r\n0\r\n"));
    EXPECT_FALSE(LayoutFile::writeOwnSetting(path, key, QStringLiteral("8")));
    EXPECT_EQ(fileBytes(path), QByteArray("0\r\n0\r\n"));
    EXPECT_FALSE(LayoutFile::ownSetting(path, key).has_value());
}

} // namespace
