#pragma once

#include "app/globals.h"
#include "app/startup.h"
#include "app/tform1.h"
#include "calculator/tform4.h"
#include "data/apperror.h"
#include "data/connection.h"
#include "data/datamodules.h"
#include "data/textconv.h"
#include "support/boxrecorder.h"
#include "support/freshbase.h"
#include "support/readmerecipe.h"
#include "ui/grid/bindingmodel.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/datagridcolumn.h"
#include "ui/grid/decimalspinbox.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <ostream>

// Failures print texts as texts.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}


// The whole program as start-up builds it, on a fresh copy of the default base with the test
// crops (testcrops.h): every window created, the main window shown (which opens the database
// and applies the options), and the calculator shown. Tests drive the calculator through its
// controls, found by name.
class CalculatorTest : public ::testing::Test
{
protected:
    explicit CalculatorTest(FreshBase::Crops crops = FreshBase::Crops::Test) : base(crops) {}

    void SetUp() override
    {
        ASSERT_TRUE(CreateWindows());
        ShowMainWindow();
        ASSERT_TRUE(data().form4.T_rachet.isActive()) << "the main window opened the database";
        Form4->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form4));
    }

    void TearDown() override { DestroyWindows(); }

    static DataModules &data() { return Form1->data(); }
    static Form4Data &f4() { return data().form4; }

    template<typename T>
    static T *find(const QString &name)
    {
        T *control = Form4->findChild<T *>(name);
        EXPECT_NE(control, nullptr) << "no control " << name.toStdString();
        return control;
    }

    static DataGrid *grid(const char *name) { return find<DataGrid>(QString::fromLatin1(name)); }
    static QString labelText(const char *name)
    {
        QLabel *l = find<QLabel>(QString::fromLatin1(name));
        return l ? l->text() : QString();
    }
    static QString caption(const char *column)
    {
        auto *c = find<DataGridColumn>(QString::fromLatin1(column));
        return c ? c->headerText() : QString();
    }

    static QModelIndex index(DataGrid *g, int row, const char *column)
    {
        return g->model()->index(row, g->sectionOf(g->column(QString::fromLatin1(column))));
    }

    // What a cell shows.
    static QString cell(DataGrid *g, int row, const char *column)
    {
        return index(g, row, column).data(Qt::DisplayRole).toString();
    }

    // The first row whose cell in `column` shows `text`; -1 when none.
    static int rowOf(DataGrid *g, const char *column, const QString &text)
    {
        for (int r = 0; r < g->model()->rowCount(); ++r) {
            if (cell(g, r, column) == text)
                return r;
        }
        return -1;
    }

    static QStringList columnTexts(DataGrid *g, const char *column)
    {
        QStringList out;
        for (int r = 0; r < g->model()->rowCount(); ++r)
            out.append(cell(g, r, column));
        return out;
    }

    // Types text key by key, Cyrillic included.
    static void typeText(QWidget *w, const QString &text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    static void clickCell(DataGrid *g, int row, const char *column)
    {
        const QModelIndex i = index(g, row, column);
        g->scrollTo(i);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(i).center());
    }

    static void doubleClickCell(DataGrid *g, int row, const char *column)
    {
        const QModelIndex i = index(g, row, column);
        g->scrollTo(i);
        const QPoint at = g->visualRect(i).center();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, at);
    }

    static void clickHeader(DataGrid *g, const char *column)
    {
        QHeaderView *h = g->horizontalHeader();
        const int section = g->sectionOf(g->column(QString::fromLatin1(column)));
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(section) + 5, h->height() / 2));
    }

    static void press(const char *button)
    {
        auto *b = find<QPushButton>(QString::fromLatin1(button));
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton);
    }

    // Clicks the fertilizer in the calculator's list.
    static void selectFertilizer(const QString &name)
    {
        DataGrid *list = grid("dxDBGrid1");
        const int row = rowOf(list, "dxDBGrid1name_udobra", name);
        ASSERT_GE(row, 0) << "no fertilizer " << name.toStdString();
        clickCell(list, row, "dxDBGrid1name_udobra");
    }

    static void addFertilizer(const QString &name)
    {
        selectFertilizer(name);
        press("Button1");
    }

    // Opens the cell's editor, as a double-click does, and returns it when it is a spin editor.
    static DecimalSpinBox *openSpinEditor(DataGrid *g, int row, const char *column)
    {
        const QModelIndex i = index(g, row, column);
        g->setCurrentIndex(i);
        g->edit(i);
        return qobject_cast<DecimalSpinBox *>(g->indexWidget(i));
    }

    // The README's recipe in the working composition, on the selected crop.
    static void typeReadmeRecipe()
    {
        for (const ReadmeRecipe::Amount &a : ReadmeRecipe::amounts())
            addFertilizer(a.fertilizer);
        for (const ReadmeRecipe::Amount &a : ReadmeRecipe::amounts())
            typeAmount(a.fertilizer, QString::fromLatin1(a.grams).replace(u'.', systemDecimalSeparator()));
    }

    // Types an amount into the composition row of the fertilizer and leaves the editor with
    // Enter, as a grower does.
    static void typeAmount(const QString &fertilizer, const QString &amount)
    {
        DataGrid *g = grid("dxDBGrid2");
        const int row = rowOf(g, "dxDBGrid2Column1", fertilizer);
        ASSERT_GE(row, 0) << fertilizer.toStdString() << " is not in the composition";
        DecimalSpinBox *spin = openSpinEditor(g, row, "dxDBGrid2Column2");
        ASSERT_NE(spin, nullptr);
        spin->selectAll();
        QTest::keyClicks(spin, amount);
        QTest::keyClick(spin, Qt::Key_Return);
    }

    // The recalculation timer, set so that it never ticks by itself while a test runs: its
    // ticks come from tick() alone, whatever the clock and the machine's load.
    static QTimer *recalculationTimer()
    {
        auto *timer = find<QTimer>(QStringLiteral("Timer1"));
        if (timer)
            timer->setInterval(24 * 60 * 60 * 1000);
        return timer;
    }

    // The timer's tick, delivered now.
    static void tick(QTimer *timer)
    {
        ASSERT_NE(timer, nullptr);
        ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
    }

    // Clicks the crop in the crop grid.
    static void selectCrop(const QString &name)
    {
        DataGrid *crops = grid("dxDBGrid6");
        const int row = rowOf(crops, "dxDBGrid6name_kult", name);
        ASSERT_GE(row, 0) << "no crop " << name.toStdString();
        clickCell(crops, row, "dxDBGrid6name_kult");
    }

    // A number straight from the file, past every dataset's snapshot.
    static QVariant stored(const char *sql)
    {
        Connection c(QStringLiteral("base.mdb"));
        Connection::Statement st(c, QString::fromUtf8(sql));
        return st.step() ? st.column(0) : QVariant();
    }

    FreshBase base;
    BoxRecorder boxes;
};
