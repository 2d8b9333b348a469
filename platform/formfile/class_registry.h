#pragma once
// The registry of component classes: for each class its name, its factory,
// its published properties and its events. The form reader knows components
// only through it.

#include "platform/core/component.h"
#include "platform/formfile/form_error.h"
#include "platform/formfile/form_value.h"

#include <QHash>
#include <any>
#include <functional>
#include <map>

// Binds event handlers by method name: windows and the data module publish
// their handlers in one of these.
class THandlerTable {
public:
    template <typename Event> void Add(const QString& name, Event handler) {
        handlers_[name.toUpper()] = std::any(std::move(handler));
    }
    const std::any* Find(const QString& name) const;

private:
    QHash<QString, std::any> handlers_;
};

struct TClassInfo {
    using Factory = std::function<TComponent*(TComponent* owner)>;
    using Setter = std::function<void(TComponent&, const FormValue&, TComponent& root)>;
    // Assigns a handler (std::any holding the event's std::function type).
    using EventBinder = std::function<void(TComponent&, const std::any& handler)>;

    QString name;
    QString parent;
    Factory create;
    std::map<QString, Setter> properties;  // keys upper-case
    std::map<QString, EventBinder> events; // keys upper-case
};

class TClassRegistry {
public:
    static TClassRegistry& Instance();

    TClassInfo& Register(const QString& name, const QString& parent, TClassInfo::Factory create);
    const TClassInfo* Find(const QString& name) const;
    // Searches the class and its ancestors.
    const TClassInfo::Setter* FindProperty(const QString& className, const QString& prop) const;
    const TClassInfo::EventBinder* FindEvent(const QString& className, const QString& event) const;

private:
    std::map<QString, TClassInfo> classes_; // keys upper-case
};

// Helpers that turn a form value into the types that setters take; each
// raises EPropertyValue with a clear text for a value of another kind.
namespace FormValues {
QString String(const FormValue& v);
int Integer(const FormValue& v);
double Number(const FormValue& v);
bool Boolean(const FormValue& v);
QString Identifier(const FormValue& v);
QStringList Lines(const FormValue& v);
QStringList Set(const FormValue& v);
QByteArray Bytes(const FormValue& v);
// The name of a referenced component, written as a string or an identifier
// ("fdmqb.QBorrar"); empty for an empty string.
QString ComponentName(const FormValue& v);
// Maps an identifier through a table of names, e.g. {"alTop", alTop}.
template <typename E>
E Enum(const FormValue& v, std::initializer_list<std::pair<const char*, E>> names);
} // namespace FormValues

// Fluent registration of a class:
//   RegisterClass<TEdit>("TEdit", "TWinControl")
//       .Property("Text", &TEdit::SetText)
//       .Event<TNotifyEvent>("OnExit", &TEdit::OnExit);
template <typename T> class TClassBuilder {
public:
    explicit TClassBuilder(TClassInfo& info) : info_(info) {}

    // A setter that takes the raw form value (and the root being read).
    TClassBuilder& Raw(const QString& name,
                       std::function<void(T&, const FormValue&, TComponent&)> set) {
        info_.properties[name.toUpper()] = [set](TComponent& c, const FormValue& v,
                                                 TComponent& root) {
            set(static_cast<T&>(c), v, root);
        };
        return *this;
    }
    TClassBuilder& Property(const QString& name, void (T::*set)(const QString&)) {
        return Raw(name, [set](T& c, const FormValue& v, TComponent&) {
            (c.*set)(FormValues::String(v));
        });
    }
    TClassBuilder& Property(const QString& name, void (T::*set)(int)) {
        return Raw(name, [set](T& c, const FormValue& v, TComponent&) {
            (c.*set)(FormValues::Integer(v));
        });
    }
    TClassBuilder& Property(const QString& name, void (T::*set)(bool)) {
        return Raw(name, [set](T& c, const FormValue& v, TComponent&) {
            (c.*set)(FormValues::Boolean(v));
        });
    }
    TClassBuilder& Property(const QString& name, void (T::*set)(const QStringList&)) {
        return Raw(
            name, [set](T& c, const FormValue& v, TComponent&) { (c.*set)(FormValues::Lines(v)); });
    }
    TClassBuilder& Property(const QString& name, void (T::*set)(const QByteArray&)) {
        return Raw(
            name, [set](T& c, const FormValue& v, TComponent&) { (c.*set)(FormValues::Bytes(v)); });
    }
    template <typename E> TClassBuilder& Event(const QString& name, E T::*member) {
        info_.events[name.toUpper()] = [member, name](TComponent& c, const std::any& handler) {
            const E* typed = std::any_cast<E>(&handler);
            if (!typed)
                throw EPropertyValue(
                    QStringLiteral("Handler of the wrong type for event %1").arg(name));
            static_cast<T&>(c).*member = *typed;
        };
        return *this;
    }

private:
    TClassInfo& info_;
};

template <typename T> TClassBuilder<T> RegisterClass(const QString& name, const QString& parent) {
    TClassInfo& info = TClassRegistry::Instance().Register(
        name, parent, [](TComponent* owner) -> TComponent* { return new T(owner); });
    return TClassBuilder<T>(info);
}

// A class that the reader never creates itself: a base class, or the class
// of a window or data module that reads its own description.
template <typename T>
TClassBuilder<T> RegisterAbstractClass(const QString& name, const QString& parent) {
    return TClassBuilder<T>(TClassRegistry::Instance().Register(name, parent, nullptr));
}

template <typename E>
E FormValues::Enum(const FormValue& v, std::initializer_list<std::pair<const char*, E>> names) {
    const QString id = Identifier(v);
    for (const auto& [n, e] : names)
        if (id.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return e;
    throw EPropertyValue(QStringLiteral("Invalid property value %1").arg(id));
}
