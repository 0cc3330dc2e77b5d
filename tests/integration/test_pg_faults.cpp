// The program when the catalogue server fails: down at start and started
// afterwards, lost while the program runs, and a statement held up by a lock
// past its command timeout. This suite has a server of its own, which it
// stops and starts (scripts/pg-test-server.sh halt / resume).
#include "IntegrationSupport.h"

#include "CatalogueLocation.h"
#include "DefaultErrorHandler.h"
#include "Dialect.h"
#include "Failure.h"
#include "MakerDetails.h"
#include "TADOConnection.h"
#include "TADOQuery.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>

using namespace Integration;

namespace {

// Another session holding a row of Net locked until it is released.
class RowLock
{
public:
    explicit RowLock(const QString& table, const QString& where)
    {
        const ConnectionSettings owner =
            CatalogueLocation::parse(PostgresCatalogue::deploymentValue(PostgresCatalogue::Kind::Native, "velmora_admin")).settings;
        QSqlDatabase db = QSqlDatabase::addDatabase(owner.driver, m_name);
        db.setDatabaseName(owner.databaseName);
        db.setHostName(owner.hostName);
        db.setPort(owner.port);
        db.setUserName(owner.userName);
        db.setPassword(owner.password);
        QVERIFY(db.open());
        QVERIFY(db.transaction());
        QSqlQuery lock(db);
        QVERIFY(lock.exec(QStringLiteral("select * from %1 where %2 for update").arg(table, where)));
        QVERIFY(lock.next());
    }
    ~RowLock()
    {
        release();
        QSqlDatabase::removeDatabase(m_name);
    }
    void release()
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen()) {
            db.rollback();
            db.close();
        }
    }

private:
    QString m_name = QStringLiteral("row-lock");
};

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void serverDownAtStart_data();
    void serverDownAtStart();
    void connectionLost_data();
    void connectionLost();
    void commandTimeout_data();
    void commandTimeout();
    void windowStatementTimesOut();

private:
    QString folder() const { return PostgresCatalogue::serverFolder(); }
};

void TestFaults::init()
{
    QVERIFY(serverCommand("resume", folder()));
}

void TestFaults::cleanup()
{
    // A failed case must not leave the next one without a server.
    QVERIFY(serverCommand("resume", folder()));
}

void TestFaults::serverDownAtStart_data()
{
    addDriverColumn();
    for (const QString& driver : drivers())
        QTest::newRow(qPrintable(driver)) << driver;
}

void TestFaults::serverDownAtStart()
{
    QFETCH(QString, driver);
    PostgresCatalogue catalogue(PostgresCatalogue::kindOf(driver));
    addSmallCatalogue(catalogue);
    QVERIFY(serverCommand("halt", folder()));

    Window w(catalogue);
    // One box for the connection the window opens, one for the start page.
    QCOMPARE(w.messages.messages.size(), 2);
    for (const auto& message : w.messages.messages) {
        QCOMPARE(message.icon, MessageBoxes::Icon::Error);
        QVERIFY2(message.text.contains("connect", Qt::CaseInsensitive), qPrintable(message.text));
    }
    QVERIFY(w.main->isVisible());
    QCOMPARE(w.listRows(), 0);
    QCOMPARE(w.child<QLabel>("suiURLLabel1")->text(), MakerDetails::kSitePlaceholderCaption);
    QVERIFY(!w.main->connection().connected());

    // The server comes up; the next statement opens the connection by itself.
    QVERIFY(serverCommand("resume", folder()));
    catalogue.reconnect();
    QStringList groups;
    QTimer::singleShot(0, [&] {
        auto* tree = FKorvath->findChild<QTreeWidget*>("TreeView1");
        for (int g = 0; g < tree->topLevelItemCount(); ++g)
            groups << tree->topLevelItem(g)->text(0);
        FKorvath->close();
    });
    w.main->N7Click();
    QCOMPARE(groups, QStringList({"工具", "综合"}));
    QCOMPARE(w.messages.messages.size(), 2);
    QVERIFY(w.main->connection().connected());
    QCOMPARE(catalogue.scalar("select count(*) from LoadInfo").toInt(), 0);

    w.main->N3Click();
    QVERIFY(!w.main->isVisible());
}

// The server goes away under an open connection: restarted before the next
// statement, or still down when it runs and started only afterwards.
void TestFaults::connectionLost_data()
{
    addDriverColumn();
    QTest::addColumn<bool>("backBeforeStatement");
    for (const QString& driver : drivers()) {
        QTest::addRow("%s restarted", qPrintable(driver)) << driver << true;
        QTest::addRow("%s down during the statement", qPrintable(driver)) << driver << false;
    }
}

void TestFaults::connectionLost()
{
    QFETCH(QString, driver);
    QFETCH(bool, backBeforeStatement);
    PostgresCatalogue catalogue(PostgresCatalogue::kindOf(driver));
    addSmallCatalogue(catalogue);
    Window w(catalogue);
    QCOMPARE(w.messages.texts(), QStringList());
    QVERIFY(w.main->connection().connected());

    QVERIFY(serverCommand("halt", folder()));
    if (backBeforeStatement)
        QVERIFY(serverCommand("resume", folder()));

    w.addSite("163", "http://www.163.com", "门户");
    QCOMPARE(w.messages.messages.size(), 1);
    QCOMPARE(w.messages.messages[0].icon, MessageBoxes::Icon::Error);
    QVERIFY(!w.messages.texts()[0].isEmpty());
    qInfo("%s: %s", qPrintable(driver), qPrintable(w.messages.texts()[0]));
    QVERIFY(!w.main->connection().connected());
    QCOMPARE(w.child<QLineEdit>("Edit2")->text(), QString("http://www.163.com"));

    if (!backBeforeStatement)
        QVERIFY(serverCommand("resume", folder()));
    catalogue.reconnect();
    QCOMPARE(catalogue.scalar("select count(*) from UsersM").toInt(), 0);
    QCOMPARE(catalogue.scalar("select UserCount from Net where NetAddress = 'www.163.com'").toInt(), 7);

    // Enter again: the same addition, now whole.
    QTest::keyClick(w.child<QLineEdit>("Edit3"), Qt::Key_Return);
    QCOMPARE(w.messages.messages.size(), 1);
    QCOMPARE(catalogue.scalar("select count(*) from UsersM where UserNetRuL = 'http://www.163.com'").toInt(), 1);
    QCOMPARE(catalogue.scalar("select UserCount from Net where NetAddress = 'www.163.com'").toInt(), 8);
    QCOMPARE(w.listRows(), 1);
}

// A query object of the program's kind with a short command timeout, on the
// program's connection code: the update waits for a row another session
// holds, fails with the driver's error once its time is up, writes nothing,
// and the connection goes on working.
void TestFaults::commandTimeout_data()
{
    addDriverColumn();
    for (const QString& driver : drivers())
        QTest::newRow(qPrintable(driver)) << driver;
}

void TestFaults::commandTimeout()
{
    QFETCH(QString, driver);
    PostgresCatalogue catalogue(PostgresCatalogue::kindOf(driver));
    const qlonglong site = catalogue.addSite("新浪", "http://www.sina.com.cn", "综合", "门户", 0, 5);

    TADOConnection connection(catalogue.settings());
    installDialect(connection);
    const int timeoutSeconds = 2;
    TADOQuery query(connection, QStringLiteral("ADOQuery2"), timeoutSeconds);
    auto visit = [&] {
        query.setStatement({"update Net set SumCount=SumCount+:SumCount,WriteTime=:WriteTime where NetAddress=:NetAddress"});
        query.setParameter("SumCount", 1);
        query.setParameter("WriteTime", QDateTime::currentDateTime());
        query.setParameter("Netaddress", "http://www.sina.com.cn");
        query.execute();
    };

    RowLock lock("Net", QStringLiteral("NetID = %1").arg(site));
    QString error;
    QElapsedTimer clock;
    clock.start();
    try {
        visit();
    } catch (const Failure& failure) {
        error = failure.text();
    }
    const qint64 waited = clock.elapsed();
    qInfo("%s: failed after %lld ms: %s", qPrintable(driver), waited, qPrintable(error));
    QVERIFY2(error.contains("cancel", Qt::CaseInsensitive), qPrintable(error));
    QVERIFY2(waited >= timeoutSeconds * 1000 - 100, "the statement did not wait for the lock");
    QVERIFY2(waited < 25000, "the statement outlived its command timeout");

    lock.release();
    QCOMPARE(catalogue.scalar("select SumCount from Net").toInt(), 5);
    QVERIFY(connection.connected());
    visit();
    QCOMPARE(catalogue.scalar("select SumCount from Net").toInt(), 6);
}

// The main window's own query object, with its 30-second timeout: a visit
// whose row is locked fails with the server's message instead of hanging,
// and its second statement is not run.
void TestFaults::windowStatementTimesOut()
{
    PostgresCatalogue catalogue(PostgresCatalogue::Kind::Native);
    catalogue.addSite("新浪", "http://www.sina.com.cn", "综合", "门户", 0, 5);
    catalogue.exec("insert into UsersM(UserID, UserName, UserNetName, UserNetRuL, Calling, Remark) "
                   "values ('TEST-DRIVE-0001', '', '新浪', 'http://www.sina.com.cn', '门户', '不推荐')");
    Window w(catalogue);
    QCOMPARE(w.listRows(), 1);

    RowLock lock("UsersM", "UserID = 'TEST-DRIVE-0001'");
    QElapsedTimer clock;
    clock.start();
    DefaultErrorHandler::run([&] { w.main->DBGrid1DblClick(); });
    const qint64 waited = clock.elapsed();
    lock.release();
    qInfo("window visit failed after %lld ms: %s", waited, qPrintable(w.messages.texts().join('|')));
    QCOMPARE(w.messages.messages.size(), 1);
    QVERIFY2(w.messages.texts()[0].contains("canceling statement due to statement timeout"), qPrintable(w.messages.texts()[0]));
    QVERIFY(waited >= 29000 && waited < 45000);
    QCOMPARE(catalogue.scalar("select UseCount from UsersM").toInt(), 0);
    QCOMPARE(catalogue.scalar("select SumCount from Net").toInt(), 5);
}

QTEST_MAIN(TestFaults)
#include "test_pg_faults.moc"
