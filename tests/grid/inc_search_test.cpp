// The grid's incremental search, driven by real keys and clicks on the
// results grid: typing the beginning of a value, the next and previous
// match keys, Backspace, pasting, Ctrl+F twice into the find dialog, the
// search by a price's shown text and after a sort, the moves and keys that
// end it, the timeout of a search started by typing, the highlight as it is
// painted, and an Esc that stops a long scan.

#include "grid/finddialog/find_dialog_eh.h"
#include "grid/incsearch/inc_search_eh.h"
#include "grid/incsearch/search_text_eh.h"
#include "grid/paint/grid_cell_painter_eh.h"
#include "platform/system/format_settings.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/modal_answerer.h"
#include "tests/grid/search_fixture.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <functional>

namespace {

// Notes whether the grid could repaint each time it heard of a cell change.
class TRepaintWatch : public TGridExtensionEh {
public:
    void CurrentCellChanged(TDBGridEh& grid) override {
        updatesEnabled.push_back(grid.GridWidget().updatesEnabled());
    }
    std::vector<bool> updatesEnabled;
};

bool IsYellow(QRgb c) {
    return qRed(c) == 255 && qGreen(c) == 255 && qBlue(c) == 0;
}
bool IsBlack(QRgb c) {
    return qRed(c) < 64 && qGreen(c) < 64 && qBlue(c) < 64;
}

} // namespace

class IncSearchTest : public SearchFixture {
protected:
    void SetUp() override {
        delete DBGridEhFindDlg;
        SearchFixture::SetUp();
    }
    void TearDown() override {
        delete DBGridEhFindDlg;
        LoadFromLocale(QLocale::system());
        SearchFixture::TearDown();
    }

    TIncSearchEh& Inc() const { return *grid_->Extension<TIncSearchEh>(); }
    QString Codigo() const { return Field("CODIGO").AsString(); }
    void CtrlF() { Key(Qt::Key_F, Qt::ControlModifier); }

    // Types `keys`, where '\b' stands for Backspace.
    void Press(const char* keys) {
        for (const char* k = keys; *k; ++k) {
            if (*k == '\b')
                Key(Qt::Key_Backspace);
            else
                Type(QString(QLatin1Char(*k)));
        }
    }

    // The article rows of the text search tests, with many more rows behind.
    void OpenMany(int count, int zapataAt) {
        cds_->Close();
        rows_->Rows().clear();
        for (int i = 1; i <= count; ++i) {
            std::vector<TValue> row = Article(i);
            if (i == zapataAt)
                row[1] = QStringLiteral("Zapata");
            rows_->AppendRow(row);
        }
        cds_->Open();
    }

    // The current data cell's rectangle on view.
    QRect CurrentCell() const {
        const TGridGeometryEh& g = grid_->Geometry();
        return g.CellRect(g.SpanOf(grid_->VisibleSelectedIndex()), grid_->Rows().CurrentRow());
    }
    QRect CurrentIndicator() const {
        return grid_->Geometry().IndicatorRect(grid_->Rows().CurrentRow());
    }
    // The columns of `area` in `image` holding at least one pixel for which
    // `is` holds: first and last (-1, -1 when none).
    static std::pair<int, int> Columns(const QImage& image, const QRect& area,
                                       const std::function<bool(QRgb)>& is) {
        int first = -1, last = -1;
        for (int x = area.left(); x <= area.right(); ++x)
            for (int y = area.top(); y <= area.bottom(); ++y)
                if (is(image.pixel(x, y))) {
                    if (first < 0)
                        first = x;
                    last = x;
                    break;
                }
        return {first, last};
    }
};

TEST_F(IncSearchTest, TypedTextFindsTheFirstRowThatBeginsWithItInAnyCase) {
    OpenRows({{"A1", "tuerca", "pza", 100},
              {"A2", "Destornillador plano", "pza", 200},
              {"A3", "dado", "pza", 300},
              {"A4", "DEcapante", "pza", 400},
              {"A5", "deslizador", "pza", 500},
              {"A6", "arandela", "pza", 600}});
    Show();
    GoTo(6, "DESCRIPCION");
    CtrlF();
    EXPECT_TRUE(Inc().Searching());
    EXPECT_EQ(Inc().SearchText(), QString());
    EXPECT_EQ(Inc().Timeout(), -1);
    EXPECT_FALSE(Inc().TimerArmed());
    EXPECT_EQ(RecNo(), 6);

    // Each step: what is typed, then the current record and the text kept,
    // in the letter case of the value it matched.
    struct {
        const char* keys;
        int recNo;
        const char* text;
    } steps[] = {
        {"d", 2, "D"},    {"e", 2, "De"},   {"s", 2, "Des"},
        {"l", 5, "desl"}, {"q", 5, "desl"}, // matches nothing: dropped, nothing moves
        {"\b", 5, "des"},                   // shorter, the record stays
        {"\b", 5, "de"},  {"c", 4, "DEc"},  // searched again from the first record
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.keys);
        Press(s.keys);
        EXPECT_EQ(RecNo(), s.recNo);
        EXPECT_EQ(Inc().SearchText(), QString::fromLatin1(s.text));
        EXPECT_EQ(ColumnName(), QStringLiteral("DESCRIPCION"));
        EXPECT_TRUE(Inc().Searching());
        EXPECT_FALSE(grid_->EditorMode());
        EXPECT_EQ(cds_->State(), dsBrowse);
    }
}

TEST_F(IncSearchTest, NextAndPriorMatchKeysWalkTheMatchesAndStopAtTheEnds) {
    OpenRows({{"A1", "perno", "pza", 100},
              {"A2", "Tornillo 1", "pza", 200},
              {"A3", "clavo", "pza", 300},
              {"A4", "tornillo 2", "pza", 400},
              {"A5", "TORNILLO 3", "pza", 500},
              {"A6", "tuerca", "pza", 600}});
    Show();
    GoTo(1, "DESCRIPCION");
    // Without a search the keys do nothing, and start none.
    Key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(Inc().Searching());
    EXPECT_EQ(RecNo(), 1);
    // With an empty text they find nothing and move nothing.
    CtrlF();
    Key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(RecNo(), 1);

    Press("to");
    ASSERT_EQ(RecNo(), 2);
    const Qt::KeyboardModifiers next = Qt::ControlModifier;
    const Qt::KeyboardModifiers prior = Qt::ControlModifier | Qt::ShiftModifier;
    struct {
        Qt::KeyboardModifiers key;
        int recNo;
        const char* text;
    } steps[] = {{next, 4, "to"},  {next, 5, "TO"},  {next, 5, "TO"},
                 {prior, 4, "to"}, {prior, 2, "To"}, {prior, 2, "To"}};
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::Message() << (s.key == next ? "next " : "prior ") << s.recNo);
        Key(Qt::Key_Return, s.key);
        EXPECT_EQ(RecNo(), s.recNo);
        EXPECT_EQ(Inc().SearchText(), QString::fromLatin1(s.text));
        EXPECT_TRUE(Inc().Searching());
    }
}

TEST_F(IncSearchTest, PastedTextIsSearchedFromTheTopInAnyStateTypedOnlyWhileBrowsing) {
    OpenRows({{"A1", "tuerca", "pza", 100},
              {"A2", "clavo", "pza", 200},
              {"A3", "Bisagra", "pza", 300},
              {"A4", "bisel", "pza", 400}});
    Show();
    struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } pastes[] = {{Qt::Key_V, Qt::ControlModifier}, {Qt::Key_Insert, Qt::ShiftModifier}};
    for (const auto& p : pastes) {
        SCOPED_TRACE(p.key);
        GoTo(4, "DESCRIPCION");
        CtrlF();
        QGuiApplication::clipboard()->setText(QStringLiteral("BIS"));
        Key(p.key, p.modifiers);
        EXPECT_EQ(RecNo(), 3);
        EXPECT_EQ(Inc().SearchText(), QStringLiteral("Bis"));
        // Added to what is there, and searched from the first record again.
        QGuiApplication::clipboard()->setText(QStringLiteral("e"));
        Key(p.key, p.modifiers);
        EXPECT_EQ(RecNo(), 4);
        EXPECT_EQ(Inc().SearchText(), QStringLiteral("bise"));
        Key(Qt::Key_Escape);
    }

    // Ctrl+F from a cell being edited: the editor closes and its text stays
    // in the field; the record stays in edit mode.
    GoTo(1, "DESCRIPCION");
    Key(Qt::Key_F2);
    ASSERT_TRUE(grid_->EditorMode());
    Type(QStringLiteral("s"));
    CtrlF();
    EXPECT_FALSE(grid_->EditorMode());
    EXPECT_TRUE(Inc().Searching());
    EXPECT_EQ(cds_->State(), dsEdit);
    EXPECT_EQ(Field("DESCRIPCION").AsString(), QStringLiteral("tuercas"));
    // Typed characters are not searched for now, nor do they open the editor...
    Type(QStringLiteral("c"));
    EXPECT_EQ(RecNo(), 1);
    EXPECT_EQ(Inc().SearchText(), QString());
    EXPECT_FALSE(grid_->EditorMode());
    // ...but pasted text is, and the move posts the edit.
    QGuiApplication::clipboard()->setText(QStringLiteral("cl"));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(RecNo(), 2);
    EXPECT_EQ(cds_->State(), dsBrowse);
    EXPECT_EQ(cds_->FieldValueAt(Field("DESCRIPCION"), 1).AsString(), QStringLiteral("tuercas"));
}

TEST_F(IncSearchTest, ASecondCtrlFEndsTheSearchAndOpensTheFindDialog) {
    Open(kArticles);
    Show();
    GoTo(5, "DESCRIPCION");
    CtrlF();
    Press("articulo 4");
    ASSERT_EQ(RecNo(), 4);
    TModalAnswerer person;
    bool searchingInDialog = true;
    QString textInDialog = QStringLiteral("(not opened)");
    person.answer = [&](TForm& form) {
        auto& dialog = static_cast<TDBGridEhFindDlg&>(form);
        searchingInDialog = Inc().Searching();
        textInDialog = dialog.cbText->Text();
        EXPECT_EQ(dialog.Grid(), grid_);
        EXPECT_EQ(dialog.cbFindIn->Combo()->currentText(), QStringLiteral("DESCRIPCION"));
        form.Close();
    };
    CtrlF();
    EXPECT_EQ(person.shown, std::vector<QString>{"TDBGridEhFindDlg"});
    EXPECT_FALSE(searchingInDialog);
    EXPECT_EQ(textInDialog, QString());
    EXPECT_FALSE(Inc().Searching());
    EXPECT_EQ(Inc().SearchText(), QString());
    EXPECT_EQ(RecNo(), 4);
    // The next Ctrl+F starts a search again.
    CtrlF();
    EXPECT_TRUE(Inc().Searching());
    EXPECT_EQ(person.shown.size(), 1u);

    // A grid without the find dialog keeps searching on a second Ctrl+F.
    Key(Qt::Key_Escape);
    grid_->SetOptionsEh({TDBGridEhOption::dghIncSearch});
    CtrlF();
    Press("articulo 3");
    CtrlF();
    EXPECT_EQ(person.shown.size(), 1u);
    EXPECT_TRUE(Inc().Searching());
    EXPECT_EQ(Inc().SearchText(), QStringLiteral("Articulo 3"));
}

TEST_F(IncSearchTest, APriceIsFoundByTheTextItShows) {
    LoadFromLocale(QLocale(QStringLiteral("es_ES")));
    OpenRows({{"A1", "uno", "pza", 950},
              {"A2", "dos", "pza", 2075},
              {"A3", "tres", "pza", 1575},
              {"A4", "cuatro", "pza", 1500},
              {"A5", "cinco", "pza", 1510}});
    Show();
    GoTo(1, "PRECIO");
    CtrlF();
    // Shown as 9,5 / 20,75 / 15,75 / 15 / 15,1; the plain texts have a point.
    struct {
        const char* keys;
        int recNo;
        const char* text;
    } steps[] = {{"1", 3, "1"}, {"5", 3, "15"}, {",", 3, "15,"}, {"1", 5, "15,1"}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.keys);
        Press(s.keys);
        EXPECT_EQ(RecNo(), s.recNo);
        EXPECT_EQ(Inc().SearchText(), QString::fromLatin1(s.text));
    }
}

TEST_F(IncSearchTest, AfterASortTheSameTextFindsTheFirstMatchInTheNewOrder) {
    OpenRows({{"A1", "zeta", "pza", 100},
              {"A2", "de uno", "pza", 200},
              {"A3", "alfa", "pza", 300},
              {"A4", "de dos", "pza", 400},
              {"A5", "de tres", "pza", 500}});
    Show();
    // Clicks on the DESCRIPCION title: none, ascending, descending.
    struct {
        int clicks;
        const char* codigo;
    } cases[] = {{0, "A2"}, {1, "A4"}, {1, "A2"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codigo);
        for (int i = 0; i < c.clicks; ++i)
            QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, TitleCentre(1));
        GoTo(RecNo(), "DESCRIPCION");
        CtrlF();
        Press("de");
        EXPECT_EQ(Codigo(), QString::fromLatin1(c.codigo));
        EXPECT_EQ(Inc().SearchText(), QStringLiteral("de"));
        Key(Qt::Key_Escape);
    }
}

TEST_F(IncSearchTest, MovesAndTheKeysThatLeaveTheSearchEndIt) {
    Open(kArticles);
    Show();
    struct {
        const char* what;
        std::function<void()> act;
        bool editorOpen;
    } cases[] = {
        {"Down", [&] { Key(Qt::Key_Down); }, false},
        {"Up", [&] { Key(Qt::Key_Up); }, false},
        {"PgDn", [&] { Key(Qt::Key_PageDown); }, false},
        {"Right", [&] { Key(Qt::Key_Right); }, false},
        {"Tab", [&] { Key(Qt::Key_Tab); }, false},
        {"Home", [&] { Key(Qt::Key_Home); }, false},
        {"Ctrl+End", [&] { Key(Qt::Key_End, Qt::ControlModifier); }, false},
        {"click on another row",
         [&] { QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, CellCentre(1, 2)); },
         false},
        {"click on another column",
         [&] {
             QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier,
                               CellCentre(3, grid_->Rows().CurrentRow()));
         },
         false},
        {"wheel",
         [&] {
             QWheelEvent wheel(CellCentre(1, 1), View()->mapToGlobal(CellCentre(1, 1)), QPoint(),
                               QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                               false);
             QApplication::sendEvent(View(), &wheel);
         },
         false},
        {"the program", [&] { cds_->Next(); }, false},
        {"Enter", [&] { Key(Qt::Key_Return); }, true},
        {"F2", [&] { Key(Qt::Key_F2); }, true},
        {"Esc", [&] { Key(Qt::Key_Escape); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GoTo(1, "DESCRIPCION");
        CtrlF();
        Press("articulo 7");
        ASSERT_EQ(RecNo(), 7);
        c.act();
        EXPECT_FALSE(Inc().Searching());
        EXPECT_EQ(Inc().SearchText(), QString());
        EXPECT_EQ(grid_->EditorMode(), c.editorOpen);
        if (c.editorOpen) {
            // On the found cell.
            EXPECT_EQ(RecNo(), 7);
            EXPECT_EQ(ColumnName(), QStringLiteral("DESCRIPCION"));
            Key(Qt::Key_Escape);
        }
    }
    // A key that moves nothing keeps the search: Up on the first record.
    GoTo(1, "DESCRIPCION");
    CtrlF();
    Key(Qt::Key_Up);
    EXPECT_TRUE(Inc().Searching());
    // Closing the dataset ends it; with no open data nothing starts one.
    cds_->Close();
    EXPECT_FALSE(Inc().Searching());
    CtrlF();
    Inc().AddToSearch(QStringLiteral("a"), -1, TGridTextDirectionEh::All);
    EXPECT_FALSE(Inc().Searching());
}

TEST_F(IncSearchTest, ASearchStartedByTypingEndsByItselfAfterItsTimeout) {
    // The results grid edits what is typed.
    Open(kArticles);
    Show();
    Type(QStringLiteral("x"));
    EXPECT_TRUE(grid_->EditorMode());
    EXPECT_FALSE(Inc().Searching());
    Key(Qt::Key_Escape);
    Key(Qt::Key_Escape);

    Rebuild();
    Build(ResultsGridDescription(
        QStringLiteral("    OptionsEh = [dghIncSearch, dghPreferIncSearch, dghDialogFind]\n")));
    Open(kArticles);
    Show();
    GoTo(1, "DESCRIPCION");
    Press("articulo 2");
    EXPECT_FALSE(grid_->EditorMode());
    EXPECT_EQ(RecNo(), 2);
    EXPECT_TRUE(Inc().Searching());
    EXPECT_EQ(Inc().Timeout(), 1500);
    EXPECT_TRUE(Inc().TimerArmed());
    QTRY_VERIFY_WITH_TIMEOUT(!Inc().Searching(), 5000);
    EXPECT_FALSE(Inc().TimerArmed());
    EXPECT_EQ(RecNo(), 2);
}

TEST_F(IncSearchTest, TheGridDoesNotRepaintWhileTheSearchWalks) {
    Open(kArticles);
    Show();
    auto* watch =
        static_cast<TRepaintWatch*>(&grid_->AddExtension(std::make_unique<TRepaintWatch>()));
    GoTo(1, "DESCRIPCION");
    CtrlF();
    watch->updatesEnabled.clear();
    Press("articulo 5");
    ASSERT_FALSE(watch->updatesEnabled.empty());
    for (bool enabled : watch->updatesEnabled)
        EXPECT_FALSE(enabled);
    EXPECT_TRUE(grid_->GridWidget().updatesEnabled());
}

TEST_F(IncSearchTest, TheMatchedTextIsDrawnOnYellowOverTheBeginningOfTheCellsText) {
    LoadFromLocale(QLocale(QStringLiteral("es_MX")));
    OpenRows({{"A1", "perno", "pza", 100}, {"A2", "Tornillo de acero", "pza", 123450}});
    Show();
    // A left-aligned text column, a right-aligned number column and the text
    // column centred.
    struct {
        const char* column;
        TAlignment alignment;
        const char* typed;
        const char* shown;
    } cases[] = {{"DESCRIPCION", taLeftJustify, "torn", "Tornillo de acero"},
                 {"PRECIO", taRightJustify, "12", "1234.5"},
                 {"DESCRIPCION", taCenter, "tor", "Tornillo de acero"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.column << " " << c.alignment);
        GoTo(2, c.column);
        grid_->SelectedColumn()->SetAlignment(c.alignment);
        const QRect cell = CurrentCell();
        const QImage before = Render();
        const QColor highlight = grid_->Palette().highlight;
        // Where the cell's text begins and ends without the search.
        const auto [textLeft, textRight] =
            Columns(before, cell, [&](QRgb p) { return p != highlight.rgb(); });
        ASSERT_GE(textLeft, cell.left());
        GoTo(1, c.column);
        CtrlF();
        Press(c.typed);
        ASSERT_EQ(RecNo(), 2);
        const QImage after = Render();
        const auto [yellowLeft, yellowRight] = Columns(after, cell, IsYellow);
        ASSERT_GE(yellowLeft, 0);
        // Over the first characters, not the rest of the value.
        const QFontMetrics metrics(grid_->SelectedColumn()->EffectiveFont());
        const int prefix = metrics.horizontalAdvance(
            QString::fromLatin1(c.shown).left(static_cast<int>(strlen(c.typed))));
        EXPECT_LE(std::abs(yellowLeft - textLeft), 2);
        EXPECT_LE(std::abs(yellowRight + 1 - yellowLeft - prefix), 1);
        EXPECT_LT(yellowRight, textRight - 2);
        // Black text on it.
        const auto [blackLeft, blackRight] = Columns(
            after, QRect(QPoint(yellowLeft, cell.top()), QPoint(yellowRight, cell.bottom())),
            IsBlack);
        EXPECT_GE(blackLeft, 0);
        // The current row's indicator is yellow behind its arrow.
        EXPECT_GE(Columns(after, CurrentIndicator(), IsYellow).first, 0);

        // Not while another control has the focus; the indicator stays.
        other_->SetFocus();
        QApplication::processEvents();
        const QImage unfocused = Render();
        EXPECT_LT(Columns(unfocused, cell, IsYellow).first, 0);
        EXPECT_GE(Columns(unfocused, CurrentIndicator(), IsYellow).first, 0);
        grid_->SetFocus();
        QApplication::processEvents();
        EXPECT_GE(Columns(Render(), cell, IsYellow).first, 0);
        // Nothing yellow once the search has ended.
        Key(Qt::Key_Escape);
        const QImage ended = Render();
        EXPECT_LT(Columns(ended, cell, IsYellow).first, 0);
        EXPECT_LT(Columns(ended, CurrentIndicator(), IsYellow).first, 0);
    }
}

TEST_F(IncSearchTest, AnEscQueuedDuringALongScanStopsItAndRestoresThePosition) {
    constexpr int kRows = 20000;
    OpenMany(kRows, kRows - 5);
    Show();
    GoTo(300, "DESCRIPCION");
    const int firstOnView = grid_->Rows().FirstRecNo();
    ASSERT_GT(firstOnView, 1);
    CtrlF();
    // The Esc waits in the queue while the typed z starts the scan.
    QCoreApplication::postEvent(&grid_->GridWidget(),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    Type(QStringLiteral("z"));
    EXPECT_EQ(RecNo(), 300);
    EXPECT_EQ(grid_->Rows().FirstRecNo(), firstOnView);
    EXPECT_EQ(Inc().SearchText(), QString());
    EXPECT_TRUE(Inc().Searching());
    // Then the Esc reaches the grid and ends the search.
    QApplication::processEvents();
    EXPECT_FALSE(Inc().Searching());
    EXPECT_EQ(RecNo(), 300);
    // Without the Esc the same scan finds the row.
    CtrlF();
    Type(QStringLiteral("z"));
    EXPECT_EQ(RecNo(), kRows - 5);
    EXPECT_EQ(Inc().SearchText(), QStringLiteral("Z"));
}

TEST(IncSearchText, BackspaceTakesTheLastCharacterWhole) {
    const QString pair = QString::fromUtf16(u"\U0001F600");
    struct {
        QString text;
        QString left;
    } cases[] = {{QStringLiteral("abc"), QStringLiteral("ab")},
                 {QStringLiteral("a"), QString()},
                 {QString(), QString()},
                 {QStringLiteral("ab") + pair, QStringLiteral("ab")},
                 {pair + QStringLiteral("x"), pair},
                 {QString(QChar(0xDC00)), QString()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(WithoutLastCharacterEh(c.text), c.left);
    }
}
