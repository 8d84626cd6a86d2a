#include "samplesheets.h"

namespace {

WorksheetFont font(const char *name, double size, bool bold = false, bool italic = false,
                   bool underline = false, bool strikeOut = false)
{
    return {QString::fromUtf8(name), size, bold, italic, underline, strikeOut};
}

WorksheetColumn column(const char *caption, WorksheetFont f, WorksheetAlignment alignment,
                       int width, WorksheetCellKind kind)
{
    return {QString::fromUtf8(caption), std::move(f), alignment, width, kind};
}

// Every entry distinct, so a swapped palette slot shows in the read-back.
WorksheetPalette palette()
{
    WorksheetPalette p;
    p.headerText = WorksheetColour::fromRgb(0x101010);
    p.header = WorksheetColour::fromRgb(0xD4D0C8);
    p.groupRowText = WorksheetColour::fromRgb(0x202020);
    p.groupRow = WorksheetColour::fromRgb(0xC0C0C0);
    p.text = WorksheetColour::fromRgb(0x000080);
    p.background = WorksheetColour::fromRgb(0xFFFFE1);
    p.windowFrame = WorksheetColour::fromRgb(0x646464);
    p.window = WorksheetColour::fromRgb(0xFFFFFF);
    p.bandText = WorksheetColour::fromRgb(0x303030);
    p.band = WorksheetColour::fromRgb(0xB0B0B0);
    p.rowFooterText = WorksheetColour::fromRgb(0x404040);
    p.rowFooter = WorksheetColour::fromRgb(0xA0A0A0);
    p.gridLine = WorksheetColour::fromRgb(0x808080);
    return p;
}

QString text(const char *s)
{
    return QString::fromUtf8(s);
}

} // namespace

namespace SampleSheets {

WorksheetDescription composition()
{
    using enum WorksheetAlignment;
    using enum WorksheetCellKind;
    WorksheetDescription d;
    d.palette = palette();
    d.gridFont = font("MS Sans Serif", 8);
    d.headerFont = font("MS Sans Serif", 8, true);
    d.bandFont = font("Tahoma", 9, false, true);
    const WorksheetFont grid = d.gridFont;
    d.columns = {
        column("Название", font("Arial", 10, true), FieldDefault, 150, Text),
        column("Кол-во г/л.", grid, Right, 80, Number),
        column("Кол-во г/1л.", font("Times New Roman", 12, false, true, true, true), FieldDefault,
               85, Number),
        column("Кол-во от % ", grid, Centre, 90, Number),
        column("Кол-во % на л.", grid, Left, 100, Number),
    };
    d.showGridLines = true;
    return d;
}

QList<WorksheetRow> compositionRows()
{
    return {
        {text("Кальциевая селитра"), 1.0, 2.3333333333333335, 0.8, 1.8666666666666667},
        {text("Калийная селитра"), 0.5, 1.1666666666666667, 0.4, 0.9333333333333333},
        {text("Сульфат магния"), 0.0, 0.0, 0.0, 0.0},
        {text(""), 12.25, -0.000015, 1e15, 123456789.125},
    };
}

WorksheetDescription concentration()
{
    using enum WorksheetAlignment;
    using enum WorksheetCellKind;
    WorksheetDescription d;
    d.palette = palette();
    d.palette.rowFooter = {}; // a colour set to none
    d.gridFont = font("MS Sans Serif", 8);
    d.headerFont = font("Arial", 9, true);
    d.bandFont = font("MS Sans Serif", 8);
    const WorksheetFont grid = d.gridFont;
    d.columns = {column("Элемент", grid, FieldDefault, 60, Text)};
    const char *const captions[] = {"Вега100%", "Цвет100%", "Расчёт", "Расчёт от %",
                                    "В100%", "Ц100%", "+-Веги", "+-Цвета"};
    for (const char *caption : captions)
        d.columns.append(column(caption, grid, FieldDefault, 70, Number));
    d.showGridLines = false;
    return d;
}

QList<WorksheetRow> concentrationRows()
{
    return {
        {text("N"), 200.0, 180.0, 2.3333333333333335, 2.3333333333333335, 200.0, 180.0,
         -197.6666666666667, -177.6666666666667},
        {text("Ca"), 170.0, 190.0, 0.0, 0.0, 170.0, 190.0, -170.0, -190.0},
        {text("Mg"), 50.5, 60.25, 48.6, 48.6, 50.5, 60.25, -1.9, -11.65},
    };
}

} // namespace SampleSheets
