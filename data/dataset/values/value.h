#pragma once
// Cell and parameter values: a small variant of the kinds the database
// columns need, with the conversions fields and parameters use.

#include "platform/system/datetime.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <variant>

// A fixed-point number held exactly: 12345 with scale 2 is 123.45
// (NUMERIC/DECIMAL up to 18 digits).
struct TBcd {
    qint64 scaled = 0;
    int scale = 0; // 0..18

    // "123.45", "-0.05", "7": digits with '.' as the point, the scale's digits kept.
    QString ToString() const;
    double ToDouble() const;
    // Rounds half away from zero when the scale shrinks; EConvertError on overflow.
    TBcd Rescaled(int newScale) const;
    // Accepts an optional sign, digits and an optional '.' or ',' and digits;
    // no value for anything else or more than 18 digits after the point.
    static std::optional<TBcd> Parse(QStringView text);
    // The shortest decimal that reads back as the double (at most 15 digits).
    static TBcd FromDouble(double value);

    // Equal in value: 1.50 == 1.5.
    friend bool operator==(const TBcd& a, const TBcd& b);
};

// Bytes read from where they are kept the first time they are needed (a
// blob of a row that is read only when its field is), then kept. Copies
// share the bytes and the one read.
class TDeferredBytes {
public:
    using Loader = std::function<QByteArray()>;
    explicit TDeferredBytes(Loader loader);

    // The bytes, read on the first call; a read that fails raises its error
    // and is tried again on the next call.
    const QByteArray& Bytes() const;
    bool Loaded() const { return state_->bytes.has_value(); }
    // Copies of one deferred value, whose bytes are the same.
    bool SameAs(const TDeferredBytes& other) const { return state_ == other.state_; }
    friend bool operator==(const TDeferredBytes& a, const TDeferredBytes& b) {
        return a.SameAs(b) || a.Bytes() == b.Bytes();
    }

private:
    struct State {
        Loader loader;
        std::optional<QByteArray> bytes;
    };
    std::shared_ptr<State> state_;
};

class TValue {
public:
    // A deferred value is of kind Bytes.
    enum class Kind { Null, String, Integer, Float, Bcd, Boolean, DateTime, Bytes };

    TValue() = default; // null
    TValue(const QString& v) : v_(v) {}
    TValue(const char* v) : v_(QString::fromUtf8(v)) {}
    TValue(int v) : v_(static_cast<qint64>(v)) {}
    TValue(qint64 v) : v_(v) {}
    TValue(double v) : v_(v) {}
    TValue(TBcd v) : v_(v) {}
    TValue(bool v) : v_(v) {}
    TValue(TDateTime v) : v_(v) {}
    TValue(const QByteArray& v) : v_(v) {}
    TValue(const TDeferredBytes& v) : v_(v) {}
    static TValue Null() { return TValue(); }

    Kind GetKind() const { return Deferred() ? Kind::Bytes : static_cast<Kind>(v_.index()); }
    bool IsNull() const { return GetKind() == Kind::Null; }

    // Conversions, as the class library's variant converts; a
    // value that cannot be converted raises EConvertError. A null reads as
    // "", 0, false, the zero date-time or no bytes.
    QString
    AsString() const; // Bytes as Windows-1252; dates in the locale's short date (and long time)
    qint64 AsInteger() const; // numbers rounded half away from zero
    double AsFloat() const;
    TBcd AsBcd() const;
    bool AsBoolean() const;       // text "True"/"False" in any case, numbers not 0
    TDateTime AsDateTime() const; // numbers are day counts
    QByteArray AsBytes() const;   // text as Windows-1252 bytes

    // The stored alternative itself; null when the kind differs. The bytes
    // of a deferred value are read here.
    const QString* StringPtr() const { return std::get_if<QString>(&v_); }
    const QByteArray* BytesPtr() const;
    // The deferred value whose bytes are not necessarily read yet; null for
    // any other.
    const TDeferredBytes* Deferred() const { return std::get_if<TDeferredBytes>(&v_); }

    // Same kind and same value (null equals null). Copies of one deferred
    // value are equal without reading it.
    friend bool operator==(const TValue& a, const TValue& b);

    static QString KindName(Kind kind);

private:
    std::variant<std::monostate, QString, qint64, double, TBcd, bool, TDateTime, QByteArray,
                 TDeferredBytes>
        v_;
};
