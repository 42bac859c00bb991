#include "renderer/frame/frame_pace.h"

long long NanosecondsUntilNextFrame(const FramePace& pace, long long now) {
    if (!pace.Started || now >= pace.NextFrameDue) return 0;
    return pace.NextFrameDue - now;
}

void FrameDrawn(FramePace& pace, long long now) {
    const bool onSchedule = pace.Started && now - pace.NextFrameDue < FrameNanoseconds / 2;
    pace.NextFrameDue = (onSchedule ? pace.NextFrameDue : now) + FrameNanoseconds;
    pace.Started = true;
}
