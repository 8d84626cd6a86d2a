#include "export/xls/worksheetwriter.h"

#include "data/apperror.h"
#include "export/xls/cp1251encoder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

enum RecordType : quint16 {
    BofRecord = 0x0409,
    CodepageRecord = 0x0042,
    GutsRecord = 0x0080,
    PaletteRecord = 0x0092,
    FontRecord = 0x0231,
    XfRecord = 0x0443,
    ColInfoRecord = 0x007D,
    DimensionsRecord = 0x0200,
    LabelRecord = 0x0204,
    NumberRecord = 0x0203,
    RkRecord = 0x027E,
    EofRecord = 0x000A,
};

// Colour indices: 8..20 are the palette entries in WorksheetPalette order; 24/25 are the system
// window text and background that an XF without fill conventionally names.
enum Colour : quint16 {
    HeaderTextColour = 8,
    HeaderColour = 9,
    GroupRowTextColour = 10,
    GroupRowColour = 11,
    TextColour = 12,
    BackgroundColour = 13,
    WindowFrameColour = 14,
    BandTextColour = 16,
    BandColour = 17,
    RowFooterTextColour = 18,
    RowFooterColour = 19,
    GridLineColour = 20,
    SystemTextColour = 24,
    SystemBackgroundColour = 25,
    AutomaticFontColour = 0x7FFF,
};

// Font indices; 4 is never stored, so the fifth FONT record is font 5.
enum Font : quint8 {
    DefaultFont = 0,
    GridFont = 5,
    HeaderFont = 6,
    GroupRowFont = 7,
    BandFont = 8,
    RowFooterFont = 9,
    FirstColumnFont = 10,
};

constexpr int FixedXfCount = 29;
constexpr quint16 ColumnDefaultXf = 15;
constexpr quint16 HeaderXf = 22;
constexpr quint16 FirstColumnXf = FixedXfCount;
// Font indices live in one byte of the XF.
constexpr int MaxColumns = 255 - FirstColumnFont;
// Row numbers are 16-bit.
constexpr qint64 MaxRow = 0xFFFF;
constexpr quint16 CodePage1251 = 1251;
constexpr qsizetype FlushBytes = 64 * 1024;

// RK keeps a signed 30-bit payload; a wider integer stored there would wrap silently, so it goes
// out as NUMBER, which is exact up to 2^53 (and far beyond any key or count of ours).
constexpr qint64 RkMin = -(qint64(1) << 29);
constexpr qint64 RkMax = (qint64(1) << 29) - 1;

constexpr quint16 StyleXfType = 0xFFF5; // locked, style XF, parent 0xFFF
constexpr quint16 CellXfType = 0x0001;  // locked cell XF, parent style 0
constexpr quint8 StyleXfUsed = 0x00;    // a style defines every group
constexpr quint8 CellXfUsed = 0xFC;     // a cell XF carries every group itself
constexpr quint8 BottomAligned = 0x20;

enum HorizontalAlignment : quint8 { AlignGeneral = 0, AlignLeft = 1, AlignCentre = 2, AlignRight = 3 };

constexpr quint16 area(quint16 pattern, quint16 colour, quint16 backColour)
{
    return quint16(pattern | (colour << 6) | (backColour << 11));
}
constexpr quint16 NoFill = area(0, SystemTextColour, SystemBackgroundColour);
constexpr quint16 solidFill(quint16 colour)
{
    return area(1, colour, colour);
}
constexpr quint32 thinBorders(quint32 colour)
{
    return quint32(1 | (colour << 3)) * 0x01010101u;
}

struct Xf
{
    quint8 font;
    quint16 type;
    quint8 alignment;
    quint8 used;
    quint16 area;
    quint32 borders;
};

constexpr Xf styleXf()
{
    return {DefaultFont, StyleXfType, BottomAligned, StyleXfUsed, NoFill, 0};
}
constexpr Xf plainCellXf()
{
    return {DefaultFont, CellXfType, BottomAligned, CellXfUsed, NoFill, 0};
}

// 0..14 styles (0 is the parent of every cell format), 15 the default of empty column cells,
// 22 the caption row; the band, group-row and footer formats are kept for the grid's other parts.
constexpr std::array<Xf, FixedXfCount> FixedXfs = [] {
    std::array<Xf, FixedXfCount> xfs{};
    for (int i = 0; i < 15; ++i)
        xfs[i] = styleXf();
    for (int i = 15; i < FixedXfCount; ++i)
        xfs[i] = plainCellXf();
    xfs[22] = {HeaderFont, CellXfType, quint8(AlignCentre | BottomAligned), CellXfUsed,
               solidFill(HeaderColour), thinBorders(WindowFrameColour)};
    xfs[23] = {BandFont, CellXfType, quint8(AlignCentre | BottomAligned), CellXfUsed,
               solidFill(BandColour), thinBorders(WindowFrameColour)};
    xfs[24] = {GroupRowFont, CellXfType, quint8(AlignLeft | BottomAligned), CellXfUsed,
               solidFill(GroupRowColour), 0};
    xfs[25] = {RowFooterFont, CellXfType, quint8(AlignGeneral | BottomAligned), CellXfUsed,
               solidFill(RowFooterColour), thinBorders(WindowFrameColour)};
    xfs[26] = {GridFont, CellXfType, BottomAligned, CellXfUsed, solidFill(BackgroundColour), 0};
    return xfs;
}();

quint8 horizontalAlignment(const WorksheetColumn &column)
{
    switch (column.alignment) {
    case WorksheetAlignment::Left:
        return AlignLeft;
    case WorksheetAlignment::Right:
        return AlignRight;
    case WorksheetAlignment::Centre:
        return AlignCentre;
    case WorksheetAlignment::FieldDefault:
        break;
    }
    return column.kind == WorksheetCellKind::Text ? AlignLeft : AlignRight;
}

quint16 twips(double points)
{
    if (!std::isfinite(points))
        return 0;
    return quint16(std::clamp(std::round(points * 20), 0.0, 65535.0));
}

// Width in 1/256 of a character: the field is 16-bit, so 1820 pixels is the widest.
quint16 columnWidth(int pixels)
{
    return quint16(std::clamp(pixels, 0, 65535 / 36) * 36);
}

bool cellMatches(const WorksheetCell &cell, WorksheetCellKind kind)
{
    switch (kind) {
    case WorksheetCellKind::Number:
        return std::holds_alternative<double>(cell) || std::holds_alternative<QString>(cell);
    case WorksheetCellKind::Integer:
        return std::holds_alternative<qint64>(cell);
    case WorksheetCellKind::Text:
        return std::holds_alternative<QString>(cell);
    }
    return false;
}

// Appends records field by field, little-endian, into one growing buffer.
class RecordBuffer
{
public:
    void begin(quint16 type)
    {
        u16(type);
        m_lengthAt = m_bytes.size();
        u16(0);
    }
    void end()
    {
        const qsizetype length = m_bytes.size() - m_lengthAt - 2;
        m_bytes[m_lengthAt] = char(length & 0xFF);
        m_bytes[m_lengthAt + 1] = char((length >> 8) & 0xFF);
    }
    void u8(quint8 v) { m_bytes.append(char(v)); }
    void u16(quint16 v)
    {
        u8(quint8(v & 0xFF));
        u8(quint8(v >> 8));
    }
    void u32(quint32 v)
    {
        u16(quint16(v & 0xFFFF));
        u16(quint16(v >> 16));
    }
    void f64(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(quint32(bits & 0xFFFFFFFFu));
        u32(quint32(bits >> 32));
    }
    void bytes(const QByteArray &b) { m_bytes.append(b); }

    QByteArray &data() { return m_bytes; }

private:
    QByteArray m_bytes;
    qsizetype m_lengthAt = 0;
};

class StreamBuilder
{
public:
    explicit StreamBuilder(const WorksheetDescription &sheet)
        : m_sheet(sheet)
    {
    }

    QByteArray &data() { return m_out.data(); }

    void head()
    {
        m_out.begin(BofRecord);
        m_out.u16(0);
        m_out.u16(0x0010); // worksheet
        m_out.u16(0);
        m_out.end();

        // Declares the text's code page; without it readers outside a Russian locale guess wrong.
        m_out.begin(CodepageRecord);
        m_out.u16(CodePage1251);
        m_out.end();

        m_out.begin(GutsRecord);
        for (int i = 0; i < 4; ++i)
            m_out.u16(0);
        m_out.end();

        m_out.begin(PaletteRecord);
        m_out.u16(WorksheetPalette::Count);
        for (const WorksheetColour &c : m_sheet.palette.inOrder()) {
            m_out.u8(c.red);
            m_out.u8(c.green);
            m_out.u8(c.blue);
            m_out.u8(0);
        }
        m_out.end();

        const WorksheetFont defaultFont;
        for (int i = 0; i < 4; ++i)
            font(defaultFont, AutomaticFontColour);
        font(m_sheet.gridFont, TextColour);
        font(m_sheet.headerFont, HeaderTextColour);
        font(m_sheet.gridFont, GroupRowTextColour);
        font(m_sheet.bandFont, BandTextColour);
        font(m_sheet.gridFont, RowFooterTextColour);
        for (const WorksheetColumn &column : m_sheet.columns)
            font(column.font, TextColour);

        for (const Xf &x : FixedXfs)
            xf(x);
        const quint32 borders = m_sheet.showGridLines ? thinBorders(GridLineColour) : 0;
        for (qsizetype i = 0; i < m_sheet.columns.size(); ++i) {
            const quint8 align = horizontalAlignment(m_sheet.columns.at(i)) | BottomAligned;
            xf({quint8(FirstColumnFont + i), CellXfType, align, CellXfUsed,
                solidFill(BackgroundColour), borders});
        }

        for (qsizetype i = 0; i < m_sheet.columns.size(); ++i) {
            m_out.begin(ColInfoRecord);
            m_out.u16(quint16(i));
            m_out.u16(quint16(i));
            m_out.u16(columnWidth(m_sheet.columns.at(i).widthPixels));
            m_out.u16(ColumnDefaultXf);
            m_out.u16(0);
            m_out.u16(0);
            m_out.end();
        }

        // Fixed rather than measured: readers look at the cells themselves.
        m_out.begin(DimensionsRecord);
        m_out.u16(0);
        m_out.u16(0xFFFF);
        m_out.u16(0);
        m_out.u16(0x00FF);
        m_out.u16(0);
        m_out.end();

        for (qsizetype i = 0; i < m_sheet.columns.size(); ++i)
            label(0, quint16(i), HeaderXf, m_sheet.columns.at(i).caption);
    }

    // Checks the whole row first, so a bad row leaves no cells of its own behind.
    void row(qint64 rowNumber, const WorksheetRow &cells)
    {
        const auto &columns = m_sheet.columns;
        if (rowNumber > MaxRow)
            throw AppError(QStringLiteral("A worksheet holds at most %1 rows").arg(MaxRow));
        if (cells.size() != columns.size())
            throw AppError(QStringLiteral("Worksheet row %1 has %2 cells for %3 columns")
                               .arg(rowNumber).arg(cells.size()).arg(columns.size()));
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (!cellMatches(cells.at(i), columns.at(i).kind))
                throw AppError(QStringLiteral("Worksheet row %1, column %2: the value does not "
                                              "match the column's kind")
                                   .arg(rowNumber).arg(i));
        }
        for (qsizetype i = 0; i < cells.size(); ++i) {
            const quint16 r = quint16(rowNumber);
            const quint16 c = quint16(i);
            const quint16 x = quint16(FirstColumnXf + i);
            const WorksheetCell &cell = cells.at(i);
            if (const double *d = std::get_if<double>(&cell)) {
                // No infinity or NaN reaches the file: a reader would show it as a figure.
                if (std::isfinite(*d))
                    number(r, c, x, *d);
                else
                    label(r, c, x, QString::number(*d));
            } else if (const qint64 *v = std::get_if<qint64>(&cell)) {
                if (*v >= RkMin && *v <= RkMax)
                    rk(r, c, x, *v);
                else
                    number(r, c, x, double(*v));
            } else {
                label(r, c, x, std::get<QString>(cell));
            }
        }
    }

    void eof()
    {
        m_out.begin(EofRecord);
        m_out.end();
    }

private:
    QByteArray text(const QString &s, int maxBytes)
    {
        QByteArray bytes = m_encoder.encode(s);
        // One byte per character, so cutting bytes never splits a character.
        bytes.truncate(maxBytes);
        return bytes;
    }

    void font(const WorksheetFont &f, quint16 colour)
    {
        const QByteArray name = text(f.name, 255);
        const quint16 flags = (f.bold ? 0x01 : 0) | (f.italic ? 0x02 : 0) | (f.underline ? 0x04 : 0)
                              | (f.strikeOut ? 0x08 : 0);
        m_out.begin(FontRecord);
        m_out.u16(twips(f.pointSize));
        m_out.u16(flags);
        m_out.u16(colour);
        m_out.u8(quint8(name.size()));
        m_out.bytes(name);
        m_out.end();
    }

    void xf(const Xf &x)
    {
        m_out.begin(XfRecord);
        m_out.u8(x.font);
        m_out.u8(0); // number format 0: General
        m_out.u16(x.type);
        m_out.u8(x.alignment);
        m_out.u8(x.used);
        m_out.u16(x.area);
        m_out.u32(x.borders);
        m_out.end();
    }

    void cellHeader(quint16 row, quint16 column, quint16 xfIndex)
    {
        m_out.u16(row);
        m_out.u16(column);
        m_out.u16(xfIndex);
    }

    void label(quint16 row, quint16 column, quint16 xfIndex, const QString &s)
    {
        const QByteArray bytes = text(s, WorksheetWriter::MaxTextBytes);
        m_out.begin(LabelRecord);
        cellHeader(row, column, xfIndex);
        m_out.u16(quint16(bytes.size()));
        m_out.bytes(bytes);
        m_out.end();
    }

    void number(quint16 row, quint16 column, quint16 xfIndex, double v)
    {
        m_out.begin(NumberRecord);
        cellHeader(row, column, xfIndex);
        m_out.f64(v);
        m_out.end();
    }

    void rk(quint16 row, quint16 column, quint16 xfIndex, qint64 v)
    {
        m_out.begin(RkRecord);
        cellHeader(row, column, xfIndex);
        m_out.u32(quint32(v) * 4u + 2u); // unsigned: no shift of a negative value
        m_out.end();
    }

    const WorksheetDescription &m_sheet;
    Cp1251Encoder m_encoder;
    RecordBuffer m_out;
};

void checkColumns(const WorksheetDescription &sheet)
{
    if (sheet.columns.size() > MaxColumns)
        throw AppError(QStringLiteral("A worksheet holds at most %1 columns").arg(MaxColumns));
}

} // namespace

WorksheetWriter::WorksheetWriter(WorksheetDescription sheet)
    : m_sheet(std::move(sheet))
{
}

QByteArray WorksheetWriter::toBytes(const WorksheetRowSource &rows) const
{
    checkColumns(m_sheet);
    StreamBuilder builder(m_sheet);
    builder.head();
    WorksheetRow row;
    for (qint64 r = 1;; ++r) {
        row.clear();
        if (!rows(row))
            break;
        builder.row(r, row);
    }
    builder.eof();
    return std::move(builder.data());
}

void WorksheetWriter::writeFile(const QString &fileName, const WorksheetRowSource &rows) const
{
    checkColumns(m_sheet);
    StreamBuilder builder(m_sheet);

    const QString path = QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath());
    // Unbuffered: the builder collects the records and hands them over in large blocks.
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throw AppError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));

    auto flush = [&] {
        QByteArray &bytes = builder.data();
        if (!bytes.isEmpty() && file.write(bytes) != bytes.size())
            throw AppError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
        bytes.clear();
    };

    try {
        builder.head();
        WorksheetRow row;
        for (qint64 r = 1;; ++r) {
            row.clear();
            if (!rows(row))
                break;
            builder.row(r, row);
            if (builder.data().size() >= FlushBytes)
                flush();
        }
    } catch (...) {
        // Readers refuse a stream without its end, so the rows so far get one.
        try {
            builder.eof();
            flush();
        } catch (...) {
            // The first error is the one to report.
        }
        file.close();
        throw;
    }
    builder.eof();
    flush();
    file.close();
}
