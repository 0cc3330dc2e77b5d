// The site library window over a real SQLite catalogue, driven through its
// widgets: the category tree, browsing a category, opening and copying its
// sites, the suggestion box, the menus, and a fresh window for every opening.
#include "Captures.h"
#include "CatalogueFixture.h"
#include "TADOConnection.h"
#include "UAboud.h"
#include "Unit1.h"
#include "Unit2.h"
#include "WindowDriving.h"

#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using namespace WindowDriving;

namespace {

const QString kMachine = QStringLiteral("DRIVE-LIB-0042");

// Rows of BigType (name, BCount) or NetType (group, name, N_Count).
using Rows = QList<QVariantList>;

} // namespace

class TestLibraryWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layoutAndMenus();

    void tree_data();
    void tree();
    void treeFollowsServerOrderOnTies();
    void treeKeepsNodesBeforeAFailure();

    void categoryClick();
    void emptyCategory();
    void groupClickAndKeyboardWriteNothing();
    void doubleClickCountsAndLaunches_data();
    void doubleClickCountsAndLaunches();

    void copySite_data();
    void copySite();
    void copyBeforeAnyCategory();

    void suggestion_data();
    void suggestion();
    void failingSuggestionKeepsText();

    void exitClosesOnlyThisWindow();
    void eachOpeningIsAFreshWindow();

private:
    // A shown library window over the catalogue.
    TFKorvath* openWindow();
    QTreeWidget* treeView() const { return m_window->findChild<QTreeWidget*>("TreeView1"); }
    QTableView* grid() const { return m_window->findChild<QTableView*>("DBGrid1"); }
    QPlainTextEdit* memo(int n) const { return m_window->findChild<QPlainTextEdit*>(QStringLiteral("Memo%1").arg(n)); }
    QStringList gridNames() const;
    // A small catalogue: two groups, a category name used in both, sites.
    void addBrowsingFixture();
    int nCount(const QString& group, const QString& category);
    QList<int> sumCounts();

    std::unique_ptr<SqliteCatalogue> m_catalogue;
    std::unique_ptr<TADOConnection> m_connection;
    std::unique_ptr<TFKorvath> m_window;
};

void TestLibraryWindow::init()
{
    MachineID = kMachine;
    m_catalogue = std::make_unique<SqliteCatalogue>();
    m_connection = std::make_unique<TADOConnection>(m_catalogue->settings());
}

void TestLibraryWindow::cleanup()
{
    m_window.reset();
    m_connection.reset();
    m_catalogue.reset();
    MachineID.clear();
}

TFKorvath* TestLibraryWindow::openWindow()
{
    m_window = std::make_unique<TFKorvath>(*m_connection);
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("the library window was not exposed");
    return m_window.get();
}

QStringList TestLibraryWindow::gridNames() const
{
    QStringList names;
    const QAbstractItemModel* model = grid()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 0).data().toString();
    return names;
}

void TestLibraryWindow::addBrowsingFixture()
{
    m_catalogue->exec("insert into BigType(BigType, BCount) values ('门户资讯', 1), ('生活服务', 2)");
    m_catalogue->exec("insert into NetType(BigType, Type, N_Count) values "
                      "('门户资讯', '综合门户', 5), ('门户资讯', '空分类', 1), ('生活服务', '综合门户', 3)");
    m_catalogue->addSite("新浪", "www.sina.com.cn", "门户资讯", "综合门户", 0, 10);
    m_catalogue->addSite("腾讯", "http://www.qq.com", "门户资讯", "综合门户", 0, 30);
    m_catalogue->addSite("网易", "www.163.com", "门户资讯", "综合门户", 0, 20);
    // The same category name under the other group: never listed with the first.
    m_catalogue->addSite("美团", "www.meituan.com", "生活服务", "综合门户", 0, 99);
}

int TestLibraryWindow::nCount(const QString& group, const QString& category)
{
    return m_catalogue->scalar("select N_Count from NetType where BigType = ? and Type = ?", {group, category}).toInt();
}

QList<int> TestLibraryWindow::sumCounts()
{
    QList<int> counts;
    for (const QVariantList& row : m_catalogue->rows("select SumCount from Net order by NetID"))
        counts << row.first().toInt();
    return counts;
}

// ---- layout and menus ------------------------------------------------------------------------

void TestLibraryWindow::layoutAndMenus()
{
    openWindow();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("网站库"));
    QVERIFY(!(m_window->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QCOMPARE(m_window->centralWidget()->size(), QSize(708, 444));
    QCOMPARE(m_window->statusBar()->height(), 19);

    QCOMPARE(treeView()->geometry(), QRect(-1, 18, 164, 429));
    QCOMPARE(treeView()->indentation(), 19);
    QCOMPARE(grid()->geometry(), QRect(170, 14, 215, 433));
    QCOMPARE(grid()->model()->columnCount(), 1);
    QCOMPARE(grid()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("网站名称"));
    QCOMPARE(grid()->columnWidth(0), 180);
    QCOMPARE(grid()->model()->rowCount(), 0);
    auto* box = m_window->findChild<QGroupBox*>("GroupBox1");
    QCOMPARE(box->title(), QStringLiteral("友情建议"));
    QCOMPARE(box->geometry(), QRect(424, 11, 273, 435));
    QCOMPARE(m_window->findChild<QLabel*>("Label2")->text(), QStringLiteral("1、本软件主要目的是让大家共享资源,您认"));
    QCOMPARE(m_window->findChild<QLabel*>("Label3")->text(), QStringLiteral("希望本软件增加那些功能或资源？"));
    QCOMPARE(m_window->findChild<QLabel*>("Label4")->text(), QStringLiteral("2、您最需要那方面的管理软件及软件的功"));
    QCOMPARE(m_window->findChild<QLabel*>("Label6")->text(), QStringLiteral("能？"));
    QCOMPARE(memo(1)->geometry(), QRect(8, 59, 257, 59));
    QCOMPARE(memo(2)->geometry(), QRect(8, 166, 257, 216));
    QCOMPARE(m_window->findChild<QPushButton*>("Button1")->text(), QStringLiteral("留言"));

    QStringList bar;
    for (QAction* item : m_window->menuBar()->actions())
        bar << item->menu()->objectName() + "=" + item->text();
    QCOMPARE(bar, (QStringList{"N1=文件", "N7=帮助", "N5=关于我们"}));
    const QList<QAction*> file = m_window->findChild<QMenu*>("N1")->actions();
    QCOMPARE(file.size(), 2);
    QVERIFY(file.at(0)->isSeparator());
    QCOMPARE(file.at(1)->objectName() + "=" + file.at(1)->text(), QStringLiteral("N3=退出"));
    QCOMPARE(m_window->findChild<QMenu*>("N7")->actions().first()->text(), QStringLiteral("帮助"));
    QCOMPARE(m_window->findChild<QMenu*>("N5")->actions().first()->objectName(), QStringLiteral("N6"));
    auto* popupMenu = m_window->findChild<QMenu*>("PopupMenu1");
    const QList<QAction*> popup = popupMenu->actions();
    QCOMPARE(popup.size(), 1);
    QCOMPARE(popup.first()->objectName() + "=" + popup.first()->text(), QStringLiteral("N4=设置为常用网站"));
    // It is the grid's context menu.
    const QPoint at(20, 20);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, grid()->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid()->viewport(), &request);
    QTRY_VERIFY(popupMenu->isVisible());
    popupMenu->close();

    // "帮助" under "帮助" does nothing.
    MessageCapture messages;
    QVERIFY(triggerAction(m_window.get(), "N8"));
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QVERIFY(m_window->isVisible());
}

// ---- the tree --------------------------------------------------------------------------------

void TestLibraryWindow::tree_data()
{
    QTest::addColumn<Rows>("groups");
    QTest::addColumn<Rows>("categories");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no groups") << Rows{} << Rows{{"A", "x", 1}} << "";
    QTest::newRow("groups by descending BCount, categories by descending N_Count")
        << Rows{{"A", 1}, {"B", 3}, {"C", 2}}
        << Rows{{"A", "a1", 1}, {"A", "a2", 7}, {"A", "a3", 4}, {"B", "b1", 2}, {"C", "c1", 0}, {"C", "c2", 9}}
        << "B: b1 | C: c2, c1 | A: a2, a3, a1";
    QTest::newRow("group without categories") << Rows{{"A", 2}, {"B", 1}} << Rows{{"B", "b1", 1}} << "A: | B: b1";
    QTest::newRow("group named twice with different counters gets its categories twice")
        << Rows{{"A", 1}, {"A", 5}, {"B", 3}} << Rows{{"A", "a1", 2}, {"A", "a2", 1}}
        << "A: a1, a2 | B: | A: a1, a2";
    QTest::newRow("group named twice with equal counters is one node")
        << Rows{{"A", 4}, {"A", 4}} << Rows{{"A", "a1", 2}} << "A: a1";
    QTest::newRow("category named twice with different counters shows twice")
        << Rows{{"A", 1}} << Rows{{"A", "a1", 1}, {"A", "a2", 2}, {"A", "a1", 3}, {"A", "a2", 2}}
        << "A: a1, a2, a1";
    QTest::newRow("names are trimmed, the group is looked up trimmed")
        << Rows{{" \t门户资讯 ", 1}} << Rows{{"门户资讯", "  综合门户\r\n", 2}, {" 门户资讯 ", "不属于", 1}}
        << "门户资讯: 综合门户";
}

void TestLibraryWindow::tree()
{
    QFETCH(Rows, groups);
    QFETCH(Rows, categories);
    QFETCH(QString, expected);

    for (const QVariantList& row : groups)
        m_catalogue->exec("insert into BigType(BigType, BCount) values (?, ?)", row);
    for (const QVariantList& row : categories)
        m_catalogue->exec("insert into NetType(BigType, Type, N_Count) values (?, ?, ?)", row);

    MessageCapture messages;
    openWindow();
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(treeText(treeView()), expected);
    QCOMPARE(treeView()->selectedItems().size(), 0);
    for (int g = 0; g < treeView()->topLevelItemCount(); ++g)
        QVERIFY2(!treeView()->topLevelItem(g)->isExpanded(), qPrintable(treeView()->topLevelItem(g)->text(0)));
    QCOMPARE(grid()->model()->rowCount(), 0);
}

void TestLibraryWindow::treeFollowsServerOrderOnTies()
{
    m_catalogue->exec("insert into BigType(BigType, BCount) values ('甲', 2), ('乙', 2), ('丙', 2), ('丁', 1)");
    m_catalogue->exec("insert into NetType(BigType, Type, N_Count) values "
                      "('甲', 'x', 1), ('甲', 'y', 1), ('甲', 'z', 1), ('甲', 'w', 5)");

    // The window reverses the server's group order and keeps its category order.
    QStringList groups;
    for (const QVariantList& row : m_catalogue->rows("select distinct BigType,BCount from BigType order by BCount "))
        groups.prepend(row.first().toString());
    QStringList categories;
    for (const QVariantList& row :
         m_catalogue->rows("select distinct Type,N_Count from NetType where BigType=? order by N_Count Desc", {"甲"}))
        categories << row.first().toString();
    QCOMPARE(groups.last(), QStringLiteral("丁"));
    QCOMPARE(categories.first(), QStringLiteral("w"));

    openWindow();
    QStringList shownGroups;
    for (int g = 0; g < treeView()->topLevelItemCount(); ++g)
        shownGroups << treeView()->topLevelItem(g)->text(0);
    QCOMPARE(shownGroups, groups);
    QStringList shownCategories;
    QTreeWidgetItem* first = findNode(treeView(), "甲");
    QVERIFY(first);
    for (int c = 0; c < first->childCount(); ++c)
        shownCategories << first->child(c)->text(0);
    QCOMPARE(shownCategories, categories);
}

void TestLibraryWindow::treeKeepsNodesBeforeAFailure()
{
    // Reading the categories of group B fails on the server (integer overflow
    // while the row is computed): A, read before it, is complete, B stays
    // without categories, and C, which would come after, is missing.
    m_catalogue->exec("drop table NetType");
    m_catalogue->exec("create table NetTypeRows(BigType text, Type text, N_Count integer)");
    m_catalogue->exec("create view NetType as select BigType, "
                      "case when BigType = 'B' then abs(-9223372036854775807 - 1) else Type end as Type, N_Count "
                      "from NetTypeRows");
    m_catalogue->exec("insert into BigType(BigType, BCount) values ('A', 1), ('B', 2), ('C', 3)");
    m_catalogue->exec("insert into NetTypeRows values ('A', 'a1', 1), ('B', 'b1', 1), ('C', 'c1', 1), ('C', 'c2', 2)");

    MessageCapture messages;
    openWindow();
    QCOMPARE(messages.messages.size(), 1);
    QVERIFY2(messages.messages.first().text.contains("overflow"), qPrintable(messages.messages.first().text));
    QVERIFY(m_window->isVisible());
    QCOMPARE(treeText(treeView()), QStringLiteral("B: | A: a1"));
}

// ---- browsing --------------------------------------------------------------------------------

void TestLibraryWindow::categoryClick()
{
    addBrowsingFixture();
    openWindow();
    QTreeWidgetItem* node = findNode(treeView(), "门户资讯", "综合门户");
    QVERIFY(clickNode(treeView(), node));

    QCOMPARE(nCount("门户资讯", "综合门户"), 6);
    QCOMPARE(nCount("生活服务", "综合门户"), 3);
    QCOMPARE(gridNames(), (QStringList{"腾讯", "网易", "新浪"}));
    QCOMPARE(grid()->currentIndex().row(), 0);

    // The selected node again: counted once more and listed again, by the raised visits.
    m_catalogue->exec("update Net set SumCount = 50 where NetName = '新浪'");
    QVERIFY(node->isSelected());
    QVERIFY(clickNode(treeView(), node));
    QCOMPARE(nCount("门户资讯", "综合门户"), 7);
    QCOMPARE(gridNames(), (QStringList{"新浪", "腾讯", "网易"}));
    QCOMPARE(grid()->currentIndex().row(), 0);

    // The same category name in the other group is a category of its own.
    QVERIFY(clickNode(treeView(), findNode(treeView(), "生活服务", "综合门户")));
    QCOMPARE(nCount("生活服务", "综合门户"), 4);
    QCOMPARE(nCount("门户资讯", "综合门户"), 7);
    QCOMPARE(gridNames(), QStringList{"美团"});
    // The tree keeps the order it was built in.
    QCOMPARE(treeText(treeView()), QStringLiteral("生活服务: 综合门户 | 门户资讯: 综合门户, 空分类"));
}

void TestLibraryWindow::emptyCategory()
{
    addBrowsingFixture();
    LaunchCapture launches;
    MessageCapture messages;
    openWindow();
    QVERIFY(clickNode(treeView(), findNode(treeView(), "门户资讯", "综合门户")));
    QCOMPARE(grid()->model()->rowCount(), 3);

    QVERIFY(clickNode(treeView(), findNode(treeView(), "门户资讯", "空分类")));
    QCOMPARE(nCount("门户资讯", "空分类"), 2);
    QCOMPARE(grid()->model()->rowCount(), 0);

    const QList<int> before = sumCounts();
    const int machineRows = m_catalogue->scalar("select count(*) from UsersM").toInt();
    doubleClickEmptyGrid(grid());
    QVERIFY(triggerAction(m_window.get(), "N4"));
    QCOMPARE(sumCounts(), before);
    QCOMPARE(m_catalogue->scalar("select count(*) from UsersM").toInt(), machineRows);
    QCOMPARE(launches.files(), QStringList());
    QCOMPARE(messages.texts(), QStringList());
}

void TestLibraryWindow::groupClickAndKeyboardWriteNothing()
{
    addBrowsingFixture();
    MessageCapture messages;
    openWindow();
    const auto counters = [this] { return m_catalogue->rows("select BigType, Type, N_Count from NetType order by rowid"); };
    const QList<QVariantList> before = counters();

    QTreeWidgetItem* group = findNode(treeView(), "门户资讯");
    QVERIFY(clickNode(treeView(), group));
    QCOMPARE(counters(), before);
    QCOMPARE(grid()->model()->rowCount(), 0);

    // Moving onto a category with the keyboard selects it and runs nothing.
    treeView()->expandItem(group);
    treeView()->setFocus();
    QTest::keyClick(treeView(), Qt::Key_Down);
    QCOMPARE(treeView()->currentItem(), findNode(treeView(), "门户资讯", "综合门户"));
    QCOMPARE(counters(), before);
    QCOMPARE(grid()->model()->rowCount(), 0);
    QCOMPARE(messages.texts(), QStringList());
}

void TestLibraryWindow::doubleClickCountsAndLaunches_data()
{
    QTest::addColumn<QString>("address"); // of the listed site, as stored
    QTest::addColumn<QString>("launch");  // handed to the desktop

    QTest::newRow("www address") << "www.sina.com.cn" << "www.sina.com.cn";
    QTest::newRow("bare address") << "sina.com.cn" << "http://sina.com.cn";
    QTest::newRow("http address") << "http://www.sina.com.cn" << "http://www.sina.com.cn";
}

void TestLibraryWindow::doubleClickCountsAndLaunches()
{
    QFETCH(QString, address);
    QFETCH(QString, launch);

    m_catalogue->exec("insert into BigType(BigType, BCount) values ('门户资讯', 1), ('其他', 0)");
    m_catalogue->exec("insert into NetType(BigType, Type, N_Count) values ('门户资讯', '综合门户', 1), ('其他', '收藏', 1)");
    m_catalogue->addSite("腾讯", "http://www.qq.com", "门户资讯", "综合门户", 0, 90);
    m_catalogue->addSite("新浪", address, "门户资讯", "综合门户", 0, 10);
    m_catalogue->addSite("新浪 (again)", address, "其他", "收藏", 0, 5);
    // The other ways of writing the address are not counted.
    m_catalogue->addSite("新浪 (other form)", "http://" + address, "其他", "收藏", 0, 7);
    m_catalogue->addSite("新浪 (launch form)", launch == address ? "x" : launch, "其他", "收藏", 0, 7);

    LaunchCapture launches;
    MessageCapture messages;
    openWindow();
    QVERIFY(clickNode(treeView(), findNode(treeView(), "门户资讯", "综合门户")));
    QCOMPARE(gridNames(), (QStringList{"腾讯", "新浪"}));
    const QString before = QDateTime::currentDateTime().addSecs(-1).toString(Qt::ISODate);
    QVERIFY(doubleClickRow(grid(), 1));

    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(sumCounts(), (QList<int>{90, 11, 6, 7, 7}));
    QCOMPARE(launches.files(), QStringList{launch});
    QCOMPARE(launches.requests.first().verb, QString());
    const QList<QVariantList> stamped = m_catalogue->rows("select NetName, WriteTime from Net where WriteTime is not null");
    QCOMPARE(stamped.size(), 2);
    for (const QVariantList& row : stamped)
        QVERIFY2(row.at(1).toDateTime().toString(Qt::ISODate) >= before, qPrintable(row.at(1).toString()));
    // The list keeps its order until the category is chosen again.
    QCOMPARE(gridNames(), (QStringList{"腾讯", "新浪"}));
}

// ---- copying a site into the machine's list ---------------------------------------------------

void TestLibraryWindow::copySite_data()
{
    QTest::addColumn<Rows>("machineRows");  // UsersM rows (UserID, UserNetRuL) before
    QTest::addColumn<int>("sameAddress");   // further Net rows holding the copied address
    QTest::addColumn<bool>("added");
    QTest::addColumn<int>("userCount");     // of the copied site afterwards, from 4

    const QString address = QStringLiteral("http://www.163.com");
    QTest::newRow("one catalogue row: added and counted") << Rows{} << 0 << true << 5;
    QTest::newRow("already in the machine's list") << Rows{{kMachine, address}} << 0 << false << 4;
    QTest::newRow("in another machine's list only") << Rows{{"OTHER-DRIVE", address}} << 0 << true << 5;
    QTest::newRow("held in another form only") << Rows{{kMachine, "www.163.com"}} << 0 << true << 5;
    QTest::newRow("address in two catalogue rows: added, not counted") << Rows{} << 1 << true << 4;
}

void TestLibraryWindow::copySite()
{
    QFETCH(Rows, machineRows);
    QFETCH(int, sameAddress);
    QFETCH(bool, added);
    QFETCH(int, userCount);

    m_catalogue->exec("insert into BigType(BigType, BCount) values ('门户资讯', 1)");
    m_catalogue->exec("insert into NetType(BigType, Type, N_Count) values ('门户资讯', '综合门户', 1)");
    m_catalogue->addSite("新浪", "www.sina.com.cn", "门户资讯", "综合门户", 2, 30);
    const qlonglong site = m_catalogue->addSite(" 网易\t", "http://www.163.com", "门户资讯", "综合门户", 4, 20);
    for (int n = 0; n < sameAddress; ++n)
        m_catalogue->addSite("网易 (again)", "http://www.163.com", "其他", "收藏", 1, 0);
    for (const QVariantList& row : machineRows)
        m_catalogue->exec("insert into UsersM(UserID, UserNetRuL, UserNetName) values (?, ?, 'before')", row);

    MessageCapture messages;
    openWindow();
    QVERIFY(clickNode(treeView(), findNode(treeView(), "门户资讯", "综合门户")));
    QCOMPARE(gridNames(), (QStringList{"新浪", " 网易\t"}));
    QVERIFY(clickRow(grid(), 1));
    QVERIFY(triggerAction(m_window.get(), "N4"));

    QCOMPARE(messages.texts(), QStringList());
    const QList<QVariantList> copies = m_catalogue->rows(
        "select UserName, UserNetName, UserNetRuL, Calling, Remark, Writetime from UsersM "
        "where UserID = ? and UserNetName <> 'before'",
        {kMachine});
    QCOMPARE(copies.size(), added ? 1 : 0);
    QCOMPARE(m_catalogue->scalar("select count(*) from UsersM").toInt(), machineRows.size() + (added ? 1 : 0));
    QCOMPARE(m_catalogue->scalar("select UserCount from Net where NetID = ?", {site}).toInt(), userCount);
    QCOMPARE(m_catalogue->scalar("select sum(UserCount) from Net where NetID <> ?", {site}).toInt(), 2 + sameAddress);
    if (added) {
        const QVariantList copy = copies.first();
        QVERIFY2(!copy.at(0).isNull(), "UserName is the empty text, not NULL");
        QCOMPARE(copy.at(0).toString(), QString());
        QCOMPARE(copy.at(1).toString(), QStringLiteral("网易"));
        QCOMPARE(copy.at(2).toString(), QStringLiteral("http://www.163.com"));
        QCOMPARE(copy.at(3).toString(), QStringLiteral("综合门户"));
        QCOMPARE(copy.at(4).toString(), QStringLiteral("网址库"));
        QVERIFY(copy.at(5).toDateTime().isValid());
    }

    // Copying again finds the row and changes nothing.
    const QList<QVariantList> machineList = m_catalogue->rows("select * from UsersM order by rowid");
    const QList<int> counts = sumCounts();
    QVERIFY(triggerAction(m_window.get(), "N4"));
    QCOMPARE(m_catalogue->rows("select * from UsersM order by rowid"), machineList);
    QCOMPARE(m_catalogue->scalar("select UserCount from Net where NetID = ?", {site}).toInt(), userCount);
    QCOMPARE(sumCounts(), counts);
}

void TestLibraryWindow::copyBeforeAnyCategory()
{
    addBrowsingFixture();
    MessageCapture messages;
    openWindow();
    QVERIFY(triggerAction(m_window.get(), "N4"));
    QCOMPARE(m_catalogue->scalar("select count(*) from UsersM").toInt(), 0);
    QCOMPARE(m_catalogue->scalar("select sum(UserCount) from Net").toInt(), 0);
    QCOMPARE(messages.texts(), QStringList());
}

// ---- the suggestion box ----------------------------------------------------------------------

void TestLibraryWindow::suggestion_data()
{
    QTest::addColumn<QString>("typed1");
    QTest::addColumn<QString>("typed2");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("one");
    QTest::addColumn<QString>("two");

    QTest::newRow("both blank") << " \n\t " << "\n\n" << false << "" << "";
    QTest::newRow("both empty") << "" << "" << false << "" << "";
    QTest::newRow("first only") << "多一些游戏网站" << "" << true << "多一些游戏网站" << "";
    QTest::newRow("second only") << "  \n" << "记账软件" << true << "" << "记账软件";
    QTest::newRow("ends trimmed, inner line breaks kept")
        << "\n  第一行\n\n第二行  \n\t" << " 甲\n乙 " << true << "第一行\r\n\r\n第二行" << "甲\r\n乙";
    QTest::newRow("quotes, statements and emoji stored as typed")
        << "it's \"fine\"'); delete from LeaveWord; --" << "😀 :UseID 　全角空格　" << true
        << "it's \"fine\"'); delete from LeaveWord; --" << "😀 :UseID 　全角空格　";
    const QString controls = QStringLiteral("a") + QChar(0x01) + "b" + QChar(0x07) + "\tc" + QChar(0x7f) +
                             QChar(0xA0) + "不换行空格";
    QTest::newRow("control characters and no-break spaces") << controls << "" << true << controls << "";
    QTest::newRow("long text") << QString(20000, QChar(0x4E2D)) << "x" << true << QString(20000, QChar(0x4E2D)) << "x";
}

void TestLibraryWindow::suggestion()
{
    QFETCH(QString, typed1);
    QFETCH(QString, typed2);
    QFETCH(bool, stored);
    QFETCH(QString, one);
    QFETCH(QString, two);

    MessageCapture messages;
    openWindow();
    memo(1)->setPlainText(typed1);
    memo(2)->setPlainText(typed2);
    auto* button = m_window->findChild<QPushButton*>("Button1");
    QTest::mouseClick(button, Qt::LeftButton);

    const QList<QVariantList> rows =
        m_catalogue->rows("select one, two, UseID, OtherUseID, Remark from LeaveWord order by LeaveWordID");
    if (!stored) {
        QCOMPARE(rows.size(), 0);
        QCOMPARE(messages.texts(), QStringList());
        QCOMPARE(memo(1)->toPlainText(), typed1);
        QCOMPARE(memo(2)->toPlainText(), typed2);
        return;
    }
    QCOMPARE(rows.size(), 1);
    QVERIFY2(!rows.first().at(0).isNull() && !rows.first().at(1).isNull(), "an empty answer is the empty text");
    QCOMPARE(rows.first(), (QVariantList{one, two, kMachine, "系统", "等待回复"}));
    QCOMPARE(memo(1)->toPlainText(), QString());
    QCOMPARE(memo(2)->toPlainText(), QString());
    QCOMPARE(m_window->focusWidget(), memo(1));
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages.first().text, QStringLiteral("留言成功！"));
    QCOMPARE(messages.messages.first().caption, QStringLiteral("系统提示"));
    QCOMPARE(messages.messages.first().icon, MessageBoxes::Icon::None);

    // Pressed again with both memos now empty: nothing.
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(m_catalogue->scalar("select count(*) from LeaveWord").toInt(), 1);
    QCOMPARE(messages.messages.size(), 1);
    // Every press with content is a new row.
    memo(2)->setPlainText(typed2.isEmpty() ? typed1 : typed2);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(m_catalogue->scalar("select count(*) from LeaveWord").toInt(), 2);
}

void TestLibraryWindow::failingSuggestionKeepsText()
{
    m_catalogue->exec("create trigger refuse before insert on LeaveWord begin select raise(abort, 'suggestions refused'); end");
    MessageCapture messages;
    openWindow();
    memo(1)->setPlainText("第一个问题");
    memo(2)->setPlainText("第二个问题");
    QTest::mouseClick(m_window->findChild<QPushButton*>("Button1"), Qt::LeftButton);

    QCOMPARE(messages.messages.size(), 1);
    QVERIFY2(messages.messages.first().text.contains("suggestions refused"), qPrintable(messages.messages.first().text));
    QCOMPARE(messages.messages.first().icon, MessageBoxes::Icon::Error);
    QCOMPARE(memo(1)->toPlainText(), QStringLiteral("第一个问题"));
    QCOMPARE(memo(2)->toPlainText(), QStringLiteral("第二个问题"));
    QCOMPARE(m_catalogue->scalar("select count(*) from LeaveWord").toInt(), 0);
}

// ---- opening and closing ---------------------------------------------------------------------

void TestLibraryWindow::exitClosesOnlyThisWindow()
{
    TFMain mainWindow(m_catalogue->settings());
    mainWindow.show();
    openWindow();
    QVERIFY(triggerAction(m_window.get(), "N3"));
    QVERIFY(!m_window->isVisible());
    QVERIFY(mainWindow.isVisible());
}

void TestLibraryWindow::eachOpeningIsAFreshWindow()
{
    addBrowsingFixture();
    TFMain mainWindow(m_catalogue->settings());
    MachineID = kMachine;
    const auto open = [&] { mainWindow.N7Click(); };

    QPointer<QWidget> first;
    bool firstModal = false;
    QString firstTree;
    QVERIFY(whileModal(open, [&](QWidget* window) {
        first = window;
        firstModal = window == FKorvath && window->windowModality() == Qt::ApplicationModal && !window->parentWidget();
        auto* tree = window->findChild<QTreeWidget*>("TreeView1");
        firstTree = treeText(tree);
        for (int n = 0; n < 5; ++n)
            clickNode(tree, findNode(tree, "门户资讯", "空分类"));
        window->findChild<QPlainTextEdit*>("Memo1")->setPlainText("draft");
    }));
    QVERIFY(firstModal);
    QCOMPARE(firstTree, QStringLiteral("生活服务: 综合门户 | 门户资讯: 综合门户, 空分类"));
    QVERIFY2(first.isNull(), "the window is freed after it closes");
    QCOMPARE(FKorvath, nullptr);
    QCOMPARE(nCount("门户资讯", "空分类"), 6);

    // The second window reads the raised counter: the category now leads its group.
    QString secondTree;
    int secondRows = -1;
    QString secondMemo;
    QVERIFY(whileModal(open, [&](QWidget* window) {
        secondTree = treeText(window->findChild<QTreeWidget*>("TreeView1"));
        secondRows = window->findChild<QTableView*>("DBGrid1")->model()->rowCount();
        secondMemo = window->findChild<QPlainTextEdit*>("Memo1")->toPlainText();
    }));
    QCOMPARE(secondTree, QStringLiteral("生活服务: 综合门户 | 门户资讯: 空分类, 综合门户"));
    QCOMPARE(secondRows, 0);
    QCOMPARE(secondMemo, QString());
}

QTEST_MAIN(TestLibraryWindow)
#include "test_library_window.moc"
