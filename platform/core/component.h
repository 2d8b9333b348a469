#pragma once
// The component model: every window, control, dataset and connection has a
// class, a name and an owner; an owner frees what it owns, and code finds
// components by name among an owner's components.

#include <QString>
#include <QStringView>
#include <vector>

class TComponent;

enum class TOperation { opInsert, opRemove };

class TComponent {
public:
    explicit TComponent(TComponent* owner = nullptr);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // The registered class name, used by the form reader and by messages.
    virtual QString ClassName() const { return QStringLiteral("TComponent"); }

    const QString& Name() const { return name_; }
    // Raises when another component of the same owner already has the name.
    virtual void SetName(const QString& name);

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
    // Case-insensitive lookup among the components this one owns; null when absent.
    TComponent* FindComponent(QStringView name) const;

    // Asks to be told (Notification with opRemove) when `other` is freed.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Lets a nested block of a form description attach this component to its
    // enclosing component: the visual parent of a control, the dataset of a field.
    virtual void SetParentComponent(TComponent* parent);
    // Called on every component of a form description once all are read.
    virtual void Loaded() {}

    // True while the destructor runs; owners skip work for dying children.
    bool Destroying() const { return destroying_; }
    // This component or one of its owners is being destroyed: its handlers,
    // methods of an owner that is already partly gone, must not run.
    bool InDestruction() const;

    // One process-wide observer of every component's end (the form reader uses
    // it to drop references still waiting for their module).
    using DestroyHook = void (*)(TComponent*);
    static void SetDestroyHook(DestroyHook hook);

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    void DestroyComponents();
    // For destructors of classes whose handlers live in a subclass: marks the
    // component as being destroyed before it frees what it owns.
    void BeginDestruction() { destroying_ = true; }

private:
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    QString name_;
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    bool destroying_ = false;
};

// Checked downcast helper: null when the component is not of class T.
template <typename T> T* ComponentAs(TComponent* component) {
    return dynamic_cast<T*>(component);
}
