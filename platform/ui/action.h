#pragma once
// TAction: a command that controls link to; here it carries the image
// (an image list and an index) that a linked button shows, and tells the
// linked controls when either changes.

#include "platform/core/events.h"
#include "platform/ui/custom_image_list.h"

#include <functional>
#include <vector>

class TAction : public TComponent {
public:
    explicit TAction(TComponent* owner) : TComponent(owner) {}
    QString ClassName() const override { return QStringLiteral("TAction"); }

    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);
    // -1: no image.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    // True when the image list holds the image index.
    bool HasImage() const;

    // Runs OnExecute; returns false when it is not assigned.
    bool Execute();
    TNotifyEvent OnExecute;

    // A linked control is told about every change until it unlinks.
    void AddChangeLink(TComponent* client, std::function<void()> changed);
    void RemoveChangeLink(TComponent* client);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Changed();

    TCustomImageList* images_ = nullptr;
    int imageIndex_ = -1;
    std::vector<std::pair<TComponent*, std::function<void()>>> links_;
};
