#include "ParameterMarkers.h"

namespace {

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isNamePart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

ParameterMarkers parseParameterMarkers(const QString& text)
{
    ParameterMarkers result;
    result.positionalText.reserve(text.size());
    QChar closingQuote;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (!closingQuote.isNull()) {
            result.positionalText += c;
            if (c == closingQuote)
                closingQuote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            closingQuote = c;
            result.positionalText += c;
            continue;
        }
        if (c == QLatin1Char('[')) {
            closingQuote = QLatin1Char(']');
            result.positionalText += c;
            continue;
        }
        if (c == QLatin1Char(':') && i + 1 < n && text.at(i + 1) == QLatin1Char(':')) {
            result.positionalText += QLatin1String("::");
            ++i;
            continue;
        }
        if (c == QLatin1Char(':') && i + 1 < n && isNameStart(text.at(i + 1))) {
            qsizetype end = i + 1;
            while (end < n && isNamePart(text.at(end)))
                ++end;
            result.markerNames << text.mid(i + 1, end - i - 1);
            result.positionalText += QLatin1Char('?');
            i = end - 1;
            continue;
        }
        result.positionalText += c;
    }
    return result;
}
