// The mesh scene object and the cut face that fills the section of its mesh.
#include "SliceTestSupport.h"

#include "host/core/UIStlObject.h"
#include "host/mesh/MStlPrimitives.h"
#include "host/meshops/ICutFaceParent.h"
#include "host/meshops/UISurfaceSection.h"
#include "testing/RecordingRender.h"

#include <functional>
#include <numbers>

using namespace slice_test;

namespace {

MFrame<float> FrameAt(float z, float normalZ = 1.0f) {
  return MFrame<float>({-50, -50, z}, {100, 0, 0}, {0, 100, 0}, {0, 0, normalZ});
}

double Area(const std::vector<IVVertexPN>& v) {
  double area = 0;
  for (std::size_t i = 0; i + 2 < v.size(); i += 3) {
    const MMPoint3d<double> a(v[i].x, v[i].y, v[i].z), b(v[i + 1].x, v[i + 1].y, v[i + 1].z),
        c(v[i + 2].x, v[i + 2].y, v[i + 2].z);
    area += (b - a).Cross(c - a).Length() / 2;
  }
  return area;
}

// Every triangle faces along its vertices' normal, the plane's -N.
void ExpectFacing(const std::vector<IVVertexPN>& v, const MMPoint3d<double>& face) {
  for (std::size_t i = 0; i + 2 < v.size(); i += 3) {
    const MMPoint3d<double> a(v[i].x, v[i].y, v[i].z), b(v[i + 1].x, v[i + 1].y, v[i + 1].z),
        c(v[i + 2].x, v[i + 2].y, v[i + 2].z);
    EXPECT_GE((b - a).Cross(c - a).Dot(face), 0.0) << "triangle " << i / 3;
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(MMPoint3d<double>(v[i + k].nx, v[i + k].ny, v[i + k].nz), face);
  }
}

std::shared_ptr<MStlBase> Shared(std::unique_ptr<MStlBase> mesh) { return std::shared_ptr<MStlBase>(std::move(mesh)); }

}  // namespace

TEST(UIStlObject, BoxIsInSceneUnitsAndRenderDrawsFlatTrianglesInItsMaterial) {
  UIStlObject object(Shared(MStlPrimitives::MakeBox({-1, -2, -3}, {1, 2, 3})));
  M3DBoundingBox<float> box;
  object.GetBoundingBox(box, UIObject::kAllScenes);
  EXPECT_EQ(box.Min(), MMPoint3d<float>(-1, -2, -3));
  EXPECT_EQ(box.Max(), MMPoint3d<float>(1, 2, 3));

  MMaterial material;
  material.SetDiffuse(0xFF204080u);
  object.SetMaterial(material);
  object.SetAlpha(0.5f);
  EXPECT_EQ(object.GetRenderMaterial().GetDiffuse(), 0x80204080u);

  RecordingRender render;
  const COLORREF before = render.GetMaterial().GetDiffuse();
  object.Render(render, MCoordinateSystem());
  const auto draws = render.CallsOf(ERenderCall::DrawVertices);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].diffuse, 0x80204080u);
  EXPECT_TRUE(draws[0].flags[0]);  // lit
  EXPECT_EQ(render.GetMaterial().GetDiffuse(), before);

  const auto batches = render.Batches<IVVertexPN>();
  ASSERT_EQ(batches.size(), 1u);
  ASSERT_EQ(batches[0].vertices.size(), 36u);
  for (std::size_t i = 0; i < 36; i += 3) {
    const IVVertexPN* v = &batches[0].vertices[i];
    const MMPoint3d<float> n(v[0].nx, v[0].ny, v[0].nz);
    const MMPoint3d<float> a(v[0].x, v[0].y, v[0].z), b(v[1].x, v[1].y, v[1].z), c(v[2].x, v[2].y, v[2].z);
    EXPECT_NEAR(n.Length(), 1.0f, 1e-6f);
    EXPECT_GT((b - a).Cross(c - a).Dot(n), 0.0f);
    for (const MMPoint3d<float>& p : {a, b, c}) {
      EXPECT_EQ(std::fabs(p.x), 1.0f);
      EXPECT_EQ(std::fabs(p.y), 2.0f);
      EXPECT_EQ(std::fabs(p.z), 3.0f);
    }
  }
  EXPECT_EQ(object.GetStl(), object.GetStlShared().get());
}

TEST(UIStlObject, RecordsOnceAndAgainAfterTheMeshIsEdited) {
  auto mesh = Shared(MStlPrimitives::MakeBox({0, 0, 0}, {1, 1, 1}));
  UIStlObject object(mesh);
  UIStlObject copy(object);  // shares the mesh
  EXPECT_EQ(copy.GetStl(), mesh.get());
  RecordingRender render;
  object.Render(render, MCoordinateSystem());
  object.Render(render, MCoordinateSystem());
  for (const RenderCall& c : render.CallsOf(ERenderCall::DrawBatches)) EXPECT_EQ(c.count, 36u);

  MStlBuilder more;
  AddBox(more, {2, 2, 2}, {3, 3, 3}, false);
  more.AppendTo(*mesh);
  render.Clear();
  object.Render(render, MCoordinateSystem());
  copy.Render(render, MCoordinateSystem());
  const auto draws = render.CallsOf(ERenderCall::DrawBatches);
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0].count, 72u);
  EXPECT_EQ(draws[1].count, 72u);

  UIStlObject empty;
  render.Clear();
  empty.Render(render, MCoordinateSystem());
  EXPECT_TRUE(render.Calls().empty());
  M3DBoundingBox<float> box;
  empty.GetBoundingBox(box, UIObject::kAllScenes);
  EXPECT_FALSE(box.IsValid());
}

TEST(UISurfaceSection, SphereCapCoversTheCircleAndFacesAgainstThePlaneNormal) {
  UIStlObject sphere(Shared(MStlPrimitives::MakeUvSphere({0, 0, 0}, 10, 128, 64)));
  for (float z : {0.0f, 6.0f}) {
    SCOPED_TRACE(z);
    UISurfaceSection face;
    MFrame<float> frame = FrameAt(z);
    ASSERT_TRUE(face.Setup(&sphere, frame, 0));
    EXPECT_TRUE(face.IsSetUp());
    EXPECT_EQ(face.GetParent(), &sphere);
    const double r2 = 100.0 - double(z) * z;
    // A 128-gon inscribed in the circle falls short of it by 0.04 %.
    EXPECT_NEAR(Area(face.GetTriangles()), std::numbers::pi * r2, 0.002 * std::numbers::pi * r2);
    ExpectFacing(face.GetTriangles(), {0, 0, -1});
    M3DBoundingBox<float> box;
    face.GetBoundingBox(box, UIObject::kAllScenes);
    EXPECT_NEAR(box.xmax, std::sqrt(r2), 0.01);
    EXPECT_NEAR(box.ymin, -std::sqrt(r2), 0.01);
    EXPECT_NEAR(box.zmin, z, 1e-6);
    EXPECT_NEAR(box.zmax, z, 1e-6);
  }

  // A plane normal the other way keeps the other half; the face turns round with it.
  UISurfaceSection flipped;
  MFrame<float> down = FrameAt(0, -1);
  ASSERT_TRUE(flipped.Setup(&sphere, down, 1));
  ExpectFacing(flipped.GetTriangles(), {0, 0, 1});
}

TEST(UISurfaceSection, HolesAndIslandsFollowTheOddWindingRule) {
  // A torus cut at its equator: the ring between the radii 7 and 13, the hole left open.
  UIStlObject torus(Shared(MStlPrimitives::MakeTorus({0, 0, 0}, 10, 3, 128, 32)));
  UISurfaceSection ring;
  MFrame<float> frame = FrameAt(0);
  ASSERT_TRUE(ring.Setup(&torus, frame, 0));
  const double ringArea = std::numbers::pi * (13.0 * 13.0 - 7.0 * 7.0);
  EXPECT_NEAR(Area(ring.GetTriangles()), ringArea, 0.003 * ringArea);
  const auto& v = ring.GetTriangles();
  for (std::size_t i = 0; i + 2 < v.size(); i += 3) {
    const double cx = (v[i].x + v[i + 1].x + v[i + 2].x) / 3, cy = (v[i].y + v[i + 1].y + v[i + 2].y) / 3;
    const double r = std::hypot(cx, cy);
    EXPECT_TRUE(r > 6.9 && r < 13.0) << "triangle centre at radius " << r;
  }
  ExpectFacing(v, {0, 0, -1});

  // A hollow box (a cavity wound inwards) with a solid box floating in the cavity: square
  // ring plus island, 10x10 - 4x4 + 2x2.
  MStlBuilder b;
  AddBox(b, {-5, -5, -5}, {5, 5, 5}, false);
  AddBox(b, {-2, -2, -2}, {2, 2, 2}, true);
  AddBox(b, {-1, -1, -1}, {1, 1, 1}, false);
  UIStlObject nested(Shared(b.Build()));
  UISurfaceSection face;
  MFrame<float> tilted({0, 0, 0.5f}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
  ASSERT_TRUE(face.Setup(&nested, tilted, 0));
  EXPECT_NEAR(Area(face.GetTriangles()), 100 - 16 + 4, 1e-3);
  ExpectFacing(face.GetTriangles(), {0, 0, -1});
}

TEST(UISurfaceSection, RenderDrawsTheFaceInTheParentsMaterialAndRestoresTheRenderers) {
  UIStlObject cube(Shared(MStlPrimitives::MakeBox({-1, -1, -1}, {1, 1, 1})));
  MMaterial inside;
  inside.SetDiffuse(0xFF00A0FFu);
  cube.SetMaterial(inside);
  std::unique_ptr<UISurface> surface(UISurfaceSection::Create());
  MFrame<float> frame = FrameAt(0.25f);
  ASSERT_TRUE(surface->Setup(&cube, frame, 0));

  RecordingRender render;
  MMaterial current;
  current.SetDiffuse(0xFF112233u);
  render.SetMaterial(current);
  render.Clear();
  surface->Render(render, MCoordinateSystem());
  surface->Render(render, MCoordinateSystem());
  const auto draws = render.CallsOf(ERenderCall::DrawVertices);
  ASSERT_EQ(draws.size(), 2u);
  for (const RenderCall& d : draws) {
    EXPECT_EQ(d.diffuse, 0xFF00A0FFu);
    EXPECT_TRUE(d.flags[0]);
  }
  EXPECT_EQ(render.GetMaterial().GetDiffuse(), 0xFF112233u);
  const auto batches = render.Batches<IVVertexPN>();
  ASSERT_EQ(batches.size(), 2u);
  EXPECT_NEAR(Area(batches[0].vertices), 4.0, 1e-6);
  for (const IVVertexPN& v : batches[0].vertices) EXPECT_EQ(v.z, 0.25f);

  // A copy draws the same face.
  UISurfaceSection copy(*static_cast<UISurfaceSection*>(surface.get()));
  EXPECT_EQ(copy.GetTriangles().size(), batches[0].vertices.size());
  render.Clear();
  copy.Render(render, MCoordinateSystem());
  EXPECT_EQ(render.CountOf(ERenderCall::DrawVertices), 1u);
}

TEST(UISurfaceSection, NoFaceWithoutAMeshParentAClosedSectionOrAPlane) {
  UIStlObject cube(Shared(MStlPrimitives::MakeBox({-1, -1, -1}, {1, 1, 1})));
  UIStlObject patch(Shared(MStlPrimitives::MakePlanePatch({-1, -1, 0}, {2, 0, 0}, {0, 2, 0}, 2, 2)));
  UIStlObject meshless;
  UIObjectMedical plain;
  MFrame<float> middle = FrameAt(0);
  MFrame<float> sideways({0.5f, -5, -5}, {0, 10, 0}, {0, 0, 10}, {1, 0, 0});
  MFrame<float> above = FrameAt(5);
  MFrame<float> flat({0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 0, 0});

  UISurfaceSection face;
  ASSERT_TRUE(face.Setup(&cube, middle, 0));
  EXPECT_FALSE(face.Setup(nullptr, middle, 0));
  EXPECT_FALSE(face.Setup(&plain, middle, 0));
  EXPECT_FALSE(face.Setup(&meshless, middle, 0));
  EXPECT_FALSE(face.Setup(&patch, sideways, 0));  // a line across a flat patch encloses nothing
  EXPECT_FALSE(face.Setup(&cube, above, 0));
  EXPECT_FALSE(face.Setup(&cube, flat, 0));
  EXPECT_FALSE(face.Setup(&cube, middle, 2));  // back faces instead of a face
  EXPECT_FALSE(face.IsSetUp());
  EXPECT_TRUE(face.GetTriangles().empty());

  RecordingRender render;
  face.Render(render, MCoordinateSystem());
  EXPECT_TRUE(render.Calls().empty());
  M3DBoundingBox<float> box;
  face.GetBoundingBox(box, UIObject::kAllScenes);
  EXPECT_FALSE(box.IsValid());
}

// Every point of the mesh moved by `offset` (scene units) and scaled by `scale` about the origin.
void MovePoints(MStlBase& mesh, float scale, const MMPoint3d<float>& offset) {
  std::vector<std::int32_t> xyz;
  for (std::uint32_t i = 0; i < mesh.GetNumPoints(); ++i) {
    const MStlPoint& p = mesh.GetPoint(i);
    xyz.insert(xyz.end(), {std::int32_t(std::lround(p.x * scale + offset.x * IE)),
                           std::int32_t(std::lround(p.y * scale + offset.y * IE)),
                           std::int32_t(std::lround(p.z * scale + offset.z * IE))});
  }
  MStlBuilder::MovePointsInUnits(mesh, xyz);
}

TEST(UISurfaceSection, FollowsItsMeshWhenItIsMovedEditedOrReplaced) {
  auto mesh = Shared(MStlPrimitives::MakeBox({-1, -1, -1}, {1, 1, 1}));
  UIStlObject cube(mesh);
  MFrame<float> frame = FrameAt(0.25f);
  auto face = std::make_unique<UISurfaceSection>();
  ASSERT_TRUE(face->Setup(&cube, frame, 0));
  RecordingRender render;
  // The area drawn by one Render of the face.
  auto drawnArea = [&](UISurfaceSection& s) {
    render.Clear();
    s.Render(render, MCoordinateSystem());
    const auto batches = render.Batches<IVVertexPN>();
    return batches.empty() ? 0.0 : Area(batches.back().vertices);
  };
  EXPECT_NEAR(drawnArea(*face), 4.0, 1e-6);

  // The cases in turn, each an edit of the mesh (or of the object) and the face after it.
  MStlBuilder more;
  AddBox(more, {-1, 3, -1}, {1, 4, 1}, false);
  const struct {
    const char* edit;
    std::function<void()> apply;
    double area;
  } cases[] = {
      {"grown twice as big", [&] { MovePoints(*mesh, 2, {}); }, 16.0},
      {"moved off the plane", [&] { MovePoints(*mesh, 1, {0, 0, 5}); }, 0.0},
      {"moved back", [&] { MovePoints(*mesh, 1, {0, 0, -5}); }, 16.0},
      {"a second box appended", [&] { more.AppendTo(*mesh); }, 18.0},
      {"the mesh replaced", [&] { cube.SetStl(Shared(MStlPrimitives::MakeBox({-3, -3, -3}, {3, 3, 3}))); }, 36.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.edit);
    c.apply();
    EXPECT_NEAR(drawnArea(*face), c.area, 1e-6);
    EXPECT_NEAR(Area(face->GetTriangles()), c.area, 1e-6);
    M3DBoundingBox<float> box;
    face->GetBoundingBox(box, UIObject::kAllScenes);
    EXPECT_EQ(box.IsValid(), c.area > 0);
  }

  // A face set up while the plane misses the mesh comes when the mesh reaches the plane;
  // a copy follows as well.
  MFrame<float> high = FrameAt(5);
  UISurfaceSection later;
  EXPECT_FALSE(later.Setup(&cube, high, 0));
  EXPECT_TRUE(later.IsSetUp());
  const UISurfaceSection copy(later);
  MovePoints(*cube.GetStl(), 1, {0, 0, 4});
  EXPECT_NEAR(Area(later.GetTriangles()), 36.0, 1e-6);
  EXPECT_NEAR(Area(copy.GetTriangles()), 36.0, 1e-6);

  // A face that is gone no longer hears of its mesh (AddressSanitizer would see it).
  face.reset();
  MovePoints(*cube.GetStl(), 1, {0, 0, 1});
  cube.Render(render, MCoordinateSystem());
}

// A cup (a box without its top) stands at x 3..5; cut upright, its section is a U that,
// closed, would enclose 2 x 2.
void AddCup(MStlBuilder& b) {
  std::vector<float> xyz;
  for (int i = 0; i < 8; ++i) xyz.insert(xyz.end(), {(i & 1) ? 5.0f : 3.0f, (i & 2) ? 1.0f : -1.0f, (i & 4) ? 1.0f : -1.0f});
  const std::uint32_t first = b.AddPoints(std::span<const float>(xyz));
  static constexpr std::uint32_t kWallsAndBottom[5][4] = {{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 2, 3, 1}};
  std::vector<std::uint32_t> corners;
  for (const auto& q : kWallsAndBottom)
    corners.insert(corners.end(), {first + q[0], first + q[1], first + q[2], first + q[0], first + q[2], first + q[3]});
  b.AddSurface(corners);
}

// The plane y = 0, and planes that keep x <= a or z <= a.
const MFrame<float> kUpright({-10, 0, -10}, {20, 0, 0}, {0, 0, 20}, {0, 1, 0});
MFrame<float> KeepXAtMost(float x) { return MFrame<float>({x, -10, -10}, {0, 20, 0}, {0, 0, 20}, {-1, 0, 0}); }
MFrame<float> KeepZAtMost(float z) { return MFrame<float>({-10, -10, z}, {20, 0, 0}, {0, 20, 0}, {0, 0, -1}); }

// A mesh object whose cut faces are clipped by the planes the test sets.
class ClippedStlObject : public UIStlObject, public ICutFaceParent {
public:
  using UIStlObject::UIStlObject;
  // Per face (by its frame's origin), the frames of the planes that clip it.
  std::vector<std::pair<MMPoint3d<float>, std::vector<MFrame<float>>>> clipping;

  bool GetCutFaceClipFrames(const MFrame<float>& face, std::vector<MFrame<float>>& frames) const override {
    frames.clear();
    for (const auto& [origin, planes] : clipping)
      if (origin == face.O) return frames = planes, true;
    return false;
  }
};

TEST(UISurfaceSection, OpenSectionIsJoinedStraightAndWarnedOfByName) {
  const struct {
    const char* mesh;
    bool withBox;
    double area;
  } cases[] = {{"the cup alone", false, 4.0}, {"the cup and a closed box", true, 8.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mesh);
    MStlBuilder b;
    AddCup(b);
    if (c.withBox) AddBox(b, {-1, -1, -1}, {1, 1, 1}, false);
    UIStlObject object(Shared(b.Build()));
    UISurfaceSection face;
    MFrame<float> upright = kUpright;
    EXPECT_TRUE(face.Setup(&object, upright, 0));
    EXPECT_NEAR(Area(face.GetTriangles()), c.area, 1e-6);
    EXPECT_NE(face.GetWarning().find("a mesh is open"), std::string::npos) << face.GetWarning();
    object.SetName("cup.stl");
    UISurfaceSection named;
    named.Setup(&object, upright, 0);
    EXPECT_EQ(named.GetWarning().find("mesh 'cup.stl' is open"), 0u) << named.GetWarning();
  }
}

TEST(UISurfaceSection, FaceFollowsThePlanesThatClipIt) {
  MStlBuilder b;
  AddCup(b);
  ClippedStlObject cup(Shared(b.Build()));
  cup.SetName("cup.stl");
  UISurfaceSection face;
  MFrame<float> upright = kUpright;
  ASSERT_TRUE(face.Setup(&cup, upright, 0));
  // The cup is 2 wide; the rim at z = 1 is open.
  const struct {
    const char* planes;
    std::vector<MFrame<float>> frames;
    double area;
    bool warns;
  } cases[] = {
      {"none", {}, 4.0, true},
      {"one that cuts the rim away", {KeepZAtMost(0.5f)}, 3.0, false},
      {"one through the rim", {KeepZAtMost(1.0f)}, 4.0, false},
      {"two, meeting inside the cup", {KeepZAtMost(0.5f), KeepXAtMost(4.0f)}, 1.5, false},
      {"one that leaves the rim", {KeepXAtMost(4.0f)}, 2.0, true},
      {"one that keeps nothing of it", {KeepXAtMost(2.0f)}, 0.0, false},
      {"one with no normal, which keeps all", {MFrame<float>({0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, 0, 0})}, 4.0, true},
      {"none again", {}, 4.0, true},
  };
  RecordingRender render;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.planes);
    cup.clipping = {{upright.O, c.frames}};
    EXPECT_NEAR(Area(face.GetTriangles()), c.area, 1e-6);
    EXPECT_EQ(!face.GetWarning().empty(), c.warns) << face.GetWarning();
    render.Clear();
    face.Render(render, MCoordinateSystem());
    const auto batches = render.Batches<IVVertexPN>();
    EXPECT_NEAR(batches.empty() ? 0.0 : Area(batches.back().vertices), c.area, 1e-6);
  }
}

TEST(UISurfaceSection, FacesOfOneParentCutItsMeshInOnePass) {
  ClippedStlObject sphere(Shared(MStlPrimitives::MakeUvSphere({0, 0, 0}, 10, 64, 32)));
  // Three planes through the centre, each face clipped by the other two.
  std::vector<MFrame<float>> frames = {MFrame<float>({0, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 0, 0}),
                                       MFrame<float>({0, 0, 1e-3f}, {1, 0, 0}, {0, 0, 1}, {0, -1, 0}),
                                       MFrame<float>({0, 0, 2e-3f}, {1, 0, 0}, {0, 1, 0}, {0, 0, -1})};
  auto others = [&](std::size_t i) {
    std::vector<MFrame<float>> o;
    for (std::size_t j = 0; j < frames.size(); ++j)
      if (j != i) o.push_back(frames[j]);
    return o;
  };
  auto setClipping = [&] {
    sphere.clipping.clear();
    for (std::size_t i = 0; i < frames.size(); ++i) sphere.clipping.push_back({frames[i].O, others(i)});
  };
  setClipping();
  UISurfaceSection faces[3];
  for (std::size_t i = 0; i < 3; ++i) ASSERT_TRUE(faces[i].Setup(&sphere, frames[i], 0));
  EXPECT_EQ(sphere.GetSectionCache().GetNumPasses(), 1u);
  // A quarter of each great circle is kept (the 64-gon falls short of the circle a little).
  for (const UISurfaceSection& face : faces) EXPECT_NEAR(Area(face.GetTriangles()), 25 * std::numbers::pi, 0.3);

  // Edited, the mesh is cut again, once for all faces.
  MovePoints(*sphere.GetStl(), 0.5f, {});
  for (const UISurfaceSection& face : faces) EXPECT_NEAR(Area(face.GetTriangles()), 25 * std::numbers::pi / 4, 0.1);
  EXPECT_EQ(sphere.GetSectionCache().GetNumPasses(), 2u);

  // One plane moves: its new face is cut alone; the others only close their sections anew.
  frames[2].O.z = 2.5f;
  setClipping();
  UISurfaceSection moved;
  ASSERT_TRUE(moved.Setup(&sphere, frames[2], 0));
  EXPECT_EQ(sphere.GetSectionCache().GetNumPasses(), 3u);
  const double r2 = 25.0 - 2.5 * 2.5;
  EXPECT_NEAR(Area(moved.GetTriangles()), std::numbers::pi * r2 / 4, 0.1);
  // Face 0 keeps y <= 0 of its disk, less the part above z = 2.5.
  EXPECT_NEAR(Area(faces[0].GetTriangles()), 25 * std::numbers::pi / 2 - (25 * std::acos(0.5) - 2.5 * std::sqrt(r2)) / 2, 0.1);
  EXPECT_EQ(sphere.GetSectionCache().GetNumPasses(), 3u);
}
