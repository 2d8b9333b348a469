#pragma once
// TEDBImage: the data-aware picture control. It shows the picture held in a
// blob field of the current record of its data source, loads it at every
// record change (AutoDisplay), writes an edited picture back into the field,
// and writes the field's bytes to a file (SaveToFile).

#include "controls/dbimage/blob_format.h"
#include "data/dataset/fields/field_datalink.h"
#include "imaging/graphics/picture.h"
#include "platform/core/memory_stream.h"
#include "platform/ui/custom_control.h"

#include <QColor>
#include <functional>
#include <memory>

class TDataSource;
class TField;

enum class TBorderStyle { bsNone, bsSingle };

// Loads blob contents the control does not recognise. B is none on entry; a
// handler that recognises the bytes sets it. Stream holds the blob's bytes,
// positioned at the start.
using TLoadCustomImageEvent =
    std::function<void(std::unique_ptr<TGraphic>& B, TMemoryStream& Stream)>;

class TEDBImage : public TCustomControl {
public:
    explicit TEDBImage(TComponent* owner = nullptr);
    ~TEDBImage() override;
    QString ClassName() const override { return QStringLiteral("TEDBImage"); }

    // ---- Published properties (defaults in brackets) ------------------------------
    // Load the picture at every record change; switching it on loads at once [true].
    bool AutoDisplay() const { return autoDisplay_; }
    void SetAutoDisplay(bool on);
    // bsSingle: a sunken edge with the 3-D look, a one-pixel frame without [bsSingle].
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool on);
    // Centre a picture drawn at its natural size [true].
    bool Center() const { return center_; }
    void SetCenter(bool on);
    // The blob field's name [empty].
    QString DataField() const { return dataLink_.FieldName(); }
    void SetDataField(const QString& name) { dataLink_.SetFieldName(name); }
    // The source of the dataset [none]; dropped when the source goes.
    TDataSource* DataSource() const { return dataLink_.DataSource(); }
    void SetDataSource(TDataSource* source) { dataLink_.SetDataSource(source); }
    // Kept for form descriptions; palettes play no part in drawing here [true].
    bool QuickDraw() const { return quickDraw_; }
    void SetQuickDraw(bool on) { quickDraw_ = on; }
    // The data link's read-only flag [false].
    bool ReadOnly() const { return dataLink_.ReadOnly(); }
    void SetReadOnly(bool on) { dataLink_.SetReadOnly(on); }
    // Shrink a picture larger than the control [false]; enlarge a smaller one [false].
    bool ShrinkToFit() const { return shrinkToFit_; }
    void SetShrinkToFit(bool on);
    bool ZoomToFit() const { return zoomToFit_; }
    void SetZoomToFit(bool on);
    // The background [the window colour]; ParentColor takes the parent's [false].
    QColor Color() const;
    void SetColor(const QColor& color);
    void SetColorName(const QString& name);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool on);

    TLoadCustomImageEvent OnLoadCustomImage;

    // ---- State ----------------------------------------------------------------------
    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }
    // The bound field, or null.
    TField* Field() const { return dataLink_.Field(); }
    // The control's data link, for actions and datasets that look for it.
    TFieldDataLink& DataLink() { return dataLink_; }
    // Set by every change of the picture, cleared at every record change.
    bool PictureLoaded() const { return pictureLoaded_; }

    // Loads the current record's blob into the picture unless it is loaded
    // already. Unreadable image data gives no picture; a 01 00 blob that is
    // no valid bitmap raises EInvalidGraphic.
    void LoadPicture();
    // Writes the current record's blob, byte for byte, as the whole file
    // `fileName` (a Windows-style path, mapped to the local system) when the
    // picture is loaded and the field is a blob field; else does nothing.
    // A file that cannot be written raises EFCreateError and keeps its old
    // content.
    void SaveToFile(const QString& fileName);

    // ---- Clipboard and editing (Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Delete, Esc) ------------
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    // Clears the picture when the dataset can be put into edit mode.
    void ClearPicture();
    // Discards the change: the field's value is shown (loaded) again.
    void Undo();

    // ---- Painting -------------------------------------------------------------------
    void Paint(QPainter& painter) override;
    // Paints a copy of the control for another control: the field is loaded
    // into a temporary picture, the control's own picture and flag stay.
    void PaintCopy(QPainter& painter);
    // The client area: the control's rectangle inside its border.
    QRect ClientRect() const;

protected:
    bool WidgetEvent(QEvent* event) override;

private:
    void DataChange();
    void PictureChanged();
    void UpdateData();
    void Invalidate();
    // The graphic of blob bytes that are no 01 00 bitmap; null when none loads.
    std::unique_ptr<TGraphic> ReadGraphic(TBlobFormat format);
    void DrawPicture(QPainter& painter, const TPicture* picture);
    void DrawBorder(QPainter& painter) const;
    bool EditKey(int key, Qt::KeyboardModifiers modifiers);
    bool ExitControl();

    TPicture picture_;
    TFieldDataLink dataLink_;
    TMemoryStream stream_; // holds the blob while a load runs
    bool pictureLoaded_ = false;
    bool autoDisplay_ = true;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    bool ctl3D_ = true;
    bool center_ = true;
    bool quickDraw_ = true;
    bool shrinkToFit_ = false;
    bool zoomToFit_ = false;
    bool parentColor_ = false;
    QColor color_;
};
