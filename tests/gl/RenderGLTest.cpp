// The OpenGL backend's own promises, pixel by pixel: clip slots, blending, back faces,
// frame handling.
#include "backends/gl/Implementation/GL.h"
#include "backends/gl/IVRenderGL.h"
#include "host/render/IVDisplaySurface.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

namespace {

IVVertexPN V(float x, float y, float z) { return {x, y, z, 0, 0, 1}; }

// A frame of 32 x 32 on black: a triangle covering the centre at depth 0, a red
// half-transparent one in front; answers the centre pixel.
struct Frame {
  IVRenderGL render{32, 32};
  MImageRGBA image;

  Frame() {
    EXPECT_TRUE(render.StartFrame(&render.GetSurface(), nullptr, false));
    render.GetSurface().SetBackground(0x000000, true, true);
  }
  // Wound clockwise, the triangle is a back face.
  void Opaque(bool clockwise = false) {
    auto& s = render.ImmediateStream<IVVertexPN>({false, false});
    s.BeginTriangles();
    s.AddTriangle(V(-1, -1, 0), clockwise ? V(0, 1, 0) : V(1, -1, 0), clockwise ? V(1, -1, 0) : V(0, 1, 0));
    s.End();
  }
  void Transparent() {
    render.BeginTransparency(true);
    auto& s = render.ImmediateStream<IVVertexPNC>({false, false});
    s.BeginTriangles();
    const IVVertexPNC a{-1, -1, -0.5f, 0, 0, 1, 255, 0, 0, 128}, b{1, -1, -0.5f, 0, 0, 1, 255, 0, 0, 128},
        c{0, 1, -0.5f, 0, 0, 1, 255, 0, 0, 128};
    s.AddTriangle(a, b, c);
    s.End();
    render.EndTransparency();
  }
  void Material(COLORREF diffuse) {
    MMaterial m;
    m.SetDiffuse(diffuse);
    render.SetMaterial(m);
  }
  // Red back faces.
  void ShowBackFaces() {
    MMaterial back;
    back.SetDiffuse(0xFF0000FF);
    render.SetMaterialBack(back);
    render.SetBackfaceVisible(true, false);
  }
  // Slot 0 keeps x <= -0.5, which cuts the centre away while it is on.
  void ClipSlot(bool staysOn) {
    render.SetClipPlane(0, -1, 0, 0, -0.5f);
    render.EnableClipPlane(0, true);
    if (!staysOn) render.EnableClipPlane(0, false);
  }
  const std::uint8_t* Centre() {
    render.StopFrame();
    EXPECT_TRUE(render.GetSurface().ReadFrame(image));
    return image.Pixel(16, 16);
  }
};

TEST(RenderGL, CentrePixelShowsMaterialsBlendingClipSlotsAndBackFaces) {
  const struct {
    const char* what;
    void (*draw)(Frame&);
    std::array<int, 3> rgb;
    int tolerance;
  } cases[] = {
      {"opaque, in the material's colour", [](Frame& f) { f.Material(0xFF204080), f.Opaque(); }, {0x80, 0x40, 0x20}, 0},
      {"red blended on grey", [](Frame& f) { f.Material(0xFF808080), f.Opaque(), f.Transparent(); }, {192, 64, 64}, 2},
      {"cut by an enabled slot", [](Frame& f) { f.ClipSlot(true), f.Opaque(); }, {0, 0, 0}, 0},
      // A slot loaded and switched off again cuts nothing drawn afterwards, transparent
      // passes included.
      {"a slot switched off again", [](Frame& f) { f.ClipSlot(false), f.Transparent(); }, {128, 0, 0}, 2},
      {"a back face, culled", [](Frame& f) { f.Opaque(true); }, {0, 0, 0}, 0},
      {"a back face shown, in the back material", [](Frame& f) { f.ShowBackFaces(), f.Opaque(true); }, {255, 0, 0}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Frame f;
    c.draw(f);
    const std::uint8_t* p = f.Centre();
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(p[k], c.rgb[k], c.tolerance) << "channel " << k;
  }
}

// A host that shares the context finds its state as it left it after a frame that drew
// opaque, culled and blended geometry and was read back.
TEST(RenderGL, AFrameRestoresTheStateItChanges) {
  IVRenderGL render(16, 16);
  glDepthFunc(GL_GREATER);
  glBlendFuncSeparate(GL_ONE, GL_ONE, GL_ZERO, GL_SRC_COLOR);
  glCullFace(GL_FRONT_AND_BACK);
  glFrontFace(GL_CW);
  glDisable(GL_MULTISAMPLE);
  glPixelStorei(GL_PACK_ALIGNMENT, 8);
  glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
  glEnable(GL_BLEND);

  ASSERT_TRUE(render.StartFrame(&render.GetSurface(), nullptr, false));
  render.GetSurface().SetBackground(0x000000, true, true);
  auto& s = render.ImmediateStream<IVVertexPN>({true, false});
  s.BeginTriangles();
  s.AddTriangle(V(-1, -1, 0), V(1, -1, 0), V(0, 1, 0));
  s.End();
  render.BeginTransparency(true);
  render.EndTransparency();
  render.StopFrame();
  MImageRGBA image;
  ASSERT_TRUE(render.GetSurface().ReadFrame(image));

  const std::pair<GLenum, GLint> integers[] = {{GL_DEPTH_FUNC, GL_GREATER},
                                               {GL_BLEND_SRC_RGB, GL_ONE},
                                               {GL_BLEND_DST_RGB, GL_ONE},
                                               {GL_BLEND_SRC_ALPHA, GL_ZERO},
                                               {GL_BLEND_DST_ALPHA, GL_SRC_COLOR},
                                               {GL_CULL_FACE_MODE, GL_FRONT_AND_BACK},
                                               {GL_FRONT_FACE, GL_CW},
                                               {GL_PACK_ALIGNMENT, 8}};
  for (auto [what, expected] : integers) {
    GLint v = 0;
    glGetIntegerv(what, &v);
    EXPECT_EQ(v, expected) << std::hex << what;
  }
  EXPECT_FALSE(glIsEnabled(GL_MULTISAMPLE));
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
  GLfloat clear[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_EQ(clear[1], 0.5f);
  // Put back what the other tests of this process expect of the shared context.
  glDepthFunc(GL_LESS);
  glBlendFuncSeparate(GL_ONE, GL_ZERO, GL_ONE, GL_ZERO);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glDisable(GL_BLEND);
}

TEST(RenderGL, FramesNeedTheRenderersOwnSurfaceAndASize) {
  EXPECT_THROW(IVRenderGL(0, 10), std::invalid_argument);
  IVRenderGL render(8, 8);
  MImageRGBA image;
  EXPECT_FALSE(render.GetSurface().ReadFrame(image)) << "no frame drawn yet";
  EXPECT_FALSE(render.StartFrame(nullptr, nullptr, false));
  EXPECT_TRUE(render.StartFrame(&render.GetSurface(), nullptr, false));
  EXPECT_FALSE(render.StartFrame(&render.GetSurface(), nullptr, false)) << "a frame is already open";
  render.StopFrame();
  EXPECT_TRUE(render.GetSurface().ReadFrame(image));
  EXPECT_EQ(image.Width(), 8u);
}

}  // namespace
