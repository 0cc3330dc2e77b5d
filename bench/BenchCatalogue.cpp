#include "BenchCatalogue.h"

#include "Failure.h"
#include "TADOConnection.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

#include <functional>

namespace BenchCatalogue {

namespace {

const QDateTime kBase(QDate(2024, 5, 1), QTime(8, 0, 0));

class OwnerConnection
{
public:
    explicit OwnerConnection(const ConnectionSettings& s)
        : m_name(QStringLiteral("velmora-bench-owner"))
    {
        QSqlDatabase db = addDatabase(m_name, s);
        if (!db.open())
            throw Failure(QStringLiteral("Cannot open the catalogue to fill it: ") + db.lastError().text());
    }
    ~OwnerConnection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

    void exec(const QString& statement, const QVariantList& values = {}) const
    {
        QSqlQuery q(db());
        if (values.isEmpty()) {
            if (!q.exec(statement))
                throw Failure(q.lastError().text() + QStringLiteral("\n") + statement.left(200));
            return;
        }
        if (!q.prepare(statement))
            throw Failure(q.lastError().text() + QStringLiteral("\n") + statement.left(200));
        for (const QVariant& v : values)
            q.addBindValue(v);
        if (!q.exec())
            throw Failure(q.lastError().text() + QStringLiteral("\n") + statement.left(200));
    }

    // Inserts count rows in multi-row statements; row(i) gives the values of row i.
    void insert(const QString& table, const QStringList& columns, int count,
                const std::function<QVariantList(int)>& row) const
    {
        const int perStatement = qMax(1, 6000 / int(columns.size()));
        const QString tuple = QStringLiteral("(") + QStringList(columns.size(), QStringLiteral("?")).join(',') +
                              QStringLiteral(")");
        for (int start = 0; start < count; start += perStatement) {
            const int n = qMin(perStatement, count - start);
            QString statement = QStringLiteral("insert into %1(%2) values ").arg(table, columns.join(','));
            QVariantList values;
            values.reserve(n * columns.size());
            for (int i = 0; i < n; ++i) {
                statement += (i ? QStringLiteral(",") : QString()) + tuple;
                values += row(start + i);
            }
            exec(statement, values);
        }
    }

private:
    QString m_name;
};

// 32 hexadecimal digits, like a machine identifier, different for every i.
QString machineLikeId(int i)
{
    quint64 a = quint64(i) * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull;
    quint64 b = (a ^ (a >> 29)) * 0xBF58476D1CE4E5B9ull;
    return QStringLiteral("%1%2").arg(a, 16, 16, QLatin1Char('0')).arg(b, 16, 16, QLatin1Char('0'));
}

QString siteAddress(int id)
{
    return QStringLiteral("http://www.site%1.example.cn").arg(id) + (id % 3 == 0 ? QStringLiteral("/") : QString());
}

} // namespace

void fill(const ConnectionSettings& owner, const Scale& scale, const QString& machineId)
{
    OwnerConnection c(owner);
    const bool postgres = owner.driver == QLatin1String("QPSQL");
    const QStringList tables{QStringLiteral("Net"),    QStringLiteral("UsersM"), QStringLiteral("NetType"),
                             QStringLiteral("BigType"), QStringLiteral("GG"),     QStringLiteral("LoadInfo"),
                             QStringLiteral("LeaveWord"), QStringLiteral("Edition")};
    if (!c.db().transaction())
        throw Failure(c.db().lastError().text());
    if (postgres)
        c.exec(QStringLiteral("truncate ") + tables.join(','));
    else
        for (const QString& t : tables)
            c.exec(QStringLiteral("delete from ") + t);

    c.insert(QStringLiteral("Net"),
             {QStringLiteral("NetID"), QStringLiteral("NetName"), QStringLiteral("NetAddress"), QStringLiteral("BigType"),
              QStringLiteral("NetType"), QStringLiteral("UserCount"), QStringLiteral("SumCount"), QStringLiteral("WriteTime")},
             scale.netRows, [](int i) {
                 const int id = i + 1;
                 const bool largest = id % 10 == 0;
                 return QVariantList{id,
                                     QStringLiteral("网站%1").arg(id),
                                     siteAddress(id),
                                     largest ? kLargestGroup : QStringLiteral("分组%1").arg(id % 7),
                                     largest ? kLargestCategory : QStringLiteral("类别%1").arg(id % 13),
                                     int((quint64(id) * 7919) % 1000),
                                     int((quint64(id) * 104729) % 100000),
                                     kBase.addSecs(id)};
             });

    c.insert(QStringLiteral("BigType"), {QStringLiteral("BigType"), QStringLiteral("BCount")}, 8, [](int i) {
        return QVariantList{i == 7 ? kLargestGroup : QStringLiteral("分组%1").arg(i), i};
    });
    c.insert(QStringLiteral("NetType"), {QStringLiteral("BigType"), QStringLiteral("Type"), QStringLiteral("N_Count")},
             7 * 13 + 1, [](int i) {
                 if (i == 7 * 13)
                     return QVariantList{kLargestGroup, kLargestCategory, 0};
                 return QVariantList{QStringLiteral("分组%1").arg(i / 13), QStringLiteral("类别%1").arg(i % 13), i};
             });
    c.insert(QStringLiteral("GG"), {QStringLiteral("GGName"), QStringLiteral("GGURL")}, 20, [](int i) {
        return QVariantList{QStringLiteral("广告%1").arg(i), QStringLiteral("http://ad%1.example.cn").arg(i)};
    });
    c.insert(QStringLiteral("UsersM"),
             {QStringLiteral("UserID"), QStringLiteral("UserName"), QStringLiteral("UserNetName"),
              QStringLiteral("UserNetRuL"), QStringLiteral("Calling"), QStringLiteral("Writetime"),
              QStringLiteral("Remark"), QStringLiteral("UseCount")},
             1000, [&machineId](int i) {
                 return QVariantList{i < 50 ? machineId : machineLikeId(i),
                                     QStringLiteral(""),
                                     QStringLiteral("网站%1").arg(i + 1),
                                     siteAddress(i + 1),
                                     QStringLiteral("行业"),
                                     kBase.addSecs(i),
                                     QStringLiteral("不推荐"),
                                     i % 17};
             });
    c.insert(QStringLiteral("LoadInfo"), {QStringLiteral("UseID"), QStringLiteral("LoadTime")}, scale.loadInfoRows,
             [](int i) { return QVariantList{machineLikeId(1000 + i), kBase.addSecs(i)}; });
    c.insert(QStringLiteral("Edition"), {QStringLiteral("Edition"), QStringLiteral("MaxEdition"), QStringLiteral("Down")},
             1, [](int) { return QVariantList{1.0, 1.0, QStringLiteral("http://www.velmora.cn/download")}; });
    if (!c.db().commit())
        throw Failure(c.db().lastError().text());
    c.exec(QStringLiteral("analyze ") + (postgres ? tables.join(QLatin1Char(',')) : QString()));
}

void restoreTrailingSlashes(const ConnectionSettings& owner)
{
    OwnerConnection c(owner);
    c.exec(QStringLiteral("update Net set NetAddress='http://www.site' || NetID || '.example.cn/' where NetID % 3 = 0"));
}

} // namespace BenchCatalogue
