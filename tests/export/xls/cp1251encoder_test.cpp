#include "biffrecords.h"

#include "export/xls/cp1251encoder.h"
#include "export/xls/worksheetwriter.h"

#include <gtest/gtest.h>

TEST(Cp1251Encoder, cyrillicAndSignsTakeTheirCodePageBytes)
{
    Cp1251Encoder encoder;
    EXPECT_EQ(encoder.encode(QStringLiteral("Название")), QByteArray::fromHex("CDE0E7E2E0EDE8E5"));
    EXPECT_EQ(encoder.encode(QStringLiteral("Ёё№ «%» Ѓђ")), QByteArray::fromHex("A8B8B920AB25BB208190"));
    EXPECT_EQ(encoder.encode(QString()), QByteArray());
}

TEST(Cp1251Encoder, characterOutsideTheCodePageBecomesOneQuestionMark)
{
    Cp1251Encoder encoder;
    // Subscripts, a CJK letter, an emoji (two UTF-16 units) and a lone surrogate: each one '?',
    // and the text after them is kept.
    EXPECT_EQ(encoder.encode(QStringLiteral("Ca(NO₃)₂ 水 🌱 конец")), QByteArray("Ca(NO?)? ? ? ")
                                                                          + encoder.encode(QStringLiteral("конец")));
    EXPECT_EQ(encoder.encode(QString(QChar(0xD800)) + QStringLiteral("a")), QByteArray("?a"));
    // A letter typed with a combining mark is written as the code page's composed letter.
    EXPECT_EQ(encoder.encode(QStringLiteral("и\u0306")), QByteArray::fromHex("E9"));
}

TEST(Cp1251Encoder, longTextInACellIsCutToTheFormatsLimit)
{
    WorksheetDescription sheet;
    sheet.columns = {WorksheetColumn{QString(300, QChar(0x0416)), {}, WorksheetAlignment::Left, 64,
                                     WorksheetCellKind::Text}};
    const QString value = QString(254, QLatin1Char('a')) + QStringLiteral("水bc");
    const QList<BiffRecord> rec
        = biffRecords(WorksheetWriter(sheet).toBytes(worksheetRowsFrom({{value}})));
    ASSERT_GE(rec.size(), 3);
    const BiffRecord caption = rec.at(rec.size() - 3);
    const BiffRecord cell = rec.at(rec.size() - 2);
    ASSERT_EQ(caption.type, 0x0204);
    EXPECT_EQ(biffU16(caption.data, 6), 255);
    EXPECT_EQ(caption.data.mid(8), QByteArray(255, char(0xC6)));
    EXPECT_EQ(cell.data.mid(8), QByteArray(254, 'a') + '?');
}
