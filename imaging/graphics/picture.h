#pragma once
// TPicture: holds at most one graphic and tells its owner every time the
// graphic is set, to another graphic or to none.

#include "imaging/graphics/graphic.h"

#include <functional>
#include <memory>

class TPicture {
public:
    TPicture() = default;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    // The graphic, or null.
    TGraphic* Graphic() const { return graphic_.get(); }
    // A copy of `graphic` (none for null) becomes the graphic.
    void SetGraphic(const TGraphic* graphic);
    // The graphic itself becomes the picture's (none for null).
    void TakeGraphic(std::unique_ptr<TGraphic> graphic);
    void Clear() { TakeGraphic(nullptr); }
    void Assign(const TPicture& other) { SetGraphic(other.Graphic()); }

    // Loads a bitmap from a blob as the picture's own blob loading does: the
    // blob's first 8 bytes are a header to skip when it is longer than 7
    // bytes and they hold a 16-bit count of 1, a 16-bit type of 0x0100 and a
    // 32-bit size equal to the blob's length minus 8; otherwise the bitmap
    // starts at the first byte. Raises EInvalidGraphic and leaves the
    // picture as it was for a blob that holds no valid bitmap.
    void LoadBitmapFromBlob(QByteArrayView blob);

    // The graphic's size; 0 without one.
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // Called after every change of the graphic.
    std::function<void()> OnChange;

private:
    std::unique_ptr<TGraphic> graphic_;
};
