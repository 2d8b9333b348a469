#include "grid/incsearch/search_text_eh.h"

QString WithoutLastCharacterEh(QStringView text) {
    qsizetype size = text.size();
    if (size == 0)
        return QString();
    --size;
    if (size > 0 && text[size].isLowSurrogate() && text[size - 1].isHighSurrogate())
        --size;
    return text.left(size).toString();
}
