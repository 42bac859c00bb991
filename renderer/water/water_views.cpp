#include "renderer/water/water_views.h"

#include "renderer/assets/desktop_texture.h"
#include "renderer/water/mouse_drop.h"

namespace {

// Makes the view's grids, frame state and texture the ones the scene code uses.
class ViewInUse {
public:
    explicit ViewInUse(WaterView& view) : view_(view) {
        MakeWaterCurrent(view.Grids.get());
        Frame = view.State;
        Textures[0] = view.Texture;
    }
    ~ViewInUse() {
        view_.State = Frame;
        MakeWaterCurrent(nullptr);
    }
    ViewInUse(const ViewInUse&) = delete;
    ViewInUse& operator=(const ViewInUse&) = delete;

private:
    WaterView& view_;
};

}  // namespace

WaterView NewWaterView(const Viewport& view, GLuint texture) {
    WaterView water;
    water.View = view;
    water.Grids.reset(new WaterGrids());
    water.Texture = texture;
    MakeWaterCurrent(water.Grids.get());
    InitWaterGrid();
    MakeWaterCurrent(nullptr);
    return water;
}

void DrawWaterViews(std::vector<WaterView>& views) {
    const FrameState shared = Frame;
    const GLuint sharedTexture = Textures[0];
    // The scissor keeps each view's clear inside its viewport.
    glEnable(GL_SCISSOR_TEST);
    for (WaterView& view : views) {
        const ViewInUse inUse(view);
        glScissor(view.View.X, view.View.Y, view.View.Width, view.View.Height);
        ApplyProjection(view.View);
        DrawScene();
    }
    glDisable(GL_SCISSOR_TEST);
    Frame = shared;
    Textures[0] = sharedTexture;
}

void StirWaterView(WaterView& view, int x, int y) {
    if (x < 0 || y < 0 || x > 0xFFFF || y > 0xFFFF) return;
    const ViewInUse inUse(view);
    MouseDrop(static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y), view.View.Width, view.View.Height);
}

void ReleaseWaterView(WaterView& view) {
    if (view.Texture != 0) glDeleteTextures(1, &view.Texture);
    view.Texture = 0;
    view.Grids.reset();
}
