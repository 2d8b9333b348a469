// The grid's text search: where it starts, how it steps through the cells of
// one column or of every column in each direction, what it compares, that it
// leaves the grid as it was when it finds nothing, and that an Esc waiting
// in the queue stops it and still reaches the grid afterwards.

#include "grid/grid_error_eh.h"
#include "tests/grid/search_fixture.h"

namespace {

using D = TGridTextDirectionEh;
using M = TGridTextMatchEh;

struct StepCase {
    const char* what;
    int startRec;
    const char* startColumn;
    const char* fieldName;
    const char* text;
    M match;
    D direction;
    bool allColumns;
    bool found;
    int recNo;
    const char* column;
};

// Notes the keys that reach the grid; takes typed characters so that they
// open no editor.
class TKeyRecorder : public TGridExtensionEh {
public:
    bool KeyDown(TDBGridEh&, unsigned short& key, TShiftState) override {
        keys.push_back(key);
        return key != 27;
    }
    bool KeyPress(TDBGridEh&, QChar) override { return true; }
    std::vector<unsigned short> keys;
};

} // namespace

class GridTextSearchTest : public SearchFixture {
protected:
    void SetUp() override {
        SearchFixture::SetUp();
        Open(kArticles);
        Show();
    }
    bool Search(const char* text, D direction, bool allColumns = false, M match = M::AnyPart,
                const char* fieldName = "") {
        TGridTextSearchEh search;
        search.text = QString::fromUtf8(text);
        search.direction = direction;
        search.allColumns = allColumns;
        search.match = match;
        search.fieldName = QString::fromUtf8(fieldName);
        return SearchGridText(*grid_, search);
    }
};

// Articles i = 1..60: CODIGO "00ii", DESCRIPCION "Articulo i", UNIDAD "u",
// CATEG i % 7, SUBCATEG i % 3, PRECIO i × 1.25 (shown 1.25, 2.5, ...).
TEST_F(GridTextSearchTest, StepsThroughTheCellsAsTheDirectionSays) {
    const StepCase cases[] = {
        {"all starts at the first record", 30, "DESCRIPCION", "", "articulo 2", M::AnyPart, D::All,
         false, true, 2, "DESCRIPCION"},
        {"down goes to the next records", 2, "DESCRIPCION", "", "articulo 2", M::AnyPart, D::Down,
         false, true, 20, "DESCRIPCION"},
        {"up goes to the previous records", 20, "DESCRIPCION", "", "articulo 2", M::AnyPart, D::Up,
         false, true, 2, "DESCRIPCION"},
        {"down from the last record", 60, "DESCRIPCION", "", "articulo", M::AnyPart, D::Down, false,
         false, 60, "DESCRIPCION"},
        {"up from the first record", 1, "DESCRIPCION", "", "articulo", M::AnyPart, D::Up, false,
         false, 1, "DESCRIPCION"},
        {"one column only", 1, "CODIGO", "", "articulo", M::AnyPart, D::All, false, false, 1,
         "CODIGO"},
        {"down across the columns of the record", 5, "CODIGO", "", "u", M::WholeField, D::Down,
         true, true, 5, "UNIDAD"},
        {"up across the columns into the record above", 5, "UNIDAD", "", "u", M::WholeField, D::Up,
         true, true, 4, "UNIDAD"},
        {"past the last column to the next record's first", 5, "PRECIO", "", "0006", M::WholeField,
         D::Down, true, true, 6, "CODIGO"},
        {"before the first column to the record above's last", 7, "CODIGO", "", "7.5",
         M::WholeField, D::Up, true, true, 6, "PRECIO"},
        {"all columns from the first record, in the start column", 50, "CATEG", "", "0003",
         M::WholeField, D::All, true, true, 3, "CODIGO"},
        {"a field name chooses the start column", 1, "CODIGO", "descripcion", "articulo 9",
         M::AnyPart, D::Down, false, true, 9, "DESCRIPCION"},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.what);
        GoTo(c.startRec, c.startColumn);
        EXPECT_EQ(Search(c.text, c.direction, c.allColumns, c.match, c.fieldName), c.found);
        EXPECT_EQ(RecNo(), c.recNo);
        EXPECT_EQ(ColumnName(), QLatin1String(c.column));
        EXPECT_FALSE(cds_->ControlsDisabled());
    }
}

TEST_F(GridTextSearchTest, AFieldNameNoColumnHasIsAnError) {
    GoTo(7, "UNIDAD");
    try {
        Search("x", D::All, false, M::AnyPart, "NOEXISTE");
        FAIL() << "no error";
    } catch (const EInvalidGridOperation& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("El nombre de campo 'NOEXISTE' no se encuentra"));
    }
    EXPECT_EQ(RecNo(), 7);
    EXPECT_FALSE(cds_->ControlsDisabled());
    // A column that is there but hidden is not searched.
    grid_->Columns()[1].SetVisible(false);
    EXPECT_FALSE(Search("articulo", D::All, false, M::AnyPart, "DESCRIPCION"));
    EXPECT_EQ(RecNo(), 7);
}

TEST_F(GridTextSearchTest, NothingFoundLeavesTheGridShowingWhatItShowed) {
    GoTo(kArticles, "SUBCATEG");
    grid_->MoveBy(-4);
    const int first = grid_->Rows().FirstRecNo();
    const int row = grid_->Rows().CurrentRow();
    ASSERT_GT(first, 1);
    ASSERT_GT(row, 0);
    for (D direction : {D::All, D::Down, D::Up}) {
        EXPECT_FALSE(Search("zzz", direction, true));
        EXPECT_EQ(RecNo(), kArticles - 4);
        EXPECT_EQ(ColumnName(), QStringLiteral("SUBCATEG"));
        EXPECT_EQ(grid_->Rows().FirstRecNo(), first);
        EXPECT_EQ(grid_->Rows().CurrentRow(), row);
    }
    // A record found out of view is brought into it.
    EXPECT_TRUE(Search("articulo 3", D::All, false, M::WholeField, "DESCRIPCION"));
    EXPECT_EQ(RecNo(), 3);
    EXPECT_LE(grid_->Rows().FirstRecNo(), 3);
    EXPECT_GE(grid_->Rows().LastRecNo(), 3);
}

TEST_F(GridTextSearchTest, ComparesTheShownTextOrTheFieldsPlainText) {
    // Article 2 costs 2.50, shown as 2.5.
    struct {
        const char* text;
        bool displayText;
        bool found;
    } cases[] = {
        {"2.5", true, true}, {"2.50", true, false}, {"2.50", false, true}, {"2.5", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        GoTo(1, "PRECIO");
        TGridTextSearchEh search;
        search.text = QString::fromUtf8(c.text);
        search.match = M::WholeField;
        search.displayText = c.displayText;
        EXPECT_EQ(SearchGridText(*grid_, search), c.found);
        EXPECT_EQ(RecNo(), c.found ? 2 : 1);
    }
}

TEST_F(GridTextSearchTest, AClosedOrEmptyDatasetFindsNothing) {
    OpenRows({});
    EXPECT_FALSE(Search("", D::All, true, M::BeginningOfField));
    cds_->Close();
    EXPECT_FALSE(Search("", D::All, true, M::BeginningOfField));
    EXPECT_FALSE(Search("x", D::All, false, M::AnyPart, "NOEXISTE"));
}

TEST_F(GridTextSearchTest, ACellEditPendingInTheEditorIsPostedNotLost) {
    GoTo(3, "DESCRIPCION");
    Key(Qt::Key_F2);
    ASSERT_TRUE(grid_->EditorMode());
    Type(QStringLiteral(" bis"));
    EXPECT_TRUE(Search("articulo 1", D::All, false, M::WholeField));
    EXPECT_EQ(RecNo(), 1);
    EXPECT_EQ(cds_->State(), dsBrowse);
    EXPECT_EQ(CodigoAt(3), QStringLiteral("0003"));
    EXPECT_EQ(cds_->FieldValueAt(Field("DESCRIPCION"), 3).AsString(),
              QStringLiteral("Articulo 3 bis"));
}

TEST_F(GridTextSearchTest, AnEscWaitingStopsTheSearchAndReachesTheGridAfterwards) {
    auto* recorder =
        static_cast<TKeyRecorder*>(&grid_->AddExtension(std::make_unique<TKeyRecorder>()));
    GoTo(10, "DESCRIPCION");
    TGridTextSearchEh search;
    search.text = QStringLiteral("articulo 59");
    search.stopOnEscape = true;
    // Without an Esc the search runs to its end.
    EXPECT_TRUE(SearchGridText(*grid_, search));
    EXPECT_EQ(RecNo(), 59);

    GoTo(10, "DESCRIPCION");
    QWidget* target = &grid_->GridWidget();
    QCoreApplication::postEvent(
        target, new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x")));
    QCoreApplication::postEvent(target,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_FALSE(SearchGridText(*grid_, search));
    EXPECT_EQ(RecNo(), 10);
    EXPECT_FALSE(cds_->ControlsDisabled());
    // The keys waited during the search and come, in their order, after it.
    EXPECT_TRUE(recorder->keys.empty());
    QApplication::processEvents();
    EXPECT_EQ(recorder->keys, (std::vector<unsigned short>{'X', 27}));
    // A search that is not to stop for Esc leaves the queue alone.
    QCoreApplication::postEvent(target,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    search.stopOnEscape = false;
    EXPECT_TRUE(SearchGridText(*grid_, search));
    EXPECT_EQ(recorder->keys.size(), 2u);
    QApplication::processEvents();
    EXPECT_EQ(recorder->keys.size(), 3u);
}
