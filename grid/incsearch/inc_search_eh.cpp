#include "grid/incsearch/inc_search_eh.h"

#include "grid/dbgrideh.h"
#include "grid/grid_widget_eh.h"
#include "grid/incsearch/inc_search_highlight_eh.h"
#include "grid/incsearch/inc_search_settings_eh.h"
#include "platform/ui/application.h"

#include <QScopedValueRollback>
#include <QTimer>

namespace {

// Holds the grid's repainting back while it lives: the search lets waiting
// paints run while it looks for an Esc, and the grid is not to show the
// rows the search walks through.
class THeldRepaint {
public:
    explicit THeldRepaint(QWidget& widget) : widget_(widget), was_(widget.updatesEnabled()) {
        widget_.setUpdatesEnabled(false);
    }
    ~THeldRepaint() { widget_.setUpdatesEnabled(was_); }
    THeldRepaint(const THeldRepaint&) = delete;
    THeldRepaint& operator=(const THeldRepaint&) = delete;

private:
    QWidget& widget_;
    bool was_;
};

std::unique_ptr<TGridExtensionEh> MakeIncSearch(TDBGridEh& grid) {
    return std::make_unique<TIncSearchEh>(grid);
}

} // namespace

void RegisterIncSearchEh() {
    RegisterGridExtensionEh(&MakeIncSearch);
}

TIncSearchEh::TIncSearchEh(TDBGridEh& grid) : grid_(grid), timer_(std::make_unique<QTimer>()) {
    timer_->setSingleShot(true);
    QObject::connect(timer_.get(), &QTimer::timeout,
                     [this] { Application->Dispatch(&grid_, [this] { EndSearch(); }); });
}

TIncSearchEh::~TIncSearchEh() = default;

void TIncSearchEh::AddToSearch(const QString& added, int timeout, TGridTextDirectionEh direction) {
    if (!grid_.DataLink().Active())
        return;
    QString candidate = searchText_ + added;
    bool found = false;
    {
        const QScopedValueRollback locating(locating_, true);
        if (!candidate.isEmpty()) {
            TGridTextSearchEh search;
            search.text = candidate;
            search.match = TGridTextMatchEh::BeginningOfField;
            search.direction = direction;
            search.caseInsensitive = true;
            search.displayText = true;
            search.stopOnEscape = true;
            const THeldRepaint held(grid_.GridWidget());
            found = SearchGridText(grid_, search);
        }
        // The text kept is the found value's own beginning, in its letter case.
        if (const TColumnEh* column = grid_.SelectedColumn(); found && column)
            candidate = grid_.CellDisplayText(*column).left(candidate.size());
        // A cell text typed before the search started goes into its field,
        // as on every other way out of the editor.
        grid_.UpdateText();
        grid_.HideEditor();
    }
    searching_ = true;
    if (found)
        searchText_ = candidate;
    grid_.InvalidateCurrentRow();
    timeout_ = timeout;
    RestartTimer();
}

void TIncSearchEh::EndSearch() {
    if (!searching_)
        return;
    if (timerArmed_) {
        timer_->stop();
        timerArmed_ = false;
    }
    searching_ = false;
    searchText_.clear();
    grid_.InvalidateCurrentRow();
}

void TIncSearchEh::RestartTimer() {
    timer_->stop();
    timerArmed_ = timeout_ >= 0;
    if (timerArmed_)
        timer_->start(timeout_);
}

void TIncSearchEh::CurrentCellChanged(TDBGridEh&) {
    // Any move but the search's own ends it: keys, mouse, scroll bar, the program.
    if (!locating_)
        EndSearch();
}

bool TIncSearchEh::AllowEditor(const TDBGridEh&) const {
    return !searching_;
}

void TIncSearchEh::PaintCurrentCellOverlay(QPainter& painter, const TCellPaintInfoEh& cell) {
    // Only while the grid itself has the focus of the active window.
    if (!searching_ || !grid_.GridWidget().hasFocus())
        return;
    const TIncSearchSettingsEh& settings = IncSearchSettingsEh();
    const QPalette& palette = grid_.GridWidget().palette();
    PaintSearchHighlightEh(painter, cell, searchText_, settings.highlightColor.Resolve(palette),
                           settings.highlightTextColor.Resolve(palette));
}

std::optional<QColor> TIncSearchEh::CurrentIndicatorColor(const TDBGridEh&) const {
    if (!searching_)
        return std::nullopt;
    return IncSearchSettingsEh().highlightColor.Resolve(grid_.GridWidget().palette());
}
