#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <string>
#include <vector>

class QSqlQuery;

// The rows of an open result, read in full when the statement ran and held
// apart from the database (a static cursor). Stored by column in compact
// form: one kind byte and one 8-byte word per cell, text as UTF-8 in one
// buffer per column, so a large result costs little more than its own text.
class Snapshot
{
public:
    explicit Snapshot(const QStringList& columnNames);

    // Reads every remaining row of an executed query.
    void readAll(QSqlQuery& query);
    void appendRow(const QVariantList& values);

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
    enum class Kind : std::uint8_t { Null, Integer, Float, Text, DateTime, Date, Bytes };

    struct Column
    {
        QString name;
        std::vector<Kind> kinds;
        std::vector<std::int64_t> words; // integer, double bits, msecs, julian day, or text offset/length
        std::string arena;               // UTF-8 text and raw bytes of this column
    };

    void appendCell(Column& column, const QVariant& value);
    static void appendText(Column& column, const QString& text);
    static void appendBytes(Column& column, const char* data, std::size_t size);
    QString textAt(const Column& column, int row) const;

    std::vector<Column> m_columns;
    int m_rowCount = 0;
};
