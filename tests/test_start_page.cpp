// The start page the main window fills when it is first shown: the three
// link panels, the start-up record and the status bar; and the hidden
// address tidy-up command.
#include "MainWindowFixture.h"
#include "MakerDetails.h"
#include "TADOQuery.h"
#include "TsuiURLLabel.h"

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QtTest>

namespace {

struct Link
{
    QString caption;
    QString address;
    bool operator==(const Link& o) const { return caption == o.caption && address == o.address; }
};

QList<Link> linksOf(const MainWindowFixture& f, int first, int last)
{
    QList<Link> result;
    for (int n = first; n <= last; ++n) {
        const auto* link = f.window->findChild<TsuiURLLabel*>(QStringLiteral("suiURLLabel%1").arg(n));
        result << Link{link->text(), link->URL()};
    }
    return result;
}

QStringList statusTexts(const MainWindowFixture& f)
{
    QStringList texts;
    for (int i = 0; i < 3; ++i)
        texts << f.window->findChild<QLabel*>(QStringLiteral("StatusBar1Panel%1").arg(i))->text();
    return texts;
}

const Link kSite{MakerDetails::kSitePlaceholderCaption, MakerDetails::kSitePlaceholderAddress};
const Link kAdvert{MakerDetails::kAdvertPlaceholderCaption, MakerDetails::kAdvertPlaceholderAddress};

} // namespace

Q_DECLARE_METATYPE(Link)

class TestStartPage : public QObject
{
    Q_OBJECT

private slots:
    void panels_data();
    void panels();
    void linksOpenTheirAddress();
    void startUpRecord_data();
    void startUpRecord();
    void failingStepStopsTheStartPage();
    void unreachableCatalogue();
    void tidyUp_data();
    void tidyUp();
    void tidyUpOfAnEmptyCatalogue();
};

// Each Net row: name, address, UserCount, SumCount. Each GG row: name, address.
using Rows = QList<QVariantList>;

void TestStartPage::panels_data()
{
    QTest::addColumn<Rows>("sites");
    QTest::addColumn<Rows>("adverts");
    QTest::addColumn<QList<Link>>("recommended");
    QTest::addColumn<QList<Link>>("ranking");
    QTest::addColumn<QList<Link>>("advertLinks");

    QTest::newRow("fewer rows than links keep the placeholders")
        << Rows{{"甲", "www.a.cn", 1, 9}, {"乙", "http://b.cn", 2, 3}}
        << Rows{{"广告一", "http://ad1.cn"}}
        << (QList<Link>{{"乙", "http://b.cn"}, {"甲", "www.a.cn"}} + QList<Link>(5, kSite))
        << (QList<Link>{{"甲", "www.a.cn"}, {"乙", "http://b.cn"}} + QList<Link>(7, kSite))
        << (QList<Link>{{"广告一", "http://ad1.cn"}} + QList<Link>(4, kAdvert));

    QTest::newRow("NULL and empty names and addresses, blanks trimmed")
        << Rows{{QVariant(), "www.noname.cn", 3, 1}, {"  无址  ", QVariant(), 2, 2}, {"", " \twww.c.cn ", 1, 3}}
        << Rows{{" 广告 ", ""}}
        << (QList<Link>{{"", "www.noname.cn"}, {"无址", ""}, {"", "www.c.cn"}} + QList<Link>(4, kSite))
        << (QList<Link>{{"", "www.c.cn"}, {"无址", ""}, {"", "www.noname.cn"}} + QList<Link>(6, kSite))
        << (QList<Link>{{"广告", ""}} + QList<Link>(4, kAdvert));

    Rows many;
    QList<Link> byUsers, byVisits;
    for (int i = 1; i <= 12; ++i)
        many << QVariantList{QStringLiteral("站%1").arg(i), QStringLiteral("www.s%1.cn").arg(i), i, 100 - i};
    for (int i = 12; i >= 6; --i)
        byUsers << Link{QStringLiteral("站%1").arg(i), QStringLiteral("www.s%1.cn").arg(i)};
    for (int i = 1; i <= 9; ++i)
        byVisits << Link{QStringLiteral("站%1").arg(i), QStringLiteral("www.s%1.cn").arg(i)};
    Rows ads;
    QList<Link> adLinks;
    for (int i = 1; i <= 7; ++i) {
        ads << QVariantList{QStringLiteral("广告%1").arg(i), QStringLiteral("http://ad%1.cn").arg(i)};
        if (i <= 5)
            adLinks << Link{QStringLiteral("广告%1").arg(i), QStringLiteral("http://ad%1.cn").arg(i)};
    }
    QTest::newRow("more rows than links") << many << ads << byUsers << byVisits << adLinks;

    QTest::newRow("empty catalogue and no adverts")
        << Rows{} << Rows{} << QList<Link>(7, kSite) << QList<Link>(9, kSite) << QList<Link>(5, kAdvert);
}

void TestStartPage::panels()
{
    QFETCH(Rows, sites);
    QFETCH(Rows, adverts);
    QFETCH(QList<Link>, recommended);
    QFETCH(QList<Link>, ranking);
    QFETCH(QList<Link>, advertLinks);

    MainWindowFixture f;
    for (const QVariantList& s : sites)
        f.catalogue.exec("insert into Net(NetName, NetAddress, UserCount, SumCount) values (?, ?, ?, ?)", s);
    for (const QVariantList& a : adverts)
        f.catalogue.exec("insert into GG(GGName, GGURL) values (?, ?)", a);
    f.open();

    QVERIFY(f.messages.messages.isEmpty());
    QCOMPARE(linksOf(f, 1, 7), recommended);
    QCOMPARE(linksOf(f, 13, 21), ranking);
    QCOMPARE(linksOf(f, 8, 12), advertLinks);
}

void TestStartPage::linksOpenTheirAddress()
{
    MainWindowFixture f;
    f.catalogue.exec("insert into Net(NetName, NetAddress, UserCount) values ('裸', '  sina.com.cn ', 3)");
    f.catalogue.exec("insert into Net(NetName, NetAddress, UserCount) values ('空', '', 2)");
    f.open();
    auto* bare = f.child<TsuiURLLabel>("suiURLLabel1");
    auto* empty = f.child<TsuiURLLabel>("suiURLLabel2");
    QTest::mouseClick(bare, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseClick(empty, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(f.launches.files(), QStringList{"sina.com.cn"}); // as stored, no launch form
    QCOMPARE(f.launches.requests[0].verb, QString("open"));

    QVERIFY(bare->font().underline());
    QCOMPARE(bare->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(bare->palette().color(QPalette::WindowText), QColor(Qt::blue));
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(bare, &enter);
    QCOMPARE(bare->palette().color(QPalette::WindowText), QColor(Qt::red));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(bare, &leave);
    QCOMPARE(bare->palette().color(QPalette::WindowText), QColor(Qt::blue));
}

void TestStartPage::startUpRecord_data()
{
    QTest::addColumn<int>("ownRecords");
    QTest::addColumn<int>("otherMachines");
    QTest::addColumn<int>("ownRecordsAfter");
    QTest::addColumn<bool>("timeUpdated");
    QTest::addColumn<QString>("userCountText");

    QTest::newRow("first start counts itself") << 0 << 0 << 1 << true << "   您是使用本软件的第1人";
    QTest::newRow("later start updates the time") << 1 << 56 << 1 << true << "   您是使用本软件的第57人";
    QTest::newRow("two records: nothing written") << 2 << 3 << 2 << false << "   您是使用本软件的第5人";
}

void TestStartPage::startUpRecord()
{
    QFETCH(int, ownRecords);
    QFETCH(int, otherMachines);
    QFETCH(int, ownRecordsAfter);
    QFETCH(bool, timeUpdated);
    QFETCH(QString, userCountText);

    MainWindowFixture f;
    const QString old = "2001-01-01T00:00:00.000";
    for (int i = 0; i < ownRecords; ++i)
        f.catalogue.exec("insert into LoadInfo(UseID, LoadTime) values (?, ?)", {MainWindowFixture::machine(), old});
    for (int i = 0; i < otherMachines; ++i)
        f.catalogue.exec("insert into LoadInfo(UseID, LoadTime) values (?, ?)", {QStringLiteral("M%1").arg(i), old});
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    f.open();

    QVERIFY(f.messages.messages.isEmpty());
    const auto rows = f.catalogue.rows("select LoadTime from LoadInfo where UseID = ?", {MainWindowFixture::machine()});
    QCOMPARE(rows.size(), ownRecordsAfter);
    for (const auto& row : rows) {
        if (timeUpdated)
            QVERIFY(row[0].toDateTime() >= before);
        else
            QCOMPARE(row[0].toString(), old);
    }
    QCOMPARE(f.catalogue.scalar("select count(*) from LoadInfo where UseID <> ? and LoadTime = ?",
                                {MainWindowFixture::machine(), old}).toInt(), otherMachines);
    QCOMPARE(statusTexts(f), (QStringList{"   欢迎您使用本软件！", userCountText, "   客户QQ：" + MakerDetails::kSupportQQ}));
}

void TestStartPage::failingStepStopsTheStartPage()
{
    MainWindowFixture f;
    f.catalogue.addSite("甲", "www.a.cn", QString(), QString(), 5, 5);
    f.addOwnSite("我的", "www.mine.cn");
    f.catalogue.exec("drop table GG");
    f.open();

    QCOMPARE(f.messages.messages.size(), 1);
    QVERIFY2(f.messages.messages[0].text.contains("GG"), qPrintable(f.messages.messages[0].text));
    QCOMPARE(linksOf(f, 1, 1), QList<Link>{(Link{"甲", "www.a.cn"})});
    QCOMPARE(linksOf(f, 13, 13), QList<Link>{(Link{"甲", "www.a.cn"})});
    QCOMPARE(linksOf(f, 8, 12), QList<Link>(5, kAdvert));
    QCOMPARE(f.catalogue.scalar("select count(*) from LoadInfo").toInt(), 0);
    QCOMPARE(statusTexts(f), (QStringList{"", "", ""}));
    QCOMPARE(f.child<QTableView>("DBGrid1")->model()->rowCount(), 0);
    QVERIFY(f.window->isVisible());
}

void TestStartPage::unreachableCatalogue()
{
    MessageCapture messages;
    LaunchCapture launches;
    ConnectionSettings nowhere;
    nowhere.driver = "QPSQL";
    nowhere.hostName = "127.0.0.1";
    nowhere.port = 1; // nothing listens there
    nowhere.databaseName = "Net";
    nowhere.userName = "velmora";
    nowhere.password = "plumbax";
    nowhere.connectOptions = "connect_timeout=5";

    TFMain window(nowhere);
    QCOMPARE(messages.messages.size(), 1); // while the window is made
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(messages.messages.size(), 2); // while it is first shown
    for (const auto& m : messages.messages)
        QVERIFY2(m.text.contains("127.0.0.1") || m.text.contains("connect", Qt::CaseInsensitive), qPrintable(m.text));
    QCOMPARE(window.findChild<QTableView*>("DBGrid1")->model()->rowCount(), 0);
    QCOMPARE(window.findChild<TsuiURLLabel*>("suiURLLabel1")->text(), MakerDetails::kSitePlaceholderCaption);

    // Every later statement tries the connection again.
    window.findChild<QPushButton*>("Button1")->click();
    QCOMPARE(messages.messages.size(), 3);
    QVERIFY(launches.requests.isEmpty());
}

void TestStartPage::tidyUp_data()
{
    QTest::addColumn<QVariant>("address");
    QTest::addColumn<QVariant>("afterOneRun");
    QTest::addColumn<QVariant>("afterTwoRuns");

    QTest::newRow("slash alone") << QVariant("/") << QVariant("") << QVariant("");
    QTest::newRow("double slash") << QVariant("http://www.a.cn//") << QVariant("http://www.a.cn/") << QVariant("http://www.a.cn");
    QTest::newRow("blanks after the slash") << QVariant(" www.b.cn/ \t") << QVariant("www.b.cn") << QVariant("www.b.cn");
    QTest::newRow("no slash: left byte for byte") << QVariant("  www.c.cn  ") << QVariant("  www.c.cn  ") << QVariant("  www.c.cn  ");
    QTest::newRow("slash inside only") << QVariant("www.d.cn/x") << QVariant("www.d.cn/x") << QVariant("www.d.cn/x");
    QTest::newRow("empty") << QVariant("") << QVariant("") << QVariant("");
    QTest::newRow("NULL") << QVariant() << QVariant() << QVariant();
}

void TestStartPage::tidyUp()
{
    QFETCH(QVariant, address);
    QFETCH(QVariant, afterOneRun);
    QFETCH(QVariant, afterTwoRuns);

    MainWindowFixture f;
    const qlonglong neighbour = f.catalogue.addSite("邻", "www.n.cn/");
    f.catalogue.exec("insert into Net(NetName, NetAddress) values ('测', ?)", {address});
    const qlonglong id = f.catalogue.scalar("select max(NetID) from Net").toLongLong();
    f.open();
    auto* button = f.child<QPushButton>("Button1");
    QVERIFY(!button->isVisible());

    const auto checkStored = [&](const QVariant& expected) {
        const QVariant stored = f.catalogue.scalar("select NetAddress from Net where NetID = ?", {id});
        QCOMPARE(stored.isNull(), expected.isNull());
        QCOMPARE(stored.toString(), expected.toString());
    };
    button->click();
    checkStored(afterOneRun);
    button->click();
    checkStored(afterTwoRuns);
    QCOMPARE(f.catalogue.scalar("select NetAddress from Net where NetID = ?", {neighbour}).toString(), QString("www.n.cn"));
    QCOMPARE(f.messages.texts(), (QStringList{"修改成功!", "修改成功!"}));
    QCOMPARE(f.messages.messages[0].icon, MessageBoxes::Icon::None);
}

void TestStartPage::tidyUpOfAnEmptyCatalogue()
{
    MainWindowFixture f;
    f.open();
    f.window->Button1Click();
    QCOMPARE(f.messages.texts(), QStringList{"修改成功!"});
}

QTEST_MAIN(TestStartPage)
#include "test_start_page.moc"
