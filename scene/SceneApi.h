#pragma once
// Visibility of the scene library's exported classes and functions (libvistal_scene.so),
// which builds with hidden visibility like the other libraries of the package.
#define VISTAL_SCENE_API __attribute__((visibility("default")))
