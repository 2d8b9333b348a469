#pragma once
// Parameters of a statement (TParam) and their list (TParams): used by
// queries and client datasets, and sent between a client dataset and its
// provider. Also the parsing of ":NAME" parameters out of statement text.

#include "data/dataset/values/field_type.h"
#include "data/dataset/values/value.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

enum TParamType { ptUnknown, ptInput, ptOutput, ptInputOutput, ptResult };

QString ParamTypeIdent(TParamType type); // "ptInput"
std::optional<TParamType> ParamTypeFromIdent(QStringView ident);

class TParam {
public:
    TParam() = default;
    TParam(const QString& name, TFieldType dataType, TParamType paramType)
        : name_(name), dataType_(dataType), paramType_(paramType) {}

    const QString& Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }
    TFieldType DataType() const { return dataType_; }
    void SetDataType(TFieldType type) { dataType_ = type; }
    TParamType ParamType() const { return paramType_; }
    void SetParamType(TParamType type) { paramType_ = type; }

    const TValue& Value() const { return value_; }
    // Sets the value; a parameter of unknown type takes the value's kind's type.
    void SetValue(const TValue& value);
    bool IsNull() const { return value_.IsNull(); }
    // Null value; the type stays.
    void Clear() { value_ = TValue(); }

    // Typed access. Each setter also sets the data type, as the
    // program's class library does (AsString keeps ftFixedChar, ftWideString
    // and ftMemo).
    QString AsString() const { return value_.AsString(); }
    void SetAsString(const QString& v);
    qint64 AsInteger() const { return value_.AsInteger(); }
    void SetAsInteger(qint64 v);
    void SetAsSmallInt(int v);
    void SetAsLargeInt(qint64 v);
    double AsFloat() const { return value_.AsFloat(); }
    void SetAsFloat(double v);
    TBcd AsBCD() const { return value_.AsBcd(); }
    void SetAsBCD(TBcd v);
    void SetAsFMTBCD(TBcd v);
    bool AsBoolean() const { return value_.AsBoolean(); }
    void SetAsBoolean(bool v);
    TDateTime AsDateTime() const { return value_.AsDateTime(); }
    void SetAsDateTime(TDateTime v);
    void SetAsDate(TDateTime v);
    void SetAsTime(TDateTime v);
    QByteArray AsBlob() const { return value_.AsBytes(); }
    void SetAsBlob(const QByteArray& v);
    void SetAsMemo(const QString& v);

    // Name, types and value are the same (names compared without case).
    bool IsEqual(const TParam& other) const;

private:
    QString name_;
    TFieldType dataType_ = ftUnknown;
    TParamType paramType_ = ptUnknown;
    TValue value_;
};

// Statement text with its ":NAME" parameters replaced by "?" markers.
struct TParsedSql {
    QString text;      // the "?" form for the driver
    QStringList names; // one per marker, in order (a repeated name repeats)
};

class TParams {
public:
    TParams() = default;
    TParams(const TParams& other);
    TParams& operator=(const TParams& other);
    TParams(TParams&&) noexcept = default;
    TParams& operator=(TParams&&) noexcept = default;

    int Count() const { return static_cast<int>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }
    TParam& Items(int index) { return *items_.at(static_cast<size_t>(index)); }
    const TParam& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }
    TParam& operator[](int index) { return Items(index); }
    const TParam& operator[](int index) const { return Items(index); }

    TParam& CreateParam(TFieldType dataType, const QString& name, TParamType paramType);
    void Delete(int index);
    void Clear() { items_.clear(); }

    // Case-insensitive; null when absent.
    TParam* FindParam(QStringView name);
    const TParam* FindParam(QStringView name) const;
    // Raises EDatabaseError "Parameter '%s' not found".
    TParam& ParamByName(QStringView name);
    const TParam& ParamByName(QStringView name) const;
    // The same for names written as plain string literals.
    TParam* FindParam(const QString& name) { return FindParam(QStringView(name)); }
    const TParam* FindParam(const QString& name) const { return FindParam(QStringView(name)); }
    TParam& ParamByName(const QString& name) { return ParamByName(QStringView(name)); }
    const TParam& ParamByName(const QString& name) const { return ParamByName(QStringView(name)); }

    // Copies type, direction and value of every parameter of `source` that
    // has a parameter of the same name here; the others stay.
    void AssignValues(const TParams& source);
    // Same count and each parameter equal, in order.
    bool IsEqual(const TParams& other) const;

    // Parses `sql` (see Parse). With doCreate the list is cleared and gets
    // one input parameter of unknown type per distinct name, in order of
    // first appearance. Returns the "?" form of the text.
    QString ParseSQL(const QString& sql, bool doCreate);

    // The parameter rules of statement text: a colon outside quotes ('...'
    // or "...") followed by a name (letters, digits, '_', '$') or by a
    // double-quoted name (:"My Param") is a parameter and becomes "?". A
    // doubled colon "::" stands for one literal colon; a colon followed by
    // anything else stays as it is.
    static TParsedSql Parse(QStringView sql);

private:
    std::vector<std::unique_ptr<TParam>> items_;
};
