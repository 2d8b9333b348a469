// Repaint as work that blocks the event loop uses it to show its progress:
// it reaches the screen in a window shown a moment ago, before the window
// system's notice of the showing has come in, and a window is painted at
// most once per display frame, what a skipped repaint would have shown being
// painted by a later one or by the event loop.

#include "platform/ui/frame_pacing.h"
#include "platform/ui/panel.h"
#include "tests/platform/ui/test_form_fixture.h"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <map>

namespace {

qint64 now = 0;
qint64 FakeClock() {
    return now;
}

class RepaintTest : public TestFormFixture {
protected:
    void SetUp() override { FramePacing::SetClock(&FakeClock); }
    void TearDown() override {
        FramePacing::SetClock(nullptr);
        TestFormFixture::TearDown();
    }

    // A shown window with a status panel, whose showing has not been
    // confirmed by the window system: no event has been let in since.
    TPanel& ShownPanel() {
        TTestForm* form = MakeForm("  Width = 300\n  Height = 120\n"
                                   "  TPanel Status\n    Left = 20\n    Top = 30\n"
                                   "    Width = 250\n    Height = 41\n");
        form->Show();
        return *FindRequired<TPanel>(*form, "Status");
    }

    // The caption of the picture among `pictures` that the panel's place on
    // the screen shows now, or what else it shows.
    static std::string ShownCaption(const TPanel& panel,
                                    const std::map<std::string, QImage>& pictures) {
        const QImage screen = OnScreen(panel);
        for (const auto& [caption, picture] : pictures)
            if (screen == picture)
                return caption;
        return screen.isNull() ? "(nothing)" : "(another picture)";
    }
    static QImage OnScreen(const TPanel& panel) {
        QWidget* w = panel.Widget();
        const QPoint at = w->mapTo(w->window(), QPoint());
        return w->screen()
            ->grabWindow(w->window()->winId(), at.x(), at.y(), w->width(), w->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    // The panel as it paints itself now.
    static QImage Picture(const TPanel& panel) {
        return panel.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(RepaintTest, AWindowJustShownIsOnScreenAtOnceAndPaintedAtMostOncePerFrame) {
    TPanel& panel = ShownPanel();
    struct Step {
        qint64 at;           // the clock, in milliseconds
        const char* caption; // set before the repaint
        const char* shown;   // on screen after it
    };
    const Step steps[] = {
        {1000, "Exportando imagen articulo A1...", "Exportando imagen articulo A1..."},
        {1010, "Exportando imagen articulo A2...", "Exportando imagen articulo A1..."},
        {1015, "Exportando imagen articulo A3...", "Exportando imagen articulo A1..."},
        {1016, "Exportando imagen articulo A4...", "Exportando imagen articulo A4..."},
        {1100, "Exportando imagen articulo A5...", "Exportando imagen articulo A5..."},
        {1101, "Exportando imagen articulo A6...", "Exportando imagen articulo A5..."},
    };
    std::map<std::string, QImage> pictures;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.caption);
        now = step.at;
        panel.SetCaption(step.caption);
        pictures[step.caption] = Picture(panel);
        panel.ParentForm()->Repaint();
        EXPECT_EQ(ShownCaption(panel, pictures), step.shown);
    }
    // Once the work is over, the event loop paints what the last repaint skipped.
    QCoreApplication::processEvents();
    EXPECT_EQ(ShownCaption(panel, pictures), steps[std::size(steps) - 1].caption);
}

} // namespace
