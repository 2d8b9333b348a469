#include "grid/finddialog/find_dialog_eh.h"

#include "grid/dbgrideh.h"
#include "grid/register_grid_classes.h"
#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/check_box.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/label.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGuiApplication>
#include <QWindow>
#include <algorithm>

TDBGridEhFindDlg* DBGridEhFindDlg = nullptr;

namespace {

constexpr unsigned short kKeyEnter = 13;
constexpr unsigned short kKeyEscape = 27;

const QString kAllColumns = QStringLiteral("<All>");

// The choice of a combo box whose items stand for the values in order; a
// text that is none of its items counts as `fallback`.
template <typename E>
E Choice(const TComboBox& combo, std::initializer_list<E> values, E fallback) {
    const int index = combo.ItemIndex();
    if (index < 0 || index >= static_cast<int>(values.size()))
        return fallback;
    return *(values.begin() + index);
}

} // namespace

TDBGridEhFindDlg::TDBGridEhFindDlg(TComponent* owner) : TForm(owner) {
    RegisterGridClasses();
    InitForm(Handlers(), QStringLiteral(":/grid/find_dialog_eh.form"));
}

TDBGridEhFindDlg::~TDBGridEhFindDlg() {
    if (DBGridEhFindDlg == this)
        DBGridEhFindDlg = nullptr;
    SetGrid(nullptr);
}

THandlerTable TDBGridEhFindDlg::Handlers() {
    THandlerTable h;
    h.Add<TKeyEvent>("FormKeyDown", [this](TObject* s, unsigned short& k, TShiftState shift) {
        FormKeyDown(s, k, shift);
    });
    h.Add<TNotifyEvent>("bFindClick", [this](TObject* s) { bFindClick(s); });
    h.Add<TNotifyEvent>("bCancelClick", [this](TObject* s) { bCancelClick(s); });
    h.Add<TNotifyEvent>("SearchChanged", [this](TObject* s) { SearchChanged(s); });
    return h;
}

void TDBGridEhFindDlg::BindComponents() {
    Label1 = FindRequired<TLabel>(*this, "Label1");
    cbText = FindRequired<TComboBox>(*this, "cbText");
    Label2 = FindRequired<TLabel>(*this, "Label2");
    cbFindIn = FindRequired<TComboBox>(*this, "cbFindIn");
    cbMatchType = FindRequired<TLabel>(*this, "cbMatchType");
    cbMatchinType = FindRequired<TComboBox>(*this, "cbMatchinType");
    Label3 = FindRequired<TLabel>(*this, "Label3");
    cbFindDirection = FindRequired<TComboBox>(*this, "cbFindDirection");
    cbCharCase = FindRequired<TCheckBox>(*this, "cbCharCase");
    cbUseFormat = FindRequired<TCheckBox>(*this, "cbUseFormat");
    Label4 = FindRequired<TLabel>(*this, "Label4");
    dbcTreeFindRange = FindRequired<TComboBox>(*this, "dbcTreeFindRange");
    bFind = FindRequired<TButton>(*this, "bFind");
    bCancel = FindRequired<TButton>(*this, "bCancel");
    fullClientHeight_ = ClientHeight();
}

void TDBGridEhFindDlg::Notification(TComponent* component, TOperation operation) {
    TForm::Notification(component, operation);
    if (operation == TOperation::opRemove && component == grid_)
        grid_ = nullptr;
}

void TDBGridEhFindDlg::SetGrid(TDBGridEh* grid) {
    if (grid == grid_)
        return;
    if (grid_) {
        RemoveFreeNotification(grid_);
        grid_->RemoveFreeNotification(this);
    }
    grid_ = grid;
    if (grid_)
        FreeNotification(grid_);
}

void TDBGridEhFindDlg::SetTreeRowShown(bool shown) {
    Label4->SetVisible(shown);
    dbcTreeFindRange->SetVisible(shown);
    SetClientHeight(shown ? fullClientHeight_ : std::min(Label4->Top(), dbcTreeFindRange->Top()));
}

void TDBGridEhFindDlg::Execute(TDBGridEh& grid, const QString& text, bool modal) {
    // Only a tree-shaped in-memory table has nodes to choose among; no
    // dataset of this program is one.
    SetTreeRowShown(false);
    cbText->SetText(text);
    SetGrid(&grid);
    FillFindIn();
    firstTry_ = true;
    cbText->SetFocus();
    // In front of the window that holds the grid.
    QWidget* window = Widget();
    window->winId();
    if (QWindow* handle = window->windowHandle()) {
        const QWidget* gridWindow = grid.Widget()->window();
        handle->setTransientParent(gridWindow ? gridWindow->windowHandle() : nullptr);
    }
    if (modal)
        ShowModal();
    else
        Show();
}

void TDBGridEhFindDlg::FillFindIn() {
    QStringList captions;
    findInFields_.clear();
    const TColumnEh* current = grid_->SelectedColumn();
    const QString currentCaption = current ? current->Title().Caption() : QString();
    int selected = -1;
    for (const TColumnEh* column : grid_->VisibleColumns()) {
        const QString caption = column->Title().Caption();
        if (selected < 0 && current && caption == currentCaption)
            selected = static_cast<int>(captions.size());
        captions << caption;
        findInFields_ << column->FieldName();
    }
    captions << kAllColumns;
    cbFindIn->SetItems(captions);
    cbFindIn->SetItemIndex(selected >= 0 ? selected : static_cast<int>(captions.size()) - 1);
}

TGridTextSearchEh TDBGridEhFindDlg::Request(bool reverse) const {
    using D = TGridTextDirectionEh;
    using M = TGridTextMatchEh;
    using R = TGridTreeFindRangeEh;
    TGridTextSearchEh search;
    const int column = cbFindIn->ItemIndex();
    if (column >= 0 && column < findInFields_.size())
        search.fieldName = findInFields_[column];
    search.allColumns = column >= 0 && column == findInFields_.size();
    search.text = cbText->Text();
    search.match =
        Choice(*cbMatchinType, {M::AnyPart, M::WholeField, M::BeginningOfField}, M::AnyPart);
    search.direction = Choice(*cbFindDirection, {D::Up, D::Down, D::All}, D::All);
    if (reverse)
        search.direction = search.direction == D::Up ? D::Down : D::Up;
    if (!firstTry_ && search.direction == D::All)
        search.direction = D::Down;
    search.caseInsensitive = !cbCharCase->Checked();
    search.displayText = cbUseFormat->Checked();
    search.stopOnEscape = false;
    search.treeRange =
        Choice(*dbcTreeFindRange, {R::AllNodes, R::ExpandedNodes, R::CurrentLevel, R::CurrentNode},
               R::AllNodes);
    return search;
}

void TDBGridEhFindDlg::FindNext(bool reverse) {
    const QString text = cbText->Text();
    if (!cbText->Items().contains(text))
        cbText->AddItem(text);
    const TDataSet* dataSet = grid_ ? grid_->DataSet() : nullptr;
    if (!dataSet || !dataSet->Active() || !grid_->DataLink().Active())
        return;
    if (SearchGridText(*grid_, Request(reverse)))
        firstTry_ = false;
}

void TDBGridEhFindDlg::bFindClick(TObject*) {
    // Ctrl held down as the button is pressed (or Enter typed) turns the search round.
    FindNext((QGuiApplication::keyboardModifiers() & Qt::ControlModifier) != 0);
}

void TDBGridEhFindDlg::bCancelClick(TObject*) {
    Close();
}

void TDBGridEhFindDlg::SearchChanged(TObject*) {
    firstTry_ = true;
}

void TDBGridEhFindDlg::FormKeyDown(TObject*, unsigned short& Key, TShiftState Shift) {
    if (Shift & ssAlt)
        return;
    if (Key == kKeyEscape) {
        Key = 0;
        bCancel->Click();
        return;
    }
    if (Key != kKeyEnter)
        return;
    // An open drop-down list takes Enter for its own choice.
    for (TComboBox* combo : {cbText, cbFindIn, cbMatchinType, cbFindDirection, dbcTreeFindRange})
        if (combo->Focused() && combo->Combo()->view()->isVisible())
            return;
    Key = 0;
    (bCancel->Focused() ? bCancel : bFind)->Click();
}

void ShowGridFindDialog(TDBGridEh& grid, const QString& text, bool modal) {
    if (!DBGridEhFindDlg)
        DBGridEhFindDlg = new TDBGridEhFindDlg(Application);
    DBGridEhFindDlg->Execute(grid, text, modal);
}
