#include "ModalWindow.h"

#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

namespace {

class HideWatcher : public QObject
{
public:
    explicit HideWatcher(QEventLoop& loop) : m_loop(loop) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            m_loop.quit();
        return false;
    }

private:
    QEventLoop& m_loop;
};

} // namespace

void showModal(QWidget* window)
{
    QEventLoop loop;
    HideWatcher watcher(loop);
    QPointer<QWidget> guarded(window);
    window->setWindowModality(Qt::ApplicationModal);
    window->installEventFilter(&watcher);
    window->show();
    if (guarded && guarded->isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (guarded) {
        guarded->removeEventFilter(&watcher);
        guarded->hide();
    }
}
