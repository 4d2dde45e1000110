#include "tests/gl/CompareImage.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace {

std::string OutputPath(const std::string& name, const char* suffix) {
  std::filesystem::create_directories(VISTAL_PICTURE_OUTPUT_DIR);
  return std::string(VISTAL_PICTURE_OUTPUT_DIR) + "/" + name + suffix + ".png";
}

// Writes `image` beside the other pictures of the test and says where.
std::string Written(const MImageRGBA& image, const std::string& name, const char* suffix) {
  const std::string path = OutputPath(name, suffix);
  image.WritePng(path);
  return path;
}

// Compares two pictures; on a mismatch the actual one, the diff and (unless it is the
// checked-in reference) the expected one are written to the build tree.
::testing::AssertionResult Compare(const MImageRGBA& actual, const MImageRGBA& expected, const std::string& name,
                                   const ImageTolerance& tolerance, bool writeExpected) {
  if (actual.Width() != expected.Width() || actual.Height() != expected.Height())
    return ::testing::AssertionFailure() << name << ": size " << actual.Width() << "x" << actual.Height()
                                         << " differs from " << expected.Width() << "x" << expected.Height()
                                         << "; actual " << Written(actual, name, ".actual");
  // Max and mean channel differences, and a picture of where they are: differences in
  // red, amplified, over a dimmed expected picture.
  MImageRGBA diff(actual.Width(), actual.Height());
  int maxDelta = 0;
  double sum = 0.0;
  for (unsigned y = 0; y < actual.Height(); ++y)
    for (unsigned x = 0; x < actual.Width(); ++x) {
      const std::uint8_t *a = actual.Pixel(x, y), *r = expected.Pixel(x, y);
      int pixelMax = 0;
      for (int c = 0; c < 3; ++c) {
        const int delta = std::abs(int(a[c]) - int(r[c]));
        pixelMax = std::max(pixelMax, delta);
        sum += delta;
      }
      maxDelta = std::max(maxDelta, pixelMax);
      std::uint8_t* out = diff.Pixel(x, y);
      const std::uint8_t dim = std::uint8_t((r[0] + r[1] + r[2]) / 12);
      out[0] = std::uint8_t(std::min(255, dim + pixelMax * 8));
      out[1] = out[2] = dim;
      out[3] = 255;
    }
  const double meanDelta = sum / (3.0 * actual.Width() * actual.Height());
  if (maxDelta <= tolerance.maxDelta && meanDelta <= tolerance.meanDelta) return ::testing::AssertionSuccess();
  auto failure = ::testing::AssertionFailure();
  failure << name << ": max delta " << maxDelta << " (allowed " << tolerance.maxDelta << "), mean delta " << meanDelta
          << " (allowed " << tolerance.meanDelta << "); actual " << Written(actual, name, ".actual");
  if (writeExpected) failure << ", expected " << Written(expected, name, ".expected");
  return failure << ", diff " << Written(diff, name, ".diff");
}

}  // namespace

double CoveredFraction(const MImageRGBA& image) {
  if (image.Empty()) return 0.0;
  const std::uint8_t* bg = image.Pixel(0, 0);
  std::size_t covered = 0;
  for (unsigned y = 0; y < image.Height(); ++y)
    for (unsigned x = 0; x < image.Width(); ++x)
      if (!std::equal(bg, bg + 3, image.Pixel(x, y))) ++covered;
  return double(covered) / double(std::size_t(image.Width()) * image.Height());
}

::testing::AssertionResult CompareWithReference(const MImageRGBA& actual, const std::string& name,
                                                const ImageTolerance& tolerance) {
  MImageRGBA reference;
  try {
    reference = MImageRGBA::ReadPng(std::string(VISTAL_REFERENCE_DIR) + "/" + name + ".png");
  } catch (const MImageError& e) {
    return ::testing::AssertionFailure() << "no reference (" << e.what() << "); the picture is in "
                                         << Written(actual, name, ".actual");
  }
  return Compare(actual, reference, name, tolerance, false);
}

::testing::AssertionResult CompareImages(const MImageRGBA& actual, const MImageRGBA& expected, const std::string& name,
                                         const ImageTolerance& tolerance) {
  return Compare(actual, expected, name, tolerance, true);
}
