// Coordinate systems: nesting, dependence, lifetime and the repository's transforms between them.
#include "host/framework/MCoordinateSystem.h"
#include "host/framework/MTransformRepository.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

using P = MMPoint3d<double>;

MMTransformMatrix Translation(double x, double y, double z) {
  const double m[16] = {1, 0, 0, x, 0, 1, 0, y, 0, 0, 1, z, 0, 0, 0, 1};
  return MMTransformMatrix(m);
}

MMTransformMatrix Scale(double s) {
  const double m[16] = {s, 0, 0, 0, 0, s, 0, 0, 0, 0, s, 0, 0, 0, 0, 1};
  return MMTransformMatrix(m);
}

P Map(const MCoordinateSystem& from, const MCoordinateSystem& to, const P& p) {
  P out;
  EXPECT_TRUE(MTransformRepository::mgp_instance->GetTransform(from, to).TransformPoint(out, p, false));
  return out;
}

void ExpectNear(const P& a, const P& b) {
  EXPECT_NEAR(a.x, b.x, 1e-12);
  EXPECT_NEAR(a.y, b.y, 1e-12);
  EXPECT_NEAR(a.z, b.z, 1e-12);
}

TEST(MTransformRepository, MapsThroughNestedSystemsInBothDirections) {
  ASSERT_NE(MTransformRepository::mgp_instance, nullptr);
  MCoordinateSystem world;
  MCoordinateSystem a(Translation(10, 0, 0), nullptr);
  MMTransformMatrix quarterTurn;
  quarterTurn.SetRotation({0, 0, 1}, std::numbers::pi / 2, {0, 0, 0});
  MCoordinateSystem b(quarterTurn, &a);
  MCoordinateSystem c(Scale(2), nullptr);

  ExpectNear(Map(b, world, {1, 0, 0}), {10, 1, 0});
  ExpectNear(Map(b, c, {1, 0, 0}), {5, 0.5, 0});
  ExpectNear(Map(c, b, {5, 0.5, 0}), {1, 0, 0});  // the inverse direction
  ExpectNear(Map(a, b, {0, 1, 0}), {1, 0, 0});    // parent to child, no world on the way
  ExpectNear(Map(world, a, {0, 0, 0}), {-10, 0, 0});

  const MMTransform& same = MTransformRepository::mgp_instance->GetTransform(b, MCoordinateSystem(b));
  EXPECT_TRUE(same.IsIdentity());
}

TEST(MTransformRepository, ResultIsRecomputedAfterAChangeButIsASnapshotUntilThen) {
  MCoordinateSystem world, a(Translation(1, 0, 0), nullptr);
  auto& repository = *MTransformRepository::mgp_instance;
  const MMTransform& first = repository.GetTransform(a, world);
  ExpectNear(first.TransformedPoint({0, 0, 0}, false), {1, 0, 0});

  a.GetInternalSystem()->SetLocalTransform(Translation(2, 0, 0));
  ExpectNear(first.TransformedPoint({0, 0, 0}, false), {1, 0, 0});  // not followed
  const MMTransform& second = repository.GetTransform(a, world);
  EXPECT_EQ(&first, &second);
  ExpectNear(second.TransformedPoint({0, 0, 0}, false), {2, 0, 0});
}

TEST(MTransformRepositoryCoordinateSystem, DependentKeepsItsLocalTransformAndFollowsItsParent) {
  MCoordinateSystem world;
  MCoordinateSystem parent(Translation(100, 0, 0), nullptr);
  MCoordinateSystem surface(Translation(1, 0, 0), nullptr);
  auto* s = surface.GetInternalSystem();

  ASSERT_TRUE(s->SetDependent(parent.GetInternalSystem()));
  EXPECT_EQ(s->GetParent(), parent.GetInternalSystem());
  ExpectNear(Map(surface, world, {0, 0, 0}), {101, 0, 0});

  parent.GetInternalSystem()->SetLocalTransform(Translation(0, 5, 0));
  ExpectNear(Map(surface, world, {0, 0, 0}), {1, 5, 0});

  ASSERT_TRUE(s->SetDependent(nullptr));
  EXPECT_TRUE(parent.GetInternalSystem()->GetChildren().empty());
  ExpectNear(Map(surface, world, {0, 0, 0}), {1, 0, 0});
}

TEST(MTransformRepositoryCoordinateSystem, RefusesCyclesAndSingularPlacements) {
  MCoordinateSystem a, b, c;
  auto *ia = a.GetInternalSystem(), *ib = b.GetInternalSystem(), *ic = c.GetInternalSystem();
  ASSERT_TRUE(ib->SetDependent(ia));
  ASSERT_TRUE(ic->SetDependent(ib));
  const auto revision = MTransformRepositoryCoordinateSystem::Revision();
  EXPECT_FALSE(ia->SetDependent(ic));
  EXPECT_FALSE(ia->SetDependent(ia));
  EXPECT_FALSE(ib->SetDependent(ic));
  EXPECT_EQ(ia->GetParent(), nullptr);
  EXPECT_EQ(ib->GetParent(), ia);
  EXPECT_EQ(MTransformRepositoryCoordinateSystem::Revision(), revision);

  EXPECT_FALSE(ia->SetLocalTransform(Scale(0)));
  EXPECT_TRUE(ia->GetLocalTransform().IsIdentity());
}

TEST(MTransformRepositoryCoordinateSystem, LastHandleFreesTheSystemAndChildrenKeepTheirPlace) {
  MCoordinateSystem world, child;
  {
    MCoordinateSystem parent(Scale(3), nullptr);
    MCoordinateSystem grand(Translation(0, 0, 2), &parent);
    child = MCoordinateSystem(Translation(1, 0, 0), &grand);
    ExpectNear(Map(child, world, {1, 1, 1}), {6, 3, 9});
  }
  // grand went first: child moved to the world with its placement, before parent went too.
  EXPECT_EQ(child.GetInternalSystem()->GetParent(), nullptr);
  ExpectNear(Map(child, world, {1, 1, 1}), {6, 3, 9});
  ExpectNear(Map(world, child, {6, 3, 9}), {1, 1, 1});
}

}  // namespace
