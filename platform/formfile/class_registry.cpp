#include "platform/formfile/class_registry.h"

const std::any* THandlerTable::Find(const QString& name) const {
    auto it = handlers_.constFind(name.toUpper());
    return it == handlers_.constEnd() ? nullptr : &it.value();
}

TClassRegistry& TClassRegistry::Instance() {
    static TClassRegistry registry;
    return registry;
}

TClassInfo& TClassRegistry::Register(const QString& name, const QString& parent,
                                     TClassInfo::Factory create) {
    TClassInfo& info = classes_[name.toUpper()];
    info.name = name;
    info.parent = parent;
    info.create = std::move(create);
    return info;
}

const TClassInfo* TClassRegistry::Find(const QString& name) const {
    auto it = classes_.find(name.toUpper());
    return it == classes_.end() ? nullptr : &it->second;
}

const TClassInfo::Setter* TClassRegistry::FindProperty(const QString& className,
                                                       const QString& prop) const {
    const QString key = prop.toUpper();
    for (const TClassInfo* info = Find(className); info; info = Find(info->parent)) {
        auto it = info->properties.find(key);
        if (it != info->properties.end())
            return &it->second;
        if (info->parent.isEmpty())
            break;
    }
    return nullptr;
}

const TClassInfo::EventBinder* TClassRegistry::FindEvent(const QString& className,
                                                         const QString& event) const {
    const QString key = event.toUpper();
    for (const TClassInfo* info = Find(className); info; info = Find(info->parent)) {
        auto it = info->events.find(key);
        if (it != info->events.end())
            return &it->second;
        if (info->parent.isEmpty())
            break;
    }
    return nullptr;
}

QString FormValue::KindName(Kind kind) {
    switch (kind) {
    case Kind::String:
        return QStringLiteral("string");
    case Kind::Integer:
        return QStringLiteral("integer");
    case Kind::Float:
        return QStringLiteral("number");
    case Kind::Identifier:
        return QStringLiteral("identifier");
    case Kind::Set:
        return QStringLiteral("set");
    case Kind::Lines:
        return QStringLiteral("lines");
    case Kind::Bytes:
        return QStringLiteral("bytes");
    case Kind::Collection:
        return QStringLiteral("items");
    }
    return {};
}

namespace {
[[noreturn]] void WrongKind(const FormValue& v, const char* expected) {
    throw EPropertyValue(QStringLiteral("Expected %1, found %2")
                             .arg(QLatin1String(expected), FormValue::KindName(v.kind)));
}
} // namespace

namespace FormValues {
QString String(const FormValue& v) {
    if (v.kind != FormValue::Kind::String)
        WrongKind(v, "a string");
    return v.text;
}
int Integer(const FormValue& v) {
    if (v.kind != FormValue::Kind::Integer)
        WrongKind(v, "an integer");
    if (v.integer < INT32_MIN || v.integer > INT32_MAX)
        throw EPropertyValue(QStringLiteral("Integer out of range"));
    return static_cast<int>(v.integer);
}
double Number(const FormValue& v) {
    if (v.kind == FormValue::Kind::Integer)
        return static_cast<double>(v.integer);
    if (v.kind != FormValue::Kind::Float)
        WrongKind(v, "a number");
    return v.number;
}
bool Boolean(const FormValue& v) {
    const QString id = Identifier(v);
    if (id.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (id.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    throw EPropertyValue(QStringLiteral("Expected True or False, found %1").arg(id));
}
QString Identifier(const FormValue& v) {
    if (v.kind != FormValue::Kind::Identifier)
        WrongKind(v, "an identifier");
    return v.text;
}
QStringList Lines(const FormValue& v) {
    if (v.kind != FormValue::Kind::Lines)
        WrongKind(v, "lines");
    return v.list;
}
QStringList Set(const FormValue& v) {
    if (v.kind != FormValue::Kind::Set)
        WrongKind(v, "a set");
    return v.list;
}
QByteArray Bytes(const FormValue& v) {
    if (v.kind != FormValue::Kind::Bytes)
        WrongKind(v, "bytes");
    return v.bytes;
}
QString ComponentName(const FormValue& v) {
    return v.kind == FormValue::Kind::String ? v.text : Identifier(v);
}
} // namespace FormValues
