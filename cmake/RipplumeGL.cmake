# ripplume_gl: OpenGL 1.1 and GLU for the portable drawing code.
# Windows: the system's opengl32 and glu32. Natively GLU, with the GL itself
# chosen by each program: Mesa's off-screen OSMesa (ripplume_gl_offscreen),
# so tests, benchmarks and tools draw and read frames without a display, or
# the display's GL through GLX (ripplume_gl_glx) for the Linux display mode.
add_library(ripplume_gl INTERFACE)
if(RIPPLUME_WINDOWS)
  target_link_libraries(ripplume_gl INTERFACE glu32 opengl32)
else()
  find_library(GLU_LIBRARY GLU REQUIRED)
  target_link_libraries(ripplume_gl INTERFACE ${GLU_LIBRARY})

  find_library(OSMESA_LIBRARY OSMesa REQUIRED)
  add_library(ripplume_gl_offscreen INTERFACE)
  target_link_libraries(ripplume_gl_offscreen INTERFACE ${OSMESA_LIBRARY} ripplume_gl)

  find_library(GL_LIBRARY GL REQUIRED)
  find_library(X11_LIBRARY X11 REQUIRED)
  find_library(XEXT_LIBRARY Xext REQUIRED)  # MIT-SHM, for frames scaled up on the CPU
  add_library(ripplume_gl_glx INTERFACE)
  target_link_libraries(ripplume_gl_glx INTERFACE ${GL_LIBRARY} ${X11_LIBRARY} ripplume_gl)
endif()
