// The program itself, started as separate processes: one instance per
// session, the guard released when its owner dies, and a picture of the
// main window on a real X display.
#include "CatalogueFixture.h"
#include "XvfbServer.h"

#include <QImage>
#include <QProcess>
#include <QSet>
#include <QtTest>

#include <memory>

namespace {

// One start of the program against the test's catalogue, under a chosen
// machine identifier and session runtime folder.
std::unique_ptr<QProcess> startProgram(const SqliteCatalogue& catalogue, const QString& machine,
                                       const QString& runtimeFolder,
                                       const QString& platform = QStringLiteral("offscreen"),
                                       const QString& display = QString())
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VELMORA_CATALOGUE", "sqlite:" + catalogue.path());
    env.insert("VELMORA_TEST_HARDDRIVEID", machine);
    env.insert("XDG_RUNTIME_DIR", runtimeFolder);
    env.insert("QT_QPA_PLATFORM", platform);
    if (!display.isEmpty())
        env.insert("DISPLAY", display);
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(QStringLiteral(VELMORA_BINARY), {});
    return process;
}

// A running instance shows its start page, which writes its start-up record.
bool hasStarted(SqliteCatalogue& catalogue, const QString& machine)
{
    try {
        return catalogue.scalar("select count(*) from LoadInfo where UseID = ?", {machine}).toInt() == 1;
    } catch (const std::exception&) {
        return false; // the program holds a write lock just now
    }
}

void stop(QProcess& process)
{
    process.kill();
    process.waitForFinished(10000);
}

} // namespace

class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void secondStartEndsAtOnce();
    void guardIsReleasedWhenTheOwnerDies();
    void simultaneousStartsRunOne();
    void otherSessionRunsItsOwn();
    void unusableGuardRunsUnguarded();
    void mainWindowScreenshot();
};

void TestProgram::secondStartEndsAtOnce()
{
    SqliteCatalogue catalogue;
    QTemporaryDir session;
    auto first = startProgram(catalogue, "FIRST", session.path());
    QTRY_VERIFY_WITH_TIMEOUT(hasStarted(catalogue, "FIRST"), 30000);

    auto second = startProgram(catalogue, "SECOND", session.path());
    QVERIFY(second->waitForFinished(30000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(catalogue.scalar("select count(*) from LoadInfo where UseID = 'SECOND'").toInt(), 0);
    QCOMPARE(first->state(), QProcess::Running);
    stop(*first);
}

void TestProgram::guardIsReleasedWhenTheOwnerDies()
{
    SqliteCatalogue catalogue;
    QTemporaryDir session;
    auto crashed = startProgram(catalogue, "CRASHED", session.path());
    QTRY_VERIFY_WITH_TIMEOUT(hasStarted(catalogue, "CRASHED"), 30000);
    crashed->kill(); // SIGKILL: no clean-up of its own
    QVERIFY(crashed->waitForFinished(10000));

    auto next = startProgram(catalogue, "NEXT", session.path());
    QTRY_VERIFY_WITH_TIMEOUT(hasStarted(catalogue, "NEXT"), 30000);
    QCOMPARE(next->state(), QProcess::Running);
    stop(*next);
}

void TestProgram::simultaneousStartsRunOne()
{
    SqliteCatalogue catalogue;
    QTemporaryDir session;
    auto a = startProgram(catalogue, "A", session.path());
    auto b = startProgram(catalogue, "B", session.path());
    QTRY_VERIFY_WITH_TIMEOUT(a->state() == QProcess::NotRunning || b->state() == QProcess::NotRunning, 30000);
    QProcess& refused = a->state() == QProcess::NotRunning ? *a : *b;
    QProcess& running = &refused == a.get() ? *b : *a;
    const QString runner = &running == a.get() ? "A" : "B";
    QCOMPARE(refused.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(hasStarted(catalogue, runner), 30000);
    QCOMPARE(running.state(), QProcess::Running);
    QCOMPARE(catalogue.scalar("select count(*) from LoadInfo").toInt(), 1);
    stop(running);
}

void TestProgram::otherSessionRunsItsOwn()
{
    SqliteCatalogue catalogue;
    QTemporaryDir session1, session2;
    auto one = startProgram(catalogue, "S1", session1.path());
    QTRY_VERIFY_WITH_TIMEOUT(hasStarted(catalogue, "S1"), 30000);
    auto two = startProgram(catalogue, "S2", session2.path());
    QTRY_VERIFY_WITH_TIMEOUT(hasStarted(catalogue, "S2"), 30000);
    QCOMPARE(one->state(), QProcess::Running);
    QCOMPARE(two->state(), QProcess::Running);
    stop(*one);
    stop(*two);
}

void TestProgram::unusableGuardRunsUnguarded()
{
    // No file can be made in /proc: both starts run, without a guard.
    SqliteCatalogue catalogue;
    auto one = startProgram(catalogue, "U1", "/proc");
    QTRY_VERIFY_WITH_TIMEOUT(hasStarted(catalogue, "U1"), 30000);
    auto two = startProgram(catalogue, "U2", "/proc");
    QTRY_VERIFY_WITH_TIMEOUT(hasStarted(catalogue, "U2"), 30000);
    stop(*one);
    stop(*two);
}

void TestProgram::mainWindowScreenshot()
{
    XvfbServer x;
    QVERIFY2(x.error().isEmpty(), qPrintable(x.error()));
    SqliteCatalogue catalogue(true);
    catalogue.exec("insert into UsersM(UserID, UserName, UserNetName, UserNetRuL, Calling, Remark, UseCount) "
                   "values ('SHOT', '', '百度', 'www.baidu.com', '搜索', '软件网址库', 3)");
    QTemporaryDir session;
    auto program = startProgram(catalogue, "SHOT", session.path(), "xcb", x.display());
    QTRY_VERIFY_WITH_TIMEOUT(hasStarted(catalogue, "SHOT"), 30000);
    QTest::qWait(1500); // let the window paint after its start page

    QDir().mkpath(QStringLiteral(VELMORA_SCREENSHOTS));
    const QString file = QStringLiteral(VELMORA_SCREENSHOTS "/main-window.png");
    QFile::remove(file);
    QProcess grab;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", x.display());
    env.insert("QT_QPA_PLATFORM", "xcb");
    grab.setProcessEnvironment(env);
    grab.start(QStringLiteral(VELMORA_GRAB_SCREEN), {file});
    QVERIFY(grab.waitForFinished(30000));
    QCOMPARE(grab.exitCode(), 0);
    stop(*program);

    const QImage picture(file);
    QVERIFY(!picture.isNull());
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 3)
        for (int x2 = 0; x2 < picture.width(); x2 += 3)
            colours.insert(picture.pixel(x2, y));
    QVERIFY2(colours.size() > 20, "the screen shows a drawn window, not an empty display");
    qInfo("screenshot saved as %s", qPrintable(file));
}

QTEST_GUILESS_MAIN(TestProgram)
#include "test_program.moc"
