#pragma once
// Visibility of the OpenGL backend's exported classes (libvistal_gl.so), which builds with
// hidden visibility like the other libraries of the package.
#define VISTAL_GL_API __attribute__((visibility("default")))
