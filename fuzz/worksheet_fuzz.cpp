// The worksheet writer over any captions, fonts, widths and cells: the stream is always a
// well-formed run of BIFF records from BOF to EOF, each within the format's record limit.
#include "fuzzinput.h"

#include "data/apperror.h"
#include "export/xls/worksheetwriter.h"

namespace {

WorksheetFont font(FuzzInput &in)
{
    WorksheetFont f;
    f.name = in.text(300);
    f.pointSize = in.value<float>();
    const uint8_t flags = in.byte();
    f.bold = flags & 1;
    f.italic = flags & 2;
    f.underline = flags & 4;
    f.strikeOut = flags & 8;
    return f;
}

quint16 u16(const QByteArray &bytes, qsizetype at)
{
    return quint16(quint8(bytes[at]) | (quint8(bytes[at + 1]) << 8));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    WorksheetDescription sheet;
    WorksheetPalette &p = sheet.palette;
    for (WorksheetColour *c : {&p.headerText, &p.header, &p.groupRowText, &p.groupRow, &p.text,
                               &p.background, &p.windowFrame, &p.window, &p.bandText, &p.band,
                               &p.rowFooterText, &p.rowFooter, &p.gridLine})
        *c = WorksheetColour::fromRgb(in.value<quint32>());
    sheet.gridFont = font(in);
    sheet.headerFont = font(in);
    sheet.bandFont = font(in);
    sheet.showGridLines = in.byte() & 1;
    const int columnCount = in.byte() % 12;
    for (int i = 0; i < columnCount; ++i) {
        WorksheetColumn c;
        c.caption = in.text(300);
        c.font = font(in);
        c.alignment = WorksheetAlignment(in.byte() % 4);
        c.widthPixels = in.value<int32_t>();
        c.kind = WorksheetCellKind(in.byte() % 3);
        sheet.columns.append(c);
    }

    QList<WorksheetRow> rows;
    const int rowCount = in.byte() % 40;
    for (int r = 0; r < rowCount && !in.empty(); ++r) {
        WorksheetRow row;
        for (const WorksheetColumn &c : std::as_const(sheet.columns)) {
            // Now and then a cell of the wrong kind, which the writer must refuse.
            const WorksheetCellKind kind = (in.byte() == 0xFF) ? WorksheetCellKind(in.byte() % 3) : c.kind;
            switch (kind) {
            case WorksheetCellKind::Number:
                row.append(in.value<double>());
                break;
            case WorksheetCellKind::Integer:
                row.append(qint64(in.value<int64_t>()));
                break;
            case WorksheetCellKind::Text:
                row.append(in.text(600));
                break;
            }
        }
        rows.append(row);
    }

    QByteArray bytes;
    try {
        bytes = WorksheetWriter(sheet).toBytes(worksheetRowsFrom(rows));
    } catch (const AppError &e) {
        FUZZ_CHECK(e.text().startsWith(QStringLiteral("Worksheet row ")));
        return 0;
    }
    qsizetype at = 0;
    quint16 type = 0;
    bool first = true;
    while (at < bytes.size()) {
        FUZZ_CHECK(at + 4 <= bytes.size());
        type = u16(bytes, at);
        const quint16 length = u16(bytes, at + 2);
        FUZZ_CHECK(length <= 2080);
        FUZZ_CHECK(!first || type == 0x0409);
        first = false;
        at += 4 + length;
    }
    FUZZ_CHECK(at == bytes.size());
    FUZZ_CHECK(type == 0x000A);
    return 0;
}
