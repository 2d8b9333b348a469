// The find dialog, driven as a person drives it: keys and clicks on its
// controls inside its modal loop, its captions and lists read back from the
// widgets; the searches it makes on the results grid, its history and
// settings from one opening to the next, and a failing search.

#include "grid/finddialog/find_dialog_eh.h"
#include "platform/system/format_settings.h"
#include "platform/ui/button.h"
#include "platform/ui/check_box.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/label.h"
#include "platform/ui/modal_answerer.h"
#include "tests/grid/search_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

namespace {

QStringList ItemsOf(const TComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->Combo()->count(); ++i)
        items << combo->Combo()->itemText(i);
    return items;
}

// A provider's query that fails while it reads the row after `readable`.
class TFailingQuery : public TMemoryQuery {
public:
    using TMemoryQuery::TMemoryQuery;
    void Next() override {
        if (++read_ >= readable)
            throw EDatabaseError(QStringLiteral("No se pudo leer el registro"));
        TMemoryQuery::Next();
    }
    void Open() override {
        read_ = 0;
        TMemoryQuery::Open();
    }
    int readable = 1000000;

private:
    int read_ = 0;
};

} // namespace

class FindDialogTest : public SearchFixture {
protected:
    void SetUp() override {
        delete DBGridEhFindDlg;
        SearchFixture::SetUp();
        Open(kArticles);
        Show();
    }
    void TearDown() override {
        delete DBGridEhFindDlg;
        LoadFromLocale(QLocale::system());
        SearchFixture::TearDown();
    }

    // Opens the dialog for the grid with `text`, lets `act` work in it and
    // closes it (unless `act` did).
    void InDialog(const std::function<void(TDBGridEhFindDlg&)>& act,
                  const QString& text = QString()) {
        TModalAnswerer person;
        person.answer = [&](TForm& form) {
            // The window system activates the window after showing it.
            EXPECT_TRUE(QTest::qWaitForWindowActive(form.Widget()));
            act(static_cast<TDBGridEhFindDlg&>(form));
            if (form.Widget()->isVisible())
                form.Close();
        };
        ShowGridFindDialog(*grid_, text, true);
        ASSERT_EQ(person.shown, std::vector<QString>{"TDBGridEhFindDlg"});
    }

    // What a person does in the dialog.
    static void Click(TButton* button, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(button->Widget(), Qt::LeftButton, modifiers);
    }
    static void Retype(TDBGridEhFindDlg& dialog, const QString& text) {
        QComboBox* combo = dialog.cbText->Combo();
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(combo, Qt::Key_Delete);
        QTest::keyClicks(combo, text);
    }
    static void Pick(TComboBox* combo, int index) {
        combo->Combo()->setFocus();
        QTest::keyClick(combo->Combo(), Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(combo->Combo(), Qt::Key_Down);
    }
    static void Toggle(TCheckBox* box) {
        box->CheckBox()->setFocus();
        QTest::keyClick(box->CheckBox(), Qt::Key_Space);
    }
    // The place of "<All>" in the column list of the results grid.
    static constexpr int kAll = 6;
};

TEST_F(FindDialogTest, ShowsItsCaptionsAndChoices) {
    GoTo(4, "UNIDAD");
    InDialog([&](TDBGridEhFindDlg& d) {
        EXPECT_EQ(d.Owner(), Application);
        EXPECT_EQ(d.Widget()->windowTitle(), QStringLiteral("Find text"));
        EXPECT_TRUE(d.Widget()->isModal());
        // In front of the window that holds the grid.
        EXPECT_EQ(d.Widget()->windowHandle()->transientParent(), form_->Widget()->windowHandle());
        const std::pair<TLabel*, const char*> labels[] = {{d.Label1, "Fi&nd What:"},
                                                          {d.Label2, "Find &in:"},
                                                          {d.cbMatchType, "Matc&h:"},
                                                          {d.Label3, "Sea&rch:"},
                                                          {d.Label4, "Find in Tree:"}};
        for (const auto& [label, caption] : labels)
            EXPECT_EQ(label->Label()->text(), QString::fromUtf8(caption));
        EXPECT_EQ(d.cbCharCase->CheckBox()->text(), QStringLiteral("Match &Case"));
        EXPECT_EQ(d.cbUseFormat->CheckBox()->text(), QStringLiteral("Match F&ormat"));
        EXPECT_EQ(d.bFind->Button()->text(), QStringLiteral("&Find next"));
        EXPECT_EQ(d.bCancel->Button()->text(), QStringLiteral("Close"));

        EXPECT_EQ(ItemsOf(d.cbMatchinType),
                  (QStringList{"From any part of field", "Whole field", "From beging of field"}));
        EXPECT_EQ(ItemsOf(d.cbFindDirection), (QStringList{"Up", "Down", "All"}));
        EXPECT_EQ(ItemsOf(d.dbcTreeFindRange),
                  (QStringList{"In all nodes", "In expanded nodes", "In current level",
                               "In current node"}));
        EXPECT_EQ(ItemsOf(d.cbFindIn), (QStringList{"CODIGO", "DESCRIPCION", "UNIDAD", "CATEG",
                                                    "SUBCATEG", "PRECIO", "<All>"}));
        // The current column is chosen; the other defaults.
        EXPECT_EQ(d.cbFindIn->Combo()->currentText(), QStringLiteral("UNIDAD"));
        EXPECT_EQ(d.cbMatchinType->Combo()->currentText(),
                  QStringLiteral("From any part of field"));
        EXPECT_EQ(d.cbFindDirection->Combo()->currentText(), QStringLiteral("All"));
        EXPECT_EQ(d.dbcTreeFindRange->Combo()->currentText(), QStringLiteral("In all nodes"));
        EXPECT_FALSE(d.cbCharCase->CheckBox()->isChecked());
        EXPECT_TRUE(d.cbUseFormat->CheckBox()->isChecked());
        EXPECT_TRUE(d.cbText->Combo()->isEditable());
        EXPECT_EQ(d.cbText->Combo()->maxVisibleItems(), 17);
        EXPECT_EQ(d.cbFindIn->Combo()->maxVisibleItems(), 17);
        EXPECT_TRUE(d.cbText->Focused());
        // The labels' access keys move the focus to their boxes.
        QTest::keyClick(d.Widget(), Qt::Key_I, Qt::AltModifier);
        EXPECT_TRUE(d.cbFindIn->Focused());
        QTest::keyClick(d.Widget(), Qt::Key_R, Qt::AltModifier);
        EXPECT_TRUE(d.cbFindDirection->Focused());

        // A client dataset has no tree: the tree row is hidden and the
        // window ends above it.
        EXPECT_FALSE(d.Label4->Widget()->isVisible());
        EXPECT_FALSE(d.dbcTreeFindRange->Widget()->isVisible());
        EXPECT_EQ(d.Widget()->size(), QSize(505, 124));
        d.SetTreeRowShown(true);
        EXPECT_TRUE(d.dbcTreeFindRange->Widget()->isVisible());
        EXPECT_EQ(d.Widget()->size(), QSize(505, 150));
        d.SetTreeRowShown(false);
    });
    // Hidden columns are not offered; "<All>" is chosen when the current
    // column's caption is not in the list.
    grid_->Columns()[2].SetVisible(false);
    grid_->Columns()[5].Title().SetCaption(QStringLiteral("Precio"));
    GoTo(4, "PRECIO");
    InDialog([&](TDBGridEhFindDlg& d) {
        EXPECT_EQ(ItemsOf(d.cbFindIn),
                  (QStringList{"CODIGO", "DESCRIPCION", "CATEG", "SUBCATEG", "Precio", "<All>"}));
        EXPECT_EQ(d.cbFindIn->Combo()->currentText(), QStringLiteral("Precio"));
    });
}

TEST_F(FindDialogTest, CtrlFOpensItWhenTheGridOffersOnlyTheDialog) {
    Rebuild();
    Build(ResultsGridDescription(QStringLiteral("    OptionsEh = [dghDialogFind]\n")));
    Open(kArticles);
    Show();
    GoTo(5, "DESCRIPCION");
    TModalAnswerer person;
    QString text = QStringLiteral("(not opened)");
    person.answer = [&](TForm& form) {
        text = static_cast<TDBGridEhFindDlg&>(form).cbText->Text();
        form.Close();
    };
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(person.shown.size(), 1u);
    EXPECT_EQ(text, QString());
    // From the cell editor, with its selected text as the text to find.
    Key(Qt::Key_F2);
    ASSERT_TRUE(grid_->EditorMode());
    grid_->InplaceEditor()->setSelection(0, 8);
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(person.shown.size(), 2u);
    EXPECT_EQ(text, QStringLiteral("Articulo"));
    EXPECT_EQ(DBGridEhFindDlg->Grid(), grid_);
}

TEST_F(FindDialogTest, CtrlFIsTheIncrementalSearchsWhenTheGridHasIt) {
    TModalAnswerer person;
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(person.shown.empty());
}

TEST_F(FindDialogTest, AllFindsEachOccurrenceInTurnThenStartsOverForANewText) {
    OpenRows({{"A1", "tornillo", "pza", 100},
              {"A2", "tuerca", "pza", 200},
              {"A3", "clavo zeta", "pza", 300},
              {"A4", "perno", "pza", 400},
              {"A5", "bisagra", "pza", 500},
              {"A6", "codo", "pza", 600},
              {"A7", "llave", "ZETA", 700},
              {"A8", "tubo", "pza", 800}});
    GoTo(5, "CODIGO");
    std::vector<std::pair<int, QString>> seen;
    InDialog([&](TDBGridEhFindDlg& d) {
        Pick(d.cbFindIn, kAll);
        Retype(d, QStringLiteral("zeta"));
        for (int i = 0; i < 4; ++i) {
            Click(d.bFind);
            seen.emplace_back(RecNo(), ColumnName());
        }
        Retype(d, QStringLiteral("zeta"));
        Click(d.bFind);
        seen.emplace_back(RecNo(), ColumnName());
    });
    const std::vector<std::pair<int, QString>> expected = {
        {3, "DESCRIPCION"}, {7, "UNIDAD"}, {7, "UNIDAD"}, {7, "UNIDAD"}, {3, "DESCRIPCION"}};
    EXPECT_EQ(seen, expected);
    // Closing leaves the grid where the last search put it.
    EXPECT_EQ(RecNo(), 3);
    EXPECT_EQ(ColumnName(), QStringLiteral("DESCRIPCION"));
}

TEST_F(FindDialogTest, DownOnTheLastRecordFindsNothing) {
    GoTo(kArticles, "DESCRIPCION");
    InDialog(
        [&](TDBGridEhFindDlg& d) {
            Pick(d.cbFindDirection, 1);
            Click(d.bFind);
            EXPECT_EQ(RecNo(), kArticles);
        },
        QStringLiteral("Articulo"));
}

TEST_F(FindDialogTest, CtrlTurnsTheDirectionRound) {
    // "Articulo 3" is in records 3 and 30 to 39; the search starts on 30.
    struct {
        int direction; // Up, Down, All
        bool byEnter;
        int recNo;
    } cases[] = {{1, false, 3}, {0, false, 31}, {2, false, 3}, {1, true, 3}, {0, true, 31}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.direction << (c.byEnter ? " Enter" : " click"));
        GoTo(30, "DESCRIPCION");
        InDialog(
            [&](TDBGridEhFindDlg& d) {
                Pick(d.cbFindDirection, c.direction);
                if (c.byEnter)
                    QTest::keyClick(d.cbText->Combo(), Qt::Key_Return, Qt::ControlModifier);
                else
                    Click(d.bFind, Qt::ControlModifier);
                EXPECT_EQ(RecNo(), c.recNo);
                EXPECT_TRUE(d.Widget()->isVisible());
            },
            QStringLiteral("Articulo 3"));
    }
}

TEST_F(FindDialogTest, AnEmptyTextFindsByItsMatchKind) {
    OpenRows({{"A1", "uno", "pza", 100},
              {"A2", "dos", "pza", 200},
              {"A3", "tres", "pza", 300},
              {"A4", "cuatro", "", 400},
              {"A5", "cinco", "pza", 500}});
    struct {
        int match;
        int recNo;
    } cases[] = {{0, 1}, {1, 4}, {2, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.match);
        GoTo(1, "UNIDAD");
        InDialog([&](TDBGridEhFindDlg& d) {
            Pick(d.cbMatchinType, c.match);
            Pick(d.cbFindDirection, 1);
            Click(d.bFind);
            EXPECT_EQ(RecNo(), c.recNo);
            EXPECT_EQ(ColumnName(), QStringLiteral("UNIDAD"));
        });
    }
}

TEST_F(FindDialogTest, MatchCaseComparesTheLettersAsTyped) {
    OpenRows({{"A1", "uno", "pza", 100}, {"A2", "xABCx", "pza", 200}});
    for (bool matchCase : {false, true}) {
        SCOPED_TRACE(matchCase);
        GoTo(1, "DESCRIPCION");
        InDialog(
            [&](TDBGridEhFindDlg& d) {
                if (d.cbCharCase->Checked() != matchCase)
                    Toggle(d.cbCharCase);
                Click(d.bFind);
            },
            QStringLiteral("abc"));
        EXPECT_EQ(RecNo(), matchCase ? 1 : 2);
    }
}

TEST_F(FindDialogTest, MatchFormatFindsAPriceAsTheUserSeesIt) {
    OpenRows({{"A1", "uno", "pza", 100}, {"A2", "dos", "pza", 1250}});
    struct {
        const char* locale;
        const char* text;
        bool matchFormat;
        bool found;
    } cases[] = {{"es_ES", "12,5", true, true},   {"es_ES", "12.5", true, false},
                 {"es_ES", "12,5", false, false}, {"es_ES", "12.50", false, true},
                 {"es_MX", "12.5", true, true},   {"es_MX", "12,5", true, false},
                 {"es_MX", "12.50", false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.locale << " " << c.text << " " << c.matchFormat);
        LoadFromLocale(QLocale(QString::fromLatin1(c.locale)));
        GoTo(1, "PRECIO");
        InDialog(
            [&](TDBGridEhFindDlg& d) {
                Pick(d.cbMatchinType, 1);
                if (d.cbUseFormat->Checked() != c.matchFormat)
                    Toggle(d.cbUseFormat);
                Click(d.bFind);
            },
            QString::fromLatin1(c.text));
        EXPECT_EQ(RecNo(), c.found ? 2 : 1);
    }
}

TEST_F(FindDialogTest, KeepsItsHistoryAndChoicesBetweenOpenings) {
    GoTo(1, "DESCRIPCION");
    InDialog([&](TDBGridEhFindDlg& d) {
        Retype(d, QStringLiteral("Articulo 4"));
        Click(d.bFind);
        Click(d.bFind);
        Retype(d, QStringLiteral("Articulo 5"));
        QTest::keyClick(d.cbText->Combo(), Qt::Key_Return);
        Retype(d, QStringLiteral("Articulo 4"));
        QTest::keyClick(d.cbText->Combo(), Qt::Key_Return);
        EXPECT_EQ(ItemsOf(d.cbText), (QStringList{"Articulo 4", "Articulo 5"}));
        Pick(d.cbMatchinType, 1);
        Pick(d.cbFindDirection, 1);
        Toggle(d.cbCharCase);
        Toggle(d.cbUseFormat);
        Pick(d.cbFindIn, kAll);
    });
    GoTo(2, "CODIGO");
    InDialog(
        [&](TDBGridEhFindDlg& d) {
            EXPECT_EQ(ItemsOf(d.cbText), (QStringList{"Articulo 4", "Articulo 5"}));
            EXPECT_EQ(d.cbText->Text(), QStringLiteral("Art"));
            EXPECT_EQ(d.cbMatchinType->Combo()->currentText(), QStringLiteral("Whole field"));
            EXPECT_EQ(d.cbFindDirection->Combo()->currentText(), QStringLiteral("Down"));
            EXPECT_TRUE(d.cbCharCase->Checked());
            EXPECT_FALSE(d.cbUseFormat->Checked());
            // The column is chosen anew: the grid's current one.
            EXPECT_EQ(d.cbFindIn->Combo()->currentText(), QStringLiteral("CODIGO"));
            EXPECT_TRUE(d.FirstTry());
        },
        QStringLiteral("Art"));
}

TEST_F(FindDialogTest, CloseEscAndEnterOnCloseCloseIt) {
    GoTo(1, "DESCRIPCION");
    InDialog(
        [&](TDBGridEhFindDlg& d) {
            // Enter presses the focused button, "&Find next" otherwise.
            d.bCancel->Button()->setFocus();
            ASSERT_TRUE(d.bCancel->Focused());
            QTest::keyClick(d.bCancel->Button(), Qt::Key_Return);
            EXPECT_FALSE(d.Widget()->isVisible());
            EXPECT_EQ(RecNo(), 1);
        },
        QStringLiteral("Articulo 20"));
    InDialog(
        [&](TDBGridEhFindDlg& d) {
            QTest::keyClick(d.cbText->Combo(), Qt::Key_Return);
            EXPECT_EQ(RecNo(), 20);
            QTest::keyClick(d.cbText->Combo(), Qt::Key_Escape);
            EXPECT_FALSE(d.Widget()->isVisible());
        },
        QStringLiteral("Articulo 20"));
    // The grid keeps the place of the last search.
    EXPECT_EQ(RecNo(), 20);
    InDialog([&](TDBGridEhFindDlg& d) {
        Click(d.bCancel);
        EXPECT_FALSE(d.Widget()->isVisible());
    });
    EXPECT_EQ(RecNo(), 20);
}

TEST_F(FindDialogTest, OnAClosedDatasetFindNextDoesNothing) {
    std::vector<QString> errors;
    Application->OnException = [&](TObject*, const Exception& e) { errors.push_back(e.Message()); };
    cds_->Close();
    InDialog(
        [&](TDBGridEhFindDlg& d) {
            Click(d.bFind);
            EXPECT_EQ(ItemsOf(d.cbText), QStringList{"Articulo"});
        },
        QStringLiteral("Articulo"));
    EXPECT_FALSE(cds_->Active());
    EXPECT_TRUE(errors.empty());
}

TEST_F(FindDialogTest, AnErrorReadingARecordReachesTheHookWithTheControlsFree) {
    auto* failing = new TFailingQuery(form_, rows_->Columns());
    for (int i = 1; i <= 40; ++i)
        failing->AppendRow(Article(i));
    failing->readable = 25;
    TClientDataSet* cds = ClientDataSetOn(*failing, QStringLiteral("Failing"));
    cds->SetPacketRecords(10);
    source_->SetDataSet(cds);
    cds->Open();
    GoTo(1, "DESCRIPCION");
    std::vector<QString> errors;
    Application->OnException = [&](TObject*, const Exception& e) { errors.push_back(e.Message()); };
    InDialog(
        [&](TDBGridEhFindDlg& d) {
            Click(d.bFind);
            EXPECT_TRUE(d.Widget()->isVisible());
        },
        QStringLiteral("Articulo 39"));
    EXPECT_EQ(errors, std::vector<QString>{"No se pudo leer el registro"});
    EXPECT_FALSE(cds->ControlsDisabled());
    // The grid follows the dataset again.
    const int before = cds->RecNo();
    Key(Qt::Key_Up);
    EXPECT_EQ(cds->RecNo(), before - 1);
    EXPECT_EQ(grid_->Rows().RecNo(), before - 1);
}
