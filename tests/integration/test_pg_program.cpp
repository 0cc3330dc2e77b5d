// The windows' handlers on a real PostgreSQL catalogue, reached through the
// native driver and through ODBC: a whole run of the main and library
// windows, hostile input in every field a user types into, and the address
// tidy-up under the program's login and under a maintainer's.
#include "IntegrationSupport.h"

#include "Failure.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

using namespace Integration;

class TestProgramOnPostgres : public QObject
{
    Q_OBJECT

private slots:
    void wholeRun_data();
    void wholeRun();
    void hostileInput_data();
    void hostileInput();
    void tidyUp_data();
    void tidyUp();
};

void TestProgramOnPostgres::wholeRun_data()
{
    addDriverColumn();
    for (const QString& driver : drivers())
        QTest::newRow(qPrintable(driver)) << driver;
}

void TestProgramOnPostgres::wholeRun()
{
    QFETCH(QString, driver);
    PostgresCatalogue catalogue(PostgresCatalogue::kindOf(driver));
    addSmallCatalogue(catalogue);
    catalogue.exec("insert into LoadInfo(UseID, LoadTime) values ('OTHER-MACHINE', '2020-01-01 00:00:00')");

    Window w(catalogue);
    QCOMPARE(w.main->connection().driverName(), driver);
    QCOMPARE(w.messages.texts(), QStringList());

    // Start page: "select Top N" ran as "limit N", ordered by the counters.
    QCOMPARE(w.child<QLabel>("suiURLLabel1")->text(), QString("新浪"));
    QCOMPARE(w.child<QLabel>("suiURLLabel2")->text(), QString("网易"));
    QCOMPARE(w.child<QLabel>("suiURLLabel13")->text(), QString("新浪"));
    QCOMPARE(w.child<QLabel>("suiURLLabel15")->text(), QString("人民网"));
    QCOMPARE(w.child<QLabel>("suiURLLabel8")->text(), QString("广告一"));
    QCOMPARE(catalogue.scalar("select count(*) from LoadInfo where UseID = 'TEST-DRIVE-0001'").toInt(), 1);
    QStringList status;
    for (const QLabel* panel : w.child<QStatusBar>("StatusBar1")->findChildren<QLabel*>())
        status << panel->text();
    QVERIFY2(status.contains(QStringLiteral("   您是使用本软件的第2人")), qPrintable(status.join('|')));

    // Adding a site the catalogue holds under its other form.
    w.addSite("163", "http://www.163.com", "门户");
    QCOMPARE(w.messages.texts(), QStringList());
    QCOMPARE(w.listRows(), 1);
    const auto added = catalogue.rows("select UserID, UserName, UserNetName, UserNetRuL, Calling, Remark, UseCount, Writetime is not null from UsersM");
    QCOMPARE(added.size(), 1);
    QCOMPARE(rowText(added[0]), QString("TEST-DRIVE-0001 |  | 163 | http://www.163.com | 门户 | 软件网址库 | 0 | true"));
    QCOMPARE(catalogue.scalar("select UserCount from Net where NetAddress = 'www.163.com'").toInt(), 8);

    // Visiting it twice from the list.
    w.main->DBGrid1DblClick();
    w.main->DBGrid1DblClick();
    QCOMPARE(w.launches.files(), QStringList({"http://www.163.com", "http://www.163.com"}));
    QCOMPARE(catalogue.scalar("select UseCount from UsersM").toInt(), 2);
    QCOMPARE(catalogue.scalar("select SumCount from Net where NetAddress = 'www.163.com'").toInt(), 32);
    QCOMPARE(catalogue.scalar("select count(*) from Net where WriteTime is not null").toInt(), 1);

    // The library window, opened from the menu: tree, category, visit, copy, suggestion.
    bool driven = false;
    QTimer::singleShot(0, [&] {
        TFKorvath* library = FKorvath;
        QVERIFY(library);
        auto* tree = library->findChild<QTreeWidget*>("TreeView1");
        QCOMPARE(tree->topLevelItemCount(), 2);
        QCOMPARE(tree->topLevelItem(0)->text(0), QString("工具"));
        QCOMPARE(tree->topLevelItem(1)->child(0)->text(0), QString("门户"));
        tree->setCurrentItem(tree->topLevelItem(1)->child(1));
        library->TreeView1Click();
        auto* grid = library->findChild<QTableView*>("DBGrid1");
        QCOMPARE(grid->model()->rowCount(), 1);
        library->DBGrid1DblClick();
        library->N4Click();
        library->findChild<QPlainTextEdit*>("Memo1")->setPlainText("  多一些软件  \r\n");
        library->findChild<QPushButton*>("Button1")->click();
        library->close();
        driven = true;
    });
    w.main->N7Click();
    QVERIFY(driven);
    QCOMPARE(w.messages.texts(), QStringList({"留言成功！"}));
    QCOMPARE(catalogue.scalar("select N_Count from NetType where Type = '新闻'").toInt(), 4);
    QCOMPARE(catalogue.scalar("select SumCount from Net where NetName = '人民网'").toInt(), 21);
    QCOMPARE(catalogue.scalar("select UserCount from Net where NetName = '人民网'").toInt(), 2);
    QCOMPARE(catalogue.rows("select UserNetRuL, Calling, Remark from UsersM where UserNetName = '人民网'").size(), 1);
    QCOMPARE(rowText(catalogue.rows("select one, two, UseID, OtherUseID, Remark from LeaveWord")[0]),
             QString("多一些软件 |  | TEST-DRIVE-0001 | 系统 | 等待回复"));
}

// Hostile texts, each put in one field. A value that fits its column is
// stored exactly (trimmed at both ends, as every typed text is); a longer one
// is refused by the server and leaves the whole catalogue as it was.
void TestProgramOnPostgres::hostileInput_data()
{
    addDriverColumn();
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("input");

    const QList<QPair<const char*, QString>> inputs{
        {"quotes", QStringLiteral("O'Reilly's ''站'' \"quoted\" \\' \\\"")},
        {"statement separators", QStringLiteral("x'); drop table Net; delete from UsersM; select ('1")},
        {"sql comments", QStringLiteral("a -- rest /* open * / b */ c #x")},
        {"markers and placeholders", QStringLiteral(":UserID ? $1 %s {fn now()} :Netaddress1")},
        {"control characters", QStringLiteral("a") + QChar(0x01) + "b" + QChar(0x07) + "c" + QChar(0x1b) + "[31m\td" + QChar(0x7f)},
        {"emoji", QStringLiteral("网站😀🎉👨‍👩‍👧🀄")},
        {"right to left", QStringLiteral("\u200Fمرحبا بالعالم שלום \u202Eabc\u202C")},
        {"blanks around", QStringLiteral("  \t 中 间 \t ")},
        {"100 characters", QString(100, QChar(0x957F))},
        {"101 characters", QString(101, QChar(0x957F))},
        {"300 characters", QString(300, QLatin1Char('x'))},
        {"100000 characters", QString(100000, QChar(0x5B57))},
    };
    const QStringList fields{"Edit1", "Edit2", "Edit3", "Memo1", "Memo2"};
    for (const QString& driver : drivers())
        for (const QString& field : fields)
            for (const auto& input : inputs)
                QTest::addRow("%s %s %s", qPrintable(driver), qPrintable(field), input.first)
                    << driver << field << input.second;
}

void TestProgramOnPostgres::hostileInput()
{
    QFETCH(QString, driver);
    QFETCH(QString, field);
    QFETCH(QString, input);

    // Column and width each field is stored in (catalogue/schema/postgresql.sql).
    const QMap<QString, QPair<QString, int>> column{
        {"Edit1", {"UserNetName", 100}}, {"Edit2", {"UserNetRuL", 255}}, {"Edit3", {"Calling", 100}},
        {"Memo1", {"one", -1}}, {"Memo2", {"two", -1}}};
    const int width = column[field].second;

    PostgresCatalogue catalogue(PostgresCatalogue::kindOf(driver));
    addSmallCatalogue(catalogue);
    Window w(catalogue);
    QCOMPARE(w.messages.texts(), QStringList());
    const Contents before = contents(catalogue);

    const bool mainWindow = field.startsWith(QLatin1String("Edit"));
    QString held;
    if (mainWindow) {
        QMap<QString, QString> typed{{"Edit1", "名称"}, {"Edit2", "www.plain.example"}, {"Edit3", "行业"}};
        typed[field] = input;
        w.child<QLineEdit>(qPrintable(field))->setText(input);
        held = w.child<QLineEdit>(qPrintable(field))->text();
        w.addSite(typed["Edit1"], typed["Edit2"], typed["Edit3"]);
    } else {
        Library library(*w.main);
        library.child<QPlainTextEdit>(qPrintable(field))->setPlainText(input);
        library.child<QPlainTextEdit>(field == "Memo1" ? "Memo2" : "Memo1")->setPlainText("另一个");
        held = library.child<QPlainTextEdit>(qPrintable(field))->toPlainText();
        library.child<QPushButton>("Button1")->click();
    }
    // The expectation follows what the field holds, which is what the program reads.
    const QString expected = trimLow(held);
    const bool fits = width < 0 || expected.toUcs4().size() <= width;

    Contents after = contents(catalogue);
    if (fits) {
        QCOMPARE(w.messages.texts(), mainWindow ? QStringList() : QStringList{"留言成功！"});
        const QString table = mainWindow ? "UsersM" : "LeaveWord";
        const QString stored = catalogue.scalar(QStringLiteral("select %1 from %2").arg(column[field].first, table)).toString();
        QCOMPARE(stored.size(), expected.size());
        QVERIFY(stored == expected);
        QCOMPARE(after[table].size(), before[table].size() + 1);
        after.remove(table);
        Contents rest = before;
        rest.remove(table);
        QVERIFY(after == rest);
    } else {
        QCOMPARE(w.messages.messages.size(), 1);
        QCOMPARE(w.messages.messages[0].icon, MessageBoxes::Icon::Error);
        QVERIFY2(w.messages.texts()[0].contains("value too long for type character varying"),
                 qPrintable(w.messages.texts()[0]));
        QVERIFY(after == before);
        // The fields keep their text for another try.
        QCOMPARE(w.child<QLineEdit>(qPrintable(field))->text(), held);
    }

    // The program goes on working.
    w.messages.messages.clear();
    w.addSite("之后", "www.after.example", "之后");
    QCOMPARE(w.messages.texts(), QStringList());
    QCOMPARE(catalogue.scalar("select count(*) from UsersM where UserNetRuL = 'www.after.example'").toInt(), 1);
}

// The tidy-up needs update on Net.NetAddress, which only the maintainer's
// role holds (catalogue/schema/grants-postgresql.sql).
void TestProgramOnPostgres::tidyUp_data()
{
    addDriverColumn();
    QTest::addColumn<QString>("login");
    QTest::addColumn<bool>("allowed");
    for (const QString& driver : drivers()) {
        QTest::addRow("%s program login", qPrintable(driver)) << driver << "velmora" << false;
        QTest::addRow("%s maintainer login", qPrintable(driver)) << driver << "velmora_keeper" << true;
    }
}

void TestProgramOnPostgres::tidyUp()
{
    QFETCH(QString, driver);
    QFETCH(QString, login);
    QFETCH(bool, allowed);

    PostgresCatalogue catalogue(PostgresCatalogue::kindOf(driver), login);
    catalogue.addSite("a", "http://a.example/");
    catalogue.addSite("b", "http://b.example");
    catalogue.addSite("c", "http://c.example// ");
    Window w(catalogue);
    QCOMPARE(w.messages.texts(), QStringList());
    const Contents before = contents(catalogue);

    // The button is never shown; clicking it runs the handler through its binding.
    w.child<QPushButton>("Button1")->click();

    const auto addresses = catalogue.rows("select NetAddress from Net order by NetID");
    QStringList stored;
    for (const auto& row : addresses)
        stored << row[0].toString();
    if (allowed) {
        QCOMPARE(w.messages.texts(), QStringList({"修改成功!"}));
        QCOMPARE(stored, QStringList({"http://a.example", "http://b.example", "http://c.example/"}));
    } else {
        QCOMPARE(w.messages.messages.size(), 1);
        QVERIFY2(w.messages.texts()[0].contains("permission denied for table net"), qPrintable(w.messages.texts()[0]));
        QVERIFY(contents(catalogue) == before);
    }
}

QTEST_MAIN(TestProgramOnPostgres)
#include "test_pg_program.moc"
