#pragma once

#include <QString>

class TADOConnection;

// The statements are T-SQL texts. SQL Server receives them unchanged; for
// SQLite and PostgreSQL "select Top N ..." becomes "select ... limit N".
// Nothing else is rewritten.
QString rewriteTopAsLimit(const QString& statement);

// Chooses the rewrite from the connection's driver, never from the statement.
void installDialect(TADOConnection& connection);
