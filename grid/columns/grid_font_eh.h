#pragma once
// A font that a part of the grid (a column, a title, the footer) takes from
// its parent font except for what it sets itself: Font.Name, Font.Size,
// Font.Color, Font.Bold, as a form description writes them.

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

class TGridFontEh {
public:
    bool Assigned() const { return name_ || size_ || color_ || bold_ || italic_; }
    // The parent's font with this one's settings applied.
    QFont Font(const QFont& parent) const;
    QColor Color(const QColor& parent) const { return color_.value_or(parent); }

    void SetName(const QString& name) { name_ = name; }
    // Points.
    void SetSize(int points) { size_ = points; }
    void SetColor(const QColor& color) { color_ = color; }
    void SetBold(bool bold) { bold_ = bold; }
    void SetItalic(bool italic) { italic_ = italic; }
    void Reset() { *this = TGridFontEh(); }

private:
    std::optional<QString> name_;
    std::optional<int> size_;
    std::optional<QColor> color_;
    std::optional<bool> bold_;
    std::optional<bool> italic_;
};
