#include "platform/ui/action.h"

#include <algorithm>

void TAction::SetImages(TCustomImageList* images) {
    if (images == images_)
        return;
    // Both sides forget each other, or a later free would reach a freed object.
    if (images_) {
        RemoveFreeNotification(images_);
        images_->RemoveFreeNotification(this);
    }
    images_ = images;
    if (images_)
        FreeNotification(images_);
    Changed();
}

void TAction::SetImageIndex(int index) {
    if (index == imageIndex_)
        return;
    imageIndex_ = index;
    Changed();
}

bool TAction::HasImage() const {
    return images_ && imageIndex_ >= 0 && imageIndex_ < images_->Count();
}

bool TAction::Execute() {
    if (!OnExecute)
        return false;
    OnExecute(this);
    return true;
}

void TAction::AddChangeLink(TComponent* client, std::function<void()> changed) {
    RemoveChangeLink(client);
    links_.emplace_back(client, std::move(changed));
    FreeNotification(client);
}

void TAction::RemoveChangeLink(TComponent* client) {
    std::erase_if(links_, [client](const auto& link) { return link.first == client; });
}

void TAction::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    RemoveChangeLink(component);
    if (component == images_) {
        images_ = nullptr;
        Changed();
    }
}

void TAction::Changed() {
    // A copy: a handler may unlink while the links are walked.
    const auto links = links_;
    for (const auto& link : links)
        link.second();
}
