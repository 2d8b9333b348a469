#include "grid/columns/db_grid_columns_eh.h"

#include "data/dataset/dataset.h"
#include "grid/columns/columns_host_eh.h"

#include <algorithm>

TDBGridColumnsEh::TDBGridColumnsEh(IColumnsHostEh* host, TDBGridEh* grid)
    : host_(host), grid_(grid) {}

TDBGridColumnsEh::~TDBGridColumnsEh() {
    // Columns going with the collection tell nobody.
    updateCount_ = 1;
    items_.clear();
}

int TDBGridColumnsEh::IndexOf(const TColumnEh* column) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == column)
            return static_cast<int>(i);
    return -1;
}

TDBGridColumnEh& TDBGridColumnsEh::Add() {
    if (state_ == TColumnsStateEh::csDefault) {
        items_.clear();
        state_ = TColumnsStateEh::csCustomized;
    }
    items_.push_back(std::make_unique<TDBGridColumnEh>(*this));
    Changed(true);
    return *items_.back();
}

void TDBGridColumnsEh::Clear() {
    items_.clear();
    Changed(true);
}

void TDBGridColumnsEh::Move(int from, int to) {
    const int count = Count();
    if (from < 0 || from >= count || to < 0 || to >= count || from == to)
        return;
    auto column = std::move(items_[static_cast<size_t>(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(column));
    Changed(true);
}

void TDBGridColumnsEh::SetState(TColumnsStateEh state) {
    if (state == state_)
        return;
    state_ = state;
    if (state == TColumnsStateEh::csDefault)
        Clear();
}

void TDBGridColumnsEh::RebuildDefaultColumns(const TDataSet* dataSet) {
    if (state_ != TColumnsStateEh::csDefault)
        return;
    BeginUpdate();
    items_.clear();
    if (dataSet) {
        for (TField* field : dataSet->FieldList()) {
            if (!field->Visible())
                continue;
            items_.push_back(std::make_unique<TDBGridColumnEh>(*this));
            items_.back()->SetFieldName(field->FieldName());
        }
    }
    pendingLayout_ = false;
    pendingPaint_ = false;
    --updateCount_;
}

void TDBGridColumnsEh::EndUpdate() {
    if (updateCount_ == 0 || --updateCount_ > 0)
        return;
    if (pendingLayout_ || pendingPaint_) {
        const bool layout = pendingLayout_;
        pendingLayout_ = pendingPaint_ = false;
        Changed(layout);
    }
}

std::vector<TColumnEh*> TDBGridColumnsEh::VisibleColumns() const {
    std::vector<TColumnEh*> visible;
    for (const auto& column : items_)
        if (column->Visible())
            visible.push_back(column.get());
    return visible;
}

void TDBGridColumnsEh::Changed(bool layout) {
    if (updateCount_ > 0) {
        (layout ? pendingLayout_ : pendingPaint_) = true;
        return;
    }
    if (host_)
        host_->ColumnsChanged(layout ? TColumnChangeEh::Layout : TColumnChangeEh::Paint);
}
