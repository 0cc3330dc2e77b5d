#include "TADOConnection.h"

#include "Failure.h"

#include <QAtomicInt>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlResult>
#include <QVariant>

#include <sql.h>
#include <sqlext.h>

namespace {

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("velmora-connection-%1").arg(counter.fetchAndAddRelaxed(1));
}

QString errorText(const QSqlError& error)
{
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("The database reported an error without a text") : text;
}

} // namespace

QSqlDatabase addDatabase(const QString& connectionName, const ConnectionSettings& settings)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(settings.driver, connectionName);
    db.setDatabaseName(settings.databaseName);
    db.setHostName(settings.hostName);
    if (settings.port > 0)
        db.setPort(settings.port);
    db.setUserName(settings.userName);
    db.setPassword(settings.password);
    db.setConnectOptions(settings.connectOptions);
    return db;
}

TADOConnection::TADOConnection(const ConnectionSettings& settings)
    : m_settings(settings), m_connectionName(nextConnectionName())
{
    addDatabase(m_connectionName, m_settings);
}

TADOConnection::~TADOConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

void TADOConnection::open()
{
    QSqlDatabase db = database();
    if (!db.isValid())
        throw Failure(QStringLiteral("The database driver %1 is not available").arg(m_settings.driver));
    if (db.isOpen())
        return;
    m_serverStatementTimeout = -1;
    if (!db.open()) {
        const QString text = errorText(db.lastError());
        db.close();
        throw Failure(text);
    }
    ++m_session;
}

void TADOConnection::close()
{
    database().close();
    m_serverStatementTimeout = -1;
}

bool TADOConnection::connected() const
{
    return database().isOpen();
}

QSqlDatabase TADOConnection::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QString TADOConnection::rewrite(const QString& statement) const
{
    return m_rewriter ? m_rewriter(statement) : statement;
}

void TADOConnection::applyCommandTimeout(QSqlQuery& query, int seconds)
{
    if (seconds <= 0)
        return;
    if (m_settings.driver == QLatin1String("QODBC")) {
        const QVariant handle = query.driver() ? query.result()->handle() : QVariant();
        if (handle.isValid() && handle.metaType().sizeOf() == int(sizeof(SQLHANDLE))) {
            SQLHANDLE statement = *static_cast<SQLHANDLE const*>(handle.data());
            if (statement)
                SQLSetStmtAttr(statement, SQL_ATTR_QUERY_TIMEOUT,
                               reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(seconds)), 0);
        }
    } else if (m_settings.driver == QLatin1String("QPSQL")) {
        if (m_serverStatementTimeout == seconds)
            return;
        QSqlQuery set(database());
        if (set.exec(QStringLiteral("set statement_timeout = %1").arg(seconds * 1000)))
            m_serverStatementTimeout = seconds;
    }
}

void TADOConnection::checkAfterFailure()
{
    QSqlDatabase db = database();
    if (!db.isOpen())
        return;
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("select 1")))
        close();
}
