#include "platform/ui/frame_3d.h"

#include <QPainter>

void Frame3D(QPainter& painter, QRect& rect, const QColor& topLeft, const QColor& bottomRight,
             int width) {
    for (int i = 0; i < width; ++i) {
        painter.setPen(topLeft);
        painter.drawLine(rect.left(), rect.bottom(), rect.left(), rect.top());
        painter.drawLine(rect.left(), rect.top(), rect.right(), rect.top());
        painter.setPen(bottomRight);
        painter.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
        painter.drawLine(rect.right(), rect.bottom(), rect.left(), rect.bottom());
        rect.adjust(1, 1, -1, -1);
    }
}
