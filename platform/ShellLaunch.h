#pragma once

#include <QString>
#include <functional>

// Hands an address to the desktop, as the shell's "open" would. The outcome
// is not reported. Tests install a handler so that no browser ever starts.
namespace ShellLaunch {

struct Request
{
    QString verb; // empty: the desktop's default action
    QString file;
};

using Handler = std::function<void(const Request&)>;

void execute(const QString& verb, const QString& file);

// Replaces the desktop launcher; an empty handler restores it.
void setHandler(Handler handler);

} // namespace ShellLaunch
