#include "grid/glyphs/grid_glyphs.h"

#include <array>
#include <initializer_list>

namespace {

// One picture as rows of characters: '#' ink, 'D' dark edge, 'L' light edge,
// '.' transparent.
struct TPixelArt {
    const char* name;
    std::initializer_list<const char*> rows;
};

const QColor kInk(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kDark(128, 128, 128);
const QColor kLight(255, 255, 255);

QImage Draw(std::initializer_list<const char*> rows, const QColor& ink) {
    const int height = static_cast<int>(rows.size());
    const int width = static_cast<int>(qstrlen(*rows.begin()));
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < width; ++x) {
            switch (row[x]) {
            case '#':
                image.setPixelColor(x, y, ink);
                break;
            case 'D':
                image.setPixelColor(x, y, kDark);
                break;
            case 'L':
                image.setPixelColor(x, y, kLight);
                break;
            default:
                break;
            }
        }
        ++y;
    }
    return image;
}

// clang-format off
const TPixelArt kArrow{"DBGARROWEH", {
    "......",
    "#.....",
    "##....",
    "###...",
    "####..",
    "#####.",
    "####..",
    "###...",
    "##....",
    "#.....",
    "......"}};
const TPixelArt kEdit{"DBEDITEH", {
    "......",
    "##.##.",
    "..#...",
    "..#...",
    "..#...",
    "..#...",
    "..#...",
    "..#...",
    "..#...",
    "##.##.",
    "......"}};
const TPixelArt kInsert{"DBINSERTEH", {
    "......",
    "......",
    "......",
    "#.#.#.",
    ".###..",
    "#####.",
    ".###..",
    "#.#.#.",
    "......",
    "......",
    "......"}};
const TPixelArt kMultiDot{"DBMULTIDOTEH", {
    "......",
    "......",
    "......",
    "......",
    ".###..",
    ".###..",
    ".###..",
    "......",
    "......",
    "......",
    "......"}};
const TPixelArt kMultiArrow{"DBMULTIARROWEH", {
    "#.....",
    "##....",
    "###...",
    "####..",
    "###...",
    "##....",
    "#.....",
    "......",
    ".###..",
    ".###..",
    "......"}};
const TPixelArt kSortDown{"DBSMDOWNEH", {
    "..........",
    "..........",
    "DDDDDDDDD.",
    ".D.....L..",
    "..D...L...",
    "...D.L....",
    "....L.....",
    "..........",
    ".........."}};
const TPixelArt kSortUp{"DBSMUPEH", {
    "..........",
    "..........",
    "....D.....",
    "...D.L....",
    "..D...L...",
    ".D.....L..",
    "DLLLLLLLL.",
    "..........",
    ".........."}};
const TPixelArt kSortDownFlat{"DBSMDOWNEH_1", {
    "..........",
    "..........",
    "..........",
    "DDDDDDDDD.",
    ".DD...LL..",
    "...D.L....",
    "....L.....",
    "..........",
    ".........."}};
const TPixelArt kSortUpFlat{"DBSMUPEH_1", {
    "..........",
    "..........",
    "....D.....",
    "...D.L....",
    ".DD...LL..",
    "DLLLLLLLL.",
    "..........",
    "..........",
    ".........."}};
const TPixelArt kDropDown{"DROPDOWNEH", {
    "#######",
    ".#####.",
    "..###..",
    "...#..."}};
// clang-format on

const TPixelArt& IndicatorArt(TIndicatorGlyphEh glyph) {
    switch (glyph) {
    case TIndicatorGlyphEh::Edit:
        return kEdit;
    case TIndicatorGlyphEh::Insert:
        return kInsert;
    case TIndicatorGlyphEh::MultiDot:
        return kMultiDot;
    case TIndicatorGlyphEh::MultiArrow:
        return kMultiArrow;
    case TIndicatorGlyphEh::Arrow:
    case TIndicatorGlyphEh::ArrowWhite:
        break;
    }
    return kArrow;
}

const TPixelArt& SortArt(TSortMarkerGlyphEh glyph) {
    switch (glyph) {
    case TSortMarkerGlyphEh::Up:
        return kSortUp;
    case TSortMarkerGlyphEh::DownFlat:
        return kSortDownFlat;
    case TSortMarkerGlyphEh::UpFlat:
        return kSortUpFlat;
    case TSortMarkerGlyphEh::Down:
        break;
    }
    return kSortDown;
}

} // namespace

const QImage& IndicatorGlyph(TIndicatorGlyphEh glyph) {
    static const std::array<QImage, 6> images = [] {
        std::array<QImage, 6> made;
        for (int i = 0; i < 6; ++i) {
            const auto g = static_cast<TIndicatorGlyphEh>(i);
            made[static_cast<size_t>(i)] =
                Draw(IndicatorArt(g).rows, g == TIndicatorGlyphEh::ArrowWhite ? kWhite : kInk);
        }
        return made;
    }();
    return images[static_cast<size_t>(glyph)];
}

const QImage& SortMarkerGlyph(TSortMarkerGlyphEh glyph) {
    static const std::array<QImage, 4> images = [] {
        std::array<QImage, 4> made;
        for (int i = 0; i < 4; ++i)
            made[static_cast<size_t>(i)] =
                Draw(SortArt(static_cast<TSortMarkerGlyphEh>(i)).rows, kInk);
        return made;
    }();
    return images[static_cast<size_t>(glyph)];
}

const QImage& DropDownGlyph() {
    static const QImage image = Draw(kDropDown.rows, kInk);
    return image;
}

QImage GridBitmap(const QString& name) {
    for (int i = 0; i < 6; ++i) {
        const auto g = static_cast<TIndicatorGlyphEh>(i);
        const QString artName = QLatin1String(IndicatorArt(g).name);
        const QString full = g == TIndicatorGlyphEh::ArrowWhite ? artName + u'W' : artName;
        if (name.compare(full, Qt::CaseInsensitive) == 0)
            return IndicatorGlyph(g);
    }
    for (int i = 0; i < 4; ++i) {
        const auto g = static_cast<TSortMarkerGlyphEh>(i);
        if (name.compare(QLatin1String(SortArt(g).name), Qt::CaseInsensitive) == 0)
            return SortMarkerGlyph(g);
    }
    if (name.compare(QLatin1String(kDropDown.name), Qt::CaseInsensitive) == 0)
        return DropDownGlyph();
    return {};
}
