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

// The window-sized picture a small frame is scaled up into: a DIB section
// in a memory DC, put on the window with BitBlt. Under Wine that took a
// quarter of the time of SetDIBitsToDevice from plain memory (7.5 against
// 25 to 29 ms for 2560 x 1440).
struct ShownBitmap {
    HDC Dc = nullptr;
    HBITMAP Bitmap = nullptr;
    HGDIOBJ Original = nullptr;
    uint8_t* Bits = nullptr;  // top-down rows of Width * 4 bytes
    int Width = 0, Height = 0;
};

struct FrameShow {
    RenderScale Scale;
    bool Started = false;
    bool Marked = false;                  // RIPPLUME_FRAME_MARKS: a debug string a frame
    std::vector<uint8_t> Drawn;           // bottom-up, as GL gives it
    int DrawnWidth = 0, DrawnHeight = 0;  // of the frame read back and not yet shown; 0 for none
    ShownBitmap Shown;
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

void FreeShownBitmap(ShownBitmap& shown) {
    if (shown.Dc) {
        if (shown.Original) SelectObject(shown.Dc, shown.Original);
        DeleteDC(shown.Dc);
    }
    if (shown.Bitmap) DeleteObject(shown.Bitmap);
    shown = {};
}

bool MakeShownBitmap(ShownBitmap& shown, HDC dc, int width, int height) {
    FreeShownBitmap(shown);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    shown.Dc = CreateCompatibleDC(dc);
    shown.Bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!shown.Dc || !shown.Bitmap || !bits) {
        FreeShownBitmap(shown);
        return false;
    }
    shown.Original = SelectObject(shown.Dc, shown.Bitmap);
    shown.Bits = static_cast<uint8_t*>(bits);
    shown.Width = width;
    shown.Height = height;
    return true;
}

// The frame read back last time, scaled up and put on the window with GDI:
// measured under Wine cheaper than copying the small frame into a texture
// and drawing it over the window, whose linear filtering costs software GL
// as much again.
void ShowReadBack(HDC dc) {
    if (Show.DrawnWidth == 0) return;
    const ShownBitmap& shown = Show.Shown;
    const ptrdiff_t rowBytes = ptrdiff_t(Show.DrawnWidth) * 4;
    GdiFlush();  // the last frame's copy out of the bitmap is done
    UpscaleBilinear(
        {Show.Drawn.data() + (Show.DrawnHeight - 1) * rowBytes, -rowBytes, Show.DrawnWidth, Show.DrawnHeight},
        {shown.Bits, ptrdiff_t(shown.Width) * 4, shown.Width, shown.Height});
    BitBlt(dc, 0, 0, shown.Width, shown.Height, shown.Dc, 0, 0, SRCCOPY);
    GdiFlush();
    Show.DrawnWidth = Show.DrawnHeight = 0;
}

// A small frame is shown one frame late: while software GL draws this
// frame, the last one is scaled up and put on the window.
void ShowScaledUp(HDC dc, int drawnWidth, int drawnHeight) {
    glFlush();
    ShowReadBack(dc);
    Show.Drawn.resize(size_t(drawnWidth) * drawnHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, drawnWidth, drawnHeight, GL_BGRA_EXT, GL_UNSIGNED_BYTE, Show.Drawn.data());
    Show.DrawnWidth = drawnWidth;
    Show.DrawnHeight = drawnHeight;
}

}  // namespace

void ForgetUnshownFrame() {
    Show.DrawnWidth = 0;
}

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
    int drawnWidth = ScaledLength(width, Show.Scale.Value);
    int drawnHeight = ScaledLength(height, Show.Scale.Value);
    const bool scaled = drawnWidth < width || drawnHeight < height;
    if (scaled && (Show.Shown.Width != width || Show.Shown.Height != height)) {
        ForgetUnshownFrame();  // read back for the window's old size
        if (!MakeShownBitmap(Show.Shown, dc, width, height)) {
            // No bitmap to scale up into: full size from now on.
            Show.Scale = FixedRenderScale(1.0);
            drawnWidth = width;
            drawnHeight = height;
        }
    }
    DrawMonitorWaters(Show.Scale.Value);
    long long cost = 0;
    if (drawnWidth < width || drawnHeight < height) {
        ShowScaledUp(dc, drawnWidth, drawnHeight);
        cost = NowNanoseconds() - start;
    } else {
        ForgetUnshownFrame();  // a small frame left unshown is older than this one
        // The swap may wait for the display's refresh: that wait is no cost of the frame.
        glFinish();
        cost = NowNanoseconds() - start;
        SwapBuffers(dc);
    }
    NoteFrameCost(Show.Scale, cost);
}
