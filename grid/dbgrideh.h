#pragma once
// TDBGridEh: the data grid. It shows the records of a data source's dataset
// in rows and the fields of its columns in cells, under a row of column
// titles and above a footer row, with a row indicator at the left; it fits
// the column widths to its width, lets the user move through the records and
// columns by keyboard, mouse and scroll bar, edit cells, resize and move
// columns. It paints its own cells on a scroll area.
//
// The grid's parts live beside this class: the layout arithmetic
// (layout/), the columns (columns/), the rows on view and the data link
// (data/), the cell painting (paint/), the key and mouse handling (input/),
// the cell editor (editor/) and the sum list (sumlist/). Title sorting and
// the searches join as extensions (grid_extension_eh.h); the sort markers'
// rules live with the sorting (sorting/sort_marking_eh.h).

#include "grid/columns/columns_host_eh.h"
#include "grid/columns/db_grid_columns_eh.h"
#include "grid/data/grid_data_link_eh.h"
#include "grid/data/visible_rows_eh.h"
#include "grid/grid_extension_eh.h"
#include "grid/grid_options_eh.h"
#include "grid/layout/grid_geometry.h"
#include "grid/layout/vert_scroll_mapping.h"
#include "grid/sumlist/db_grid_eh_sum_list.h"
#include "platform/ui/control.h"
#include "platform/ui/system_colors.h"

#include <memory>
#include <vector>

class TDataSource;
class TGridWidgetEh;
class TInplaceEditEh;
class TGridKeysEh;
class TRowPicturesEh;
class TGridMouseEh;
class QPainter;
class QKeyEvent;
struct TGridPaletteEh;

// Called on a title click: the column's place among the grid's cells and the column.
using TTitleEhClickEvent = std::function<void(TObject* Sender, int ACol, TColumnEh* Column)>;

// ColumnDefValues: what columns take when they set nothing themselves.
struct TColumnDefValuesEh {
    struct {
        bool TitleButton = false;
    } Title;
};

class TDBGridEh : public TControl, private IColumnsHostEh, private IGridDataLinkClientEh {
public:
    explicit TDBGridEh(TComponent* owner);
    ~TDBGridEh() override;
    QString ClassName() const override { return QStringLiteral("TDBGridEh"); }

    // ---- Data ---------------------------------------------------------------------------
    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const;
    TGridDataLinkEh& DataLink() { return dataLink_; }
    const TGridDataLinkEh& DataLink() const { return dataLink_; }
    TDBGridEhSumList& SumList() { return sumList_; }

    // ---- Columns --------------------------------------------------------------------------
    TDBGridColumnsEh& Columns() { return columns_; }
    const TDBGridColumnsEh& Columns() const { return columns_; }
    std::vector<TColumnEh*> VisibleColumns() const { return columns_.VisibleColumns(); }
    TColumnDefValuesEh& ColumnDefValues() { return columnDefValues_; }
    // The column of the current cell: an index into Columns (0, with no
    // selected column, while there are none).
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int index);
    TColumnEh* SelectedColumn() const;
    // The selected column's place among the visible columns (-1 when none).
    int VisibleSelectedIndex() const;
    void SelectVisibleColumn(int visibleIndex);
    // The text the column shows for the current record.
    QString CellDisplayText(const TColumnEh& column) const;
    // The sort-marked columns in SortIndex order (grid/sorting/sort_marking_eh.h).
    std::vector<TColumnEh*> SortColumnList() const;

    // ---- Settings ---------------------------------------------------------------------------
    TDBGridOptions Options() const { return options_; }
    void SetOptions(TDBGridOptions options);
    TDBGridEhOptions OptionsEh() const { return optionsEh_; }
    void SetOptionsEh(TDBGridEhOptions options);
    TDBGridEhAllowedOperations AllowedOperations() const { return allowedOperations_; }
    void SetAllowedOperations(TDBGridEhAllowedOperations ops) { allowedOperations_ = ops; }
    TDBGridEhAllowedSelections AllowedSelections() const { return allowedSelections_; }
    void SetAllowedSelections(TDBGridEhAllowedSelections s) { allowedSelections_ = s; }
    TDBGridEhEditActions EditActions() const { return editActions_; }
    void SetEditActions(TDBGridEhEditActions actions) { editActions_ = actions; }
    TGridIndicatorOptions IndicatorOptions() const { return indicatorOptions_; }
    void SetIndicatorOptions(TGridIndicatorOptions options);
    bool AutoFitColWidths() const { return autoFitColWidths_; }
    void SetAutoFitColWidths(bool on);
    int MinAutoFitWidth() const { return minAutoFitWidth_; }
    void SetMinAutoFitWidth(int width);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on);
    bool Flat() const { return flat_; }
    void SetFlat(bool on);
    bool SortLocal() const { return sortLocal_; }
    void SetSortLocal(bool on) { sortLocal_ = on; }
    int FooterRowCount() const { return footerRowCount_; }
    void SetFooterRowCount(int count);
    // Columns kept from scrolling: none in this program, where the columns
    // are fitted and never scroll.
    int FrozenCols() const { return 0; }
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int width);
    // Whether a single border frames the grid (bsSingle) or none (bsNone).
    bool BorderSingle() const { return borderSingle_; }
    void SetBorderSingle(bool on);
    TScrollBarVisibleModeEh VertScrollBarVisibleMode() const { return vertVisibleMode_; }
    void SetVertScrollBarVisibleMode(TScrollBarVisibleModeEh mode);
    bool VertScrollBarTracking() const { return vertTracking_; }
    void SetVertScrollBarTracking(bool on);

    // ---- Look ---------------------------------------------------------------------------------
    TColor Color() const { return color_; }
    void SetColor(const TColor& color);
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(const TColor& color);
    TColor FooterColor() const { return footerColor_; }
    void SetFooterColor(const TColor& color);
    // The grid's font is the widget's (Font.Name, ...); the title and footer
    // fonts are based on it.
    QFont Font() const;
    TGridFontEh& TitleFont() { return titleFont_; }
    TGridFontEh& FooterFont() { return footerFont_; }
    void FontsChanged();

    // ---- Layout -------------------------------------------------------------------------------
    // A layout pass: columns rebound, row heights, visible rows, scroll bar,
    // fitted widths, cells laid out.
    void LayoutChanged();
    // The fitting pass alone (part of every layout pass).
    void FitColumnWidths();
    // After the user changed a column's cell width: weights moved, the widths
    // applied, OnColWidthsChanged, and a layout pass.
    void RebalanceFitWeights();
    const TGridGeometryEh& Geometry() const { return geometry_; }
    int RowHeight() const { return geometry_.rowHeight; }
    int TitleHeight() const { return geometry_.titleHeight; }
    int IndicatorWidth() const { return geometry_.indicatorWidth; }
    // Data rows the view has room for.
    int VisibleRowCount() const { return rows_.Capacity(); }
    const TVisibleRowsEh& Rows() const { return rows_; }
    // The client area's size (without the border and the scroll bar).
    int ClientWidth() const;
    int ClientHeight() const;
    // The width of the cells of a visible column (after a user drag and
    // before the weights are rebalanced it can differ from the column's Width).
    int CellWidth(int visibleIndex) const;
    void SetCellWidth(int visibleIndex, int width);
    // The first visible column shown (the horizontal scroll; 0 while fitting).
    int LeftColumn() const { return leftColumn_; }

    // The row of the current record on view, to save and restore around a
    // search that moves and comes back.
    int SaveScrollOffset() const { return rows_.CurrentRow(); }
    void RestoreScrollOffset(int offset);

    // ---- Moves and edits -------------------------------------------------------------------
    // The user's moves, as keys, mouse and scroll bar make them; each keeps
    // the current record on view. With `keepRowPlace` the current record
    // keeps its row on view (page moves).
    void MoveBy(int distance, bool keepRowPlace = false);
    // Moves to the record that `recNo` numbers on view now (Rows()), as a
    // click, Ctrl+PgUp/PgDn and the scroll bar aim at it. A pending new or
    // changed record is posted (or an untouched new one cancelled) first;
    // the move still lands on that record, however the post renumbers.
    void MoveToRecord(int recNo);
    void MoveToFirst();
    void MoveToLast();
    // Up and Down with the rules for a new record: discard an unchanged one,
    // append past the last record.
    void PriorRecord();
    void NextRecord();
    bool CanAppend() const;
    bool CanInsert() const;
    bool CanDelete() const;
    // The editability rule of the current cell.
    bool CanEditModify() const;
    bool EditorMode() const;
    // Opens the cell editor on the current cell (when it may be edited) with
    // the field's text selected; false when it stays closed.
    bool ShowEditor();
    // Closes the editor without writing its text.
    void HideEditor();
    // Writes the editor's changed text into the field.
    void UpdateText();
    TInplaceEditEh* InplaceEditor() const { return editor_; }
    // Asks "Delete record?" when dgConfirmDelete is on, then deletes.
    void DeleteRecord();

    // ---- Extensions --------------------------------------------------------------------------
    TGridExtensionEh& AddExtension(std::unique_ptr<TGridExtensionEh> extension);
    template <typename T> T* Extension() const {
        for (const auto& e : extensions_)
            if (auto* typed = dynamic_cast<T*>(e.get()))
                return typed;
        return nullptr;
    }
    const std::vector<std::unique_ptr<TGridExtensionEh>>& Extensions() const { return extensions_; }
    // The grid or its cell editor has the keyboard focus.
    bool HasFocusWithin() const;
    void InvalidateGrid();
    void InvalidateCurrentRow();

    // ---- Events -----------------------------------------------------------------------------
    TNotifyEvent OnColWidthsChanged;
    TTitleEhClickEvent OnTitleBtnClick;
    // Replaces the built-in sorting by the title markers when assigned.
    TNotifyEvent OnSortMarkingChanged;
    TNotifyEvent OnDblClick;

    // A title button was clicked: OnTitleBtnClick, then the extensions.
    void TitleClick(TColumnEh& column, TShiftState shift);

    void Loaded() override;
    // The form reader creates the grid in this state: nothing is laid out
    // until Loaded, so the declared widths become the fit weights.
    void BeginLoading();

    // For the widget, the painter and the input handlers.
    TGridWidgetEh& GridWidget() const;
    TGridMouseEh& Mouse() const { return *mouse_; }
    TGridKeysEh& Keys() const { return *keys_; }
    void PaintGrid(QPainter& painter, const QRect& area);
    // The data rows as last painted, for the painter.
    TRowPicturesEh& RowPictures() const { return *rowPictures_; }
    // The colours of a paint, from the colour properties and the widget's palette.
    TGridPaletteEh Palette() const;
    void ViewportResized();
    void FocusEnteredGrid();
    // The keyboard focus left the grid and its cell editor. The extensions
    // hear of every such loss; the pending cell is settled (dgCancelOnExit)
    // only when `toAnotherControl`, not when the window merely went inactive
    // or a popup took the keys for a while.
    void FocusLeftGrid(bool toAnotherControl);
    // False when an extension took the key: no character follows from it.
    bool KeyDown(unsigned short key, TShiftState shift);
    void KeyPress(QChar key);
    void KeyUp(unsigned short key, TShiftState shift);
    // A key typed into the cell editor; true when the grid took it.
    bool EditorKey(QKeyEvent* event);
    void EditorTextEdited();
    void ScrollBarAction(int action);
    void ScrollBarReleased();
    // Places the current record and column on a data cell (a click).
    void MoveToCell(int row, int visibleIndex);
    void MoveColumn(int fromVisible, int toVisible);
    // The current cell changed: extensions hear of it.
    void CurrentCellMaybeChanged();

protected:
    bool WidgetEvent(QEvent* event) override;

private:
    // IColumnsHostEh
    TDataSet* ColumnsDataSet() const override { return DataSet(); }
    QFont ColumnsFont() const override { return Font(); }
    QFont ColumnsTitleFont() const override;
    int DefaultColumnWidth() const override { return defaultColWidth_; }
    bool DefaultTitleButton() const override { return columnDefValues_.Title.TitleButton; }
    bool MultiSortMarking() const override {
        return optionsEh_.Contains(TDBGridEhOption::dghMultiSortMarking);
    }
    void ColumnsChanged(TColumnChangeEh change) override;
    // IGridDataLinkClientEh
    void LinkActiveChanged() override;
    void LinkEditingChanged() override;
    void LinkDataSetChanged() override;
    void LinkDataSetScrolled(int distance) override;
    void LinkRecordChanged(TField* field) override;
    void LinkLayoutChanged() override;
    void LinkUpdateData() override;
    void LinkFocusControl(TField* field) override;

    void SyncRows();
    void UpdateScrollBars();
    TRecordViewEh RecordView() const;
    void ApplyScroll(TScrollActionEh action, int position);
    // A record being inserted that nobody has changed (the editor's text included).
    bool NewRecordUnchanged() const;
    // Posts or cancels a pending record and returns the number that the
    // record numbered `recNo` on view before has now.
    int SettlePendingRecord(int recNo);
    // The grid, its link and the dataset allow changes.
    bool Modifiable() const;
    void PlaceEditor();
    void ResetEditorText();
    void ClampSelectedIndex();
    void ScrollColumnIntoView(int visibleIndex);
    void PostRefit();

    TGridWidgetEh* widget_ = nullptr;
    TGridDataLinkEh dataLink_{*this};
    TDBGridColumnsEh columns_{this, this};
    TColumnDefValuesEh columnDefValues_;
    TVisibleRowsEh rows_;
    TGridGeometryEh geometry_;
    std::vector<int> cellWidths_;
    TDBGridEhSumList sumList_;
    std::vector<std::unique_ptr<TGridExtensionEh>> extensions_;
    std::unique_ptr<TGridKeysEh> keys_;
    std::unique_ptr<TGridMouseEh> mouse_;
    std::unique_ptr<TRowPicturesEh> rowPictures_;
    TInplaceEditEh* editor_ = nullptr;

    TDBGridOptions options_ = DefaultGridOptions;
    TDBGridEhOptions optionsEh_ = DefaultGridOptionsEh;
    TDBGridEhAllowedOperations allowedOperations_ = DefaultAllowedOperations;
    TDBGridEhAllowedSelections allowedSelections_ = DefaultAllowedSelections;
    TDBGridEhEditActions editActions_;
    TGridIndicatorOptions indicatorOptions_ = DefaultIndicatorOptions;
    bool autoFitColWidths_ = false;
    int minAutoFitWidth_ = 0;
    bool readOnly_ = false;
    bool flat_ = false;
    bool sortLocal_ = false;
    int footerRowCount_ = 0;
    int defaultColWidth_ = 64;
    bool borderSingle_ = true;
    TScrollBarVisibleModeEh vertVisibleMode_ = TScrollBarVisibleModeEh::sbAutoShowEh;
    bool vertTracking_ = true;
    TColor color_ = Colors::clWindow;
    TColor fixedColor_ = Colors::clBtnFace;
    TColor footerColor_ = Colors::clWindow;
    TGridFontEh titleFont_;
    TGridFontEh footerFont_;

    int selectedIndex_ = 0;
    int leftColumn_ = 0;
    bool loading_ = false;
    bool inLayout_ = false;
    bool refitPosted_ = false;
    bool togglingScrollBar_ = false;
    bool appendedByGrid_ = false;
    int scrollPosition_ = 1;
    // What the extensions last heard as the current cell.
    int lastRecNo_ = -1;
    int lastRowCount_ = -1;
    int lastSelected_ = -1;
    TDataSetState lastState_ = dsInactive;
    // The record the editor was opened on.
    int editorRecNo_ = 0;
    bool editorInsert_ = false;
};
