#include "data/dataset/params.h"

#include "data/dataset/db_error.h"

#include <utility>

// ---- TParam ------------------------------------------------------------------

QString ParamTypeIdent(TParamType type) {
    switch (type) {
    case ptUnknown:
        return QStringLiteral("ptUnknown");
    case ptInput:
        return QStringLiteral("ptInput");
    case ptOutput:
        return QStringLiteral("ptOutput");
    case ptInputOutput:
        return QStringLiteral("ptInputOutput");
    case ptResult:
        return QStringLiteral("ptResult");
    }
    return QStringLiteral("ptUnknown");
}

std::optional<TParamType> ParamTypeFromIdent(QStringView ident) {
    for (TParamType t : {ptUnknown, ptInput, ptOutput, ptInputOutput, ptResult})
        if (ident.compare(ParamTypeIdent(t), Qt::CaseInsensitive) == 0)
            return t;
    return std::nullopt;
}

void TParam::SetValue(const TValue& value) {
    value_ = value;
    if (dataType_ != ftUnknown)
        return;
    switch (value.GetKind()) {
    case TValue::Kind::Null:
        break;
    case TValue::Kind::String:
        dataType_ = ftString;
        break;
    case TValue::Kind::Integer:
        dataType_ = ftInteger;
        break;
    case TValue::Kind::Float:
        dataType_ = ftFloat;
        break;
    case TValue::Kind::Bcd:
        dataType_ = ftFMTBcd;
        break;
    case TValue::Kind::Boolean:
        dataType_ = ftBoolean;
        break;
    case TValue::Kind::DateTime:
        dataType_ = ftDateTime;
        break;
    case TValue::Kind::Bytes:
        dataType_ = ftBlob;
        break;
    }
}

void TParam::SetAsString(const QString& v) {
    if (dataType_ != ftFixedChar && dataType_ != ftWideString && dataType_ != ftMemo)
        dataType_ = ftString;
    value_ = v;
}
void TParam::SetAsInteger(qint64 v) {
    dataType_ = ftInteger;
    value_ = v;
}
void TParam::SetAsSmallInt(int v) {
    dataType_ = ftSmallint;
    value_ = v;
}
void TParam::SetAsLargeInt(qint64 v) {
    dataType_ = ftLargeint;
    value_ = v;
}
void TParam::SetAsFloat(double v) {
    dataType_ = ftFloat;
    value_ = v;
}
void TParam::SetAsBCD(TBcd v) {
    dataType_ = ftBCD;
    value_ = v;
}
void TParam::SetAsFMTBCD(TBcd v) {
    dataType_ = ftFMTBcd;
    value_ = v;
}
void TParam::SetAsBoolean(bool v) {
    dataType_ = ftBoolean;
    value_ = v;
}
void TParam::SetAsDateTime(TDateTime v) {
    dataType_ = ftDateTime;
    value_ = v;
}
void TParam::SetAsDate(TDateTime v) {
    dataType_ = ftDate;
    value_ = v;
}
void TParam::SetAsTime(TDateTime v) {
    dataType_ = ftTime;
    value_ = v;
}
void TParam::SetAsBlob(const QByteArray& v) {
    dataType_ = ftBlob;
    value_ = v;
}
void TParam::SetAsMemo(const QString& v) {
    dataType_ = ftMemo;
    value_ = v;
}

bool TParam::IsEqual(const TParam& other) const {
    return name_.compare(other.name_, Qt::CaseInsensitive) == 0 && dataType_ == other.dataType_ &&
           paramType_ == other.paramType_ && value_ == other.value_;
}

// ---- TParams ---------------------------------------------------------------------

TParams::TParams(const TParams& other) {
    *this = other;
}

TParams& TParams::operator=(const TParams& other) {
    if (this == &other)
        return *this;
    std::vector<std::unique_ptr<TParam>> copy;
    copy.reserve(other.items_.size());
    for (const auto& p : other.items_)
        copy.push_back(std::make_unique<TParam>(*p));
    items_ = std::move(copy);
    return *this;
}

TParam& TParams::CreateParam(TFieldType dataType, const QString& name, TParamType paramType) {
    items_.push_back(std::make_unique<TParam>(name, dataType, paramType));
    return *items_.back();
}

void TParams::Delete(int index) {
    items_.erase(items_.begin() + index);
}

const TParam* TParams::FindParam(QStringView name) const {
    for (const auto& p : items_)
        if (p->Name().compare(name, Qt::CaseInsensitive) == 0)
            return p.get();
    return nullptr;
}

TParam* TParams::FindParam(QStringView name) {
    return const_cast<TParam*>(std::as_const(*this).FindParam(name));
}

const TParam& TParams::ParamByName(QStringView name) const {
    const TParam* p = FindParam(name);
    if (!p)
        DatabaseError(QStringLiteral("Parameter '%1' not found").arg(name));
    return *p;
}

TParam& TParams::ParamByName(QStringView name) {
    return const_cast<TParam&>(std::as_const(*this).ParamByName(name));
}

void TParams::AssignValues(const TParams& source) {
    for (auto& p : items_) {
        if (const TParam* s = source.FindParam(p->Name())) {
            const QString name = p->Name();
            *p = *s;
            p->SetName(name);
        }
    }
}

bool TParams::IsEqual(const TParams& other) const {
    if (items_.size() != other.items_.size())
        return false;
    for (size_t i = 0; i < items_.size(); ++i)
        if (!items_[i]->IsEqual(*other.items_[i]))
            return false;
    return true;
}

namespace {

bool IsNameChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

} // namespace

TParsedSql TParams::Parse(QStringView sql) {
    TParsedSql out;
    out.text.reserve(sql.size());
    QChar quote; // the open quote, null outside quotes
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            // A doubled quote inside closes and reopens: the same result.
            if (c == quote)
                quote = QChar();
            out.text += c;
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            out.text += c;
            continue;
        }
        if (c != QLatin1Char(':')) {
            out.text += c;
            continue;
        }
        const QChar next = i + 1 < sql.size() ? sql[i + 1] : QChar();
        if (next == QLatin1Char(':')) {
            out.text += QLatin1Char(':');
            ++i;
        } else if (next == QLatin1Char('"')) {
            const qsizetype end = sql.indexOf(QLatin1Char('"'), i + 2);
            if (end < 0) { // an unterminated name: the rest is text
                out.text += sql.mid(i);
                break;
            }
            out.names << sql.mid(i + 2, end - i - 2).toString();
            out.text += QLatin1Char('?');
            i = end;
        } else if (IsNameChar(next)) {
            qsizetype end = i + 1;
            while (end < sql.size() && IsNameChar(sql[end]))
                ++end;
            out.names << sql.mid(i + 1, end - i - 1).toString();
            out.text += QLatin1Char('?');
            i = end - 1;
        } else {
            out.text += c;
        }
    }
    return out;
}

QString TParams::ParseSQL(const QString& sql, bool doCreate) {
    TParsedSql parsed = Parse(sql);
    if (doCreate) {
        Clear();
        for (const QString& name : parsed.names)
            if (!FindParam(name))
                CreateParam(ftUnknown, name, ptInput);
    }
    return parsed.text;
}
