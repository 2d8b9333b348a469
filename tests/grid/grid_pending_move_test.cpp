// Moves aimed at a record on view while a new or changed record is pending:
// a click on a row, Ctrl+PgUp and Ctrl+PgDn, the scroll bar's lines and its
// thumb. The pending record is posted first, which renumbers the records (a
// new one takes a number, a sorted one moves to its place); the move must
// still land on the record that was aimed at.

#include "tests/grid/grid_fixture.h"

#include <functional>

namespace {

class GridPendingMoveTest : public GridFixture {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        Open(kArticles);
        Show();
    }

    // ---- Pending records ----------------------------------------------------------------
    void SortByCode() {
        cds_->AddIndex(QStringLiteral("ByCode"), QStringLiteral("CODIGO"));
        cds_->SetIndexName(QStringLiteral("ByCode"));
    }
    // A new row after the last record, with `code` typed into it.
    void Append(const QString& code) {
        Key(Qt::Key_End, Qt::ControlModifier);
        Key(Qt::Key_Down);
        Type(code);
    }
    // A new row before record `recNo`, with `code` typed into it unless empty.
    void InsertBefore(int recNo, const QString& code) {
        Key(Qt::Key_Home, Qt::ControlModifier);
        for (int i = 1; i < recNo; ++i)
            Key(Qt::Key_Down);
        Key(Qt::Key_Insert);
        if (!code.isEmpty())
            Type(code);
    }
    // Record `recNo`'s code typed over.
    void Retype(int recNo, const QString& code) {
        cds_->SetRecNo(recNo);
        Type(code);
    }

    // ---- What is aimed at, read from the view before the move ----------------------------
    QString OnRow(int row) const {
        return grid_->Rows().Value(*cds_, row, Field("CODIGO")).AsString();
    }
    int CurrentRow() const { return grid_->Rows().CurrentRow(); }

    // ---- Moves ----------------------------------------------------------------------------
    void Click(int row) {
        QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, CellCentre(1, row));
    }
    QScrollBar* Bar() const { return grid_->GridWidget().verticalScrollBar(); }
};

TEST_F(GridPendingMoveTest, AMoveLandsOnTheRecordAimedAtWhateverThePostRenumbers) {
    const TVisibleRowsEh& rows = grid_->Rows();
    struct TCase {
        const char* name;
        std::function<void()> pend;
        // The code of the record the move aims at, read from the view.
        std::function<QString()> aim;
        std::function<void()> move;
        // Records once the pending one is settled.
        int records;
    };
    const TCase cases[] = {
        {"a typed new row at the end, a click above", [&] { Append("ZZ01"); },
         [&] { return OnRow(CurrentRow() - 3); }, [&] { Click(CurrentRow() - 3); }, kArticles + 1},
        {"a typed new row at the end that sorts first, a click above",
         [&] {
             SortByCode();
             Append("0000");
         },
         [&] { return OnRow(CurrentRow() - 3); }, [&] { Click(CurrentRow() - 3); }, kArticles + 1},
        {"a typed row inserted in the middle, a click below", [&] { InsertBefore(4, "NEW"); },
         [&] { return OnRow(CurrentRow() + 2); }, [&] { Click(CurrentRow() + 2); }, kArticles + 1},
        {"a typed row inserted in the middle, a click on the row under it",
         [&] { InsertBefore(4, "NEW"); }, [&] { return OnRow(CurrentRow() + 1); },
         [&] { Click(CurrentRow() + 1); }, kArticles + 1},
        {"a typed row inserted in the middle, a click above", [&] { InsertBefore(4, "NEW"); },
         [&] { return OnRow(CurrentRow() - 2); }, [&] { Click(CurrentRow() - 2); }, kArticles + 1},
        {"an untouched row inserted in the middle, a click below",
         [&] { InsertBefore(4, QString()); }, [&] { return OnRow(CurrentRow() + 2); },
         [&] { Click(CurrentRow() + 2); }, kArticles},
        {"a sorted code typed over so that it moves down, a click below",
         [&] {
             SortByCode();
             Retype(3, "0059Z");
         },
         [&] { return OnRow(CurrentRow() + 4); }, [&] { Click(CurrentRow() + 4); }, kArticles},
        {"a sorted code typed over so that it moves up, a click above",
         [&] {
             SortByCode();
             Retype(9, "0001Z");
         },
         [&] { return OnRow(CurrentRow() - 4); }, [&] { Click(CurrentRow() - 4); }, kArticles},
        {"a typed new row at the end, Ctrl+PgUp", [&] { Append("ZZ01"); },
         [&] { return CodigoAt(rows.FirstRecNo()); },
         [&] { Key(Qt::Key_PageUp, Qt::ControlModifier); }, kArticles + 1},
        {"a typed row inserted in the middle, Ctrl+PgDn", [&] { InsertBefore(4, "NEW"); },
         [&] { return CodigoAt(rows.LastRecNo()); },
         [&] { Key(Qt::Key_PageDown, Qt::ControlModifier); }, kArticles + 1},
        {"a typed new row at the end, a line up on the scroll bar", [&] { Append("ZZ01"); },
         [&] { return CodigoAt(rows.FirstRecNo() - 1); },
         [&] { Bar()->triggerAction(QAbstractSlider::SliderSingleStepSub); }, kArticles + 1},
        {"a typed row inserted in the middle, a line down on the scroll bar",
         [&] { InsertBefore(4, "NEW"); }, [&] { return CodigoAt(rows.LastRecNo() + 1); },
         [&] { Bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd); }, kArticles + 1},
        {"a typed row inserted in the middle, the thumb dragged", [&] { InsertBefore(4, "NEW"); },
         [&] { return CodigoAt(30); }, [&] { Bar()->setSliderPosition(30); }, kArticles + 1},
        {"a typed row inserted in the middle, the thumb released without tracking",
         [&] {
             grid_->SetVertScrollBarTracking(false);
             InsertBefore(4, "NEW");
         },
         [&] { return CodigoAt(30); },
         [&] {
             Bar()->setSliderDown(true);
             Bar()->setSliderPosition(30);
             Bar()->setSliderDown(false);
         },
         kArticles + 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        grid_->SelectVisibleColumn(0);
        c.pend();
        ASSERT_NE(cds_->State(), dsBrowse);
        const QString aimed = c.aim();
        ASSERT_FALSE(aimed.isEmpty());
        c.move();
        EXPECT_EQ(cds_->State(), dsBrowse);
        EXPECT_EQ(cds_->RecordCount(), c.records);
        EXPECT_EQ(Field("CODIGO").AsString(), aimed);
        // Afresh for the next case.
        grid_->SetVertScrollBarTracking(true);
        Open(kArticles);
    }
}

} // namespace
