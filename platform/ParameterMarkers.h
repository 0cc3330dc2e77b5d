#pragma once

#include <QString>
#include <QStringList>

// The ":Name" markers of a statement text. The text is rewritten with a "?"
// in place of each marker, and the marker names are kept in order, so that
// values can be bound by position whatever the driver does with names.
struct ParameterMarkers
{
    QString positionalText;  // the statement with every marker replaced by "?"
    QStringList markerNames; // one entry per "?", in order, as written
};

// Markers inside quoted literals ('...', "...", [...]) and "::" casts are not markers.
ParameterMarkers parseParameterMarkers(const QString& text);
