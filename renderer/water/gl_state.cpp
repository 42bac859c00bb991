#include "renderer/water/gl_state.h"

#include "renderer/gl_api.h"
#include "renderer/water/scene_settings.h"

void ApplyFixedGLState() {
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    // The surface writes no depth, so a depth test could hide nothing.
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

    const GLfloat fogColour[4] = {Scene.FogColour[0], Scene.FogColour[1], Scene.FogColour[2], 1.0f};
    glFogfv(GL_FOG_COLOR, fogColour);
    // The fog range follows the grid: from 1.5 to 2 times its half width.
    glFogf(GL_FOG_START, Scene.GridPointsX * Scene.GridHalfSpacing * 1.5f);
    glFogf(GL_FOG_END, Scene.GridPointsX * Scene.GridHalfSpacing * 2.0f);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_DENSITY, 0.1f);
    if (Scene.FogSwitch == 1.0f) {
        glEnable(GL_FOG);
    }
}
