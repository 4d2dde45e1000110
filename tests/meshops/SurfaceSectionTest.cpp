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

using P = MMPoint3d<double>;

// The twice-area normal of triangle t (vertices 3t to 3t + 2).
P Cross(const std::vector<IVVertexPN>& v, std::size_t t) {
  auto at = [&](std::size_t i) { return P(v[i].x, v[i].y, v[i].z); };
  return (at(3 * t + 1) - at(3 * t)).Cross(at(3 * t + 2) - at(3 * t));
}

double Area(const std::vector<IVVertexPN>& v) {
  double area = 0;
  for (std::size_t t = 0; t < v.size() / 3; ++t) area += Cross(v, t).Length() / 2;
  return area;
}

// Every triangle faces along its vertices' normal, the plane's -N.
void ExpectFacing(const std::vector<IVVertexPN>& v, const P& face) {
  for (std::size_t t = 0; t < v.size() / 3; ++t) {
    EXPECT_GE(Cross(v, t).Dot(face), 0.0) << "triangle " << t;
    for (std::size_t i = 3 * t; i < 3 * t + 3; ++i) EXPECT_EQ(P(v[i].nx, v[i].ny, v[i].nz), face);
  }
}

std::shared_ptr<MStlBase> Shared(std::unique_ptr<MStlBase> mesh) { return std::shared_ptr<MStlBase>(std::move(mesh)); }

// Renders the face and answers the area drawn. It draws lit, in its parent's material, and
// leaves the renderer's material as it was.
double DrawnArea(UISurface& face) {
  RecordingRender render;
  MMaterial current;
  current.SetDiffuse(0xFF112233u);
  render.SetMaterial(current);
  face.Render(render, MCoordinateSystem());
  EXPECT_EQ(render.GetMaterial().GetDiffuse(), 0xFF112233u);
  for (const RenderCall& d : render.CallsOf(ERenderCall::DrawVertices)) {
    EXPECT_EQ(d.diffuse, static_cast<const UIStlObject*>(face.GetParent())->GetRenderMaterial().GetDiffuse());
    EXPECT_TRUE(d.flags[0]);
  }
  double area = 0;
  for (const auto& batch : render.Batches<IVVertexPN>()) area += Area(batch.vertices);
  return area;
}

}  // namespace

TEST(UIStlObject, DrawsInItsMaterialRestoresTheRenderersAndFollowsEdits) {
  auto mesh = Shared(MStlPrimitives::MakeBox({-1, -2, -3}, {1, 2, 3}));
  UIStlObject object(mesh);
  M3DBoundingBox<float> box;
  object.GetBoundingBox(box, UIObject::kAllScenes);
  EXPECT_EQ(box.Min(), MMPoint3d<float>(-1, -2, -3));
  EXPECT_EQ(box.Max(), MMPoint3d<float>(1, 2, 3));
  MMaterial material;
  material.SetDiffuse(0xFF204080u);
  object.SetMaterial(material);
  object.SetAlpha(0.5f);

  RecordingRender render;
  const COLORREF before = render.GetMaterial().GetDiffuse();
  object.Render(render, MCoordinateSystem());
  const auto draws = render.CallsOf(ERenderCall::DrawVertices);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].diffuse, 0x80204080u);
  EXPECT_TRUE(draws[0].flags[0]);  // lit
  EXPECT_EQ(render.GetMaterial().GetDiffuse(), before);
  // Where the triangles lie and face shows in every picture.
  EXPECT_EQ(render.Batches<IVVertexPN>().at(0).vertices.size(), 36u);

  // Edited, the mesh is recorded again, also for a copy sharing it.
  UIStlObject copy(object);
  MStlBuilder more;
  AddBox(more, {2, 2, 2}, {3, 3, 3}, false);
  more.AppendTo(*mesh);
  render.Clear();
  object.Render(render, MCoordinateSystem());
  copy.Render(render, MCoordinateSystem());
  std::vector<std::size_t> counts;
  for (const RenderCall& c : render.CallsOf(ERenderCall::DrawBatches)) counts.push_back(c.count);
  EXPECT_EQ(counts, (std::vector<std::size_t>{72, 72}));

  UIStlObject empty;
  render.Clear();
  empty.Render(render, MCoordinateSystem());
  EXPECT_TRUE(render.Calls().empty());
  M3DBoundingBox<float> none;
  empty.GetBoundingBox(none, UIObject::kAllScenes);
  EXPECT_FALSE(none.IsValid());
}

TEST(UISurfaceSection, FaceCoversTheSectionByTheOddWindingRuleFacingAgainstTheNormal) {
  UIStlObject sphere(Shared(MStlPrimitives::MakeUvSphere({0, 0, 0}, 10, 128, 64)));
  // A ring between the radii 7 and 13, the hole left open.
  UIStlObject torus(Shared(MStlPrimitives::MakeTorus({0, 0, 0}, 10, 3, 128, 32)));
  // A hollow box (a cavity wound inwards) with a solid box floating in the cavity.
  MStlBuilder b;
  AddBox(b, {-5, -5, -5}, {5, 5, 5}, false);
  AddBox(b, {-2, -2, -2}, {2, 2, 2}, true);
  AddBox(b, {-1, -1, -1}, {1, 1, 1}, false);
  UIStlObject nested(Shared(b.Build()));
  const double pi = std::numbers::pi;
  const struct {
    const char* what;
    UIStlObject* object;
    MFrame<float> frame;
    double area, tolerance;  // a 128-gon falls short of its circle by 0.04 %
  } cases[] = {
      {"a sphere through its middle", &sphere, FrameAt(0), pi * 100, 0.002 * pi * 100},
      {"a sphere off its middle", &sphere, FrameAt(6), pi * 64, 0.002 * pi * 64},
      {"a sphere, the normal the other way", &sphere, FrameAt(0, -1), pi * 100, 0.002 * pi * 100},
      {"a torus through its equator", &torus, FrameAt(0), pi * (169 - 49), 0.003 * pi * 120},
      {"a ring and an island", &nested, MFrame<float>({0, 0, 0.5f}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}), 100 - 16 + 4,
       1e-3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    UISurfaceSection face;
    MFrame<float> frame = c.frame;
    ASSERT_TRUE(face.Setup(c.object, frame, 0));
    EXPECT_EQ(face.GetParent(), c.object);
    EXPECT_NEAR(Area(face.GetTriangles()), c.area, c.tolerance);
    ExpectFacing(face.GetTriangles(), {0, 0, -c.frame.N.z});
    M3DBoundingBox<float> box;
    face.GetBoundingBox(box, UIObject::kAllScenes);
    EXPECT_EQ(box.zmin, c.frame.O.z);
    EXPECT_EQ(box.zmax, c.frame.O.z);
  }
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
  MMaterial inside;
  inside.SetDiffuse(0xFF00A0FFu);
  cube.SetMaterial(inside);
  MFrame<float> frame = FrameAt(0.25f);
  auto face = std::make_unique<UISurfaceSection>();
  ASSERT_TRUE(face->Setup(&cube, frame, 0));
  EXPECT_NEAR(DrawnArea(*face), 4.0, 1e-6);

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
    EXPECT_NEAR(DrawnArea(*face), c.area, 1e-6);
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
  RecordingRender render;
  cube.Render(render, MCoordinateSystem());
}

// A cup (a box without its top) stands at x 3..5; cut upright, its section is a U that,
// closed, would enclose 2 x 2.
void AddCup(MStlBuilder& b) { AddBox(b, {3, -1, -1}, {5, 1, 1}, false, false); }

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

TEST(UISurfaceSection, FaceFollowsThePlanesThatClipItAndWarnsOfAnOpenMeshByName) {
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
  for (const auto& c : cases) {
    SCOPED_TRACE(c.planes);
    cup.clipping = {{upright.O, c.frames}};
    EXPECT_NEAR(Area(face.GetTriangles()), c.area, 1e-6);
    EXPECT_EQ(face.GetWarning().substr(0, 22), c.warns ? "mesh 'cup.stl' is open" : "") << face.GetWarning();
    EXPECT_NEAR(DrawnArea(face), c.area, 1e-6);
  }
  // Unnamed, and beside a closed box that is capped as well.
  AddBox(b, {-1, -1, -1}, {1, 1, 1}, false);
  UIStlObject both(Shared(b.Build()));
  UISurfaceSection bothFaces;
  EXPECT_TRUE(bothFaces.Setup(&both, upright, 0));
  EXPECT_NEAR(Area(bothFaces.GetTriangles()), 8.0, 1e-6);
  EXPECT_NE(bothFaces.GetWarning().find("a mesh is open"), std::string::npos) << bothFaces.GetWarning();
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
  EXPECT_NEAR(Area(faces[0].GetTriangles()),
              25 * std::numbers::pi / 2 - (25 * std::acos(0.5) - 2.5 * std::sqrt(r2)) / 2, 0.1);
  EXPECT_EQ(sphere.GetSectionCache().GetNumPasses(), 3u);
}
