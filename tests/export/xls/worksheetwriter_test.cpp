#include "biffrecords.h"
#include "samplesheets.h"

#include "data/apperror.h"
#include "export/xls/worksheetwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {

QByteArray hex(const char *spaced)
{
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A mismatch leaves the bytes written beside the test binary, to inspect and, once checked,
// to take over as the new golden file.
void expectGolden(const QByteArray &actual, const QString &name)
{
    const QString golden = QStringLiteral(VERNOLAT_XLS_GOLDEN_DIR "/") + name;
    const QByteArray expected = readFile(golden);
    if (actual == expected)
        return;
    const QString dump = QCoreApplication::applicationDirPath() + QStringLiteral("/actual-") + name;
    QFile out(dump);
    if (out.open(QIODevice::WriteOnly))
        out.write(actual);
    ADD_FAILURE() << "bytes differ from " << golden.toStdString() << " (" << expected.size()
                  << " bytes expected, " << actual.size() << " written; actual bytes in "
                  << dump.toStdString() << ")";
}

QList<quint16> types(const QList<BiffRecord> &records)
{
    QList<quint16> out;
    for (const BiffRecord &r : records)
        out.append(r.type);
    return out;
}

QList<BiffRecord> ofType(const QList<BiffRecord> &records, quint16 type)
{
    QList<BiffRecord> out;
    for (const BiffRecord &r : records) {
        if (r.type == type)
            out.append(r);
    }
    return out;
}

} // namespace

TEST(WorksheetWriter, sampleSheetsMatchTheirGoldenFiles)
{
    using namespace SampleSheets;
    const QByteArray comp = WorksheetWriter(composition()).toBytes(worksheetRowsFrom(compositionRows()));
    const QByteArray conc
        = WorksheetWriter(concentration()).toBytes(worksheetRowsFrom(concentrationRows()));
    expectGolden(comp, QStringLiteral("composition.xls"));
    expectGolden(conc, QStringLiteral("concentration.xls"));

    // The file holds exactly the same bytes; an older, longer file of that name is replaced.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Состав р-ра.xls"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
    }
    WorksheetWriter(composition()).writeFile(path, worksheetRowsFrom(compositionRows()));
    EXPECT_EQ(readFile(path), comp);
}

// Records checked against bytes worked out by hand from the format, independently of the
// golden files.
TEST(WorksheetWriter, recordsHoldTheFormatsBytes)
{
    using namespace SampleSheets;
    const QList<BiffRecord> rec
        = biffRecords(WorksheetWriter(composition()).toBytes(worksheetRowsFrom(compositionRows())));
    ASSERT_FALSE(rec.isEmpty());

    QList<quint16> expectedTypes{0x0409, 0x0042, 0x0080, 0x0092};
    expectedTypes += QList<quint16>(4 + 5 + 5, 0x0231);
    expectedTypes += QList<quint16>(29 + 5, 0x0443);
    expectedTypes += QList<quint16>(5, 0x007D);
    expectedTypes += {0x0200, 0x0204, 0x0204, 0x0204, 0x0204, 0x0204};
    for (int row = 0; row < 4; ++row)
        expectedTypes += {0x0204, 0x0203, 0x0203, 0x0203, 0x0203};
    expectedTypes += 0x000A;
    EXPECT_EQ(types(rec), expectedTypes);

    EXPECT_EQ(biffBytes(rec.at(0)), hex("09 04 06 00 00 00 10 00 00 00"));
    EXPECT_EQ(biffBytes(rec.at(1)), hex("42 00 02 00 E3 04"));
    EXPECT_EQ(biffBytes(rec.at(2)), hex("80 00 08 00 00 00 00 00 00 00 00 00"));
    EXPECT_EQ(biffBytes(rec.at(3)).left(14), hex("92 00 36 00 0D 00 10 10 10 00 D4 D0 C8 00"));
    EXPECT_EQ(biffBytes(rec.at(3)).right(4), hex("80 80 80 00"));

    const QList<BiffRecord> fonts = ofType(rec, 0x0231);
    EXPECT_EQ(biffBytes(fonts.at(0)), hex("31 02 0C 00 C8 00 00 00 FF 7F 05 41 72 69 61 6C"));
    // Record 5 is font 6 (index 4 is never stored): the header font, bold, colour 8.
    EXPECT_EQ(biffBytes(fonts.at(5)).left(11), hex("31 02 14 00 A0 00 01 00 08 00 0D"));
    // Column 2's font, index 12: Times New Roman 12 pt italic, underlined, struck out, colour 12.
    EXPECT_EQ(biffBytes(fonts.at(11)),
              hex("31 02 16 00 F0 00 0E 00 0C 00 0F 54 69 6D 65 73 20 4E 65 77 20 52 6F 6D 61 6E"));

    const QList<BiffRecord> xfs = ofType(rec, 0x0443);
    EXPECT_EQ(biffBytes(xfs.at(0)), hex("43 04 0C 00 00 00 F5 FF 20 00 00 CE 00 00 00 00"));
    EXPECT_EQ(xfs.at(15).data, hex("00 00 01 00 20 FC 00 CE 00 00 00 00")); // COLINFO default
    EXPECT_EQ(xfs.at(22).data, hex("06 00 01 00 22 FC 41 4A 71 71 71 71"));
    EXPECT_EQ(xfs.at(29).data, hex("0A 00 01 00 21 FC 41 6B A1 A1 A1 A1")); // text: left
    EXPECT_EQ(xfs.at(30).data, hex("0B 00 01 00 23 FC 41 6B A1 A1 A1 A1")); // right
    EXPECT_EQ(xfs.at(31).data, hex("0C 00 01 00 23 FC 41 6B A1 A1 A1 A1")); // number: right
    EXPECT_EQ(xfs.at(32).data, hex("0D 00 01 00 22 FC 41 6B A1 A1 A1 A1")); // centre
    EXPECT_EQ(xfs.at(33).data, hex("0E 00 01 00 21 FC 41 6B A1 A1 A1 A1")); // left

    const QList<BiffRecord> cols = ofType(rec, 0x007D);
    EXPECT_EQ(biffBytes(cols.at(0)), hex("7D 00 0C 00 00 00 00 00 18 15 0F 00 00 00 00 00"));
    EXPECT_EQ(biffBytes(cols.at(4)), hex("7D 00 0C 00 04 00 04 00 10 0E 0F 00 00 00 00 00"));
    EXPECT_EQ(biffBytes(ofType(rec, 0x0200).at(0)),
              hex("00 02 0A 00 00 00 FF FF 00 00 FF 00 00 00"));

    const QList<BiffRecord> labels = ofType(rec, 0x0204);
    EXPECT_EQ(biffBytes(labels.at(0)),
              hex("04 02 10 00 00 00 00 00 16 00 08 00 CD E0 E7 E2 E0 ED E8 E5"));
    // The empty name of the last row: a text cell of no bytes.
    EXPECT_EQ(biffBytes(labels.at(8)), hex("04 02 08 00 04 00 00 00 1D 00 00 00"));
    EXPECT_EQ(biffBytes(ofType(rec, 0x0203).at(1)),
              hex("03 02 0E 00 01 00 02 00 1F 00 AB AA AA AA AA AA 02 40"));
    EXPECT_EQ(biffBytes(rec.last()), hex("0A 00 00 00"));

    // Without grid lines a column's format has no borders.
    const QList<BiffRecord> concXfs = ofType(
        biffRecords(WorksheetWriter(concentration()).toBytes(worksheetRowsFrom({}))), 0x0443);
    ASSERT_EQ(concXfs.size(), 29 + 9);
    EXPECT_EQ(concXfs.at(30).data, hex("0B 00 01 00 23 FC 41 6B 00 00 00 00"));
}

TEST(WorksheetWriter, integersAreRkWithinThirtyBitsAndNumbersBeyond)
{
    WorksheetDescription sheet;
    sheet.columns = {WorksheetColumn{QStringLiteral("id"), {}, WorksheetAlignment::FieldDefault,
                                     40, WorksheetCellKind::Integer}};
    const qint64 values[] = {0, 5, -7, 536870911, -536870912, 536870912, -536870913,
                             3000000000LL, qint64(1) << 53};
    QList<WorksheetRow> rows;
    for (qint64 v : values)
        rows.append(WorksheetRow{v});
    const QList<BiffRecord> rec
        = biffRecords(WorksheetWriter(sheet).toBytes(worksheetRowsFrom(rows)));
    const QList<BiffRecord> cells = rec.mid(rec.size() - 1 - rows.size(), rows.size());
    ASSERT_EQ(cells.size(), rows.size());

    for (qsizetype i = 0; i < cells.size(); ++i) {
        const qint64 v = values[i];
        const BiffRecord &c = cells.at(i);
        SCOPED_TRACE(v);
        EXPECT_EQ(biffU16(c.data, 0), int(i + 1));
        EXPECT_EQ(biffU16(c.data, 4), 29);
        if (i < 5) {
            ASSERT_EQ(c.type, 0x027E);
            const quint32 rk = biffU32(c.data, 6);
            EXPECT_EQ(rk & 3u, 2u);
            EXPECT_EQ(qint32(rk) >> 2, v); // arithmetic shift back, as readers do
        } else {
            ASSERT_EQ(c.type, 0x0203);
            EXPECT_EQ(biffF64(c.data, 6), double(v));
        }
    }
    EXPECT_EQ(biffBytes(cells.at(2)), hex("7E 02 0A 00 03 00 00 00 1D 00 E6 FF FF FF"));
}

TEST(WorksheetWriter, sheetWithoutRowsHoldsOnlyTheCaptions)
{
    const QList<BiffRecord> rec = biffRecords(
        WorksheetWriter(SampleSheets::concentration()).toBytes(worksheetRowsFrom({})));
    ASSERT_GE(rec.size(), 10);
    const QList<BiffRecord> tail = rec.mid(rec.size() - 10);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(tail.at(i).type, 0x0204);
        EXPECT_EQ(biffU16(tail.at(i).data, 0), 0);
        EXPECT_EQ(biffU16(tail.at(i).data, 4), 22);
    }
    EXPECT_EQ(tail.at(9).type, 0x000A);
}

TEST(WorksheetWriter, rowThatDoesNotFitItsColumnsIsRefused)
{
    const WorksheetWriter writer(SampleSheets::composition());
    WorksheetRow wrongKind = SampleSheets::compositionRows().at(0);
    wrongKind[1] = qint64(1);
    EXPECT_THROW(writer.toBytes(worksheetRowsFrom({wrongKind})), AppError);
    wrongKind = SampleSheets::compositionRows().at(0);
    wrongKind[0] = 1.5;
    EXPECT_THROW(writer.toBytes(worksheetRowsFrom({wrongKind})), AppError) << "a number as text";

    // A number column takes a text where its figure is missing: a label, never a 0.
    WorksheetRow missing = SampleSheets::compositionRows().at(0);
    missing[1] = QStringLiteral("нет цены");
    const QList<BiffRecord> rec = biffRecords(writer.toBytes(worksheetRowsFrom({missing})));
    ASSERT_GE(rec.size(), 6);
    const BiffRecord &cell = rec.at(rec.size() - 5);
    EXPECT_EQ(cell.type, 0x0204);
    EXPECT_EQ(biffU16(cell.data, 2), 1) << "column";
    EXPECT_EQ(biffU16(cell.data, 4), 30) << "the column's own format";
    EXPECT_EQ(cell.data.mid(8), QByteArray("\xED\xE5\xF2 \xF6\xE5\xED\xFB"));

    // A figure that is no number is written as its text, never as an IEEE infinity or NaN.
    for (const double odd : {std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()}) {
        WorksheetRow row = SampleSheets::compositionRows().at(0);
        row[1] = odd;
        const QList<BiffRecord> written = biffRecords(writer.toBytes(worksheetRowsFrom({row})));
        ASSERT_GE(written.size(), 6);
        const BiffRecord &oddCell = written.at(written.size() - 5);
        EXPECT_EQ(oddCell.type, 0x0204) << odd;
        EXPECT_EQ(oddCell.data.mid(8), QString::number(odd).toLatin1());
        for (const BiffRecord &r : ofType(written, 0x0203))
            EXPECT_TRUE(std::isfinite(biffF64(r.data, 6)));
    }

    WorksheetRow shortRow = SampleSheets::compositionRows().at(0);
    shortRow.removeLast();
    EXPECT_THROW(writer.toBytes(worksheetRowsFrom({shortRow})), AppError);
}
