#pragma once
// TColor: a colour as the form descriptions name it: a fixed colour (clYellow,
// an $00BBGGRR number) or a system colour (clBtnFace, clWindow, clHighlight)
// that takes its value from the palette of the widget it paints.

#include <QColor>
#include <QPalette>
#include <QString>
#include <optional>

class TColor {
public:
    enum class TSystem {
        None,
        BtnFace,
        BtnShadow,
        BtnHighlight,
        BtnText,
        Window,
        WindowText,
        Highlight,
        HighlightText,
        GrayText,
        ThreeDDkShadow,
        ThreeDLight,
        InfoBk,
        InfoText,
    };

    TColor() = default;
    explicit TColor(QColor fixed) : fixed_(fixed) {}
    static TColor System(TSystem which) {
        TColor c;
        c.system_ = which;
        return c;
    }
    // "clWindow", "clYellow", ...; none for an unknown name.
    static std::optional<TColor> FromName(const QString& name);
    // A number as the descriptions write it: $00BBGGRR (blue in the high byte).
    static TColor FromNumber(qint64 bgr);

    QColor Resolve(const QPalette& palette) const;
    bool IsSystem() const { return system_ != TSystem::None; }

    bool operator==(const TColor&) const = default;

private:
    QColor fixed_;
    TSystem system_ = TSystem::None;
};

namespace Colors {
inline const TColor clBtnFace = TColor::System(TColor::TSystem::BtnFace);
inline const TColor clWindow = TColor::System(TColor::TSystem::Window);
inline const TColor clWindowText = TColor::System(TColor::TSystem::WindowText);
inline const TColor clHighlight = TColor::System(TColor::TSystem::Highlight);
inline const TColor clHighlightText = TColor::System(TColor::TSystem::HighlightText);
inline const TColor clBtnShadow = TColor::System(TColor::TSystem::BtnShadow);
inline const TColor clBtnHighlight = TColor::System(TColor::TSystem::BtnHighlight);
inline const TColor clYellow = TColor(QColor(255, 255, 0));
inline const TColor clBlack = TColor(QColor(0, 0, 0));
} // namespace Colors
