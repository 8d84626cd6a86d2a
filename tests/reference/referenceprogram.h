#pragma once

#include "app/globals.h"
#include "app/startup.h"
#include "app/tform1.h"
#include "data/connection.h"
#include "data/dataset.h"
#include "data/textconv.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/datagridcolumn.h"
#include "ui/grid/navbar.h"

#include "support/boxrecorder.h"
#include "support/freshbase.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <initializer_list>

// The whole program on a fresh default base, started as main starts it; the reference windows
// are shown on demand and driven through their controls.
class ReferenceProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateWindows());
        ShowMainWindow();
        ASSERT_EQ(boxes.count(), 0) << boxes.last().text.toStdString();
    }

    void TearDown() override { DestroyWindows(); }

    DataModules &data() { return Form1->data(); }

    static void showWindow(QWidget *window)
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    template<typename T = QWidget>
    static T *control(QWidget *window, const char *name)
    {
        T *found = window->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name << " not in " << window->objectName().toStdString();
        return found;
    }

    static void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }

    static void press(QWidget *window, const char *bar, NavButton which)
    {
        click(control<NavBar>(window, bar)->button(which));
    }

    static QModelIndex cell(DataGrid *g, int row, const char *column)
    {
        return g->model()->index(row, g->sectionOf(g->column(QString::fromLatin1(column))));
    }

    static void clickCell(DataGrid *g, int row, const char *column)
    {
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(cell(g, row, column)).center());
    }

    static void clickHeader(DataGrid *g, int section)
    {
        QHeaderView *h = g->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(section) + h->sectionSize(section) / 2,
                                 h->height() / 2));
    }

    // Opens the cell's editor by a double-click and returns it.
    template<typename T = QWidget>
    static T *openEditor(DataGrid *g, int row, const char *column)
    {
        clickCell(g, row, column);
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(cell(g, row, column)).center());
        return qobject_cast<T *>(g->indexWidget(cell(g, row, column)));
    }

    // Key by key; letters outside ASCII come as a keyboard layout that has them sends them.
    static void typeText(QWidget *widget, const QString &text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(widget, char(c.unicode()));
            } else {
                QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), {});
                QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), {});
            }
        }
    }

    // Replaces what the editor holds and presses Enter; the view stores the value from its queue.
    static void typeAndEnter(QWidget *editor, const QString &text)
    {
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Delete);
        typeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    // A value as the file holds it now, past every dataset's snapshot.
    static QVariant stored(const char *sql, std::initializer_list<QVariant> values = {})
    {
        Connection c;
        Connection::Statement st(c, QString::fromUtf8(sql));
        int i = 1;
        for (const QVariant &v : values)
            st.bind(i++, v);
        return st.step() ? st.column(0) : QVariant();
    }

    static void exec(const char *sql, std::initializer_list<QVariant> values = {})
    {
        stored(sql, values);
    }

    static QStringList column(const Dataset &ds, const char *field)
    {
        QStringList out;
        for (int r = 0; r < ds.recordCount(); ++r)
            out.append(ds.valueAt(r, QString::fromLatin1(field)).toString());
        return out;
    }

    FreshBase base;
    BoxRecorder boxes;
};
