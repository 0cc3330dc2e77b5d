#pragma once

#include <QObject>
#include <QString>

// The child of that name and type; a missing one ends the test run loudly,
// so a renamed control can never pass as an absent one.
template <typename Child>
Child* requireChild(const QObject* parent, const char* name)
{
    auto* child = parent->findChild<Child*>(QLatin1String(name));
    if (!child)
        qFatal("%s has no %s", qPrintable(parent->objectName()), name);
    return child;
}
