#pragma once
// TCustomImageList: the base of image lists, same-sized images that actions
// and buttons refer to by index; any image can be fetched as an icon.

#include "platform/core/component.h"

#include <QImage>

// An icon: a colour bitmap and a mask that is black where the image is opaque.
struct TImageListIcon {
    QImage color;
    QImage mask;
};

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* owner) : TComponent(owner) {}
    QString ClassName() const override { return QStringLiteral("TCustomImageList"); }

    virtual int Count() const = 0;
    // `index` must be between 0 and Count() - 1.
    virtual TImageListIcon GetIcon(int index) const = 0;
};
