#pragma once

#include "CatalogueFixture.h"

#include <QString>

// The catalogue on the throw-away PostgreSQL server that the integration
// tests start (scripts/pg-test-server.sh). The server's folder comes from
// VELMORA_TEST_PG_DIR (its port is in DIR/port), or the port directly from
// VELMORA_TEST_PG_PORT; the host from VELMORA_TEST_PG_HOST, else 127.0.0.1.
//
// Constructing one empties every catalogue table, so each test starts from
// the bare schema. The fixture's own connection is the owner's login
// velmora_admin; settings() are those the program connects with: the
// deployment value of the chosen kind for the program's login "velmora".
class PostgresCatalogue : public CatalogueFixture
{
public:
    enum class Kind { Native, Odbc };

    explicit PostgresCatalogue(Kind kind = Kind::Native, const QString& login = QStringLiteral("velmora"));
    ~PostgresCatalogue() override;

    ConnectionSettings settings() const override;
    // "postgresql://velmora@127.0.0.1:PORT" or "postgresql-odbc://...".
    QString deploymentValue() const;

    // Empties every catalogue table and restarts the identity columns.
    void reset();
    // Opens the fixture's own connection again, after the server was restarted.
    void reconnect();

    static QString host();
    // The port of the running test server; fails when none is configured.
    static int port();
    // The test server's folder, for scripts/pg-test-server.sh.
    static QString serverFolder();
    static QString deploymentValue(Kind kind, const QString& login = QStringLiteral("velmora"));
    static Kind kindOf(const QString& name); // "QPSQL" or "QODBC"

private:
    Kind m_kind;
    QString m_login;
};
