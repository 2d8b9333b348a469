#pragma once
// Cell and parameter values: a small variant of the kinds the database
// columns need, with the conversions fields and parameters use.

#include "platform/system/datetime.h"

#include <QByteArray>
#include <QString>
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

class TValue {
public:
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
    static TValue Null() { return TValue(); }

    Kind GetKind() const { return static_cast<Kind>(v_.index()); }
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

    // The stored alternative itself; null when the kind differs.
    const QString* StringPtr() const { return std::get_if<QString>(&v_); }
    const QByteArray* BytesPtr() const { return std::get_if<QByteArray>(&v_); }

    // Same kind and same value (null equals null).
    friend bool operator==(const TValue& a, const TValue& b) { return a.v_ == b.v_; }

    static QString KindName(Kind kind);

private:
    std::variant<std::monostate, QString, qint64, double, TBcd, bool, TDateTime, QByteArray> v_;
};
