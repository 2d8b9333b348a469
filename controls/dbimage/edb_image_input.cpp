// TEDBImage: keys, mouse, leaving the control, and the clipboard.

#include "controls/dbimage/edb_image.h"
#include "imaging/graphics/bitmap.h"
#include "imaging/graphics/metafile.h"
#include "platform/ui/application.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>

bool TEDBImage::WidgetEvent(QEvent* event) {
    if (InDestruction())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (HandleKey(key))
            return true;
        bool handled = false;
        Application->Dispatch(this, [&] { handled = EditKey(key->key(), key->modifiers()); });
        return handled;
    }
    case QEvent::MouseButtonDblClick:
        Application->Dispatch(this, [&] { LoadPicture(); });
        return false;
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            !ExitControl())
            return false; // the focus went back; OnExit does not run
        return TCustomControl::WidgetEvent(event);
    }
    default:
        return TCustomControl::WidgetEvent(event);
    }
}

// Leaving the control while the dataset edits writes the picture into the
// field; when that fails the focus comes back and the error is reported.
bool TEDBImage::ExitControl() {
    bool done = false;
    Application->Dispatch(this, [&] {
        try {
            dataLink_.UpdateRecord();
            done = true;
        } catch (...) {
            SetFocus();
            throw;
        }
    });
    return done;
}

bool TEDBImage::EditKey(int key, Qt::KeyboardModifiers modifiers) {
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    switch (key) {
    case Qt::Key_C:
        if (!ctrl)
            return false;
        CopyToClipboard();
        return true;
    case Qt::Key_X:
        if (!ctrl)
            return false;
        CutToClipboard();
        return true;
    case Qt::Key_V:
        if (!ctrl)
            return false;
        PasteFromClipboard();
        return true;
    case Qt::Key_Z:
        if (!ctrl)
            return false;
        Undo();
        return true;
    case Qt::Key_Insert:
        if (ctrl)
            CopyToClipboard();
        else if (shift)
            PasteFromClipboard();
        return ctrl || shift;
    case Qt::Key_Delete:
        if (ctrl)
            ClearPicture();
        else if (shift)
            CutToClipboard();
        return ctrl || shift;
    case Qt::Key_Escape:
        Undo();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        LoadPicture();
        return true;
    default:
        return false;
    }
}

void TEDBImage::CopyToClipboard() {
    const TGraphic* graphic = picture_.Graphic();
    if (!graphic)
        return;
    auto data = std::make_unique<QMimeData>();
    graphic->SaveToClipboard(*data);
    QGuiApplication::clipboard()->setMimeData(data.release());
}

void TEDBImage::CutToClipboard() {
    if (picture_.Graphic() && dataLink_.Edit()) {
        CopyToClipboard();
        picture_.Clear();
    }
}

void TEDBImage::PasteFromClipboard() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return;
    // A bitmap first, then a metafile.
    std::unique_ptr<TGraphic> graphic;
    const QString metafileType = QString::fromLatin1(TMetafile::kMimeType);
    if (data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        if (!image.isNull())
            graphic = std::make_unique<TBitmap>(image);
    }
    if (!graphic && data->hasFormat(metafileType)) {
        auto metafile = std::make_unique<TMetafile>();
        metafile->LoadFromBytes(data->data(metafileType));
        graphic = std::move(metafile);
    }
    if (graphic && dataLink_.Edit())
        picture_.TakeGraphic(std::move(graphic));
}

void TEDBImage::ClearPicture() {
    if (dataLink_.Edit())
        picture_.Clear();
}

void TEDBImage::Undo() {
    dataLink_.Reset();
}
