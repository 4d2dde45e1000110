#pragma once
// vistal-render's command line: the arguments turned into a scene and what to write,
// without reading a file or rendering anything.
#include "SceneOptions.h"

#include <string>

struct RenderOptions {
  // The scene to draw. A mesh given with --mesh has its path as its name and no mesh yet:
  // the caller reads it.
  Scene scene;
  std::string output = "vistal.png";
  // Pictures of the displacement animation (--displace), 0 for one picture.
  unsigned displacementFrames = 0;
  // Pictures of one turn around the up vector (--turntable), 0 for one picture.
  unsigned turntableFrames = 0;
  // Not empty when --help was given: the text to print instead of rendering.
  std::string help;
};

// The most pictures --displace and --turntable write.
inline constexpr unsigned kMaxFrames = 1000;

// Parses argv[1] to argv[argc - 1] onto `defaults`, the scene drawn when no --mesh is
// given (its planes stay unless --plane or --mesh is given). Throws std::invalid_argument
// with one line saying what is wrong: an unknown option, a value that is malformed or out
// of range, or options that do not go together. The view and the planes are checked as
// ValidateView and ValidatePlanes check them; the meshes, the output's directory and the
// renderer's number of clip planes are the caller's to check.
RenderOptions ParseRenderOptions(int argc, const char* const* argv, Scene defaults);
