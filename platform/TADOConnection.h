#pragma once

#include <QSqlDatabase>
#include <QString>
#include <functional>

class QSqlQuery;

// The settings of one database connection, fixed when it is made.
struct ConnectionSettings
{
    QString driver;        // Qt driver: "QSQLITE", "QPSQL" or "QODBC"
    QString databaseName;  // file (QSQLITE), database (QPSQL) or ODBC connection string (QODBC)
    QString hostName;
    int port = -1;
    QString userName;
    QString password;
    QString connectOptions;
    int connectTimeoutSeconds = 30;
};

// Registers a Qt database connection of that name with these settings (not opened).
QSqlDatabase addDatabase(const QString& connectionName, const ConnectionSettings& settings);

// The one connection of a run, shared by every query object. It opens on
// demand, and it notices when a failed statement has lost the server, so that
// the next statement opens it again instead of failing for the rest of the run.
class TADOConnection
{
public:
    using StatementRewriter = std::function<QString(const QString&)>;

    explicit TADOConnection(const ConnectionSettings& settings);
    ~TADOConnection();
    TADOConnection(const TADOConnection&) = delete;
    TADOConnection& operator=(const TADOConnection&) = delete;

    // Throws Failure with the driver's text when the server cannot be reached.
    void open();
    void close();
    bool connected() const;
    // Counts the openings: a statement prepared under another opening
    // belongs to a session that no longer exists.
    quint64 session() const { return m_session; }

    QSqlDatabase database() const;
    QString driverName() const { return m_settings.driver; }
    const ConnectionSettings& settings() const { return m_settings; }

    // A statement text is passed through here before it is prepared.
    void setStatementRewriter(StatementRewriter rewriter) { m_rewriter = std::move(rewriter); }
    QString rewrite(const QString& statement) const;

    // Limits how long the next statement on this query may run, where the
    // driver supports it. Call after prepare(), before exec().
    void applyCommandTimeout(QSqlQuery& query, int seconds);

    // Called after a statement failed: when the server no longer answers,
    // the connection is closed so the next statement reopens it.
    void checkAfterFailure();

private:
    ConnectionSettings m_settings;
    QString m_connectionName;
    StatementRewriter m_rewriter;
    int m_serverStatementTimeout = -1;
    quint64 m_session = 0; // PostgreSQL: the session's current statement_timeout
};
