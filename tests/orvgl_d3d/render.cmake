# Render tests of the mesh primitives, lights, window handler and draw helper
# on the OpenGL device, offscreen; they live in render/.
if(TARGET d3d9_gl AND TARGET soare_assets)
  add_subdirectory(${CMAKE_CURRENT_SOURCE_DIR}/render)
endif()
