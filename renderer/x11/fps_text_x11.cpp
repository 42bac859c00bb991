#include "renderer/x11/fps_text_x11.h"

#include <GL/glx.h>

#include <cstring>

namespace {

constexpr int FirstGlyph = 32, GlyphCount = 96;

}  // namespace

FpsText MakeFpsText(Display* display) {
    FpsText text;
    text.Font = XLoadQueryFont(display, "fixed");
    if (!text.Font) return text;
    text.FirstList = glGenLists(GlyphCount);
    if (text.FirstList) glXUseXFont(text.Font->fid, FirstGlyph, GlyphCount, text.FirstList);
    return text;
}

void FreeFpsText(Display* display, FpsText& text) {
    if (text.FirstList) glDeleteLists(text.FirstList, GlyphCount);
    if (text.Font) XFreeFont(display, text.Font);
    text = {};
}

void DrawFpsText(const FpsText& text, const char* line, int width, int height) {
    if (!text.FirstList) return;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor3f(1.0f, 1.0f, 1.0f);
    glRasterPos2i(8, height - 8 - text.Font->ascent);
    for (const char* c = line; *c; ++c) {
        // Mesa's glyph of a blank moves nothing: step over blanks by hand.
        if (*c == ' ') {
            glBitmap(0, 0, 0, 0, GLfloat(text.Font->max_bounds.width), 0, nullptr);
        } else {
            glCallList(text.FirstList + GLuint(*c - FirstGlyph));
        }
    }
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}

void DrawFpsTextOnWindow(Display* display, Window window, GC gc, const FpsText& text, const char* line) {
    if (!text.Font) return;
    XSetFont(display, gc, text.Font->fid);
    XSetForeground(display, gc, WhitePixel(display, DefaultScreen(display)));
    XDrawString(display, window, gc, 8, 8 + text.Font->ascent, line, int(std::strlen(line)));
}
