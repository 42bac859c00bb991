#include "renderer/water/water_views.h"

#include <cmath>

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

Viewport ScaledViewport(const Viewport& view, double scale) {
    if (scale == 1.0) return view;
    const auto at = [scale](int length) { return int(std::lround(length * scale)); };
    const int x = at(view.X), y = at(view.Y);
    return {x, y, at(view.X + view.Width) - x, at(view.Y + view.Height) - y};
}

void DrawWaterViews(std::vector<WaterView>& views, double scale) {
    const FrameState shared = Frame;
    const GLuint sharedTexture = Textures[0];
    // The scissor keeps each view's clear inside its viewport.
    glEnable(GL_SCISSOR_TEST);
    for (WaterView& view : views) {
        const ViewInUse inUse(view);
        const Viewport drawn = ScaledViewport(view.View, scale);
        glScissor(drawn.X, drawn.Y, drawn.Width, drawn.Height);
        ApplyProjection(drawn);
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
