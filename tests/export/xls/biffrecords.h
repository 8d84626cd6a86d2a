#pragma once

#include <QByteArray>
#include <QList>

#include <cstring>

// Splits a BIFF stream into records for checks on single records.
struct BiffRecord
{
    quint16 type = 0;
    QByteArray data;
};

inline quint16 biffU16(const QByteArray &b, qsizetype at)
{
    return quint16(quint8(b.at(at)) | (quint8(b.at(at + 1)) << 8));
}

inline quint32 biffU32(const QByteArray &b, qsizetype at)
{
    return quint32(biffU16(b, at)) | (quint32(biffU16(b, at + 2)) << 16);
}

inline double biffF64(const QByteArray &b, qsizetype at)
{
    const quint64 bits = quint64(biffU32(b, at)) | (quint64(biffU32(b, at + 4)) << 32);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// An empty list when the stream does not split cleanly into whole records.
inline QList<BiffRecord> biffRecords(const QByteArray &stream)
{
    QList<BiffRecord> records;
    qsizetype at = 0;
    while (at + 4 <= stream.size()) {
        const quint16 length = biffU16(stream, at + 2);
        if (at + 4 + length > stream.size())
            return {};
        records.append({biffU16(stream, at), stream.mid(at + 4, length)});
        at += 4 + length;
    }
    return at == stream.size() ? records : QList<BiffRecord>{};
}

// The record as it stands in the file, header included.
inline QByteArray biffBytes(const BiffRecord &r)
{
    QByteArray b;
    b.append(char(r.type & 0xFF)).append(char(r.type >> 8));
    b.append(char(r.data.size() & 0xFF)).append(char(r.data.size() >> 8));
    return b + r.data;
}
