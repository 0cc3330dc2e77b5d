#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The catalogue's table definitions and the demo catalogue, as shipped in
// catalogue/schema/.
namespace CatalogueSchema {

// The statements of one script (":/schema/sqlite.sql" and the like), without comments.
QStringList statementsOf(const QString& resource);

// Runs statements in one transaction; throws Failure and leaves nothing on error.
void run(QSqlDatabase db, const QStringList& statements);

// Creates a catalogue file with the schema and, when asked, the demo
// catalogue. The file appears whole or not at all.
void createSqliteCatalogue(const QString& path, bool withDemo);

// Creates the embedded catalogue with the demo content when it does not exist yet.
void ensureEmbeddedCatalogue(const QString& path);

} // namespace CatalogueSchema
