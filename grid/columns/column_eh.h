#pragma once
// TColumnEh: one column of a grid: the field it shows (by name), its width
// and share in the width fitting, its font, alignment, title and footer.
// Columns live in a TDBGridColumnsEh, which knows the grid.

#include "data/dataset/fields/field.h"
#include "grid/columns/column_title_eh.h"
#include "grid/columns/grid_font_eh.h"

#include <optional>

class IColumnsHostEh;
class TDBGridColumnsEh;

class TColumnEh {
public:
    explicit TColumnEh(TDBGridColumnsEh& collection);
    virtual ~TColumnEh();
    TColumnEh(const TColumnEh&) = delete;
    TColumnEh& operator=(const TColumnEh&) = delete;

    TDBGridColumnsEh& Collection() const { return collection_; }
    // The place in the collection.
    int Index() const;

    // ---- The field ------------------------------------------------------------
    const QString& FieldName() const { return fieldName_; }
    // Also makes the column's width its fit weight.
    void SetFieldName(const QString& name);
    // The field of that name in the grid's dataset, while the dataset is open
    // or has persistent fields; the stored name then takes the field's own
    // letter case. Null when there is none. It is looked up at every call:
    // fields made by the dataset go when it closes, and a kept pointer could
    // outlive them.
    TField* Field() const;
    // The text the column shows for a value of its field ("" without a field).
    QString DisplayTextOf(const TValue& value) const;

    // ---- Width and fitting ------------------------------------------------------
    // The assigned width, else the default width.
    int Width() const { return width_.value_or(DefaultWidth()); }
    // Stores the value clamped to MaxWidth and MinWidth (never below 0); -1
    // is ignored.
    void SetWidth(int width);
    // The width a fitting pass or a user drag gives; negative values become 0.
    void AssignWidth(int width);
    bool WidthAssigned() const { return width_.has_value(); }
    // ("0" in the column font) × the field's display width + 4; the grid's
    // default column width without a field, 64 without a grid.
    int DefaultWidth() const;
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int w);
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int w);
    int FitWeight() const { return fitWeight_; }
    void SetFitWeight(int weight) { fitWeight_ = weight; }
    // Takes part in the fitting (default true).
    bool AutoFitColWidth() const { return autoFitColWidth_; }
    void SetAutoFitColWidth(bool on);

    // ---- Look and behaviour ----------------------------------------------------------
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // The assigned alignment, else the field's, else left.
    TAlignment Alignment() const;
    void SetAlignment(TAlignment a);
    // Based on the grid's font.
    TGridFontEh& Font() { return font_; }
    const TGridFontEh& Font() const { return font_; }
    QFont EffectiveFont() const;

    TColumnTitleEh& Title() { return title_; }
    const TColumnTitleEh& Title() const { return title_; }
    TColumnFooterEh& Footer() { return footer_; }
    const TColumnFooterEh& Footer() const { return footer_; }

    // Layout or look changed: tells the grid.
    void Changed(bool layout) const;
    IColumnsHostEh* Host() const;

private:
    TDBGridColumnsEh& collection_;
    mutable QString fieldName_;
    std::optional<int> width_;
    int minWidth_ = 0;
    int maxWidth_ = 0;
    int fitWeight_ = 0;
    bool autoFitColWidth_ = true;
    bool visible_ = true;
    bool readOnly_ = false;
    std::optional<TAlignment> alignment_;
    TGridFontEh font_;
    TColumnTitleEh title_;
    TColumnFooterEh footer_;
};

class TDBGridEh;

// TDBGridColumnEh: the column class of TDBGridEh.
class TDBGridColumnEh : public TColumnEh {
public:
    using TColumnEh::TColumnEh;
    // The grid the column belongs to; null for a collection without one.
    TDBGridEh* Grid() const;
};
