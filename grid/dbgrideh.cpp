#include "grid/dbgrideh.h"

#include "data/dataset/datasource.h"
#include "grid/editor/inplace_edit_eh.h"
#include "grid/grid_widget_eh.h"
#include "grid/input/grid_keys_eh.h"
#include "grid/input/grid_mouse_eh.h"
#include "grid/layout/column_fitting.h"
#include "grid/layout/grid_metrics.h"
#include "grid/paint/grid_cell_painter_eh.h"
#include "grid/paint/grid_painter_eh.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

TDBGridEh::TDBGridEh(TComponent* owner) : TControl(owner, new TGridWidgetEh) {
    widget_ = static_cast<TGridWidgetEh*>(Widget());
    widget_->grid = this;
    keys_ = std::make_unique<TGridKeysEh>(*this);
    mouse_ = std::make_unique<TGridMouseEh>(*this);
    editor_ = new TInplaceEditEh(*this, widget_->viewport());
    SetBorderSingle(true);
    SetBounds(0, 0, 320, 120);
    LayoutChanged();
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
    LayoutChanged();
}

void TDBGridEh::BeginLoading() {
    loading_ = true;
}

// ---- Layout ----------------------------------------------------------------------------------

// A hidden scroll area lays its viewport out only when it is shown; until
// then the client area is worked out from the frame and the scroll bar.
int TDBGridEh::ClientWidth() const {
    if (widget_->isVisible())
        return widget_->viewport()->width();
    const bool bar = widget_->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
    return std::max(0, widget_->contentsRect().width() -
                           (bar ? widget_->verticalScrollBar()->sizeHint().width() : 0));
}

int TDBGridEh::ClientHeight() const {
    if (widget_->isVisible())
        return widget_->viewport()->height();
    return std::max(0, widget_->contentsRect().height());
}

int TDBGridEh::CellWidth(int visibleIndex) const {
    if (visibleIndex < 0 || visibleIndex >= static_cast<int>(cellWidths_.size()))
        return 0;
    return cellWidths_[static_cast<size_t>(visibleIndex)];
}

void TDBGridEh::SetCellWidth(int visibleIndex, int width) {
    if (visibleIndex < 0 || visibleIndex >= static_cast<int>(cellWidths_.size()))
        return;
    cellWidths_[static_cast<size_t>(visibleIndex)] = std::max(0, width);
    geometry_.LayColumns(cellWidths_, leftColumn_);
    PlaceEditor();
    InvalidateGrid();
}

void TDBGridEh::LayoutChanged() {
    if (inLayout_ || loading_)
        return;
    inLayout_ = true;
    refitPosted_ = false;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{inLayout_};

    TDataSet* dataSet = DataSet();
    sumList_.Producer().SetDataSet(dataSet);
    if (columns_.State() == TColumnsStateEh::csDefault)
        columns_.RebuildDefaultColumns(dataLink_.Active() ? dataSet : nullptr);
    ClampSelectedIndex();

    const std::vector<TColumnEh*> visible = VisibleColumns();
    geometry_.lineWidth = 1;
    geometry_.colLines = options_.Contains(TDBGridOption::dgColLines);
    geometry_.indicatorWidth =
        GridMetricsEh::IndicatorWidth(options_.Contains(TDBGridOption::dgIndicator));
    geometry_.rowHeight =
        GridMetricsEh::DataRowHeight(QFontMetrics(Font()).height(), flat_, geometry_.lineWidth,
                                     options_.Contains(TDBGridOption::dgRowLines));
    if (options_.Contains(TDBGridOption::dgTitles)) {
        std::vector<int> heights;
        for (const TColumnEh* column : visible)
            heights.push_back(QFontMetrics(column->Title().EffectiveFont()).height());
        geometry_.titleHeight =
            GridMetricsEh::TitleRowHeight(heights, QFontMetrics(ColumnsTitleFont()).height());
    } else {
        geometry_.titleHeight = 0;
    }
    geometry_.footerRows = footerRowCount_;
    geometry_.clientHeight = ClientHeight();
    geometry_.visibleRows =
        GridMetricsEh::VisibleDataRows(geometry_.clientHeight, geometry_.titleHeight,
                                       geometry_.rowHeight, geometry_.lineWidth, footerRowCount_);
    rows_.SetCapacity(geometry_.visibleRows);
    SyncRows();

    geometry_.clientWidth = ClientWidth();
    FitColumnWidths();
    cellWidths_.clear();
    for (const TColumnEh* column : visible)
        cellWidths_.push_back(column->Width());
    if (autoFitColWidths_)
        leftColumn_ = 0;
    leftColumn_ = std::clamp(leftColumn_, 0, std::max(0, static_cast<int>(visible.size()) - 1));
    geometry_.LayColumns(cellWidths_, leftColumn_);
    PlaceEditor();
    InvalidateGrid();
    CurrentCellMaybeChanged();
}

void TDBGridEh::FitColumnWidths() {
    if (!autoFitColWidths_ || loading_)
        return;
    const std::vector<TColumnEh*> visible = VisibleColumns();
    std::vector<TFitColumnEh> fit;
    fit.reserve(visible.size());
    for (const TColumnEh* c : visible)
        fit.push_back({c->Width(), c->Width(), c->FitWeight(), c->MinWidth(), c->MaxWidth(),
                       c->AutoFitColWidth(), true});
    TFitAreaEh area;
    area.clientWidth = ClientWidth();
    area.minAutoFitWidth = minAutoFitWidth_;
    area.indicatorWidth = geometry_.indicatorWidth;
    area.colLines = options_.Contains(TDBGridOption::dgColLines);
    ::FitColumnWidths(fit, area);
    columns_.BeginUpdate();
    for (size_t i = 0; i < visible.size(); ++i)
        visible[i]->AssignWidth(fit[i].width);
    columns_.EndUpdate();
}

void TDBGridEh::RebalanceFitWeights() {
    const std::vector<TColumnEh*> visible = VisibleColumns();
    std::vector<TFitColumnEh> fit;
    for (size_t i = 0; i < visible.size(); ++i) {
        const TColumnEh* c = visible[i];
        fit.push_back({c->Width(), CellWidth(static_cast<int>(i)), c->FitWeight(), c->MinWidth(),
                       c->MaxWidth(), c->AutoFitColWidth(), true});
    }
    ::RebalanceFitWeights(fit, autoFitColWidths_,
                          optionsEh_.Contains(TDBGridEhOption::dghResizeWholeRightPart));
    columns_.BeginUpdate();
    for (size_t i = 0; i < visible.size(); ++i) {
        visible[i]->SetFitWeight(fit[i].fitWeight);
        visible[i]->AssignWidth(fit[i].width);
    }
    Fire(OnColWidthsChanged, this);
    columns_.EndUpdate();
    LayoutChanged();
}

void TDBGridEh::ViewportResized() {
    if (togglingScrollBar_ || inLayout_)
        PostRefit();
    else
        LayoutChanged();
}

void TDBGridEh::PostRefit() {
    if (refitPosted_)
        return;
    refitPosted_ = true;
    QTimer::singleShot(0, widget_, [w = widget_] {
        if (w->grid && w->grid->refitPosted_)
            w->grid->LayoutChanged();
    });
}

void TDBGridEh::SyncRows() {
    rows_.Sync(dataLink_.Active() ? DataSet() : nullptr, appendedByGrid_);
    geometry_.shownRows = rows_.Count();
    UpdateScrollBars();
}

void TDBGridEh::RestoreScrollOffset(int offset) {
    rows_.KeepCurrentRowAt(offset);
    SyncRows();
    PlaceEditor();
    InvalidateGrid();
}

TRecordViewEh TDBGridEh::RecordView() const {
    TRecordViewEh view;
    view.recordCount = rows_.RecordCount();
    view.rowCount = rows_.RowCount();
    view.visibleRows = rows_.Capacity();
    view.recNo = rows_.RecNo();
    view.firstVisible = rows_.FirstRecNo();
    view.lastVisible = rows_.LastRecNo();
    return view;
}

void TDBGridEh::UpdateScrollBars() {
    QScrollBar* bar = widget_->verticalScrollBar();
    TVertScrollBarEh state;
    const TDataSet* dataSet = DataSet();
    if (dataLink_.Active() && dataSet) {
        if (sumList_.Producer().IsSequenced()) {
            const TDataSetState s = dataSet->State();
            state = RecordScrollBar(RecordView(), s == dsInsert || s == dsEdit, scrollPosition_);
        } else {
            state = FivePositionScrollBar(!(dataSet->Bof() && dataSet->Eof()), dataSet->Bof(),
                                          dataSet->Eof());
        }
    }
    const bool show = vertVisibleMode_ == TScrollBarVisibleModeEh::sbAlwaysShowEh ||
                      (vertVisibleMode_ == TScrollBarVisibleModeEh::sbAutoShowEh && state.needed);
    const Qt::ScrollBarPolicy policy = show ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (widget_->verticalScrollBarPolicy() != policy) {
        togglingScrollBar_ = true;
        widget_->setVerticalScrollBarPolicy(policy);
        togglingScrollBar_ = false;
    }
    bar->setRange(state.minimum, state.maximum);
    bar->setPageStep(state.page);
    bar->setSingleStep(1);
    bar->setValue(state.position);
    scrollPosition_ = state.position;
}

void TDBGridEh::ScrollBarAction(int action) {
    QScrollBar* bar = widget_->verticalScrollBar();
    if (!dataLink_.Active()) {
        bar->setSliderPosition(bar->value());
        return;
    }
    TScrollActionEh kind;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        kind = TScrollActionEh::LineDown;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        kind = TScrollActionEh::LineUp;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        kind = TScrollActionEh::PageDown;
        break;
    case QAbstractSlider::SliderPageStepSub:
        kind = TScrollActionEh::PageUp;
        break;
    case QAbstractSlider::SliderToMinimum:
        kind = TScrollActionEh::Top;
        break;
    case QAbstractSlider::SliderToMaximum:
        kind = TScrollActionEh::Bottom;
        break;
    case QAbstractSlider::SliderMove:
        if (!vertTracking_)
            return;
        kind = TScrollActionEh::ThumbTrack;
        break;
    default:
        return;
    }
    ApplyScroll(kind, bar->sliderPosition());
    bar->setSliderPosition(scrollPosition_);
}

void TDBGridEh::ScrollBarReleased() {
    // With tracking the record already follows the thumb: the release is ignored.
    if (vertTracking_ || !dataLink_.Active())
        return;
    QScrollBar* bar = widget_->verticalScrollBar();
    ApplyScroll(TScrollActionEh::ThumbPosition, bar->sliderPosition());
    bar->setSliderPosition(scrollPosition_);
}

void TDBGridEh::ApplyScroll(TScrollActionEh action, int position) {
    const bool sequenced = sumList_.Producer().IsSequenced();
    const TScrollMoveEh move = sequenced
                                   ? RecordScrollMove(action, position, RecordView())
                                   : FivePositionScrollMove(action, position, rows_.Capacity());
    const bool page = action == TScrollActionEh::PageUp || action == TScrollActionEh::PageDown;
    switch (move.kind) {
    case TScrollMoveEh::Kind::None:
        return;
    case TScrollMoveEh::Kind::First:
        MoveToFirst();
        return;
    case TScrollMoveEh::Kind::Last:
        MoveToLast();
        return;
    case TScrollMoveEh::Kind::MoveBy:
        MoveBy(move.value, page);
        return;
    case TScrollMoveEh::Kind::RecNo:
        HideEditor();
        DataSet()->SetRecNo(move.value);
        return;
    }
}

// ---- Moves -------------------------------------------------------------------------------------

void TDBGridEh::MoveBy(int distance, bool keepRowPlace) {
    TDataSet* dataSet = DataSet();
    if (!dataLink_.Active() || !dataSet || distance == 0)
        return;
    if (keepRowPlace)
        rows_.KeepCurrentRowPlace();
    dataSet->MoveBy(distance);
}

void TDBGridEh::MoveToFirst() {
    if (dataLink_.Active())
        DataSet()->First();
}

void TDBGridEh::MoveToLast() {
    if (dataLink_.Active())
        DataSet()->Last();
}

bool TDBGridEh::NewRecordUnchanged() const {
    const TDataSet* dataSet = DataSet();
    return dataSet && dataSet->State() == dsInsert && !dataSet->Modified() &&
           !(EditorMode() && editor_->Modified());
}

void TDBGridEh::PriorRecord() {
    if (!dataLink_.Active())
        return;
    if (NewRecordUnchanged() && rows_.InsertingAtEnd()) {
        DataSet()->Cancel();
        return;
    }
    MoveBy(-1);
}

void TDBGridEh::NextRecord() {
    TDataSet* dataSet = DataSet();
    if (!dataLink_.Active() || !dataSet)
        return;
    if (NewRecordUnchanged()) {
        if (!rows_.InsertingAtEnd())
            dataSet->Cancel();
        return;
    }
    if (dataSet->MoveBy(1) == 0 && dataSet->Eof() && CanAppend()) {
        appendedByGrid_ = true;
        dataSet->Append();
    }
}

void TDBGridEh::MoveToCell(int row, int visibleIndex) {
    if (visibleIndex >= 0)
        SelectVisibleColumn(visibleIndex);
    if (row < 0 || row >= rows_.Count() || rows_.Row(row).inserted)
        return;
    MoveBy(rows_.Row(row).recNo - DataSet()->RecNo());
}

bool TDBGridEh::Modifiable() const {
    const TDataSet* dataSet = DataSet();
    return !readOnly_ && dataLink_.Active() && !dataLink_.ReadOnly() && dataSet &&
           dataSet->CanModify();
}

bool TDBGridEh::CanAppend() const {
    return Modifiable() && options_.Contains(TDBGridOption::dgEditing) &&
           allowedOperations_.Contains(TDBGridEhAllowedOperation::alopAppendEh);
}

bool TDBGridEh::CanInsert() const {
    return Modifiable() && options_.Contains(TDBGridOption::dgEditing) &&
           allowedOperations_.Contains(TDBGridEhAllowedOperation::alopInsertEh);
}

bool TDBGridEh::CanDelete() const {
    return Modifiable() && !DataSet()->IsEmpty() &&
           allowedOperations_.Contains(TDBGridEhAllowedOperation::alopDeleteEh);
}

void TDBGridEh::DeleteRecord() {
    if (!CanDelete())
        return;
    if (options_.Contains(TDBGridOption::dgConfirmDelete)) {
        TMessageBoxRequest request;
        request.text = QStringLiteral("Delete record?");
        request.caption = QStringLiteral("Confirm");
        request.type = TMsgDlgType::mtConfirmation;
        request.buttons = {QStringLiteral("OK"), QStringLiteral("Cancel")};
        if (MessageBoxes().Show(request) != 0)
            return;
    }
    HideEditor();
    DataSet()->Delete();
}

// ---- Editing
// --------------------------------------------------------------------------------------

bool TDBGridEh::CanEditModify() const {
    if (!Modifiable() || !options_.Contains(TDBGridOption::dgEditing))
        return false;
    const TColumnEh* column = SelectedColumn();
    const TField* field = column ? column->Field() : nullptr;
    if (!column || column->ReadOnly() || !field || field->ReadOnly() || !field->CanModify())
        return false;
    const TDataSet* dataSet = DataSet();
    if (dataSet->State() != dsInsert &&
        !allowedOperations_.Contains(TDBGridEhAllowedOperation::alopUpdateEh))
        return false;
    return !dataSet->IsEmpty() ||
           allowedOperations_.Contains(TDBGridEhAllowedOperation::alopInsertEh) ||
           allowedOperations_.Contains(TDBGridEhAllowedOperation::alopAppendEh);
}

bool TDBGridEh::EditorMode() const {
    return editor_ && editor_->isVisible();
}

bool TDBGridEh::ShowEditor() {
    if (!CanEditModify())
        return false;
    for (const auto& extension : extensions_)
        if (!extension->AllowEditor(*this))
            return false;
    if (EditorMode())
        return true;
    TDataSet* dataSet = DataSet();
    editorRecNo_ = dataSet->RecNo();
    editorInsert_ = dataSet->State() == dsInsert;
    ResetEditorText();
    PlaceEditor();
    editor_->show();
    editor_->setFocus(Qt::OtherFocusReason);
    editor_->selectAll();
    return true;
}

void TDBGridEh::HideEditor() {
    if (!EditorMode())
        return;
    const bool hadFocus = editor_->hasFocus();
    editor_->hide();
    editor_->SetModified(false);
    if (hadFocus)
        widget_->setFocus(Qt::OtherFocusReason);
    InvalidateCurrentRow();
}

void TDBGridEh::UpdateText() {
    if (!EditorMode() || !editor_->Modified())
        return;
    TColumnEh* column = SelectedColumn();
    TField* field = column ? column->Field() : nullptr;
    if (!field || !dataLink_.Edit())
        return;
    field->SetText(editor_->text());
    editor_->SetModified(false);
}

void TDBGridEh::ResetEditorText() {
    const TColumnEh* column = SelectedColumn();
    const TField* field = column ? column->Field() : nullptr;
    editor_->SetFieldText(field ? field->Text() : QString());
}

void TDBGridEh::EditorTextEdited() {
    // The first change puts the record into edit mode.
    if (!dataLink_.Editing())
        dataLink_.Edit();
}

void TDBGridEh::PlaceEditor() {
    if (!editor_)
        return;
    const int row = rows_.CurrentRow();
    const int span = geometry_.SpanOf(VisibleSelectedIndex());
    if (row < 0 || span < 0) {
        if (EditorMode())
            HideEditor();
        return;
    }
    const TColumnEh* column = SelectedColumn();
    editor_->setFont(column->EffectiveFont());
    editor_->setAlignment(column->Alignment() == taRightJustify ? Qt::AlignRight
                          : column->Alignment() == taCenter     ? Qt::AlignHCenter
                                                                : Qt::AlignLeft);
    editor_->setGeometry(geometry_.CellRect(span, row));
}

// ---- Focus, keys, painting
// --------------------------------------------------------------------------

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

void TDBGridEh::FocusLeftGrid() {
    for (const auto& extension : extensions_)
        extension->FocusLost(*this);
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
    InvalidateGrid();
}

TGridExtensionEh& TDBGridEh::AddExtension(std::unique_ptr<TGridExtensionEh> extension) {
    extensions_.push_back(std::move(extension));
    InvalidateGrid();
    return *extensions_.back();
}

void TDBGridEh::KeyDown(unsigned short key, TShiftState shift) {
    if (key == GridKeysEh::Escape && mouse_->Drag() != TGridMouseEh::TDrag::None) {
        mouse_->Cancel();
        return;
    }
    for (const auto& extension : extensions_)
        if (extension->KeyDown(*this, key, shift) || key == 0)
            return;
    keys_->KeyDown(key, shift);
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

bool TDBGridEh::EditorKey(QKeyEvent* event) {
    // The window's key preview and the grid's OnKeyDown see the editor's keys too.
    if (HandleKey(event))
        return true;
    namespace K = GridKeysEh;
    unsigned short key = VirtualKey(event->key());
    const TShiftState shift = ShiftState(event->modifiers());
    if (key == 0)
        return false;
    for (const auto& extension : extensions_)
        if (extension->KeyDown(*this, key, shift) || key == 0)
            return true;
    bool forGrid = false;
    if (shift & ssCtrl) {
        forGrid = key == K::Home || key == K::End || key == K::Up || key == K::Down ||
                  key == K::PageUp || key == K::PageDown || key == K::Delete || key == K::Quote ||
                  key == K::KeyF || key == K::Enter;
    } else {
        const bool noSelection = !editor_->hasSelectedText();
        const int caret = editor_->cursorPosition();
        const int length = static_cast<int>(editor_->text().size());
        switch (key) {
        case K::Up:
        case K::Down:
        case K::PageUp:
        case K::PageDown:
        case K::Tab:
        case K::Enter:
        case K::Escape:
        case K::F2:
            forGrid = true;
            break;
        case K::Insert:
            forGrid = !(shift & ssShift);
            break;
        case K::Left:
        case K::Home:
            forGrid = noSelection && caret == 0;
            break;
        case K::Right:
        case K::End:
            forGrid = noSelection && caret == length;
            break;
        default:
            break;
        }
    }
    if (!forGrid)
        return false;
    if (key == K::Escape && mouse_->Drag() != TGridMouseEh::TDrag::None)
        mouse_->Cancel();
    else
        keys_->KeyDown(key, shift);
    return true;
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
