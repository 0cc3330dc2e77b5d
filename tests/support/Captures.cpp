#include "Captures.h"

MessageCapture::MessageCapture()
{
    MessageBoxes::setPresenter([this](const MessageBoxes::Message& m) { messages << m; });
}

MessageCapture::~MessageCapture()
{
    MessageBoxes::setPresenter({});
}

QStringList MessageCapture::texts() const
{
    QStringList result;
    for (const auto& m : messages)
        result << m.text;
    return result;
}

LaunchCapture::LaunchCapture()
{
    ShellLaunch::setHandler([this](const ShellLaunch::Request& r) { requests << r; });
}

LaunchCapture::~LaunchCapture()
{
    ShellLaunch::setHandler({});
}

QStringList LaunchCapture::files() const
{
    QStringList result;
    for (const auto& r : requests)
        result << r.file;
    return result;
}
