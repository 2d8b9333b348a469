#include "imaging/graphics/picture.h"

#include "imaging/graphics/bitmap.h"
#include "imaging/graphics/little_endian.h"

void TPicture::SetGraphic(const TGraphic* graphic) {
    TakeGraphic(graphic ? graphic->Clone() : nullptr);
}

void TPicture::TakeGraphic(std::unique_ptr<TGraphic> graphic) {
    graphic_ = std::move(graphic);
    if (OnChange)
        OnChange();
}

void TPicture::LoadBitmapFromBlob(QByteArrayView blob) {
    constexpr qsizetype kHeaderSize = 8;
    if (blob.size() >= kHeaderSize && ReadLE16(blob, 0) == 1 && ReadLE16(blob, 2) == 0x0100 &&
        ReadLE32(blob, 4) == quint64(blob.size() - kHeaderSize))
        blob = blob.sliced(kHeaderSize);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromBytes(blob);
    TakeGraphic(std::move(bitmap));
}
