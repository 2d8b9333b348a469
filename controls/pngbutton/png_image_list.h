#pragma once
// TPngImageList: an image list that keeps its images as PNG objects, so
// that a PNG glyph button can copy them with their alpha channel.

#include "imaging/png/png_object.h"
#include "platform/ui/custom_image_list.h"

#include <vector>

class TPngImageList : public TCustomImageList {
public:
    explicit TPngImageList(TComponent* owner) : TCustomImageList(owner) {}
    QString ClassName() const override { return QStringLiteral("TPngImageList"); }

    // Adds a copy of `png`; returns the new index.
    int AddPng(const TPNGObject& png);
    const TPNGObject& PngImage(int index) const { return images_.at(static_cast<size_t>(index)); }
    int Count() const override { return static_cast<int>(images_.size()); }
    // The colours, and a mask that is black where alpha is not 0.
    TImageListIcon GetIcon(int index) const override;

private:
    std::vector<TPNGObject> images_;
};
