#pragma once
// The options that say what scene to draw, shared by vistal-render and vistal-preview:
// meshes, planes, the view and the overlays.
#include "scene/Scene.h"

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

struct SceneOptionValues {
  std::vector<std::string> meshes, planes;
  std::string view, up, size = "800x600", background, azimuth, elevation, zoom;
  bool parallel = false, clipTransparent = false, twoSided = false;
  bool sections = false, noSections = false, box = false, manipulator = false;
};

// Declares the scene options on the command line parser, storing into `values`.
void AddSceneOptions(CLI::App& app, SceneOptionValues& values);
// Applies the parsed values to `scene`, the scene drawn when no --mesh is given (its planes
// stay unless --plane or --mesh is given). Throws std::invalid_argument with one line
// saying what is wrong; the view and the planes are checked as ValidateView and
// ValidatePlanes check them.
void ApplySceneOptions(const SceneOptionValues& values, Scene& scene);

// Parses the command line; false, with `help` set to the help text, when --help was asked
// for. Throws std::invalid_argument with CLI11's one-line reason on a malformed line.
bool ParseCommandLine(CLI::App& app, int argc, const char* const* argv, std::string& help);

// Text from the command line as an error message shows it: on one line, and not so long
// that the message drowns in it.
std::string Shown(const std::string& text, std::size_t limit = 200);
[[noreturn]] void Refuse(const std::string& message);
std::vector<std::string> Split(const std::string& text, char separator);
float ParseFloat(const std::string& text, const std::string& what);
