#include "Options.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

// A whole number from 1 to kMaxFrames.
unsigned ParseFrames(const std::string& text, const std::string& what, const std::string& name) {
  if (!text.empty() && text.size() <= 4 && text.find_first_not_of("0123456789") == std::string::npos) {
    const unsigned long n = std::stoul(text);
    if (n >= 1 && n <= kMaxFrames) return unsigned(n);
  }
  Refuse(what + ": '" + Shown(text) + "' is not " + name + ", a whole number from 1 to " +
         std::to_string(kMaxFrames));
}

bool EndsWithPng(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return tail == ".png";
}

}  // namespace

RenderOptions ParseRenderOptions(int argc, const char* const* argv, Scene defaults) {
  CLI::App app{"Renders meshes clipped by planes, with capped cuts and transparent parts sorted back to front.\n"
               "Without meshes it renders a built-in head phantom.",
               "vistal-render"};
  RenderOptions options;
  SceneOptionValues values;
  AddSceneOptions(app, values);
  std::string displace, turntable;
  app.add_option("-o,--output", options.output, "PNG file to write")->capture_default_str();
  app.add_option("--displace", displace,
                 "MM,FRAMES: ripple the first opaque mesh by up to MM millimetres and write FRAMES pictures "
                 "(OUTPUT with _000, _001, ... before .png) of one cycle of the animation");
  app.add_option("--turntable", turntable,
                 "N: write N pictures (OUTPUT with _000, _001, ... before .png) turning once round the up direction");
  if (!ParseCommandLine(app, argc, argv, options.help)) return options;

  Scene& scene = options.scene;
  scene = std::move(defaults);
  ApplySceneOptions(values, scene);
  if (!displace.empty()) {
    const auto parts = Split(displace, ',');
    if (parts.size() != 2) Refuse("--displace: '" + Shown(displace) + "' is not MM,FRAMES");
    scene.displacement = ParseFloat(parts[0], "--displace");
    if (!(scene.displacement > 0.0f && scene.displacement <= 1000.0f))
      Refuse("--displace: MM must be above 0 and at most 1000, FRAMES a whole number from 1 to 1000");
    options.displacementFrames = ParseFrames(parts[1], "--displace", "FRAMES");
  }
  if (!turntable.empty()) options.turntableFrames = ParseFrames(turntable, "--turntable", "N");
  if (options.displacementFrames > 0 && options.turntableFrames > 0)
    Refuse("--turntable and --displace cannot be combined: each writes a series of pictures");
  if (!EndsWithPng(options.output)) Refuse("--output: '" + Shown(options.output) + "' does not end in .png");
  return options;
}
