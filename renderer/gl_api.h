// OpenGL 1.1 and GLU declarations for the portable drawing code.
#pragma once
#if defined(_WIN32) && !defined(APIENTRY)
// The Windows GL headers expect these from windows.h.
#define APIENTRY __stdcall
#define WINGDIAPI __declspec(dllimport)
#define CALLBACK __stdcall
#endif
#include <GL/gl.h>
#include <GL/glu.h>
