#include "applyoptions.h"

#include "controlcolour.h"
#include "tform18.h"

#include "data/apperror.h"
#include "data/dataset.h"
#include "data/fields.h"
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
    int column; // the field Fields::c(column)
    const char *control;
};

// The order in which the columns are shown or hidden.
constexpr Shown ShownColumns[] = {
    {11, "dxDBGrid2Column3"},  {21, "dxDBGrid4kol"},       {22, "dxDBGrid4Column3"},
    {23, "dxDBGrid4Column4"},  {24, "dxDBGrid4Column5"},   {31, "dxDBGrid3name_el"},
    {32, "dxDBGrid3vega"},     {33, "dxDBGrid3cvet"},      {34, "dxDBGrid3rachet"},
    {35, "dxDBGrid3Column10"}, {36, "dxDBGrid3vaga_calc"}, {37, "dxDBGrid3cvet_calc"},
    {38, "dxDBGrid3Column11"}, {39, "dxDBGrid3Column12"},
};

struct Switched
{
    const QString &field;
    const char *control;
};

const Switched SwitchedControls[] = {
    {Fields::ppm2, "Panel13"},
    {Fields::ppm1, "Panel9"},
    {Fields::kult, "dxDBGrid6"},
    {Fields::kult, "Panel11"},
};

constexpr char Slider[] = "RxSlider1";

QString name(const char *s)
{
    return QString::fromLatin1(s);
}

QObject &control(QWidget &calculator, const char *controlName)
{
    QObject *found = calculator.findChild<QObject *>(name(controlName));
    if (!found)
        throw AppError(QStringLiteral("The calculator has no control %1").arg(name(controlName)));
    return *found;
}

void setShown(QObject &control, bool shown)
{
    if (auto *column = qobject_cast<DataGridColumn *>(&control))
        column->setVisible(shown);
    else if (auto *widget = qobject_cast<QWidget *>(&control))
        widget->setVisible(shown);
}

} // namespace

void applyOptions(TForm18 &options, const OptionsTargets &targets)
{
    Dataset &row = options.ADOTable1();
    QWidget *calculator = targets.calculator;

    for (int n = 1; n <= TForm18::PickerCount; ++n)
        options.picker(n)->setColorValue(row.asInteger(Fields::cl(n)));

    if (calculator) {
        for (const Recolour &r : Recolours)
            setControlColour(&control(*calculator, r.control), options.picker(r.picker)->colorValue());

        for (const Switched &s : SwitchedControls)
            setShown(control(*calculator, s.control), row.asBoolean(s.field));

        if (auto *slider = qobject_cast<QAbstractSlider *>(&control(*calculator, Slider))) {
            const int maximum = row.asInteger(Fields::maxim);
            // Lowering the maximum under the value moves the value, and the slider's own change
            // handling follows.
            if (maximum > slider->minimum())
                slider->setMaximum(maximum);
        }
    }

    if (targets.setAutostart)
        targets.setAutostart(row.asBoolean(Fields::avto));

    if (calculator) {
        for (const Shown &s : ShownColumns)
            setShown(control(*calculator, s.control), row.asBoolean(Fields::c(s.column)));
    }
}

QStringList governedControls()
{
    QStringList names;
    for (const Recolour &r : Recolours)
        names.append(name(r.control));
    for (const Switched &s : SwitchedControls)
        names.append(name(s.control));
    names.append(name(Slider));
    for (const Shown &s : ShownColumns)
        names.append(name(s.control));
    names.removeDuplicates();
    return names;
}
