#include "renderer/water/draw_scene.h"

#include <cmath>
#include <cstdlib>

#include "renderer/assets/desktop_texture.h"
#include "renderer/gl_api.h"
#include "renderer/water/scene_settings.h"
#include "renderer/water/surface_mesh.h"
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

void DrawSurface() {
    Frame.TextureScroll = static_cast<float>(Frame.TextureScroll + ScrollStep);
    if (Frame.TextureScroll >= 1.0f) {
        Frame.TextureScroll = 0.0f;
    }

    GLfloat projection[16];
    GLfloat modelView[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    GLfloat clip[16];
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += projection[k * 4 + row] * modelView[column * 4 + k];
            clip[column * 4 + row] = sum;
        }
    }
    static SurfaceMesh mesh;  // kept between frames to spare the allocations
    BuildSurfaceMesh(CurrentWater(), static_cast<int>(Scene.GridPointsX), static_cast<int>(Scene.GridPointsZ),
                     Frame.TextureScroll, clip, mesh);

    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    // The surface adds up where it overlaps itself, so nothing may hide it.
    glDepthMask(GL_FALSE);
    glBlendFunc(GL_ONE, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, Textures[0]);
    glColor3f(1.0f, 1.0f, 1.0f);

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, mesh.Positions.data());
    glTexCoordPointer(2, GL_FLOAT, 0, mesh.TexCoords.data());
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mesh.Indices.size()), GL_UNSIGNED_INT, mesh.Indices.data());
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);

    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

}  // namespace

bool DrawScene() {
    // Nothing tests or writes depth, so only the colours are cleared.
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    MoveCamera();
    DropAtRandom();
    PropagateWaves();
    DrawSurface();
    return true;
}
