#include "controls/dbimage/edb_image.h"

#include "data/dataset/datasource.h"
#include "data/dataset/fields/field.h"
#include "platform/system/file_write.h"

TEDBImage::TEDBImage(TComponent* owner) : TCustomControl(owner) {
    dataLink_.SetControl(this);
    dataLink_.OnDataChange = [this](TObject*) { DataChange(); };
    dataLink_.OnUpdateData = [this](TObject*) { UpdateData(); };
    picture_.OnChange = [this] { PictureChanged(); };
    // Created with an empty picture that is not loaded.
    pictureLoaded_ = false;
    SetBounds(0, 0, 105, 105);
}

TEDBImage::~TEDBImage() {
    // The link must not call back into a control that is going away.
    dataLink_.OnDataChange = nullptr;
    dataLink_.OnUpdateData = nullptr;
    picture_.OnChange = nullptr;
    dataLink_.SetDataSource(nullptr);
}

// ---- Properties ---------------------------------------------------------------------

void TEDBImage::SetAutoDisplay(bool on) {
    if (autoDisplay_ == on)
        return;
    autoDisplay_ = on;
    if (on)
        LoadPicture();
}

void TEDBImage::SetBorderStyle(TBorderStyle style) {
    borderStyle_ = style;
    Invalidate();
}

void TEDBImage::SetCtl3D(bool on) {
    ctl3D_ = on;
    Invalidate();
}

void TEDBImage::SetCenter(bool on) {
    center_ = on;
    Invalidate();
}

void TEDBImage::SetShrinkToFit(bool on) {
    shrinkToFit_ = on;
    Invalidate();
}

void TEDBImage::SetZoomToFit(bool on) {
    zoomToFit_ = on;
    Invalidate();
}

QColor TEDBImage::Color() const {
    if (parentColor_ && Parent())
        return Parent()->Widget()->palette().color(QPalette::Window);
    return color_.isValid() ? color_ : Widget()->palette().color(QPalette::Base);
}

void TEDBImage::SetColor(const QColor& color) {
    color_ = color;
    parentColor_ = false;
    Invalidate();
}

void TEDBImage::SetColorName(const QString& name) {
    SetColor(QColor(name));
}

void TEDBImage::SetParentColor(bool on) {
    parentColor_ = on;
    Invalidate();
}

// ---- Loading --------------------------------------------------------------------------

void TEDBImage::DataChange() {
    picture_.Clear();
    pictureLoaded_ = false;
    if (autoDisplay_)
        LoadPicture();
}

void TEDBImage::PictureChanged() {
    if (pictureLoaded_)
        dataLink_.Modified();
    pictureLoaded_ = true;
    Invalidate();
}

void TEDBImage::LoadPicture() {
    if (pictureLoaded_)
        return;
    TField* field = dataLink_.Field();
    if (field && !field->IsBlob())
        return;
    if (!field || field->IsNull()) {
        picture_.Clear();
        return;
    }
    // The stream holds the blob only while this load runs, whichever way it ends.
    struct EmptyStream {
        TMemoryStream& stream;
        ~EmptyStream() { stream.Clear(); }
    } emptyStream{stream_};
    stream_.Clear();
    stream_.Write(field->AsBytes());
    stream_.Rewind();

    const TBlobFormat format = BlobFormat(stream_.View());
    if (format == TBlobFormat::BlobBitmap) {
        // Not caught: a blob that is no valid bitmap reaches whoever moved the record.
        picture_.LoadBitmapFromBlob(stream_.View());
        return;
    }
    picture_.TakeGraphic(ReadGraphic(format));
}

std::unique_ptr<TGraphic> TEDBImage::ReadGraphic(TBlobFormat format) {
    std::unique_ptr<TGraphic> graphic = NewGraphic(format);
    stream_.Rewind();
    if (graphic) {
        try {
            graphic->LoadFromStream(stream_);
        } catch (...) {
            graphic.reset(); // unreadable image data shows no picture
        }
    }
    if (!graphic && OnLoadCustomImage) {
        stream_.Rewind();
        try {
            OnLoadCustomImage(graphic, stream_);
        } catch (...) {
            graphic.reset();
        }
    }
    return graphic;
}

// ---- Writing ------------------------------------------------------------------------

void TEDBImage::SaveToFile(const QString& fileName) {
    TField* field = dataLink_.Field();
    if (!pictureLoaded_ || !field || !field->IsBlob())
        return;
    // Straight from the field's value; the picture plays no part.
    WriteWholeFile(fileName, field->AsBytes());
}

void TEDBImage::UpdateData() {
    TField* field = dataLink_.Field();
    QByteArray bytes;
    try {
        const TGraphic* graphic = picture_.Graphic();
        if (!graphic)
            throw EInvalidGraphic(QStringLiteral("There is no picture to save"));
        TMemoryStream stream;
        graphic->SaveToStream(stream);
        bytes = stream.View().toByteArray();
    } catch (...) {
        field->Clear();
        return;
    }
    field->SetAsBytes(bytes);
}

void TEDBImage::Invalidate() {
    if (Widget())
        Widget()->update();
}
