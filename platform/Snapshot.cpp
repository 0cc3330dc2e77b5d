#include "Snapshot.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <cstring>

namespace {

std::int64_t packSpan(std::size_t offset, std::size_t length)
{
    return std::int64_t((std::uint64_t(offset) << 32) | std::uint64_t(std::uint32_t(length)));
}

std::size_t spanOffset(std::int64_t word)
{
    return std::size_t(std::uint64_t(word) >> 32);
}

std::size_t spanLength(std::int64_t word)
{
    return std::size_t(std::uint32_t(std::uint64_t(word)));
}

} // namespace

Snapshot::Snapshot(const QStringList& columnNames)
{
    m_columns.resize(columnNames.size());
    for (int i = 0; i < columnNames.size(); ++i)
        m_columns[i].name = columnNames.at(i);
}

void Snapshot::readAll(QSqlQuery& query)
{
    const int columns = columnCount();
    while (query.next()) {
        for (int c = 0; c < columns; ++c)
            appendCell(m_columns[c], query.value(c));
        ++m_rowCount;
    }
}

void Snapshot::appendRow(const QVariantList& values)
{
    for (int c = 0; c < columnCount(); ++c)
        appendCell(m_columns[c], c < values.size() ? values.at(c) : QVariant());
    ++m_rowCount;
}

void Snapshot::appendCell(Column& column, const QVariant& value)
{
    if (value.isNull()) {
        column.kinds.push_back(Kind::Null);
        column.words.push_back(0);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::QString:
        appendText(column, value.toString());
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Bool:
        column.kinds.push_back(Kind::Integer);
        column.words.push_back(value.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        std::int64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        column.kinds.push_back(Kind::Float);
        column.words.push_back(bits);
        return;
    }
    case QMetaType::QDateTime:
        column.kinds.push_back(Kind::DateTime);
        column.words.push_back(value.toDateTime().toMSecsSinceEpoch());
        return;
    case QMetaType::QDate:
        column.kinds.push_back(Kind::Date);
        column.words.push_back(value.toDate().toJulianDay());
        return;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        appendBytes(column, bytes.constData(), std::size_t(bytes.size()));
        column.kinds.back() = Kind::Bytes;
        return;
    }
    default:
        appendText(column, value.toString());
        return;
    }
}

void Snapshot::appendBytes(Column& column, const char* data, std::size_t size)
{
    const std::size_t offset = column.arena.size();
    column.arena.append(data, size);
    column.kinds.push_back(Kind::Text);
    column.words.push_back(packSpan(offset, size));
}

void Snapshot::appendText(Column& column, const QString& text)
{
    const std::size_t offset = column.arena.size();
    const char16_t* chars = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype n = text.size();
    qsizetype ascii = 0;
    while (ascii < n && chars[ascii] < 0x80)
        ++ascii;
    if (ascii == n) {
        column.arena.resize(offset + std::size_t(n));
        char* out = column.arena.data() + offset;
        for (qsizetype i = 0; i < n; ++i)
            out[i] = char(chars[i]);
    } else {
        const QByteArray utf8 = text.toUtf8();
        column.arena.append(utf8.constData(), std::size_t(utf8.size()));
    }
    column.kinds.push_back(Kind::Text);
    column.words.push_back(packSpan(offset, column.arena.size() - offset));
}

int Snapshot::columnIndex(const QString& name) const
{
    for (int c = 0; c < columnCount(); ++c) {
        if (m_columns[c].name.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

bool Snapshot::isNull(int row, int column) const
{
    return m_columns[column].kinds[row] == Kind::Null;
}

QString Snapshot::textAt(const Column& column, int row) const
{
    const std::int64_t word = column.words[row];
    return QString::fromUtf8(column.arena.data() + spanOffset(word), qsizetype(spanLength(word)));
}

QVariant Snapshot::value(int row, int column) const
{
    const Column& col = m_columns[column];
    const std::int64_t word = col.words[row];
    switch (col.kinds[row]) {
    case Kind::Null:
        return QVariant();
    case Kind::Integer:
        return QVariant(qlonglong(word));
    case Kind::Float: {
        double d;
        std::memcpy(&d, &word, sizeof d);
        return QVariant(d);
    }
    case Kind::DateTime:
        return QVariant(QDateTime::fromMSecsSinceEpoch(word));
    case Kind::Date:
        return QVariant(QDate::fromJulianDay(word));
    case Kind::Bytes:
        return QVariant(QByteArray(col.arena.data() + spanOffset(word), qsizetype(spanLength(word))));
    case Kind::Text:
        return QVariant(textAt(col, row));
    }
    return QVariant();
}

QString Snapshot::text(int row, int column) const
{
    const Column& col = m_columns[column];
    switch (col.kinds[row]) {
    case Kind::Null:
        return QString();
    case Kind::Text:
        return textAt(col, row);
    case Kind::Integer:
        return QString::number(qlonglong(col.words[row]));
    case Kind::Float:
        return QString::number(value(row, column).toDouble(), 'g', 15);
    case Kind::DateTime:
        return value(row, column).toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case Kind::Date:
        return value(row, column).toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case Kind::Bytes:
        return QString::fromUtf8(value(row, column).toByteArray());
    }
    return QString();
}

double Snapshot::toDouble(int row, int column, bool* ok) const
{
    *ok = true;
    const Column& col = m_columns[column];
    switch (col.kinds[row]) {
    case Kind::Null:
        return 0.0;
    case Kind::Integer:
        return double(col.words[row]);
    case Kind::Float:
        return value(row, column).toDouble();
    default: {
        const QString t = text(row, column).trimmed();
        if (t.isEmpty())
            return 0.0;
        return t.toDouble(ok);
    }
    }
}

qlonglong Snapshot::toInteger(int row, int column, bool* ok) const
{
    *ok = true;
    const Column& col = m_columns[column];
    switch (col.kinds[row]) {
    case Kind::Null:
        return 0;
    case Kind::Integer:
        return qlonglong(col.words[row]);
    case Kind::Float:
        return qRound64(value(row, column).toDouble());
    default: {
        const QString t = text(row, column).trimmed();
        if (t.isEmpty())
            return 0;
        return t.toLongLong(ok);
    }
    }
}

std::size_t Snapshot::memoryBytes() const
{
    std::size_t total = sizeof(*this) + m_columns.capacity() * sizeof(Column);
    for (const Column& c : m_columns)
        total += c.kinds.capacity() * sizeof(Kind) + c.words.capacity() * sizeof(std::int64_t) + c.arena.capacity();
    return total;
}
