#pragma once

#include <QString>
#include <stdexcept>

// The one exception type of the program. Every failing step throws it with a
// text meant for the user; the default error handler shows that text.
class Failure : public std::runtime_error
{
public:
    explicit Failure(const QString& text)
        : std::runtime_error(text.toStdString()), m_text(text)
    {
    }

    QString text() const { return m_text; }

private:
    QString m_text;
};
