// The water may be drawn smaller than the screen and scaled up, where drawing
// at full size costs more than a frame's time (software OpenGL on a large
// screen): the frame is the water's clock, so a slow frame slows the waves.
// The scale follows the measured frame cost; it changes by whole steps and
// only after many frames, with a wide band between stepping down and up, so
// the picture never flickers between sizes.
#pragma once
#include <string>
#include <vector>

constexpr double SmallestRenderScale = 0.5;
constexpr double RenderScaleStep = 0.125;
constexpr int FramesPerScaleDecision = 30;

struct RenderScale {
    double Value = 1.0;                  // of the screen's width and height
    bool Fixed = false;                  // given by the user: never changed
    std::vector<long long> Costs;        // the frame costs since the last decision
    double Floor = SmallestRenderScale;  // raised where a step down did not pay
    double SteppedDownFrom = 0;          // the scale before the last step down; 0: none since
    double CostBeforeStep = 0;           // the median cost there
    int NoGainSeen = 0;                  // decisions since that found frames no cheaper
};

// A scale as the user writes it: a plain decimal number from
// SmallestRenderScale to 1. False for anything else.
bool ParseRenderScale(const std::string& text, double& scale);

// A scale the user fixed, limited to SmallestRenderScale..1.
RenderScale FixedRenderScale(double value);

// Notes what a frame cost (nanoseconds of work, waiting for the frame's time
// left out). Every FramesPerScaleDecision frames the median cost decides: over
// 90 % of a 60th of a second steps down, to the largest step expected to cost
// at most 75 %; under 60 % at the next step up steps up one (the cost is
// expected to follow the pixels drawn). Where two decisions in a row after
// a step down find frames no cheaper, the smallest scale is tried; where
// that is no cheaper either, the step is undone and the scale goes no lower
// again. True when the scale changed.
bool NoteFrameCost(RenderScale& scale, long long nanoseconds);

// A length of the screen at the scale: at least one pixel.
int ScaledLength(int length, double scale);
