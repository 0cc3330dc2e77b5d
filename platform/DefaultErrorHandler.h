#pragma once

#include <QObject>
#include <exception>

// The program catches no error inside a handler: whatever a handler throws
// ends that handler and is shown here, in a message box with one OK button.
// Nothing is let through Qt's event loop.
namespace DefaultErrorHandler {

void showException(const std::exception& error);
void showUnknownException();

template <typename Body>
void run(Body&& body) noexcept
{
    try {
        body();
    } catch (const std::exception& error) {
        showException(error);
    } catch (...) {
        showUnknownException();
    }
}

// Connects a signal to a window's handler through the default error handler.
template <typename Sender, typename Signal, typename Window>
QMetaObject::Connection bind(Sender* sender, Signal signal, Window* window, void (Window::*handler)())
{
    return QObject::connect(sender, signal, window, [window, handler] {
        run([&] { (window->*handler)(); });
    });
}

} // namespace DefaultErrorHandler
