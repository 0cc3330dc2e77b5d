// The machine identifier as read from libUserINFO. The test build of the
// library returns the text of VELMORA_TEST_HARDDRIVEID.
#include "MachineIdentity.h"

#include <QtTest>

class TestMachineIdentity : public QObject
{
    Q_OBJECT

private slots:
    void trimming_data();
    void trimming();
    void realLibraryIsStable();
};

void TestMachineIdentity::trimming_data()
{
    QTest::addColumn<QByteArray>("reported");
    QTest::addColumn<QString>("machineId");

    QTest::newRow("plain") << QByteArray("WD-WCC4E1234567") << "WD-WCC4E1234567";
    QTest::newRow("blanks and controls around") << QByteArray(" \t\x01\x1f WD-1 \r\n\x7f") << "WD-1 \r\n\x7f";
    QTest::newRow("inner blanks kept") << QByteArray("  S3  Z9\tNB ") << "S3  Z9\tNB";
    QTest::newRow("127 bytes kept whole") << QByteArray(127, 'A') << QString(127, 'A');
    QTest::newRow("longer than 127 bytes is cut") << (QByteArray(127, 'B') + "CDE") << QString(127, 'B');
    QTest::newRow("blank after byte 127 is trimmed") << (QByteArray(126, 'C') + "  X") << QString(126, 'C');
    QTest::newRow("only blanks") << QByteArray(" \t\x02 ") << "";
    QTest::newRow("UTF-8 text") << QByteArray("  硬盘-01 ") << "硬盘-01";
}

void TestMachineIdentity::trimming()
{
    QFETCH(QByteArray, reported);
    QFETCH(QString, machineId);
    qputenv("VELMORA_TEST_HARDDRIVEID", reported);
    QCOMPARE(ReadMachineID(), machineId);
}

void TestMachineIdentity::realLibraryIsStable()
{
    // The real library, outside the test folder's copy: two runs agree and
    // give a non-empty, already trimmed text.
    const QString probe = QFINDTESTDATA("machine_id_probe");
    QVERIFY2(!probe.isEmpty(), "the probe program is built next to the tests");
    QProcess first, second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("LD_LIBRARY_PATH");
    first.setProcessEnvironment(env);
    second.setProcessEnvironment(env);
    first.start(probe);
    second.start(probe);
    QVERIFY(first.waitForFinished(10000) && second.waitForFinished(10000));
    const QByteArray a = first.readAllStandardOutput();
    QCOMPARE(first.exitCode(), 0);
    QVERIFY2(!a.isEmpty(), "the real library reports an identifier");
    QCOMPARE(a, second.readAllStandardOutput());
    QCOMPARE(QString::fromUtf8(a), QString::fromUtf8(a).trimmed());
    QVERIFY(a.size() <= 127);
}

QTEST_MAIN(TestMachineIdentity)
#include "test_machine_identity.moc"
