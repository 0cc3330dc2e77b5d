// The main window on the offscreen platform over a SQLite catalogue: the
// machine's list, adding a site through the entry fields, and opening a
// site by double-clicking it. The real widgets are driven throughout.
#include "MainWindowFixture.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

namespace {

QStringList gridColumn(QTableView* grid, int column)
{
    QStringList values;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        values << grid->model()->index(row, column).data().toString();
    return values;
}

void doubleClickRow(QTableView* grid, int row)
{
    const QPoint centre = grid->visualRect(grid->model()->index(row, 0)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void listLoadOrdersByVisits();
    void emptyListShowsOnlyTitles();
    void layoutAndMenus();
    void tabOrder();
    void focusChain();

    void addingCountsTheCatalogue_data();
    void addingCountsTheCatalogue();
    void addingReloadsWithoutOrderAndClears();
    void addingIgnoresDuplicatesAndBlanks_data();
    void addingIgnoresDuplicatesAndBlanks();
    void failedInsertWritesNothing();
    void inputIsStoredVerbatim();

    void openingCountsVisits_data();
    void openingCountsVisits();
    void openingEmptyListDoesNothing();
    void repeatedOpeningsCountEveryVisit();
};

void TestMainWindow::listLoadOrdersByVisits()
{
    MainWindowFixture f;
    f.addOwnSite("少", "www.a.cn", 1);
    f.addOwnSite("多", "www.b.cn", 5);
    f.addOwnSite("中", "www.c.cn", 3);
    f.addOwnSite("别人的", "www.d.cn", 9, "OTHER-MACHINE");
    f.open();
    auto* grid = f.child<QTableView>("DBGrid1");
    QCOMPARE(gridColumn(grid, 0), (QStringList{"多", "中", "少"}));
    QCOMPARE(gridColumn(grid, 1), (QStringList{"www.b.cn", "www.c.cn", "www.a.cn"}));
    QVERIFY(f.messages.messages.isEmpty());
}

void TestMainWindow::emptyListShowsOnlyTitles()
{
    MainWindowFixture f;
    f.addOwnSite("别人的", "www.d.cn", 9, "OTHER-MACHINE");
    f.open();
    auto* grid = f.child<QTableView>("DBGrid1");
    QCOMPARE(grid->model()->rowCount(), 0);
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QString("网站名称"));
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QString("网址"));
    QCOMPARE(grid->columnWidth(0), 87);
    QCOMPARE(grid->columnWidth(1), 120);
}

void TestMainWindow::layoutAndMenus()
{
    MainWindowFixture f;
    f.open();
    QCOMPARE(f.window->windowTitle(), QString("Velmora网站管理软件"));
    QCOMPARE(f.child<QLineEdit>("Edit2")->geometry(), QRect(258, 336, 143, 21));
    QCOMPARE(f.child<QWidget>("GroupBox4")->geometry(), QRect(417, 263, 265, 171));
    QVERIFY(!f.child<QWidget>("Button1")->isVisible());
    QVERIFY(!f.child<QCheckBox>("CheckBox1")->isChecked());

    // Resizing moves nothing but the status bar, which keeps to the bottom edge.
    const QSize before = f.window->size();
    const QPoint clientArea = f.child<QWidget>("centralwidget")->pos();
    f.window->resize(before + QSize(120, 90));
    QTRY_COMPARE(f.window->size(), before + QSize(120, 90));
    QCOMPARE(f.child<QLineEdit>("Edit2")->geometry(), QRect(258, 336, 143, 21));
    QCOMPARE(f.child<QWidget>("GroupBox4")->geometry(), QRect(417, 263, 265, 171));
    QCOMPARE(f.child<QWidget>("centralwidget")->pos(), clientArea);
    QCOMPARE(f.child<QWidget>("StatusBar1")->geometry().bottom(), f.window->rect().bottom());

    QStringList bar;
    for (QAction* menu : f.window->menuBar()->actions())
        bar << menu->text();
    QCOMPARE(bar, (QStringList{"文件", "网站库", "帮助", "关于我们"}));
    QVERIFY(f.child<QAction>("N2")->isSeparator());

    // "帮助" under "帮助" does nothing.
    f.child<QAction>("N9")->trigger();
    QVERIFY(f.window->isVisible());
    QVERIFY(f.messages.messages.isEmpty());

    // "退出" closes the window.
    f.child<QAction>("N3")->trigger();
    QVERIFY(!f.window->isVisible());
}

void TestMainWindow::tabOrder()
{
    MainWindowFixture f;
    f.open();
    f.child<QLineEdit>("Edit1")->setText("名");
    f.child<QLineEdit>("Edit2")->setText("www.x.cn");
    f.child<QLineEdit>("Edit1")->setFocus();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, (QStringList{"Edit1", "DBGrid1", "Edit2", "CheckBox1", "Edit3"}));
}

void TestMainWindow::focusChain()
{
    MainWindowFixture f;
    f.open();
    auto* edit1 = f.child<QLineEdit>("Edit1");
    auto* edit2 = f.child<QLineEdit>("Edit2");
    auto* edit3 = f.child<QLineEdit>("Edit3");

    edit1->setText("  ");
    edit2->setFocus();
    QCOMPARE(QApplication::focusWidget(), edit1); // a blank name keeps the focus on the name
    edit3->setFocus();
    QCOMPARE(QApplication::focusWidget(), edit1);

    edit1->setText("新浪");
    edit3->setFocus();
    QCOMPARE(QApplication::focusWidget(), edit2); // no address yet

    QTest::keyClick(edit2, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), edit2); // Enter on a blank address stays
    edit2->setText("www.sina.com.cn");
    QTest::keyClick(edit2, Qt::Key_A);
    QCOMPARE(QApplication::focusWidget(), edit2); // other keys type normally
    QCOMPARE(edit2->text(), QString("www.sina.com.cna"));
    QTest::keyClick(edit2, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), edit3); // past the check box
}

void TestMainWindow::addingCountsTheCatalogue_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QStringList>("catalogue");
    QTest::addColumn<QString>("remark");
    QTest::addColumn<QList<int>>("userCounts");

    QTest::newRow("known under the typed address")
        << "www.sina.com.cn" << false << QStringList{"www.sina.com.cn", "www.sohu.com"} << "软件网址库" << QList<int>{1, 0};
    QTest::newRow("known under the alternate form")
        << "http://www.163.com" << false << QStringList{"www.163.com"} << "软件网址库" << QList<int>{1};
    QTest::newRow("known under both forms")
        << "www.qq.com" << true << QStringList{"www.qq.com", "http://www.qq.com", "qq.com"} << "软件网址库" << QList<int>{1, 1, 0};
    QTest::newRow("unknown, recommendation allowed")
        << "www.new.cn" << true << QStringList{"www.sina.com.cn"} << "允许推荐" << QList<int>{0};
    QTest::newRow("unknown, not recommended")
        << "http://www.new.cn" << false << QStringList{"new.cn.example"} << "不推荐" << QList<int>{0};
    QTest::newRow("capitals are no prefix")
        << "WWW.SINA.COM.CN" << false << QStringList{"http://WWW.SINA.COM.CN"} << "不推荐" << QList<int>{0};
}

void TestMainWindow::addingCountsTheCatalogue()
{
    QFETCH(QString, typed);
    QFETCH(bool, ticked);
    QFETCH(QStringList, catalogue);
    QFETCH(QString, remark);
    QFETCH(QList<int>, userCounts);

    MainWindowFixture f;
    QList<qlonglong> ids;
    for (const QString& address : catalogue)
        ids << f.catalogue.addSite("site", address);
    f.open();
    f.child<QCheckBox>("CheckBox1")->setChecked(ticked);
    f.child<QLineEdit>("Edit1")->setText("  网站  ");
    f.child<QLineEdit>("Edit2")->setText(" " + typed + "\t");
    f.child<QLineEdit>("Edit3")->setText(" 门户 ");
    QSignalSpy enterReachedTheField(f.child<QLineEdit>("Edit3"), &QLineEdit::returnPressed);
    QTest::keyClick(f.child<QLineEdit>("Edit3"), Qt::Key_Return);

    QVERIFY2(f.messages.messages.isEmpty(), qPrintable(f.messages.texts().join("; ")));
    QCOMPARE(enterReachedTheField.count(), 1);
    const auto rows = f.catalogue.rows("select UserID, UserName, UserNetName, UserNetRuL, Calling, Remark, UseCount, "
                                       "Writetime is not null from UsersM");
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0][0].toString(), MainWindowFixture::machine());
    QCOMPARE(rows[0][1].toString(), QString(""));
    QVERIFY(!rows[0][1].isNull());
    QCOMPARE(rows[0][2].toString(), QString("网站"));
    QCOMPARE(rows[0][3].toString(), typed);
    QCOMPARE(rows[0][4].toString(), QString("门户"));
    QCOMPARE(rows[0][5].toString(), remark);
    QCOMPARE(rows[0][6].toInt(), 0);
    QCOMPARE(rows[0][7].toInt(), 1);
    for (int i = 0; i < ids.size(); ++i)
        QCOMPARE(f.catalogue.scalar("select UserCount from Net where NetID = ?", {ids[i]}).toInt(), userCounts[i]);
}

void TestMainWindow::addingReloadsWithoutOrderAndClears()
{
    MainWindowFixture f;
    f.addOwnSite("旧", "www.old.cn", 0);
    f.addOwnSite("常用", "www.often.cn", 7);
    f.open();
    auto* grid = f.child<QTableView>("DBGrid1");
    QCOMPARE(gridColumn(grid, 0), (QStringList{"常用", "旧"}));

    f.child<QCheckBox>("CheckBox1")->setChecked(true);
    f.child<QLineEdit>("Edit1")->setText("新");
    f.child<QLineEdit>("Edit2")->setText("www.new.cn");
    f.child<QLineEdit>("Edit3")->setFocus();
    QTest::keyClick(f.child<QLineEdit>("Edit3"), Qt::Key_Return);

    // The reload asks for no order: the grid shows the server's own order
    // (here the (UserID, UserNetRuL) index), no longer the most visited first.
    QStringList serverOrder;
    for (const auto& row : f.catalogue.rows("select UserNetName from UsersM where UserID = ?", {MainWindowFixture::machine()}))
        serverOrder << row[0].toString();
    QCOMPARE(serverOrder, (QStringList{"新", "常用", "旧"}));
    QCOMPARE(gridColumn(grid, 0), serverOrder);
    for (const char* name : {"Edit1", "Edit2", "Edit3"})
        QCOMPARE(f.child<QLineEdit>(name)->text(), QString());
    QCOMPARE(QApplication::focusWidget(), f.child<QLineEdit>("Edit1"));
    QVERIFY(f.child<QCheckBox>("CheckBox1")->isChecked());
}

void TestMainWindow::addingIgnoresDuplicatesAndBlanks_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("address already in the list") << "  www.mine.cn ";
    QTest::newRow("blank address") << " \t ";
    QTest::newRow("empty address") << "";
}

void TestMainWindow::addingIgnoresDuplicatesAndBlanks()
{
    QFETCH(QString, address);
    MainWindowFixture f;
    f.addOwnSite("我的", "www.mine.cn");
    const qlonglong site = f.catalogue.addSite("我的", "www.mine.cn");
    f.open();
    f.child<QLineEdit>("Edit1")->setText("名称");
    f.child<QLineEdit>("Edit2")->setText(address);
    f.child<QLineEdit>("Edit3")->setText("行业");
    QTest::keyClick(f.child<QLineEdit>("Edit3"), Qt::Key_Return);

    QVERIFY(f.messages.messages.isEmpty());
    QCOMPARE(f.catalogue.scalar("select count(*) from UsersM").toInt(), 1);
    QCOMPARE(f.catalogue.scalar("select UserCount from Net where NetID = ?", {site}).toInt(), 0);
    QCOMPARE(f.child<QLineEdit>("Edit1")->text(), QString("名称"));
    QCOMPARE(f.child<QLineEdit>("Edit2")->text(), address);
    QCOMPARE(f.child<QLineEdit>("Edit3")->text(), QString("行业"));
}

void TestMainWindow::failedInsertWritesNothing()
{
    MainWindowFixture f;
    const qlonglong site = f.catalogue.addSite("新浪", "www.sina.com.cn");
    f.catalogue.exec("create trigger refuse_sites before insert on UsersM "
                     "begin select raise(abort, 'the list is closed for new sites'); end");
    f.open();
    f.child<QLineEdit>("Edit1")->setText("新浪");
    f.child<QLineEdit>("Edit2")->setText("www.sina.com.cn");
    f.child<QLineEdit>("Edit3")->setText("门户");
    for (int attempt = 0; attempt < 2; ++attempt)
        QTest::keyClick(f.child<QLineEdit>("Edit3"), Qt::Key_Return);

    QCOMPARE(f.messages.messages.size(), 2);
    QVERIFY(f.messages.messages[0].text.contains("the list is closed for new sites"));
    QCOMPARE(f.messages.messages[0].icon, MessageBoxes::Icon::Error);
    QCOMPARE(f.catalogue.scalar("select count(*) from UsersM").toInt(), 0);
    QCOMPARE(f.catalogue.scalar("select UserCount from Net where NetID = ?", {site}).toInt(), 0);
    QCOMPARE(f.child<QLineEdit>("Edit2")->text(), QString("www.sina.com.cn"));
    QCOMPARE(f.child<QLineEdit>("Edit1")->text(), QString("新浪"));
}

void TestMainWindow::inputIsStoredVerbatim()
{
    MainWindowFixture f;
    f.catalogue.addSite("a", "www.a.cn");
    f.catalogue.addSite("b", "www.b.cn");
    f.open();
    const QString name = "'); delete from Net; --";
    const QString address = "www.x.cn' or '1'='1";
    const QString trade = "\"; drop table UsersM; /*";
    f.child<QLineEdit>("Edit1")->setText(name);
    f.child<QLineEdit>("Edit2")->setText(address);
    f.child<QLineEdit>("Edit3")->setText(trade);
    QTest::keyClick(f.child<QLineEdit>("Edit3"), Qt::Key_Return);

    QVERIFY(f.messages.messages.isEmpty());
    const auto rows = f.catalogue.rows("select UserNetName, UserNetRuL, Calling, Remark from UsersM");
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0][0].toString(), name);
    QCOMPARE(rows[0][1].toString(), address);
    QCOMPARE(rows[0][2].toString(), trade);
    QCOMPARE(rows[0][3].toString(), QString("不推荐"));
    QCOMPARE(f.catalogue.scalar("select count(*) from Net").toInt(), 2);
    QCOMPARE(f.catalogue.scalar("select sum(UserCount) from Net").toInt(), 0);
}

void TestMainWindow::openingCountsVisits_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("catalogue");
    QTest::addColumn<QString>("launched");
    QTest::addColumn<int>("useCount");
    QTest::addColumn<QList<int>>("sumCounts");

    QTest::newRow("stored with http://")
        << "http://www.sina.com.cn" << QStringList{"http://www.sina.com.cn", "www.sina.com.cn", "sina.com.cn"}
        << "http://www.sina.com.cn" << 1 << QList<int>{1, 1, 0};
    QTest::newRow("stored with www.")
        << "www.163.com" << QStringList{"www.163.com", "http://www.163.com", "163.com"}
        << "www.163.com" << 1 << QList<int>{1, 1, 0};
    // A bare address opens with "http://" in front; the machine's row is
    // matched with that launch form and so is not counted.
    QTest::newRow("stored bare")
        << "sohu.com" << QStringList{"sohu.com", "http://sohu.com", "www.sohu.com"}
        << "http://sohu.com" << 0 << QList<int>{1, 1, 0};
    QTest::newRow("unknown to the catalogue")
        << "https://www.unknown.cn" << QStringList{"www.sina.com.cn"} << "https://www.unknown.cn" << 1 << QList<int>{0};
}

void TestMainWindow::openingCountsVisits()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, catalogue);
    QFETCH(QString, launched);
    QFETCH(int, useCount);
    QFETCH(QList<int>, sumCounts);

    MainWindowFixture f;
    f.addOwnSite("站点", stored);
    QList<qlonglong> ids;
    for (const QString& address : catalogue)
        ids << f.catalogue.addSite("site", address);
    f.open();
    doubleClickRow(f.child<QTableView>("DBGrid1"), 0);

    QVERIFY(f.messages.messages.isEmpty());
    QCOMPARE(f.launches.files(), QStringList{launched});
    QCOMPARE(f.launches.requests[0].verb, QString());
    QCOMPARE(f.catalogue.scalar("select UseCount from UsersM").toInt(), useCount);
    QCOMPARE(f.catalogue.scalar("select count(*) from UsersM where Writetime is not null").toInt(), useCount);
    for (int i = 0; i < ids.size(); ++i) {
        QCOMPARE(f.catalogue.scalar("select SumCount from Net where NetID = ?", {ids[i]}).toInt(), sumCounts[i]);
        QCOMPARE(f.catalogue.scalar("select WriteTime is not null from Net where NetID = ?", {ids[i]}).toInt(), sumCounts[i]);
    }
}

void TestMainWindow::openingEmptyListDoesNothing()
{
    MainWindowFixture f;
    f.catalogue.addSite("site", "http://");
    f.open();
    auto* grid = f.child<QTableView>("DBGrid1");
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    QVERIFY(f.launches.requests.isEmpty());
    QVERIFY(f.messages.messages.isEmpty());
    QCOMPARE(f.catalogue.scalar("select SumCount from Net").toInt(), 0);
}

void TestMainWindow::repeatedOpeningsCountEveryVisit()
{
    MainWindowFixture f;
    f.addOwnSite("甲", "www.a.cn", 2);
    f.addOwnSite("乙", "www.b.cn", 1);
    const qlonglong b = f.catalogue.addSite("乙", "www.b.cn");
    f.open();
    auto* grid = f.child<QTableView>("DBGrid1");
    for (int i = 0; i < 3; ++i)
        doubleClickRow(grid, 1);

    QCOMPARE(f.launches.files(), (QStringList{"www.b.cn", "www.b.cn", "www.b.cn"}));
    QCOMPARE(f.catalogue.scalar("select UseCount from UsersM where UserNetRuL = 'www.b.cn'").toInt(), 4);
    QCOMPARE(f.catalogue.scalar("select SumCount from Net where NetID = ?", {b}).toInt(), 3);
    // The grid is not re-queried: rows, order and current row stay.
    QCOMPARE(gridColumn(grid, 0), (QStringList{"甲", "乙"}));
    QCOMPARE(grid->currentIndex().row(), 1);
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
