#pragma once
// TPngSpeedButton: a speed button whose glyph is a PNG image drawn with its
// alpha channel over the button; disabled, the glyph is faded and/or greyed.

#include "controls/pngbutton/png_options.h"
#include "imaging/png/png_object.h"
#include "platform/ui/speed_button.h"

class TAction;

class TPngSpeedButton : public TSpeedButton {
public:
    explicit TPngSpeedButton(TComponent* owner);
    ~TPngSpeedButton() override;
    QString ClassName() const override { return QStringLiteral("TPngSpeedButton"); }

    const TPNGObject& PngImage() const { return png_; }
    // Copies `image` (none empties the glyph). Truecolour and indexed images
    // lose their gAMA chunk, so that they show their colours as stored.
    void SetPngImage(const TPNGObject* image);
    // The bytes of a PNG file, as a form description stores the glyph; a
    // file that does not decode raises the decoder's error and changes nothing.
    void SetPngImageData(const QByteArray& pngFile);

    TPngOptions PngOptions() const { return options_; }
    void SetPngOptions(TPngOptions options);

    // True while the glyph is the image of the linked action, which is not
    // stored with the button.
    bool PngImageFromAction() const { return imageFromAction_; }
    TAction* Action() const { return action_; }
    // Links an action: its image becomes the glyph unless the button has a
    // PNG of its own; a click runs it when OnClick is not assigned.
    void SetAction(TAction* action);

    // The PNG's top-left corner on the button as it is drawn now.
    QPoint PngGlyphPosition() const;

    void Click() override;
    void Loaded() override;

protected:
    void Paint(QPainter& painter) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void GlyphChanged();
    void TakeActionImage();

    TPNGObject png_;
    TPngOptions options_ = pngBlendOnDisabled;
    bool imageFromAction_ = false;
    TAction* action_ = nullptr;
    // What Paint draws, for the enabled state it was made for; made again
    // after every change of image or options.
    QImage pixels_;
    bool pixelsValid_ = false;
    bool pixelsEnabled_ = true;
};
