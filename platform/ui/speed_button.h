#pragma once
// TSpeedButton: a flat-capable push button without keyboard focus that paints
// its own frame, glyph bitmap and caption, with hot, pressed, down and
// disabled looks, and grouped (exclusive) down states.

#include "platform/ui/control.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

class QPainter;
class QMouseEvent;
class TSpeedButtonWidget;

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// bsDown: held down by the mouse; bsExclusive: the Down property is set.
enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// Where the glyph's top-left corner and the caption go on the client rectangle.
struct TButtonPlacement {
    QPoint glyphPos;
    QRect textRect;
};

class TSpeedButton : public TControl {
public:
    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;
    QString ClassName() const override { return QStringLiteral("TSpeedButton"); }

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);
    // Flat buttons let the parent show through unless this is false.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

    // The glyph bitmap: NumGlyphs images side by side (up, disabled, pressed,
    // down). The colour of its bottom-left pixel is drawn as transparent.
    const QImage& Glyph() const { return glyph_; }
    void SetGlyph(const QImage& glyph);
    // The glyph as the bytes of a BMP file, which is how a form description
    // stores it. Raises EPropertyValue for bytes that are no BMP image.
    void SetGlyphData(const QByteArray& bmpFile);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int count);

    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout layout);
    // -1: automatic (centres glyph and caption together).
    int Margin() const { return margin_; }
    void SetMargin(int margin);
    // Pixels between glyph and caption; -1: automatic.
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);

    // Down only sticks for a button of a group (GroupIndex other than 0);
    // setting it raises the other buttons of the group in the same parent.
    bool Down() const { return down_; }
    void SetDown(bool down);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index);
    // Lets a click raise the down button of a group, leaving none down.
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool allow);

    void SetEnabled(bool enabled) override;

    // The look being drawn now.
    TButtonState State() const;
    bool MouseInControl() const { return mouseInControl_; }
    // Fires OnClick; exceptions go to the caller.
    virtual void Click();

    // The caption's size in the button's font; 0 x 0 when it is empty.
    QSize TextSize() const;
    // Places a glyph of `glyphSize` and the caption on the client rectangle,
    // shifted 1 pixel right and down while the button is pressed or down.
    TButtonPlacement CalcPlacement(QSize glyphSize) const;
    // The size of one glyph image (the bitmap's width divided by NumGlyphs).
    QSize GlyphSize() const;

protected:
    // Frame, glyph and caption. Subclasses draw on top of it.
    virtual void Paint(QPainter& painter);
    bool WidgetEvent(QEvent* event) override;

private:
    friend class TSpeedButtonWidget;
    void MousePress(QMouseEvent* event);
    void MouseMove(QMouseEvent* event);
    void MouseRelease(QMouseEvent* event);
    void PaintFrame(QPainter& painter, TButtonState state) const;
    void PaintGlyph(QPainter& painter, QPoint at, TButtonState state) const;
    void PaintCaption(QPainter& painter, const QRect& rect, TButtonState state) const;
    void RaiseOthersOfGroup();
    void Changed();

    QString caption_;
    QImage glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    bool flat_ = false;
    bool transparent_ = true;
    bool down_ = false;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool dragging_ = false;      // the left button went down on this button
    bool pressedInside_ = false; // ... and the mouse is over it now
    bool mouseInControl_ = false;
};

// Registers TSpeedButton with the form reader (Caption, Flat, Transparent,
// Glyph as BMP bytes, NumGlyphs, Layout, Margin, Spacing, Down, GroupIndex,
// AllowAllUp). TControl must be registered already; safe to call again.
void RegisterSpeedButtonClass();
