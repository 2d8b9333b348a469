#pragma once
// TIncSearchEh: the grid's incremental search. Ctrl+F turns the search mode
// on; each character typed then moves the current record to the first row
// whose text in the current column begins with what was typed so far, in
// any letter case, and the matched beginning is drawn on yellow over the
// current cell. Ctrl+Enter and Ctrl+Shift+Enter walk the other rows that
// match; a second Ctrl+F ends the search and opens the find dialog; Enter,
// Esc, F2 and any move to another cell end it.

#include "grid/grid_extension_eh.h"
#include "grid/search/grid_text_search_eh.h"

#include <QString>
#include <memory>

class QTimer;

class TIncSearchEh : public TGridExtensionEh {
public:
    explicit TIncSearchEh(TDBGridEh& grid);
    ~TIncSearchEh() override;

    // ---- The search's state ------------------------------------------------------------
    bool Searching() const { return searching_; }
    // The text matched so far, in the letter case of the value it matched.
    const QString& SearchText() const { return searchText_; }
    // Milliseconds of inactivity that end the search; -1 for none.
    int Timeout() const { return timeout_; }
    // The search's timer is running.
    bool TimerArmed() const { return timerArmed_; }

    // One step of the search: `added` appended to the text and searched for
    // in `direction` (nothing is searched for an empty text); a text that
    // matches no row is not kept. The search mode is on afterwards, with
    // `timeout` (-1: none). Does nothing while the grid's data link is not
    // active.
    void AddToSearch(const QString& added, int timeout, TGridTextDirectionEh direction);
    // Turns the search mode off and clears the text.
    void EndSearch();

    // ---- Extension points ---------------------------------------------------------------
    bool KeyDown(TDBGridEh& grid, unsigned short& key, TShiftState shift) override;
    bool KeyPress(TDBGridEh& grid, QChar key) override;
    void CurrentCellChanged(TDBGridEh& grid) override;
    bool AllowEditor(const TDBGridEh& grid) const override;
    void PaintCurrentCellOverlay(QPainter& painter, const TCellPaintInfoEh& cell) override;
    std::optional<QColor> CurrentIndicatorColor(const TDBGridEh& grid) const override;

private:
    // Keys while the search runs.
    bool SearchingKeyDown(unsigned short key, TShiftState shift);
    // Ctrl+F: starts the search, or ends it for the find dialog.
    void StartKey();
    void Backspace();
    void PasteClipboard();
    void RestartTimer();
    bool Browsing() const;

    TDBGridEh& grid_;
    bool searching_ = false;
    QString searchText_;
    int timeout_ = -1;
    bool timerArmed_ = false;
    // The grid's second timer (the first scrolls during a drag): it ends a
    // search that has a timeout.
    std::unique_ptr<QTimer> timer_;
    // The search's own locate is moving the current cell.
    bool locating_ = false;
};

// Every grid created from now on gets an incremental search.
void RegisterIncSearchEh();
