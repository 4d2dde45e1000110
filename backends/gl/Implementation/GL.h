#pragma once
// OpenGL declarations for the backend: the core entry points are exported by the
// vendor-neutral libOpenGL, so no loader is needed.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
