#pragma once
// TDBGridColumnsEh: the grid's collection of columns, in display order.
// Persistent (declared) columns stay as the form declares them; without any,
// the collection holds default columns made for the dataset's visible fields.

#include "grid/columns/column_eh.h"

#include <memory>
#include <vector>

class TDataSet;
class TDBGridEh;

enum class TColumnsStateEh { csDefault, csCustomized };

class TDBGridColumnsEh {
public:
    TDBGridColumnsEh(IColumnsHostEh* host, TDBGridEh* grid);
    ~TDBGridColumnsEh();
    TDBGridColumnsEh(const TDBGridColumnsEh&) = delete;
    TDBGridColumnsEh& operator=(const TDBGridColumnsEh&) = delete;

    IColumnsHostEh* Host() const { return host_; }
    TDBGridEh* Grid() const { return grid_; }

    int Count() const { return static_cast<int>(items_.size()); }
    TDBGridColumnEh& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }
    TDBGridColumnEh& operator[](int index) const { return Items(index); }
    int IndexOf(const TColumnEh* column) const;

    // A new persistent column at the end: the collection becomes customized.
    TDBGridColumnEh& Add();
    void Clear();
    // Moves a column to another place; the others close up.
    void Move(int from, int to);

    TColumnsStateEh State() const { return state_; }
    // Setting csDefault drops the persistent columns.
    void SetState(TColumnsStateEh state);
    // Default columns: one per visible field of `dataSet` (none when null),
    // each with its width as its fit weight.
    void RebuildDefaultColumns(const TDataSet* dataSet);

    // Changes between BeginUpdate and EndUpdate are told to the grid once, at the end.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    bool Updating() const { return updateCount_ > 0; }

    std::vector<TColumnEh*> VisibleColumns() const;

    void Changed(bool layout);

private:
    IColumnsHostEh* host_;
    TDBGridEh* grid_;
    std::vector<std::unique_ptr<TDBGridColumnEh>> items_;
    TColumnsStateEh state_ = TColumnsStateEh::csDefault;
    int updateCount_ = 0;
    bool pendingLayout_ = false;
    bool pendingPaint_ = false;
};
