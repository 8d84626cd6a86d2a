#pragma once

#include "goldenfile.h"

#include "app/globals.h"
#include "app/startup.h"
#include "app/tform1.h"
#include "calculator/tform4.h"
#include "data/apperror.h"
#include "data/connection.h"
#include "reference/tform2.h"
#include "reference/tform3.h"
#include "support/boxrecorder.h"
#include "support/freshbase.h"
#include "ui/splitter.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

// Gives the real windows the splitters the layout file reads and writes, where a window does
// not carry its own yet; a window that has one keeps it.
inline void ensureLayoutSplitters()
{
    const auto ensure = [](QWidget *window, int n, int position) {
        const QString name = QStringLiteral("RzSplitter%1").arg(n);
        if (window->findChild<Splitter *>(name))
            return;
        auto *s = new Splitter(name, n == 1 ? Qt::Horizontal : Qt::Vertical, 4, position, window);
        s->addWidget(new QWidget);
        s->addWidget(new QWidget);
        s->setStretchFactor(1, 1);
        s->setGeometry(0, 0, 900, 700);
    };
    ensure(Form2, 1, 230);
    const int positions[] = {577, 355, 258, 307, 416};
    for (int n = 1; n <= 5; ++n)
        ensure(Form4, n, positions[n - 1]);
}

// One statement on a connection of the test's own, before the program opens the base.
inline void sqlOnBase(const QString &statement)
{
    Connection c(QStringLiteral("base.mdb"));
    try {
        c.exec(statement);
    } catch (const AppError &e) {
        ADD_FAILURE() << statement.toStdString() << ": " << e.text().toStdString();
    }
}

inline QList<Dataset *> allDatasets()
{
    DataModules &d = Form1->data();
    return {&d.form18.ADOTable1, &d.form4.T_rachet, &d.form4.T_SOS, &d.form4.T_HEAD_RAR,
            &d.form4.T_save_rar, &d.form4.T_el, &d.form3.T_Element, &d.form3.T_KOF,
            &d.form2.T_Udobra, &d.form2.T_Sostav_Udobra, &d.form4.ADOTable3, &d.form4.ADOTable2,
            &d.own.T_voda, &d.own.T_sostav_vody, &d.own.T_SVOISTVA};
}

// The main window's autostart timer, checked for its built interval and then set so that it
// never ticks by itself while a test runs: its tick comes from tickTimer() alone, whatever the
// clock and the machine's load.
inline QTimer *autostartTimer()
{
    auto *timer = Form1->findChild<QTimer *>(QStringLiteral("Timer1"), Qt::FindDirectChildrenOnly);
    EXPECT_NE(timer, nullptr);
    if (!timer)
        return nullptr;
    EXPECT_EQ(timer->interval(), 100);
    EXPECT_TRUE(timer->isSingleShot());
    timer->setInterval(24 * 60 * 60 * 1000);
    return timer;
}

// A timer's tick, delivered now.
inline void tickTimer(QTimer *timer)
{
    ASSERT_NE(timer, nullptr);
    ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
}

// A fresh base in a temporary working directory and the program's windows made from it, as
// start-up makes them; destroyed after the test.
class AppWindowsTest : public ::testing::Test
{
protected:
    void TearDown() override { DestroyWindows(); }

    // Creates the windows; the main window is not shown yet.
    void create()
    {
        ASSERT_TRUE(CreateWindows());
        ensureLayoutSplitters();
    }

    // The start-up up to the main window shown.
    void start()
    {
        create();
        ShowMainWindow();
    }

    FreshBase base;
    BoxRecorder boxes;
};
