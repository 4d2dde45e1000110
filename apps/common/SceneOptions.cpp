#include "SceneOptions.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <exception>
#include <sstream>
#include <stdexcept>


std::string Shown(const std::string& text, std::size_t limit) {
  std::string shown = text.size() > limit ? text.substr(0, limit) + "..." : text;
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return shown;
}

[[noreturn]] void Refuse(const std::string& message) { throw std::invalid_argument(message); }

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
  Refuse(what + ": '" + Shown(text) + "' is not a finite number");
}

namespace {

MMPoint3d<float> ParseVector(const std::vector<std::string>& parts, std::size_t first, const std::string& what) {
  return {ParseFloat(parts[first], what), ParseFloat(parts[first + 1], what), ParseFloat(parts[first + 2], what)};
}

// "#rrggbb" or "rrggbb" to a colour word (red in the low byte).
COLORREF ParseColour(std::string text, const std::string& what) {
  if (!text.empty() && text[0] == '#') text.erase(0, 1);
  if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    Refuse(what + ": '" + Shown(text) + "' is not a colour of the form #rrggbb");
  const unsigned long rgb = std::stoul(text, nullptr, 16);
  return COLORREF(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

// The mesh's name is its path; the file is read once every cheap check has passed.
SceneMesh ParseMesh(const std::string& text) {
  const auto parts = Split(text, ',');
  if (parts.empty() || parts.size() > 3 || parts[0].empty())
    Refuse("--mesh: '" + Shown(text) + "' is not PATH[,#rrggbb[,ALPHA]]");
  SceneMesh mesh;
  mesh.name = parts[0];
  const std::string what = "--mesh " + Shown(parts[0]);
  if (parts.size() > 1) mesh.colour = ParseColour(parts[1], what);
  if (parts.size() > 2) {
    mesh.alpha = ParseFloat(parts[2], what);
    if (!(mesh.alpha >= 0.0f && mesh.alpha <= 1.0f)) Refuse(what + ": alpha must lie between 0 and 1");
  }
  return mesh;
}

// `number` is the plane's position among the --plane options, counting from 1. Whether the
// normal is usable is the scene's rule (ValidatePlanes), not decided here.
ScenePlane ParsePlane(const std::string& text, std::size_t number) {
  const std::string what = "--plane " + std::to_string(number);
  const auto parts = Split(text, ',');
  if (parts.size() != 6 && parts.size() != 7)
    Refuse(what + ": '" + Shown(text) + "' is not OX,OY,OZ,NX,NY,NZ[,keep|cut]");
  ScenePlane plane;
  plane.origin = ParseVector(parts, 0, what);
  plane.normal = ParseVector(parts, 3, what);
  if (parts.size() == 7) {
    if (parts[6] != "keep" && parts[6] != "cut")
      Refuse(what + ": the side is 'keep' or 'cut', not '" + Shown(parts[6]) + "'");
    plane.cutsNormalSide = parts[6] == "cut";
  }
  return plane;
}

MMPoint3d<float> ParseDirection(const std::string& text, const std::string& what) {
  const auto parts = Split(text, ',');
  if (parts.size() != 3) Refuse(what + ": '" + Shown(text) + "' is not X,Y,Z");
  return ParseVector(parts, 0, what);
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
  if (w == 0 || h == 0 || w > kMaxImageSide || h > kMaxImageSide)
    Refuse("--size: '" + Shown(text) + "' is not WIDTHxHEIGHT with 1 to " + std::to_string(kMaxImageSide) +
           " pixels each");
  view.width = unsigned(w);
  view.height = unsigned(h);
}

}  // namespace

bool ParseCommandLine(CLI::App& app, int argc, const char* const* argv, std::string& help) {
  try {
    app.parse(argc, argv);
    return true;
  } catch (const CLI::CallForHelp&) {
    help = app.help();
    return false;
  } catch (const CLI::ParseError& e) {
    Refuse(Shown(e.what(), 400));
  }
}

void AddSceneOptions(CLI::App& app, SceneOptionValues& v) {
  app.add_option("-m,--mesh", v.meshes, "mesh file (STL, OBJ or PLY) with optional colour and opacity: PATH[,#rrggbb[,ALPHA]] "
                                        "(ALPHA below 1 draws it transparent)");
  app.add_option("-p,--plane", v.planes, "clip plane OX,OY,OZ,NX,NY,NZ[,keep|cut]: the side the normal points to is "
                                         "kept (default) or cut away; several planes keep what all of them keep");
  app.add_option("--view", v.view, "view direction X,Y,Z, from the eye into the scene");
  app.add_option("--up", v.up, "up direction X,Y,Z");
  app.add_option("--azimuth", v.azimuth, "DEG: turn the view round the up direction (counter-clockwise seen from above)");
  app.add_option("--elevation", v.elevation, "DEG: raise the eye by -90 to 90 degrees, looking down onto the scene");
  app.add_option("--zoom", v.zoom, "F: enlarge the framed picture F times (0.001 to 1000; 2 twice as large)");
  app.add_flag("--parallel", v.parallel, "parallel projection instead of perspective");
  app.add_option("-s,--size", v.size, "image size WIDTHxHEIGHT")->capture_default_str();
  app.add_option("-b,--background", v.background, "background colour #rrggbb");
  app.add_flag("--sections", v.sections, "outline each plane's cut (on for the built-in scene)");
  app.add_flag("--no-sections", v.noSections, "no cut outlines");
  app.add_flag("--box", v.box, "draw the first opaque mesh's bounding box, far edges dimmer");
  app.add_flag("--manipulator", v.manipulator,
               "draw the box manipulator of the first opaque mesh (handles, centre spot) and label each plane");
  app.add_flag("--clip-transparent", v.clipTransparent, "clip the transparent meshes by the planes too (no cut faces)");
  app.add_flag("--two-sided", v.twoSided, "draw the transparent meshes' back faces too, sorted with the front faces");
}

void ApplySceneOptions(const SceneOptionValues& v, Scene& scene) {
  if (!v.meshes.empty()) {
    scene.meshes.clear();
    scene.planes.clear();
    for (const auto& m : v.meshes) scene.meshes.push_back(ParseMesh(m));
  }
  if (!v.planes.empty()) {
    scene.planes.clear();
    for (std::size_t i = 0; i < v.planes.size(); ++i) scene.planes.push_back(ParsePlane(v.planes[i], i + 1));
  }
  if (!v.view.empty()) scene.view.direction = ParseDirection(v.view, "--view");
  if (!v.up.empty()) scene.view.up = ParseDirection(v.up, "--up");
  if (!v.azimuth.empty()) scene.view.azimuth = ParseFloat(v.azimuth, "--azimuth");
  if (!v.elevation.empty()) {
    scene.view.elevation = ParseFloat(v.elevation, "--elevation");
    if (!(scene.view.elevation >= -90.0f && scene.view.elevation <= 90.0f))
      Refuse("--elevation: '" + Shown(v.elevation) + "' is not between -90 and 90 degrees");
  }
  if (!v.zoom.empty()) {
    scene.view.zoom = ParseFloat(v.zoom, "--zoom");
    if (!(scene.view.zoom >= kMinZoom && scene.view.zoom <= kMaxZoom))
      Refuse("--zoom: '" + Shown(v.zoom) + "' is not a factor above 0 (0.001 to 1000)");
  }
  if (v.parallel) scene.view.parallel = true;
  if (!v.background.empty()) scene.view.background = ParseColour(v.background, "--background");
  ParseSize(v.size, scene.view);
  if (v.sections) scene.showSections = true;
  if (v.noSections) scene.showSections = false;
  if (v.box) scene.showBoundingBox = true;
  if (v.manipulator) scene.showManipulator = true;
  if (v.clipTransparent) scene.clipTransparent = true;
  if (v.twoSided) scene.twoSidedTransparent = true;
  ValidateView(scene.view);
  ValidatePlanes(scene.planes);
}
