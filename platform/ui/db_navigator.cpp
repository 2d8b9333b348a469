#include "platform/ui/db_navigator.h"

#include "platform/formfile/class_registry.h"
#include "platform/ui/frame_3d.h"

#include <QPainter>
#include <QPolygon>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

// The widget of a navigator: it hands painting to its navigator; no button
// takes the focus or a click, as none is ever enabled.
class TDBNavigatorWidget : public QWidget {
public:
    TDBNavigatorWidget() { setFocusPolicy(Qt::NoFocus); }
    TDBNavigator* navigator = nullptr;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!navigator)
            return;
        QPainter painter(this);
        navigator->Paint(painter);
    }
};

namespace {

std::vector<TNavigateBtn> Shown(TNavButtonSet set) {
    std::vector<TNavigateBtn> shown;
    for (TNavigateBtn b : {nbFirst, nbPrior, nbNext, nbLast})
        if (set & (1u << b))
            shown.push_back(b);
    return shown;
}

// A triangle 4 wide and 7 high pointing left or right, its flat side at `x`.
QPolygon Arrow(int x, int middleY, bool right) {
    const int tip = right ? x + 3 : x - 3;
    return QPolygon({QPoint(x, middleY - 3), QPoint(tip, middleY), QPoint(x, middleY + 3)});
}

} // namespace

TDBNavigator::TDBNavigator(TComponent* owner) : TControl(owner, new TDBNavigatorWidget) {
    static_cast<TDBNavigatorWidget*>(Widget())->navigator = this;
    SetTabStop(false);
    SetBounds(0, 0, 241, 25);
}

TDBNavigator::~TDBNavigator() {
    if (auto* widget = static_cast<TDBNavigatorWidget*>(Widget()))
        widget->navigator = nullptr;
}

void TDBNavigator::SetVisibleButtons(TNavButtonSet buttons) {
    visibleButtons_ = buttons & kAllNavButtons;
    Widget()->update();
}

void TDBNavigator::SetFlat(bool flat) {
    flat_ = flat;
    Widget()->update();
}

QRect TDBNavigator::ButtonRect(TNavigateBtn button) const {
    const std::vector<TNavigateBtn> shown = Shown(visibleButtons_);
    const int count = static_cast<int>(shown.size());
    int left = 0;
    for (int i = 0; i < count; ++i) {
        const int width = Width() / count + (i < Width() % count ? 1 : 0);
        if (shown[static_cast<size_t>(i)] == button)
            return QRect(left, 0, width, Height());
        left += width;
    }
    return QRect();
}

void TDBNavigator::Paint(QPainter& painter) {
    const QPalette& palette = Widget()->palette();
    painter.fillRect(Widget()->rect(), palette.color(QPalette::Button));
    for (TNavigateBtn button : Shown(visibleButtons_)) {
        QRect rect = ButtonRect(button);
        if (!flat_)
            Frame3D(painter, rect, palette.color(QPalette::Light), palette.color(QPalette::Dark),
                    1);
        PaintGlyph(painter, button, rect);
    }
}

void TDBNavigator::PaintGlyph(QPainter& painter, TNavigateBtn button, const QRect& rect) const {
    const QPalette& palette = Widget()->palette();
    const int cx = rect.left() + rect.width() / 2;
    const int cy = rect.top() + rect.height() / 2;
    // The glyph of each button: an arrow, and a bar for the ends.
    QPolygon arrow;
    QRect bar;
    switch (button) {
    case nbFirst:
        bar = QRect(cx - 3, cy - 3, 2, 7);
        arrow = Arrow(cx + 2, cy, false);
        break;
    case nbPrior:
        arrow = Arrow(cx + 1, cy, false);
        break;
    case nbNext:
        arrow = Arrow(cx - 1, cy, true);
        break;
    case nbLast:
        bar = QRect(cx + 2, cy - 3, 2, 7);
        arrow = Arrow(cx - 2, cy, true);
        break;
    }
    // Disabled, as every button is: engraved, a light copy one pixel down
    // and right under the grey shape.
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const auto& [offset, colour] : {std::pair{QPoint(1, 1), palette.color(QPalette::Light)},
                                         std::pair{QPoint(0, 0), palette.color(QPalette::Dark)}}) {
        painter.setPen(colour);
        painter.setBrush(colour);
        painter.drawPolygon(arrow.translated(offset));
        if (!bar.isNull())
            painter.fillRect(bar.translated(offset), colour);
    }
}

void RegisterDBNavigatorClass() {
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterClass<TDBNavigator>("TDBNavigator", "TControl")
        .Property("Flat", &TDBNavigator::SetFlat)
        .Raw("VisibleButtons", [](TDBNavigator& n, const FormValue& v, TComponent&) {
            static const std::pair<const char*, TNavigateBtn> names[] = {
                {"nbFirst", nbFirst}, {"nbPrior", nbPrior}, {"nbNext", nbNext}, {"nbLast", nbLast}};
            TNavButtonSet set = 0;
            for (const QString& id : FormValues::Set(v)) {
                const auto* it = std::find_if(std::begin(names), std::end(names), [&](auto& n) {
                    return id.compare(QLatin1String(n.first), Qt::CaseInsensitive) == 0;
                });
                if (it == std::end(names))
                    throw EPropertyValue(QStringLiteral("Invalid property value %1").arg(id));
                set |= 1u << it->second;
            }
            n.SetVisibleButtons(set);
        });
}
