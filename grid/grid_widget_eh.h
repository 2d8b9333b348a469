#pragma once
// The widget of the grid: a scroll area whose viewport the grid paints and
// whose events (keys, mouse, wheel, focus, resizing, the vertical scroll
// bar's actions) it hands to the grid.

#include <QAbstractScrollArea>

class TDBGridEh;

class TGridWidgetEh : public QAbstractScrollArea {
public:
    TGridWidgetEh();
    // Set by the grid after construction; cleared when the grid goes.
    TDBGridEh* grid = nullptr;

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int wheelDelta_ = 0;
};
