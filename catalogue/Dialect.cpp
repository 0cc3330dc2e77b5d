#include "Dialect.h"

#include "TADOConnection.h"

#include <QRegularExpression>

QString rewriteTopAsLimit(const QString& statement)
{
    static const QRegularExpression top(
        QStringLiteral(R"(^(\s*select\s+)top\s+(\d+)\s+(.*?)\s*;?\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = top.match(statement);
    if (!match.hasMatch())
        return statement;
    return match.captured(1) + match.captured(3) + QStringLiteral(" limit ") + match.captured(2);
}

void installDialect(TADOConnection& connection)
{
    const QString driver = connection.driverName();
    const bool sqlServer = driver == QLatin1String("QODBC") &&
                           connection.settings().databaseName.contains(QLatin1String("FreeTDS"), Qt::CaseInsensitive);
    if (sqlServer)
        connection.setStatementRewriter({});
    else
        connection.setStatementRewriter(&rewriteTopAsLimit);
}
