#include "grid/paint/row_pictures_eh.h"

#include <QPainter>

namespace {

// Dropped pictures kept for new rows: more than a view holds.
constexpr size_t kSpares = 64;

} // namespace

void TRowPicturesEh::BeginPaint(const TRowLookEh& look) {
    if (!(look == look_)) {
        kept_.clear();
        spare_.clear();
        look_ = look;
    }
}

const QImage& TRowPicturesEh::Picture(const QStringList& texts,
                                      const std::function<void(QPainter&)>& paint) {
    auto found = kept_.find(texts);
    if (found == kept_.end()) {
        // A picture dropped earlier serves again, with its painter's set-up.
        QImage picture;
        if (spare_.empty()) {
            picture = QImage(look_.size, look_.format);
        } else {
            picture = std::move(spare_.back());
            spare_.pop_back();
        }
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
            if (spare_.size() < kSpares)
                spare_.push_back(std::move(it->picture));
            it = kept_.erase(it);
        }
    }
}
