#include "Snapshot.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <cstring>
#include <stdexcept>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

std::int64_t packSpan(std::uint32_t place, std::size_t length)
{
    return std::int64_t((std::uint64_t(place) << 32) | std::uint64_t(std::uint32_t(length)));
}

std::uint32_t spanPlace(std::int64_t word)
{
    return std::uint32_t(std::uint64_t(word) >> 32);
}

std::size_t spanLength(std::int64_t word)
{
    return std::size_t(std::uint32_t(std::uint64_t(word)));
}

constexpr unsigned kFirstBlockShift = 4;  // 16 elements
constexpr unsigned kLastBlockShift = 12;  // 4096 elements
constexpr std::size_t kArenaSlotShift = 16; // 64 KiB
constexpr std::size_t kArenaSlot = std::size_t(1) << kArenaSlotShift;
constexpr std::size_t kArenaFirstBlock = 256;

constexpr std::int64_t kMsecsPerDay = 86400000;

QDate localDate(std::int64_t word)
{
    const std::int64_t day = word >= 0 ? word / kMsecsPerDay : -((-word + kMsecsPerDay - 1) / kMsecsPerDay);
    return QDate::fromJulianDay(day);
}

QTime localTime(std::int64_t word)
{
    const std::int64_t ms = word % kMsecsPerDay;
    return QTime::fromMSecsSinceStartOfDay(int(ms < 0 ? ms + kMsecsPerDay : ms));
}

// Copies the leading ASCII characters of a UTF-16 text as bytes, eight at a
// time where the processor allows; returns how many were copied.
qsizetype copyAsciiPrefix(const char16_t* chars, qsizetype n, char* out)
{
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
    for (; i + 8 <= n; i += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chars + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(units, nonAscii), _mm_setzero_si128())) != 0xFFFF)
            break;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(units, units));
    }
#endif
    while (i < n && chars[i] < 0x80) {
        out[i] = char(chars[i]);
        ++i;
    }
    return i;
}

unsigned floorLog2(std::size_t n)
{
    return unsigned(63 - __builtin_clzll((unsigned long long)n));
}

// Block and offset of element i: blocks of 2^4, 2^5, ... 2^12 elements, then 2^12 each.
void locate(std::size_t i, std::size_t& block, std::size_t& offset)
{
    const std::size_t j = i + (std::size_t(1) << kFirstBlockShift);
    const std::size_t geometricEnd = std::size_t(1) << (kLastBlockShift + 1);
    if (j < geometricEnd) {
        const unsigned log = floorLog2(j);
        block = log - kFirstBlockShift;
        offset = j - (std::size_t(1) << log);
    } else {
        const std::size_t k = j - geometricEnd;
        block = (kLastBlockShift - kFirstBlockShift + 1) + (k >> kLastBlockShift);
        offset = k & ((std::size_t(1) << kLastBlockShift) - 1);
    }
}

std::size_t blockLength(std::size_t block)
{
    const std::size_t geometricBlocks = kLastBlockShift - kFirstBlockShift + 1;
    return std::size_t(1) << (block < geometricBlocks ? kFirstBlockShift + block : kLastBlockShift);
}

} // namespace

template <typename T>
T& Snapshot::BlockArray<T>::element(std::size_t i) const
{
    std::size_t block, offset;
    locate(i, block, offset);
    return m_blocks[block][offset];
}

template <typename T>
void Snapshot::BlockArray<T>::push_back(T value, ResultMemory& memory)
{
    if (m_next == m_end) {
        const std::size_t length = blockLength(m_blocks.size());
        m_blocks.push_back(static_cast<T*>(memory.take(length * sizeof(T))));
        m_next = m_blocks.back();
        m_end = m_next + length;
    }
    *m_next++ = value;
}

// A block's place in the array follows from the lengths of the blocks before
// it, so once the last block is cut to what it holds nothing may follow it.
template <typename T>
void Snapshot::BlockArray<T>::settle(ResultMemory& memory)
{
    if (m_blocks.empty())
        return;
    const std::size_t used = std::size_t(m_next - m_blocks.back());
    m_blocks.back() = static_cast<T*>(memory.shrink(m_blocks.back(), used * sizeof(T)));
    m_next = m_end = m_blocks.back() + used;
}

// The blocks themselves are counted by the result's memory.
template <typename T>
std::size_t Snapshot::BlockArray<T>::memoryBytes() const
{
    return m_blocks.capacity() * sizeof(m_blocks[0]);
}

char* Snapshot::Arena::reserve(std::size_t size, ResultMemory& memory)
{
    if (m_blocks.empty() || m_blocks.back().capacity - m_used < size || m_used >= kArenaSlot) {
        std::size_t capacity = m_blocks.empty() ? kArenaFirstBlock : std::min(kArenaSlot, m_blocks.back().capacity * 2);
        while (capacity < size && capacity < kArenaSlot)
            capacity *= 2;
        capacity = std::max(capacity, size);
        m_blocks.push_back(Block{static_cast<char*>(memory.take(capacity)), capacity});
        m_used = 0;
    }
    return m_blocks.back().data + m_used;
}

std::uint32_t Snapshot::Arena::commit(std::size_t size)
{
    const std::uint32_t place = std::uint32_t(((m_blocks.size() - 1) << kArenaSlotShift) | m_used);
    m_used += size;
    return place;
}

// A cell's place names its block, not an address, so a block may move.
void Snapshot::Arena::settle(ResultMemory& memory)
{
    if (m_blocks.empty())
        return;
    Block& last = m_blocks.back();
    last.data = static_cast<char*>(memory.shrink(last.data, m_used));
    last.capacity = m_used;
}

const char* Snapshot::Arena::at(std::uint32_t place) const
{
    const Block& block = m_blocks[place >> kArenaSlotShift];
    return block.data + (place & (kArenaSlot - 1));
}

std::size_t Snapshot::Arena::memoryBytes() const
{
    return m_blocks.capacity() * sizeof(Block);
}

Snapshot::Snapshot(const QStringList& columnNames)
{
    m_columns.resize(columnNames.size());
    for (int i = 0; i < columnNames.size(); ++i)
        m_columns[i].name = columnNames.at(i);
}

void Snapshot::readAll(QSqlQuery& query)
{
    expectUnsettled();
    const int columns = columnCount();
    while (query.next()) {
        for (int c = 0; c < columns; ++c)
            appendCell(m_columns[c], query.value(c));
        ++m_rowCount;
    }
    settle();
}

void Snapshot::appendRow(const QVariantList& values)
{
    expectUnsettled();
    for (int c = 0; c < columnCount(); ++c)
        appendCell(m_columns[c], c < values.size() ? values.at(c) : QVariant());
    ++m_rowCount;
}

void Snapshot::settle()
{
    for (Column& column : m_columns) {
        column.kinds.settle(m_memory);
        column.words.settle(m_memory);
        column.arena.settle(m_memory);
    }
    m_settled = true;
}

void Snapshot::expectUnsettled() const
{
    if (m_settled)
        throw std::logic_error("Snapshot: no row can be added once it is settled");
}

void Snapshot::appendCell(Column& column, const QVariant& value)
{
    if (value.isNull()) {
        appendWord(column, Kind::Null, 0);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::QString:
        // Read in place: a copy would cost a reference count round trip per cell.
        appendText(column, *static_cast<const QString*>(value.constData()));
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
        appendWord(column, Kind::Integer, value.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        std::int64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        appendWord(column, Kind::Float, bits);
        return;
    }
    case QMetaType::QDateTime: {
        // Most drivers give a local time; keeping its date and time of day
        // spares the time-zone arithmetic of an epoch value on every cell.
        const QDateTime dateTime = value.toDateTime();
        if (dateTime.isValid() && dateTime.timeSpec() == Qt::LocalTime) {
            appendWord(column, Kind::LocalDateTime, dateTime.date().toJulianDay() * kMsecsPerDay + dateTime.time().msecsSinceStartOfDay());
        } else {
            appendWord(column, Kind::DateTime, dateTime.toMSecsSinceEpoch());
        }
        return;
    }
    case QMetaType::QDate:
        appendWord(column, Kind::Date, value.toDate().toJulianDay());
        return;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        appendBytes(column, bytes.constData(), std::size_t(bytes.size()), Kind::Bytes);
        return;
    }
    default:
        appendText(column, value.toString());
        return;
    }
}

void Snapshot::appendWord(Column& column, Kind kind, std::int64_t word)
{
    column.kinds.push_back(kind, m_memory);
    column.words.push_back(word, m_memory);
}

void Snapshot::appendBytes(Column& column, const char* data, std::size_t size, Kind kind)
{
    std::uint32_t place = 0;
    if (size) {
        std::memcpy(column.arena.reserve(size, m_memory), data, size);
        place = column.arena.commit(size);
    }
    appendWord(column, kind, packSpan(place, size));
}

void Snapshot::appendText(Column& column, const QString& text)
{
    // Short texts (every column of the catalogue) are encoded straight into
    // the arena, with room for the longest possible UTF-8 form; longer ones
    // are encoded first so that the arena holds only their exact size.
    constexpr qsizetype kDirect = 4096;
    if (text.size() > kDirect) {
        const QByteArray utf8 = text.toUtf8();
        appendBytes(column, utf8.constData(), std::size_t(utf8.size()), Kind::Text);
        return;
    }
    if (text.isEmpty()) {
        appendWord(column, Kind::Text, packSpan(0, 0));
        return;
    }
    // Encoded here rather than through QStringEncoder: most cells are short
    // and mostly ASCII, and the per-cell set-up of an encoder costs more than
    // the encoding. A lone surrogate goes the general way.
    const char16_t* chars = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype n = text.size();
    char* const out = column.arena.reserve(std::size_t(n) * 3, m_memory);
    char* p = out;
    qsizetype i = copyAsciiPrefix(chars, n, out);
    p += i;
    for (; i < n; ++i) {
        const char16_t c = chars[i];
        if (c < 0x80) {
            *p++ = char(c);
        } else if (c < 0x800) {
            *p++ = char(0xC0 | (c >> 6));
            *p++ = char(0x80 | (c & 0x3F));
        } else if (!QChar::isSurrogate(c)) {
            *p++ = char(0xE0 | (c >> 12));
            *p++ = char(0x80 | ((c >> 6) & 0x3F));
            *p++ = char(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(chars[i + 1])) {
            const char32_t u = QChar::surrogateToUcs4(c, chars[++i]);
            *p++ = char(0xF0 | (u >> 18));
            *p++ = char(0x80 | ((u >> 12) & 0x3F));
            *p++ = char(0x80 | ((u >> 6) & 0x3F));
            *p++ = char(0x80 | (u & 0x3F));
        } else {
            const QByteArray utf8 = text.toUtf8();
            appendBytes(column, utf8.constData(), std::size_t(utf8.size()), Kind::Text);
            return;
        }
    }
    const std::size_t size = std::size_t(p - out);
    appendWord(column, Kind::Text, packSpan(column.arena.commit(size), size));
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
    const std::size_t length = spanLength(word);
    // An empty text reads as empty, not null, as a cell of the database does.
    return QString::fromUtf8(length ? column.arena.at(spanPlace(word)) : "", qsizetype(length));
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
    case Kind::LocalDateTime:
        return QVariant(QDateTime(localDate(word), localTime(word)));
    case Kind::Date:
        return QVariant(QDate::fromJulianDay(word));
    case Kind::Bytes:
        return QVariant(QByteArray(spanLength(word) ? col.arena.at(spanPlace(word)) : "", qsizetype(spanLength(word))));
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
    case Kind::LocalDateTime:
        return localDate(col.words[row]).toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
               localTime(col.words[row]).toString(QStringLiteral("HH:mm:ss"));
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
    std::size_t total = sizeof(*this) + m_columns.capacity() * sizeof(Column) + m_memory.memoryBytes();
    for (const Column& c : m_columns)
        total += c.kinds.memoryBytes() + c.words.memoryBytes() + c.arena.memoryBytes();
    return total;
}
