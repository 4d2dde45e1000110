// vistal-render: renders meshes, clipped by planes with capped cuts and with their
// transparent parts sorted back to front, into a PNG file. Without arguments it renders
// the built-in head phantom to vistal.png.
#include "apps/scene/SceneRenderer.h"
#include "backends/gl/IVRenderGL.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlReader.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <cstdio>
#include <exception>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

float ParseFloat(const std::string& text, const std::string& what) {
  try {
    std::size_t used = 0;
    const float value = std::stof(text, &used);
    if (used == text.size() && std::isfinite(value)) return value;
  } catch (const std::exception&) {
  }
  throw std::invalid_argument(what + ": '" + text + "' is not a finite number");
}

MMPoint3d<float> ParseVector(const std::vector<std::string>& parts, std::size_t first, const std::string& what) {
  return {ParseFloat(parts[first], what), ParseFloat(parts[first + 1], what), ParseFloat(parts[first + 2], what)};
}

// "#rrggbb" or "rrggbb" to a colour word (red in the low byte).
COLORREF ParseColour(std::string text, const std::string& what) {
  if (!text.empty() && text[0] == '#') text.erase(0, 1);
  if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    throw std::invalid_argument(what + ": '" + text + "' is not a colour of the form #rrggbb");
  const unsigned long rgb = std::stoul(text, nullptr, 16);
  return COLORREF(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

SceneMesh ParseMesh(const std::string& text) {
  const auto parts = Split(text, ',');
  if (parts.empty() || parts.size() > 3 || parts[0].empty())
    throw std::invalid_argument("--mesh: '" + text + "' is not PATH[,#rrggbb[,ALPHA]]");
  // The cheap checks first, so that a typo is reported before a large file is read.
  SceneMesh mesh;
  mesh.name = parts[0];
  if (parts.size() > 1) mesh.colour = ParseColour(parts[1], "--mesh " + parts[0]);
  if (parts.size() > 2) {
    mesh.alpha = ParseFloat(parts[2], "--mesh " + parts[0]);
    if (!(mesh.alpha >= 0.0f && mesh.alpha <= 1.0f))
      throw std::invalid_argument("--mesh " + parts[0] + ": alpha must lie between 0 and 1");
  }
  mesh.mesh = ReadStl(parts[0]);
  return mesh;
}

ScenePlane ParsePlane(const std::string& text) {
  const auto parts = Split(text, ',');
  if (parts.size() != 6 && parts.size() != 7)
    throw std::invalid_argument("--plane: '" + text + "' is not OX,OY,OZ,NX,NY,NZ[,keep|cut]");
  ScenePlane plane;
  plane.origin = ParseVector(parts, 0, "--plane");
  plane.normal = ParseVector(parts, 3, "--plane");
  if (plane.normal.Length() == 0.0f) throw std::invalid_argument("--plane: '" + text + "' has a zero normal");
  if (parts.size() == 7) {
    if (parts[6] != "keep" && parts[6] != "cut")
      throw std::invalid_argument("--plane: the side is 'keep' or 'cut', not '" + parts[6] + "'");
    plane.cutsNormalSide = parts[6] == "cut";
  }
  return plane;
}

MMPoint3d<float> ParseDirection(const std::string& text, const std::string& what) {
  const auto parts = Split(text, ',');
  if (parts.size() != 3) throw std::invalid_argument(what + ": '" + text + "' is not X,Y,Z");
  const MMPoint3d<float> v = ParseVector(parts, 0, what);
  if (v.Length() == 0.0f) throw std::invalid_argument(what + ": the vector must not be zero");
  return v;
}

void ParseSize(const std::string& text, SceneView& view) {
  const auto parts = Split(text, 'x');
  unsigned long w = 0, h = 0;
  try {
    if (parts.size() == 2 && parts[0].find_first_not_of("0123456789") == std::string::npos &&
        parts[1].find_first_not_of("0123456789") == std::string::npos) {
      w = std::stoul(parts[0]);
      h = std::stoul(parts[1]);
    }
  } catch (const std::exception&) {
    w = h = 0;
  }
  if (w == 0 || h == 0 || w > 16384 || h > 16384)
    throw std::invalid_argument("--size: '" + text + "' is not WIDTHxHEIGHT with 1 to 16384 pixels each");
  view.width = unsigned(w);
  view.height = unsigned(h);
}

// Writes one cycle of the displacement animation, the scale rising from 0 to 1 and back.
void RenderAnimation(const Scene& scene, unsigned frames, const std::string& output) {
  const std::string stem = output.size() > 4 && output.compare(output.size() - 4, 4, ".png") == 0
                               ? output.substr(0, output.size() - 4)
                               : output;
  IVRenderGL render(scene.view.width, scene.view.height);
  SceneRenderer renderer(scene);
  for (unsigned i = 0; i < frames; ++i) {
    renderer.SetDisplacementScale(0.5f - 0.5f * std::cos(6.2831853f * float(i) / float(frames)));
    MImageRGBA image;
    if (!renderer.Render(render, render.GetSurface()) || !render.GetSurface().ReadFrame(image))
      throw std::runtime_error("the renderer opened no frame");
    char name[16];
    std::snprintf(name, sizeof name, "_%03u.png", i);
    image.WritePng(stem + name);
    std::printf("wrote %s (%ux%u)\n", (stem + name).c_str(), scene.view.width, scene.view.height);
  }
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Renders meshes clipped by planes, with capped cuts and transparent parts sorted back to front.\n"
               "Without meshes it renders a built-in head phantom."};
  std::vector<std::string> meshes, planes;
  std::string view, up, size = "800x600", background, output = "vistal.png";
  app.add_option("-m,--mesh", meshes, "STL file with optional colour and opacity: PATH[,#rrggbb[,ALPHA]] "
                                      "(ALPHA below 1 draws it transparent)");
  app.add_option("-p,--plane", planes, "clip plane OX,OY,OZ,NX,NY,NZ[,keep|cut]: the side the normal points to is "
                                       "kept (default) or cut away");
  app.add_option("--view", view, "view direction X,Y,Z, from the eye into the scene");
  app.add_option("--up", up, "up direction X,Y,Z");
  app.add_option("-s,--size", size, "image size WIDTHxHEIGHT")->capture_default_str();
  app.add_option("-b,--background", background, "background colour #rrggbb");
  app.add_option("-o,--output", output, "PNG file to write")->capture_default_str();
  bool sections = false, noSections = false, box = false;
  app.add_flag("--sections", sections, "outline each plane's cut (on for the built-in scene)");
  app.add_flag("--no-sections", noSections, "no cut outlines");
  app.add_flag("--box", box, "draw the first opaque mesh's bounding box, far edges dimmer");
  std::string displace;
  app.add_option("--displace", displace,
                 "MM,FRAMES: ripple the first opaque mesh by up to MM millimetres and write FRAMES pictures "
                 "(OUTPUT with _000, _001, ... before .png) of one cycle of the animation");
  CLI11_PARSE(app, argc, argv);

  try {
    Scene scene = MakePhantomScene();
    if (!meshes.empty()) {
      scene.meshes.clear();
      scene.planes.clear();
      for (const auto& m : meshes) scene.meshes.push_back(ParseMesh(m));
    }
    if (!planes.empty()) {
      scene.planes.clear();
      for (const auto& p : planes) scene.planes.push_back(ParsePlane(p));
    }
    if (!view.empty()) scene.view.direction = ParseDirection(view, "--view");
    if (!up.empty()) scene.view.up = ParseDirection(up, "--up");
    if (!background.empty()) scene.view.background = ParseColour(background, "--background");
    ParseSize(size, scene.view);
    if (sections) scene.showSections = true;
    if (noSections) scene.showSections = false;
    if (box) scene.showBoundingBox = true;

    if (displace.empty()) {
      RenderSceneToImage(scene).WritePng(output);
      std::printf("wrote %s (%ux%u)\n", output.c_str(), scene.view.width, scene.view.height);
      return 0;
    }
    const auto parts = Split(displace, ',');
    if (parts.size() != 2) throw std::invalid_argument("--displace: '" + displace + "' is not MM,FRAMES");
    scene.displacement = ParseFloat(parts[0], "--displace");
    const float frames = ParseFloat(parts[1], "--displace");
    if (!(scene.displacement > 0.0f) || !(frames >= 1.0f && frames <= 1000.0f) || frames != std::floor(frames))
      throw std::invalid_argument("--displace: MM must be above 0 and FRAMES a whole number from 1 to 1000");
    RenderAnimation(scene, unsigned(frames), output);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vistal-render: %s\n", e.what());
    return 1;
  }
}
