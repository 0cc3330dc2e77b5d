#pragma once

#include <QProcess>
#include <QString>

// A throw-away X server for tests that need a real display: started on a
// free display number, listening on no network port, stopped when destroyed.
class XvfbServer
{
public:
    XvfbServer();
    ~XvfbServer();

    bool isRunning() const { return m_process.state() == QProcess::Running; }
    QString display() const { return m_display; }
    QString error() const { return m_error; }

private:
    QProcess m_process;
    QString m_display;
    QString m_error;
};
