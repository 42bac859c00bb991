// Times one PropagateWaves step in the Windows builds, where Google Benchmark
// is not available, and prints microseconds per step: the median, fastest and
// slowest of several repetitions. Run it under Wine:
//   wine wave_step_timer.exe [REPETITIONS [STEPS]]
// Drops fall every 149 steps at rand() points, as in the renderer, so the
// surface keeps moving and the step sees heights of both signs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "renderer/water/scene_settings.h"
#include "renderer/water/water_grid.h"

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency) {
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Microseconds per step over `steps` steps; only the steps are timed.
double TimeSteps(int steps) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double seconds = 0.0;
    for (int step = 1; step <= steps; ++step) {
        if (step % 149 == 0) {
            DropRipple(std::rand() % 101, std::rand() % 101);
        }
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        PropagateWaves();
        QueryPerformanceCounter(&end);
        seconds += Seconds(start, end, frequency);
    }
    return seconds * 1e6 / steps;
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const int steps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 2000;

    std::memset(&Water, 0, sizeof Water);
    InitSceneSettings();
    InitWaterGrid();
    DropRipple(50, 50);
    TimeSteps(steps);  // warm-up: caches, clock speed

    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        times.push_back(TimeSteps(steps));
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "PropagateWaves (%d-bit build): median %.2f us/step, min %.2f, max %.2f"
        " (%d repetitions of %d steps)\n",
        static_cast<int>(sizeof(void*) * 8), times[times.size() / 2], times.front(), times.back(), repetitions, steps);
    return 0;
}
