#pragma once

#include "MessageBoxes.h"
#include "ShellLaunch.h"

#include <QList>

// Records every message box instead of showing it, while it lives.
class MessageCapture
{
public:
    MessageCapture();
    ~MessageCapture();

    QList<MessageBoxes::Message> messages;
    QStringList texts() const;
};

// Records every launch instead of opening a browser, while it lives.
class LaunchCapture
{
public:
    LaunchCapture();
    ~LaunchCapture();

    QList<ShellLaunch::Request> requests;
    QStringList files() const;
};
