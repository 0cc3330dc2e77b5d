#pragma once

#include "TADOConnection.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantList>

// A catalogue for one test, with the real schema, and a connection of the
// test's own for writing fixture rows and reading back what the program wrote.
class CatalogueFixture
{
public:
    virtual ~CatalogueFixture();

    // The settings the program connects with.
    virtual ConnectionSettings settings() const = 0;

    // Runs a statement with positional "?" values; fails the test on error.
    void exec(const QString& statement, const QVariantList& values = {});
    // Every row of a select, each as a list of values.
    QList<QVariantList> rows(const QString& statement, const QVariantList& values = {});
    // The first column of the first row.
    QVariant scalar(const QString& statement, const QVariantList& values = {});

    // A Net row with the given address and counters; returns its NetID.
    qlonglong addSite(const QString& name, const QString& address, const QString& group = QString(),
                      const QString& category = QString(), int userCount = 0, int sumCount = 0);

protected:
    void openOwnConnection(const ConnectionSettings& settings);
    QSqlDatabase database() const;

private:
    QSqlQuery run(const QString& statement, const QVariantList& values);

    QString m_connectionName;
};

// A fresh SQLite catalogue file in a temporary folder.
class SqliteCatalogue : public CatalogueFixture
{
public:
    explicit SqliteCatalogue(bool withDemo = false);
    ~SqliteCatalogue() override;

    ConnectionSettings settings() const override;
    QString path() const;

private:
    QTemporaryDir m_folder;
};
