#include "AddressForms.h"

#include "ShellLaunch.h"
#include "Trim.h"

namespace {

const QString kHttp = QStringLiteral("http");
const QString kWww = QStringLiteral("www.");
const QString kScheme = QStringLiteral("http://");

bool beginsWith(const QString& address, const QString& prefix)
{
    return address.startsWith(prefix, Qt::CaseSensitive);
}

} // namespace

QString MakeLaunchForm(const QString& address)
{
    const QString a = trimLow(address);
    if (beginsWith(a, kHttp) || beginsWith(a, kWww))
        return a;
    return kScheme + a;
}

QString MakeAlternateForm(const QString& address)
{
    const QString a = trimLow(address);
    if (beginsWith(a, kWww))
        return kScheme + a;
    if (beginsWith(a, kHttp))
        return a.size() > kScheme.size() ? a.mid(kScheme.size()) : QString();
    return QString();
}

void OpenInBrowser(const QString& launchForm)
{
    ShellLaunch::execute(QString(), launchForm);
}
