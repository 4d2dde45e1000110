// Render-state snapshots: what each memo type compares and restores.
#include "testing/RecordingRender.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using EMemoType = IVRender::EMemoType;

struct PartChange {
  std::string name;
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
    EXPECT_TRUE(changed.IsEqual(changed, IVRender::eMemoAll)) << change.name;
    for (unsigned type = 1; type <= 15; ++type)
      EXPECT_EQ(changed.IsEqual(base, EMemoType(type)), (type & change.part) == 0)
          << change.name << ", memo type " << type;
  }
}

TEST(RenderMemento, SnapshotHoldsTheMaterialInUseAndIsAPlainValue) {
  RecordingRender render;
  MMaterial green;
  green.SetDiffuse(0x8000FF00);
  render.SetMaterial(green);
  IVRender::Memento saved;
  render.SaveState(saved);
  IVRender::Memento copy = saved;

  render.SetMaterial(MMaterial());  // later changes do not reach the snapshots
  EXPECT_EQ(saved.GetMaterial().GetDiffuse(), 0x8000FF00u);
  EXPECT_EQ(copy, saved);
  EXPECT_EQ(saved.GetState(), copy.GetState());
}

// Counts what the base class reports as restored, as a backend uploads it.
class RestoreWatchingRender : public RecordingRender {
public:
  std::vector<unsigned> restored;

protected:
  void _StateRestored(EMemoType type) override { restored.push_back(type); }
};

TEST(RenderMemento, RestoreWithATypeBringsBackOnlyTheSelectedParts) {
  RestoreWatchingRender render;
  IVRender::Memento original;
  render.SaveState(original);
  for (const PartChange& change : OneChangePerField()) change.apply(render);
  IVRender::Memento changed;
  render.SaveState(changed);

  render.RestoreState(original, EMemoType(IVRender::eMemoClipping | IVRender::eMemoMaterial));
  const IVRenderState& now = render.GetState();
  const IVRenderState& was = original.GetState();
  const IVRenderState& later = changed.GetState();
  EXPECT_EQ(now.clipPlanes, was.clipPlanes);
  EXPECT_EQ(now.material, was.material);
  EXPECT_EQ(now.worldToEye, later.worldToEye);
  EXPECT_EQ(now.eyeToWindow, later.eyeToWindow);
  EXPECT_EQ(now.backfaceVisible, later.backfaceVisible);
  EXPECT_EQ(now.backUsesFront, later.backUsesFront);
  EXPECT_EQ(now.backMaterial, later.backMaterial);

  render.RestoreState(changed, IVRender::eMemoTransparencyBatch);  // everything but the front material
  EXPECT_EQ(render.GetState().clipPlanes, later.clipPlanes);
  EXPECT_EQ(render.GetState().material, was.material);

  render.RestoreState(changed);
  EXPECT_EQ(render.GetState(), later);

  EXPECT_EQ(render.restored, (std::vector<unsigned>{IVRender::eMemoClipping | IVRender::eMemoMaterial, 7u, 15u}));
  const auto partial = render.CallsOf(ERenderCall::RestoreStateType);
  ASSERT_EQ(partial.size(), 2u);
  EXPECT_EQ(partial[0].memo, unsigned(IVRender::eMemoClipping | IVRender::eMemoMaterial));
  EXPECT_EQ(partial[1].memo, 7u);
  EXPECT_EQ(render.CountOf(ERenderCall::RestoreState), 1u);
}

}  // namespace
