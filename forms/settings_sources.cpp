#include "forms/settings_sources.h"

#include "platform/core/exception.h"
#include "platform/system/paths.h"
#include "platform/system/registry.h"
#include "platform/ui/dialogs.h"

#include <QUrl>
#include <algorithm>

namespace {

const QString kKey = QStringLiteral("\\Software\\Ostrel\\Trevola");

QString CheckedURLBase(const QString& value) {
    QString base = value;
    while (base.endsWith(u'/'))
        base.chop(1);
    const QUrl url(base, QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https") || url.host().isEmpty() ||
        !url.userInfo().isEmpty() || !url.path().isEmpty() || url.hasQuery() || url.hasFragment() ||
        std::any_of(base.cbegin(), base.cend(), [](QChar c) { return c.isSpace(); }))
        throw Exception(QStringLiteral("El valor URLBase no es una dirección de servidor válida "
                                       "(http://servidor o https://servidor): \"%1\"")
                            .arg(value));
    return base;
}

} // namespace

QString diraplicacion() {
    TRegistry registry;
    if (registry.OpenKeyReadOnly(kKey))
        return registry.ReadString(QStringLiteral("Directorio"));
    ShowMessage(QStringLiteral(
        "No se encontró la Clave HKEY_LOCAL_MACHINE\\Software\\Ostrel\\Trevola\\Directorio"));
    return QString();
}

QString ServerListPath() {
    return LocalPath(diraplicacion() + QStringLiteral("\\SERVIDORES.cfg"));
}

QString URLBase() {
    TRegistry registry;
    // An absent key has been told about with Directorio.
    if (!registry.OpenKeyReadOnly(kKey))
        return QString::fromUtf16(kDefaultURLBase);
    const QString value = registry.ReadString(QStringLiteral("URLBase"));
    return value.isEmpty() ? QString::fromUtf16(kDefaultURLBase) : CheckedURLBase(value);
}
