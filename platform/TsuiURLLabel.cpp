#include "TsuiURLLabel.h"

#include "ShellLaunch.h"
#include "Trim.h"

#include <QMouseEvent>

TsuiURLLabel::TsuiURLLabel(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    // The rectangles are one line high; bottom alignment keeps the underline inside them.
    setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    setCursor(Qt::PointingHandCursor);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setLinkColour(Qt::blue);
}

void TsuiURLLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    const QString address = trimLow(m_url);
    if (!address.isEmpty())
        ShellLaunch::execute(QStringLiteral("open"), address);
    emit clicked();
}

void TsuiURLLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    m_hovered = true;
    setLinkColour(Qt::red);
}

void TsuiURLLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    m_hovered = false;
    setLinkColour(Qt::blue);
}

void TsuiURLLabel::setLinkColour(const QColor& colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, colour);
    setPalette(pal);
}
