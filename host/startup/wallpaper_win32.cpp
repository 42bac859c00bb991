#include "host/startup/wallpaper_win32.h"

#include <knownfolders.h>
#include <shobjidl.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "handover/hand_over_win32.h"
#include "host/startup/bmp_writer.h"
#include "host/startup/box_shrink.h"
#include "host/startup/png_rows.h"
#include "host/startup/wallpaper_layout.h"

namespace {

// Pictures larger than this are not decoded (a quarter of a gigabyte at 32 bits
// a pixel, were one decoded whole).
constexpr unsigned long long MostWallpaperPixels = 64ull * 1024 * 1024;
// Rows converted at a time: the full-size picture is never held in 32 bits.
constexpr UINT StripRows = 64;

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

// The first frame of a picture file, not decoded yet. A PNG the streaming
// reader takes is not opened with WIC at all: Wine's PNG decoder holds the
// whole picture decoded as soon as it opens it.
struct PictureSource {
    std::wstring Path;
    bool StreamedPng = false;
    ComRef<IWICImagingFactory> Factory;
    ComRef<IWICBitmapDecoder> Decoder;
    ComRef<IWICBitmapFrameDecode> Frame;
    UINT Width = 0, Height = 0;
};

// A PNG file read through a C stream, closed when it goes.
class PngFile {
public:
    explicit PngFile(const std::wstring& path) : file_(_wfopen(path.c_str(), L"rb")) {}
    PngFile(const PngFile&) = delete;
    PngFile& operator=(const PngFile&) = delete;
    ~PngFile() {
        if (file_) fclose(file_);
    }
    PngRowReader& Reader() { return reader_; }

private:
    FILE* file_;
    PngRowReader reader_{[this](uint8_t* into, size_t most) { return file_ ? fread(into, 1, most, file_) : 0; }};
};

bool OpenWithWic(PictureSource& source) {
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(&source.Factory))) &&
           SUCCEEDED(source.Factory->CreateDecoderFromFilename(source.Path.c_str(), nullptr, GENERIC_READ,
                                                               WICDecodeMetadataCacheOnDemand, &source.Decoder)) &&
           SUCCEEDED(source.Decoder->GetFrame(0, &source.Frame)) &&
           SUCCEEDED(source.Frame->GetSize(&source.Width, &source.Height));
}

bool OpenPicture(const std::wstring& path, PictureSource& source) {
    source.Path = path;
    PngFile png(path);
    PngHeader header;
    const PngError error = png.Reader().ReadHeader(header);
    // Too large a PNG is not shown: WIC would decode the whole of it.
    if (error == PngError::TooLarge) return false;
    source.StreamedPng = error == PngError::None;
    if (source.StreamedPng) {
        source.Width = header.Width;
        source.Height = header.Height;
    } else if (!OpenWithWic(source)) {
        return false;
    }
    return source.Width > 0 && source.Height > 0 &&
           static_cast<unsigned long long>(source.Width) * source.Height <= MostWallpaperPixels;
}

// Row y of a 24-bit canvas, counted from the top: the canvas is stored bottom
// row first, in rows padded to 4 bytes.
BYTE* CanvasRow(const MemoryCanvas& canvas, UINT y) {
    return static_cast<BYTE*>(canvas.Bits()) + size_t(canvas.Height() - 1 - int(y)) * BmpRowStride(canvas.Width());
}

// The PNG decoded a few rows at a time, each shrunk as it comes to width x
// height (neither larger than its own); an empty canvas when it cannot be read.
MemoryCanvas DecodeStreamedPng(const PictureSource& source, UINT width, UINT height) {
    width = std::min(width, source.Width);
    height = std::min(height, source.Height);
    MemoryCanvas canvas = MemoryCanvas::Dib24(int(width), int(height));
    if (!canvas) return MemoryCanvas();
    BoxShrink shrink(source.Width, source.Height, width, height,
                     [&](uint32_t y, const uint8_t* bgr) { memcpy(CanvasRow(canvas, y), bgr, size_t(width) * 3); });
    PngFile png(source.Path);
    PngHeader header;
    if (png.Reader().ReadHeader(header) != PngError::None || header.Width != source.Width ||
        header.Height != source.Height || png.Reader().ReadRows([&](const uint8_t* row) {
            shrink.AddRow(row);
            return true;
        }) != PngError::None)
        return MemoryCanvas();
    return canvas;
}

// The picture decoded to a 24-bit canvas of width x height (at most its own
// size: it is scaled while it is decoded), as 32-bit pixels, which every
// decoder gives (24-bit output is not offered for every source), a strip of
// rows at a time; an empty canvas when it cannot be read.
MemoryCanvas DecodePicture(PictureSource& source, UINT width, UINT height) {
    if (source.StreamedPng) {
        MemoryCanvas canvas = DecodeStreamedPng(source, width, height);
        // A PNG the reader cannot read goes to WIC, which may.
        if (canvas || !OpenWithWic(source)) return canvas;
    }
    ComRef<IWICBitmapScaler> scaler;
    ComRef<IWICFormatConverter> converter;
    IWICBitmapSource* pixels = source.Frame.Get();
    if (width < source.Width || height < source.Height) {
        if (FAILED(source.Factory->CreateBitmapScaler(&scaler)) ||
            FAILED(scaler->Initialize(pixels, width, height, WICBitmapInterpolationModeFant)))
            return MemoryCanvas();
        pixels = scaler.Get();
    } else {
        width = source.Width;
        height = source.Height;
    }
    if (FAILED(source.Factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(pixels, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return MemoryCanvas();
    MemoryCanvas canvas = MemoryCanvas::Dib24(int(width), int(height));
    if (!canvas) return MemoryCanvas();
    std::vector<BYTE> strip(size_t(width) * 4 * StripRows);
    for (UINT top = 0; top < height; top += StripRows) {
        const UINT rows = height - top < StripRows ? height - top : StripRows;
        const WICRect part = {0, INT(top), INT(width), INT(rows)};
        if (FAILED(converter->CopyPixels(&part, width * 4, UINT(strip.size()), strip.data()))) return MemoryCanvas();
        for (UINT y = 0; y < rows; ++y) {
            const BYTE* from = strip.data() + size_t(y) * width * 4;
            BYTE* to = CanvasRow(canvas, top + y);
            for (UINT x = 0; x < width; ++x, from += 4, to += 3) {
                to[0] = from[0];
                to[1] = from[1];
                to[2] = from[2];
            }
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

// Windows's own copies of the wallpaper, kept for when the file is gone (a
// folder offline, a picture deleted since): "TranscodedWallpaper" for the
// shared one, "Transcoded_000" and on for each monitor's own.
std::wstring CachedWallpaperPath(const std::wstring& name) {
    return KnownFolderPath(FOLDERID_RoamingAppData, (L"\\Microsoft\\Windows\\Themes\\" + name).c_str());
}

struct MonitorWallpaper {
    RECT Rect;
    std::wstring Path;  // empty: none of its own
};

// Each monitor's wallpaper as the user chose it (IDesktopWallpaper, Windows 8
// and later); empty where the system offers no such choice.
std::vector<MonitorWallpaper> WallpapersPerMonitor() {
    std::vector<MonitorWallpaper> monitors;
    ComRef<IDesktopWallpaper> desktop;
    UINT count = 0;
    if (FAILED(CoCreateInstance(CLSID_DesktopWallpaper, nullptr, CLSCTX_ALL, IID_IDesktopWallpaper,
                                reinterpret_cast<void**>(&desktop))) ||
        FAILED(desktop->GetMonitorDevicePathCount(&count)))
        return monitors;
    for (UINT i = 0; i < count; ++i) {
        LPWSTR id = nullptr, path = nullptr;
        MonitorWallpaper monitor = {};
        // A monitor known but not attached has no rectangle.
        if (SUCCEEDED(desktop->GetMonitorDevicePathAt(i, &id)) &&
            SUCCEEDED(desktop->GetMonitorRECT(id, &monitor.Rect)) && SUCCEEDED(desktop->GetWallpaper(id, &path))) {
            monitor.Path = path != nullptr ? path : L"";
            monitors.push_back(monitor);
        }
        CoTaskMemFree(path);
        CoTaskMemFree(id);
    }
    return monitors;
}

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

// Draws the wallpaper on the given monitors of the picture of the virtual
// screen. The picture covers the virtual screen; each monitor is laid out as
// the desktop lays it out, and Span runs across them all.
void LayOutWallpaper(const MemoryCanvas& picture, PictureSource& source, WallpaperStyle style,
                     const std::vector<RECT>& monitors) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    // Decoded at the largest size it is shown at, not its own: a huge picture
    // stretched over a monitor needs no more pixels than the monitor has.
    const bool ownSize = style == WallpaperStyle::Tile || style == WallpaperStyle::Centre;
    UINT shownWidth = ownSize ? source.Width : 1, shownHeight = ownSize ? source.Height : 1;
    for (const RECT& m : ownSize ? std::vector<RECT>() : monitors) {
        const LayoutRect span = {left - m.left, top - m.top, picture.Width(), picture.Height()};
        for (const LayoutRect& r :
             WallpaperRects(style, int(source.Width), int(source.Height), m.right - m.left, m.bottom - m.top, span)) {
            if (UINT(r.Width) > shownWidth) shownWidth = UINT(r.Width);
            if (UINT(r.Height) > shownHeight) shownHeight = UINT(r.Height);
        }
    }
    const MemoryCanvas wallpaper = DecodePicture(source, shownWidth, shownHeight);
    if (!wallpaper) return;
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
                 WallpaperRects(style, int(source.Width), int(source.Height), width, height, span))
                StretchBlt(dc, x + r.X, y + r.Y, r.Width, r.Height, wallpaper.Dc(), 0, 0, wallpaper.Width(),
                           wallpaper.Height(), SRCCOPY);
        }
        RestoreDC(dc, saved);
    }
    GdiFlush();
}

}  // namespace

// The picture file, or else its cached copy, laid out on those monitors.
void DrawWallpaperFile(const MemoryCanvas& picture, const std::wstring& path, const std::wstring& cached,
                       WallpaperStyle style, const std::vector<RECT>& monitors) {
    for (const std::wstring& file : {path, cached}) {
        PictureSource source;
        if (!file.empty() && OpenPicture(file, source)) {
            LayOutWallpaper(picture, source, style, monitors);
            return;
        }
    }
}

void DrawWallpaper(const MemoryCanvas& picture) {
    picture.Fill(GetSysColor(COLOR_DESKTOP));
    const WallpaperStyle style = WallpaperStyleFrom(DesktopValue(L"WallpaperStyle"), DesktopValue(L"TileWallpaper"));
    const std::vector<MonitorWallpaper> own = WallpapersPerMonitor();
    std::vector<std::wstring> paths;
    for (const MonitorWallpaper& monitor : own) paths.push_back(monitor.Path);
    if (WallpaperPerMonitor(style, paths)) {
        // A monitor without a picture of its own keeps the desktop colour.
        for (size_t i = 0; i < own.size(); ++i) {
            if (own[i].Path.empty()) continue;
            DrawWallpaperFile(picture, own[i].Path, CachedWallpaperPath(CachedMonitorWallpaperName(i)), style,
                              {own[i].Rect});
        }
        return;
    }
    wchar_t path[MAX_PATH + 1] = {};
    if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0) || path[0] == 0) return;
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitorRect, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty()) {
        const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        monitors.push_back({left, top, left + picture.Width(), top + picture.Height()});
    }
    DrawWallpaperFile(picture, path, CachedWallpaperPath(L"TranscodedWallpaper"), style, monitors);
}
