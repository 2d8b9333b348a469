#include "grid/search/grid_text_search_eh.h"

#include "grid/dbgrideh.h"
#include "grid/grid_error_eh.h"
#include "grid/search/pending_escape_eh.h"

#include <algorithm>
#include <optional>

namespace {

// The start column's place among the visible columns: -1 when it is hidden.
int StartIndex(const TDBGridEh& grid, const std::vector<TColumnEh*>& visible,
               const QString& fieldName) {
    if (fieldName.isEmpty())
        return grid.VisibleSelectedIndex();
    const TDBGridColumnsEh& columns = grid.Columns();
    for (int i = 0; i < columns.Count(); ++i) {
        const TColumnEh& column = columns[i];
        if (column.FieldName().compare(fieldName, Qt::CaseInsensitive) != 0)
            continue;
        const auto at = std::find(visible.begin(), visible.end(), &column);
        return at == visible.end() ? -1 : static_cast<int>(at - visible.begin());
    }
    throw EInvalidGridOperation(
        QStringLiteral("El nombre de campo '%1' no se encuentra").arg(fieldName));
}

// The walk over the cells, with the dataset's controls frozen.
class TCellWalk {
public:
    TCellWalk(TDBGridEh& grid, const TGridTextSearchEh& search,
              const std::vector<TColumnEh*>& visible, int start)
        : grid_(grid), dataSet_(*grid.DataSet()), search_(search), column_(start),
          up_(search.direction == TGridTextDirectionEh::Up),
          match_(search.text, search.match, search.caseInsensitive) {
        // The columns' fields, looked up once for the whole walk.
        for (const TColumnEh* column : visible)
            fields_.push_back(column->Field());
    }

    bool Run() {
        const TDataBookmark bookmark = dataSet_.Bookmark();
        const int offset = grid_.SaveScrollOffset();
        std::optional<TPendingEscapeEh> escape;
        if (search_.stopOnEscape)
            escape.emplace();
        if (search_.direction == TGridTextDirectionEh::All)
            dataSet_.First();
        else
            Step();
        while (!(up_ ? dataSet_.Bof() : dataSet_.Eof())) {
            if (match_.Matches(CellText())) {
                grid_.SelectVisibleColumn(column_);
                return true;
            }
            if (escape && escape->Pending())
                break;
            Step();
        }
        if (dataSet_.BookmarkValid(bookmark))
            dataSet_.GotoBookmark(bookmark);
        grid_.RestoreScrollOffset(offset);
        return false;
    }

private:
    // To the next cell: across the columns and on to the next (or previous)
    // record, or down (or up) the start column.
    void Step() {
        const int count = static_cast<int>(fields_.size());
        if (search_.allColumns) {
            column_ += up_ ? -1 : 1;
            if (column_ >= 0 && column_ < count)
                return;
            column_ = up_ ? count - 1 : 0;
        }
        if (up_)
            dataSet_.Prior();
        else
            dataSet_.Next();
    }

    // The text the grid shows in the cell (as CellDisplayText gives it), or
    // the field's value as plain text; empty without a field.
    QString CellText() const {
        const TField* field = fields_[static_cast<size_t>(column_)];
        if (!field)
            return QString();
        return search_.displayText ? field->DisplayText() : field->AsString();
    }

    TDBGridEh& grid_;
    TDataSet& dataSet_;
    const TGridTextSearchEh& search_;
    std::vector<const TField*> fields_;
    int column_;
    bool up_;
    TTextMatchEh match_;
};

} // namespace

bool SearchGridText(TDBGridEh& grid, const TGridTextSearchEh& search) {
    TDataSet* dataSet = grid.DataSet();
    if (!grid.DataLink().Active() || !dataSet || !dataSet->Active())
        return false;
    const std::vector<TColumnEh*> visible = grid.VisibleColumns();
    const int start = StartIndex(grid, visible, search.fieldName);
    if (visible.empty() || start < 0)
        return false;
    // The moves post a record being edited: a cell text not yet in its field
    // goes there first, as the frozen controls cannot be asked for it.
    grid.UpdateText();
    TCellWalk walk(grid, search, visible, start);
    dataSet->DisableControls();
    bool found = false;
    try {
        found = walk.Run();
    } catch (...) {
        try {
            dataSet->EnableControls();
        } catch (...) {
            // The error that stopped the search is the one to report.
        }
        throw;
    }
    dataSet->EnableControls();
    return found;
}
