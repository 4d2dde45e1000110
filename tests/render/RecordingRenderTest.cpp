// The recording renderer and the render library behaviour it stands on: clip-plane slots,
// caller-owned streams, stream batching, and a log that tests can read.
#include "host/render/IVImmediateStream.h"
#include "testing/NullRender.h"
#include "testing/RecordingRender.h"
#include "testing/RecordingVertexStream.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using ::testing::ElementsAre;

IVVertexPN PN(float x, float y = 0, float z = 0) { return {x, y, z, 0, 0, 1}; }

// The plain render library: IVRender's own immediate streams, every draw kept.
class PlainRender : public IVRender {
public:
  struct Draw {
    EPrimitive primitive;
    std::vector<float> xs;  // the x of each vertex, enough to tell vertices apart
  };
  std::vector<Draw> draws;

  bool StartFrame(IVDisplaySurface*, CDC*, bool) override { return true; }
  void StopFrame() override {}
  unsigned GetNumClipPlanes() const override { return 6; }
  void BeginTransparency(bool) override {}
  void ApplyTransparency() override {}
  void EndTransparency() override {}

protected:
  void _DrawVertices(EPrimitive primitive, const IVVertexLayout& layout, const void* vertices, std::size_t count,
                     const IVDrawOptions&) override {
    Draw d{primitive, {}};
    for (std::size_t i = 0; i < count; ++i)
      d.xs.push_back(*reinterpret_cast<const float*>(static_cast<const char*>(vertices) + i * layout.stride));
    draws.push_back(d);
  }
};

// One script of stream calls with the awkward cases: vertices outside a batch, a Begin
// that ends the open batch, an empty batch, a second End.
void Script(IIVVertexStream<IVVertexPN>& s) {
  s.AddPoint(PN(-1));  // outside a batch: dropped
  s.BeginTriangles();
  s.AddTriangle(PN(1), PN(2), PN(3));
  s.BeginLines();  // ends the triangles
  s.AddLine(PN(4), PN(5));
  s.End();
  s.End();
  s.BeginPoints();  // empty: nothing drawn
  s.End();
  s.BeginPoints();
  s.AddPoint(PN(6));
  s.AddPoint(PN(7));
  s.End();
}

TEST(RecordingRender, StreamsBatchExactlyAsTheRenderLibrarysImmediateStream) {
  PlainRender plain;
  Script(plain.ImmediateStream<IVVertexPN>({}));
  RecordingRender recording;
  Script(recording.ImmediateStream<IVVertexPN>({}));

  const auto batches = recording.Batches<IVVertexPN>();
  ASSERT_EQ(batches.size(), plain.draws.size());
  for (std::size_t i = 0; i < batches.size(); ++i) {
    EXPECT_EQ(batches[i].primitive, plain.draws[i].primitive) << "batch " << i;
    std::vector<float> xs;
    for (const IVVertexPN& v : batches[i].vertices) xs.push_back(v.x);
    EXPECT_EQ(xs, plain.draws[i].xs) << "batch " << i;
  }
  ASSERT_EQ(batches.size(), 3u);  // triangles, lines, two points
  EXPECT_EQ(batches[2].vertices.size(), 2u);
  EXPECT_TRUE(recording.Batches<IVVertexPNC>().empty());  // read back by vertex type

  // Every call is logged, the draws where they happened.
  using K = ERenderCall;
  EXPECT_THAT(recording.Kinds(),
              ElementsAre(K::AddPoint, K::BeginTriangles, K::AddTriangle, K::BeginLines, K::DrawVertices,
                          K::AddLine, K::End, K::DrawVertices, K::End, K::BeginPoints, K::End, K::BeginPoints,
                          K::AddPoint, K::AddPoint, K::End, K::DrawVertices))
      << recording.ToString();
}

TEST(RecordingRender, DrawsRecordTheStateTheyWereMadeWith) {
  RecordingRender render(4);
  MMaterial blue;
  blue.SetDiffuse(0xFFFF0000);
  render.SetMaterial(blue);
  render.EnableClipPlane(1, true);
  render.EnableClipPlane(3, true);
  render.EnableClipPlane(5, true);  // not offered

  IIVVertexStream<IVVertexP>& s = render.ImmediateStream<IVVertexP>({false, true});
  s.BeginLines();
  s.AddLine({0, 0, 0}, {1, 2, 3});
  s.End();

  const auto draws = render.CallsOf(ERenderCall::DrawVertices);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].primitive, EPrimitive::Lines);
  EXPECT_EQ(draws[0].count, 2u);
  EXPECT_EQ(draws[0].vertex, EVertexKind::P);
  EXPECT_FALSE(draws[0].flags[0]);
  EXPECT_TRUE(draws[0].flags[1]);
  EXPECT_EQ(draws[0].diffuse, 0xFFFF0000u);
  EXPECT_EQ(draws[0].enabledClipPlanes, 0b1010u);

  const auto adds = render.CallsOf(ERenderCall::AddLine);
  ASSERT_EQ(adds.size(), 1u);
  EXPECT_EQ(adds[0].floats, (std::vector<float>{0, 0, 0, 1, 2, 3}));
  EXPECT_EQ(adds[0].ToString(), "AddLine<P>((0, 0, 0), (1, 2, 3))");
  EXPECT_EQ(draws[0].ToString(), "DrawVertices<P>(lines, 2 vertices, lighting=0, textured=1, diffuse=0xFFFF0000, "
                                 "clip planes=0xa)");

  render.Clear();
  EXPECT_TRUE(render.Calls().empty());
  EXPECT_TRUE(render.Batches<IVVertexP>().empty());
  EXPECT_EQ(render.GetMaterial().GetDiffuse(), 0xFFFF0000u);  // Clear forgets the log, not the state
}

TEST(RecordingRender, ClipPlaneSlotsBeyondTheOfferedCountAreIgnored) {
  for (unsigned offered : {0u, 3u, 8u}) {
    RecordingRender render(offered);
    ASSERT_EQ(render.GetNumClipPlanes(), offered);
    for (unsigned slot = 0; slot < 10; ++slot) {
      render.SetClipPlane(slot, 1, 0, 0, -float(slot));
      render.EnableClipPlane(slot, true);
    }
    for (unsigned slot = 0; slot < IVRenderState::kMaxClipPlanes; ++slot) {
      const IVClipPlane& p = render.GetState().clipPlanes[slot];
      if (slot < offered) {
        EXPECT_TRUE(p.enabled) << offered << " offered, slot " << slot;
        EXPECT_EQ(p.d, -float(slot));
      } else {
        EXPECT_EQ(p, IVClipPlane{}) << offered << " offered, slot " << slot;
      }
    }
    // The calls were made, so they are logged, ignored or not.
    EXPECT_EQ(render.CountOf(ERenderCall::SetClipPlane), 10u);
    EXPECT_EQ(render.CallsOf(ERenderCall::SetClipPlane)[9].slot, 9u);
  }

  RecordingRender render;
  render.SetNumClipPlanes(12);
  EXPECT_EQ(render.GetNumClipPlanes(), 8u);
  render.SetNumClipPlanes(2);
  render.SetClipPlane(2, 1, 1, 1, 1);
  EXPECT_EQ(render.GetState().clipPlanes[2], IVClipPlane{});
}

TEST(RenderLibrary, VertexStreamPNOfThePlainRendererDrawsThroughItAndIsTheCallers) {
  PlainRender render;
  std::unique_ptr<IIVVertexStream<IVVertexPN>> a(render.GetVertexStreamPN());
  std::unique_ptr<IIVVertexStream<IVVertexPN>> b(render.GetVertexStreamPN());
  EXPECT_NE(a.get(), b.get());
  a->BeginTriangles();
  a->AddTriangle(PN(1), PN(2), PN(3));
  b->BeginPoints();
  b->AddPoint(PN(4));
  b->End();
  a->End();
  ASSERT_EQ(render.draws.size(), 2u);
  EXPECT_EQ(render.draws[0].xs, std::vector<float>{4});
  EXPECT_EQ(render.draws[1].xs, (std::vector<float>{1, 2, 3}));
}

TEST(NullRender, KeepsStateAndCountsVerticesButDrawsNothing) {
  NullRender render(2);
  EXPECT_EQ(render.GetNumClipPlanes(), 2u);
  render.EnableClipPlane(2, true);
  EXPECT_FALSE(render.GetState().clipPlanes[2].enabled);

  IIVVertexStream<IVVertexPNC>& s = render.ImmediateStream<IVVertexPNC>({});
  s.BeginTriangles();
  s.AddTriangle({}, {}, {});
  s.End();
  IVVertexBatches<IVVertexP> recorded;
  recorded.BeginLines();
  recorded.AddLine({}, {});
  recorded.End();
  render.DrawBatches(recorded, {});
  EXPECT_EQ(render.VerticesSeen(), 5u);

  MMaterial m;
  m.SetDiffuse(0x12345678);
  IVRender::Memento before;
  render.SaveState(before);
  render.SetMaterial(m);
  render.RestoreState(before);
  EXPECT_EQ(render.GetMaterial(), MMaterial());
  delete render.GetVertexStreamPN();
}

}  // namespace
