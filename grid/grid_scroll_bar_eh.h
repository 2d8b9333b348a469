#pragma once
// The grid's vertical scroll bar. Its position is the current record, so it
// changes at every move through the records, while its picture changes only
// where the thumb leaves and where it comes to: a move marks only those two
// places for repainting, not the whole bar. Reaching or leaving either end,
// and every other change (range, page, size), repaint the bar whole.

#include <QScrollBar>

class TGridScrollBarEh : public QScrollBar {
public:
    TGridScrollBarEh();

protected:
    void sliderChange(SliderChange change) override;
    // A new size, style or showing places the thumb anew: the next move
    // repaints the bar whole.
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Where the style puts the thumb for the bar's state now.
    QRect ThumbRect() const;

    QRect thumb_;
    bool atEnd_ = true;
};
