// The grid's layout passes, the width fitting and rebalancing on the columns,
// and the vertical scroll bar.
#include "grid/dbgrideh.h"
#include "grid/grid_widget_eh.h"
#include "grid/layout/column_fitting.h"
#include "grid/layout/grid_metrics.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

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
    case TScrollMoveEh::Kind::Record:
        MoveToRecord(move.value);
        return;
    case TScrollMoveEh::Kind::RecNo: {
        // The editor's text goes into the pending record before the editor closes.
        const int recNo = SettlePendingRecord(move.value);
        HideEditor();
        DataSet()->SetRecNo(recNo);
        return;
    }
    }
}
