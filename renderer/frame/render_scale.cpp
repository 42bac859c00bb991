#include "renderer/frame/render_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "renderer/frame/frame_pace.h"

namespace {

constexpr double StepDownAbove = 0.90;  // of a frame's time
constexpr double StepDownTo = 0.75;
constexpr double StepUpBelow = 0.60;

double ExpectedCost(double cost, double from, double to) {
    return cost * (to * to) / (from * from);
}

}  // namespace

bool ParseRenderScale(const std::string& text, double& scale) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) return false;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !(value >= SmallestRenderScale && value <= 1.0)) return false;
    scale = value;
    return true;
}

RenderScale FixedRenderScale(double value) {
    RenderScale scale;
    scale.Value = std::min(1.0, std::max(SmallestRenderScale, value));
    scale.Fixed = true;
    return scale;
}

bool NoteFrameCost(RenderScale& scale, long long nanoseconds) {
    if (scale.Fixed) return false;
    scale.Costs.push_back(nanoseconds);
    if (int(scale.Costs.size()) < FramesPerScaleDecision) return false;
    auto middle = scale.Costs.begin() + scale.Costs.size() / 2;
    std::nth_element(scale.Costs.begin(), middle, scale.Costs.end());
    const double cost = double(*middle);
    scale.Costs.clear();

    const double frame = double(FrameNanoseconds);
    const double before = scale.Value;
    if (scale.SteppedDownFrom > 0) {
        if (cost < scale.CostBeforeStep) {
            scale.SteppedDownFrom = 0;  // it paid
            scale.NoGainSeen = 0;
        } else if (++scale.NoGainSeen < 2) {
            return false;  // one more look: one busy half second proves nothing
        } else if (scale.Value > scale.Floor) {
            // Showing a scaled frame has a cost of its own, which a small
            // step may not win back: the smallest scale is tried before
            // the step is given up.
            scale.Value = scale.Floor;
            scale.NoGainSeen = 0;
            return true;
        } else {
            // Drawing smaller did not make frames cheaper (the time goes into
            // showing them, or to other programs): back, and no lower again.
            scale.Value = scale.Floor = scale.SteppedDownFrom;
            scale.SteppedDownFrom = 0;
            scale.NoGainSeen = 0;
            return true;
        }
    }
    if (cost > StepDownAbove * frame && before > scale.Floor) {
        double to = before - RenderScaleStep;
        while (to - RenderScaleStep >= scale.Floor && ExpectedCost(cost, before, to) > StepDownTo * frame)
            to -= RenderScaleStep;
        scale.Value = std::max(scale.Floor, to);
        scale.SteppedDownFrom = before;
        scale.CostBeforeStep = cost;
    } else if (before < 1.0) {
        const double up = std::min(1.0, before + RenderScaleStep);
        if (ExpectedCost(cost, before, up) < StepUpBelow * frame) scale.Value = up;
    }
    return scale.Value != before;
}

int ScaledLength(int length, double scale) {
    return std::max(1, int(std::lround(length * scale)));
}
