#include "grid/layout/vert_scroll_mapping.h"

#include <algorithm>

namespace {

using Kind = TScrollMoveEh::Kind;

TScrollMoveEh By(int distance) {
    return distance == 0 ? TScrollMoveEh{} : TScrollMoveEh{Kind::MoveBy, distance};
}

TScrollMoveEh To(int recNo) {
    return {Kind::Record, recNo};
}

} // namespace

TVertScrollBarEh RecordScrollBar(const TRecordViewEh& view, bool holdPosition,
                                 int previousPosition) {
    TVertScrollBarEh bar;
    bar.needed = view.rowCount > view.visibleRows;
    bar.minimum = 1;
    bar.maximum = std::max(1, view.recordCount);
    bar.page = std::max(1, view.visibleRows);
    bar.position = holdPosition ? previousPosition : view.recNo;
    bar.position = std::clamp(bar.position, bar.minimum, bar.maximum);
    return bar;
}

TScrollMoveEh RecordScrollMove(TScrollActionEh action, int thumbPosition,
                               const TRecordViewEh& view) {
    switch (action) {
    case TScrollActionEh::LineUp:
        return view.firstVisible > 1 ? To(view.firstVisible - 1) : TScrollMoveEh{};
    case TScrollActionEh::LineDown:
        return view.lastVisible < view.recordCount ? To(view.lastVisible + 1) : TScrollMoveEh{};
    case TScrollActionEh::PageUp:
        return By(-view.visibleRows);
    case TScrollActionEh::PageDown:
        return By(view.visibleRows);
    case TScrollActionEh::ThumbTrack:
        return To(thumbPosition);
    case TScrollActionEh::ThumbPosition:
        if (thumbPosition >= view.recordCount)
            return {Kind::Last, 0};
        if (thumbPosition <= 1)
            return {Kind::First, 0};
        return {Kind::RecNo, thumbPosition};
    case TScrollActionEh::Top:
        return {Kind::First, 0};
    case TScrollActionEh::Bottom:
        return {Kind::Last, 0};
    }
    return {};
}

TVertScrollBarEh FivePositionScrollBar(bool needed, bool onFirst, bool onLast) {
    TVertScrollBarEh bar;
    bar.needed = needed;
    bar.minimum = 0;
    bar.maximum = 4;
    bar.page = 1;
    bar.position = onFirst ? 0 : onLast ? 4 : 2;
    return bar;
}

TScrollMoveEh FivePositionScrollMove(TScrollActionEh action, int thumbPosition, int visibleRows) {
    switch (action) {
    case TScrollActionEh::LineUp:
        return By(-1);
    case TScrollActionEh::LineDown:
        return By(1);
    case TScrollActionEh::PageUp:
        return By(-visibleRows);
    case TScrollActionEh::PageDown:
        return By(visibleRows);
    case TScrollActionEh::ThumbTrack:
    case TScrollActionEh::ThumbPosition:
        switch (thumbPosition) {
        case 0:
            return {Kind::First, 0};
        case 1:
            return By(-visibleRows);
        case 3:
            return By(visibleRows);
        case 4:
            return {Kind::Last, 0};
        default:
            return {};
        }
    case TScrollActionEh::Top:
        return {Kind::First, 0};
    case TScrollActionEh::Bottom:
        return {Kind::Last, 0};
    }
    return {};
}
