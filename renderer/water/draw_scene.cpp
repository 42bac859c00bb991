#include "renderer/water/draw_scene.h"

#include <cmath>
#include <cstdlib>

#include "renderer/assets/desktop_texture.h"
#include "renderer/gl_api.h"
#include "renderer/water/scene_settings.h"
#include "renderer/water/water_grid.h"

FrameState Frame;

namespace {

// The camera's own idea of pi; a full orbit therefore takes about 3,601 frames.
constexpr double CameraPi = 3.141;
constexpr double OrbitStep = 0.1;   // degrees per frame
constexpr float OrbitInset = 9.0f;  // orbit radius = half the grid width less this
constexpr double EyeHeight = 20.0;
constexpr double TargetHeight = 4.0;
constexpr double ScrollStep = 0.001;  // one picture width every 1,000 frames

void MoveCamera() {
    Frame.OrbitAngleX = static_cast<float>(Frame.OrbitAngleX + OrbitStep);
    Frame.OrbitAngleZ = static_cast<float>(Frame.OrbitAngleZ + OrbitStep);
    const float radiusX = Scene.GridPointsX * Scene.GridHalfSpacing - OrbitInset;
    const float radiusZ = Scene.GridPointsZ * Scene.GridHalfSpacing - OrbitInset;
    const float eyeX = static_cast<float>(std::cos(Frame.OrbitAngleX * CameraPi / 180.0) * radiusX);
    const float eyeZ = static_cast<float>(std::sin(Frame.OrbitAngleZ * CameraPi / 180.0) * radiusZ);
    gluLookAt(eyeX, EyeHeight, eyeZ, 0.0, TargetHeight, 0.0, 0.0, 1.0, 0.0);
}

void DropAtRandom() {
    ++Frame.DropCounter;
    if (Frame.DropCounter % Scene.DropInterval != 0) {
        return;
    }
    const auto random = [] { return Frame.Random ? Frame.Random->Next() : std::rand(); };
    // Row first, then column: the order fixes which points an unseeded run hits.
    const int row = random() % static_cast<int>(Scene.GridPointsZ);
    const int column = random() % static_cast<int>(Scene.GridPointsX);
    DropRipple(column, row);
    Frame.DropCounter = 1;
}

void SurfaceVertex(const WaterGrids& water, int column, int row, float s, float t) {
    const GridPoint& point = water.HeightGrid[column][row];
    glTexCoord2d(s, t);
    glVertex3f(static_cast<float>(point.x), static_cast<float>(point.y), static_cast<float>(point.z));
}

void DrawSurface() {
    const float du = 1.0f / Scene.GridPointsX;
    const float dv = 1.0f / Scene.GridPointsZ;
    Frame.TextureScroll = static_cast<float>(Frame.TextureScroll + ScrollStep);
    if (Frame.TextureScroll >= 1.0f) {
        Frame.TextureScroll = 0.0f;
    }

    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    // The surface adds up where it overlaps itself, so nothing may hide it.
    glDepthMask(GL_FALSE);
    glBlendFunc(GL_ONE, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, Textures[0]);
    glColor3f(1.0f, 1.0f, 1.0f);
    const WaterGrids& water = CurrentWater();

    // One list of independent triangles: the same triangles in the same order
    // as a begin and end for each, at a fraction of the calls' cost.
    glBegin(GL_TRIANGLES);
    for (int r = 0; static_cast<float>(r) < Scene.GridPointsZ - 1.0f; ++r) {
        for (int c = 0; static_cast<float>(c) < Scene.GridPointsX - 1.0f; ++c) {
            const float s0 = c * du + Frame.TextureScroll;
            const float s1 = s0 + du;
            const float t0 = r * dv;
            const float t1 = t0 + dv;

            SurfaceVertex(water, c, r, s0, t0);
            SurfaceVertex(water, c + 1, r, s1, t0);
            SurfaceVertex(water, c, r + 1, s0, t1);

            SurfaceVertex(water, c + 1, r + 1, s1, t1);
            SurfaceVertex(water, c, r + 1, s0, t1);
            SurfaceVertex(water, c + 1, r, s1, t0);
        }
    }
    glEnd();

    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

}  // namespace

bool DrawScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    MoveCamera();
    DropAtRandom();
    PropagateWaves();
    DrawSurface();
    return true;
}
