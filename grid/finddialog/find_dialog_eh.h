#pragma once
// TDBGridEhFindDlg: the grid's find dialog. The user types a text, chooses a
// column (or all of them), how the text must match, the direction and the
// case rule, and presses "&Find next" again and again to move the grid to
// each cell that holds the text in turn. There is one for the whole
// program, owned by the application and kept hidden between openings, so
// that the texts searched and the choices made stay for the next time.

#include "grid/search/grid_text_search_eh.h"
#include "platform/formfile/class_registry.h"
#include "platform/ui/form.h"

class TButton;
class TCheckBox;
class TComboBox;
class TDBGridEh;
class TLabel;

class TDBGridEhFindDlg : public TForm {
public:
    explicit TDBGridEhFindDlg(TComponent* owner);
    ~TDBGridEhFindDlg() override;
    QString ClassName() const override { return QStringLiteral("TDBGridEhFindDlg"); }

    // Opens the dialog for `grid` with `text` to find; a modal dialog
    // returns when the user has closed it.
    void Execute(TDBGridEh& grid, const QString& text, bool modal);
    // "&Find next": one search from the grid's current cell; `reverse` (Ctrl
    // held) turns the direction round.
    void FindNext(bool reverse);
    // The search "&Find next" would make now.
    TGridTextSearchEh Request(bool reverse) const;

    TDBGridEh* Grid() const { return grid_; }
    // The next search is the first since the dialog opened or since the
    // text, the column, the direction or the tree range changed.
    bool FirstTry() const { return firstTry_; }
    // The tree range row: only a tree-shaped dataset has a use for it.
    void SetTreeRowShown(bool shown);

    TLabel* Label1 = nullptr;
    TComboBox* cbText = nullptr;
    TLabel* Label2 = nullptr;
    TComboBox* cbFindIn = nullptr;
    TLabel* cbMatchType = nullptr;
    TComboBox* cbMatchinType = nullptr;
    TLabel* Label3 = nullptr;
    TComboBox* cbFindDirection = nullptr;
    TCheckBox* cbCharCase = nullptr;
    TCheckBox* cbUseFormat = nullptr;
    TLabel* Label4 = nullptr;
    TComboBox* dbcTreeFindRange = nullptr;
    TButton* bFind = nullptr;
    TButton* bCancel = nullptr;

protected:
    void BindComponents() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    THandlerTable Handlers();
    void FormKeyDown(TObject* Sender, unsigned short& Key, TShiftState Shift);
    void bFindClick(TObject* Sender);
    void bCancelClick(TObject* Sender);
    void SearchChanged(TObject* Sender);
    void SetGrid(TDBGridEh* grid);
    void FillFindIn();

    TDBGridEh* grid_ = nullptr;
    // The field names of the columns listed in cbFindIn, in its order.
    QStringList findInFields_;
    bool firstTry_ = true;
    // The client height the form description gives, with the tree row.
    int fullClientHeight_ = 0;
};

// The program's find dialog, while it exists.
extern TDBGridEhFindDlg* DBGridEhFindDlg;

// Opens the program's find dialog for `grid` with `text` to find, creating
// it the first time; with `modal`, returns when the user has closed it.
void ShowGridFindDialog(TDBGridEh& grid, const QString& text, bool modal);

// Registers the dialog's class for its description.
void RegisterFindDialogClasses();
