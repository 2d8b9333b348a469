#pragma once
// Builds a window or data module from its form description: creates every
// component through the class registry, owned by the root, sets properties,
// binds events to the root's handlers by method name, then calls Loaded.

#include "platform/formfile/class_registry.h"

// Reads the description in `fileName` (a file or a ":/resource" path) into `root`.
// Raises EFormError naming file and line for anything it cannot take.
void ReadComponentResource(TComponent& root, const THandlerTable& handlers,
                           const QString& fileName);
// The same from text already in memory; `fileName` names it in errors.
void ReadComponentText(TComponent& root, const THandlerTable& handlers, const QString& text,
                       const QString& fileName);

// Reference properties name a component of the same root ("QBorrar") or of
// another module ("fdmqb.QBorrar"). Modules are the components of the module
// root (the application). A reference to a module not yet created waits until
// that module's description has been read.
class TReferenceResolver {
public:
    using Assign = std::function<void(TComponent*)>;
    static void SetModuleRoot(TComponent* moduleRoot);
    // Resolves now when it can, else keeps the request until ResolvePending.
    static void Request(TComponent& from, TComponent& root, const QString& path, Assign assign);
    // Tries every waiting request again; called after each module is read.
    static void ResolvePending();
    // Drops the waiting requests of a component that is going away.
    static void Forget(TComponent* from);
    static int PendingCount();
};

// Sets a reference property from its form value: `set` gets the component
// the name leads to once it is found, or null for an empty name. A component
// that is not a T raises EPropertyValue "<name> is not a <what>".
template <typename T>
void SetReference(TComponent& from, TComponent& root, const FormValue& value, const QString& what,
                  std::function<void(T*)> set) {
    const QString name = FormValues::ComponentName(value);
    if (name.isEmpty()) {
        set(nullptr);
        return;
    }
    TReferenceResolver::Request(from, root, name, [set, name, what](TComponent* found) {
        T* typed = ComponentAs<T>(found);
        if (!typed)
            throw EPropertyValue(QStringLiteral("%1 is not a %2").arg(name, what));
        set(typed);
    });
}
