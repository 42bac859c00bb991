#include "host/startup/wallpaper_win32.h"

#include <wincodec.h>

#include <string>
#include <vector>

#include "host/startup/wallpaper_layout.h"

namespace {

// Pictures larger than this are not decoded (a quarter of a gigabyte at 32 bits a pixel).
constexpr unsigned long long MostWallpaperPixels = 64ull * 1024 * 1024;

// One reference to a COM object, released when it goes.
template <typename T>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (object_) object_->Release();
    }
    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    T** operator&() { return &object_; }

private:
    T* object_ = nullptr;
};

std::wstring DesktopValue(const wchar_t* name) {
    wchar_t value[64] = {};
    DWORD bytes = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", name, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
        ERROR_SUCCESS)
        return std::wstring();
    return value;
}

// The picture in the file, decoded to a 24-bit canvas; an empty canvas when
// it cannot be read. It is decoded as 32-bit pixels, which every decoder
// gives (24-bit output is not offered for every source).
MemoryCanvas DecodePicture(const std::wstring& path) {
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory))) ||
        FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 ||
        static_cast<unsigned long long>(width) * height > MostWallpaperPixels)
        return MemoryCanvas();

    std::vector<BYTE> pixels(size_t(width) * height * 4);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, UINT(pixels.size()), pixels.data()))) return MemoryCanvas();
    MemoryCanvas canvas = MemoryCanvas::Dib24(int(width), int(height));
    if (!canvas) return MemoryCanvas();
    // The canvas is stored bottom row first, in rows padded to 4 bytes; the
    // decoder gives the top row first.
    const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    BYTE* bits = static_cast<BYTE*>(canvas.Bits());
    for (UINT y = 0; y < height; ++y) {
        const BYTE* from = pixels.data() + size_t(y) * width * 4;
        BYTE* to = bits + size_t(height - 1 - y) * stride;
        for (UINT x = 0; x < width; ++x, from += 4, to += 3) {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
    return canvas;
}

}  // namespace

bool OnUsersOwnDesktop() {
    wchar_t name[256] = {};
    DWORD needed = 0;
    if (!GetUserObjectInformationW(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, name,
                                   sizeof name - sizeof(wchar_t), &needed))
        return true;  // nothing says otherwise: the screen is the user's
    return _wcsicmp(name, L"Default") == 0;
}

namespace {

BOOL CALLBACK AddMonitorRect(HMONITOR, HDC, LPRECT rect, LPARAM context) {
    reinterpret_cast<std::vector<RECT>*>(context)->push_back(*rect);
    return TRUE;
}

// Tiles by doubling what is drawn already: a few copies, however small the picture.
void DrawTiled(HDC dc, const MemoryCanvas& wallpaper, int x, int y, int width, int height) {
    BitBlt(dc, x, y, wallpaper.Width(), wallpaper.Height(), wallpaper.Dc(), 0, 0, SRCCOPY);
    for (int done = wallpaper.Width(); done < width; done *= 2)
        BitBlt(dc, x + done, y, done, wallpaper.Height(), dc, x, y, SRCCOPY);
    for (int done = wallpaper.Height(); done < height; done *= 2)
        BitBlt(dc, x, y + done, width, done, dc, x, y, SRCCOPY);
}

}  // namespace

void DrawWallpaper(const MemoryCanvas& picture) {
    picture.Fill(GetSysColor(COLOR_DESKTOP));
    wchar_t path[MAX_PATH + 1] = {};
    if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0) || path[0] == 0) return;
    const MemoryCanvas wallpaper = DecodePicture(path);
    if (!wallpaper) return;

    const WallpaperStyle style = WallpaperStyleFrom(DesktopValue(L"WallpaperStyle"), DesktopValue(L"TileWallpaper"));
    // The picture covers the virtual screen; each monitor is laid out as the
    // desktop lays it out, and Span runs across them all.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitorRect, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty()) monitors.push_back({left, top, left + picture.Width(), top + picture.Height()});
    const HDC dc = picture.Dc();
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    for (const RECT& m : monitors) {
        const int x = m.left - left, y = m.top - top, width = m.right - m.left, height = m.bottom - m.top;
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, x, y, x + width, y + height);
        if (style == WallpaperStyle::Tile) {
            DrawTiled(dc, wallpaper, x, y, width, height);
        } else {
            const LayoutRect span = {left - m.left, top - m.top, picture.Width(), picture.Height()};
            for (const LayoutRect& r :
                 WallpaperRects(style, wallpaper.Width(), wallpaper.Height(), width, height, span))
                StretchBlt(dc, x + r.X, y + r.Y, r.Width, r.Height, wallpaper.Dc(), 0, 0, wallpaper.Width(),
                           wallpaper.Height(), SRCCOPY);
        }
        RestoreDC(dc, saved);
    }
    GdiFlush();
}
