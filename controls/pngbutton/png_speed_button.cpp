#include "controls/pngbutton/png_speed_button.h"

#include "controls/pngbutton/png_blend.h"
#include "controls/pngbutton/png_disabled_look.h"
#include "controls/pngbutton/png_image_list.h"
#include "platform/ui/action.h"

#include <QPainter>
#include <QWidget>
#include <vector>

namespace {

// An icon of a plain image list as a PNG: its colours as truecolour, its mask
// as the alpha channel (black: opaque).
TPNGObject IconToPng(const TImageListIcon& icon) {
    const QImage color = icon.color.convertToFormat(QImage::Format_RGB32);
    const QImage mask = icon.mask.convertToFormat(QImage::Format_RGB32);
    const int width = color.width();
    const int height = color.height();
    std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4);
    uint8_t* out = rgba.data();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, out += 4) {
            const QRgb c = color.pixel(x, y);
            const bool opaque = mask.valid(x, y) && (mask.pixel(x, y) & RGB_MASK) == 0;
            out[0] = static_cast<uint8_t>(qRed(c));
            out[1] = static_cast<uint8_t>(qGreen(c));
            out[2] = static_cast<uint8_t>(qBlue(c));
            out[3] = opaque ? 255 : 0;
        }
    return TPNGObject::FromRgba(static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                                rgba.data(), true);
}

} // namespace

TPngSpeedButton::TPngSpeedButton(TComponent* owner) : TSpeedButton(owner) {}

TPngSpeedButton::~TPngSpeedButton() {
    if (action_)
        action_->RemoveChangeLink(this);
}

void TPngSpeedButton::SetPngImage(const TPNGObject* image) {
    png_.Assign(image);
    const TPngColorType type = png_.ColorType();
    if (!png_.Empty() && (type == TPngColorType::Truecolor || type == TPngColorType::Indexed ||
                          type == TPngColorType::TruecolorAlpha))
        png_.RemoveChunk("gAMA");
    imageFromAction_ = false;
    GlyphChanged();
}

void TPngSpeedButton::SetPngImageData(const QByteArray& pngFile) {
    TPNGObject loaded;
    if (!pngFile.isEmpty())
        loaded.LoadFromBytes(std::span(reinterpret_cast<const uint8_t*>(pngFile.constData()),
                                       static_cast<size_t>(pngFile.size())));
    SetPngImage(&loaded);
}

void TPngSpeedButton::SetPngOptions(TPngOptions options) {
    options_ = options & (pngBlendOnDisabled | pngGrayscaleOnDisabled);
    GlyphChanged();
}

void TPngSpeedButton::Loaded() {
    TSpeedButton::Loaded();
    GlyphChanged();
}

void TPngSpeedButton::GlyphChanged() {
    pixelsValid_ = false;
    // The base class places the caption beside a glyph of the PNG's size;
    // filled with the colour it takes as transparent, it draws nothing.
    QImage placeholder;
    if (!png_.Empty()) {
        placeholder = QImage(static_cast<int>(png_.Width()), static_cast<int>(png_.Height()),
                             QImage::Format_RGB32);
        placeholder.fill(Widget()->palette().color(QPalette::Button));
    }
    SetNumGlyphs(1);
    SetGlyph(placeholder);
}

QPoint TPngSpeedButton::PngGlyphPosition() const {
    return CalcPlacement(QSize(static_cast<int>(png_.Width()), static_cast<int>(png_.Height())))
        .glyphPos;
}

void TPngSpeedButton::Paint(QPainter& painter) {
    TSpeedButton::Paint(painter);
    if (png_.Empty())
        return;
    const bool enabled = Enabled();
    if (!pixelsValid_ || pixelsEnabled_ != enabled) {
        pixels_ = PngGlyphPixels(png_, enabled, options_);
        pixelsValid_ = true;
        pixelsEnabled_ = enabled;
    }
    const QPoint at = PngGlyphPosition();
    if (enabled && png_.Transparency() == TPngTransparency::None)
        painter.drawImage(at, pixels_); // opaque: copied as it is
    else
        DrawBlendedGlyph(painter, at, pixels_);
}

void TPngSpeedButton::SetAction(TAction* action) {
    if (action == action_)
        return;
    if (action_) {
        action_->RemoveChangeLink(this);
        RemoveFreeNotification(action_);
        action_->RemoveFreeNotification(this);
    }
    action_ = action;
    if (action_) {
        action_->AddChangeLink(this, [this] { TakeActionImage(); });
        TakeActionImage();
    }
}

void TPngSpeedButton::TakeActionImage() {
    if (!action_ || !action_->HasImage())
        return;
    // A PNG of the button's own wins over the action's image.
    if (!png_.Empty() && !imageFromAction_)
        return;
    TCustomImageList* images = action_->Images();
    const int index = action_->ImageIndex();
    if (const auto* pngImages = dynamic_cast<const TPngImageList*>(images))
        png_.Assign(&pngImages->PngImage(index));
    else
        png_ = IconToPng(images->GetIcon(index));
    imageFromAction_ = true;
    GlyphChanged();
}

void TPngSpeedButton::Click() {
    if (!OnClick && action_ && action_->Execute())
        return;
    TSpeedButton::Click();
}

void TPngSpeedButton::Notification(TComponent* component, TOperation operation) {
    TSpeedButton::Notification(component, operation);
    if (operation == TOperation::opRemove && component == action_)
        action_ = nullptr;
}
