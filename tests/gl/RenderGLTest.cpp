// The OpenGL backend's own promises, pixel by pixel: clip slots, blending, back faces,
// frame handling.
#include "backends/gl/Implementation/GL.h"
#include "backends/gl/IVRenderGL.h"
#include "host/render/IVDisplaySurface.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

IVVertexPN V(float x, float y, float z) { return {x, y, z, 0, 0, 1}; }

// A grey triangle covering the centre at depth 0, then optionally a half-transparent red
// one in front; answers the centre pixel.
struct Frame {
  IVRenderGL render{32, 32};
  MImageRGBA image;

  Frame() {
    EXPECT_TRUE(render.StartFrame(&render.GetSurface(), nullptr, false));
    render.GetSurface().SetBackground(0x000000, true, true);
  }
  void Opaque() {
    auto& s = render.ImmediateStream<IVVertexPN>({false, false});
    s.BeginTriangles();
    s.AddTriangle(V(-1, -1, 0), V(1, -1, 0), V(0, 1, 0));
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
  const std::uint8_t* Centre() {
    render.StopFrame();
    EXPECT_TRUE(render.GetSurface().ReadFrame(image));
    return image.Pixel(16, 16);
  }
};

TEST(RenderGL, OpaqueGeometryTakesTheMaterialColour) {
  Frame f;
  MMaterial m;
  m.SetDiffuse(0xFF204080);
  f.render.SetMaterial(m);
  f.Opaque();
  const std::uint8_t* p = f.Centre();
  EXPECT_EQ(p[0], 0x80);
  EXPECT_EQ(p[1], 0x40);
  EXPECT_EQ(p[2], 0x20);
}

TEST(RenderGL, BlendedTrianglesMixOverWhatIsDrawn) {
  Frame f;
  MMaterial m;
  m.SetDiffuse(0xFF808080);
  f.render.SetMaterial(m);
  f.Opaque();
  f.Transparent();
  const std::uint8_t* p = f.Centre();
  EXPECT_NEAR(p[0], 128 * 0.5 + 255 * 0.5, 2);
  EXPECT_NEAR(p[1], 64, 2);
}

TEST(RenderGL, EnabledClipSlotsCutAndDisabledOnesCutNothing) {
  {
    Frame f;
    f.render.SetClipPlane(0, -1, 0, 0, -0.5f);  // keeps x <= -0.5: the centre goes
    f.render.EnableClipPlane(0, true);
    f.Opaque();
    EXPECT_EQ(f.Centre()[0], 0);
  }
  {
    // A plane that was loaded and switched off again must not cut the geometry drawn
    // afterwards, transparent passes included.
    Frame f;
    f.render.SetClipPlane(0, -1, 0, 0, -0.5f);
    f.render.EnableClipPlane(0, true);
    f.render.EnableClipPlane(0, false);
    f.Transparent();
    EXPECT_GT(f.Centre()[0], 100);
  }
}

TEST(RenderGL, BackFacesAreCulledUnlessVisible) {
  auto centreOfClockwiseTriangle = [](bool visible) {
    Frame f;
    f.render.SetBackfaceVisible(visible, false);
    MMaterial back;
    back.SetDiffuse(0xFF0000FF);
    f.render.SetMaterialBack(back);
    auto& s = f.render.ImmediateStream<IVVertexPN>({false, false});
    s.BeginTriangles();
    s.AddTriangle(V(-1, -1, 0), V(0, 1, 0), V(1, -1, 0));
    s.End();
    return int(f.Centre()[0]);
  };
  EXPECT_EQ(centreOfClockwiseTriangle(false), 0);
  EXPECT_EQ(centreOfClockwiseTriangle(true), 255) << "drawn in the back material";
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

  auto integer = [](GLenum what) {
    GLint v = 0;
    glGetIntegerv(what, &v);
    return v;
  };
  EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_GREATER);
  EXPECT_EQ(integer(GL_BLEND_SRC_RGB), GL_ONE);
  EXPECT_EQ(integer(GL_BLEND_DST_RGB), GL_ONE);
  EXPECT_EQ(integer(GL_BLEND_SRC_ALPHA), GL_ZERO);
  EXPECT_EQ(integer(GL_BLEND_DST_ALPHA), GL_SRC_COLOR);
  EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_FRONT_AND_BACK);
  EXPECT_EQ(integer(GL_FRONT_FACE), GL_CW);
  EXPECT_EQ(integer(GL_PACK_ALIGNMENT), 8);
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
