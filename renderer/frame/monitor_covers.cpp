#include "renderer/frame/monitor_covers.h"

#include <algorithm>

namespace {

bool Empty(const ScreenRect& r) {
    return r.Right <= r.Left || r.Bottom <= r.Top;
}

void AddUnlessEmpty(std::vector<ScreenRect>& rects, const ScreenRect& r) {
    if (!Empty(r)) rects.push_back(r);
}

}  // namespace

std::vector<ScreenRect> CoverRects(const std::vector<ScreenRect>& monitors, const ScreenRect& primary) {
    std::vector<ScreenRect> covers;
    for (const ScreenRect& m : monitors) {
        const ScreenRect overlap = {std::max(m.Left, primary.Left), std::max(m.Top, primary.Top),
                                    std::min(m.Right, primary.Right), std::min(m.Bottom, primary.Bottom)};
        if (Empty(overlap)) {
            AddUnlessEmpty(covers, m);
            continue;
        }
        AddUnlessEmpty(covers, {m.Left, m.Top, m.Right, overlap.Top});
        AddUnlessEmpty(covers, {m.Left, overlap.Bottom, m.Right, m.Bottom});
        AddUnlessEmpty(covers, {m.Left, overlap.Top, overlap.Left, overlap.Bottom});
        AddUnlessEmpty(covers, {overlap.Right, overlap.Top, m.Right, overlap.Bottom});
    }
    return covers;
}
