#include "renderer/frame/frame_show_win32.h"

#include <chrono>
#include <cstdlib>
#include <vector>

#include "renderer/frame/bilinear_upscale.h"
#include "renderer/frame/monitor_waters_win32.h"
#include "renderer/frame/render_scale.h"
#include "renderer/gl_api.h"

#ifndef GL_BGRA_EXT
#define GL_BGRA_EXT 0x80E1
#endif

namespace {

struct FrameShow {
    RenderScale Scale;
    bool Started = false;
    bool Marked = false;                // RIPPLUME_FRAME_MARKS: a debug string a frame
    std::vector<uint8_t> Drawn, Shown;  // bottom-up, as GL and a bottom-up DIB both take them
};

FrameShow Show;

long long NowNanoseconds() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

// RIPPLUME_RENDER_SCALE (0.5 to 1) fixes the scale, as the Linux display
// mode's -scale does; without it, or with anything else, the scale adapts.
RenderScale FirstScale() {
    const char* fixed = std::getenv("RIPPLUME_RENDER_SCALE");
    double value = 1.0;
    if (fixed && ParseRenderScale(fixed, value)) return FixedRenderScale(value);
    return RenderScale{};
}

// Read back, scaled up and put on the window with GDI: measured under Wine
// cheaper than copying the small frame into a texture and drawing it over
// the window, whose linear filtering costs software GL as much again.
void ShowScaledUp(HDC dc, int width, int height, int drawnWidth, int drawnHeight) {
    Show.Drawn.resize(size_t(drawnWidth) * drawnHeight * 4);
    Show.Shown.resize(size_t(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, drawnWidth, drawnHeight, GL_BGRA_EXT, GL_UNSIGNED_BYTE, Show.Drawn.data());
    UpscaleBilinear({Show.Drawn.data(), ptrdiff_t(drawnWidth) * 4, drawnWidth, drawnHeight},
                    {Show.Shown.data(), ptrdiff_t(width) * 4, width, height});
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, DWORD(width), DWORD(height), 0, 0, 0, UINT(height), Show.Shown.data(), &info,
                      DIB_RGB_COLORS);
    GdiFlush();
}

}  // namespace

void DrawAndShowFrame(HDC dc, int width, int height) {
    if (!Show.Started) {
        Show.Scale = FirstScale();
        const char* marks = std::getenv("RIPPLUME_FRAME_MARKS");
        Show.Marked = marks && *marks;
        Show.Started = true;
    }
    // Frames shown without a swap leave no trace of their own: measuring
    // counts these marks (scripts/measure-fps.sh).
    if (Show.Marked) OutputDebugStringA("ripplume frame\n");
    const long long start = NowNanoseconds();
    const int drawnWidth = ScaledLength(width, Show.Scale.Value);
    const int drawnHeight = ScaledLength(height, Show.Scale.Value);
    DrawMonitorWaters(Show.Scale.Value);
    long long cost = 0;
    if (drawnWidth < width || drawnHeight < height) {
        ShowScaledUp(dc, width, height, drawnWidth, drawnHeight);
        cost = NowNanoseconds() - start;
    } else {
        // The swap may wait for the display's refresh: that wait is no cost of the frame.
        glFinish();
        cost = NowNanoseconds() - start;
        SwapBuffers(dc);
    }
    NoteFrameCost(Show.Scale, cost);
}
