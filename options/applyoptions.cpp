#include "applyoptions.h"

#include "controlcolour.h"
#include "tform18.h"

#include "app/globals.h"
#include "app/tform1.h"
#include "calculator/tform4.h"
#include "data/dataset.h"
#include "ui/color/colorpicker.h"
#include "ui/grid/datagridcolumn.h"

#include <QAbstractSlider>
#include <QWidget>

namespace {

struct Recolour
{
    const char *control;
    int picker;
};

// The order in which the controls take their colours.
constexpr Recolour Recolours[] = {
    {"dxDBGrid4kol", 2},       {"dxDBGrid4Column3", 3},   {"dxDBGrid4Column5", 5},
    {"dxDBSpinEdit1", 5},      {"dxDBGrid3name_el", 6},   {"dxDBGrid3vega", 7},
    {"dxDBGrid3cvet", 8},      {"dxDBGrid3rachet", 9},    {"dxDBGrid3vaga_calc", 11},
    {"dxDBGrid3cvet_calc", 12}, {"dxDBGrid3Column11", 13}, {"dxDBGrid3Column12", 14},
    {"dxDBGrid2Column3", 1},   {"dxDBGrid4Column4", 4},   {"dxDBGrid3Column10", 10},
    {"Label11", 1},            {"Label13", 1},            {"RxSlider1", 1},
    {"Panel12", 1},            {"Label10", 9},            {"Label4", 9},
    {"Label5", 7},             {"Label9", 8},
};

struct Shown
{
    const char *field;
    const char *column;
};

// The order in which the columns are shown or hidden.
constexpr Shown ShownColumns[] = {
    {"c11", "dxDBGrid2Column3"},  {"c21", "dxDBGrid4kol"},       {"c22", "dxDBGrid4Column3"},
    {"c23", "dxDBGrid4Column4"},  {"c24", "dxDBGrid4Column5"},   {"c31", "dxDBGrid3name_el"},
    {"c32", "dxDBGrid3vega"},     {"c33", "dxDBGrid3cvet"},      {"c34", "dxDBGrid3rachet"},
    {"c35", "dxDBGrid3Column10"}, {"c36", "dxDBGrid3vaga_calc"}, {"c37", "dxDBGrid3cvet_calc"},
    {"c38", "dxDBGrid3Column11"}, {"c39", "dxDBGrid3Column12"},
};

struct Switched
{
    const char *field;
    const char *control;
};

constexpr Switched SwitchedControls[] = {
    {"ppm2", "Panel13"},
    {"ppm1", "Panel9"},
    {"kult", "dxDBGrid6"},
    {"kult", "Panel11"},
};

QString name(const char *s)
{
    return QString::fromLatin1(s);
}

QObject *calculatorControl(const char *control)
{
    if (!Form4)
        return nullptr;
    return Form4->findChild<QObject *>(name(control));
}

void setShown(QObject *control, bool shown)
{
    if (auto *column = qobject_cast<DataGridColumn *>(control))
        column->setVisible(shown);
    else if (auto *widget = qobject_cast<QWidget *>(control))
        widget->setVisible(shown);
}

} // namespace

void ApplyOptions()
{
    if (!Form18)
        return;
    Dataset &row = Form18->ADOTable1();

    for (int n = 1; n <= TForm18::PickerCount; ++n)
        Form18->picker(n)->setColorValue(row.asInteger(QStringLiteral("cl%1").arg(n)));

    for (const Recolour &r : Recolours) {
        if (QObject *control = calculatorControl(r.control))
            setControlColour(control, Form18->picker(r.picker)->colorValue());
    }

    for (const Switched &s : SwitchedControls)
        setShown(calculatorControl(s.control), row.asBoolean(name(s.field)));

    if (auto *slider = qobject_cast<QAbstractSlider *>(calculatorControl("RxSlider1"))) {
        const int maximum = row.asInteger(QStringLiteral("maxim"));
        // Lowering the maximum under the value moves the value, and the slider's own change
        // handling follows.
        if (maximum > slider->minimum())
            slider->setMaximum(maximum);
    }

    if (Form1)
        Form1->setTimer1Enabled(row.asBoolean(QStringLiteral("avto")));

    for (const Shown &s : ShownColumns)
        setShown(calculatorControl(s.column), row.asBoolean(name(s.field)));
}
