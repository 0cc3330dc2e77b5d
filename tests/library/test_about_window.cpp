// The About window over a real SQLite catalogue: the version notice read from
// Edition, the download link, failures that leave the design-time captions,
// the maker's details, and a fresh window for every opening.
#include "Captures.h"
#include "CatalogueFixture.h"
#include "MakerDetails.h"
#include "TADOConnection.h"
#include "TsuiURLLabel.h"
#include "UAboud.h"
#include "Unit1.h"
#include "Unit2.h"
#include "WindowDriving.h"

#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QtTest>

#include <memory>

namespace {

const QVariant kNull = QVariant(QMetaType(QMetaType::Double));
const QVariant kNullText = QVariant(QMetaType(QMetaType::QString));

// One Edition row: Edition, MaxEdition, Down.
using EditionRows = QList<QVariantList>;

QLabel* label(QWidget* window, const char* name)
{
    return window->findChild<QLabel*>(QString::fromLatin1(name));
}

} // namespace

class TestAboutWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void versionNotice_data();
    void versionNotice();
    void failureKeepsDesignCaptions_data();
    void failureKeepsDesignCaptions();
    void versionUsesLocaleSeparator();
    void makerDetailsAndLayout();
    void eachOpeningIsAFreshWindow_data();
    void eachOpeningIsAFreshWindow();

private:
    std::unique_ptr<SqliteCatalogue> m_catalogue;
    std::unique_ptr<TADOConnection> m_connection;
};

void TestAboutWindow::init()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    m_catalogue = std::make_unique<SqliteCatalogue>();
    m_connection = std::make_unique<TADOConnection>(m_catalogue->settings());
}

void TestAboutWindow::cleanup()
{
    m_connection.reset();
    m_catalogue.reset();
    QLocale::setDefault(QLocale::c());
}

void TestAboutWindow::versionNotice_data()
{
    QTest::addColumn<EditionRows>("rows");
    QTest::addColumn<QString>("current");   // Label6
    QTest::addColumn<bool>("newer");        // Label7, Label8, Label9 and the link shown
    QTest::addColumn<QString>("newest");    // Label8, when shown
    QTest::addColumn<QString>("download");  // caption and address of the link, when shown

    QTest::newRow("equal") << EditionRows{{1.5, 1.5, "http://dl.example.cn"}} << "1.5" << false << "" << "";
    QTest::newRow("newer") << EditionRows{{1.0, 2.0, "http://dl.example.cn/v2.exe"}} << "1.0" << true << "2.0"
                           << "http://dl.example.cn/v2.exe";
    QTest::newRow("newer only in the second decimal")
        << EditionRows{{1.0, 1.04, "http://dl.example.cn"}} << "1.0" << true << "1.0" << "http://dl.example.cn";
    QTest::newRow("smaller") << EditionRows{{2.5, 2.0, "http://dl.example.cn"}} << "2.5" << false << "" << "";
    QTest::newRow("empty table") << EditionRows{} << "0.0" << false << "" << "";
    QTest::newRow("null current, positive newest")
        << EditionRows{{kNull, 1.2, "www.example.cn/new"}} << "0.0" << true << "1.2" << "www.example.cn/new";
    QTest::newRow("null newest") << EditionRows{{1.2, kNull, "http://dl.example.cn"}} << "1.2" << false << "" << "";
    QTest::newRow("download with blanks")
        << EditionRows{{1.0, 1.1, " \t http://dl.example.cn/new \r\n"}} << "1.0" << true << "1.1"
        << "http://dl.example.cn/new";
    QTest::newRow("empty download") << EditionRows{{1.0, 1.1, ""}} << "1.0" << true << "1.1" << "";
    QTest::newRow("null download") << EditionRows{{1.0, 1.1, kNullText}} << "1.0" << true << "1.1" << "";
    QTest::newRow("whole number shows one decimal") << EditionRows{{2, 3, "x"}} << "2.0" << true << "3.0" << "x";
    QTest::newRow("rounded on the decimal digits")
        << EditionRows{{1.15, 1.96, "x"}} << "1.2" << true << "2.0" << "x";
    QTest::newRow("first row of several")
        << EditionRows{{3.0, 3.5, "http://first.example.cn"}, {9.0, 1.0, "http://second.example.cn"}} << "3.0" << true
        << "3.5" << "http://first.example.cn";
}

void TestAboutWindow::versionNotice()
{
    QFETCH(EditionRows, rows);
    QFETCH(QString, current);
    QFETCH(bool, newer);
    QFETCH(QString, newest);
    QFETCH(QString, download);

    for (const QVariantList& row : rows)
        m_catalogue->exec("insert into Edition(Edition, MaxEdition, Down) values (?, ?, ?)", row);

    MessageCapture messages;
    LaunchCapture launches;
    TFAboud window(*m_connection);
    window.show();

    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(label(&window, "Label5")->text(), QStringLiteral("当前版本:"));
    QCOMPARE(label(&window, "Label6")->text(), current);
    QVERIFY(!label(&window, "Label5")->isHidden());
    QVERIFY(!label(&window, "Label6")->isHidden());
    auto* link = window.findChild<TsuiURLLabel*>("suiURLLabel2");
    for (QWidget* control : {static_cast<QWidget*>(label(&window, "Label7")), static_cast<QWidget*>(label(&window, "Label8")),
                             static_cast<QWidget*>(label(&window, "Label9")), static_cast<QWidget*>(link)})
        QCOMPARE(control->isHidden(), !newer);
    if (!newer)
        return;

    QCOMPARE(label(&window, "Label8")->text(), newest);
    QCOMPARE(link->text(), download);
    QCOMPARE(link->URL(), download);

    // The link opens its address and nothing when it is empty.
    QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, QPoint(1, link->height() / 2));
    QCOMPARE(launches.files(), download.isEmpty() ? QStringList() : QStringList{download});
    QCOMPARE(messages.texts(), QStringList());
    // The window writes nothing.
    QCOMPARE(m_catalogue->scalar("select count(*) from Edition").toInt(), rows.size());
}

void TestAboutWindow::failureKeepsDesignCaptions_data()
{
    QTest::addColumn<QString>("breakCatalogue");
    QTest::addColumn<QString>("current");    // Label6 afterwards
    QTest::addColumn<QString>("newest");     // Label8 afterwards
    QTest::addColumn<bool>("placeholder");   // the link still shows its placeholder

    QTest::newRow("no Edition table") << "drop table Edition" << "Label6" << "有新版本:" << true;
    QTest::newRow("no MaxEdition column")
        << "create table Edition2(Edition real, Down text); insert into Edition2 values (1.0, 'x');"
           "drop table Edition; alter table Edition2 rename to Edition"
        << "Label6" << "有新版本:" << true;
    QTest::newRow("no Down column under a newer version")
        << "create table Edition2(Edition real, MaxEdition real); insert into Edition2 values (1.0, 2.0);"
           "drop table Edition; alter table Edition2 rename to Edition"
        << "1.0" << "2.0" << true;
}

void TestAboutWindow::failureKeepsDesignCaptions()
{
    QFETCH(QString, breakCatalogue);
    QFETCH(QString, current);
    QFETCH(QString, newest);
    QFETCH(bool, placeholder);

    for (const QString& statement : breakCatalogue.split(QLatin1Char(';')))
        m_catalogue->exec(statement);

    MessageCapture messages;
    TFAboud window(*m_connection);
    window.show();

    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages.first().icon, MessageBoxes::Icon::Error);
    QVERIFY(window.isVisible());
    QCOMPARE(label(&window, "Label6")->text(), current);
    QCOMPARE(label(&window, "Label8")->text(), newest);
    auto* link = window.findChild<TsuiURLLabel*>("suiURLLabel2");
    for (const char* name : {"Label7", "Label8", "Label9"})
        QVERIFY2(!label(&window, name)->isHidden(), name);
    QVERIFY(!link->isHidden());
    if (placeholder) {
        QCOMPARE(link->text(), MakerDetails::kDownloadPlaceholderCaption);
        QCOMPARE(link->URL(), MakerDetails::kDownloadPlaceholderAddress);
    }
}

void TestAboutWindow::versionUsesLocaleSeparator()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(formatVersion(1.5), QStringLiteral("1,5"));
    QCOMPARE(formatVersion(12345.04), QStringLiteral("12345,0"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(formatVersion(12345.06), QStringLiteral("12345.1"));
    QCOMPARE(formatVersion(-0.04), QStringLiteral("0.0"));
    QCOMPARE(formatVersion(0.05), QStringLiteral("0.1"));
}

void TestAboutWindow::makerDetailsAndLayout()
{
    TFAboud window(*m_connection);
    QCOMPARE(window.windowTitle(), QStringLiteral("关于我们"));
    window.show();
    QCOMPARE(window.size(), QSize(483, 274));
    QVERIFY(!(window.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));

    // Full-width colons after the maker's headings, narrow ones in the notice.
    QCOMPARE(label(&window, "Label1")->text(), QStringLiteral("公司名称：") + MakerDetails::kCompanyName);
    QCOMPARE(label(&window, "Label2")->text(), QStringLiteral("网址："));
    QCOMPARE(label(&window, "Label3")->text(), QStringLiteral("客服邮箱：") + MakerDetails::kSupportEmail);
    QCOMPARE(label(&window, "Label4")->text(), QStringLiteral("客服QQ：") + MakerDetails::kSupportQQ);
    QCOMPARE(label(&window, "Label7")->text(), QStringLiteral("有新版本:"));
    QCOMPARE(label(&window, "Label9")->text(), QStringLiteral("下载地址:"));
    for (const QString& detail : {MakerDetails::kCompanyName, MakerDetails::kWebAddress, MakerDetails::kSupportEmail,
                                  MakerDetails::kSupportQQ})
        QVERIFY(!detail.isEmpty());

    LaunchCapture launches;
    auto* site = window.findChild<TsuiURLLabel*>("suiURLLabel1");
    QCOMPARE(site->text(), MakerDetails::kWebAddress);
    QCOMPARE(site->pos(), QPoint(291, 166));
    QTest::mouseClick(site, Qt::LeftButton, Qt::NoModifier, QPoint(2, site->height() / 2));
    QCOMPARE(launches.files(), QStringList{MakerDetails::kWebAddress});

    const struct
    {
        const char* name;
        QRect geometry;
    } controls[] = {
        {"Label5", {32, 72, 63, 13}},  {"Label6", {110, 72, 65, 13}},  {"Label7", {32, 86, 63, 13}},
        {"Label8", {110, 87, 72, 13}}, {"Label9", {32, 101, 67, 13}},  {"Label1", {251, 142, 252, 13}},
        {"Label2", {251, 166, 41, 13}}, {"Label3", {251, 190, 167, 13}}, {"Label4", {251, 214, 167, 13}},
    };
    for (const auto& control : controls)
        QCOMPARE(label(&window, control.name)->geometry(), control.geometry);
    QCOMPARE(window.findChild<TsuiURLLabel*>("suiURLLabel2")->pos(), QPoint(110, 104));
    auto* status = window.findChild<QStatusBar*>("StatusBar1");
    QCOMPARE(status->geometry(), QRect(0, 255, 483, 19));
    QCOMPARE(status->findChildren<QLabel*>().size(), 3);
}

void TestAboutWindow::eachOpeningIsAFreshWindow_data()
{
    QTest::addColumn<bool>("fromLibrary"); // opened from the library window, not the main window
    QTest::newRow("main window") << false;
    QTest::newRow("library window") << true;
}

void TestAboutWindow::eachOpeningIsAFreshWindow()
{
    QFETCH(bool, fromLibrary);
    m_catalogue->exec("insert into Edition(Edition, MaxEdition, Down) values (1.0, 1.0, 'x')");

    TFMain mainWindow(m_catalogue->settings());
    std::unique_ptr<TFKorvath> library;
    if (fromLibrary)
        library = std::make_unique<TFKorvath>(mainWindow.connection());
    const auto open = [&] {
        if (library)
            library->N6Click();
        else
            mainWindow.N6Click();
    };

    QPointer<QWidget> first;
    QString firstVersion;
    bool firstModal = false;
    QVERIFY(WindowDriving::whileModal(open, [&](QWidget* window) {
        first = window;
        firstModal = window == FAboud && window->windowModality() == Qt::ApplicationModal && !window->parentWidget();
        firstVersion = label(window, "Label6")->text();
        label(window, "Label6")->setText("changed in the first window");
    }));
    QVERIFY(firstModal);
    QCOMPARE(firstVersion, QStringLiteral("1.0"));
    QVERIFY2(first.isNull(), "the window is freed after it closes");
    QCOMPARE(FAboud, nullptr);

    m_catalogue->exec("update Edition set Edition = 1.5, MaxEdition = 2.0, Down = 'http://dl.example.cn'");
    QString secondVersion;
    bool secondNotice = false;
    QVERIFY(WindowDriving::whileModal(open, [&](QWidget* window) {
        secondVersion = label(window, "Label6")->text();
        secondNotice = !label(window, "Label8")->isHidden() && label(window, "Label8")->text() == "2.0";
    }));
    QCOMPARE(secondVersion, QStringLiteral("1.5"));
    QVERIFY(secondNotice);
}

QTEST_MAIN(TestAboutWindow)
#include "test_about_window.moc"
