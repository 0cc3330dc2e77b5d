#include "PostgresCatalogue.h"

#include "CatalogueLocation.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <stdexcept>

namespace {

QString environment(const char* name)
{
    return QString::fromLocal8Bit(qgetenv(name)).trimmed();
}

} // namespace

PostgresCatalogue::PostgresCatalogue(Kind kind, const QString& login) : m_kind(kind), m_login(login)
{
    ConnectionSettings owner = CatalogueLocation::parse(deploymentValue(Kind::Native, QStringLiteral("velmora_admin"))).settings;
    openOwnConnection(owner);
    reset();
}

PostgresCatalogue::~PostgresCatalogue() = default;

void PostgresCatalogue::reset()
{
    // Not a statement PostgreSQL prepares, so it is run directly.
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("truncate table Net, UsersM, NetType, BigType, GG, LoadInfo, LeaveWord, Edition "
                                   "restart identity")))
        throw std::runtime_error("emptying the catalogue: " + query.lastError().text().toStdString());
}

void PostgresCatalogue::reconnect()
{
    QSqlDatabase db = database();
    db.close();
    if (!db.open())
        throw std::runtime_error("reconnecting the fixture: " + db.lastError().text().toStdString());
}

QString PostgresCatalogue::host()
{
    const QString value = environment("VELMORA_TEST_PG_HOST");
    return value.isEmpty() ? QStringLiteral("127.0.0.1") : value;
}

QString PostgresCatalogue::serverFolder()
{
    return environment("VELMORA_TEST_PG_DIR");
}

int PostgresCatalogue::port()
{
    QString value = environment("VELMORA_TEST_PG_PORT");
    if (value.isEmpty() && !serverFolder().isEmpty()) {
        QFile file(serverFolder() + QStringLiteral("/port"));
        if (file.open(QIODevice::ReadOnly))
            value = QString::fromLatin1(file.readAll()).trimmed();
    }
    bool ok = false;
    const int port = value.toInt(&ok);
    if (!ok || port <= 0)
        throw std::runtime_error("no PostgreSQL test server: set VELMORA_TEST_PG_DIR or VELMORA_TEST_PG_PORT");
    return port;
}

QString PostgresCatalogue::deploymentValue(Kind kind, const QString& login)
{
    const QString scheme = kind == Kind::Native ? QStringLiteral("postgresql") : QStringLiteral("postgresql-odbc");
    return QStringLiteral("%1://%2@%3:%4").arg(scheme, login, host()).arg(port());
}

PostgresCatalogue::Kind PostgresCatalogue::kindOf(const QString& name)
{
    return name == QLatin1String("QODBC") ? Kind::Odbc : Kind::Native;
}

QString PostgresCatalogue::deploymentValue() const
{
    return deploymentValue(m_kind, m_login);
}

ConnectionSettings PostgresCatalogue::settings() const
{
    return CatalogueLocation::parse(deploymentValue()).settings;
}
