#include "CatalogueSchema.h"

#include "Failure.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

static void initSchemaResources()
{
    Q_INIT_RESOURCE(schema);
}

namespace CatalogueSchema {

QStringList statementsOf(const QString& resource)
{
    initSchemaResources();
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("The catalogue script %1 is missing").arg(resource));
    QStringList statements;
    QString current;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1String("--")))
            continue;
        current += (current.isEmpty() ? QString() : QStringLiteral("\n")) + raw;
        if (line.endsWith(QLatin1Char(';'))) {
            current = current.trimmed();
            current.chop(1);
            statements << current;
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

void run(QSqlDatabase db, const QStringList& statements)
{
    if (!db.transaction())
        throw Failure(db.lastError().text());
    for (const QString& statement : statements) {
        QSqlQuery query(db);
        if (!query.exec(statement)) {
            const QString error = query.lastError().text();
            query.finish();
            db.rollback();
            throw Failure(QStringLiteral("%1\n%2").arg(error, statement));
        }
    }
    if (!db.commit()) {
        const QString error = db.lastError().text();
        db.rollback();
        throw Failure(error);
    }
}

void createSqliteCatalogue(const QString& path, bool withDemo)
{
    static QAtomicInt counter;
    const QFileInfo target(path);
    if (!QDir().mkpath(target.absolutePath()))
        throw Failure(QStringLiteral("Cannot create the folder %1").arg(target.absolutePath()));
    const QString partial = path + QStringLiteral(".creating-%1").arg(counter.fetchAndAddRelaxed(1));
    QFile::remove(partial);
    const QString connectionName = QStringLiteral("velmora-schema-") + partial;
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(partial);
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            try {
                QStringList statements = statementsOf(QStringLiteral(":/schema/sqlite.sql"));
                if (withDemo)
                    statements += statementsOf(QStringLiteral(":/schema/demo.sql"));
                run(db, statements);
            } catch (const Failure& failure) {
                error = failure.text();
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connectionName);
    if (error.isEmpty()) {
        QFile::remove(path);
        if (!QFile::rename(partial, path))
            error = QStringLiteral("Cannot create the catalogue file %1").arg(path);
    }
    if (!error.isEmpty()) {
        QFile::remove(partial);
        throw Failure(error);
    }
}

void ensureEmbeddedCatalogue(const QString& path)
{
    if (!QFileInfo::exists(path))
        createSqliteCatalogue(path, true);
}

} // namespace CatalogueSchema
