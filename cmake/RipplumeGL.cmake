# ripplume_gl: OpenGL 1.1 and GLU for the portable drawing code.
# Windows: the system's opengl32 and glu32. Native: Mesa's off-screen OSMesa,
# so frames can be drawn and read back without a display.
add_library(ripplume_gl INTERFACE)
if(RIPPLUME_WINDOWS)
  target_link_libraries(ripplume_gl INTERFACE glu32 opengl32)
else()
  find_library(OSMESA_LIBRARY OSMesa REQUIRED)
  find_library(GLU_LIBRARY GLU REQUIRED)
  target_link_libraries(ripplume_gl INTERFACE ${GLU_LIBRARY} ${OSMESA_LIBRARY})
endif()
