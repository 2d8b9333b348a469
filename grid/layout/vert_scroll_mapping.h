#pragma once
// The vertical scroll bar of the grid in terms of records: what the bar
// shows for the current record, and which move each scroll action makes.
// Datasets that number their records map one bar position to each record;
// the others fall back to five positions (first, page up, middle, page
// down, last). Plain functions over numbers.

struct TVertScrollBarEh {
    bool needed = false; // more rows than the view holds
    int minimum = 0;
    int maximum = 0; // the largest thumb position
    int page = 1;
    int position = 0;
};

enum class TScrollActionEh {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    ThumbTrack,    // the thumb is being dragged (with tracking)
    ThumbPosition, // the thumb was released (without tracking)
    Top,
    Bottom,
};

// MoveBy: by `value` records from the current one. Record: to the record
// that `value` numbers on view, walking there. RecNo: to that record, set
// directly (a released thumb).
struct TScrollMoveEh {
    enum class Kind { None, First, Last, MoveBy, Record, RecNo };
    Kind kind = Kind::None;
    int value = 0;

    bool operator==(const TScrollMoveEh&) const = default;
};

// The view of a numbered dataset: the window of rows starting at
// `firstVisible`, `visibleRows` long, over `rowCount` rows (the records and
// a row being inserted).
struct TRecordViewEh {
    int recordCount = 0;
    int rowCount = 0;
    int visibleRows = 1;
    int recNo = 0;
    int firstVisible = 1;
    int lastVisible = 1;
};

// Range 1 to RecordCount + VisibleRows - 1 with a page of VisibleRows, so
// thumb positions run from 1 to RecordCount; the position is the current
// record number, or `previousPosition` while `holdPosition` (a row is being
// inserted or edited).
TVertScrollBarEh RecordScrollBar(const TRecordViewEh& view, bool holdPosition,
                                 int previousPosition);
TScrollMoveEh RecordScrollMove(TScrollActionEh action, int thumbPosition,
                               const TRecordViewEh& view);

// Position 0 on the first record, 4 on the last, 2 in between.
TVertScrollBarEh FivePositionScrollBar(bool needed, bool onFirst, bool onLast);
TScrollMoveEh FivePositionScrollMove(TScrollActionEh action, int thumbPosition, int visibleRows);
