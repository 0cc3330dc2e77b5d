#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace MessageBoxes {
namespace {

Presenter& installedPresenter()
{
    static Presenter presenter;
    return presenter;
}

void showOnScreen(const Message& message)
{
    QMessageBox box(message.icon == Icon::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    message.caption, message.text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

void show(const Message& message)
{
    if (installedPresenter())
        installedPresenter()(message);
    else
        showOnScreen(message);
}

void showMessage(const QString& text)
{
    show({QApplication::applicationDisplayName(), text, Icon::None});
}

void showError(const QString& text)
{
    show({QApplication::applicationDisplayName(), text, Icon::Error});
}

void setPresenter(Presenter presenter)
{
    installedPresenter() = std::move(presenter);
}

} // namespace MessageBoxes
