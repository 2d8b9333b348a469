#include "platform/ui/frame_pacing.h"

#include <QVariant>
#include <QWidget>
#include <chrono>

namespace FramePacing {
namespace {

qint64 SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Clock clock = nullptr;

// Where a window keeps the moment its last frame began.
constexpr const char* kLastFrame = "amqbLastFrameMs";

} // namespace

bool BeginFrame(QWidget& window) {
    const qint64 now = clock ? clock() : SteadyMs();
    const QVariant last = window.property(kLastFrame);
    if (last.isValid() && now - last.toLongLong() < kFrameMs)
        return false;
    window.setProperty(kLastFrame, now);
    return true;
}

void SetClock(Clock c) {
    clock = c;
}

} // namespace FramePacing
