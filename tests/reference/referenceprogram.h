#pragma once

#include "app/globals.h"
#include "app/startup.h"
#include "app/tform1.h"
#include "data/apperror.h"
#include "data/connection.h"
#include "data/dataset.h"
#include "data/datamodules.h"
#include "data/textconv.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/datagridcolumn.h"
#include "ui/grid/navbar.h"

#include "support/boxrecorder.h"
#include "support/freshbase.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <initializer_list>

// The whole program on a fresh default base, started as main starts it: every window created,
// the main window shown (the database opened). Reference windows are shown on demand.
class ReferenceProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateWindows());
        ShowMainWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
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
    static T *control(QWidget *window, const QString &name)
    {
        T *found = window->findChild<T *>(name);
        EXPECT_NE(found, nullptr) << name.toStdString() << " not found in "
                                  << window->objectName().toStdString();
        return found;
    }

    static DataGrid *grid(QWidget *window, const char *name)
    {
        return control<DataGrid>(window, QString::fromLatin1(name));
    }

    static QToolButton *navButton(QWidget *window, const char *bar, NavButton which)
    {
        return control<QToolButton>(window, QString::fromLatin1(bar) + NavBar::buttonName(which));
    }

    static void click(QWidget *widget)
    {
        QTest::mouseClick(widget, Qt::LeftButton);
    }

    static QModelIndex cell(DataGrid *g, int row, const char *column)
    {
        return g->model()->index(row, g->sectionOf(g->column(QString::fromLatin1(column))));
    }

    // A click on a cell, as the grower selects it.
    static void clickCell(DataGrid *g, int row, const char *column)
    {
        const QModelIndex index = cell(g, row, column);
        g->scrollTo(index);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(index).center());
    }

    static void clickHeader(DataGrid *g, const char *column)
    {
        QHeaderView *h = g->horizontalHeader();
        const int section = g->sectionOf(g->column(QString::fromLatin1(column)));
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(section) + h->sectionSize(section) / 2,
                                 h->height() / 2));
    }

    // Opens the cell's editor as a double-click does and returns it.
    template<typename T>
    static T *openEditor(DataGrid *g, int row, const char *column)
    {
        clickCell(g, row, column);
        const QModelIndex index = cell(g, row, column);
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(index).center());
        auto *editor = qobject_cast<T *>(g->indexWidget(index));
        EXPECT_NE(editor, nullptr) << "no editor on " << column;
        return editor;
    }

    // Types `text` key by key; letters outside ASCII come as the key events of a keyboard
    // layout that has them.
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

    // Replaces what the open editor holds with `text`, key by key, and presses Enter.
    static void typeAndEnter(QWidget *editor, const QString &text)
    {
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Delete);
        typeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The view stores and closes the editor from its event queue.
        QCoreApplication::processEvents();
    }

    // One value as the file holds it now, past every dataset's snapshot.
    static QVariant stored(const char *sql, std::initializer_list<QVariant> values = {})
    {
        Connection c(QStringLiteral("base.mdb"));
        Connection::Statement st(c, QString::fromUtf8(sql));
        int i = 1;
        for (const QVariant &v : values)
            st.bind(i++, v);
        return st.step() ? st.column(0) : QVariant();
    }

    static void execute(const char *sql, std::initializer_list<QVariant> values = {})
    {
        Connection c(QStringLiteral("base.mdb"));
        Connection::Statement st(c, QString::fromUtf8(sql));
        int i = 1;
        for (const QVariant &v : values)
            st.bind(i++, v);
        st.step();
    }

    // The texts a dataset holds in `field`, in the order it presents its rows.
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
