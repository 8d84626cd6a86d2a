#pragma once

#include "app/globals.h"
#include "app/startup.h"
#include "app/tform1.h"
#include "calculator/tform4.h"
#include "data/dataset.h"
#include "options/tform18.h"
#include "ui/color/colorpicker.h"
#include "ui/color/wincolor.h"
#include "ui/grid/datagridcolumn.h"

#include "support/boxrecorder.h"
#include "support/freshbase.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

// The whole program on a fresh default base, started as main starts it: every window created,
// the main window shown (the database opened, the options applied). The options window is
// shown on demand.
class OptionsProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateWindows());
        ShowMainWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
        ASSERT_EQ(boxes.count(), 0) << boxes.last().text.toStdString();
    }

    void TearDown() override
    {
        ColorPicker::setDialogHook({});
        DestroyWindows();
    }

    Dataset &options() { return Form18->ADOTable1(); }

    // Writes values into the stored options row, as another run of the program would have.
    void storeOptions(std::initializer_list<std::pair<const char *, QVariant>> values)
    {
        Dataset &row = options();
        row.edit();
        for (const auto &[field, value] : values)
            row.setValue(QString::fromLatin1(field), value);
        row.post();
    }

    // The options row as the file holds it now.
    void rereadOptions()
    {
        options().close();
        options().open();
    }

    void showOptions()
    {
        Form18->show();
        Form18->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form18));
    }

    template<typename T = QWidget>
    static T *optionsControl(const QString &name)
    {
        return Form18->findChild<T *>(name);
    }

    template<typename T = QObject>
    static T *calculatorControl(const QString &name)
    {
        return Form4->findChild<T *>(name);
    }

    static ColorPicker *picker(int n)
    {
        return optionsControl<ColorPicker>(QStringLiteral("RzColorComboBox%1").arg(n));
    }

    static QColor colour(int winColour) { return WinColor::toQColor(winColour); }

    // The background a control shows: a column's cells, an editor's text field, a widget's fill.
    static QColor background(QObject *control)
    {
        if (auto *column = qobject_cast<DataGridColumn *>(control))
            return column->colour();
        auto *widget = qobject_cast<QWidget *>(control);
        if (!widget)
            return {};
        if (qobject_cast<QAbstractSpinBox *>(widget) || qobject_cast<QLineEdit *>(widget))
            return widget->palette().color(QPalette::Base);
        if (!widget->autoFillBackground())
            return {};
        return widget->palette().color(widget->backgroundRole());
    }

    // Picks an entry of a picker's list with the keyboard, as the grower would.
    static void pickEntry(ColorPicker *p, int index)
    {
        p->showPopup();
        QAbstractItemView *view = p->view();
        ASSERT_TRUE(view->isVisible());
        view->setCurrentIndex(p->model()->index(index, 0));
        QTest::keyClick(view, Qt::Key_Return);
        ASSERT_FALSE(view->isVisible());
    }

    // Picks a colour of no list entry: the custom entry, answered in the colour dialog.
    static void pickCustom(ColorPicker *p, const QColor &picked)
    {
        ColorPicker::setDialogHook(
            [picked](const QColor &, QWidget *) { return std::optional<QColor>(picked); });
        pickEntry(p, p->customIndex());
    }

    static void clickApply()
    {
        auto *apply = optionsControl<QAbstractButton>(QStringLiteral("Button1"));
        ASSERT_NE(apply, nullptr);
        QTest::mouseClick(apply, Qt::LeftButton);
    }

    FreshBase base;
    BoxRecorder boxes;
};
