#include "CatalogueLocation.h"

#include "Failure.h"

#include <QDir>
#include <QStandardPaths>
#include <QUrl>

#ifndef VELMORA_BUILD_CATALOGUE
#define VELMORA_BUILD_CATALOGUE ""
#endif

namespace CatalogueLocation {
namespace {

const QString kOdbcOptions = QStringLiteral(
    "SQL_ATTR_ODBC_VERSION=SQL_OV_ODBC3;SQL_ATTR_LOGIN_TIMEOUT=30;SQL_ATTR_CONNECTION_TIMEOUT=30");

QString valueOf(const QString& connectionString, const QString& key)
{
    for (const QString& pair : connectionString.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        if (eq > 0 && pair.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return pair.mid(eq + 1).trimmed();
    }
    return QString();
}

ConnectionSettings sqliteSettings(const QString& path)
{
    ConnectionSettings s;
    s.driver = QStringLiteral("QSQLITE");
    s.databaseName = path;
    s.connectOptions = QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000");
    return s;
}

QUrl serverUrl(const QString& value)
{
    const QUrl url(value, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || url.userName().isEmpty())
        throw Failure(QStringLiteral("The catalogue address \"%1\" is not of the form kind://login@host[:port]").arg(value));
    return url;
}

} // namespace

QString deploymentValue()
{
    const QByteArray fromEnvironment = qgetenv(kEnvironmentVariable.toLatin1().constData());
    if (!fromEnvironment.isEmpty())
        return QString::fromUtf8(fromEnvironment);
    return QString::fromUtf8(VELMORA_BUILD_CATALOGUE);
}

QString adoConnectionString(const QString& login, const QString& dataSource)
{
    return QStringLiteral("Provider=SQLOLEDB.1;Password=%1;Persist Security Info=True;"
                          "User ID=%2;Initial Catalog=%3;Data Source=%4")
        .arg(kPassword, login, kInitialCatalog, dataSource);
}

QString freeTdsConnectionString(const QString& ado)
{
    const QString dataSource = valueOf(ado, QStringLiteral("Data Source"));
    QString server = dataSource;
    QString port = QStringLiteral("1433");
    const qsizetype comma = dataSource.indexOf(QLatin1Char(','));
    if (comma >= 0) {
        server = dataSource.left(comma).trimmed();
        port = dataSource.mid(comma + 1).trimmed();
    }
    return QStringLiteral("DRIVER={FreeTDS};Server=%1;Port=%2;Database=%3;UID=%4;PWD=%5;"
                          "TDS_Version=7.4;ClientCharset=UTF-8")
        .arg(server, port, valueOf(ado, QStringLiteral("Initial Catalog")),
             valueOf(ado, QStringLiteral("User ID")), valueOf(ado, QStringLiteral("Password")));
}

QString embeddedCataloguePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(folder).filePath(QStringLiteral("catalogue.sqlite"));
}

Location parse(const QString& value)
{
    const QString v = value.trimmed();
    if (v.isEmpty())
        return Location{sqliteSettings(embeddedCataloguePath()), true};
    if (v.startsWith(QLatin1String("sqlite:")))
        return Location{sqliteSettings(v.mid(7)), true};

    const QUrl url = serverUrl(v);
    const QString scheme = url.scheme();
    Location location;
    ConnectionSettings& s = location.settings;
    s.connectTimeoutSeconds = kConnectionTimeoutSeconds;
    if (scheme == QLatin1String("sqlserver")) {
        const QString dataSource = url.port() > 0 ? QStringLiteral("%1,%2").arg(url.host()).arg(url.port())
                                                  : url.host();
        s.driver = QStringLiteral("QODBC");
        s.databaseName = freeTdsConnectionString(adoConnectionString(url.userName(), dataSource));
        s.connectOptions = kOdbcOptions;
    } else if (scheme == QLatin1String("postgresql")) {
        s.driver = QStringLiteral("QPSQL");
        s.databaseName = kInitialCatalog;
        s.hostName = url.host();
        s.port = url.port(5432);
        s.userName = url.userName();
        s.password = kPassword;
        s.connectOptions = QStringLiteral("connect_timeout=%1").arg(kConnectionTimeoutSeconds);
    } else if (scheme == QLatin1String("postgresql-odbc")) {
        s.driver = QStringLiteral("QODBC");
        // Debian registers psqlODBC with CommLog=1, which writes every
        // session to a file in /tmp; the program keeps nothing locally.
        s.databaseName = QStringLiteral("DRIVER={PostgreSQL Unicode};Server=%1;Port=%2;Database=%3;"
                                        "Uid=%4;Pwd=%5;ConnSettings=;CommLog=0;Debug=0;")
                             .arg(url.host())
                             .arg(url.port(5432))
                             .arg(kInitialCatalog, url.userName(), kPassword);
        s.connectOptions = kOdbcOptions;
    } else {
        throw Failure(QStringLiteral("Unknown catalogue kind \"%1\" in \"%2\"").arg(scheme, v));
    }
    return location;
}

} // namespace CatalogueLocation
