#include "grid/paint/row_pictures_eh.h"

#include <QPainter>

void TRowPicturesEh::BeginPaint(const TRowLookEh& look) {
    if (!(look == look_)) {
        kept_.clear();
        look_ = look;
    }
}

const QImage& TRowPicturesEh::Picture(const QStringList& texts,
                                      const std::function<void(QPainter&)>& paint) {
    auto found = kept_.find(texts);
    if (found == kept_.end()) {
        QImage picture(look_.size, look_.format);
        picture.fill(look_.background);
        QPainter painter(&picture);
        paint(painter);
        painter.end();
        found = kept_.insert(texts, {std::move(picture), false});
    }
    found->shown = true;
    return found->picture;
}

void TRowPicturesEh::EndPaint() {
    for (auto it = kept_.begin(); it != kept_.end();) {
        if (it->shown) {
            it->shown = false;
            ++it;
        } else {
            it = kept_.erase(it);
        }
    }
}
