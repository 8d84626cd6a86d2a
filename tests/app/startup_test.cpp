#include "appwindows.h"

#include "app/database.h"
#include "app/layoutfile.h"
#include "calculator/tform5.h"
#include "options/tform18.h"
#include "reference/tf_converter.h"
#include "reference/tform6.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QFileInfo>
#include <QTest>

#include <csignal>

namespace {

using StartupTest = AppWindowsTest;

QStringList dirEntries()
{
    return QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

TEST_F(StartupTest, CreatesTheEightWindowsHiddenWithOnlyTheElementDataOpen)
{
    create();
    const QList<QPair<QWidget *, QString>> windows = {
        {Form1, QStringLiteral("Vernolat v1.2")},
        {Form2, QStringLiteral("Справочник удобрений")},
        {Form3, QStringLiteral("Справочник элементов")},
        {Form4, QStringLiteral("Калькулятор v1.2")},
        {Form5, QStringLiteral("Введите название")},
        {Form6, QStringLiteral("Спарвочник коэффициентов")},
        {Form18, QStringLiteral("Опции")},
        {F_Converter, QStringLiteral("Конвертер")},
    };
    for (const auto &[window, caption] : windows) {
        ASSERT_NE(window, nullptr) << caption.toStdString();
        EXPECT_EQ(window->windowTitle(), caption);
        EXPECT_FALSE(window->isVisible()) << caption.toStdString();
    }
    DataModules &d = Form1->data();
    EXPECT_TRUE(d.ADOConnection1.isConnected());
    EXPECT_TRUE(d.form3.T_Element.isActive());
    EXPECT_TRUE(d.form3.T_KOF.isActive());
    for (Dataset *ds : allDatasets()) {
        if (ds != &d.form3.T_Element && ds != &d.form3.T_KOF) {
            EXPECT_FALSE(ds->isActive()) << ds->name().toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(QStringLiteral("size.ini")));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(StartupTest, ShowingTheMainWindowOpensEverythingAndLoadsTheLayout)
{
    create();
    Form5->setRenameMode(true);
    ShowMainWindow();
    EXPECT_TRUE(Form1->isVisible());
    for (QWidget *w : QList<QWidget *>{Form2, Form3, Form4, Form5, Form6, Form18, F_Converter})
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_FALSE(Form5->renameMode());
    for (Dataset *ds : allDatasets())
        EXPECT_TRUE(ds->isActive()) << ds->name().toStdString();
    EXPECT_EQ(fileBytes(QStringLiteral("size.ini")), goldenFile(QStringLiteral("default-size.ini")));
    EXPECT_EQ(Form2->findChild<Splitter *>(QStringLiteral("RzSplitter1"))->position(), 230);
    EXPECT_FALSE(Form1->isTimer1Enabled()) << "avto is off in the default base";
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(StartupTest, AutostartShowsTheCalculatorOnceAfterTheOptionsAreApplied)
{
    sqlOnBase(QStringLiteral("UPDATE t_opt SET avto = 1"));
    create();
    QTimer *timer = autostartTimer();
    ShowMainWindow();
    EXPECT_TRUE(Form1->isTimer1Enabled()) << "ApplyOptions switches the timer on from avto";
    EXPECT_FALSE(Form4->isVisible());
    tickTimer(timer);
    EXPECT_TRUE(Form4->isVisible());
    EXPECT_FALSE(Form1->isTimer1Enabled());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(StartupTest, ABrokenLayoutFileSkipsTheOptionsButShowsTheMainWindow)
{
    sqlOnBase(QStringLiteral("UPDATE t_opt SET avto = 1"));
    ASSERT_TRUE(writeFile(QStringLiteral("size.ini"), "0\r\n0\r\n0\r\nabc\r\n"));
    create();
    boxes.expect(BoxButton::Ok);
    ShowMainWindow();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text, QStringLiteral("'abc' is not a valid integer value."));
    EXPECT_EQ(boxes.last().caption, QStringLiteral("Vernolat"));
    EXPECT_EQ(boxes.last().icon, BoxIcon::Error);
    EXPECT_EQ(boxes.last().buttons, QList<BoxButton>{BoxButton::Ok});
    EXPECT_TRUE(Form1->isVisible());
    for (Dataset *ds : allDatasets())
        EXPECT_TRUE(ds->isActive()) << "the layout fails after every dataset opened";
    EXPECT_FALSE(Form1->isTimer1Enabled()) << "ApplyOptions did not run";
    EXPECT_EQ(fileBytes(QStringLiteral("size.ini")), QByteArray("0\r\n0\r\n0\r\nabc\r\n"));
}

TEST_F(StartupTest, ALayoutFileThatCannotBeWrittenIsReportedAndTheMainWindowShown)
{
    ASSERT_TRUE(QDir::current().mkdir(QStringLiteral("size.ini")));
    create();
    boxes.expect(BoxButton::Ok);
    ShowMainWindow();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.last().text.startsWith(QStringLiteral("Cannot create file \"")));
    EXPECT_TRUE(boxes.last().text.endsWith(QStringLiteral("size.ini\". File access denied.")));
    EXPECT_TRUE(Form1->isVisible());
}

// Both failures of a start-up without a base: the connection of the main window, then the
// element window's data, which ends the program before any window shows.
void expectStartupEndsWithTwoBoxes(BoxRecorder &boxes)
{
    boxes.expect(BoxButton::Ok);
    boxes.expect(BoxButton::Ok);
    EXPECT_FALSE(CreateWindows());
    ASSERT_EQ(boxes.count(), 2);
    for (const BoxRequest &r : boxes.shown()) {
        EXPECT_EQ(r.caption, QStringLiteral("Vernolat"));
        EXPECT_EQ(r.icon, BoxIcon::Error);
    }
    EXPECT_TRUE(boxes.shown()[1].text.startsWith(QStringLiteral("T_Element: ")))
        << boxes.shown()[1].text.toStdString();
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(Form3, nullptr);
    EXPECT_EQ(F_Converter, nullptr);
}

TEST_F(StartupTest, AMissingBaseEndsTheStartUpWritingNothing)
{
    ASSERT_TRUE(QFile::remove(base.basePath()));
    expectStartupEndsWithTwoBoxes(boxes);
    EXPECT_TRUE(boxes.shown()[0].text.contains(QStringLiteral("base.mdb")));
    EXPECT_TRUE(dirEntries().isEmpty()) << dirEntries().join(u' ').toStdString();
}

TEST_F(StartupTest, AFileThatIsNoDatabaseEndsTheStartUpUnchanged)
{
    const QByteArray junk = QByteArray("This is not a database.\r\n").repeated(200);
    ASSERT_TRUE(writeFile(base.basePath(), junk));
    expectStartupEndsWithTwoBoxes(boxes);
    EXPECT_EQ(dirEntries(), QStringList{QStringLiteral("base.mdb")});
    EXPECT_EQ(fileBytes(base.basePath()), junk);
}

TEST_F(StartupTest, AnEmptyFileIsNoDatabaseAndStaysEmpty)
{
    ASSERT_TRUE(writeFile(base.basePath(), QByteArray()));
    expectStartupEndsWithTwoBoxes(boxes);
    ASSERT_EQ(boxes.count(), 2);
    EXPECT_TRUE(boxes.shown()[0].text.endsWith(QStringLiteral("file is not a database.")))
        << boxes.shown()[0].text.toStdString();
    EXPECT_EQ(dirEntries(), QStringList{QStringLiteral("base.mdb")});
    EXPECT_EQ(QFileInfo(base.basePath()).size(), 0);
}

TEST_F(StartupTest, ABaseWithoutAFieldEndsTheStartUpNamingIt)
{
    sqlOnBase(QStringLiteral(
        "CREATE TABLE t_new (id_udobra INTEGER PRIMARY KEY AUTOINCREMENT, ppm INTEGER);"
        "INSERT INTO t_new SELECT id_udobra, ppm FROM t_udobra;"
        "DROP TABLE t_udobra; ALTER TABLE t_new RENAME TO t_udobra;"));
    expectStartupEndsWithTwoBoxes(boxes);
    ASSERT_EQ(boxes.count(), 2);
    EXPECT_EQ(boxes.shown()[0].text, QStringLiteral("t_udobra: no such column: name_udobra."));
    EXPECT_EQ(boxes.shown()[1].text,
              QStringLiteral("T_Element: t_udobra: no such column: name_udobra."));
}

TEST_F(StartupTest, TheProgramReturnsOneWhenStartUpFails)
{
    ASSERT_TRUE(QFile::remove(base.basePath()));
    boxes.expect(BoxButton::Ok);
    boxes.expect(BoxButton::Ok);
    bool windowShown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { windowShown |= Form1 && Form1->isVisible(); });
    watch.start(0);
    EXPECT_EQ(RunProgram(*qApp), StartupFailedExitCode);
    EXPECT_NE(StartupFailedExitCode, 0);
    EXPECT_FALSE(windowShown);
    EXPECT_EQ(boxes.count(), 2);
    EXPECT_TRUE(dirEntries().isEmpty());
}

TEST_F(StartupTest, TheProgramReturnsZeroAfterTheMainWindowCloses)
{
    bool shownWhenClosed = false;
    QTimer::singleShot(0, [&] {
        ensureLayoutSplitters();
        shownWhenClosed = Form1->isVisible();
        Form1->close();
    });
    // The splitters are stood in only once the windows exist, so this first load may report
    // their absence; the layout is not what this test is about.
    boxes.expect(BoxButton::Ok);
    EXPECT_EQ(RunProgram(*qApp), 0);
    EXPECT_TRUE(shownWhenClosed);
    EXPECT_EQ(Form1, nullptr) << "the windows are gone with the program";
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Vernolat"));
    // The installed desktop entry's name: the desktop finds the menu entry and icon by it.
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("org.vernolat.Vernolat"));
}

// The session ending (SIGTERM) or Ctrl+C (SIGINT) ends the program through the main window's
// close path, and the signals get their own dispositions back with the program's end.
TEST_F(StartupTest, ATerminationSignalClosesTheMainWindowAndTheProgramReturnsZero)
{
    for (const int sig : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(sig);
        bool shownWhenSignalled = false;
        bool closedAtTheEnd = false;
        QTimer::singleShot(0, [&] {
            ensureLayoutSplitters();
            shownWhenSignalled = Form1->isVisible();
            std::raise(sig); // without a handler this ends the test binary
        });
        const auto atEnd = QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&] {
            closedAtTheEnd = !Form1->isVisible() && !Form1->data().ADOConnection1.isConnected();
        });
        boxes.expect(BoxButton::Ok); // the first load, before the stand-in splitters exist
        EXPECT_EQ(RunProgram(*qApp), 0);
        QObject::disconnect(atEnd);
        EXPECT_TRUE(shownWhenSignalled);
        EXPECT_TRUE(closedAtTheEnd) << "FormClose ran: window hidden, database closed";
        struct sigaction now = {};
        ASSERT_EQ(::sigaction(sig, nullptr, &now), 0);
        EXPECT_EQ(now.sa_handler, SIG_DFL);
    }
}

// Tables of our own that no upgrade can mend: the calculator opens all the same, one box names
// the fault in Russian, the additions say it again when asked for, and nothing of the fault is
// changed in the file.
TEST_F(StartupTest, BrokenTablesOfOurOwnSwitchOffOnlyTheAdditions)
{
    const struct
    {
        const char *name;
        const char *breakIt;
        const char *said;
    } cases[] = {
        {"a second properties row without the unique index",
         "DROP INDEX t_svoistva_udobra_id_udobra; INSERT INTO t_svoistva_udobra (id_udobra, bak) "
         "SELECT id_udobra, 0 FROM t_udobra WHERE name_udobra = 'Кальциевая селитра'",
         "в таблице свойств удобрений две строки для «Кальциевая селитра»"},
        {"the index under our name but not unique, and three rows",
         "DROP INDEX t_svoistva_udobra_id_udobra; "
         "CREATE INDEX t_svoistva_udobra_id_udobra ON t_svoistva_udobra (id_udobra); "
         "INSERT INTO t_svoistva_udobra (id_udobra, bak) SELECT id_udobra, 0 FROM t_udobra "
         "WHERE name_udobra = 'Калиевая селитра'; "
         "INSERT INTO t_svoistva_udobra (id_udobra, bak) SELECT id_udobra, 0 FROM t_udobra "
         "WHERE name_udobra = 'Калиевая селитра'",
         "в таблице свойств удобрений 3 строки для «Калиевая селитра»"},
        {"two properties rows for one crop, the index gone",
         "DROP INDEX t_svoistva_kult_id_kult; DELETE FROM t_svoistva_kult WHERE id_kult = 1; "
         "INSERT INTO t_svoistva_kult (id_kult) VALUES (1); INSERT INTO t_svoistva_kult (id_kult) VALUES (1)",
         "в таблице свойств культур две строки для «Томат, минвата»"},
        {"a properties table without its key",
         "DROP TABLE t_svoistva_udobra; CREATE TABLE t_svoistva_udobra (id_udobra INTEGER, "
         "rastvorimost REAL, cena REAL, bak INTEGER); INSERT INTO t_svoistva_udobra VALUES (1, 2, 3, 0)",
         "в таблице свойств удобрений нет ключевого поля id_svoistva"},
        {"a view in place of the analyses",
         "DROP TABLE t_voda; CREATE VIEW t_voda AS SELECT 1 AS id_voda",
         "в базе «t_voda» — не таблица, а представление"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FreshBase fresh;
        sqlOnBase(QString::fromUtf8(c.breakIt));
        boxes.clear();
        boxes.expect(BoxButton::Ok);
        create();
        ShowMainWindow();
        EXPECT_TRUE(Form1->isVisible());
        ASSERT_EQ(boxes.count(), 1);
        const QString said = QStringLiteral("Подбор, анализы воды и баки отключены: %1.").arg(QString::fromUtf8(c.said));
        EXPECT_EQ(boxes.last().text, said);
        EXPECT_EQ(boxes.last().icon, BoxIcon::Error);
        DataModules &d = Form1->data();
        EXPECT_TRUE(d.form4.T_rachet.isActive()) << "the calculator works";
        EXPECT_FALSE(d.own.T_SVOISTVA.isActive());
        // The database cycle does not say it again; the additions do, when asked for.
        EXPECT_TRUE(DatabaseCycle());
        EXPECT_EQ(boxes.count(), 1);
        Form4->show();
        boxes.expect(BoxButton::Ok);
        QTest::mouseClick(Form4->findChild<QPushButton *>(QStringLiteral("ButtonStock")), Qt::LeftButton);
        ASSERT_EQ(boxes.count(), 2);
        EXPECT_EQ(boxes.last().text, said);
        Form1->close();
        DestroyWindows();
        Connection check(fresh.basePath());
        EXPECT_NO_THROW(check.connect());
        EXPECT_EQ(check.ownTablesProblem(), QString::fromUtf8(c.said)) << "and nothing of it changed";
    }
}

// A base the calculator cannot use is left byte for byte as it was: no WAL switch first.
TEST_F(StartupTest, ARefusedBaseKeepsItsJournalMode)
{
    sqlOnBase(QStringLiteral("PRAGMA journal_mode=DELETE"));
    sqlOnBase(QStringLiteral("DROP TABLE t_opt"));
    const QByteArray before = fileBytes(base.basePath());
    expectStartupEndsWithTwoBoxes(boxes);
    EXPECT_EQ(fileBytes(base.basePath()), before);
}

// A base on a network share: the grower is told once that sharing it between workplaces is
// not safe, and the program works on.
TEST_F(StartupTest, ABaseOnANetworkShareIsToldOnce)
{
    create();
    // Opened again with the type given: creating the windows has opened the base already.
    CloseDatabase();
    Form1->data().ADOConnection1.setFileSystemTypeReader([](const QString &) { return qint64(0x6969); });
    boxes.expect(BoxButton::Ok);
    ShowMainWindow();
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.last().text,
              QStringLiteral("База лежит в сетевой папке. Работать с одной базой с нескольких рабочих "
                             "мест по сети небезопасно: записи одного места могут испортить записи "
                             "другого."));
    EXPECT_EQ(boxes.last().icon, BoxIcon::Error);
    EXPECT_TRUE(Form1->data().ADOConnection1.onNetworkShare());
    EXPECT_TRUE(DatabaseCycle());
    EXPECT_EQ(boxes.count(), 1) << "once";
    EXPECT_TRUE(Form1->data().form4.T_rachet.isActive());
}

} // namespace
