// Typed data masks against an owner double: paging, resizing, per-element access,
// copies and the registration dialogue.
#include "MaskTestSupport.h"

#include "vistal/masks/MDataMask.h"

#include <gtest/gtest.h>

#include <memory>

using mask_test::RecordingOwner;

namespace {

// Elements with chosen slots; masks read nothing else.
MStlPoint PointAt(unsigned slot) {
  MStlPoint p;
  p.SetMaskIndex(slot);
  return p;
}
MStlTriangle TriangleAt(unsigned slot) {
  MStlTriangle t;
  t.SetMaskIndex(slot);
  return t;
}

using FloatMask = MDataMask<MStlPoint, float>;
using VectorMask = MDataMask<MStlPoint, MMPoint3d<float>>;
using CornerColourMask = MDataMask<MStlTriangle, MStlColorTrianglePoints>;

}  // namespace

TEST(DataMask, PagesHoldExactly1024ValuesAndAreAddedAndDroppedAtTheBoundaries) {
  RecordingOwner owner;
  FloatMask mask(owner, 7.5f);
  EXPECT_EQ(mask.GetCount(), 0u);
  EXPECT_EQ(mask.GetValues().GetNumPages(), 0u);

  RecordingOwner::Resize(mask, 0);
  EXPECT_EQ(mask.GetValues().GetNumPages(), 0u);
  EXPECT_EQ(mask.GetValues().GetCapacity(), 0u);

  RecordingOwner::Resize(mask, 1);
  EXPECT_EQ(mask.GetValues().GetNumPages(), 1u);
  EXPECT_EQ(mask.GetValues().GetCapacity(), 1024u);
  EXPECT_EQ(mask.GetInfo(PointAt(0)), 7.5f);

  RecordingOwner::Resize(mask, 1024);
  EXPECT_EQ(mask.GetValues().GetNumPages(), 1u);
  EXPECT_EQ(mask.GetInfo(PointAt(1023)), 7.5f);

  // Value 1023 is the last of the first page, 1024 the first of the second: the two must
  // not share storage, and growing must not move what is already there.
  float* last_of_first = &mask.GetInfo(PointAt(1023));
  *last_of_first = 1.0f;
  RecordingOwner::Resize(mask, 1025);
  EXPECT_EQ(mask.GetValues().GetNumPages(), 2u);
  EXPECT_EQ(mask.GetValues().GetCapacity(), 2048u);
  EXPECT_EQ(mask.GetCount(), 1025u);
  EXPECT_EQ(&mask.GetInfo(PointAt(1023)), last_of_first);
  EXPECT_EQ(mask.GetInfo(PointAt(1024)), 7.5f);
  mask.SetInfo(PointAt(1024), 2.0f);
  EXPECT_EQ(*last_of_first, 1.0f);

  RecordingOwner::Resize(mask, 5000);
  EXPECT_EQ(mask.GetValues().GetNumPages(), 5u);
  EXPECT_EQ(&mask.GetInfo(PointAt(1023)), last_of_first);
  EXPECT_EQ(mask.GetInfo(PointAt(4999)), 7.5f);

  RecordingOwner::Resize(mask, 0);
  EXPECT_EQ(mask.GetValues().GetNumPages(), 0u);
  EXPECT_EQ(mask.GetValues().GetCapacity(), 0u);
}

TEST(DataMask, ShrinkingKeepsWhatRemainsAndGrowingAgainResetsToTheDefault) {
  RecordingOwner owner;
  FloatMask mask(owner, -1.0f);
  RecordingOwner::Resize(mask, 2000);
  for (unsigned i = 0; i < 30; ++i) mask.SetInfo(PointAt(i), float(i));

  RecordingOwner::Resize(mask, 10);
  EXPECT_EQ(mask.GetCount(), 10u);
  EXPECT_EQ(mask.GetValues().GetCapacity(), 1024u);
  EXPECT_EQ(mask.GetInfo(PointAt(9)), 9.0f);
  // Past the count but in the kept page: untouched by the shrink.
  EXPECT_EQ(mask.GetValues()[25], 25.0f);

  RecordingOwner::Resize(mask, 20);
  for (unsigned i = 0; i < 10; ++i) EXPECT_EQ(mask.GetInfo(PointAt(i)), float(i)) << i;
  for (unsigned i = 10; i < 20; ++i) EXPECT_EQ(mask.GetInfo(PointAt(i)), -1.0f) << i;
  EXPECT_EQ(mask.GetValues()[25], 25.0f);

  // A default changed in between is what the regrown slots get.
  mask.SetDefaultValue(4.0f);
  RecordingOwner::Resize(mask, 21);
  EXPECT_EQ(mask.GetInfo(PointAt(20)), 4.0f);
  EXPECT_EQ(mask.GetInfo(PointAt(19)), -1.0f);
}

TEST(DataMask, NewPagesOfPointsReadZeroWhereNoDefaultWasWritten) {
  RecordingOwner owner;
  VectorMask mask(owner, {1.0f, 2.0f, 3.0f});
  RecordingOwner::Resize(mask, 1);
  EXPECT_EQ(mask.GetInfo(PointAt(0)), MMPoint3d<float>(1.0f, 2.0f, 3.0f));
  for (unsigned i = 1; i < 1024; ++i) ASSERT_EQ(mask.GetValues()[i], MMPoint3d<float>()) << i;

  MDataMask<MStlTriangle, MStlColor> colours(owner);
  RecordingOwner::Resize(colours, 3);
  EXPECT_EQ(colours.GetInfo(TriangleAt(2)), MStlColor());
  EXPECT_EQ(colours.GetValues()[1000], MStlColor());
}

TEST(DataMask, ValuesAreReadAndWrittenThroughTheElementsSlot) {
  RecordingOwner owner;
  CornerColourMask mask(owner);
  RecordingOwner::Resize(mask, 3000);
  const MStlColorTrianglePoints red_green_blue(MStlColor(255, 0, 0), MStlColor(0, 255, 0), MStlColor(0, 0, 255));

  const MStlTriangle t = TriangleAt(2500);
  mask.SetInfo(t, red_green_blue);
  EXPECT_EQ(mask.GetInfo(t), red_green_blue);
  EXPECT_EQ(mask.GetInfo(TriangleAt(2499)), MStlColorTrianglePoints());

  // Another element with the same slot sees the same value; a write through the
  // reference shows in later reads.
  mask.GetInfo(TriangleAt(2500)).corners[1] = MStlColor(0x11223344u);
  EXPECT_EQ(mask.GetInfo(t).corners[1], MStlColor(0x11223344u));
  EXPECT_EQ(mask.GetInfo(t).corners[0], MStlColor(255, 0, 0));

  const CornerColourMask& read_only = mask;
  EXPECT_EQ(&read_only.GetInfo(t), &mask.GetInfo(t));
}

TEST(DataMask, CopyInfoAndSwapInfoMoveValuesBetweenElementsAndLeaveAnElementWithItselfAlone) {
  RecordingOwner owner;
  CornerColourMask mask(owner);
  RecordingOwner::Resize(mask, 2048);
  const MStlColorTrianglePoints a(MStlColor(1), MStlColor(2), MStlColor(3));
  const MStlColorTrianglePoints b(MStlColor(4), MStlColor(5), MStlColor(6));
  const MStlTriangle ta = TriangleAt(3), tb = TriangleAt(2000);
  mask.SetInfo(ta, a);
  mask.SetInfo(tb, b);

  mask.SwapInfo(ta, tb);
  EXPECT_EQ(mask.GetInfo(ta), b);
  EXPECT_EQ(mask.GetInfo(tb), a);
  mask.SwapInfo(ta, ta);
  EXPECT_EQ(mask.GetInfo(ta), b);

  mask.CopyInfo(tb, ta);
  EXPECT_EQ(mask.GetInfo(ta), a);
  EXPECT_EQ(mask.GetInfo(tb), a);
  mask.CopyInfo(tb, tb);
  EXPECT_EQ(mask.GetInfo(tb), a);

  // The same through the owner's hook, which hands in the elements by their slot base.
  mask.SetInfo(tb, b);
  RecordingOwner::Swap(mask, ta, tb);
  EXPECT_EQ(mask.GetInfo(ta), b);
  EXPECT_EQ(mask.GetInfo(tb), a);
  RecordingOwner::Copy(mask, ta, tb);
  EXPECT_EQ(mask.GetInfo(tb), b);
}

TEST(DataMask, CopyIsIndependentSharesTheOwnerAndDeregistersOnceWithItsOwnAddress) {
  RecordingOwner owner;
  auto original = std::make_unique<FloatMask>(owner, 3.0f);
  RecordingOwner::Resize(*original, 1500);
  original->SetInfo(PointAt(1400), 9.0f);
  original->SetFlag(true);
  const IDataMask* original_address = original.get();
  ASSERT_EQ(owner.registered.size(), 1u);
  EXPECT_EQ(owner.registered[0], original_address);

  auto copy = std::make_unique<FloatMask>(*original);
  const IDataMask* copy_address = copy.get();
  EXPECT_EQ(owner.registered.size(), 1u) << "a copy is not registered";
  EXPECT_EQ(copy->GetOwner(), &owner);
  EXPECT_TRUE(copy->GetFlag());
  EXPECT_EQ(copy->GetDefaultValue(), 3.0f);
  EXPECT_EQ(copy->GetCount(), 1500u);
  EXPECT_EQ(copy->GetInfo(PointAt(1400)), 9.0f);

  copy->SetInfo(PointAt(1400), -9.0f);
  EXPECT_EQ(original->GetInfo(PointAt(1400)), 9.0f) << "the copy has values of its own";

  copy.reset();
  EXPECT_EQ(owner.CountUnregistered(copy_address), 1);
  EXPECT_EQ(owner.CountUnregistered(original_address), 0);
  EXPECT_TRUE(owner.IsLive(original_address));

  original.reset();
  EXPECT_EQ(owner.CountUnregistered(original_address), 1);
  EXPECT_EQ(owner.unregistered.size(), 2u);
}

TEST(DataMask, AssignmentReplacesValuesAndDefaultButNoRegistrationAndSelfAssignmentChangesNothing) {
  RecordingOwner owner;
  MDataMask<MStlTriangle, DWORD> source(owner, 0xAAu), target(owner, 0xBBu);
  RecordingOwner::Resize(source, 1100);
  RecordingOwner::Resize(target, 5);
  source.SetInfo(TriangleAt(1050), 42u);
  source.SetFlag(true);

  target = source;
  EXPECT_EQ(target.GetCount(), 1100u);
  EXPECT_EQ(target.GetValues().GetNumPages(), 2u);
  EXPECT_EQ(target.GetInfo(TriangleAt(1050)), 42u);
  EXPECT_EQ(target.GetInfo(TriangleAt(0)), 0xAAu);
  EXPECT_EQ(target.GetDefaultValue(), 0xAAu);
  EXPECT_TRUE(target.GetFlag());
  EXPECT_EQ(owner.registered.size(), 2u);
  EXPECT_TRUE(owner.unregistered.empty());
  EXPECT_NE(&target.GetInfo(TriangleAt(1050)), &source.GetInfo(TriangleAt(1050)));

  const DWORD* before = &source.GetInfo(TriangleAt(1050));
  source = *&source;
  EXPECT_EQ(source.GetCount(), 1100u);
  EXPECT_EQ(source.GetInfo(TriangleAt(1050)), 42u);
  EXPECT_EQ(&source.GetInfo(TriangleAt(1050)), before) << "self-assignment keeps the pages";

  // Copy takes as many slots as the target holds, and the default, but not the count.
  MDataMask<MStlTriangle, DWORD> small(owner, 1u);
  RecordingOwner::Resize(small, 3);
  source.SetInfo(TriangleAt(2), 77u);
  small.Copy(source);
  EXPECT_EQ(small.GetCount(), 3u);
  EXPECT_EQ(small.GetInfo(TriangleAt(2)), 77u);
  EXPECT_EQ(small.GetDefaultValue(), 0xAAu);
}

TEST(DataMask, RegistrationFollowsTheOwnersAnswerAndRefusedMasksStillDeregister) {
  RecordingOwner refusing(false);
  {
    MDataMask<MStlSurface, MStlColor> mask(refusing);
    EXPECT_EQ(refusing.registered.size(), 1u);
    EXPECT_FALSE(refusing.IsLive(&mask));
    EXPECT_EQ(mask.GetCount(), 0u);
    EXPECT_TRUE(RecordingOwner::HasHook(mask));
  }
  EXPECT_EQ(refusing.unregistered.size(), 1u);
}

namespace {

// A mask that numbers its new slots instead of writing one default value.
class NumberingMask : public MDataMask<MStlPoint, float> {
public:
  using MDataMask::MDataMask;

protected:
  void _SetDefault(unsigned int slot) override { SetInfo(PointAt(slot), float(slot) + 0.5f); }
};

}  // namespace

TEST(DataMask, ResizingResetsNewSlotsThroughTheVirtualDefault) {
  RecordingOwner owner;
  NumberingMask mask(owner);
  RecordingOwner::Resize(mask, 1030);
  EXPECT_EQ(mask.GetInfo(PointAt(0)), 0.5f);
  EXPECT_EQ(mask.GetInfo(PointAt(1029)), 1029.5f);
}
