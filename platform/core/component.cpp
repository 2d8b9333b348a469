#include "platform/core/component.h"

#include "platform/core/exception.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) {
    if (owner)
        owner->InsertComponent(this);
}

namespace {
TComponent::DestroyHook gDestroyHook = nullptr;
}

void TComponent::SetDestroyHook(DestroyHook hook) {
    gDestroyHook = hook;
}

TComponent::~TComponent() {
    destroying_ = true;
    if (gDestroyHook)
        gDestroyHook(this);
    // Everyone that asked is told first, while this object is still whole.
    auto notifies = std::move(freeNotifies_);
    freeNotifies_.clear();
    for (TComponent* other : notifies) {
        other->RemoveFreeNotification(this);
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_)
        owner_->RemoveComponent(this);
}

bool TComponent::InDestruction() const {
    for (const TComponent* c = this; c; c = c->owner_)
        if (c->destroying_)
            return true;
    return false;
}

void TComponent::DestroyComponents() {
    // Owned components go last-created first, each removing itself from the list.
    while (!components_.empty())
        delete components_.back();
}

void TComponent::SetName(const QString& name) {
    if (name == name_)
        return;
    if (owner_ && !name.isEmpty()) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this)
            throw Exception(QStringLiteral("A component named %1 already exists").arg(name));
    }
    name_ = name;
}

TComponent* TComponent::FindComponent(QStringView name) const {
    if (name.isEmpty())
        return nullptr;
    for (TComponent* c : components_)
        if (c->name_.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) ==
        other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    std::erase(freeNotifies_, other);
}

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove) {
        for (TComponent* c : components_)
            if (c != component)
                c->Notification(component, operation);
    }
}

void TComponent::InsertComponent(TComponent* component) {
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::RemoveComponent(TComponent* component) {
    std::erase(components_, component);
    component->owner_ = nullptr;
    if (!destroying_)
        Notification(component, TOperation::opRemove);
}
