// Pictures of the library window and the About window on a real X display,
// over the demo catalogue, saved as PNG files for a person to look at.
#include "Captures.h"
#include "CatalogueSchema.h"
#include "TADOConnection.h"
#include "CatalogueLocation.h"
#include "UAboud.h"
#include "Unit1.h"
#include "Unit2.h"
#include "WindowDriving.h"
#include "WindowFonts.h"

#include <QDir>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

class TestLibraryScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void libraryWindow();
    void aboutWindow();

private:
    // Saves what the X server shows of the window.
    void save(QWidget* window, const QString& file);

    QTemporaryDir m_folder;
    QString m_output;
    std::unique_ptr<TADOConnection> m_connection;
};

void TestLibraryScreenshots::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    installWindowFonts();
    m_output = qEnvironmentVariable("VELMORA_SCREENSHOTS");
    QVERIFY2(!m_output.isEmpty(), "VELMORA_SCREENSHOTS names the output folder");
    QVERIFY(QDir().mkpath(m_output));

    const QString path = m_folder.filePath("demo.sqlite");
    CatalogueSchema::createSqliteCatalogue(path, true);
    m_connection = std::make_unique<TADOConnection>(CatalogueLocation::parse("sqlite:" + path).settings);
    MachineID = QStringLiteral("SCREENSHOT-DRIVE");
}

void TestLibraryScreenshots::cleanupTestCase()
{
    m_connection.reset();
    MachineID.clear();
}

void TestLibraryScreenshots::save(QWidget* window, const QString& file)
{
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QScreen* screen = window->screen();
    QVERIFY(screen);
    // Paint now and hand the result to the server before its pixels are read.
    window->repaint();
    QCoreApplication::processEvents();
    const QPixmap picture = screen->grabWindow(window->winId());
    QVERIFY(!picture.isNull());
    QCOMPARE(picture.size(), window->size() * picture.devicePixelRatio());
    const QString path = QDir(m_output).filePath(file);
    QVERIFY2(picture.save(path, "PNG"), qPrintable(path));
    qInfo("saved %s", qPrintable(path));
}

void TestLibraryScreenshots::libraryWindow()
{
    LaunchCapture launches;
    MessageCapture messages;
    TFKorvath window(*m_connection);
    window.show();
    QCOMPARE(messages.texts(), QStringList());

    // A category chosen, its sites listed, a suggestion being written.
    auto* tree = window.findChild<QTreeWidget*>("TreeView1");
    QVERIFY(tree->topLevelItemCount() > 0);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTreeWidgetItem* group = tree->topLevelItem(tree->topLevelItemCount() - 1);
    QVERIFY(group->childCount() > 0);
    QVERIFY(WindowDriving::clickNode(tree, group->child(0)));
    QVERIFY(window.findChild<QTableView*>("DBGrid1")->model()->rowCount() > 0);
    window.findChild<QPlainTextEdit*>("Memo1")->setPlainText(QStringLiteral("希望增加更多的学习网站。"));
    QCOMPARE(messages.texts(), QStringList());
    save(&window, "library-window.png");
}

void TestLibraryScreenshots::aboutWindow()
{
    MessageCapture messages;
    TFAboud window(*m_connection);
    window.show();
    QCOMPARE(messages.texts(), QStringList());
    save(&window, "about-window.png");
}

QTEST_MAIN(TestLibraryScreenshots)
#include "test_library_screenshots.moc"
