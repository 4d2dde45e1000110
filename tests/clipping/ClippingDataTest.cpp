// The clipping state against the recording renderer: plane lists driven by operations,
// clip slots, back faces and cut faces.
#include "host/core/UIObjectMedical.h"
#include "host/core/UIStlObject.h"
#include "host/core/UISurface.h"
#include "host/framework/MTransformRepository.h"
#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlPrimitives.h"
#include "host/meshops/UISurfaceSection.h"
#include "host/render/IVImmediateStream.h"
#include "testing/MatrixRecordingRender.h"
#include "testing/RecordingRender.h"
#include "vistal/clipping/MClippingData.h"
#include "vistal/clipping/MClippingPlane.h"
#include "vistal/clipping/UIOperationClipping.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace {

// Cut faces that tell the tests when they are made, drawn and deleted.
struct FaceLog {
  int made = 0;
  int deleted = 0;
  std::vector<float> drawnAt;      // the origin x of the plane of every face drawn
  std::vector<float> setUpFacing;  // the normal's x of the frame of every face set up
};
FaceLog g_faces;

class LoggingSurface : public UISurface {
public:
  bool Setup(UIObjectMedical* parent, MFrame<float>& frame, int mode) override {
    m_x = frame.O.x;
    g_faces.setUpFacing.push_back(frame.N.x);
    return UISurface::Setup(parent, frame, mode);
  }
  void Render(IVRender& render, const MCoordinateSystem&) override {
    g_faces.drawnAt.push_back(m_x);
    IIVVertexStream<IVVertexP>& s = render.ImmediateStream<IVVertexP>({});
    s.BeginTriangles();
    s.AddTriangle({m_x, 0, 0}, {m_x, 1, 0}, {m_x, 0, 1});
    s.End();
  }
  ~LoggingSurface() override { ++g_faces.deleted; }

private:
  float m_x = 0;
};

UISurface* MakeLoggingSurface() {
  ++g_faces.made;
  return new LoggingSurface;
}

// Exposes the protected render operations.
class TestClippingData : public MClippingData {
public:
  using MClippingData::MClippingData;
  using MClippingData::_RenderStartClipping;
  using MClippingData::_RenderStopClipping;
  using MClippingData::_RenderTextures;
};

class ClippingDataTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_faces = {};
    MClippingData::mp_surface_creator = &MakeLoggingSurface;
    // Planes x = 1, x = 2, x = 3 with normal +x, in ascending address order.
    for (int i = 0; i < 3; ++i)
      planes[i].SetClippingPlane(MFrame<float>({float(i + 1), 0, 0}, {0, 1, 0}, {0, 0, 1}, {2, 0, 0}));
  }
  void TearDown() override { MClippingData::mp_surface_creator = nullptr; }

  void Apply(unsigned long action, std::vector<MClippingPlane*> list) {
    UIOperationClipping op;
    op.SetAction(action);
    for (auto* p : list) op.AddClippingPlane(p);
    data.DoOperation(op);
  }

  // (slot, d) of every SetClipPlane, and the slots switched on and off, in call order.
  std::vector<std::pair<unsigned, float>> Loaded() const {
    std::vector<std::pair<unsigned, float>> out;
    for (const auto& c : render.CallsOf(ERenderCall::SetClipPlane)) out.emplace_back(c.slot, c.floats[3]);
    return out;
  }
  std::vector<unsigned> Switched(bool on) const {
    std::vector<unsigned> out;
    for (const auto& c : render.CallsOf(ERenderCall::EnableClipPlane))
      if (c.flags[0] == on) out.push_back(c.slot);
    return out;
  }
  // The slots switched on while each face was drawn, as bit masks.
  std::vector<unsigned> FaceClips() const {
    std::vector<unsigned> out;
    for (const auto& c : render.CallsOf(ERenderCall::DrawVertices)) out.push_back(c.enabledClipPlanes);
    return out;
  }
  using Slots = std::vector<std::pair<unsigned, float>>;

  std::array<MClippingPlane, 3> planes;
  UIObjectMedical parent;
  TestClippingData data{&parent};
  RecordingRender render;
  MCoordinateSystem system;
};

TEST_F(ClippingDataTest, PlanesLoadIntoSlotsInAddressOrderAndTheRestAreSwitchedOff) {
  Apply(eClippingAddPlanes, {&planes[2], &planes[0], &planes[1]});
  data._RenderStartClipping(render, system, nullptr);
  // Normal (2, 0, 0) through x = k: normalised, d = -k.
  EXPECT_EQ(Loaded(), (Slots{{0, -1.0f}, {1, -2.0f}, {2, -3.0f}}));
  EXPECT_EQ(Switched(true), (std::vector<unsigned>{0, 1, 2}));
  EXPECT_EQ(Switched(false), (std::vector<unsigned>{3, 4, 5, 6, 7}));
  EXPECT_EQ(render.GetState().clipPlanes[1].a, 1.0f);

  render.Clear();
  data._RenderStopClipping(render, system);
  EXPECT_EQ(Switched(false), (std::vector<unsigned>{0, 1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(render.CountOf(ERenderCall::SetBackfaceVisible), 0u);

  // The renderer's slot limit drops the last planes; cut faces are drawn without slots too.
  for (unsigned slots : {2u, 0u}) {
    render.Clear();
    render.SetNumClipPlanes(slots);
    data._RenderStartClipping(render, system, nullptr);
    EXPECT_EQ(Loaded(), slots ? (Slots{{0, -1.0f}, {1, -2.0f}}) : Slots{}) << slots << " slots";
    EXPECT_EQ(Switched(true).size(), slots);
    EXPECT_TRUE(Switched(false).empty());
  }
  data._RenderTextures(render, system);
  EXPECT_EQ(g_faces.drawnAt, (std::vector<float>{1, 2, 3}));
}

TEST_F(ClippingDataTest, ChangesInvalidationAndFrameworkCodesDropCutFaces) {
  Apply(eClippingAddPlanes, {&planes[0], &planes[1]});
  data._RenderTextures(render, system);
  data._RenderTextures(render, system);
  EXPECT_EQ(g_faces.made, 2) << "faces are cached";
  Apply(eClippingAddPlanes, {&planes[0]});  // already listed: its face stays
  Apply(eClippingOther, {&planes[0]});      // not acted on
  EXPECT_EQ(g_faces.deleted, 0);
  Apply(eClippingPlanesChanged, {&planes[0]});
  EXPECT_EQ(g_faces.deleted, 1);
  Apply(eClippingInvalidatePlanes, {&planes[1], &planes[2]});  // planes[2] is not listed
  EXPECT_EQ(g_faces.deleted, 2);
  data._RenderTextures(render, system);
  EXPECT_EQ(g_faces.made, 4);

  for (unsigned long code : {301ul, 60100ul, 60103ul, 60540ul}) {
    MOperation op;
    op.SetAction(code);
    const int before = g_faces.deleted;
    EXPECT_TRUE(data.DoOperation(op));
    EXPECT_EQ(g_faces.deleted, before + 2) << code;
    data._RenderTextures(render, system);
  }
  // A clipping operation with a framework code only drops the faces.
  Apply(60540, {&planes[2]});
  EXPECT_EQ(data.GetPlanes().size(), 2u);

  Apply(eClippingClearPlanes, {});
  EXPECT_TRUE(data.GetPlanes().empty());
  EXPECT_EQ(g_faces.made, g_faces.deleted);
}

TEST_F(ClippingDataTest, FullSlicePlanesFollowTheTwoFlags) {
  // planes[0] shows the full slice, planes[1] is ordinary.
  planes[0].SetTextureMappingMode(MClippingPlane::eTextureMappingFullSlice);
  Apply(eClippingAddPlanes, {&planes[0], &planes[1]});
  const struct {
    bool drawFullPlane, clipToFullSlice;
    Slots loaded;                 // by _RenderStartClipping
    std::vector<unsigned> clips;  // slots on while the full-slice face, then the other, is drawn
    Slots faceLoaded;             // by _RenderTextures, for the two faces in turn
    // What the clipping state names as the planes clipping each face (plane numbers).
    std::vector<int> fullSliceFaceClippers, ordinaryFaceClippers;
  } cases[] = {
      {false, false, {{0, -2.0f}}, {0x1, 0x0}, {{0, -2.0f}}, {1}, {}},
      // Each face is clipped by the other plane, which is loaded alone.
      {false, true, {{0, -1.0f}, {1, -2.0f}}, {0x1, 0x1}, {{0, -2.0f}, {0, -1.0f}}, {1}, {0}},
      {true, false, {{0, -2.0f}}, {0x0, 0x0}, {}, {}, {}},
      {true, true, {{0, -1.0f}, {1, -2.0f}}, {0x0, 0x1}, {{0, -1.0f}}, {}, {0}},
  };
  auto clippers = [&](const MClippingPlane* face) {
    std::vector<int> numbers;
    for (const MClippingPlane* p : data.GetCutFaceClippingPlanes(face)) numbers.push_back(int(p - planes.data()));
    return numbers;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "draw full plane " << c.drawFullPlane << ", clip to full slice "
                                    << c.clipToFullSlice);
    data.SetDrawFullPlane(c.drawFullPlane);
    data.SetClipToFullSlice(c.clipToFullSlice);
    render.Clear();
    data._RenderStartClipping(render, system, nullptr);
    EXPECT_EQ(Loaded(), c.loaded);
    render.Clear();
    data._RenderTextures(render, system);
    EXPECT_EQ(FaceClips(), c.clips);
    EXPECT_EQ(Loaded(), c.faceLoaded);
    for (const IVClipPlane& p : render.GetState().clipPlanes) EXPECT_FALSE(p.enabled) << "switched off after";
    EXPECT_EQ(clippers(&planes[0]), c.fullSliceFaceClippers);
    EXPECT_EQ(clippers(&planes[1]), c.ordinaryFaceClippers);
  }
}

TEST_F(ClippingDataTest, SideTwoTurnsTheLoadedNormalAndTheCutFaceRoundAndSideThreeDoesNotCountAsClipping) {
  EXPECT_FALSE(data.IsClipped(nullptr));
  Apply(eClippingAddPlanes, {&planes[0]});  // x = 1 with normal (2, 0, 0)
  const struct {
    MClippingPlane::EClippedSide side;
    std::vector<float> loaded;  // the equation in the slot
    bool clips;                 // what the clipping state answers
  } cases[] = {
      {MClippingPlane::eClippedSideNormal, {1, 0, 0, -1}, true},
      {MClippingPlane::eClippedSidePositive, {1, 0, 0, -1}, true},
      {MClippingPlane::eClippedSideReversed, {-1, 0, 0, 1}, true},
      {MClippingPlane::eClippedSideNone, {1, 0, 0, -1}, false},  // yet it still clips when rendering
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "clipped side " << int(c.side));
    planes[0].SetClippedSide(c.side);
    Apply(eClippingPlanesChanged, {&planes[0]});
    EXPECT_EQ(data.IsClipped(nullptr), c.clips);
    EXPECT_EQ(data.IsClipped(&planes[0]), c.clips);
    render.Clear();
    data._RenderStartClipping(render, system, nullptr);
    EXPECT_EQ(render.CallsOf(ERenderCall::SetClipPlane).at(0).floats, c.loaded);
    render.Clear();
    data._RenderTextures(render, system);
    EXPECT_EQ(FaceClips(), std::vector<unsigned>{0}) << "a single plane's face is drawn with no plane at all";
  }
  // The x of the normal of the frame each face was set up with.
  EXPECT_EQ(g_faces.setUpFacing, (std::vector<float>{2, 2, -2, 2}));
  EXPECT_FALSE(data.IsClipped(&planes[1])) << "not listed";
  Apply(eClippingAddPlanes, {&planes[1]});
  EXPECT_TRUE(data.IsClipped(nullptr));
}

TEST_F(ClippingDataTest, BackFacePlanesShowRedBackFacesInsteadOfACutFace) {
  planes[1].SetTextureMappingMode(MClippingPlane::eTextureMappingBackFaces);
  planes[2].SetTextureMappingMode(MClippingPlane::eTextureMappingBackFaces);
  Apply(eClippingAddPlanes, {&planes[0], &planes[1], &planes[2]});
  EXPECT_TRUE(data.ShouldBeBackFacesVisible());
  MMaterial front;
  front.SetShininess(7.0f);
  render.SetMaterial(front);
  render.Clear();
  auto backFaces = [&] {  // the (visible, lit) of every SetBackfaceVisible
    std::vector<std::pair<bool, bool>> calls;
    for (const auto& c : render.CallsOf(ERenderCall::SetBackfaceVisible)) calls.emplace_back(c.flags[0], c.flags[1]);
    return calls;
  };

  data._RenderStartClipping(render, system, nullptr);
  ASSERT_EQ(render.CountOf(ERenderCall::SetMaterialBack), 1u);
  EXPECT_EQ(render.CallsOf(ERenderCall::SetMaterialBack)[0].diffuse, 0xFFu);
  EXPECT_EQ(render.GetState().backMaterial.GetShininess(), 7.0f) << "a copy of the current material";
  EXPECT_EQ(backFaces(), (std::vector<std::pair<bool, bool>>{{true, false}}));
  render.Clear();
  data._RenderStopClipping(render, system);
  EXPECT_EQ(backFaces(), (std::vector<std::pair<bool, bool>>{{false, false}}));

  render.Clear();
  data._RenderTextures(render, system);
  EXPECT_EQ(g_faces.drawnAt, (std::vector<float>{1})) << "only the ordinary plane gets a face";
  // Around that face, then lit back faces for each of the other two planes.
  EXPECT_EQ(backFaces(),
            (std::vector<std::pair<bool, bool>>{{true, false}, {false, false}, {true, true}, {true, true}}));

  data.SetShouldBackFacesVisible(false);
  EXPECT_FALSE(data.ShouldBeBackFacesVisible());
  render.Clear();
  data._RenderStartClipping(render, system, nullptr);
  EXPECT_EQ(render.CountOf(ERenderCall::SetMaterialBack), 0u);
}

TEST_F(ClippingDataTest, CopiesListThePlanesAndMakeTheirOwnFaces) {
  Apply(eClippingAddPlanes, {&planes[0]});
  data._RenderTextures(render, system);
  {
    TestClippingData copy(data);
    EXPECT_EQ(copy.GetPlanes().size(), 1u);
    EXPECT_TRUE(copy.GetSurfaceList().empty());
    copy._RenderTextures(render, system);
    EXPECT_EQ(copy.GetSurfaceList().size(), 1u);
    TestClippingData assigned(&parent);
    assigned = copy;
    assigned = assigned;
  }
  EXPECT_EQ(g_faces.made - g_faces.deleted, 1);
  EXPECT_EQ(data.GetSurfaceList().size(), 1u);
}

TEST(ClippingDataPlacement, CutFacesRideOnTheirParentOnceTheCoordinateSystemsAreUpdated) {
  UIStlObject parent(std::shared_ptr<MStlBase>(MStlPrimitives::MakeBox({-1, -1, -1}, {1, 1, 1})));
  auto moveParentTo = [&](double x) {
    const double shift[16] = {1, 0, 0, x, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    ASSERT_TRUE(parent.GetCoordinateSystem().GetInternalSystem()->SetLocalTransform(MMTransformMatrix(shift)));
  };
  moveParentTo(10);
  MClippingData::mp_surface_creator = &UISurfaceSection::Create;
  TestClippingData data(&parent);
  MClippingPlane plane;
  plane.SetClippingPlane(MFrame<float>({-5, -5, 0}, {10, 0, 0}, {0, 10, 0}, {0, 0, 1}));
  UIOperationClipping add;
  add.SetAction(eClippingAddPlanes);
  add.AddClippingPlane(&plane);
  data.DoOperation(add);

  // The section is in the parent's coordinates; the renderer draws in the world.
  const MCoordinateSystem world;
  MatrixRecordingRender render;
  auto drawnX = [&] {
    const std::size_t before = render.DrawnWith().size();
    data._RenderTextures(render, world);
    EXPECT_EQ(render.DrawnWith().size(), before + 1);
    return render.DrawnWith().back()[3];  // the x of the translation
  };
  EXPECT_EQ(drawnX(), 0.0f) << "a new face sits in a system of its own";
  data.UpdateCoordinateSystems();
  EXPECT_EQ(drawnX(), 10.0f) << "now it follows the parent";
  moveParentTo(-4);
  EXPECT_EQ(drawnX(), -4.0f) << "also after the parent moves";
  EXPECT_EQ(render.GetState().worldToEye[3], 0.0f);
  MClippingData::mp_surface_creator = nullptr;
}

TEST(ClippingOperation, ClippingActionsRedrawOnlyThe3DViewsJudgedByTheStoredWord) {
  const struct {
    std::uint64_t given;  // a wider value is stored as its low 32 bits
    bool clipping;
  } cases[] = {{82749, false},
               {82750, true},
               {82755, true},
               {82756, false},
               {0x1'0000'0000ull + 82750, true},
               {0x1'0000'0000ull + 82756, false},
               {0x1'0000'0000ull, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.given);
    UIOperationClipping op;
    op.SetAction(c.given);
    EXPECT_EQ(op.GetAction(), std::uint32_t(c.given));
    EXPECT_EQ(op.HasFlag(MOperation::eFlagRedraw3DViews), c.clipping);
    EXPECT_EQ(op.HasFlag(MOperation::eFlagUpdateBoundingBoxes), !c.clipping);
    EXPECT_EQ(op.HasFlag(MOperation::eFlagRedrawAllViews), !c.clipping);
  }
  // The planes are the host's, whatever the delete-planes setting says.
  auto plane = std::make_unique<MClippingPlane>();
  {
    UIOperationClipping owner;
    owner.SetDeletePlanes(true);
    owner.AddClippingPlane(plane.get());
  }
  plane->Invert();  // still alive (ASan would report otherwise)
}

}  // namespace
