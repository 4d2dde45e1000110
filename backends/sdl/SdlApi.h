#pragma once
// Visibility of the SDL desktop's exported classes (libvistal_sdl.so), which builds with
// hidden visibility like the other libraries of the package.
#define VISTAL_SDL_API __attribute__((visibility("default")))
