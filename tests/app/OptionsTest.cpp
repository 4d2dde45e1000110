// vistal-render's command line: what each option sets, and the one-line refusals.
#include "apps/vistal-render/Options.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace {

Scene Defaults() {
  Scene scene;
  scene.meshes.push_back({"built-in", nullptr, 0xFFC0C0C0, 1.0f});
  scene.planes.push_back({{0, 0, 0}, {-1, 0, 0}});
  scene.showSections = true;
  return scene;
}

RenderOptions Parse(std::initializer_list<const char*> arguments) {
  std::vector<const char*> argv{"vistal-render"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return ParseRenderOptions(int(argv.size()), argv.data(), Defaults());
}

TEST(RenderOptions, ViewOptionsSetTheScenesViewAndKeepTheBuiltInScene) {
  const RenderOptions o =
      Parse({"--azimuth", "-45", "--elevation", "30", "--zoom", "2", "--parallel", "--clip-transparent", "--two-sided",
             "--turntable", "36", "--size", "320x200", "--output", "out/turn.PNG"});
  const SceneView& v = o.scene.view;
  EXPECT_EQ(std::tuple(v.azimuth, v.elevation, v.zoom, v.parallel, v.width, v.height),
            std::tuple(-45.0f, 30.0f, 2.0f, true, 320u, 200u));
  EXPECT_TRUE(o.scene.clipTransparent && o.scene.twoSidedTransparent);
  EXPECT_EQ(o.turntableFrames, 36u);
  EXPECT_EQ(o.output, "out/turn.PNG");
  EXPECT_EQ(o.scene.meshes.size(), 1u);
  EXPECT_EQ(o.scene.planes.size(), 1u);
  const RenderOptions plain = Parse({});
  EXPECT_EQ(std::tuple(plain.scene.view.zoom, plain.scene.view.parallel, plain.turntableFrames, plain.output),
            std::tuple(1.0f, false, 0u, std::string("vistal.png")));
}

TEST(RenderOptions, MeshesReplaceTheBuiltInSceneAndItsPlanes) {
  const RenderOptions o = Parse({"--mesh", "a.stl,#ff8000,0.5", "--mesh", "b.stl", "--plane", "1,2,3,0,0,1,cut"});
  ASSERT_EQ(o.scene.meshes.size(), 2u);
  const SceneMesh& a = o.scene.meshes[0];
  EXPECT_EQ(std::tuple(a.name, a.colour, a.alpha, a.mesh), std::tuple(std::string("a.stl"), 0x0080FFu, 0.5f, nullptr));
  ASSERT_EQ(o.scene.planes.size(), 1u);
  EXPECT_TRUE(o.scene.planes[0].cutsNormalSide);
  EXPECT_EQ(Parse({"--mesh", "a.stl"}).scene.planes.size(), 0u);
  // Help is text, not an error.
  const std::string help = Parse({"--zoom", "2", "--help"}).help;
  EXPECT_NE(help.find("--turntable"), std::string::npos);
  EXPECT_NE(help.find("--clip-transparent"), std::string::npos);
}

TEST(RenderOptions, BadValuesAreRefusedWithOneLine) {
  struct Case {
    std::vector<const char*> arguments;
    const char* message;
  };
  const Case cases[] = {
      {{"--zoom", "0"}, "--zoom: '0' is not a factor above 0"},
      {{"--zoom", "5000"}, "--zoom: '5000' is not a factor above 0 (0.001 to 1000)"},
      {{"--zoom", "inf"}, "--zoom: 'inf' is not a finite number"},
      {{"--azimuth", "north"}, "--azimuth: 'north' is not a finite number"},
      {{"--azimuth", "nan"}, "--azimuth: 'nan' is not a finite number"},
      {{"--elevation", "90.5"}, "--elevation: '90.5' is not between -90 and 90 degrees"},
      {{"--elevation", "-91"}, "--elevation: '-91' is not between -90 and 90 degrees"},
      {{"--turntable", "0"}, "--turntable: '0' is not N, a whole number from 1 to 1000"},
      {{"--turntable", "1001"}, "--turntable: '1001' is not N"},
      {{"--turntable", "2.5"}, "--turntable: '2.5' is not N"},
      {{"--turntable", "-3"}, "--turntable: '-3' is not N"},
      {{"--turntable", "4", "--displace", "5,4"}, "--turntable and --displace cannot be combined"},
      {{"--displace", "5,0"}, "--displace: '0' is not FRAMES"},
      {{"--displace", "0,3"}, "--displace: MM must be above 0"},
      {{"--view", "0,0,0"}, "the view direction must be a finite, non-zero vector"},
      {{"--plane", "0,0,0,0,0,0"}, "plane 1 has a zero normal"},
      // The scene's rule for a usable normal, naming the plane.
      {{"--plane", "0,0,0,0,0,1", "--plane", "0,0,0,1e-7,0,0"}, "plane 2 has a zero normal"},
      {{"--plane", "0,0,0,0,0,1", "--plane", "0,0,nan,0,0,1"}, "--plane 2: 'nan' is not a finite number"},
      {{"--plane", "0,0,0,0,0,1", "--plane", "1,2"}, "--plane 2: '1,2' is not OX,OY,OZ,NX,NY,NZ[,keep|cut]"},
      {{"--mesh", "a.stl,red"}, "--mesh a.stl: 'red' is not a colour of the form #rrggbb"},
      {{"--mesh", "a.stl,#ff0000,2"}, "--mesh a.stl: alpha must lie between 0 and 1"},
      {{"--output", "picture.jpg"}, "--output: 'picture.jpg' does not end in .png"},
      {{"--size", "10x0"}, "--size: '10x0' is not WIDTHxHEIGHT"},
      // The backend's limit: 8192 x 8192 is the largest square it renders.
      {{"--size", "16384x16384"}, "--size: '16384x16384' is not WIDTHxHEIGHT with 1 to 8192 pixels each"},
      {{"--frobnicate"}, "--frobnicate"},
      // Text from the command line is shown on one line.
      {{"--mesh", "two\nlines.stl,#zz"}, "--mesh two?lines.stl: 'zz'"},
  };
  for (const Case& c : cases) {
    std::vector<const char*> argv{"vistal-render"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    SCOPED_TRACE(c.message);
    try {
      ParseRenderOptions(int(argv.size()), argv.data(), Defaults());
      ADD_FAILURE() << "accepted";
    } catch (const std::invalid_argument& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find(c.message), std::string::npos) << message;
      EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
  }
}

}  // namespace
