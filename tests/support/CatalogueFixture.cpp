#include "CatalogueFixture.h"

#include "CatalogueLocation.h"
#include "CatalogueSchema.h"

#include <QAtomicInt>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <stdexcept>

namespace {

QString nextName()
{
    static QAtomicInt counter;
    return QStringLiteral("fixture-%1").arg(counter.fetchAndAddRelaxed(1));
}

[[noreturn]] void fail(const QString& what)
{
    throw std::runtime_error(what.toStdString());
}

} // namespace

CatalogueFixture::~CatalogueFixture()
{
    if (!m_connectionName.isEmpty()) {
        QSqlDatabase::database(m_connectionName, false).close();
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}

void CatalogueFixture::openOwnConnection(const ConnectionSettings& s)
{
    m_connectionName = nextName();
    QSqlDatabase db = addDatabase(m_connectionName, s);
    if (!db.open())
        fail(QStringLiteral("fixture connection: ") + db.lastError().text());
}

QSqlDatabase CatalogueFixture::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QSqlQuery CatalogueFixture::run(const QString& statement, const QVariantList& values)
{
    QSqlQuery query(database());
    if (!query.prepare(statement))
        fail(QStringLiteral("fixture prepare: %1: %2").arg(statement, query.lastError().text()));
    for (const QVariant& v : values)
        query.addBindValue(v);
    if (!query.exec())
        fail(QStringLiteral("fixture statement: %1: %2").arg(statement, query.lastError().text()));
    return query;
}

void CatalogueFixture::exec(const QString& statement, const QVariantList& values)
{
    run(statement, values);
}

QList<QVariantList> CatalogueFixture::rows(const QString& statement, const QVariantList& values)
{
    QSqlQuery query = run(statement, values);
    QList<QVariantList> result;
    while (query.next()) {
        QVariantList row;
        for (int c = 0; c < query.record().count(); ++c)
            row << query.value(c);
        result << row;
    }
    return result;
}

QVariant CatalogueFixture::scalar(const QString& statement, const QVariantList& values)
{
    const QList<QVariantList> all = rows(statement, values);
    return all.isEmpty() || all.first().isEmpty() ? QVariant() : all.first().first();
}

qlonglong CatalogueFixture::addSite(const QString& name, const QString& address, const QString& group,
                                    const QString& category, int userCount, int sumCount)
{
    exec(QStringLiteral("insert into Net(NetName, NetAddress, BigType, NetType, UserCount, SumCount) "
                        "values (?, ?, ?, ?, ?, ?)"),
         {name, address, group, category, userCount, sumCount});
    return scalar(QStringLiteral("select max(NetID) from Net")).toLongLong();
}

SqliteCatalogue::SqliteCatalogue(bool withDemo)
{
    CatalogueSchema::createSqliteCatalogue(path(), withDemo);
    openOwnConnection(settings());
}

SqliteCatalogue::~SqliteCatalogue() = default;

QString SqliteCatalogue::path() const
{
    return m_folder.filePath(QStringLiteral("catalogue.sqlite"));
}

ConnectionSettings SqliteCatalogue::settings() const
{
    return CatalogueLocation::parse(QStringLiteral("sqlite:") + path()).settings;
}
