#include "data/dataset/values/value.h"

#include "platform/system/ansi.h"
#include "platform/system/convert_error.h"
#include "platform/system/format_settings.h"

#include <cmath>
#include <limits>

namespace {

qint64 Pow10(int n) {
    qint64 r = 1;
    while (n-- > 0)
        r *= 10;
    return r;
}

[[noreturn]] void CannotConvert(TValue::Kind from, const char* to) {
    throw EConvertError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                            .arg(TValue::KindName(from), QLatin1String(to)));
}

} // namespace

// ---- TBcd ----------------------------------------------------------------------

QString TBcd::ToString() const {
    const bool negative = scaled < 0;
    // The magnitude as unsigned, so that the smallest qint64 works too.
    const quint64 magnitude =
        negative ? 0 - static_cast<quint64>(scaled) : static_cast<quint64>(scaled);
    QString digits = QString::number(magnitude);
    if (scale > 0) {
        digits = digits.rightJustified(scale + 1, QLatin1Char('0'));
        digits.insert(digits.size() - scale, QLatin1Char('.'));
    }
    return negative ? QLatin1Char('-') + digits : digits;
}

double TBcd::ToDouble() const {
    return static_cast<double>(scaled) / static_cast<double>(Pow10(scale));
}

TBcd TBcd::Rescaled(int newScale) const {
    if (newScale < 0 || newScale > 18)
        throw EConvertError(QStringLiteral("Invalid scale %1").arg(newScale));
    if (newScale == scale)
        return *this;
    if (newScale > scale) {
        const qint64 factor = Pow10(newScale - scale);
        qint64 out = 0;
        if (__builtin_mul_overflow(scaled, factor, &out))
            throw EConvertError(QStringLiteral("BCD overflow"));
        return {out, newScale};
    }
    const qint64 factor = Pow10(scale - newScale);
    qint64 q = scaled / factor;
    const qint64 r = scaled % factor;
    if (2 * (r < 0 ? -r : r) >= factor)
        q += scaled < 0 ? -1 : 1;
    return {q, newScale};
}

std::optional<TBcd> TBcd::Parse(QStringView text) {
    text = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    quint64 value = 0;
    int scale = 0;
    bool point = false;
    bool digits = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('.') || c == QLatin1Char(',')) {
            if (point)
                return std::nullopt;
            point = true;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        digits = true;
        if (point && ++scale > 18)
            return std::nullopt;
        if (value > (static_cast<quint64>(std::numeric_limits<qint64>::max()) - 9) / 10)
            return std::nullopt;
        value = value * 10 + static_cast<quint64>(c.unicode() - '0');
    }
    if (!digits)
        return std::nullopt;
    const auto v = static_cast<qint64>(value);
    return TBcd{negative ? -v : v, scale};
}

TBcd TBcd::FromDouble(double value) {
    if (!std::isfinite(value))
        throw EConvertError(QStringLiteral("Invalid floating point value"));
    const double magnitude = std::fabs(value);
    const int intDigits =
        magnitude >= 1 ? static_cast<int>(std::floor(std::log10(magnitude))) + 1 : 0;
    const std::optional<TBcd> b = Parse(QString::number(value, 'f', qMax(0, 15 - intDigits)));
    if (!b)
        throw EConvertError(QStringLiteral("BCD overflow"));
    // Drop the trailing zeros the fixed format adds.
    TBcd r = *b;
    while (r.scale > 0 && r.scaled % 10 == 0) {
        r.scaled /= 10;
        --r.scale;
    }
    return r;
}

bool operator==(const TBcd& a, const TBcd& b) {
    const int s = qMax(a.scale, b.scale);
    try {
        return a.Rescaled(s).scaled == b.Rescaled(s).scaled;
    } catch (const EConvertError&) {
        return false;
    }
}

// ---- TDeferredBytes -----------------------------------------------------------------

TDeferredBytes::TDeferredBytes(Loader loader)
    : state_(std::make_shared<State>(State{std::move(loader), std::nullopt})) {}

const QByteArray& TDeferredBytes::Bytes() const {
    if (!state_->bytes) {
        state_->bytes = state_->loader();
        state_->loader = nullptr;
    }
    return *state_->bytes;
}

// ---- TValue ------------------------------------------------------------------------

const QByteArray* TValue::BytesPtr() const {
    if (const TDeferredBytes* deferred = Deferred())
        return &deferred->Bytes();
    return std::get_if<QByteArray>(&v_);
}

bool operator==(const TValue& a, const TValue& b) {
    const TDeferredBytes* da = a.Deferred();
    const TDeferredBytes* db = b.Deferred();
    if (da && db && da->SameAs(*db))
        return true;
    if (da || db) {
        if (a.GetKind() != b.GetKind())
            return false;
        return *a.BytesPtr() == *b.BytesPtr();
    }
    return a.v_ == b.v_;
}

QString TValue::KindName(Kind kind) {
    switch (kind) {
    case Kind::Null:
        return QStringLiteral("Null");
    case Kind::String:
        return QStringLiteral("String");
    case Kind::Integer:
        return QStringLiteral("Int64");
    case Kind::Float:
        return QStringLiteral("Double");
    case Kind::Bcd:
        return QStringLiteral("FMTBcd");
    case Kind::Boolean:
        return QStringLiteral("Boolean");
    case Kind::DateTime:
        return QStringLiteral("Date");
    case Kind::Bytes:
        return QStringLiteral("Array Byte");
    }
    return QString();
}

QString TValue::AsString() const {
    switch (GetKind()) {
    case Kind::Null:
        return QString();
    case Kind::String:
        return std::get<QString>(v_);
    case Kind::Integer:
        return QString::number(std::get<qint64>(v_));
    case Kind::Float:
        return QString::number(std::get<double>(v_), 'g', 15);
    case Kind::Bcd:
        return std::get<TBcd>(v_).ToString();
    case Kind::Boolean:
        return std::get<bool>(v_) ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::DateTime: {
        const TDateTime v = std::get<TDateTime>(v_);
        const TFormatSettings& fs = FormatSettings();
        QString s = FormatDateTime(fs.ShortDateFormat, v);
        if (v.TimePart().Value() != 0)
            s += QLatin1Char(' ') + FormatDateTime(fs.LongTimeFormat, v);
        return s;
    }
    case Kind::Bytes:
        return FromAnsi(*BytesPtr());
    }
    return QString();
}

qint64 TValue::AsInteger() const {
    switch (GetKind()) {
    case Kind::Null:
        return 0;
    case Kind::Integer:
        return std::get<qint64>(v_);
    case Kind::Float: {
        const double d = std::get<double>(v_);
        if (!std::isfinite(d) || std::fabs(d) >= 9.2e18)
            CannotConvert(GetKind(), "Int64");
        return qRound64(d);
    }
    case Kind::Bcd:
        return std::get<TBcd>(v_).Rescaled(0).scaled;
    case Kind::Boolean:
        return std::get<bool>(v_) ? 1 : 0;
    case Kind::DateTime:
        return static_cast<qint64>(std::get<TDateTime>(v_).Value());
    case Kind::String:
    case Kind::Bytes: {
        const QString s = AsString().trimmed();
        bool ok = false;
        const qint64 v = s.toLongLong(&ok);
        if (!ok)
            throw EConvertError(
                QStringLiteral("'%1' is not a valid integer value").arg(AsString()));
        return v;
    }
    }
    return 0;
}

double TValue::AsFloat() const {
    switch (GetKind()) {
    case Kind::Null:
        return 0;
    case Kind::Integer:
        return static_cast<double>(std::get<qint64>(v_));
    case Kind::Float:
        return std::get<double>(v_);
    case Kind::Bcd:
        return std::get<TBcd>(v_).ToDouble();
    case Kind::Boolean:
        return std::get<bool>(v_) ? 1 : 0;
    case Kind::DateTime:
        return std::get<TDateTime>(v_).Value();
    case Kind::String:
    case Kind::Bytes: {
        QString s = AsString().trimmed();
        s.replace(QLatin1Char(','), QLatin1Char('.'));
        bool ok = false;
        const double v = s.toDouble(&ok);
        if (!ok)
            throw EConvertError(
                QStringLiteral("'%1' is not a valid floating point value").arg(AsString()));
        return v;
    }
    }
    return 0;
}

TBcd TValue::AsBcd() const {
    switch (GetKind()) {
    case Kind::Null:
        return {};
    case Kind::Integer:
        return {std::get<qint64>(v_), 0};
    case Kind::Float:
        return TBcd::FromDouble(std::get<double>(v_));
    case Kind::Bcd:
        return std::get<TBcd>(v_);
    case Kind::Boolean:
        return {std::get<bool>(v_) ? 1 : 0, 0};
    case Kind::DateTime:
        return TBcd::FromDouble(std::get<TDateTime>(v_).Value());
    case Kind::String:
    case Kind::Bytes: {
        const std::optional<TBcd> b = TBcd::Parse(AsString());
        if (!b)
            throw EConvertError(QStringLiteral("'%1' is not a valid BCD value").arg(AsString()));
        return *b;
    }
    }
    return {};
}

bool TValue::AsBoolean() const {
    switch (GetKind()) {
    case Kind::Null:
        return false;
    case Kind::Boolean:
        return std::get<bool>(v_);
    case Kind::Integer:
        return std::get<qint64>(v_) != 0;
    case Kind::Float:
        return std::get<double>(v_) != 0;
    case Kind::Bcd:
        return std::get<TBcd>(v_).scaled != 0;
    case Kind::String:
    case Kind::Bytes: {
        const QString s = AsString().trimmed();
        if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        bool ok = false;
        const double d = s.toDouble(&ok);
        if (ok)
            return d != 0;
        throw EConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(AsString()));
    }
    case Kind::DateTime:
        CannotConvert(GetKind(), "Boolean");
    }
    return false;
}

TDateTime TValue::AsDateTime() const {
    switch (GetKind()) {
    case Kind::Null:
        return TDateTime();
    case Kind::DateTime:
        return std::get<TDateTime>(v_);
    case Kind::Integer:
    case Kind::Float:
    case Kind::Bcd:
        return TDateTime(AsFloat());
    default:
        CannotConvert(GetKind(), "Date");
    }
}

QByteArray TValue::AsBytes() const {
    switch (GetKind()) {
    case Kind::Null:
        return QByteArray();
    case Kind::Bytes:
        return *BytesPtr();
    default:
        return ToAnsi(AsString());
    }
}
