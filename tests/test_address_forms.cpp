// The launch form and the alternate form of a site address, and the launch
// call they are handed to.
#include "AddressForms.h"
#include "Captures.h"

#include <QtTest>

class TestAddressForms : public QObject
{
    Q_OBJECT

private slots:
    void forms_data();
    void forms();
    void openInBrowserUsesTheDefaultAction();
};

void TestAddressForms::forms_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("launch");
    QTest::addColumn<QString>("alternate");
    QTest::addColumn<QString>("alternateOfLaunch");

    QTest::newRow("http://") << "http://www.sina.com.cn" << "http://www.sina.com.cn" << "www.sina.com.cn" << "www.sina.com.cn";
    QTest::newRow("www.") << "www.163.com" << "www.163.com" << "http://www.163.com" << "http://www.163.com";
    QTest::newRow("neither") << "sohu.com" << "http://sohu.com" << "" << "sohu.com";
    QTest::newRow("https keeps its launch form, loses seven characters")
        << "https://www.jd.com" << "https://www.jd.com" << "/www.jd.com" << "/www.jd.com";
    QTest::newRow("capital HTTP is no prefix") << "HTTP://WWW.QQ.COM" << "http://HTTP://WWW.QQ.COM" << "" << "HTTP://WWW.QQ.COM";
    QTest::newRow("capital WWW. is no prefix") << "WWW.QQ.COM" << "http://WWW.QQ.COM" << "" << "WWW.QQ.COM";
    QTest::newRow("blanks around are removed") << " \t www.ifeng.com \r\n" << "www.ifeng.com" << "http://www.ifeng.com" << "http://www.ifeng.com";
    QTest::newRow("ideographic space is no blank") << "\u3000www.x.cn" << "http://\u3000www.x.cn" << "" << "\u3000www.x.cn";
    QTest::newRow("empty") << "" << "http://" << "" << "";
    QTest::newRow("http alone") << "http" << "http" << "" << "";
    QTest::newRow("seven characters") << "http://" << "http://" << "" << "";
    QTest::newRow("eight characters") << "http://a" << "http://a" << "a" << "a";
    QTest::newRow("www. alone") << "www." << "www." << "http://www." << "http://www.";
    QTest::newRow("Chinese host") << "中文.cn" << "http://中文.cn" << "" << "中文.cn";
}

void TestAddressForms::forms()
{
    QFETCH(QString, address);
    QFETCH(QString, launch);
    QFETCH(QString, alternate);
    QFETCH(QString, alternateOfLaunch);
    QCOMPARE(MakeLaunchForm(address), launch);
    QCOMPARE(MakeAlternateForm(address), alternate);
    QCOMPARE(MakeAlternateForm(MakeLaunchForm(address)), alternateOfLaunch);
}

void TestAddressForms::openInBrowserUsesTheDefaultAction()
{
    LaunchCapture launches;
    OpenInBrowser("http://www.baidu.com");
    QCOMPARE(launches.requests.size(), 1);
    QCOMPARE(launches.requests[0].verb, QString());
    QCOMPARE(launches.requests[0].file, QString("http://www.baidu.com"));
}

QTEST_MAIN(TestAddressForms)
#include "test_address_forms.moc"
