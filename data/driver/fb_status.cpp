#include "data/driver/fb_status.h"

#include "platform/system/ansi.h"

#include <QStringDecoder>
#include <QStringList>

using namespace Firebird;

namespace Driver {

QString FbStatus::Text(IUtil* util) const {
    QByteArray buffer(8192, '\0');
    const unsigned n =
        util->formatStatus(buffer.data(), static_cast<unsigned>(buffer.size()), status_);
    buffer.truncate(
        static_cast<qsizetype>(qMin<unsigned>(n, static_cast<unsigned>(buffer.size()))));
    while (buffer.endsWith('\0'))
        buffer.chop(1);
    // Messages are ASCII but may quote a file name: UTF-8 on Linux, else ANSI.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(buffer);
    if (utf8.hasError())
        text = FromAnsi(buffer);
    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& line : lines) {
        if (line.startsWith(QLatin1Char('-')))
            line.remove(0, 1);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines.join(QStringLiteral("\r\n"));
}

void FbStatus::Raise(Status code, IUtil* util) const {
    throw Error(code, Text(util));
}

} // namespace Driver
