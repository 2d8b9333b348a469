#pragma once
// TPanel: a container control that paints its own outer and inner bevels and
// a centred caption; used docked (Align) or free-standing as a status panel.

#include "platform/ui/control.h"

class QPainter;
class TPanelWidget;

enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TControl {
public:
    explicit TPanel(TComponent* owner);
    ~TPanel() override;
    QString ClassName() const override { return QStringLiteral("TPanel"); }

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel bevel);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel bevel);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    // Pixels between the outer and the inner bevel.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    void SetColor(const QString& color);

    // The rectangle left inside both bevels, where the caption is centred.
    QRect ClientRect() const;

protected:
    virtual void Paint(QPainter& painter);

private:
    friend class TPanelWidget;
    void Changed();

    QString caption_;
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
    TPanelBevel bevelInner_ = TPanelBevel::bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
};
