#include "gridexport.h"

#include "data/binding.h"
#include "data/csvtable.h"
#include "data/textconv.h"
#include "data/wholefile.h"
#include "data/dataset.h"
#include "export/xls/worksheetwriter.h"
#include "ui/color/wincolor.h"
#include "ui/grid/bindingmodel.h"
#include "ui/grid/datagrid.h"
#include "ui/grid/datagridcolumn.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>

namespace {

// A colour that is none (invalid or fully transparent) goes into the palette as 0.
WorksheetColour paletteColour(const QColor &colour)
{
    if (!colour.isValid() || colour.alpha() == 0)
        return {};
    return WorksheetColour::fromRgb(colour.rgb() & 0xFFFFFFu);
}

WorksheetFont worksheetFont(const QFont &font, const QWidget &widget)
{
    WorksheetFont f;
    f.name = font.family();
    f.pointSize = font.pointSizeF();
    if (f.pointSize <= 0)
        f.pointSize = font.pixelSize() * 72.0 / widget.logicalDpiY();
    f.bold = font.bold();
    f.italic = font.italic();
    f.underline = font.underline();
    f.strikeOut = font.strikeOut();
    return f;
}

// A column whose alignment was never set still has the one every DataGridColumn starts with; it
// takes its field's alignment in the worksheet.
Qt::Alignment unsetAlignment()
{
    static const Qt::Alignment initial = DataGridColumn(QString(), QString()).alignment();
    return initial;
}

WorksheetAlignment alignmentOf(const DataGridColumn &column)
{
    if (column.alignment() == unsetAlignment())
        return WorksheetAlignment::FieldDefault;
    const Qt::Alignment h = column.alignment() & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignHCenter)
        return WorksheetAlignment::Centre;
    if (h & (Qt::AlignRight | Qt::AlignTrailing))
        return WorksheetAlignment::Right;
    return WorksheetAlignment::Left;
}

WorksheetCellKind kindOf(const Dataset::Field &field)
{
    if (field.kind == FieldKind::Calculated)
        return WorksheetCellKind::Number;
    switch (field.type) {
    case FieldType::Double:
        return WorksheetCellKind::Number;
    case FieldType::Key:
    case FieldType::Int:
        return WorksheetCellKind::Integer;
    case FieldType::Text:
    case FieldType::Bool:
        break;
    }
    return WorksheetCellKind::Text;
}

// The grid's columns as shown, left to right, without the hidden ones.
QList<const DataGridColumn *> shownColumns(const DataGrid &grid)
{
    QList<const DataGridColumn *> out;
    const QHeaderView *header = grid.horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int section = header->logicalIndex(visual);
        const DataGridColumn *c = grid.bindingModel()->column(section);
        if (c && c->isVisible() && !grid.isColumnHidden(section))
            out.append(c);
    }
    return out;
}

QColor gridLineColour(const QTableView &grid)
{
    QStyleOptionViewItem option;
    option.initFrom(&grid);
    const int hint = grid.style()->styleHint(QStyle::SH_Table_GridLineColor, &option, &grid);
    return QColor::fromRgba(static_cast<QRgb>(hint));
}

// Holds the dataset and the grid still while the rows are read, and puts both back as they
// were however the writing ends.
class HeldGrid
{
public:
    explicit HeldGrid(DataGrid &grid)
        : m_grid(grid), m_dataset(*grid.binding()->dataset())
    {
    }
    HeldGrid(const HeldGrid &) = delete;
    HeldGrid &operator=(const HeldGrid &) = delete;

    ~HeldGrid()
    {
        if (!m_holding)
            return;
        try {
            m_dataset.gotoBookmark(m_row);
        } catch (...) {
            // The row is gone; the dataset stays where the export left it.
        }
        m_dataset.enableControls();
        m_grid.horizontalScrollBar()->setValue(m_horizontal);
        m_grid.verticalScrollBar()->setValue(m_vertical);
    }

    Dataset &hold()
    {
        if (!m_holding) {
            m_row = m_dataset.bookmark();
            m_horizontal = m_grid.horizontalScrollBar()->value();
            m_vertical = m_grid.verticalScrollBar()->value();
            m_dataset.disableControls();
            m_holding = true;
        }
        return m_dataset;
    }

private:
    DataGrid &m_grid;
    Dataset &m_dataset;
    bool m_holding = false;
    Bookmark m_row;
    int m_horizontal = 0;
    int m_vertical = 0;
};

} // namespace

namespace GridExport {

WorksheetDescription describeLook(const QTableView &grid, const QColor &background)
{
    const QHeaderView &header = *grid.horizontalHeader();
    const QPalette &cells = grid.palette();
    const QPalette &caption = header.palette();

    WorksheetDescription d;
    WorksheetPalette &p = d.palette;
    p.headerText = paletteColour(caption.color(QPalette::ButtonText));
    p.header = paletteColour(caption.color(QPalette::Button));
    // The grid draws no group rows, bands or row footers; they would wear the header's face.
    p.groupRowText = p.headerText;
    p.groupRow = p.header;
    p.text = paletteColour(cells.color(QPalette::Text));
    p.background = paletteColour(background);
    // The system's own colours, not the grid's: its background has taken the window role.
    p.windowFrame = paletteColour(WinColor::toQColor(WinColor::clWindowFrame));
    p.window = paletteColour(WinColor::toQColor(WinColor::clWindow));
    p.bandText = p.headerText;
    p.band = p.header;
    p.rowFooterText = p.headerText;
    p.rowFooter = p.header;
    p.gridLine = paletteColour(gridLineColour(grid));
    d.showGridLines = grid.showGrid();

    d.gridFont = worksheetFont(grid.font(), grid);
    d.headerFont = worksheetFont(header.font(), header);
    d.bandFont = d.headerFont;
    return d;
}

WorksheetDescription describe(const DataGrid &grid)
{
    const Dataset &ds = *grid.binding()->dataset();
    WorksheetDescription d = describeLook(grid, grid.colour());
    for (const DataGridColumn *c : shownColumns(grid)) {
        WorksheetColumn column;
        column.caption = c->headerText();
        column.font = worksheetFont(c->font().value_or(grid.font()), grid);
        column.alignment = alignmentOf(*c);
        column.widthPixels = grid.columnWidth(grid.sectionOf(c));
        column.kind = kindOf(ds.field(c->field()));
        d.columns.append(column);
    }
    return d;
}

void write(DataGrid &grid, const QString &fileName)
{
    const WorksheetDescription sheet = describe(grid);
    struct Source
    {
        QString field;
        WorksheetCellKind kind;
    };
    QList<Source> sources;
    for (const DataGridColumn *c : shownColumns(grid))
        sources.append({c->field(), sheet.columns.at(sources.size()).kind});

    HeldGrid held(grid);
    bool started = false;
    QList<WorksheetRow> written; // for the CSV beside
    // The writer asks for the rows once the file is created and the caption row written.
    const WorksheetRowSource rows = [&](WorksheetRow &row) {
        Dataset &ds = held.hold();
        if (started) {
            ds.next();
        } else {
            ds.first();
            started = true;
        }
        if (ds.eof())
            return false;
        for (const Source &s : sources) {
            switch (s.kind) {
            case WorksheetCellKind::Number:
                row.append(ds.asFloat(s.field));
                break;
            case WorksheetCellKind::Integer:
                row.append(qint64(ds.asInteger(s.field)));
                break;
            case WorksheetCellKind::Text:
                row.append(ds.asString(s.field));
                break;
            }
        }
        written.append(row);
        return true;
    };
    WorksheetWriter(sheet).writeFile(fileName, rows);
    writeCsvBeside(fileName, sheet, written);
}

void writeCsvBeside(const QString &fileName, const WorksheetDescription &sheet, const QList<WorksheetRow> &rows)
{
    const QChar mark = systemDecimalSeparator();
    QList<QStringList> table;
    QStringList captions;
    for (const WorksheetColumn &c : sheet.columns)
        captions.append(c.caption);
    table.append(captions);
    for (const WorksheetRow &row : rows) {
        QStringList cells;
        for (const WorksheetCell &cell : row) {
            if (const double *d = std::get_if<double>(&cell))
                cells.append(CsvTable::number(*d, mark));
            else if (const qint64 *i = std::get_if<qint64>(&cell))
                cells.append(QString::number(*i));
            else
                cells.append(std::get<QString>(cell));
        }
        table.append(cells);
    }
    QString csvName = fileName;
    if (csvName.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive))
        csvName.chop(4);
    WholeFile::write(csvName + QStringLiteral(".csv"), CsvTable::write(table));
}

} // namespace GridExport
