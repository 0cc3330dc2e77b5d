#pragma once

#include <QString>
#include <functional>

// Every message box of the program goes through here, so that tests can
// capture what would have been shown instead of opening a dialog.
namespace MessageBoxes {

enum class Icon { None, Error };

struct Message
{
    QString caption;
    QString text;
    Icon icon = Icon::None;
};

using Presenter = std::function<void(const Message&)>;

// Shows a box with one OK button and waits until it is dismissed.
void show(const Message& message);

// A plain message under the application's title, no icon.
void showMessage(const QString& text);

// An error text under the application's title, with the error icon.
void showError(const QString& text);

// Replaces the on-screen presenter; an empty presenter restores it.
void setPresenter(Presenter presenter);

} // namespace MessageBoxes
