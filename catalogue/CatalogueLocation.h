#pragma once

#include "TADOConnection.h"

#include <QString>

// Where the catalogue is, from one deployment value:
//   sqlserver://LOGIN@HOST[:PORT]        SQL Server ("SQLOLEDB.1") through ODBC and FreeTDS
//   postgresql://LOGIN@HOST[:PORT]       PostgreSQL through the native driver
//   postgresql-odbc://LOGIN@HOST[:PORT]  PostgreSQL through ODBC (psqlODBC)
//   sqlite:PATH                          a catalogue file on this machine
// The empty value names the embedded catalogue in the user's data folder.
// The password and the database are fixed for every deployment.
namespace CatalogueLocation {

inline const QString kPassword = QStringLiteral("plumbax");
inline const QString kInitialCatalog = QStringLiteral("Net");
inline const QString kEnvironmentVariable = QStringLiteral("VELMORA_CATALOGUE");
constexpr int kConnectionTimeoutSeconds = 30;

struct Location
{
    ConnectionSettings settings;
    bool embedded = false; // an SQLite file, created with the demo catalogue when missing
};

// The value of this run: the environment variable when set, else the build's value.
QString deploymentValue();

// Throws Failure when the value is not of a known form.
Location parse(const QString& deploymentValue);

// The deployment's connection string, pairs in their fixed order.
QString adoConnectionString(const QString& login, const QString& dataSource);

// The same connection for ODBC through FreeTDS, in UTF-8.
QString freeTdsConnectionString(const QString& adoConnectionString);

// The embedded catalogue file of this user.
QString embeddedCataloguePath();

} // namespace CatalogueLocation
