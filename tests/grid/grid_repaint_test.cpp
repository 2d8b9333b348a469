// What the grid shows on screen after moving through its records and
// changing its look is what it paints afresh: rows copied from their
// pictures of an earlier paint, and the scroll bar repainted only where its
// thumb moved, leave nothing stale behind.

#include "tests/grid/grid_fixture.h"

#include <QScreen>
#include <functional>

namespace {

class GridRepaintTest : public GridFixture {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        Open(kArticles);
        Show();
    }

    // The grid (its cells and its scroll bar) as the screen shows it, once
    // the changes made so far have been painted.
    QImage OnScreen() const {
        QWidget* grid = grid_->Widget();
        QCoreApplication::sendPostedEvents(grid->window(), QEvent::UpdateRequest);
        const QPoint at = grid->mapTo(grid->window(), QPoint());
        return grid->screen()
            ->grabWindow(grid->window()->winId(), at.x(), at.y(), grid->width(), grid->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    // The grid painted anew, every row included (a grab copies no row).
    QImage Afresh() const {
        return grid_->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(GridRepaintTest, AfterEachMoveAndChangeTheScreenShowsTheGridAsPaintedAfresh) {
    const auto keys = [this](Qt::Key key, int times, Qt::KeyboardModifiers modifiers = {}) {
        return [=, this] {
            for (int i = 0; i < times; ++i) {
                Key(key, modifiers);
                OnScreen(); // each move painted, as a frame of its own
            }
        };
    };
    const struct {
        const char* name;
        std::function<void()> act;
    } steps[] = {
        {"down one row at a time past the bottom", keys(Qt::Key_Down, 25)},
        {"a page down", keys(Qt::Key_PageDown, 1)},
        {"up within the view", keys(Qt::Key_Up, 3)},
        {"several moves between two paints",
         [this] {
             for (int i = 0; i < 7; ++i)
                 Key(Qt::Key_Down);
         }},
        {"to the last record", keys(Qt::Key_End, 1, Qt::ControlModifier)},
        {"to the first record", keys(Qt::Key_Home, 1, Qt::ControlModifier)},
        {"a record's text changed",
         [this] {
             cds_->MoveBy(5);
             cds_->Edit();
             Field("DESCRIPCION").SetAsString(QStringLiteral("Otro texto"));
             cds_->Post();
             cds_->First();
         }},
        {"a column's text colour",
         [this] {
             grid_->Columns()[1].Font().SetColor(Qt::darkRed);
             View()->update();
         }},
        {"a column's width", [this] { grid_->Columns()[0].SetWidth(120); }},
        {"the grid's colour", [this] { grid_->SetColor(TColor(QColor(255, 250, 220))); }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        // The screen as the grid paints it, all its rows kept as pictures.
        View()->update();
        OnScreen();
        step.act();
        const QImage screen = OnScreen();
        EXPECT_TRUE(screen == Afresh());
    }
}

} // namespace
