// The SQL Server path (ODBC through FreeTDS) without a server: the
// connection built from the deployment value, the start of the main window
// against a loopback port where nothing listens, and the statements passed
// to SQL Server unchanged while the other catalogues get "Top N" as "limit N".
#include "Captures.h"
#include "CatalogueLocation.h"
#include "Dialect.h"
#include "TADOConnection.h"
#include "Unit2.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTableView>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class TestSqlServerPath : public QObject
{
    Q_OBJECT

private slots:
    void connectionFromDeploymentValue_data();
    void connectionFromDeploymentValue();
    void startWithoutServer();
    void statementsSentUnchanged_data();
    void statementsSentUnchanged();

private:
    static int closedPort();
};

// A loopback port on which nothing listens: bound once, then released.
int TestSqlServerPath::closedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = -1;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

void TestSqlServerPath::connectionFromDeploymentValue_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("connectionString");
    QTest::newRow("with port") << "sqlserver://velmora@db.example.cn:1533"
                               << "DRIVER={FreeTDS};Server=db.example.cn;Port=1533;Database=Net;UID=velmora;PWD=plumbax;"
                                  "TDS_Version=7.4;ClientCharset=UTF-8";
    QTest::newRow("default port") << "sqlserver://sa@10.0.0.7"
                                  << "DRIVER={FreeTDS};Server=10.0.0.7;Port=1433;Database=Net;UID=sa;PWD=plumbax;"
                                     "TDS_Version=7.4;ClientCharset=UTF-8";
}

void TestSqlServerPath::connectionFromDeploymentValue()
{
    QFETCH(QString, value);
    QFETCH(QString, connectionString);
    const ConnectionSettings s = CatalogueLocation::parse(value).settings;
    QCOMPARE(s.driver, QString("QODBC"));
    QCOMPARE(s.databaseName, connectionString);
    QCOMPARE(s.connectTimeoutSeconds, 30);
    QVERIFY(s.connectOptions.contains("SQL_ATTR_LOGIN_TIMEOUT=30"));
}

void TestSqlServerPath::startWithoutServer()
{
    const int port = closedPort();
    QVERIFY(port > 0);
    const ConnectionSettings s =
        CatalogueLocation::parse(QStringLiteral("sqlserver://velmora@127.0.0.1:%1").arg(port)).settings;

    MessageCapture messages;
    LaunchCapture launches;
    QElapsedTimer clock;
    clock.start();
    TFMain window(s);
    window.show();
    const qint64 took = clock.elapsed();
    qInfo("start against 127.0.0.1:%d gave up after %lld ms: %s", port, took, qPrintable(messages.texts().join(" | ")));

    // The connection the window opens, then the start page's first statement.
    QCOMPARE(messages.messages.size(), 2);
    for (const auto& message : messages.messages) {
        QCOMPARE(message.icon, MessageBoxes::Icon::Error);
        QVERIFY2(message.text.contains("[FreeTDS]"), qPrintable(message.text));
    }
    QVERIFY2(took < 2 * (CatalogueLocation::kConnectionTimeoutSeconds + 5) * 1000, "the start outlived the connection timeout");
    QVERIFY(!window.connection().connected());
    QCOMPARE(window.findChild<QTableView*>("DBGrid1")->model()->rowCount(), 0);
    QVERIFY(launches.requests.isEmpty());
}

void TestSqlServerPath::statementsSentUnchanged_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("sent");

    const QStringList statements{"select Top 7 * from Net order by UserCount Desc",
                                 "select Top 9 * from Net order by SumCount Desc",
                                 "select Top 5 * from GG",
                                 "select * from UsersM where UserID=?"};
    const QStringList limited{"select * from Net order by UserCount Desc limit 7",
                              "select * from Net order by SumCount Desc limit 9",
                              "select * from GG limit 5",
                              "select * from UsersM where UserID=?"};
    const QStringList values{"sqlserver://velmora@127.0.0.1:1433", "postgresql://velmora@127.0.0.1:5432",
                             "postgresql-odbc://velmora@127.0.0.1:5432", "sqlite:/nonexistent/catalogue.sqlite"};
    for (const QString& value : values) {
        const bool sqlServer = value.startsWith("sqlserver");
        for (int i = 0; i < statements.size(); ++i)
            QTest::addRow("%s %d", qPrintable(value.section(':', 0, 0)), i)
                << value << statements[i] << (sqlServer ? statements[i] : limited[i]);
    }
}

void TestSqlServerPath::statementsSentUnchanged()
{
    QFETCH(QString, value);
    QFETCH(QString, statement);
    QFETCH(QString, sent);
    TADOConnection connection(CatalogueLocation::parse(value).settings);
    installDialect(connection);
    QCOMPARE(connection.rewrite(statement), sent);
}

QTEST_MAIN(TestSqlServerPath)
#include "test_sqlserver_path.moc"
