#include "forms/upload_texts.h"

#include "platform/core/exception.h"

#include <QUrl>
#include <algorithm>

namespace {

// What Windows refuses in a file name, and what would leave the folder.
bool UnfitForFileName(QChar c) {
    return c.unicode() < 0x20 || QStringView(u"\\/:*?\"<>|").contains(c);
}

QString PhotoName(const QString& company, const QString& code) {
    return company + u'-' + code + QString::fromUtf16(kPhotoFileEnd);
}

} // namespace

QString QuotedStr(const QString& text) {
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

QString ChangedArticlesStatement(const QString& dateText, const QString& timeText) {
    return QStringLiteral("SELECT * FROM ARTICULOS_MIQUELBO(") + QuotedStr(dateText) + u',' +
           QuotedStr(timeText) + u')';
}

QString CompanyStampStatement(TDateTime date, const QString& timeText,
                              const QString& companyNumber) {
    return QStringLiteral("UPDATE COMPANIA SET COMP_FECACT = ") +
           QuotedStr(FormatDateTime(u"yyyy-MM-dd", date)) + QStringLiteral(", COMP_HORACT = ") +
           QuotedStr(timeText) + QStringLiteral(" WHERE COMP_ID = ") + companyNumber;
}

QString CheckedPhotoCode(const QString& code) {
    if (code.isEmpty() || std::any_of(code.cbegin(), code.cend(), UnfitForFileName))
        throw Exception(
            QStringLiteral("El código de artículo no sirve como nombre de archivo: \"%1\"")
                .arg(code));
    return code;
}

QString PhotoFolderAddress(const QString& base) {
    return base + QStringLiteral("/trevola/imgarti");
}

QString PhotoAddress(const QString& base, const QString& company, const QString& code) {
    // Every byte of the name's UTF-8 but the unreserved characters of a URL
    // (letters, digits, - . _ ~) percent-encoded: a blank, '#', '%' or an
    // accented letter as they are would name another file, or none.
    return PhotoFolderAddress(base) + u'/' +
           QString::fromLatin1(QUrl::toPercentEncoding(PhotoName(company, code)));
}

QString PhotoFolder() {
    return QStringLiteral("c:\\wamp\\www\\trevola\\imgarti");
}

QString PhotoFile(const QString& company, const QString& code) {
    return PhotoFolder() + u'\\' + PhotoName(company, code);
}
