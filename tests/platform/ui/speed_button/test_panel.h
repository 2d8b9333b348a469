#pragma once
// A plain panel of a known colour for button tests: buttons sit on it, and
// it renders itself and them into an image.

#include "platform/ui/control.h"

#include <QImage>
#include <QPalette>

class TTestPanel : public TControl {
public:
    explicit TTestPanel(TComponent* owner = nullptr) : TControl(owner, new QWidget) {
        QPalette palette = Widget()->palette();
        palette.setColor(QPalette::Window, Color());
        Widget()->setPalette(palette);
        Widget()->setAutoFillBackground(true);
        SetBounds(0, 0, 200, 100);
    }
    QString ClassName() const override { return QStringLiteral("TTestPanel"); }

    // Distinct from every colour the buttons draw with.
    static QColor Color() { return QColor(0, 128, 128); }

    QImage Render() const {
        QImage image(Widget()->size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        Widget()->render(&image);
        return image;
    }
};
