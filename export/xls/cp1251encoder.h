#pragma once

#include <QByteArray>
#include <QString>

// Text to Windows-1251 through iconv. A character the code page cannot hold becomes one '?',
// so the rest of the text is never lost.
class Cp1251Encoder
{
public:
    Cp1251Encoder();
    ~Cp1251Encoder();
    Cp1251Encoder(const Cp1251Encoder &) = delete;
    Cp1251Encoder &operator=(const Cp1251Encoder &) = delete;

    QByteArray encode(const QString &text);

private:
    void *m_cd; // iconv_t, kept out of the header
};
