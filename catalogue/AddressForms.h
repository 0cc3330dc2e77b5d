#pragma once

#include <QString>

// The two texts made from a site address. Both are made from the trimmed
// address; the prefix tests are case-sensitive ("HTTP" is no prefix).

// The form handed to the desktop: the address itself when it begins with
// "http" or "www.", otherwise "http://" in front of it.
QString MakeLaunchForm(const QString& address);

// The same address written the other way, for matching catalogue rows:
// "www.x" gives "http://www.x", "http://x" gives "x" (the first seven
// characters removed), anything else the empty text.
QString MakeAlternateForm(const QString& address);

// Opens a launch form in the default browser. The outcome is not examined.
void OpenInBrowser(const QString& launchForm);
