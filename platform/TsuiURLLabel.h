#pragma once

#include <QLabel>

// A link label: a caption in a fixed rectangle, an address, blue underlined
// text with a hand cursor that turns red while the mouse is over it. A click
// opens the trimmed address with the verb "open"; a blank address does nothing.
class TsuiURLLabel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString URL READ URL WRITE setURL)

public:
    explicit TsuiURLLabel(QWidget* parent = nullptr);

    QString URL() const { return m_url; }
    void setURL(const QString& url) { m_url = url; }

    bool isHovered() const { return m_hovered; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void setLinkColour(const QColor& colour);

    QString m_url;
    bool m_hovered = false;
};
