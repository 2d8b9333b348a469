#include "data/errors/error_translation.h"

namespace {

QString ProviderUpdateText(const QString& m, const TErrorSource& source) {
    const QString s = m.mid(18, 20);
    const QString table = source.providerDataSetName.mid(1);
    if (s == u"violation of PRIMARY")
        return QStringLiteral("Ya existe el registro en la tabla ") + table;
    if (s == u"violation of FOREIGN")
        return QStringLiteral("Está borrando o insertando un registro en la tabla ") + table +
               QStringLiteral(" que tiene una relación con otra tabla.");
    return m;
}

QString ClientDataSetText(const QString& m, const TErrorSource& source) {
    const QString f = m.left(30);
    QString text = m;
    if (f == u"Cannot delete master record wi")
        text = QStringLiteral("Error. Borre antes los detalles dependientes del registro.");
    const QString start = f.left(3);
    if (start == u"Fie") {
        QString list;
        for (const TErrorFieldState& field : source.fields)
            if (field.required && field.isNull)
                list += field.name + QStringLiteral(", ");
        text = QStringLiteral("Los campos ") + list + QStringLiteral(" son obligatorios.");
    } else if (start == u"key") {
        QString list;
        for (const QString& name : source.indexFieldNames)
            list += name + u' ';
        text = QStringLiteral("Ya existe un registro con el mismo ") + list;
    }
    return text;
}

QString ApplicationText(const QString& m) {
    const QString generic = QStringLiteral("Se presento el siguiente error: ") + m;
    if (!m.startsWith(u"SQLDriver"))
        return generic;
    if (m.contains(u"Your user name and password are not defined"))
        return QStringLiteral("El nombre de Usuario o la clave son incorrectas.");
    if (m.contains(u"I/O error for file"))
        return QStringLiteral("No se encontró el archivo o la ruta ") + QuotedName(m);
    // Firebird 3 words a file it cannot open as I/O error during "open"
    // operation for file "<path>": the same case, the name after "for file".
    static const QString fb3 = QStringLiteral("I/O error during \"open\" operation for file");
    if (const qsizetype at = m.indexOf(fb3); at >= 0)
        return QStringLiteral("No se encontró el archivo o la ruta ") +
               QuotedName(m, at + fb3.size());
    if (m.contains(u"Unable to complete network request"))
        return QStringLiteral("No se encontró el equipo servidor con nombre ") + QuotedName(m);
    if (m.contains(u"Connection failed"))
        return QStringLiteral(
            "No se encontró el servidor Interbase/Firebird. Verifique Servidor en "
            "panel de control y puerto TCP 3050.");
    return generic;
}

} // namespace

QString QuotedName(const QString& text, qsizetype from) {
    const qsizetype open = text.indexOf(u'"', from);
    if (open < 0)
        return {};
    const qsizetype close = text.indexOf(u'"', open + 1);
    if (close < 0)
        return {};
    return text.mid(open + 1, close - open - 1);
}

QString TranslateErrorMessage(const QString& message, const TErrorSource& source) {
    switch (source.kind) {
    case TErrorSource::Kind::ProviderUpdate:
        return ProviderUpdateText(message, source);
    case TErrorSource::Kind::ClientDataSet:
        return ClientDataSetText(message, source);
    case TErrorSource::Kind::Application:
        return ApplicationText(message);
    }
    return message;
}
