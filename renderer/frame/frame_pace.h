// The frame is the water's clock: each frame is one step of the waves and the
// camera. So that they move at the same speed on a 60, 144 or 240 Hz display,
// and no core spins where the driver does not wait for the display, frames
// come no faster than 60 a second.
#pragma once

constexpr long long FrameNanoseconds = 1000000000LL / 60;

struct FramePace {
    long long NextFrameDue = 0;  // on the caller's monotonic clock, in nanoseconds
    bool Started = false;
};

// How long to wait before the next frame may be drawn; 0 when it may be drawn now.
long long NanosecondsUntilNextFrame(const FramePace& pace, long long now);

// Records a frame drawn at now. The next one is due a period after this one
// was due, so a display that refreshes at 60 Hz meets every due time without
// drifting; a frame late by half a period or more starts the schedule afresh,
// so a stall (a minimised window, a busy machine) is never made up by a burst.
void FrameDrawn(FramePace& pace, long long now);
