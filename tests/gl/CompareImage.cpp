#include "tests/gl/CompareImage.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {

std::string ReferencePath(const std::string& name) { return std::string(VISTAL_REFERENCE_DIR) + "/" + name + ".png"; }
std::string OutputPath(const std::string& name, const char* suffix) {
  std::filesystem::create_directories(VISTAL_PICTURE_OUTPUT_DIR);
  return std::string(VISTAL_PICTURE_OUTPUT_DIR) + "/" + name + suffix + ".png";
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

namespace {

// Max and mean channel differences, and a picture of where they are.
struct Difference {
  int maxDelta = 0;
  double meanDelta = 0.0;
  MImageRGBA picture;
};

Difference Differ(const MImageRGBA& actual, const MImageRGBA& expected) {
  Difference d{0, 0.0, MImageRGBA(actual.Width(), actual.Height())};
  double sum = 0.0;
  for (unsigned y = 0; y < actual.Height(); ++y)
    for (unsigned x = 0; x < actual.Width(); ++x) {
      const std::uint8_t* a = actual.Pixel(x, y);
      const std::uint8_t* r = expected.Pixel(x, y);
      std::uint8_t* out = d.picture.Pixel(x, y);
      int pixelMax = 0;
      for (int c = 0; c < 3; ++c) {
        const int delta = std::abs(int(a[c]) - int(r[c]));
        pixelMax = std::max(pixelMax, delta);
        sum += delta;
      }
      d.maxDelta = std::max(d.maxDelta, pixelMax);
      // Differences in red, amplified, over a dimmed expected picture.
      const std::uint8_t dim = std::uint8_t((r[0] + r[1] + r[2]) / 12);
      out[0] = std::uint8_t(std::min(255, dim + pixelMax * 8));
      out[1] = out[2] = dim;
      out[3] = 255;
    }
  d.meanDelta = sum / (3.0 * actual.Width() * actual.Height());
  return d;
}

bool SameSize(const MImageRGBA& a, const MImageRGBA& b) { return a.Width() == b.Width() && a.Height() == b.Height(); }

}  // namespace

::testing::AssertionResult CompareWithReference(const MImageRGBA& actual, const std::string& name,
                                                const ImageTolerance& tolerance) {
  MImageRGBA reference;
  try {
    reference = MImageRGBA::ReadPng(ReferencePath(name));
  } catch (const MImageError& e) {
    const std::string out = OutputPath(name, ".actual");
    actual.WritePng(out);
    return ::testing::AssertionFailure() << "no reference (" << e.what() << "); the picture is in " << out;
  }
  if (!SameSize(reference, actual)) {
    const std::string out = OutputPath(name, ".actual");
    actual.WritePng(out);
    return ::testing::AssertionFailure() << "size " << actual.Width() << "x" << actual.Height() << " differs from the reference's "
                                         << reference.Width() << "x" << reference.Height() << "; the picture is in " << out;
  }
  const Difference d = Differ(actual, reference);
  if (d.maxDelta <= tolerance.maxDelta && d.meanDelta <= tolerance.meanDelta) return ::testing::AssertionSuccess();
  const std::string out = OutputPath(name, ".actual");
  const std::string diffOut = OutputPath(name, ".diff");
  actual.WritePng(out);
  d.picture.WritePng(diffOut);
  return ::testing::AssertionFailure() << name << ": max delta " << d.maxDelta << " (allowed " << tolerance.maxDelta
                                       << "), mean delta " << d.meanDelta << " (allowed " << tolerance.meanDelta
                                       << "); actual " << out << ", diff " << diffOut;
}

::testing::AssertionResult CompareImages(const MImageRGBA& actual, const MImageRGBA& expected, const std::string& name,
                                         const ImageTolerance& tolerance) {
  if (!SameSize(actual, expected))
    return ::testing::AssertionFailure() << name << ": size " << actual.Width() << "x" << actual.Height()
                                         << " differs from " << expected.Width() << "x" << expected.Height();
  const Difference d = Differ(actual, expected);
  if (d.maxDelta <= tolerance.maxDelta && d.meanDelta <= tolerance.meanDelta) return ::testing::AssertionSuccess();
  const std::string out = OutputPath(name, ".actual");
  const std::string expectedOut = OutputPath(name, ".expected");
  const std::string diffOut = OutputPath(name, ".diff");
  actual.WritePng(out);
  expected.WritePng(expectedOut);
  d.picture.WritePng(diffOut);
  return ::testing::AssertionFailure() << name << ": max delta " << d.maxDelta << " (allowed " << tolerance.maxDelta
                                       << "), mean delta " << d.meanDelta << " (allowed " << tolerance.meanDelta
                                       << "); actual " << out << ", expected " << expectedOut << ", diff " << diffOut;
}
