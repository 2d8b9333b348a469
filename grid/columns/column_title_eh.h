#pragma once
// TColumnTitleEh: the title of a grid column: its caption, whether it is a
// push button, its font and alignment, and the sort marker and sort index
// that the title sorting sets and the title painter shows.

#include "data/dataset/fields/field.h"
#include "grid/columns/grid_font_eh.h"

#include <QString>
#include <optional>

class TColumnEh;

enum TSortMarkerEh { smNoneEh, smDownEh, smUpEh };

class TColumnTitleEh {
public:
    explicit TColumnTitleEh(TColumnEh& column) : column_(column) {}
    TColumnTitleEh(const TColumnTitleEh&) = delete;
    TColumnTitleEh& operator=(const TColumnTitleEh&) = delete;

    TColumnEh& Column() const { return column_; }

    // The assigned caption, else the field's display label, else FieldName.
    QString Caption() const;
    void SetCaption(const QString& caption);
    bool CaptionAssigned() const { return caption_.has_value(); }

    // The assigned value, else the grid's ColumnDefValues.Title.TitleButton.
    bool TitleButton() const;
    void SetTitleButton(bool on);

    TSortMarkerEh SortMarker() const { return sortMarker_; }
    void SetSortMarker(TSortMarkerEh marker);
    // 0 when unmarked, else the column's 1-based place in the sort.
    int SortIndex() const { return sortIndex_; }
    void SetSortIndex(int index);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    // Based on the grid's TitleFont.
    TGridFontEh& Font() { return font_; }
    const TGridFontEh& Font() const { return font_; }
    QFont EffectiveFont() const;
    QColor FontColor(const QColor& gridTitleColor) const { return font_.Color(gridTitleColor); }

private:
    void Changed(bool layout) const;

    TColumnEh& column_;
    std::optional<QString> caption_;
    std::optional<bool> titleButton_;
    TSortMarkerEh sortMarker_ = smNoneEh;
    int sortIndex_ = 0;
    TAlignment alignment_ = taLeftJustify;
    TGridFontEh font_;
};

// TColumnFooterEh: a column's footer cell. No footer value is defined in this
// program, so a footer shows an empty cell; the value type is kept for the
// descriptions that name it.
enum TFooterValueTypeEh { fvtNon, fvtSum, fvtAvg, fvtCount, fvtFieldValue, fvtStaticText };

class TColumnFooterEh {
public:
    TFooterValueTypeEh ValueType() const { return valueType_; }
    void SetValueType(TFooterValueTypeEh t) { valueType_ = t; }
    const QString& Value() const { return value_; }
    void SetValue(const QString& v) { value_ = v; }
    // What the footer cell shows: the static text, else nothing.
    QString DisplayText() const { return valueType_ == fvtStaticText ? value_ : QString(); }

private:
    TFooterValueTypeEh valueType_ = fvtNon;
    QString value_;
};
