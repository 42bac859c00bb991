#include "host/startup/preview_window_win32.h"

#include "host/common/memory_canvas_win32.h"

namespace {

constexpr const wchar_t* PreviewClassName = L"Ripplume_R";

struct PreviewWindowState {
    HBITMAP Img_Prev = nullptr;  // the still, loaded once
};

PreviewWindowState Preview;

void Form_Paint(HWND window) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    const MemoryCanvas still = MemoryCanvas::Viewing(dc, Preview.Img_Prev);
    if (still) {
        // At its own size from the top-left corner; the black background
        // shows beyond it, a smaller window cuts it.
        BitBlt(dc, 0, 0, PreviewStillWidth, PreviewStillHeight, still.Dc(), 0, 0, SRCCOPY);
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
