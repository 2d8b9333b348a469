#include "platform/ui/system_colors.h"

#include <array>
#include <utility>

namespace {

struct TNamedColor {
    const char* name;
    TColor::TSystem system;
    QRgb rgb;
};

using S = TColor::TSystem;

// The sixteen fixed colours and the system colours the program uses.
const std::array<TNamedColor, 30> kNames{{
    {"clBlack", S::None, qRgb(0, 0, 0)},
    {"clMaroon", S::None, qRgb(128, 0, 0)},
    {"clGreen", S::None, qRgb(0, 128, 0)},
    {"clOlive", S::None, qRgb(128, 128, 0)},
    {"clNavy", S::None, qRgb(0, 0, 128)},
    {"clPurple", S::None, qRgb(128, 0, 128)},
    {"clTeal", S::None, qRgb(0, 128, 128)},
    {"clGray", S::None, qRgb(128, 128, 128)},
    {"clSilver", S::None, qRgb(192, 192, 192)},
    {"clRed", S::None, qRgb(255, 0, 0)},
    {"clLime", S::None, qRgb(0, 255, 0)},
    {"clYellow", S::None, qRgb(255, 255, 0)},
    {"clBlue", S::None, qRgb(0, 0, 255)},
    {"clFuchsia", S::None, qRgb(255, 0, 255)},
    {"clAqua", S::None, qRgb(0, 255, 255)},
    {"clWhite", S::None, qRgb(255, 255, 255)},
    {"clBtnFace", S::BtnFace, 0},
    {"clBtnShadow", S::BtnShadow, 0},
    {"clBtnHighlight", S::BtnHighlight, 0},
    {"clBtnText", S::BtnText, 0},
    {"clWindow", S::Window, 0},
    {"clWindowText", S::WindowText, 0},
    {"clHighlight", S::Highlight, 0},
    {"clHighlightText", S::HighlightText, 0},
    {"clGrayText", S::GrayText, 0},
    {"cl3DDkShadow", S::ThreeDDkShadow, 0},
    {"cl3DLight", S::ThreeDLight, 0},
    {"clInfoBk", S::InfoBk, 0},
    {"clInfoText", S::InfoText, 0},
    {"clMenu", S::Window, 0},
}};

} // namespace

std::optional<TColor> TColor::FromName(const QString& name) {
    for (const TNamedColor& n : kNames) {
        if (name.compare(QLatin1String(n.name), Qt::CaseInsensitive) != 0)
            continue;
        return n.system == S::None ? TColor(QColor(n.rgb)) : System(n.system);
    }
    return std::nullopt;
}

TColor TColor::FromNumber(qint64 bgr) {
    return TColor(QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                         static_cast<int>((bgr >> 16) & 0xFF)));
}

QColor TColor::Resolve(const QPalette& palette) const {
    switch (system_) {
    case S::None:
        return fixed_;
    case S::BtnFace:
        return palette.color(QPalette::Button);
    case S::BtnShadow:
        return palette.color(QPalette::Dark);
    case S::BtnHighlight:
        return palette.color(QPalette::Light);
    case S::BtnText:
        return palette.color(QPalette::ButtonText);
    case S::Window:
        return palette.color(QPalette::Base);
    case S::WindowText:
        return palette.color(QPalette::Text);
    case S::Highlight:
        return palette.color(QPalette::Highlight);
    case S::HighlightText:
        return palette.color(QPalette::HighlightedText);
    case S::GrayText:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case S::ThreeDDkShadow:
        return palette.color(QPalette::Shadow);
    case S::ThreeDLight:
        return palette.color(QPalette::Midlight);
    case S::InfoBk:
        return palette.color(QPalette::ToolTipBase);
    case S::InfoText:
        return palette.color(QPalette::ToolTipText);
    }
    return fixed_;
}
