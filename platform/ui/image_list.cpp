#include "platform/ui/image_list.h"

int TImageList::Add(const QImage& color, const QImage& mask) {
    icons_.push_back({color, mask});
    return Count() - 1;
}

TImageListIcon TImageList::GetIcon(int index) const {
    return icons_.at(static_cast<size_t>(index));
}
