#include "export/xls/cp1251encoder.h"

#include "data/apperror.h"

#include <QList>

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace {

const char *const TargetCode = "WINDOWS-1251";
const char *const SourceCode = "UTF-32LE";

iconv_t handle(void *cd)
{
    return static_cast<iconv_t>(cd);
}

} // namespace

Cp1251Encoder::Cp1251Encoder()
    : m_cd(iconv_open(TargetCode, SourceCode))
{
    if (m_cd == reinterpret_cast<void *>(iconv_t(-1)))
        throw AppError(QStringLiteral("Cannot convert text to %1. %2")
                           .arg(QLatin1String(TargetCode), QString::fromLocal8Bit(std::strerror(errno))));
}

Cp1251Encoder::~Cp1251Encoder()
{
    iconv_close(handle(m_cd));
}

QByteArray Cp1251Encoder::encode(const QString &text)
{
    // Composed form first: a letter typed as base + combining mark (й as и + U+0306) exists in the
    // code page only precomposed. toUcs4 turns broken surrogates into U+FFFD, so every 4-byte unit
    // is one whole character and skipping one never splits a character.
    const QList<uint> ucs4 = text.normalized(QString::NormalizationForm_C).toUcs4();
    QByteArray in;
    in.reserve(ucs4.size() * 4);
    for (uint c : ucs4) {
        in.append(char(c & 0xFF));
        in.append(char((c >> 8) & 0xFF));
        in.append(char((c >> 16) & 0xFF));
        in.append(char((c >> 24) & 0xFF));
    }

    QByteArray out(ucs4.size(), Qt::Uninitialized); // one byte per character in this code page
    char *inPtr = in.data();
    size_t inLeft = size_t(in.size());
    char *outPtr = out.data();
    size_t outLeft = size_t(out.size());
    iconv(handle(m_cd), nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        if (iconv(handle(m_cd), &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1))
            break;
        if (errno == EILSEQ && outLeft > 0) {
            *outPtr++ = '?';
            --outLeft;
            inPtr += 4;
            inLeft -= 4;
            continue;
        }
        // E2BIG cannot happen with one output byte per character; EINVAL would mean a cut unit.
        throw AppError(QStringLiteral("Cannot convert text to %1. %2")
                           .arg(QLatin1String(TargetCode), QString::fromLocal8Bit(std::strerror(errno))));
    }
    out.truncate(outPtr - out.data());
    return out;
}
