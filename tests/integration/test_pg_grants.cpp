// The program's login on PostgreSQL, through the program's own query object
// over both drivers: every statement the program runs is allowed; deleting,
// dropping, reading suggestions, rewriting catalogue content and anything
// else is refused by the server, and a refused statement changes nothing.
#include "IntegrationSupport.h"

#include "Dialect.h"
#include "Failure.h"
#include "TADOConnection.h"
#include "TADOQuery.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

using namespace Integration;

using Bindings = QVariantMap;
Q_DECLARE_METATYPE(Bindings)

class TestGrants : public QObject
{
    Q_OBJECT

private slots:
    void statements_data();
    void statements();
};

void TestGrants::statements_data()
{
    addDriverColumn();
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<Bindings>("bindings");
    QTest::addColumn<bool>("allowed");

    const QDateTime now = QDateTime::currentDateTime();
    const QString address = QStringLiteral("http://www.sina.com.cn");
    struct Case
    {
        const char* name;
        QStringList lines;
        Bindings bindings;
        bool allowed;
    };
    const QList<Case> cases{
        // Every statement of the program.
        {"start page recommended", {"select Top 7 * from Net order by UserCount Desc"}, {}, true},
        {"start page ranking", {"select Top 9 * from Net order by SumCount Desc"}, {}, true},
        {"start page adverts", {"select Top 5 * from GG"}, {}, true},
        {"start-up record lookup", {"select * from LoadInfo where UseID=:UseID"}, {{"UseID", "M"}}, true},
        {"start-up record insert", {"insert into LoadInfo(UseID,LoadTime) values(:UseID,:LoadTime)"}, {{"UseID", "M"}, {"LoadTime", now}}, true},
        {"start-up record update", {"Update LoadInfo set LoadTime=:LoadTime where UseID=:UseID"}, {{"UseID", "M"}, {"LoadTime", now}}, true},
        {"user count", {"select *from LoadInfo"}, {}, true},
        {"list load", {"select * from UsersM where UserID=:UserID order by UseCount Desc"}, {{"UserID", "M"}}, true},
        {"duplicate check", {"select * from UsersM where UserID=:UserID and UserNetRuL=:UserNetRuL"}, {{"UserID", "M"}, {"UserNetRuL", address}}, true},
        {"catalogue lookup", {"select * from Net where NetAddress=:NetAddress or NetAddress=:NetAddress1"}, {{"Netaddress", address}, {"Netaddress1", "www.sina.com.cn"}}, true},
        {"addition counter", {"update Net set UserCount=UserCount+:UserCount where NetAddress=:NetAddress or NetAddress=:NetAddress1"}, {{"UserCount", 1}, {"Netaddress", address}, {"Netaddress1", "x"}}, true},
        {"site insert",
         {"insert into UsersM(UserID,UserName,UserNetName,UserNetRuL,Calling,Writetime,Remark)",
          "values(:UserID,:UserName,:UserNetName,:UserNetRuL,:Calling,:Writetime,:Remark)"},
         {{"UserID", "M"}, {"UserName", ""}, {"UserNetName", "新浪"}, {"UserNetRuL", address}, {"Calling", "门户"}, {"Writetime", now}, {"Remark", "不推荐"}},
         true},
        {"list reload", {"select * from UsersM where UserID=:UserID"}, {{"UserID", "M"}}, true},
        {"visit of the machine's row", {"update UsersM set UseCount=UseCount+:UseCount,Writetime=:Writetime where UserID=:UserID and UserNetRuL=:UserNetRuL"}, {{"UseCount", 1}, {"UserID", "M"}, {"UserNetRuL", address}, {"Writetime", now}}, true},
        {"visit of the catalogue", {"update Net set SumCount=SumCount+:SumCount,WriteTime=:WriteTime where NetAddress=:NetAddress or NetAddress=:NetAddress1"}, {{"SumCount", 1}, {"WriteTime", now}, {"Netaddress", address}, {"Netaddress1", "x"}}, true},
        {"tidy-up walk", {"select * from net order by NetID Desc"}, {}, true},
        {"groups", {"select distinct BigType,BCount from BigType order by BCount "}, {}, true},
        {"categories", {"select distinct Type,N_Count from NetType where BigType=:BigType order by N_Count Desc"}, {{"BigType", "综合"}}, true},
        {"category counter", {"update NetType set N_Count=N_Count+:N_Count where BigType=:BigType and type=:type"}, {{"N_Count", 1}, {"BigType", "综合"}, {"type", "门户"}}, true},
        {"library list", {"select * from Net where BigType=:BigType and NetType=:NetType order by SumCount Desc"}, {{"BigType", "综合"}, {"NetType", "门户"}}, true},
        {"library visit", {"update Net set SumCount=SumCount+:SumCount,WriteTime=:WriteTime where NetAddress=:NetAddress"}, {{"SumCount", 1}, {"WriteTime", now}, {"Netaddress", address}}, true},
        {"library lookup", {"select * from Net where NetAddress=:NetAddress"}, {{"Netaddress", address}}, true},
        {"library addition counter", {"update Net set UserCount=UserCount+:UserCount where NetAddress=:NetAddress"}, {{"UserCount", 1}, {"Netaddress", address}}, true},
        {"suggestion", {"insert into LeaveWord(one,two,UseID,OtherUseID,Remark) values(:one,:two,:UseID,:OtherUseID,:Remark)"}, {{"one", "a"}, {"two", ""}, {"useID", "M"}, {"OtherUseID", "系统"}, {"Remark", "等待回复"}}, true},
        {"version", {"select * from Edition"}, {}, true},
        // What the login must not do.
        {"tidy-up update", {"Update net set NetAddress=:NetAddress where NetID=:NetID"}, {{"NetAddress", "http://evil.example"}, {"NetID", 1}}, false},
        {"reading suggestions", {"select * from LeaveWord"}, {}, false},
        {"counting suggestions", {"select count(*) from LeaveWord"}, {}, false},
        {"answering a suggestion", {"update LeaveWord set Remark=:Remark"}, {{"Remark", "已回复"}}, false},
        {"deleting sites", {"delete from Net"}, {}, false},
        {"deleting a machine's list", {"delete from UsersM where UserID=:UserID"}, {{"UserID", "M"}}, false},
        {"deleting start-up records", {"delete from LoadInfo"}, {}, false},
        {"deleting suggestions", {"delete from LeaveWord"}, {}, false},
        {"dropping a table", {"drop table Net"}, {}, false},
        {"truncating", {"truncate table UsersM"}, {}, false},
        {"altering a table", {"alter table Net add column Extra integer"}, {}, false},
        {"creating a table", {"create table Extra(a integer)"}, {}, false},
        {"creating a temporary table", {"create temporary table Extra(a integer)"}, {}, false},
        {"renaming a site", {"update Net set NetName=:NetName"}, {{"NetName", "x"}}, false},
        {"moving a site", {"update Net set BigType=:BigType, NetType=:NetType"}, {{"BigType", "x"}, {"NetType", "y"}}, false},
        {"rewriting a machine's address", {"update UsersM set UserNetRuL=:UserNetRuL"}, {{"UserNetRuL", "x"}}, false},
        {"taking another machine's rows", {"update UsersM set UserID=:UserID"}, {{"UserID", "M"}}, false},
        {"adding a site to the catalogue", {"insert into Net(NetName,NetAddress) values(:NetName,:NetAddress)"}, {{"NetName", "x"}, {"NetAddress", "y"}}, false},
        {"presetting a visit count", {"insert into UsersM(UserID,UseCount) values(:UserID,:UseCount)"}, {{"UserID", "M"}, {"UseCount", 1000}}, false},
        {"adding a category", {"insert into NetType(BigType,Type) values(:BigType,:Type)"}, {{"BigType", "x"}, {"Type", "y"}}, false},
        {"renaming a group", {"update BigType set BigType=:BigType"}, {{"BigType", "x"}}, false},
        {"adding an advert", {"insert into GG(GGName,GGURL) values(:GGName,:GGURL)"}, {{"GGName", "x"}, {"GGURL", "y"}}, false},
        {"announcing a version", {"update Edition set MaxEdition=:MaxEdition, Down=:Down"}, {{"MaxEdition", 9.0}, {"Down", "http://evil.example"}}, false},
        {"setting a counter", {"update NetType set N_Count=:N_Count, BigType=:BigType"}, {{"N_Count", 0}, {"BigType", "x"}}, false},
    };
    for (const QString& driver : drivers())
        for (const Case& c : cases)
            QTest::addRow("%s %s", qPrintable(driver), c.name) << driver << c.lines << c.bindings << c.allowed;
}

void TestGrants::statements()
{
    QFETCH(QString, driver);
    QFETCH(QStringList, lines);
    QFETCH(Bindings, bindings);
    QFETCH(bool, allowed);

    PostgresCatalogue catalogue(PostgresCatalogue::kindOf(driver));
    addSmallCatalogue(catalogue);
    catalogue.exec("insert into UsersM(UserID, UserName, UserNetName, UserNetRuL, Calling, Remark) "
                   "values ('M', '', '新浪', 'http://www.sina.com.cn', '门户', '不推荐')");
    catalogue.exec("insert into LoadInfo(UseID, LoadTime) values ('M', '2020-01-01 00:00:00')");
    catalogue.exec("insert into LeaveWord(one, two, UseID, OtherUseID, Remark) values ('旧', '', 'M', '系统', '等待回复')");
    const Contents before = contents(catalogue);

    TADOConnection connection(catalogue.settings());
    installDialect(connection);
    TADOQuery query(connection, QStringLiteral("ADOQuery2"));
    query.setStatement(lines);
    for (auto it = bindings.cbegin(); it != bindings.cend(); ++it)
        query.setParameter(it.key(), it.value());
    QString refusal;
    const QString verb = lines.first().section(QLatin1Char(' '), 0, 0).toLower();
    if (QStringList{"select", "insert", "update", "delete"}.contains(verb)) {
        try {
            if (verb == QLatin1String("select"))
                query.open();
            else
                query.execute();
        } catch (const Failure& failure) {
            refusal = failure.text();
        }
    } else {
        // PostgreSQL prepares no definitions, so these go to the server as they are.
        connection.open();
        QSqlQuery direct(connection.database());
        if (!direct.exec(lines.join(QLatin1Char('\n'))))
            refusal = direct.lastError().text();
    }

    if (allowed) {
        QCOMPARE(refusal, QString());
    } else {
        QVERIFY2(refusal.contains("permission denied") || refusal.contains("must be owner"), qPrintable(refusal));
        QVERIFY(contents(catalogue) == before);
        // The refusal leaves the connection usable.
        query.setStatement({"select * from Net"});
        query.open();
        QCOMPARE(query.recordCount(), 4);
    }
}

QTEST_MAIN(TestGrants)
#include "test_pg_grants.moc"
