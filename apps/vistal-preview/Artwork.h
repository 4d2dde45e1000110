#pragma once
// vistal-preview's own pictures: the toolbar's button images and the navigation cursors,
// drawn in code so that the program carries no image files.
#include "host/render/MImageRGBA.h"

// The button strip: 16 by 16 images side by side in the toolbar's order (pan, rotate,
// zoom to rectangle, unzoom), on light grey (192, 192, 192), the image list's mask colour.
MImageRGBA MakeToolbarBitmap();

// A 32 by 32 cursor with transparent surroundings and its hot spot: rotation about the
// view axis, free rotation, or zoom.
struct CursorArt {
  MImageRGBA image;
  int hotX = 0, hotY = 0;
};
CursorArt MakeRollCursor();
CursorArt MakeRotateCursor();
CursorArt MakeZoomCursor();
