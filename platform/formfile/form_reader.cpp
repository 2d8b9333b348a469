#include "platform/formfile/form_reader.h"

#include "platform/formfile/form_parser.h"

#include <QFile>

namespace {

struct PendingReference {
    TComponent* from;
    TComponent* root;
    QString path;
    TReferenceResolver::Assign assign;
};

TComponent* gModuleRoot = nullptr;
std::vector<PendingReference>& Pending() {
    static std::vector<PendingReference> pending;
    return pending;
}

TComponent* Lookup(TComponent& root, const QString& path) {
    const int dot = path.indexOf(u'.');
    if (dot < 0)
        return root.Name().compare(path, Qt::CaseInsensitive) == 0 ? &root
                                                                   : root.FindComponent(path);
    const QString module = path.left(dot);
    const QString name = path.mid(dot + 1);
    TComponent* owner = nullptr;
    if (root.Name().compare(module, Qt::CaseInsensitive) == 0)
        owner = &root;
    else if (gModuleRoot)
        owner = gModuleRoot->FindComponent(module);
    return owner ? owner->FindComponent(name) : nullptr;
}

class Reader {
public:
    Reader(TComponent& root, const THandlerTable& handlers, const QString& file)
        : root_(root), handlers_(handlers), file_(file) {}

    void Read(const FormNode& node) {
        if (node.className.compare(root_.ClassName(), Qt::CaseInsensitive) != 0)
            throw EFormError(file_, node.line,
                             QStringLiteral("The description is of class %1, not %2")
                                 .arg(node.className, root_.ClassName()));
        root_.SetName(node.name);
        SetProperties(root_, node.className, node.properties);
        for (const FormNode& child : node.children)
            Create(child, root_);
        for (int i = 0; i < root_.ComponentCount(); ++i)
            root_.Components(i)->Loaded();
        root_.Loaded();
    }

private:
    void Create(const FormNode& node, TComponent& parent) {
        const TClassInfo* info = TClassRegistry::Instance().Find(node.className);
        if (!info || !info->create)
            throw EFormError(file_, node.line,
                             QStringLiteral("Unknown class %1").arg(node.className));
        TComponent* component = info->create(&root_);
        try {
            component->SetName(node.name);
        } catch (const Exception& e) {
            throw EFormError(file_, node.line, e.Message());
        }
        component->SetParentComponent(&parent);
        SetProperties(*component, node.className, node.properties);
        for (const FormNode& child : node.children)
            Create(child, *component);
    }

    void SetProperties(TComponent& component, const QString& className,
                       const std::vector<FormProperty>& props) {
        const TClassRegistry& registry = TClassRegistry::Instance();
        for (const FormProperty& prop : props) {
            try {
                if (const auto* event = registry.FindEvent(className, prop.name)) {
                    const QString method = FormValues::Identifier(*prop.value);
                    const std::any* handler = handlers_.Find(method);
                    if (!handler)
                        throw EPropertyValue(
                            QStringLiteral("Unknown handler %1 for %2").arg(method, prop.name));
                    (*event)(component, *handler);
                } else if (const auto* setter = registry.FindProperty(className, prop.name)) {
                    (*setter)(component, *prop.value, root_);
                } else {
                    throw EPropertyValue(QStringLiteral("Unknown property %1 of class %2")
                                             .arg(prop.name, className));
                }
            } catch (const EFormError&) {
                throw;
            } catch (const Exception& e) {
                throw EFormError(
                    file_, prop.line,
                    QStringLiteral("%1.%2: %3").arg(component.Name(), prop.name, e.Message()));
            }
        }
    }

    TComponent& root_;
    const THandlerTable& handlers_;
    QString file_;
};

} // namespace

void ReadComponentText(TComponent& root, const THandlerTable& handlers, const QString& text,
                       const QString& fileName) {
    Reader(root, handlers, fileName).Read(ParseForm(text, fileName));
    TReferenceResolver::ResolvePending();
}

void ReadComponentResource(TComponent& root, const THandlerTable& handlers,
                           const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFormError(fileName, 0, QStringLiteral("Cannot open the form description"));
    ReadComponentText(root, handlers, QString::fromUtf8(file.readAll()), fileName);
}

void TReferenceResolver::SetModuleRoot(TComponent* moduleRoot) {
    gModuleRoot = moduleRoot;
}

void TReferenceResolver::Request(TComponent& from, TComponent& root, const QString& path,
                                 Assign assign) {
    TComponent::SetDestroyHook(&TReferenceResolver::Forget);
    if (TComponent* target = Lookup(root, path)) {
        assign(target);
        return;
    }
    if (!path.contains(u'.'))
        throw EPropertyValue(QStringLiteral("Unknown component %1").arg(path));
    Pending().push_back({&from, &root, path, std::move(assign)});
}

void TReferenceResolver::ResolvePending() {
    auto& pending = Pending();
    for (auto it = pending.begin(); it != pending.end();) {
        if (TComponent* target = Lookup(*it->root, it->path)) {
            auto assign = std::move(it->assign);
            it = pending.erase(it);
            assign(target);
        } else {
            ++it;
        }
    }
}

void TReferenceResolver::Forget(TComponent* from) {
    std::erase_if(Pending(),
                  [from](const PendingReference& p) { return p.from == from || p.root == from; });
}

int TReferenceResolver::PendingCount() {
    return static_cast<int>(Pending().size());
}
