#include "StatusPanels.h"

#include <QLabel>
#include <QStatusBar>

StatusPanels::StatusPanels(QStatusBar* bar, const QList<int>& widths)
{
    for (int i = 0; i < widths.size(); ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("%1Panel%2").arg(bar->objectName()).arg(i));
        panel->setTextFormat(Qt::PlainText);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setFixedWidth(widths.at(i));
        bar->addWidget(panel);
        m_panels << panel;
    }
}

void StatusPanels::setText(int panel, const QString& text)
{
    m_panels.at(panel)->setText(text);
}

QString StatusPanels::text(int panel) const
{
    return m_panels.at(panel)->text();
}
