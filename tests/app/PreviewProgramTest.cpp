// vistal-preview run headless (SDL's offscreen driver) with recorded input: the pictures
// after each kind of navigation, and input the program refuses.
#include "tests/gl/CompareImage.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct ProgramRun {
  int status;
  std::string output;
};

ProgramRun RunPreview(const std::string& environment, const std::string& arguments) {
  const std::string command = environment + " " + VISTAL_PREVIEW_PROGRAM + " " + arguments + " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  ProgramRun run{-1, ""};
  if (!pipe) return run;
  std::array<char, 512> buffer;
  while (std::fgets(buffer.data(), int(buffer.size()), pipe)) run.output += buffer.data();
  run.status = ::pclose(pipe);
  return run;
}

fs::path Scratch(const std::string& name) {
  const fs::path path = fs::path(VISTAL_PICTURE_OUTPUT_DIR) / name;
  fs::remove_all(path);
  fs::create_directories(path);
  return path;
}

// Plays the script at 320 x 240 and answers the last picture the window showed.
MImageRGBA Play(const std::string& name, const std::string& script) {
  const fs::path dir = Scratch("preview_" + name);
  // The toolbar's buttons follow the control's state at the next tick of its 500 ms
  // timer: waiting past one makes the last picture the same on a slow machine and a fast one.
  std::ofstream(dir / "script.txt") << script << "wait 600\n";
  const ProgramRun run = RunPreview("SDL_VIDEODRIVER=offscreen",
                             "--size 320x240 --script " + (dir / "script.txt").string() + " --frames " + dir.string());
  EXPECT_EQ(run.status, 0) << run.output;
  fs::path last;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().extension() == ".png" && entry.path() > last) last = entry.path();
  if (last.empty()) return {};
  return MImageRGBA::ReadPng(last.string());
}

TEST(PreviewProgram, PicturesAfterRotatingZoomingToARectangleAndUnzooming) {
  // The toolbar's buttons sit at the top left; the view below them shows the phantom.
  const std::string zoom = "command zoomrect\ndrag left 60 90 180 180\n";
  const struct {
    const char* name;
    std::string script;
  } cases[] = {
      {"start", ""},
      {"rotated", "drag right 160 140 200 150\n"},
      {"zoomed", zoom},  // the rubber band is gone again: only the zoom shows
      {"unzoomed", zoom + "command unzoom\n"},
  };
  const ImageTolerance tolerance{48, 0.05};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MImageRGBA picture = Play(c.name, c.script);
    ASSERT_FALSE(picture.Empty());
    EXPECT_TRUE(CompareWithReference(picture, std::string("preview_") + c.name, tolerance));
  }
}

TEST(PreviewProgram, RefusesWhatItCannotUseInOneLine) {
  const fs::path dir = Scratch("preview_refusals");
  std::ofstream(dir / "bad.txt") << "move 10 10\njump 3 4\n";
  const struct {
    const char* environment;
    std::string arguments, message;
  } cases[] = {
      {"SDL_VIDEODRIVER=offscreen", "--script " + (dir / "bad.txt").string(), "bad.txt:2: unknown step 'jump'"},
      {"SDL_VIDEODRIVER=offscreen", "--mesh " + (dir / "missing.stl").string(), "cannot read '"},
      {"env -u SDL_VIDEODRIVER -u DISPLAY -u WAYLAND_DISPLAY", "", "no display"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = RunPreview(c.environment, c.arguments + " --frames " + dir.string());
    EXPECT_NE(run.status, 0) << c.message;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    // One line of the program's own (display libraries may add their own complaints).
    std::size_t lines = 0;
    for (std::size_t at = run.output.find("vistal-preview:"); at != std::string::npos;
         at = run.output.find("vistal-preview:", at + 1))
      ++lines;
    EXPECT_EQ(lines, 1u) << run.output;
  }
  EXPECT_FALSE(fs::exists(dir / "frame-0000.png"));  // refused before a window opened
}

}  // namespace
