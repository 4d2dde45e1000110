#pragma once
// Compares a rendered picture with a reference PNG checked in beside the tests. On a
// mismatch (or a missing reference) the actual picture and a diff picture are written to
// the build tree, so a reviewer can look and, if right, copy the actual over the reference.
#include "host/render/MImageRGBA.h"

#include <gtest/gtest.h>

#include <string>

struct ImageTolerance {
  int maxDelta;      // largest difference of one channel of one pixel
  double meanDelta;  // mean difference over all channels of all pixels
};

::testing::AssertionResult CompareWithReference(const MImageRGBA& actual, const std::string& name,
                                                const ImageTolerance& tolerance);

// Compares two renders of the same size, for scenes that must draw alike; on a mismatch
// both pictures and their diff are written to the build tree under `name`.
::testing::AssertionResult CompareImages(const MImageRGBA& actual, const MImageRGBA& expected, const std::string& name,
                                         const ImageTolerance& tolerance);

// The share of pixels that differ from the corner pixel (the background), so that a test
// can insist that something was drawn at all.
double CoveredFraction(const MImageRGBA& image);
