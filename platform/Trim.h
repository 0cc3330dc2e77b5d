#pragma once

#include <QByteArray>
#include <QString>

// Removes from both ends every character whose code is 32 or less: spaces and
// control characters, and nothing else (QString::trimmed would also remove
// the ideographic space and other Unicode blanks).
inline QString trimLow(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

inline QByteArray trimLowBytes(const QByteArray& bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && static_cast<unsigned char>(bytes.at(begin)) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(bytes.at(end - 1)) <= 32)
        --end;
    return bytes.mid(begin, end - begin);
}
