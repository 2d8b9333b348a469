#include "grid/dbgrideh.h"

#include "data/dataset/datasource.h"
#include "grid/editor/inplace_edit_eh.h"
#include "grid/grid_widget_eh.h"
#include "grid/input/grid_keys_eh.h"
#include "grid/input/grid_mouse_eh.h"
#include "grid/paint/grid_cell_painter_eh.h"
#include "grid/paint/grid_painter_eh.h"
#include "grid/paint/row_pictures_eh.h"
#include "grid/sorting/sort_marking_eh.h"

#include <QEvent>
#include <algorithm>

TDBGridEh::TDBGridEh(TComponent* owner) : TControl(owner, new TGridWidgetEh) {
    widget_ = static_cast<TGridWidgetEh*>(Widget());
    widget_->grid = this;
    keys_ = std::make_unique<TGridKeysEh>(*this);
    mouse_ = std::make_unique<TGridMouseEh>(*this);
    rowPictures_ = std::make_unique<TRowPicturesEh>();
    editor_ = new TInplaceEditEh(*this, widget_->viewport());
    SetBorderSingle(true);
    SetBounds(0, 0, 320, 120);
    LayoutChanged();
    AddRegisteredExtensionsEh(*this);
}

TDBGridEh::~TDBGridEh() {
    widget_->grid = nullptr;
    delete editor_;
    editor_ = nullptr;
}

TGridWidgetEh& TDBGridEh::GridWidget() const {
    return *widget_;
}

// ---- Data ---------------------------------------------------------------------------------

TDataSource* TDBGridEh::DataSource() const {
    return dataLink_.DataSource();
}

void TDBGridEh::SetDataSource(TDataSource* source) {
    dataLink_.SetDataSource(source);
    LayoutChanged();
}

TDataSet* TDBGridEh::DataSet() const {
    return dataLink_.DataSet();
}

void TDBGridEh::LinkActiveChanged() {
    HideEditor();
    appendedByGrid_ = false;
    LayoutChanged();
}

void TDBGridEh::LinkEditingChanged() {
    if (!dataLink_.Editing())
        appendedByGrid_ = false;
    SyncRows();
    InvalidateGrid();
}

void TDBGridEh::LinkDataSetChanged() {
    SyncRows();
    TDataSet* dataSet = DataSet();
    if (EditorMode() && dataSet &&
        (dataSet->RecNo() != editorRecNo_ || (dataSet->State() == dsInsert) != editorInsert_))
        HideEditor();
    PlaceEditor();
    InvalidateGrid();
    CurrentCellMaybeChanged();
}

void TDBGridEh::LinkDataSetScrolled(int) {
    LinkDataSetChanged();
}

void TDBGridEh::LinkRecordChanged(TField* field) {
    const TColumnEh* column = SelectedColumn();
    if (EditorMode() && !editor_->Modified() && column && (!field || field == column->Field()))
        ResetEditorText();
    InvalidateGrid();
}

void TDBGridEh::LinkLayoutChanged() {
    LayoutChanged();
}

void TDBGridEh::LinkUpdateData() {
    UpdateText();
}

void TDBGridEh::LinkFocusControl(TField* field) {
    for (int i = 0; i < columns_.Count(); ++i) {
        if (columns_[i].Visible() && columns_[i].Field() == field) {
            SetSelectedIndex(i);
            SetFocus();
            return;
        }
    }
}

// ---- Columns ------------------------------------------------------------------------------

void TDBGridEh::ColumnsChanged(TColumnChangeEh change) {
    if (change == TColumnChangeEh::Layout)
        LayoutChanged();
    else
        InvalidateGrid();
}

QFont TDBGridEh::ColumnsTitleFont() const {
    return titleFont_.Font(Font());
}

void TDBGridEh::SetSelectedIndex(int index) {
    index = std::clamp(index, 0, std::max(0, columns_.Count() - 1));
    if (index == selectedIndex_)
        return;
    if (EditorMode()) {
        UpdateText();
        HideEditor();
    }
    selectedIndex_ = index;
    ScrollColumnIntoView(VisibleSelectedIndex());
    PlaceEditor();
    InvalidateGrid();
    CurrentCellMaybeChanged();
}

void TDBGridEh::ScrollColumnIntoView(int visibleIndex) {
    // A fitted grid shows every column; otherwise the first column shown moves
    // as little as it must for the column to be whole on view.
    if (autoFitColWidths_ || visibleIndex < 0)
        return;
    const int line = options_.Contains(TDBGridOption::dgColLines) ? 1 : 0;
    if (visibleIndex < leftColumn_) {
        leftColumn_ = visibleIndex;
    } else {
        int right = geometry_.indicatorWidth > 0 ? geometry_.indicatorWidth + line : 0;
        for (int i = leftColumn_; i <= visibleIndex; ++i)
            right += CellWidth(i) + line;
        while (leftColumn_ < visibleIndex && right > ClientWidth())
            right -= CellWidth(leftColumn_++) + line;
    }
    geometry_.LayColumns(cellWidths_, leftColumn_);
}

TColumnEh* TDBGridEh::SelectedColumn() const {
    if (selectedIndex_ < 0 || selectedIndex_ >= columns_.Count())
        return nullptr;
    return &columns_[selectedIndex_];
}

int TDBGridEh::VisibleSelectedIndex() const {
    const TColumnEh* selected = SelectedColumn();
    const std::vector<TColumnEh*> visible = VisibleColumns();
    for (size_t i = 0; i < visible.size(); ++i)
        if (visible[i] == selected)
            return static_cast<int>(i);
    return -1;
}

void TDBGridEh::SelectVisibleColumn(int visibleIndex) {
    const std::vector<TColumnEh*> visible = VisibleColumns();
    if (visibleIndex < 0 || visibleIndex >= static_cast<int>(visible.size()))
        return;
    SetSelectedIndex(visible[static_cast<size_t>(visibleIndex)]->Index());
}

void TDBGridEh::ClampSelectedIndex() {
    selectedIndex_ = std::clamp(selectedIndex_, 0, std::max(0, columns_.Count() - 1));
    const TColumnEh* selected = SelectedColumn();
    if (selected && !selected->Visible()) {
        const std::vector<TColumnEh*> visible = VisibleColumns();
        if (!visible.empty())
            selectedIndex_ = visible.front()->Index();
    }
}

std::vector<TColumnEh*> TDBGridEh::SortColumnList() const {
    return SortMarkingEh::SortColumnList(columns_);
}

QString TDBGridEh::CellDisplayText(const TColumnEh& column) const {
    const TField* field = column.Field();
    return field && dataLink_.Active() ? field->DisplayText() : QString();
}

void TDBGridEh::MoveColumn(int fromVisible, int toVisible) {
    const std::vector<TColumnEh*> visible = VisibleColumns();
    const int count = static_cast<int>(visible.size());
    if (fromVisible < 0 || fromVisible >= count || toVisible < 0 || toVisible >= count ||
        fromVisible == toVisible)
        return;
    if (EditorMode()) {
        UpdateText();
        HideEditor();
    }
    const TColumnEh* selected = SelectedColumn();
    columns_.Move(visible[static_cast<size_t>(fromVisible)]->Index(),
                  visible[static_cast<size_t>(toVisible)]->Index());
    if (selected)
        selectedIndex_ = selected->Index();
    LayoutChanged();
}

void TDBGridEh::TitleClick(TColumnEh& column, TShiftState shift) {
    if (OnTitleBtnClick) {
        // The column's place among the grid's cells, the indicator counting as the first.
        const std::vector<TColumnEh*> visible = VisibleColumns();
        const auto at = std::find(visible.begin(), visible.end(), &column);
        const int col = static_cast<int>(at - visible.begin()) + (geometry_.indicatorWidth > 0);
        OnTitleBtnClick(this, col, &column);
    }
    for (const auto& extension : extensions_)
        extension->TitleClicked(*this, column, shift);
}

// ---- Settings ------------------------------------------------------------------------------

void TDBGridEh::SetOptions(TDBGridOptions options) {
    options_ = options;
    LayoutChanged();
}

void TDBGridEh::SetOptionsEh(TDBGridEhOptions options) {
    // Only the first sorted column stays marked once several may not be;
    // cleared while the multiple marking still holds, it keeps index 1.
    if (!loading_ && MultiSortMarking() && !options.Contains(TDBGridEhOption::dghMultiSortMarking))
        SortMarkingEh::KeepFirstSortColumn(columns_);
    optionsEh_ = options;
    LayoutChanged();
}

void TDBGridEh::SetIndicatorOptions(TGridIndicatorOptions options) {
    indicatorOptions_ = options;
    InvalidateGrid();
}

void TDBGridEh::SetAutoFitColWidths(bool on) {
    autoFitColWidths_ = on;
    if (on)
        leftColumn_ = 0;
    LayoutChanged();
}

void TDBGridEh::SetMinAutoFitWidth(int width) {
    minAutoFitWidth_ = width;
    LayoutChanged();
}

void TDBGridEh::SetReadOnly(bool on) {
    readOnly_ = on;
    if (on)
        HideEditor();
}

void TDBGridEh::SetFlat(bool on) {
    flat_ = on;
    LayoutChanged();
}

void TDBGridEh::SetFooterRowCount(int count) {
    footerRowCount_ = std::max(0, count);
    LayoutChanged();
}

void TDBGridEh::SetDefaultColWidth(int width) {
    defaultColWidth_ = width;
    LayoutChanged();
}

void TDBGridEh::SetBorderSingle(bool on) {
    borderSingle_ = on;
    widget_->setFrameStyle(on ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
    widget_->setLineWidth(on ? 2 : 0);
}

void TDBGridEh::SetVertScrollBarVisibleMode(TScrollBarVisibleModeEh mode) {
    vertVisibleMode_ = mode;
    UpdateScrollBars();
}

void TDBGridEh::SetVertScrollBarTracking(bool on) {
    vertTracking_ = on;
}

void TDBGridEh::SetColor(const TColor& color) {
    color_ = color;
    InvalidateGrid();
}

void TDBGridEh::SetFixedColor(const TColor& color) {
    fixedColor_ = color;
    InvalidateGrid();
}

void TDBGridEh::SetFooterColor(const TColor& color) {
    footerColor_ = color;
    InvalidateGrid();
}

QFont TDBGridEh::Font() const {
    return widget_->font();
}

void TDBGridEh::FontsChanged() {
    LayoutChanged();
}

TGridPaletteEh TDBGridEh::Palette() const {
    const QPalette& p = widget_->palette();
    TGridPaletteEh palette;
    palette.fixed = fixedColor_.Resolve(p);
    palette.window = color_.Resolve(p);
    palette.footer = footerColor_.Resolve(p);
    palette.text = p.color(QPalette::Text);
    palette.fixedText = titleFont_.Color(p.color(QPalette::ButtonText));
    palette.footerText = footerFont_.Color(p.color(QPalette::Text));
    palette.highlight = Colors::clHighlight.Resolve(p);
    palette.highlightText = Colors::clHighlightText.Resolve(p);
    palette.light = Colors::clBtnHighlight.Resolve(p);
    palette.shadow = Colors::clBtnShadow.Resolve(p);
    palette.dataLines = QColor(192, 192, 192);
    palette.fixedLines = p.color(QPalette::Shadow);
    return palette;
}

void TDBGridEh::Loaded() {
    TControl::Loaded();
    loading_ = false;
    // The weights are the widths the form declared, or the fields' display widths.
    if (autoFitColWidths_)
        for (int i = 0; i < columns_.Count(); ++i)
            columns_[i].SetFitWeight(columns_[i].Width());
    sumList_.Producer().SetDataSet(DataSet());
    SortMarkingEh::RebuildSortColumnList(columns_);
    LayoutChanged();
}

void TDBGridEh::BeginLoading() {
    loading_ = true;
}

// ---- Focus, keys, painting -----------------------------------------------------------------

bool TDBGridEh::HasFocusWithin() const {
    return widget_->hasFocus() || (editor_ && editor_->hasFocus());
}

void TDBGridEh::InvalidateGrid() {
    widget_->viewport()->update();
}

void TDBGridEh::InvalidateCurrentRow() {
    // Cheap enough to repaint the whole view: it holds the visible rows only.
    InvalidateGrid();
}

void TDBGridEh::FocusEnteredGrid() {
    InvalidateCurrentRow();
}

void TDBGridEh::FocusLeftGrid(bool toAnotherControl) {
    for (const auto& extension : extensions_)
        extension->FocusLost(*this);
    InvalidateGrid();
    if (!toAnotherControl)
        return;
    TDataSet* dataSet = DataSet();
    if (dataLink_.Active() && dataSet) {
        if (options_.Contains(TDBGridOption::dgCancelOnExit) && NewRecordUnchanged()) {
            dataSet->Cancel();
        } else {
            try {
                UpdateText();
            } catch (...) {
                // The text the field refused stays in the editor, which gets
                // the focus back so that it can be put right.
                if (EditorMode())
                    editor_->setFocus(Qt::OtherFocusReason);
                throw;
            }
        }
    }
    HideEditor();
}

TGridExtensionEh& TDBGridEh::AddExtension(std::unique_ptr<TGridExtensionEh> extension) {
    extensions_.push_back(std::move(extension));
    InvalidateGrid();
    return *extensions_.back();
}

bool TDBGridEh::KeyDown(unsigned short key, TShiftState shift) {
    if (key == GridKeysEh::Escape && mouse_->Drag() != TGridMouseEh::TDrag::None) {
        mouse_->Cancel();
        return true;
    }
    for (const auto& extension : extensions_)
        if (extension->KeyDown(*this, key, shift) || key == 0)
            return false;
    keys_->KeyDown(key, shift);
    return true;
}

void TDBGridEh::KeyPress(QChar key) {
    for (const auto& extension : extensions_)
        if (extension->KeyPress(*this, key))
            return;
    keys_->KeyPress(key);
}

void TDBGridEh::KeyUp(unsigned short key, TShiftState shift) {
    for (const auto& extension : extensions_)
        extension->KeyUp(*this, key, shift);
}

void TDBGridEh::PaintGrid(QPainter& painter, const QRect& area) {
    PaintGridEh(painter, *this, area);
}

bool TDBGridEh::WidgetEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        LayoutChanged();
    return TControl::WidgetEvent(event);
}

void TDBGridEh::CurrentCellMaybeChanged() {
    const TDataSet* dataSet = DataSet();
    const int recNo = dataLink_.Active() && dataSet ? dataSet->RecNo() : -1;
    const TDataSetState state = dataLink_.Active() && dataSet ? dataSet->State() : dsInactive;
    const bool insertChanged = (state == dsInsert) != (lastState_ == dsInsert);
    if (recNo == lastRecNo_ && selectedIndex_ == lastSelected_ && !insertChanged &&
        rows_.RowCount() == lastRowCount_)
        return;
    lastRecNo_ = recNo;
    lastSelected_ = selectedIndex_;
    lastState_ = state;
    lastRowCount_ = rows_.RowCount();
    for (const auto& extension : extensions_)
        extension->CurrentCellChanged(*this);
}
