// The layout file's reading rule over any bytes, and the written values read back.
#include "fuzzinput.h"

#include "app/layoutfile.h"
#include "data/apperror.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = LayoutFile::parse(bytes);
    FUZZ_CHECK(lines.size() == LayoutFile::LineCount);
    for (const QString &line : lines) {
        FUZZ_CHECK(line.size() <= LayoutFile::LineLength);
        FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
        LayoutFile::isMaximised(line);
        try {
            const int v = LayoutFile::toInteger(line);
            FUZZ_CHECK(QString::number(v).size() <= LayoutFile::LineLength);
        } catch (const AppError &e) {
            FUZZ_CHECK(e.text() == QStringLiteral("'%1' is not a valid integer value").arg(line));
        }
    }

    // Whatever values are written, every one that fits the line reads back as itself.
    FuzzInput in(data, size);
    LayoutFile::Values values{};
    for (int &v : values)
        v = in.value<int16_t>();
    const QByteArray written = LayoutFile::format(values);
    FUZZ_CHECK(written.endsWith("\r\n") && written.count('\n') == LayoutFile::LineCount);
    const QStringList back = LayoutFile::parse(written);
    for (int i = 0; i < LayoutFile::LineCount; ++i) {
        if (QString::number(values[i]).size() <= LayoutFile::LineLength)
            FUZZ_CHECK(LayoutFile::toInteger(back[i]) == values[i]);
    }
    return 0;
}
