#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Takes typed values off the front of a fuzzer's input; past the end everything reads as zero.
class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

    bool empty() const { return m_pos >= m_size; }

    uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

    template<typename T>
    T value()
    {
        T v{};
        const size_t n = std::min(sizeof v, m_size - std::min(m_pos, m_size));
        std::memcpy(&v, m_data + m_pos, n);
        m_pos += n;
        return v;
    }

    // A piece of text of at most `limit` bytes, read as UTF-8 (invalid bytes become U+FFFD).
    QString text(size_t limit)
    {
        const size_t n = std::min<size_t>(byte() % (limit + 1), m_size - std::min(m_pos, m_size));
        const QString s = QString::fromUtf8(reinterpret_cast<const char *>(m_data + m_pos), qsizetype(n));
        m_pos += n;
        return s;
    }

    QByteArray rest()
    {
        const size_t from = std::min(m_pos, m_size);
        m_pos = m_size;
        return QByteArray(reinterpret_cast<const char *>(m_data + from), qsizetype(m_size - from));
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// A broken promise of the code under test: reported, then the fuzzer stops on it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);    \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)
