// What a person sees of an upload while it runs: when each photograph is
// written, the results window on the screen is the window as it is at that
// moment, its status panel naming the article whose photograph it is, and
// the grid on the article's row as it scrolls down the list. The window is
// shown a moment before the run starts, with no event let in since; each
// repaint here comes a display frame after the one before.

#include "platform/system/file_write_calls.h"
#include "platform/ui/frame_pacing.h"
#include "tests/forms/upload_fixture.h"
#include "tests/imaging/support/test_images.h"
#include "tests/imaging/support/test_jpeg_writer.h"

#include <QScreen>
#include <fcntl.h>
#include <tuple>

namespace {

qint64 AFrameLaterEachTime() {
    static qint64 now = 0;
    return now += FramePacing::kFrameMs;
}

// At the creation of each photograph's temporary: Panel2's caption and
// whether it is shown, as the window holds them, and whether the screen
// shows the window as it paints itself at that moment.
using AtPhotograph = std::tuple<std::string, bool, bool>;
std::vector<AtPhotograph> seen;
FileWriteCalls system;
FileWriteCalls looking;

int CreateAndLook(const char* path, int flags, mode_t mode) {
    if ((flags & O_CREAT) && factarticulos) {
        QWidget* window = factarticulos->Widget();
        const QImage screen = window->screen()
                                  ->grabWindow(window->winId())
                                  .toImage()
                                  .convertToFormat(QImage::Format_RGB32);
        const QImage now = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        seen.emplace_back(factarticulos->Panel2->Caption().toStdString(),
                          factarticulos->Panel2->Visible(), screen == now);
    }
    return system.open(path, flags, mode);
}

class UploadProgress : public UploadFixture {
protected:
    void SetUp() override {
        UploadFixture::SetUp();
        seen.clear();
        system = *fileWriteCalls;
        looking = system;
        looking.open = &CreateAndLook;
        SetFileWriteCalls(&looking);
        FramePacing::SetClock(&AFrameLaterEachTime);
    }
    void TearDown() override {
        FramePacing::SetClock(nullptr);
        SetFileWriteCalls(nullptr);
        UploadFixture::TearDown();
    }
};

TEST_F(UploadProgress, AtEachPhotographTheScreenShowsTheWindowExportingItsArticle) {
    // More articles than the grid has rows, so that it scrolls; every fifth
    // has no photograph.
    const QByteArray jpeg = WriteTestJpeg(TestPattern(64, 48));
    std::vector<AtPhotograph> expected;
    for (int i = 1; i <= 30; ++i) {
        const QString code = QStringLiteral("A%1").arg(i, 2, 10, QLatin1Char('0'));
        const bool photo = i % 5 != 0;
        AddArticle({.code = code, .photo = photo ? std::optional(jpeg) : std::nullopt});
        if (photo)
            expected.emplace_back("Exportando imagen articulo " + code.toStdString() + "...", true,
                                  true);
    }
    Login();

    const ResultsSeen results = Upload();

    ASSERT_TRUE(BoxTexts().isEmpty()) << BoxTexts().join('\n').toStdString();
    ASSERT_EQ(results.codes.size(), 30);
    EXPECT_EQ(seen, expected);
}

} // namespace
