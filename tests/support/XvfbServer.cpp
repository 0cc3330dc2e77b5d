#include "XvfbServer.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

XvfbServer::XvfbServer()
{
    int number = 90;
    while (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) ||
           QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
        ++number;
    m_display = QStringLiteral(":%1").arg(number);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("Xvfb"), {m_display, QStringLiteral("-screen"), QStringLiteral("0"),
                                             QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                             QStringLiteral("tcp")});
    if (!m_process.waitForStarted(10000)) {
        m_error = QStringLiteral("Xvfb did not start: ") + m_process.errorString();
        return;
    }
    const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
    QDeadlineTimer deadline(15000);
    while (!QFileInfo::exists(socket) && !deadline.hasExpired() && isRunning())
        QThread::msleep(50);
    if (!QFileInfo::exists(socket))
        m_error = QStringLiteral("Xvfb opened no display %1").arg(m_display);
}

XvfbServer::~XvfbServer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
}
