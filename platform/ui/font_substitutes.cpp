#include "platform/ui/font_substitutes.h"

#include <QFont>
#include <QStringList>

void InstallFontSubstitutes() {
    // First the Windows families themselves (where they are installed), then
    // metric-compatible or close free ones.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               QStringList{QStringLiteral("Microsoft Sans Serif"),
                                           QStringLiteral("Liberation Sans"),
                                           QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial Narrow"),
                               QStringList{QStringLiteral("Liberation Sans Narrow"),
                                           QStringLiteral("DejaVu Sans Condensed")});
}
