#include "WindowFonts.h"

#include <QFont>
#include <QStringList>

void installWindowFonts()
{
    const QString sans = QStringLiteral("Noto Sans CJK SC");
    const QString serif = QStringLiteral("Noto Serif CJK SC");
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), QStringList{sans, QStringLiteral("WenQuanYi Micro Hei")});
    QFont::insertSubstitutions(QStringLiteral("黑体"), QStringList{sans, QStringLiteral("WenQuanYi Zen Hei")});
    QFont::insertSubstitutions(QStringLiteral("宋体"), QStringList{serif, sans});
}
