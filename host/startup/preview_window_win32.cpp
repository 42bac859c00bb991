#include "host/startup/preview_window_win32.h"

#include "host/common/memory_canvas_win32.h"
#include "host/startup/wallpaper_layout.h"

namespace {

constexpr const wchar_t* PreviewClassName = L"Ripplume_R";

struct PreviewWindowState {
    HBITMAP Img_Prev = nullptr;  // the still, loaded once
};

PreviewWindowState Preview;

// The still fills the box: at its own size in a box of that size (the usual
// one at 96 dpi), else scaled to cover the box as a filling wallpaper does,
// keeping its proportions; at 125-200 % scaling the box is larger.
void Form_Paint(HWND window) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    const MemoryCanvas still = MemoryCanvas::Viewing(dc, Preview.Img_Prev);
    RECT box = {};
    GetClientRect(window, &box);
    if (still && box.right == PreviewStillWidth && box.bottom == PreviewStillHeight) {
        BitBlt(dc, 0, 0, PreviewStillWidth, PreviewStillHeight, still.Dc(), 0, 0, SRCCOPY);
    } else if (still && box.right > 0 && box.bottom > 0) {
        const LayoutRect boxRect = {0, 0, box.right, box.bottom};
        const LayoutRect to =
            WallpaperRects(WallpaperStyle::Fill, PreviewStillWidth, PreviewStillHeight, box.right, box.bottom, boxRect)
                .front();
        // Averaged, not sampled, so the scaled still keeps its look.
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, to.X, to.Y, to.Width, to.Height, still.Dc(), 0, 0, PreviewStillWidth, PreviewStillHeight,
                   SRCCOPY);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Form_Paint(window);
        return 0;
    case WM_DESTROY:
        // The preview is the process's only window: when the box goes, so do we.
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool RegisterPreviewClass(HINSTANCE instance) {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;  // a new size is a new picture
    windowClass.lpfnWndProc = PreviewProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = PreviewClassName;
    return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

HWND ShowPreview(HINSTANCE instance, HWND previewBox) {
    RECT box = {};
    GetWindowRect(previewBox, &box);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;

    if (!RegisterPreviewClass(instance)) {
        return nullptr;
    }
    if (Preview.Img_Prev == nullptr) {
        Preview.Img_Prev =
            static_cast<HBITMAP>(LoadImageW(instance, PreviewStillResource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    }
    const HWND window = CreateWindowExW(0, PreviewClassName, PreviewWindowTitle, WS_POPUP, 0, 0, width, height, nullptr,
                                        nullptr, instance, nullptr);
    if (window == nullptr) {
        return nullptr;
    }
    // A child cannot also be a pop-up, so the pop-up bit goes as the child bit comes.
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    SetWindowLongW(window, GWL_STYLE, (style | WS_CHILD) & ~WS_POPUP);
    SetParent(window, previewBox);
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWNA);
    UpdateWindow(window);
    return window;
}
