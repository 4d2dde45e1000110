// vistal-render: renders meshes, clipped by planes with capped cuts and with their
// transparent parts sorted back to front, into a PNG file. Without arguments it renders
// the built-in head phantom to vistal.png.
#include "scene/SceneRenderer.h"
#include "backends/gl/IVRenderGL.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlImport.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

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

// The mesh's name is its path; the file is read once every cheap check has passed.
SceneMesh ParseMesh(const std::string& text) {
  const auto parts = Split(text, ',');
  if (parts.empty() || parts.size() > 3 || parts[0].empty())
    throw std::invalid_argument("--mesh: '" + text + "' is not PATH[,#rrggbb[,ALPHA]]");
  SceneMesh mesh;
  mesh.name = parts[0];
  if (parts.size() > 1) mesh.colour = ParseColour(parts[1], "--mesh " + parts[0]);
  if (parts.size() > 2) {
    mesh.alpha = ParseFloat(parts[2], "--mesh " + parts[0]);
    if (!(mesh.alpha >= 0.0f && mesh.alpha <= 1.0f))
      throw std::invalid_argument("--mesh " + parts[0] + ": alpha must lie between 0 and 1");
  }
  return mesh;
}

// `number` is the plane's position among the --plane options, counting from 1. Whether the
// normal is usable is the scene's rule (ValidatePlanes), not decided here.
ScenePlane ParsePlane(const std::string& text, std::size_t number) {
  const std::string what = "--plane " + std::to_string(number);
  const auto parts = Split(text, ',');
  if (parts.size() != 6 && parts.size() != 7)
    throw std::invalid_argument(what + ": '" + text + "' is not OX,OY,OZ,NX,NY,NZ[,keep|cut]");
  ScenePlane plane;
  plane.origin = ParseVector(parts, 0, what);
  plane.normal = ParseVector(parts, 3, what);
  if (parts.size() == 7) {
    if (parts[6] != "keep" && parts[6] != "cut")
      throw std::invalid_argument(what + ": the side is 'keep' or 'cut', not '" + parts[6] + "'");
    plane.cutsNormalSide = parts[6] == "cut";
  }
  return plane;
}

MMPoint3d<float> ParseDirection(const std::string& text, const std::string& what) {
  const auto parts = Split(text, ',');
  if (parts.size() != 3) throw std::invalid_argument(what + ": '" + text + "' is not X,Y,Z");
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
    throw std::invalid_argument("--size: '" + text + "' is not WIDTHxHEIGHT with 1 to " +
                                std::to_string(kMaxImageSide) + " pixels each");
  view.width = unsigned(w);
  view.height = unsigned(h);
}

bool EndsWithPng(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return tail == ".png";
}

// The picture's directory must take a new file, so that a long render does not end in a
// failed write.
void CheckOutput(const std::string& output) {
  namespace fs = std::filesystem;
  if (!EndsWithPng(output)) throw std::invalid_argument("--output: '" + output + "' does not end in .png");
  const fs::path path(output);
  const fs::path directory = path.has_parent_path() ? path.parent_path() : fs::path(".");
  std::error_code ec;
  if (!fs::is_directory(directory, ec))
    throw std::invalid_argument("--output: the directory '" + directory.string() + "' does not exist");
  if (::access(directory.c_str(), W_OK | X_OK) != 0)
    throw std::invalid_argument("--output: cannot write in '" + directory.string() + "': " + std::strerror(errno));
  if (fs::is_directory(path, ec)) throw std::invalid_argument("--output: '" + output + "' is a directory");
}

// The temporary file being written, for the signal handler to remove: a plain array,
// since the handler may do no more than call unlink.
char g_partial[4096];
volatile std::sig_atomic_t g_has_partial = 0;
mode_t g_umask = 022;

extern "C" void RemovePartialAndDie(int signal) {
  if (g_has_partial) ::unlink(g_partial);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void InstallSignalHandlers() {
  g_umask = ::umask(0);
  ::umask(g_umask);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, RemovePartialAndDie);
  // Beyond the file-size limit a write fails (and is reported) instead of killing the program.
  std::signal(SIGXFSZ, SIG_IGN);
}

// Writes the picture beside its final name and renames it there, so that a failed or
// interrupted write leaves the previous picture whole and never a truncated one.
void WritePicture(const MImageRGBA& image, const std::string& path) {
  const std::filesystem::path target(path);
  std::string partial = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  if (partial.size() >= sizeof g_partial) throw std::runtime_error("cannot write '" + path + "': the path is too long");
  const int fd = ::mkstemp(partial.data());
  if (fd < 0) throw std::runtime_error("cannot write '" + path + "': " + std::strerror(errno));
  std::memcpy(g_partial, partial.c_str(), partial.size() + 1);
  g_has_partial = 1;
  // mkstemp makes the file private; a picture gets the permissions of any new file.
  ::fchmod(fd, 0666 & ~g_umask);
  ::close(fd);
  auto fail = [&](const std::string& why) {
    ::unlink(partial.c_str());
    g_has_partial = 0;
    throw std::runtime_error("cannot write '" + path + "': " + why);
  };
  errno = 0;
  try {
    image.WritePng(partial);
  } catch (const std::exception& e) {
    const int error = errno;
    fail(error ? std::strerror(error) : e.what());
  }
  if (std::rename(partial.c_str(), path.c_str()) != 0) fail(std::strerror(errno));
  g_has_partial = 0;
}

// Writes one cycle of the displacement animation, the scale rising from 0 to 1 and back.
void RenderAnimation(const Scene& scene, unsigned frames, const std::string& output, IVRenderGL& render) {
  const std::string stem = output.substr(0, output.size() - 4);
  SceneRenderer renderer(scene);
  for (unsigned i = 0; i < frames; ++i) {
    renderer.SetDisplacementScale(0.5f - 0.5f * std::cos(6.2831853f * float(i) / float(frames)));
    MImageRGBA image;
    if (!renderer.Render(render, render.GetSurface()) || !render.GetSurface().ReadFrame(image))
      throw std::runtime_error("the renderer opened no frame");
    char name[16];
    std::snprintf(name, sizeof name, "_%03u.png", i);
    WritePicture(image, stem + name);
    std::printf("wrote %s (%ux%u)\n", (stem + name).c_str(), scene.view.width, scene.view.height);
  }
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Renders meshes clipped by planes, with capped cuts and transparent parts sorted back to front.\n"
               "Without meshes it renders a built-in head phantom."};
  std::vector<std::string> meshes, planes;
  std::string view, up, size = "800x600", background, output = "vistal.png";
  app.add_option("-m,--mesh", meshes, "mesh file (STL, OBJ or PLY) with optional colour and opacity: "
                                      "PATH[,#rrggbb[,ALPHA]] (ALPHA below 1 draws it transparent)");
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
  InstallSignalHandlers();

  try {
    // Everything that needs no mesh is checked first, so that a typo is reported before
    // large files are read and an unwritable picture before a long render.
    Scene scene = MakePhantomScene();
    if (!meshes.empty()) {
      scene.meshes.clear();
      scene.planes.clear();
      for (const auto& m : meshes) scene.meshes.push_back(ParseMesh(m));
    }
    if (!planes.empty()) {
      scene.planes.clear();
      for (std::size_t i = 0; i < planes.size(); ++i) scene.planes.push_back(ParsePlane(planes[i], i + 1));
    }
    if (!view.empty()) scene.view.direction = ParseDirection(view, "--view");
    if (!up.empty()) scene.view.up = ParseDirection(up, "--up");
    if (!background.empty()) scene.view.background = ParseColour(background, "--background");
    ParseSize(size, scene.view);
    if (sections) scene.showSections = true;
    if (noSections) scene.showSections = false;
    if (box) scene.showBoundingBox = true;
    unsigned frames = 0;
    if (!displace.empty()) {
      const auto parts = Split(displace, ',');
      if (parts.size() != 2) throw std::invalid_argument("--displace: '" + displace + "' is not MM,FRAMES");
      scene.displacement = ParseFloat(parts[0], "--displace");
      const float count = ParseFloat(parts[1], "--displace");
      if (!(scene.displacement > 0.0f && scene.displacement <= 1000.0f) || !(count >= 1.0f && count <= 1000.0f) ||
          count != std::floor(count))
        throw std::invalid_argument(
            "--displace: MM must be above 0 and at most 1000, FRAMES a whole number from 1 to 1000");
      frames = unsigned(count);
    }
    ValidateView(scene.view);
    ValidatePlanes(scene.planes);
    CheckOutput(output);
    IVRenderGL render(scene.view.width, scene.view.height);
    ValidatePlaneCount(scene.planes.size(), render.GetNumClipPlanes());

    for (SceneMesh& m : scene.meshes)
      if (!m.mesh) m.mesh = ImportMesh(m.name);
    // Nothing at all to draw is an error; a mesh that draws nothing beside others that do
    // is worth a warning.
    ValidateScene(scene);
    for (const SceneMesh& m : scene.meshes) {
      const std::string why = DescribeUndrawableMesh(m);
      if (!why.empty()) std::fprintf(stderr, "vistal-render: warning: %s; it draws nothing\n", why.c_str());
    }

    if (frames == 0) {
      WritePicture(RenderSceneToImage(scene, render), output);
      std::printf("wrote %s (%ux%u)\n", output.c_str(), scene.view.width, scene.view.height);
    } else {
      RenderAnimation(scene, frames, output, render);
    }
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vistal-render: %s\n", e.what());
    return 1;
  }
}
