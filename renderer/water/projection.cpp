#include "renderer/water/projection.h"

#include "renderer/gl_api.h"

namespace {

constexpr double FieldOfView = 45.0;  // vertical, degrees
constexpr float NearPlane = 0.1f;     // passed on as the double 0.10000000149...
constexpr double FarPlane = 1000.0;

}  // namespace

void ApplyProjection(int width, int height) {
    ApplyProjection(Viewport{0, 0, width, height});
}

void ApplyProjection(const Viewport& viewport) {
    const int width = viewport.Width;
    const int height = viewport.Height == 0 ? 1 : viewport.Height;
    glViewport(viewport.X, viewport.Y, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const float aspect = static_cast<float>(width) / static_cast<float>(height);
    gluPerspective(FieldOfView, aspect, NearPlane, FarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
