#include "TADOQuery.h"

#include "Failure.h"
#include "ParameterMarkers.h"
#include "TADOConnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

TADOQuery::TADOQuery(TADOConnection& connection, const QString& name, int commandTimeoutSeconds,
                     QObject* parent)
    : QObject(parent), m_connection(connection), m_commandTimeoutSeconds(commandTimeoutSeconds)
{
    setObjectName(name);
}

TADOQuery::~TADOQuery() = default;

void TADOQuery::close()
{
    if (!m_snapshot)
        return;
    m_snapshot.reset();
    m_currentRow = 0;
    emit closed();
}

void TADOQuery::clearText()
{
    close();
    m_lines.clear();
    parseParameters();
}

void TADOQuery::addLine(const QString& line)
{
    close();
    m_lines << line;
    parseParameters();
}

void TADOQuery::setStatement(const QStringList& lines)
{
    clearText();
    for (const QString& line : lines)
        addLine(line);
}

void TADOQuery::parseParameters()
{
    const ParameterMarkers markers = parseParameterMarkers(text());
    m_positionalText = markers.positionalText;
    m_markerNames = markers.markerNames;
    m_parameters.clear();
    for (const QString& marker : m_markerNames) {
        bool known = false;
        for (const Parameter& p : m_parameters)
            known = known || p.name.compare(marker, Qt::CaseInsensitive) == 0;
        if (!known)
            m_parameters.push_back(Parameter{marker, QVariant(), false});
    }
}

void TADOQuery::setParameter(const QString& name, const QVariant& value)
{
    for (Parameter& p : m_parameters) {
        if (p.name.compare(name, Qt::CaseInsensitive) == 0) {
            // The empty text is bound as an empty string, never as NULL.
            const bool nullText = value.typeId() == QMetaType::QString && value.toString().isNull();
            p.value = nullText ? QVariant(QStringLiteral("")) : value;
            p.bound = true;
            return;
        }
    }
    throw Failure(failureText(QStringLiteral("Parameter '%1' not found").arg(name)));
}

QString TADOQuery::failureText(const QString& what) const
{
    return QStringLiteral("%1: %2").arg(objectName(), what);
}

void TADOQuery::open()
{
    run(true);
}

void TADOQuery::execute()
{
    run(false);
}

void TADOQuery::run(bool readResult)
{
    close();
    if (m_lines.isEmpty() || text().trimmed().isEmpty())
        throw Failure(failureText(QStringLiteral("The statement text is empty")));
    for (const Parameter& p : m_parameters) {
        if (!p.bound)
            throw Failure(failureText(QStringLiteral("Parameter '%1' has no value").arg(p.name)));
    }
    if (!m_connection.connected())
        m_connection.open();

    const QString statement = m_connection.rewrite(m_positionalText);
    if (!readResult) {
        runExecute(statement);
        return;
    }

    QSqlQuery query(m_connection.database());
    prepare(query, statement);
    bindAndExecute(query);
    if (!query.isSelect()) {
        query.finish();
        throw Failure(failureText(QStringLiteral("The statement returned no result set")));
    }
    const QSqlRecord record = query.record();
    QStringList columns;
    for (int i = 0; i < record.count(); ++i)
        columns << record.fieldName(i);
    auto snapshot = std::make_shared<Snapshot>(columns);
    snapshot->readAll(query);
    if (query.lastError().isValid())
        fail(query);
    query.finish();
    m_snapshot = std::move(snapshot);
    m_currentRow = 0;
    emit opened();
    emit currentRowChanged(m_currentRow);
}

// An insert or update is kept prepared: the same text run again in the same
// session of the connection (one update per row of a walk) is only bound and
// executed. A statement that fails is not kept.
void TADOQuery::runExecute(const QString& statement)
{
    const bool reusable = m_kept && m_keptText == statement && m_keptSession == m_connection.session();
    if (!reusable) {
        m_kept.reset();
        auto query = std::make_unique<QSqlQuery>(m_connection.database());
        prepare(*query, statement);
        m_kept = std::move(query);
        m_keptText = statement;
        m_keptSession = m_connection.session();
    }
    try {
        bindAndExecute(*m_kept);
    } catch (const Failure&) {
        m_kept.reset();
        throw;
    }
    m_kept->finish();
}

void TADOQuery::prepare(QSqlQuery& query, const QString& statement)
{
    query.setForwardOnly(true);
    if (!query.prepare(statement))
        fail(query);
}

void TADOQuery::bindAndExecute(QSqlQuery& query)
{
    int position = 0;
    for (const QString& marker : m_markerNames) {
        for (const Parameter& p : m_parameters) {
            if (p.name.compare(marker, Qt::CaseInsensitive) == 0)
                query.bindValue(position++, p.value);
        }
    }
    m_connection.applyCommandTimeout(query, m_commandTimeoutSeconds);
    if (!query.exec())
        fail(query);
}

void TADOQuery::fail(QSqlQuery& query)
{
    const QString error = query.lastError().text().trimmed();
    query.finish();
    m_connection.checkAfterFailure();
    throw Failure(error.isEmpty() ? failureText(QStringLiteral("The statement failed")) : error);
}

void TADOQuery::requireOpen() const
{
    if (!m_snapshot)
        throw Failure(failureText(QStringLiteral("Cannot perform this operation on a closed dataset")));
}

int TADOQuery::recordCount() const
{
    requireOpen();
    return m_snapshot->rowCount();
}

bool TADOQuery::isEmpty() const
{
    return !m_snapshot || m_snapshot->rowCount() == 0;
}

void TADOQuery::first()
{
    requireOpen();
    setCurrentRow(0);
}

void TADOQuery::next()
{
    requireOpen();
    if (m_currentRow < m_snapshot->rowCount())
        setCurrentRow(m_currentRow + 1);
}

bool TADOQuery::eof() const
{
    return !m_snapshot || m_currentRow >= m_snapshot->rowCount();
}

void TADOQuery::setCurrentRow(int row)
{
    if (!m_snapshot || row == m_currentRow || row < 0 || row > m_snapshot->rowCount())
        return;
    m_currentRow = row;
    emit currentRowChanged(m_currentRow);
}

int TADOQuery::fieldColumn(const QString& field) const
{
    requireOpen();
    const int column = m_snapshot->columnIndex(field);
    if (column < 0)
        throw Failure(failureText(QStringLiteral("Field '%1' not found").arg(field)));
    return column;
}

bool TADOQuery::onRow() const
{
    return m_currentRow < m_snapshot->rowCount();
}

QString TADOQuery::fieldAsText(const QString& field) const
{
    const int column = fieldColumn(field);
    return onRow() ? m_snapshot->text(m_currentRow, column) : QString();
}

double TADOQuery::fieldAsFloat(const QString& field) const
{
    const int column = fieldColumn(field);
    if (!onRow())
        return 0.0;
    bool ok = false;
    const double value = m_snapshot->toDouble(m_currentRow, column, &ok);
    if (!ok)
        throw Failure(QStringLiteral("'%1' is not a valid floating point value")
                          .arg(m_snapshot->text(m_currentRow, column)));
    return value;
}

qlonglong TADOQuery::fieldAsInteger(const QString& field) const
{
    const int column = fieldColumn(field);
    if (!onRow())
        return 0;
    bool ok = false;
    const qlonglong value = m_snapshot->toInteger(m_currentRow, column, &ok);
    if (!ok)
        throw Failure(QStringLiteral("'%1' is not a valid integer value")
                          .arg(m_snapshot->text(m_currentRow, column)));
    return value;
}
