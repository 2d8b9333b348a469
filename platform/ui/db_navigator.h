#pragma once
// TDBNavigator: a bar of buttons that move a dataset to its first, prior,
// next and last record. This one is linked to no data source, so its
// buttons are always disabled and a click does nothing.

#include "platform/ui/control.h"

#include <QRect>

class QPainter;
class TDBNavigatorWidget;

enum TNavigateBtn { nbFirst, nbPrior, nbNext, nbLast };
// A set of TNavigateBtn: bit (1 << button).
using TNavButtonSet = unsigned;
inline constexpr TNavButtonSet kAllNavButtons =
    (1u << nbFirst) | (1u << nbPrior) | (1u << nbNext) | (1u << nbLast);

class TDBNavigator : public TControl {
public:
    explicit TDBNavigator(TComponent* owner);
    ~TDBNavigator() override;
    QString ClassName() const override { return QStringLiteral("TDBNavigator"); }

    // The buttons shown, left to right in the order of TNavigateBtn [all four].
    TNavButtonSet VisibleButtons() const { return visibleButtons_; }
    void SetVisibleButtons(TNavButtonSet buttons);
    // Flat buttons draw no frame [false].
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);

    // Where a visible button sits; an empty rectangle for a hidden one. The
    // width is shared out evenly, the pixels left over go to the first buttons.
    QRect ButtonRect(TNavigateBtn button) const;

protected:
    void Paint(QPainter& painter);

private:
    friend class TDBNavigatorWidget;
    void PaintGlyph(QPainter& painter, TNavigateBtn button, const QRect& rect) const;

    TNavButtonSet visibleButtons_ = kAllNavButtons;
    bool flat_ = false;
};

// Registers TDBNavigator with the form reader (VisibleButtons, Flat).
// TControl must be registered already; safe to call again.
void RegisterDBNavigatorClass();
