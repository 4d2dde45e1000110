// Vertex containers in static mode (record once, replay) and dynamic mode (stream anew
// while drawing, so that state changes inside _Optimise apply to what follows).
#include "host/render/IVVertexContainer.h"
#include "testing/RecordingRender.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;
using K = ERenderCall;

IVVertexPNC V(float x) { return {x, 0, 0, 0, 0, 1, 10, 20, 30, 40}; }

// Emits a triangle, then switches the front material on the renderer it was given, then
// a line: what the transparency container does between meshes.
class SwitchingContainer : public IVVertexContainer<IVVertexPNC> {
public:
  int optimised = 0;
  IVRender* render = nullptr;
  COLORREF switch_to = 0xFF00FF00;

protected:
  void _Optimise(IIVVertexStream<IVVertexPNC>& stream) override {
    ++optimised;
    stream.BeginTriangles();
    stream.AddTriangle(V(1), V(2), V(3));
    stream.End();
    if (render) {
      MMaterial m;
      m.SetDiffuse(switch_to);
      render->SetMaterial(m);
    }
    stream.BeginLines();
    stream.AddLine(V(4), V(5));
    stream.End();
  }
};

TEST(VertexContainer, StaticModeRecordsOnceAndReplaysUntilOptimisationsAreDestroyed) {
  RecordingRender render;
  SwitchingContainer container;
  ASSERT_FALSE(container.IsModeDynamic());

  container.RenderTriangles(render, true, false, 0);
  container.RenderTriangles(render, false, true, 0);
  EXPECT_EQ(container.optimised, 1);
  ASSERT_NE(container.GetRecorded(), nullptr);
  EXPECT_EQ(container.GetRecorded()->NumVertices(), 5u);
  // Replays go straight to the device: no stream calls on the renderer.
  EXPECT_THAT(render.Kinds(), ElementsAre(K::DrawBatches, K::DrawVertices, K::DrawVertices, K::DrawBatches,
                                          K::DrawVertices, K::DrawVertices))
      << render.ToString();
  const auto draws = render.CallsOf(K::DrawVertices);
  EXPECT_TRUE(draws[0].flags[0]);
  EXPECT_TRUE(draws[3].flags[1]);

  const auto batches = render.Batches<IVVertexPNC>();
  ASSERT_EQ(batches.size(), 4u);
  for (int replay = 0; replay < 2; ++replay) {
    const auto& tri = batches[replay * 2];
    const auto& line = batches[replay * 2 + 1];
    EXPECT_EQ(tri.primitive, EPrimitive::Triangles);
    ASSERT_EQ(tri.vertices.size(), 3u);
    EXPECT_EQ(tri.vertices[2].x, 3.0f);
    EXPECT_EQ(tri.vertices[2].a, 40);
    EXPECT_EQ(line.primitive, EPrimitive::Lines);
    EXPECT_EQ(line.vertices[1].x, 5.0f);
  }

  container.DestroyRenderOptimisations();
  EXPECT_EQ(container.GetRecorded(), nullptr);
  container.Render(render);
  EXPECT_EQ(container.optimised, 2);
  container.Render(render);
  EXPECT_EQ(container.optimised, 2);
}

TEST(VertexContainer, CopyRecordsAnewAndKeepsTheMode) {
  RecordingRender render;
  SwitchingContainer original;
  original.Render(render);
  SwitchingContainer copy = original;
  EXPECT_EQ(copy.GetRecorded(), nullptr);
  EXPECT_NE(original.GetRecorded(), nullptr);

  original.SetModeDynamic(true);
  SwitchingContainer assigned;
  assigned.Render(render);
  assigned = original;
  EXPECT_TRUE(assigned.IsModeDynamic());
  EXPECT_EQ(assigned.GetRecorded(), nullptr);
}

TEST(VertexContainer, DynamicModeStreamsAnewEachCallWithStateChangesBetweenBatches) {
  RecordingRender render;
  SwitchingContainer container;
  container.Render(render);  // recorded first: switching to dynamic drops it
  container.SetModeDynamic(true);
  EXPECT_EQ(container.GetRecorded(), nullptr);
  container.render = &render;
  render.SetMaterial(MMaterial());
  render.Clear();

  container.RenderTriangles(render, false, true, 0);
  EXPECT_THAT(render.Kinds(), ElementsAre(K::DrawVertices, K::SetMaterial, K::DrawVertices)) << render.ToString();
  const auto draws = render.CallsOf(K::DrawVertices);
  EXPECT_EQ(draws[0].diffuse, MMaterial().GetDiffuse());
  EXPECT_EQ(draws[1].diffuse, 0xFF00FF00u);
  EXPECT_FALSE(draws[0].flags[0]);
  EXPECT_TRUE(draws[0].flags[1]);

  container.switch_to = 0xFF0000FF;
  container.RenderTriangles(render, true, false, 0);
  EXPECT_EQ(container.optimised, 3);
  EXPECT_EQ(render.CountOf(K::DrawBatches), 0u);
  EXPECT_EQ(render.CallsOf(K::DrawVertices).back().diffuse, 0xFF0000FFu);
  EXPECT_EQ(render.Batches<IVVertexPNC>().size(), 4u);
}

}  // namespace
