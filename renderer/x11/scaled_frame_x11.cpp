#include "renderer/x11/scaled_frame_x11.h"

#include <GL/gl.h>
#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>

#include "renderer/frame/bilinear_upscale.h"

namespace {

bool ShmRefused = false;
int NoteShmRefusal(Display*, XErrorEvent*) {
    ShmRefused = true;
    return 0;
}

// A shared segment the X server attaches to; removed at once, so the system
// frees it when both have let go, however the run ends.
bool MakeSharedImage(ScaledFrame& frame, Display* display, Visual* visual, int depth, int width, int height) {
    if (!XShmQueryExtension(display)) return false;
    frame.Image = XShmCreateImage(display, visual, unsigned(depth), ZPixmap, nullptr, &frame.Shared, unsigned(width),
                                  unsigned(height));
    if (!frame.Image) return false;
    frame.Shared.shmid = shmget(IPC_PRIVATE, size_t(frame.Image->bytes_per_line) * height, IPC_CREAT | 0600);
    if (frame.Shared.shmid >= 0) {
        frame.Shared.shmaddr = frame.Image->data = static_cast<char*>(shmat(frame.Shared.shmid, nullptr, 0));
        frame.Shared.readOnly = False;
        XSync(display, False);
        ShmRefused = false;
        const XErrorHandler previous = XSetErrorHandler(NoteShmRefusal);
        const bool attached = frame.Image->data != reinterpret_cast<char*>(-1) && XShmAttach(display, &frame.Shared);
        XSync(display, False);  // a remote X server refuses here
        XSetErrorHandler(previous);
        shmctl(frame.Shared.shmid, IPC_RMID, nullptr);
        if (attached && !ShmRefused) return frame.UsesShm = true;
        if (frame.Image->data != reinterpret_cast<char*>(-1)) shmdt(frame.Shared.shmaddr);
    }
    frame.Image->data = nullptr;
    XDestroyImage(frame.Image);
    frame.Image = nullptr;
    frame.Shared = {};
    return false;
}

bool MakePlainImage(ScaledFrame& frame, Display* display, Visual* visual, int depth, int width, int height) {
    frame.Image =
        XCreateImage(display, visual, unsigned(depth), ZPixmap, 0, nullptr, unsigned(width), unsigned(height), 32, 0);
    if (!frame.Image) return false;
    frame.Image->data = static_cast<char*>(std::malloc(size_t(frame.Image->bytes_per_line) * height));
    if (frame.Image->data) return true;
    XDestroyImage(frame.Image);
    frame.Image = nullptr;
    return false;
}

}  // namespace

bool CanShowScaled(Display* display, Visual* visual, int depth) {
    int formats = 0;
    XPixmapFormatValues* list = XListPixmapFormats(display, &formats);
    int bitsPerPixel = 0;
    for (int i = 0; i < formats; ++i)
        if (list[i].depth == depth) bitsPerPixel = list[i].bits_per_pixel;
    if (list) XFree(list);
    return bitsPerPixel == 32 && ImageByteOrder(display) == LSBFirst && visual->red_mask == 0xff0000 &&
           visual->green_mask == 0xff00 && visual->blue_mask == 0xff;
}

bool MakeScaledFrame(ScaledFrame& frame, Display* display, Window window, Visual* visual, int depth, int width,
                     int height) {
    FreeScaledFrame(frame, display);
    if (!MakeSharedImage(frame, display, visual, depth, width, height) &&
        !MakePlainImage(frame, display, visual, depth, width, height))
        return false;
    frame.Context = XCreateGC(display, window, 0, nullptr);
    return true;
}

void ShowScaledFrame(ScaledFrame& frame, Display* display, Window window, int drawnWidth, int drawnHeight) {
    XImage* image = frame.Image;
    frame.Drawn.resize(size_t(drawnWidth) * drawnHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, drawnWidth, drawnHeight, GL_BGRA, GL_UNSIGNED_BYTE, frame.Drawn.data());
    const ptrdiff_t rowBytes = ptrdiff_t(drawnWidth) * 4;
    const PixelRows drawn = {frame.Drawn.data() + (drawnHeight - 1) * rowBytes, -rowBytes, drawnWidth, drawnHeight};
    const PixelRows shown = {reinterpret_cast<uint8_t*>(image->data), image->bytes_per_line, image->width,
                             image->height};
    // The server copies a shared image while this program goes on to draw
    // the next frame; the image is written again only once it is done.
    if (frame.ServerReading) XSync(display, False);
    UpscaleBilinear(drawn, shown);
    if (frame.UsesShm) {
        XShmPutImage(display, window, frame.Context, image, 0, 0, 0, 0, unsigned(image->width), unsigned(image->height),
                     False);
        frame.ServerReading = true;
    } else {
        XPutImage(display, window, frame.Context, image, 0, 0, 0, 0, unsigned(image->width), unsigned(image->height));
    }
    XFlush(display);
}

void FreeScaledFrame(ScaledFrame& frame, Display* display) {
    if (frame.Context) XFreeGC(display, frame.Context);
    if (frame.Image) {
        if (frame.UsesShm) {
            XShmDetach(display, &frame.Shared);
            XSync(display, False);
            shmdt(frame.Shared.shmaddr);
            frame.Image->data = nullptr;
        }
        XDestroyImage(frame.Image);  // frees a plain image's pixels
    }
    frame = {};
}
