// Feeds arbitrary server texts to the translation of error messages, from
// each place an error comes from, and to the error log's line. Besides not
// crashing: a message that is no driver error is shown whole after the
// generic lead, a quoted name holds no quote, and the log keeps the bytes of
// a Windows-1252 text exactly.

#include "data/errors/error_log.h"
#include "data/errors/error_translation.h"
#include "platform/system/ansi.h"
#include "platform/system/datetime.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The dataset in error, taken from the first bytes: its name, and its fields
// (required or not, null or not) with their index.
TErrorSource SourceOf(TErrorSource::Kind kind, const QString& message, uint8_t shape) {
    TErrorSource source;
    source.kind = kind;
    source.providerDataSetName = message.left(shape % 8);
    for (int i = 0; i < shape % 5; ++i) {
        source.fields.push_back({message.mid(i * 3, 3), (shape >> i) % 2 == 1, i % 2 == 0});
        source.indexFieldNames << message.mid(i, 4);
    }
    return source;
}

void Check(const QString& message, uint8_t shape) {
    for (auto kind : {TErrorSource::Kind::ProviderUpdate, TErrorSource::Kind::ClientDataSet,
                      TErrorSource::Kind::Application})
        (void)TranslateErrorMessage(message, SourceOf(kind, message, shape));
    if (!message.startsWith(u"SQLDriver") &&
        TranslateErrorMessage(message, SourceOf(TErrorSource::Kind::Application, message, shape)) !=
            QStringLiteral("Se presento el siguiente error: ") + message)
        std::abort();
    if (QuotedName(message, shape).contains(u'"'))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const uint8_t shape = data[0];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1),
                           static_cast<qsizetype>(size - 1));
    // Server texts arrive in the connection's character set: Windows-1252 or UTF-8.
    const QString ansi = FromAnsi(bytes);
    Check(ansi, shape);
    Check(QString::fromUtf8(bytes), shape);
    // With a driver error's lead, so that its own rules run on the rest.
    Check(QStringLiteral("SQLDriver Error: ") + ansi, shape);

    const QByteArray line = ToAnsi(ErrorLogLine(TDateTime(45351.5), QStringLiteral("user"), ansi));
    if (!line.endsWith(bytes + "\r\n"))
        std::abort();
    return 0;
}
