// Feeds arbitrary argument lists to vistal-render's command-line parser, one argument per
// line. Anything but parsed options or a one-line std::invalid_argument is a fault; so are
// parsed options that the program's later steps would trip over.
#include "apps/vistal-render/Options.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The built-in scene's settings without its meshes: parsing never reads them.
Scene Defaults() {
  Scene scene;
  scene.meshes.push_back({"built-in", nullptr, 0xFFC0C0C0, 1.0f});
  scene.planes.push_back({{0, 0, 0}, {-1, 0, 0}});
  scene.planes.push_back({{0, 0, 0}, {0, 0, -1}});
  scene.showSections = true;
  return scene;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Scene defaults = Defaults();
  std::vector<std::string> arguments{"vistal-render"};
  std::string current;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') {
      arguments.push_back(current);
      current.clear();
    } else {
      current.push_back(char(data[i]));
    }
  }
  if (!current.empty()) arguments.push_back(current);
  std::vector<const char*> argv;
  for (const std::string& a : arguments) argv.push_back(a.c_str());
  argv.push_back(nullptr);

  try {
    const RenderOptions options = ParseRenderOptions(int(arguments.size()), argv.data(), defaults);
    if (!options.help.empty()) return 0;
    const Scene& scene = options.scene;
    ValidateView(scene.view);
    ValidatePlanes(scene.planes);
    Check(!scene.meshes.empty());
    Check(options.output.size() >= 4);
    Check(options.displacementFrames <= kMaxFrames && options.turntableFrames <= kMaxFrames);
    Check(options.displacementFrames == 0 || options.turntableFrames == 0);
    Check((options.displacementFrames > 0) == (scene.displacement > 0.0f));
  } catch (const std::invalid_argument& e) {
    const std::string message = e.what();
    Check(!message.empty() && message.find('\n') == std::string::npos && message.find('\r') == std::string::npos);
  }
  return 0;
}
