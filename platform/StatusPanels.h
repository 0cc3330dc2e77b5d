#pragma once

#include <QList>
#include <QString>

class QLabel;
class QStatusBar;

// The fixed-width text panels of a status bar, counted from 0.
class StatusPanels
{
public:
    StatusPanels(QStatusBar* bar, const QList<int>& widths);

    void setText(int panel, const QString& text);
    QString text(int panel) const;
    int count() const { return int(m_panels.size()); }

private:
    QList<QLabel*> m_panels;
};
