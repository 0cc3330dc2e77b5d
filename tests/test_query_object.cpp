// The query object against a real SQLite catalogue: binding markers by name,
// the snapshot it keeps, reads of NULL, and reopening a closed connection.
#include "CatalogueFixture.h"
#include "Dialect.h"
#include "Failure.h"
#include "ParameterMarkers.h"
#include "Snapshot.h"
#include "TADOConnection.h"
#include "TADOQuery.h"

#include <QtTest>

class TestQueryObject : public QObject
{
    Q_OBJECT

private slots:
    void binding_data();
    void binding();
    void twoLineInsert();
    void emptyTextIsNotNull();
    void snapshotIgnoresLaterWrites();
    void cursorWalk();
    void nullReads();
    void fieldNamesIgnoreCase();
    void closedQueryObject();
    void opensClosedConnection();
    void unreachableCatalogueThrowsDriverText();
    void markersInLiteralsAreText();
    void topRewrite_data();
    void topRewrite();
    void snapshotTextRoundTrip_data();
    void snapshotTextRoundTrip();
    void largeSnapshotKeepsEveryCell_data();
    void largeSnapshotKeepsEveryCell();
};

void TestQueryObject::binding_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QStringList>("names");   // bound in this order
    QTest::addColumn<QString>("failure");     // empty: the select runs
    QTest::addColumn<int>("rows");

    const QString byAddress = QStringLiteral("select * from Net where NetAddress=:NetAddress or NetAddress=:NetAddress1");
    QTest::newRow("exact names") << byAddress << QStringList{"NetAddress", "NetAddress1"} << QString() << 2;
    QTest::newRow("names in other case") << byAddress << QStringList{"Netaddress", "NETADDRESS1"} << QString() << 2;
    QTest::newRow("marker left unbound") << byAddress << QStringList{"Netaddress"}
                                         << QStringLiteral("ADOQuery1: Parameter 'NetAddress1' has no value") << 0;
    QTest::newRow("name with no marker") << byAddress << QStringList{"Netaddress", "Netaddress1", "UserID"}
                                         << QStringLiteral("ADOQuery1: Parameter 'UserID' not found") << 0;
    QTest::newRow("repeated marker binds every place")
        << QStringLiteral("select * from Net where NetAddress=:A or NetName=:a") << QStringList{"A"} << QString() << 2;
}

void TestQueryObject::binding()
{
    QFETCH(QString, statement);
    QFETCH(QStringList, names);
    QFETCH(QString, failure);
    QFETCH(int, rows);

    SqliteCatalogue catalogue;
    catalogue.addSite("新浪", "www.sina.com.cn");
    catalogue.addSite("www.sina.com.cn", "http://www.sina.com.cn");
    catalogue.addSite("别的", "www.other.cn");
    TADOConnection connection(catalogue.settings());
    TADOQuery query(connection, "ADOQuery1");
    query.setStatement({statement});

    const QStringList values{"www.sina.com.cn", "http://www.sina.com.cn", "x"};
    QString thrown;
    try {
        for (int i = 0; i < names.size(); ++i)
            query.setParameter(names.at(i), values.at(i));
        query.open();
    } catch (const Failure& f) {
        thrown = f.text();
    }
    QCOMPARE(thrown, failure);
    if (failure.isEmpty())
        QCOMPARE(query.recordCount(), rows);
    else
        QVERIFY(!query.isOpen());
}

void TestQueryObject::twoLineInsert()
{
    SqliteCatalogue catalogue;
    TADOConnection connection(catalogue.settings());
    TADOQuery query(connection, "ADOQuery2");
    query.close();
    query.clearText();
    query.addLine("insert into UsersM(UserID,UserName,UserNetName,UserNetRuL,Calling,Writetime,Remark)");
    query.addLine("values(:UserID,:UserName,:UserNetName,:UserNetRuL,:Calling,:Writetime,:Remark)");
    const QDateTime when(QDate(2026, 3, 4), QTime(5, 6, 7));
    query.setParameter("UserID", "M1");
    query.setParameter("UserName", "");
    query.setParameter("UserNetName", "网易");
    query.setParameter("UserNetRuL", "www.163.com");
    query.setParameter("Calling", "门户");
    query.setParameter("Writetime", when);
    query.setParameter("Remark", "不推荐");
    query.execute();

    const auto rows = catalogue.rows("select UserID, UserNetName, UserNetRuL, Calling, Remark, UseCount, Writetime from UsersM");
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0][0].toString(), QString("M1"));
    QCOMPARE(rows[0][1].toString(), QString("网易"));
    QCOMPARE(rows[0][2].toString(), QString("www.163.com"));
    QCOMPARE(rows[0][3].toString(), QString("门户"));
    QCOMPARE(rows[0][4].toString(), QString("不推荐"));
    QCOMPARE(rows[0][5].toInt(), 0);
    QCOMPARE(rows[0][6].toDateTime(), when);
}

void TestQueryObject::emptyTextIsNotNull()
{
    SqliteCatalogue catalogue;
    TADOConnection connection(catalogue.settings());
    TADOQuery query(connection, "ADOQuery4");
    query.setStatement({"insert into LeaveWord(one,two,UseID,OtherUseID,Remark) values(:one,:two,:UseID,:OtherUseID,:Remark)"});
    query.setParameter("one", QString());
    query.setParameter("two", QStringLiteral(""));
    query.setParameter("useID", "M");
    query.setParameter("OtherUseID", "系统");
    query.setParameter("Remark", "等待回复");
    query.execute();
    QCOMPARE(catalogue.scalar("select count(*) from LeaveWord where one = '' and two = '' and one is not null").toInt(), 1);
}

void TestQueryObject::snapshotIgnoresLaterWrites()
{
    SqliteCatalogue catalogue;
    catalogue.addSite("a", "a.cn");
    catalogue.addSite("b", "b.cn");
    TADOConnection connection(catalogue.settings());
    TADOQuery reader(connection, "ADOQuery6");
    TADOQuery writer(connection, "ADOQuery5");
    reader.setStatement({"select * from Net order by NetID"});
    reader.open();
    writer.setStatement({"update Net set NetAddress=:NetAddress"});
    writer.setParameter("NetAddress", "changed");
    writer.execute();
    catalogue.addSite("c", "c.cn");

    QCOMPARE(reader.recordCount(), 2);
    QCOMPARE(reader.fieldAsText("NetAddress"), QString("a.cn"));
    reader.next();
    QCOMPARE(reader.fieldAsText("NetAddress"), QString("b.cn"));
    reader.open();
    QCOMPARE(reader.recordCount(), 3);
    QCOMPARE(reader.fieldAsText("NetAddress"), QString("changed"));
}

void TestQueryObject::cursorWalk()
{
    SqliteCatalogue catalogue;
    for (const char* address : {"1.cn", "2.cn", "3.cn"})
        catalogue.addSite(address, address);
    TADOConnection connection(catalogue.settings());
    TADOQuery query(connection, "ADOQuery1");
    query.setStatement({"select * from Net order by NetID"});
    query.open();
    QStringList walked;
    query.first();
    while (!query.eof()) {
        walked << query.fieldAsText("netaddress");
        query.next();
    }
    QCOMPARE(walked, (QStringList{"1.cn", "2.cn", "3.cn"}));
    query.next(); // stays past the end
    QVERIFY(query.eof());
    QCOMPARE(query.fieldAsText("NetAddress"), QString());
    query.first();
    QCOMPARE(query.fieldAsInteger("NetID"), 1);

    query.setStatement({"select * from Net where NetID < 0"});
    query.open();
    QVERIFY(query.isEmpty());
    QVERIFY(query.eof());
    QCOMPARE(query.recordCount(), 0);
}

void TestQueryObject::nullReads()
{
    SqliteCatalogue catalogue;
    catalogue.exec("insert into Edition(Edition, MaxEdition, Down) values (null, 2.5, null)");
    TADOConnection connection(catalogue.settings());
    TADOQuery query(connection, "ADOQuery1", 45);
    query.setStatement({"select * from Edition"});
    query.open();
    QCOMPARE(query.fieldAsFloat("Edition"), 0.0);
    QCOMPARE(query.fieldAsFloat("MaxEdition"), 2.5);
    QCOMPARE(query.fieldAsText("Down"), QString());
}

void TestQueryObject::fieldNamesIgnoreCase()
{
    SqliteCatalogue catalogue;
    catalogue.addSite("名", "x.cn");
    TADOConnection connection(catalogue.settings());
    TADOQuery query(connection, "ADOQuery1");
    query.setStatement({"select netname as netname, NETADDRESS from Net"});
    query.open();
    QCOMPARE(query.fieldAsText("NetName"), QString("名"));
    QCOMPARE(query.fieldAsText("NetAddress"), QString("x.cn"));
    QVERIFY_THROWS_EXCEPTION(Failure, query.fieldAsText("NoSuchColumn"));
}

void TestQueryObject::closedQueryObject()
{
    SqliteCatalogue catalogue;
    TADOConnection connection(catalogue.settings());
    TADOQuery query(connection, "ADOQuery1");
    QVERIFY(query.isEmpty());
    QVERIFY(query.eof());
    QVERIFY_THROWS_EXCEPTION(Failure, query.recordCount());
    QVERIFY_THROWS_EXCEPTION(Failure, query.fieldAsText("NetName"));
    // A failing statement leaves the object closed.
    query.setStatement({"select * from NoSuchTable"});
    QVERIFY_THROWS_EXCEPTION(Failure, query.open());
    QVERIFY(!query.isOpen());
}

void TestQueryObject::opensClosedConnection()
{
    SqliteCatalogue catalogue;
    catalogue.addSite("a", "a.cn");
    TADOConnection connection(catalogue.settings());
    QVERIFY(!connection.connected());
    TADOQuery query(connection, "ADOQuery1");
    query.setStatement({"select * from Net"});
    query.open();
    QVERIFY(connection.connected());
    connection.close();
    query.open();
    QCOMPARE(query.recordCount(), 1);
}

void TestQueryObject::unreachableCatalogueThrowsDriverText()
{
    ConnectionSettings settings;
    settings.driver = "QSQLITE";
    settings.databaseName = "/nonexistent-folder/catalogue.sqlite";
    settings.connectOptions = "QSQLITE_OPEN_READONLY";
    TADOConnection connection(settings);
    TADOQuery query(connection, "ADOQuery1");
    query.setStatement({"select * from Net"});
    try {
        query.open();
        QFAIL("the statement ran without a catalogue");
    } catch (const Failure& f) {
        QVERIFY2(!f.text().isEmpty(), "the failure carries the driver's text");
    }
    QVERIFY(!connection.connected());
}

void TestQueryObject::markersInLiteralsAreText()
{
    const ParameterMarkers m = parseParameterMarkers("select ':no', \"x:y\" from t where a=:A and b::text=:b_1");
    QCOMPARE(m.markerNames, (QStringList{"A", "b_1"}));
    QCOMPARE(m.positionalText, QString("select ':no', \"x:y\" from t where a=? and b::text=?"));
}

void TestQueryObject::topRewrite_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("rewritten");
    QTest::newRow("top 7") << "select Top 7 * from Net order by UserCount Desc"
                           << "select * from Net order by UserCount Desc limit 7";
    QTest::newRow("lower case, no order") << "select top 5 * from GG" << "select * from GG limit 5";
    QTest::newRow("no top") << "select * from net order by NetID Desc" << "select * from net order by NetID Desc";
    QTest::newRow("top inside a name is no top") << "select * from Topics" << "select * from Topics";
    QTest::newRow("an update is left alone") << "update Net set SumCount=SumCount+? where NetAddress=?"
                                             << "update Net set SumCount=SumCount+? where NetAddress=?";
}

void TestQueryObject::topRewrite()
{
    QFETCH(QString, statement);
    QFETCH(QString, rewritten);
    QCOMPARE(rewriteTopAsLimit(statement), rewritten);
}

void TestQueryObject::snapshotTextRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    const QString ascii = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
    for (int length : {0, 1, 7, 8, 9, 15, 16, 17, 36})
        QTest::addRow("ASCII, %d characters", length) << ascii.left(length);
    QTest::newRow("Chinese") << QStringLiteral("网站管理");
    QTest::newRow("ASCII then Chinese at an eight-character edge") << QStringLiteral("abcdefgh网站abcdefgh");
    QTest::newRow("Chinese inside a block of eight") << QStringLiteral("abc网defghijk");
    QTest::newRow("two-byte forms") << QStringLiteral("café ñ ü");
    QTest::newRow("emoji") << QStringLiteral("abcdefg\U0001F600xyz");
    QTest::newRow("lone high surrogate") << (QStringLiteral("abcdefghij") + QChar(0xD800) + QStringLiteral("k"));
    QTest::newRow("lone low surrogate") << (QChar(0xDC00) + QStringLiteral("abc"));
}

void TestQueryObject::snapshotTextRoundTrip()
{
    QFETCH(QString, text);
    Snapshot snapshot({QStringLiteral("t")});
    snapshot.appendRow({text});
    snapshot.appendRow({QStringLiteral("after")});
    // What the text reads back as is what a UTF-8 round trip keeps of it.
    QCOMPARE(snapshot.text(0, 0), QString::fromUtf8(text.toUtf8()));
    QCOMPARE(snapshot.text(1, 0), QStringLiteral("after"));
}

// A small result's blocks are allocations of their own; past a few MiB the
// snapshot cuts them from large shared chunks, and a cell too large to share
// one gets memory of its own. Once settled, the last blocks are cut to what
// they hold. Every cell must read back as written, and the memory must stay
// close to the cells' own size: 9 bytes a cell and the text's UTF-8.
void TestQueryObject::largeSnapshotKeepsEveryCell_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("bigCell");  // characters of one remark late in the read
    QTest::addColumn<double>("bound"); // memory held / the cells' own bytes
    QTest::newRow("blocks of their own") << 3000 << 0 << 1.1;
    QTest::newRow("shared chunks, a cell larger than a chunk") << 200000 << 2600 * 1024 << 1.25;
}

void TestQueryObject::largeSnapshotKeepsEveryCell()
{
    QFETCH(int, rows);
    QFETCH(int, bigCell);
    QFETCH(double, bound);
    const int bigRow = rows * 9 / 10; // well past the first blocks
    const QString big = QString(bigCell, QLatin1Char('x')) + QStringLiteral("网站");
    const auto textOf = [](int row) { return QStringLiteral("http://www.site%1.cn/网站").arg(row); };

    Snapshot snapshot({QStringLiteral("id"), QStringLiteral("address"), QStringLiteral("remark")});
    std::size_t cellBytes = 0;
    for (int row = 0; row < rows; ++row) {
        const QString remark = row == bigRow ? big : QString::number(row * 0.5);
        snapshot.appendRow({row, textOf(row), row % 7 ? QVariant(remark) : QVariant()});
        cellBytes += 3 * 9 + std::size_t(textOf(row).toUtf8().size()) + (row % 7 ? remark.toUtf8().size() : 0);
    }
    snapshot.settle();

    QCOMPARE(snapshot.rowCount(), rows);
    for (int row = 0; row < rows; ++row) {
        bool ok = false;
        if (snapshot.toInteger(row, 0, &ok) != row || snapshot.text(row, 1) != textOf(row) ||
            snapshot.isNull(row, 2) != (row % 7 == 0))
            QFAIL(qPrintable(QStringLiteral("row %1 reads back wrong").arg(row)));
    }
    QCOMPARE(snapshot.text(bigRow, 2), big);
    QCOMPARE(snapshot.text(rows - 1, 2), QString::number((rows - 1) * 0.5));
    QVERIFY2(double(snapshot.memoryBytes()) < double(cellBytes) * bound,
             qPrintable(QStringLiteral("%1 bytes held for %2 bytes of cells").arg(snapshot.memoryBytes()).arg(cellBytes)));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, snapshot.appendRow({rows, QString(), QString()}));
}

QTEST_MAIN(TestQueryObject)
#include "test_query_object.moc"
