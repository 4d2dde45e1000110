// vistal-render: renders meshes, clipped by planes with capped cuts and with their
// transparent parts sorted back to front, into a PNG file. Without arguments it renders
// the built-in head phantom to vistal.png.
#include "Options.h"
#include "scene/SceneRenderer.h"
#include "backends/gl/IVRenderGL.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlImport.h"

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The picture's directory must take a new file, so that a long render does not end in a
// failed write.
void CheckOutput(const std::string& output) {
  namespace fs = std::filesystem;
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

// Writes picture `i` of a series: OUTPUT with _000, _001, ... before .png.
void WriteFrame(SceneRenderer& renderer, IVRenderGL& render, const std::string& output, unsigned i) {
  MImageRGBA image;
  if (!renderer.Render(render, render.GetSurface()) || !render.GetSurface().ReadFrame(image))
    throw std::runtime_error("the renderer opened no frame");
  renderer.DrawOverlays(image);
  char name[16];
  std::snprintf(name, sizeof name, "_%03u.png", i);
  const std::string path = output.substr(0, output.size() - 4) + name;
  WritePicture(image, path);
  std::printf("wrote %s (%ux%u)\n", path.c_str(), image.Width(), image.Height());
}

// Writes one cycle of the displacement animation, the scale rising from 0 to 1 and back.
void RenderAnimation(const Scene& scene, unsigned frames, const std::string& output, IVRenderGL& render,
                     std::vector<std::string>& warnings) {
  SceneRenderer renderer(scene);
  for (unsigned i = 0; i < frames; ++i) {
    renderer.SetDisplacementScale(0.5f - 0.5f * std::cos(6.2831853f * float(i) / float(frames)));
    WriteFrame(renderer, render, output, i);
  }
  warnings = renderer.GetWarnings();
}

// Writes one turn of the camera round the up vector in equal steps, framed once for the
// whole turn so that the scene keeps its size from picture to picture.
void RenderTurntable(const Scene& scene, unsigned frames, const std::string& output, IVRenderGL& render,
                     std::vector<std::string>& warnings) {
  SceneRenderer renderer(scene);
  renderer.FrameTurntable();
  for (unsigned i = 0; i < frames; ++i) {
    if (i > 0) renderer.TurnAroundUp(360.0 / frames);
    WriteFrame(renderer, render, output, i);
  }
  warnings = renderer.GetWarnings();
}

}  // namespace

int main(int argc, char** argv) {
  try {
    // Everything that needs no mesh is checked first, so that a typo is reported before
    // large files are read and an unwritable picture before a long render.
    RenderOptions options = ParseRenderOptions(argc, argv, MakePhantomScene());
    if (!options.help.empty()) {
      std::fputs(options.help.c_str(), stdout);
      return 0;
    }
    InstallSignalHandlers();
    Scene& scene = options.scene;
    CheckOutput(options.output);
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

    std::vector<std::string> warnings;
    if (options.turntableFrames > 0) {
      RenderTurntable(scene, options.turntableFrames, options.output, render, warnings);
    } else if (options.displacementFrames > 0) {
      RenderAnimation(scene, options.displacementFrames, options.output, render, warnings);
    } else {
      WritePicture(RenderSceneToImage(scene, render, &warnings), options.output);
      std::printf("wrote %s (%ux%u)\n", options.output.c_str(), scene.view.width, scene.view.height);
    }
    for (const std::string& warning : warnings) std::fprintf(stderr, "vistal-render: warning: %s\n", warning.c_str());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vistal-render: %s\n", e.what());
    return 1;
  }
}
