// Several installations at once against one PostgreSQL catalogue: separate
// processes (installation_driver), each with its own machine identifier,
// adding and visiting sites and clicking categories through the real
// handlers. Afterwards every counter equals exactly the increments the
// installations made, every machine's list holds exactly its own rows, and
// LoadInfo one row per machine: no lost update, no cross-talk.
#include "InstallationPlan.h"
#include "IntegrationSupport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include <map>

using namespace Integration;
using namespace InstallationPlan;

class TestInstallations : public QObject
{
    Q_OBJECT

private slots:
    void concurrentInstallations_data();
    void concurrentInstallations();
};

void TestInstallations::concurrentInstallations_data()
{
    QTest::addColumn<QStringList>("drivers"); // one per installation
    QTest::addColumn<int>("rounds");
    const int installations = 8;
    const int rounds = 5 * kSites;
    QStringList native, odbc, mixed;
    for (int m = 0; m < installations; ++m) {
        native << "QPSQL";
        odbc << "QODBC";
        mixed << drivers().at(m % 2);
    }
    QTest::newRow("QPSQL") << native << rounds;
    QTest::newRow("QODBC") << odbc << rounds;
    QTest::newRow("both drivers at once") << mixed << rounds;
}

void TestInstallations::concurrentInstallations()
{
    QFETCH(QStringList, drivers);
    QFETCH(int, rounds);
    const int installations = int(drivers.size());

    PostgresCatalogue catalogue;
    catalogue.exec("insert into BigType(BigType, BCount) values ('综合', 1)");
    catalogue.exec("insert into NetType(BigType, Type, N_Count) values ('综合', '门户', 0), ('综合', '软件', 0)");
    for (int k = 0; k < kSites; ++k) {
        catalogue.addSite(portalName(k), portalAddress(k), "综合", "门户");
        catalogue.addSite(toolName(k), toolAddress(k), "综合", "软件");
    }

    QElapsedTimer clock;
    clock.start();
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int m = 0; m < installations; ++m) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("VELMORA_TEST_HARDDRIVEID", machineId(m));
        process->setProcessEnvironment(environment);
        process->start(VELMORA_INSTALLATION_DRIVER,
                       {PostgresCatalogue::deploymentValue(PostgresCatalogue::kindOf(drivers[m])),
                        QString::number(m), QString::number(rounds)});
        QVERIFY2(process->waitForStarted(), qPrintable(process->errorString()));
        processes.push_back(std::move(process));
    }
    for (int m = 0; m < installations; ++m) {
        QProcess& process = *processes[m];
        QVERIFY2(process.waitForFinished(240000), "an installation did not finish");
        const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
        const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
        QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
                 qPrintable(QStringLiteral("%1: %2").arg(machineId(m), errors)));
        QCOMPARE(output.trimmed(), QStringLiteral("operations=%1").arg(rounds * kOperationsPerRound));
    }
    const qint64 wall = clock.elapsed();
    qInfo("%d installations x %d operations (%d rounds of %d) = %d operations in %lld ms",
          installations, rounds * kOperationsPerRound, rounds, kOperationsPerRound,
          installations * rounds * kOperationsPerRound, wall);

    // What the plan says the installations did.
    std::map<QString, int> userCount, sumCount, nCount;
    std::map<QPair<QString, QString>, int> useCount; // (machine, address) -> visits
    std::map<QString, QStringList> lists;
    for (int m = 0; m < installations; ++m) {
        QStringList& list = lists[machineId(m)];
        for (int r = 0; r < rounds; ++r) {
            const int k = target(m, r);
            if (addsPortal(r)) {
                list << portalAddress(k);
                ++userCount[portalAddress(k)];
            } else {
                list << ownAddress(m, r);
            }
            ++useCount[qMakePair(machineId(m), portalAddress(k))];
            ++sumCount[portalAddress(k)];
            if (clicksPortalCategory(r))
                ++nCount["门户"];
            ++nCount["软件"];
            ++sumCount[toolAddress(k)];
            if (!list.contains(toolAddress(k))) {
                list << toolAddress(k);
                ++userCount[toolAddress(k)];
            }
        }
        list.sort();
    }

    for (const auto& row : catalogue.rows("select NetAddress, UserCount, SumCount from Net")) {
        const QString address = row[0].toString();
        QCOMPARE(row[1].toInt(), userCount[address]);
        QCOMPARE(row[2].toInt(), sumCount[address]);
    }
    for (const auto& row : catalogue.rows("select Type, N_Count from NetType"))
        QCOMPARE(row[1].toInt(), nCount[row[0].toString()]);

    QCOMPARE(catalogue.scalar("select count(distinct UserID) from UsersM").toInt(), installations);
    for (int m = 0; m < installations; ++m) {
        QStringList stored;
        for (const auto& row : catalogue.rows("select UserNetRuL, UseCount from UsersM where UserID = ?", {machineId(m)})) {
            stored << row[0].toString();
            const QPair<QString, QString> key(machineId(m), row[0].toString());
            QCOMPARE(row[1].toInt(), useCount[key]);
        }
        stored.sort();
        QCOMPARE(stored, lists[machineId(m)]);
    }
    const auto starts = catalogue.rows("select UseID, count(*) from LoadInfo group by UseID order by UseID");
    QCOMPARE(starts.size(), installations);
    for (int m = 0; m < installations; ++m) {
        QCOMPARE(starts[m][0].toString(), machineId(m));
        QCOMPARE(starts[m][1].toInt(), 1);
    }
}

QTEST_MAIN(TestInstallations)
#include "test_pg_installations.moc"
