#include "ShellLaunch.h"

#include <QDesktopServices>
#include <QUrl>

namespace ShellLaunch {
namespace {

Handler& installedHandler()
{
    static Handler handler;
    return handler;
}

void openOnDesktop(const QString& file)
{
    // An address without a scheme ("www.x.cn") opens as http, as a shell would.
    const QUrl url = QUrl::fromUserInput(file);
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

} // namespace

void execute(const QString& verb, const QString& file)
{
    if (installedHandler())
        installedHandler()({verb, file});
    else
        openOnDesktop(file);
}

void setHandler(Handler handler)
{
    installedHandler() = std::move(handler);
}

} // namespace ShellLaunch
