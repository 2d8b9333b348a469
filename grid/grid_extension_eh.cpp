#include "grid/grid_extension_eh.h"

#include "grid/dbgrideh.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<TGridExtensionFactoryEh>& Factories() {
    static std::vector<TGridExtensionFactoryEh> factories;
    return factories;
}

} // namespace

void RegisterGridExtensionEh(TGridExtensionFactoryEh factory) {
    auto& factories = Factories();
    if (std::find(factories.begin(), factories.end(), factory) == factories.end())
        factories.push_back(factory);
}

void AddRegisteredExtensionsEh(TDBGridEh& grid) {
    for (TGridExtensionFactoryEh factory : Factories())
        grid.AddExtension(factory(grid));
}

bool TGridExtensionEh::KeyDown(TDBGridEh&, unsigned short&, TShiftState) {
    return false;
}

bool TGridExtensionEh::KeyPress(TDBGridEh&, QChar) {
    return false;
}

void TGridExtensionEh::KeyUp(TDBGridEh&, unsigned short, TShiftState) {}

bool TGridExtensionEh::SearchKey(TDBGridEh&, TGridSearchKeyEh) {
    return false;
}

void TGridExtensionEh::CurrentCellChanged(TDBGridEh&) {}

bool TGridExtensionEh::AllowEditor(const TDBGridEh&) const {
    return true;
}

void TGridExtensionEh::FocusLost(TDBGridEh&) {}

void TGridExtensionEh::TitleClicked(TDBGridEh&, TColumnEh&, TShiftState) {}

void TGridExtensionEh::PaintTitleDecoration(QPainter&, const TTitlePaintInfoEh&, QRect&) {}

void TGridExtensionEh::PaintCurrentCellOverlay(QPainter&, const TCellPaintInfoEh&) {}

std::optional<QColor> TGridExtensionEh::CurrentIndicatorColor(const TDBGridEh&) const {
    return std::nullopt;
}
