#pragma once
// TImageList: an image list of bitmaps, each with its mask.

#include "platform/ui/custom_image_list.h"

#include <vector>

class TImageList : public TCustomImageList {
public:
    explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
    QString ClassName() const override { return QStringLiteral("TImageList"); }

    // Adds a bitmap with its mask (black: opaque); returns the new index.
    int Add(const QImage& color, const QImage& mask);
    int Count() const override { return static_cast<int>(icons_.size()); }
    TImageListIcon GetIcon(int index) const override;

private:
    std::vector<TImageListIcon> icons_;
};
