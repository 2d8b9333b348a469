// TEDBImage: painting.

#include "controls/dbimage/edb_image.h"
#include "controls/dbimage/picture_layout.h"
#include "data/dataset/fields/field.h"
#include "platform/ui/frame_3d.h"

#include <QPainter>

QRect TEDBImage::ClientRect() const {
    const int border = borderStyle_ == TBorderStyle::bsNone ? 0 : ctl3D_ ? 2 : 1;
    return QRect(0, 0, Widget()->width(), Widget()->height())
        .adjusted(border, border, -border, -border);
}

void TEDBImage::DrawBorder(QPainter& painter) const {
    if (borderStyle_ == TBorderStyle::bsNone)
        return;
    QRect rect(0, 0, Widget()->width(), Widget()->height());
    const QPalette& palette = Widget()->palette();
    if (ctl3D_) {
        // The sunken client edge: shadow and light outside, dark and face inside.
        Frame3D(painter, rect, palette.color(QPalette::Mid), palette.color(QPalette::Light), 1);
        Frame3D(painter, rect, palette.color(QPalette::Dark), palette.color(QPalette::Midlight), 1);
    } else {
        Frame3D(painter, rect, palette.color(QPalette::WindowText),
                palette.color(QPalette::WindowText), 1);
    }
}

void TEDBImage::Paint(QPainter& painter) {
    DrawPicture(painter, pictureLoaded_ ? &picture_ : nullptr);
}

void TEDBImage::PaintCopy(QPainter& painter) {
    TPicture copy;
    TField* field = dataLink_.Field();
    if (field && field->IsBlob() && !field->IsNull()) {
        stream_.Clear();
        stream_.Write(field->AsBytes());
        const TBlobFormat format = BlobFormat(stream_.View());
        try {
            if (format == TBlobFormat::BlobBitmap)
                copy.LoadBitmapFromBlob(stream_.View());
            else
                copy.TakeGraphic(ReadGraphic(format));
        } catch (...) {
            // A copy that cannot load shows no picture.
        }
        stream_.Clear();
    }
    DrawPicture(painter, &copy);
}

void TEDBImage::DrawPicture(QPainter& painter, const TPicture* picture) {
    const QRect client = ClientRect();
    DrawBorder(painter);
    painter.fillRect(client, Color());
    if (picture) {
        const TGraphic* graphic = picture->Graphic();
        if (graphic && !graphic->Empty()) {
            const QRect target = PictureRect(client.size(), {graphic->Width(), graphic->Height()},
                                             shrinkToFit_, zoomToFit_, center_);
            painter.save();
            painter.setClipRect(client);
            graphic->Draw(painter, target.translated(client.topLeft()));
            painter.restore();
        }
    } else {
        const TField* field = dataLink_.Field();
        painter.setFont(Widget()->font());
        painter.setPen(Widget()->palette().color(QPalette::WindowText));
        painter.drawText(client, Qt::AlignCenter | Qt::TextSingleLine,
                         u'(' + (field ? field->DisplayLabel() : Name()) + u')');
    }
    // The active control of its window shows a frame.
    if (Widget()->window()->focusWidget() == Widget()) {
        painter.setPen(Widget()->palette().color(QPalette::WindowText));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(client.adjusted(0, 0, -1, -1));
    }
}
