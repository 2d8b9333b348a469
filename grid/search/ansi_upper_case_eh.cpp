#include "grid/search/ansi_upper_case_eh.h"

#include "platform/system/ansi.h"

#include <memory>

namespace {

// The character of a Windows-1252 byte.
char16_t CharOfByte(int byte) {
    const char b = static_cast<char>(byte);
    return FromAnsi(QByteArrayView(&b, 1)).at(0).unicode();
}

bool InCodePage(char16_t c) {
    const QChar ch(c);
    return FromAnsi(ToAnsi(QStringView(&ch, 1))).at(0) == ch;
}

} // namespace

TAnsiUpperCaseEh::TAnsiUpperCaseEh(const QLocale& locale) : localeName_(locale.name()) {
    for (size_t c = 0; c < latin_.size(); ++c)
        latin_[c] = static_cast<char16_t>(c);
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t c = CharOfByte(byte);
        const QString upper = locale.toUpper(QString(QChar(c)));
        const char16_t u =
            upper.size() == 1 && InCodePage(upper.at(0).unicode()) ? upper.at(0).unicode() : c;
        if (c < latin_.size())
            latin_[c] = u;
        else if (aboveCount_ < above_.size())
            above_[aboveCount_++] = {c, u};
    }
}

const TAnsiUpperCaseEh& TAnsiUpperCaseEh::ForUser() {
    static std::unique_ptr<TAnsiUpperCaseEh> table;
    const QLocale user = QLocale::system();
    if (!table || table->LocaleName() != user.name())
        table = std::make_unique<TAnsiUpperCaseEh>(user);
    return *table;
}

char16_t TAnsiUpperCaseEh::UpperAbove(char16_t c) const {
    for (size_t i = 0; i < aboveCount_; ++i)
        if (above_[i].first == c)
            return above_[i].second;
    return c;
}

QString TAnsiUpperCaseEh::Upper(QStringView text) const {
    QString out(text.size(), Qt::Uninitialized);
    QChar* data = out.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        data[i] = QChar(Upper(text[i].unicode()));
    return out;
}
