#include "forms/company_number.h"

#include "platform/core/exception.h"

#include <algorithm>

QString CheckedCompanyNumber(const QString& text) {
    const bool digits = !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c >= u'0' && c <= u'9';
    });
    if (!digits)
        throw Exception(QStringLiteral("El número de compañía no es válido: \"%1\"").arg(text));
    return text;
}
