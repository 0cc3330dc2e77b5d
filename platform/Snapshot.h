#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "ResultMemory.h"

#include <cstdint>
#include <vector>

class QSqlQuery;

// The rows of an open result, read in full when the statement ran and held
// apart from the database (a static cursor). Stored by column in compact
// form: one kind byte and one 8-byte word per cell, text as UTF-8 in one
// arena per column, so a large result costs little more than its own text.
// Every store grows in blocks, never by copying: a small result takes a few
// small blocks, a large one at most one part-filled block per store, and no
// moment of the read needs the old and a doubled copy side by side. All
// blocks come from the result's own memory (see ResultMemory).
class Snapshot
{
public:
    explicit Snapshot(const QStringList& columnNames);

    // Reads every remaining row of an executed query, then settles.
    void readAll(QSqlQuery& query);
    void appendRow(const QVariantList& values);
    // Gives back the unused ends of the last blocks. No row can be added
    // after it (that throws std::logic_error); every row stays readable.
    void settle();

    int rowCount() const { return m_rowCount; }
    int columnCount() const { return int(m_columns.size()); }
    QString columnName(int column) const { return m_columns[column].name; }
    // Column names resolve without regard to letter case; -1 when absent.
    int columnIndex(const QString& name) const;

    bool isNull(int row, int column) const;
    QVariant value(int row, int column) const;
    QString text(int row, int column) const;     // NULL -> empty text
    double toDouble(int row, int column, bool* ok) const;     // NULL -> 0
    qlonglong toInteger(int row, int column, bool* ok) const; // NULL -> 0

    // Bytes held by the stored cells (capacity included).
    std::size_t memoryBytes() const;

private:
    // LocalDateTime: a local wall-clock time, kept as julian day * 86400000 +
    // msecs of the day; DateTime: any other, as msecs since the epoch.
    enum class Kind : std::uint8_t { Null, Integer, Float, Text, DateTime, Date, Bytes, LocalDateTime };

    // An array that grows by whole blocks: 16 elements first, each next block
    // twice the last, up to 4096 elements a block.
    template <typename T>
    class BlockArray
    {
    public:
        void push_back(T value, ResultMemory& memory);
        void settle(ResultMemory& memory);
        T operator[](std::size_t i) const { return element(i); }
        std::size_t memoryBytes() const;

    private:
        T& element(std::size_t i) const;
        std::vector<T*> m_blocks;
        T* m_next = nullptr; // the free end of the last block
        T* m_end = nullptr;
    };

    // UTF-8 text and raw bytes, in blocks of at most 64 KiB; a cell never
    // spans two blocks (a longer one gets a block of its own). A cell's place
    // is block << 16 | offset.
    class Arena
    {
    public:
        // Room for at most size bytes at the end; returns where they go.
        char* reserve(std::size_t size, ResultMemory& memory);
        // Keeps the first size bytes of the last reservation; returns their place.
        std::uint32_t commit(std::size_t size);
        void settle(ResultMemory& memory);
        const char* at(std::uint32_t place) const;
        std::size_t memoryBytes() const;

    private:
        struct Block
        {
            char* data;
            std::size_t capacity;
        };
        std::vector<Block> m_blocks;
        std::size_t m_used = 0; // in the last block
    };

    struct Column
    {
        QString name;
        BlockArray<Kind> kinds;
        BlockArray<std::int64_t> words; // integer, double bits, msecs, julian day, or text place/length
        Arena arena;                    // UTF-8 text and raw bytes of this column
    };

    void appendCell(Column& column, const QVariant& value);
    void appendText(Column& column, const QString& text);
    void appendBytes(Column& column, const char* data, std::size_t size, Kind kind);
    void appendWord(Column& column, Kind kind, std::int64_t word);
    QString textAt(const Column& column, int row) const;

    void expectUnsettled() const;

    ResultMemory m_memory;
    std::vector<Column> m_columns;
    int m_rowCount = 0;
    bool m_settled = false;
};
