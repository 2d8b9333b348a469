#include "grid/columns/column_eh.h"

#include "data/dataset/dataset.h"
#include "grid/columns/columns_host_eh.h"
#include "grid/columns/db_grid_columns_eh.h"
#include "grid/layout/column_fitting.h"

#include <QFontMetrics>

namespace {
// The width of a column with neither grid nor field.
constexpr int kNoGridColumnWidth = 64;
} // namespace

TColumnEh::TColumnEh(TDBGridColumnsEh& collection) : collection_(collection), title_(*this) {}

TColumnEh::~TColumnEh() = default;

int TColumnEh::Index() const {
    return collection_.IndexOf(this);
}

IColumnsHostEh* TColumnEh::Host() const {
    return collection_.Host();
}

void TColumnEh::Changed(bool layout) const {
    collection_.Changed(layout);
}

void TColumnEh::SetFieldName(const QString& name) {
    fieldName_ = name;
    fitWeight_ = Width();
    Changed(true);
}

TField* TColumnEh::Field() const {
    const IColumnsHostEh* host = Host();
    const TDataSet* dataSet = host ? host->ColumnsDataSet() : nullptr;
    if (fieldName_.isEmpty() || !dataSet || (!dataSet->Active() && dataSet->DefaultFields()))
        return nullptr;
    TField* field = dataSet->FindField(fieldName_);
    if (field && field->FieldName() != fieldName_)
        fieldName_ = field->FieldName();
    return field;
}

QString TColumnEh::DisplayTextOf(const TValue& value) const {
    const TField* field = Field();
    return field ? field->DisplayTextOf(value) : QString();
}

void TColumnEh::SetWidth(int width) {
    if (width == -1)
        return;
    AssignWidth(width);
}

void TColumnEh::AssignWidth(int width) {
    const int clamped = ClampColumnWidth(width, minWidth_, maxWidth_);
    if (width_ == clamped)
        return;
    width_ = clamped;
    Changed(true);
}

int TColumnEh::DefaultWidth() const {
    const IColumnsHostEh* host = Host();
    if (!host)
        return kNoGridColumnWidth;
    const TField* field = Field();
    if (!field)
        return host->DefaultColumnWidth();
    // Qt reports no overhang of synthesized styles; the formula keeps its place.
    const int overhang = 0;
    const QFontMetrics metrics(EffectiveFont());
    return (metrics.horizontalAdvance(QLatin1Char('0')) - overhang) * field->DisplayWidth() +
           overhang + 4;
}

void TColumnEh::SetMinWidth(int w) {
    minWidth_ = w;
    if (width_)
        AssignWidth(*width_);
}

void TColumnEh::SetMaxWidth(int w) {
    maxWidth_ = w;
    if (width_)
        AssignWidth(*width_);
}

void TColumnEh::SetAutoFitColWidth(bool on) {
    autoFitColWidth_ = on;
    Changed(true);
}

void TColumnEh::SetVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    Changed(true);
}

TAlignment TColumnEh::Alignment() const {
    if (alignment_)
        return *alignment_;
    const TField* field = Field();
    return field ? field->Alignment() : taLeftJustify;
}

void TColumnEh::SetAlignment(TAlignment a) {
    alignment_ = a;
    Changed(false);
}

QFont TColumnEh::EffectiveFont() const {
    const IColumnsHostEh* host = Host();
    return font_.Font(host ? host->ColumnsFont() : QFont());
}

TDBGridEh* TDBGridColumnEh::Grid() const {
    return Collection().Grid();
}

// ---- Title --------------------------------------------------------------------------

QString TColumnTitleEh::Caption() const {
    if (caption_)
        return *caption_;
    const TField* field = column_.Field();
    return field ? field->DisplayLabel() : column_.FieldName();
}

void TColumnTitleEh::SetCaption(const QString& caption) {
    caption_ = caption;
    Changed(false);
}

bool TColumnTitleEh::TitleButton() const {
    if (titleButton_)
        return *titleButton_;
    const IColumnsHostEh* host = column_.Host();
    return host && host->DefaultTitleButton();
}

void TColumnTitleEh::SetTitleButton(bool on) {
    titleButton_ = on;
    Changed(false);
}

void TColumnTitleEh::SetSortMarker(TSortMarkerEh marker) {
    if (sortMarker_ == marker)
        return;
    sortMarker_ = marker;
    Changed(false);
}

void TColumnTitleEh::SetSortIndex(int index) {
    if (sortIndex_ == index)
        return;
    sortIndex_ = index;
    Changed(false);
}

void TColumnTitleEh::SetAlignment(TAlignment a) {
    alignment_ = a;
    Changed(false);
}

QFont TColumnTitleEh::EffectiveFont() const {
    const IColumnsHostEh* host = column_.Host();
    return font_.Font(host ? host->ColumnsTitleFont() : QFont());
}

void TColumnTitleEh::Changed(bool layout) const {
    column_.Changed(layout);
}
