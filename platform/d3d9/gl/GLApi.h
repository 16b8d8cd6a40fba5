// The one place that pulls in the OpenGL and EGL declarations, so every file
// of the GL device sees the same prototypes (GL 2.1 compatibility entry
// points plus framebuffer objects, blits and the provoking-vertex call,
// all exported by the GL dispatch library).
#pragma once

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/gl.h>
#include <GL/glext.h>
