// A mesh as the owner of data masks: registration per element kind, growth by AppendTo
// (all or nothing), deregistration.
#include "vistal/masks/MDataMask.h"

#include "host/mesh/MStlBase.h"
#include "host/mesh/MStlBuilder.h"
#include "host/mesh/MStlPrimitives.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>

namespace {

// Two triangles on four points, one surface.
MStlBuilder Quad(float z) {
  MStlBuilder b;
  const float xyz[] = {0, 0, z, 1, 0, z, 1, 1, z, 0, 1, z};
  b.AddPoints(std::span<const float>(xyz));
  const std::uint32_t corners[] = {0, 1, 2, 0, 2, 3};
  b.AddSurface(corners);
  return b;
}

// A mask of whole meshes: this library has no such concrete mask, and a mesh numbers no
// meshes, so it only records what it is asked.
class MeshKindMask : public MDataMaskBase<MStlBase> {
public:
  explicit MeshKindMask(IDataMaskOwner& owner) : MDataMaskBase(owner) { registered = _Register(); }
  void CopyInfo(const MStlBase&, const MStlBase&) override {}
  void SwapInfo(const MStlBase&, const MStlBase&) override {}
  bool registered = false;
  int resizes = 0;

protected:
  void _SetSize(unsigned int) override { ++resizes; }
  void _SetDefault(unsigned int) override {}
};

// A point mask that cannot grow past a limit, as if memory ran out.
class LimitedMask : public MDataMask<MStlPoint, float> {
public:
  LimitedMask(IDataMaskOwner& owner, unsigned limit) : MDataMask(owner, 1.0f), m_limit(limit) {}

protected:
  void _SetSize(unsigned int count) override {
    if (count > m_limit) throw std::bad_alloc();
    MDataMask::_SetSize(count);
  }

private:
  unsigned m_limit;
};

}  // namespace

TEST(MeshMaskOwner, MasksAreSizedToTheirElementKindAndGrowWithAppendedElements) {
  std::unique_ptr<MStlBase> mesh = Quad(0.0f).Build();
  MDataMask<MStlPoint, MMPoint3d<float>> displacement(*mesh, {0.0f, 0.0f, 1.0f});
  MDataMask<MStlTriangle, float> weights(*mesh, 0.25f);
  MDataMask<MStlSurface, MStlColor> surface_colours(*mesh, MStlColor(10, 20, 30));
  EXPECT_EQ(displacement.GetCount(), 4u);
  EXPECT_EQ(weights.GetCount(), 2u);
  EXPECT_EQ(surface_colours.GetCount(), 1u);

  const MStlPoint& p3 = mesh->GetPoint(3);
  displacement.SetInfo(p3, {5.0f, 6.0f, 7.0f});
  surface_colours.SetInfo(*mesh->GetSurface(0), MStlColor(1, 2, 3));

  // Enough points to need a second page.
  MStlBuilder more;
  for (int i = 0; i < 1100; ++i) more.AddPoint({float(i), 0.0f, 5.0f});
  const std::uint32_t corners[] = {0, 1, 2};
  more.AddSurface(corners);
  more.AppendTo(*mesh);

  EXPECT_EQ(displacement.GetCount(), 1104u);
  EXPECT_EQ(weights.GetCount(), 3u);
  EXPECT_EQ(surface_colours.GetCount(), 2u);
  EXPECT_EQ(displacement.GetInfo(p3), MMPoint3d<float>(5.0f, 6.0f, 7.0f));
  EXPECT_EQ(displacement.GetInfo(mesh->GetPoint(1103)), MMPoint3d<float>(0.0f, 0.0f, 1.0f));
  EXPECT_EQ(surface_colours.GetInfo(*mesh->GetSurface(0)), MStlColor(1, 2, 3));
  EXPECT_EQ(surface_colours.GetInfo(*mesh->GetSurface(1)), MStlColor(10, 20, 30));
  EXPECT_EQ(weights.GetInfo(*mesh->GetSurface(1)->GetFirstTriangle()), 0.25f);

  // Masks made after the growth start at the current counts.
  MDataMask<MStlTriangle, DWORD> late(*mesh, 9u);
  EXPECT_EQ(late.GetCount(), 3u);
}

TEST(MeshMaskOwner, DeadCopiesAndDoubleRegistrationLeaveOneLiveEntryPerMask) {
  std::unique_ptr<MStlBase> mesh = Quad(0.0f).Build();
  auto mask = std::make_unique<MDataMask<MStlPoint, float>>(*mesh, 2.0f);
  {
    MDataMask<MStlPoint, float> copy(*mask);  // never registered: its death is a no-op
  }
  EXPECT_TRUE(mesh->RegisterMask(mask.get()));  // already known: still one entry
  mesh->UnregisterMask(nullptr);

  Quad(1.0f).AppendTo(*mesh);
  EXPECT_EQ(mask->GetCount(), 8u) << "the original stays registered after its copy died";

  // After the mask is gone the mesh must hold no pointer to it: a stale or duplicate entry
  // would be resized here, which the sanitized run reports.
  mask.reset();
  Quad(2.0f).AppendTo(*mesh);
  EXPECT_EQ(mesh->GetNumPoints(), 12u);
}

TEST(MeshMaskOwner, MeshRefusesMasksOfMeshesAndMasksWithoutHook) {
  std::unique_ptr<MStlBase> mesh = Quad(0.0f).Build();
  MeshKindMask of_meshes(*mesh);
  EXPECT_FALSE(of_meshes.registered);
  Quad(1.0f).AppendTo(*mesh);
  EXPECT_EQ(of_meshes.resizes, 0);

  IDataMask plain;
  EXPECT_FALSE(mesh->RegisterMask(&plain));
  EXPECT_FALSE(mesh->RegisterMask(nullptr));
  mesh->UnregisterMask(&plain);
}

TEST(MeshMaskOwner, AppendThatCannotGrowAMaskLeavesMeshAndMasksAsTheyWere) {
  std::unique_ptr<MStlBase> mesh = Quad(0.0f).Build();
  MDataMask<MStlPoint, float> roomy(*mesh, 3.0f);
  LimitedMask limited(*mesh, 6);
  roomy.SetInfo(mesh->GetPoint(2), 8.0f);

  EXPECT_THROW(Quad(1.0f).AppendTo(*mesh), std::bad_alloc);
  EXPECT_EQ(mesh->GetNumPoints(), 4u);
  EXPECT_EQ(mesh->GetNumTriangles(), 2u);
  EXPECT_EQ(roomy.GetCount(), 4u);
  EXPECT_EQ(limited.GetCount(), 4u);
  EXPECT_EQ(roomy.GetInfo(mesh->GetPoint(2)), 8.0f);

  // Growth within every mask's means still goes through.
  MStlBuilder one_point;
  one_point.AddPoint({0.0f, 0.0f, 0.0f});
  one_point.AppendTo(*mesh);
  EXPECT_EQ(limited.GetCount(), 5u);
  EXPECT_EQ(roomy.GetCount(), 5u);
  EXPECT_EQ(roomy.GetInfo(mesh->GetPoint(4)), 3.0f);
}
