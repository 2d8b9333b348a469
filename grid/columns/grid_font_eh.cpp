#include "grid/columns/grid_font_eh.h"

QFont TGridFontEh::Font(const QFont& parent) const {
    QFont font = parent;
    if (name_)
        font.setFamily(*name_);
    if (size_)
        font.setPointSize(*size_);
    if (bold_)
        font.setBold(*bold_);
    if (italic_)
        font.setItalic(*italic_);
    return font;
}
