#pragma once
// Visibility of the Cairo backend's exported classes (libvistal_cairo.so), which builds
// with hidden visibility like the other libraries of the package.
#define VISTAL_CAIRO_API __attribute__((visibility("default")))
