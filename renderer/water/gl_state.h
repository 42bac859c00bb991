// The GL state the frame drawing relies on, set once after the context is made.
#pragma once

// Texturing, smooth shading, clear values, the depth test off, the perspective
// hint and the fog parameters from the scene settings.
void ApplyFixedGLState();
