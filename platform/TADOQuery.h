#pragma once

#include "Snapshot.h"

#include <QObject>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

class QSqlQuery;
class TADOConnection;

// A query object: owned by a window, bound to the one connection and reused
// for many statements. The statement cycle is
//   close(); clearText(); addLine(...); setParameter(name, value); open() or execute();
// setStatement() does the first three steps at once. Every failure throws
// Failure with the driver's text. An open result is a snapshot.
class TADOQuery : public QObject
{
    Q_OBJECT

public:
    TADOQuery(TADOConnection& connection, const QString& name, int commandTimeoutSeconds = 30,
              QObject* parent = nullptr);
    ~TADOQuery() override;

    QString name() const { return objectName(); }
    int commandTimeout() const { return m_commandTimeoutSeconds; }

    // The statement cycle.
    void close();
    void clearText();
    void addLine(const QString& line);
    void setStatement(const QStringList& lines);
    QString text() const { return m_lines.join(QLatin1Char('\n')); }
    // Binds a value to the marker of that name, compared without regard to case.
    void setParameter(const QString& name, const QVariant& value);
    void open();    // a select: the result becomes the snapshot
    void execute(); // an insert or update: the rows touched are not used

    // The open result.
    bool isOpen() const { return m_snapshot != nullptr; }
    int recordCount() const;
    bool isEmpty() const; // a closed query object counts as empty
    void first();
    void next();
    bool eof() const;
    int currentRow() const { return m_currentRow; }
    void setCurrentRow(int row);
    QString fieldAsText(const QString& field) const;
    double fieldAsFloat(const QString& field) const;
    qlonglong fieldAsInteger(const QString& field) const;
    const Snapshot* snapshot() const { return m_snapshot.get(); }

signals:
    void opened();
    void closed();
    void currentRowChanged(int row);

private:
    struct Parameter
    {
        QString name;
        QVariant value;
        bool bound = false;
    };

    void parseParameters();
    void requireOpen() const;
    int fieldColumn(const QString& field) const;
    bool onRow() const;
    QString failureText(const QString& what) const;
    void run(bool readResult);
    void runExecute(const QString& statement);
    void prepare(QSqlQuery& query, const QString& statement);
    // Binds the values in marker order and runs the prepared statement.
    void bindAndExecute(QSqlQuery& query);
    // Throws the driver's text, after checking whether the server still answers.
    [[noreturn]] void fail(QSqlQuery& query);

    TADOConnection& m_connection;
    int m_commandTimeoutSeconds;
    QStringList m_lines;
    QString m_positionalText;
    QStringList m_markerNames;
    std::vector<Parameter> m_parameters; // one per distinct name
    std::shared_ptr<Snapshot> m_snapshot;
    // The last insert or update, kept prepared: the same text run again (one
    // update per row of a walk) is bound and executed without a new prepare.
    std::unique_ptr<QSqlQuery> m_kept;
    QString m_keptText;
    quint64 m_keptSession = 0;
    int m_currentRow = 0;
};
