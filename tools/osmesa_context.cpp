#include "tools/osmesa_context.h"

#include <cstddef>

OffscreenContext::OffscreenContext() : context_(OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr)) {}

OffscreenContext::~OffscreenContext() {
    if (context_) {
        OSMesaDestroyContext(context_);
    }
}

bool OffscreenContext::Bind(int width, int height) {
    if (!context_) {
        return false;
    }
    pixels_.assign(static_cast<std::size_t>(width) * height * 4, 0);
    width_ = width;
    height_ = height;
    return OSMesaMakeCurrent(context_, pixels_.data(), GL_UNSIGNED_BYTE, width, height) == GL_TRUE;
}

// Mesa's OSMesa keeps the state of every buffer it was bound to and never
// frees it, not even in OSMesaDestroyContext (a program that only creates,
// binds and destroys one context leaks the same way). Leak checking stays on
// for everything else in these tests.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libOSMesa.so\n";
}
