// The renderer's own behaviour: what each memo type compares and restores, how its
// immediate streams batch, and the clip-plane slots it offers.
#include "testing/RecordingRender.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

using EMemoType = IVRender::EMemoType;

struct PartChange {
  const char* name;
  unsigned part;  // the memo bit that covers the change
  std::function<void(IVRender&)> apply;
};

std::vector<PartChange> OneChangePerField() {
  static const float shifted[16] = {1, 0, 0, 5, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  MMaterial red;
  red.SetDiffuse(0xFF0000FF);
  return {
      {"world-to-eye matrix", IVRender::eMemoTransform, [](IVRender& r) { r.LoadWorldToEyeMatrix(shifted); }},
      {"eye-to-window matrix", IVRender::eMemoTransform, [](IVRender& r) { r.LoadEyeToWindowMatrix(shifted); }},
      {"clip plane equation", IVRender::eMemoClipping, [](IVRender& r) { r.SetClipPlane(7, 0, 0, 1, -2); }},
      {"clip plane switch", IVRender::eMemoClipping, [](IVRender& r) { r.EnableClipPlane(0, true); }},
      {"back faces shown", IVRender::eMemoFaces, [](IVRender& r) { r.SetBackfaceVisible(true, false); }},
      {"back uses front", IVRender::eMemoFaces, [](IVRender& r) { r.SetBackfaceVisible(false, true); }},
      {"back material", IVRender::eMemoFaces, [red](IVRender& r) { r.SetMaterialBack(red); }},
      {"front material", IVRender::eMemoMaterial, [red](IVRender& r) { r.SetMaterial(red); }},
  };
}

// Type 7, the one transparent batching uses, is among the types: it must ignore the
// front material alone.
TEST(RenderMemento, IsEqualComparesExactlyThePartsTheTypeSelects) {
  ASSERT_EQ(unsigned(IVRender::eMemoTransparencyBatch), 7u);
  ASSERT_EQ(IVRender::eMemoTransparencyBatch & IVRender::eMemoMaterial, 0u);
  RecordingRender reference;
  IVRender::Memento base;
  reference.SaveState(base);

  for (const PartChange& change : OneChangePerField()) {
    RecordingRender render;
    change.apply(render);
    IVRender::Memento changed;
    render.SaveState(changed);
    EXPECT_NE(changed, base) << change.name;
    for (unsigned type = 1; type <= 15; ++type)
      EXPECT_EQ(changed.IsEqual(base, EMemoType(type)), (type & change.part) == 0)
          << change.name << ", memo type " << type;
  }
}

// Records what the base class reports as restored, as a backend uploads it.
class RestoreWatchingRender : public RecordingRender {
public:
  std::vector<unsigned> restored;

protected:
  void _StateRestored(EMemoType type) override { restored.push_back(type); }
};

TEST(RenderMemento, RestoreBringsBackExactlyTheSelectedPartsAndReportsThem) {
  for (const PartChange& change : OneChangePerField())
    for (unsigned type = 1; type <= 15; ++type) {
      RestoreWatchingRender render;
      IVRender::Memento original, now;
      render.SaveState(original);
      change.apply(render);
      render.RestoreState(original, EMemoType(type));
      render.SaveState(now);
      EXPECT_EQ(now == original, (type & change.part) != 0) << change.name << ", memo type " << type;
      EXPECT_EQ(render.restored, std::vector<unsigned>{type});
    }

  RestoreWatchingRender render;
  IVRender::Memento original, now;
  render.SaveState(original);
  for (const PartChange& change : OneChangePerField()) change.apply(render);
  render.RestoreState(original);
  render.SaveState(now);
  EXPECT_EQ(now, original);
  EXPECT_EQ(render.restored, std::vector<unsigned>{IVRender::eMemoAll});
}

IVVertexPN PN(float x) { return {x, 0, 0, 0, 0, 1}; }

// The x of every vertex of every PN batch drawn, batch by batch.
std::vector<std::vector<float>> DrawnXs(const RecordingRender& render, std::vector<EPrimitive>* primitives = nullptr) {
  std::vector<std::vector<float>> out;
  for (const auto& b : render.Batches<IVVertexPN>()) {
    out.emplace_back();
    for (const IVVertexPN& v : b.vertices) out.back().push_back(v.x);
    if (primitives) primitives->push_back(b.primitive);
  }
  return out;
}

TEST(RenderStreams, ImmediateStreamDrawsEachNonEmptyBatchAtItsEnd) {
  RecordingRender render;
  IIVVertexStream<IVVertexPN>& s = render.ImmediateStream<IVVertexPN>({});
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
  EXPECT_EQ(DrawnXs(render).size(), 2u) << "drawn before its End";
  s.End();

  std::vector<EPrimitive> primitives;
  EXPECT_EQ(DrawnXs(render, &primitives), (std::vector<std::vector<float>>{{1, 2, 3}, {4, 5}, {6, 7}}));
  EXPECT_EQ(primitives, (std::vector<EPrimitive>{EPrimitive::Triangles, EPrimitive::Lines, EPrimitive::Points}));
}

TEST(RenderStreams, VertexStreamsPNAreTheCallersAndEachBatchesOnItsOwn) {
  RecordingRender render;
  std::unique_ptr<IIVVertexStream<IVVertexPN>> a(render.GetVertexStreamPN());
  std::unique_ptr<IIVVertexStream<IVVertexPN>> b(render.GetVertexStreamPN());
  a->BeginTriangles();
  a->AddTriangle(PN(1), PN(2), PN(3));
  b->BeginPoints();
  b->AddPoint(PN(4));
  b->End();
  a->End();
  EXPECT_EQ(DrawnXs(render), (std::vector<std::vector<float>>{{4}, {1, 2, 3}}));
}

TEST(RenderClipPlanes, SlotsBeyondTheOfferedCountAreIgnored) {
  for (unsigned offered : {0u, 3u, 8u}) {
    RecordingRender render(offered);
    for (unsigned slot = 0; slot < 10; ++slot) {
      render.SetClipPlane(slot, 1, 0, 0, -float(slot));
      render.EnableClipPlane(slot, true);
    }
    for (unsigned slot = 0; slot < IVRenderState::kMaxClipPlanes; ++slot) {
      const IVClipPlane& p = render.GetState().clipPlanes[slot];
      EXPECT_EQ(p.enabled, slot < offered) << offered << " offered, slot " << slot;
      EXPECT_EQ(p.d, slot < offered ? -float(slot) : 0.0f) << offered << " offered, slot " << slot;
    }
  }
}

}  // namespace
