// Typed data masks against an owner double: paging, resizing, copies and the
// registration dialogue.
#include "MaskTestSupport.h"

#include "vistal/masks/MDataMask.h"

#include <gtest/gtest.h>

#include <memory>

using mask_test::RecordingOwner;

namespace {

// An element with a chosen slot; masks read nothing else.
template <typename E = MStlPoint>
E At(unsigned slot) {
  E e;
  e.SetMaskIndex(slot);
  return e;
}

using FloatMask = MDataMask<MStlPoint, float>;
using CornerColourMask = MDataMask<MStlTriangle, MStlColorTrianglePoints>;

// Value 1023 is the last of the first page, 1024 the first of the second: the two must
// not share storage, and growing must not move what is already there.
TEST(DataMask, PagesHoldExactly1024ValuesAndAreAddedAndDroppedAtTheBoundaries) {
  RecordingOwner owner;
  FloatMask mask(owner, 7.5f);
  EXPECT_EQ(mask.GetValues().GetNumPages(), 0u);
  float* last_of_first = nullptr;
  const std::pair<unsigned, unsigned> countAndPages[] = {{0, 0}, {1, 1}, {1024, 1}, {1025, 2}, {5000, 5}, {0, 0}};
  for (auto [count, pages] : countAndPages) {
    RecordingOwner::Resize(mask, count);
    EXPECT_EQ(mask.GetCount(), count);
    EXPECT_EQ(mask.GetValues().GetNumPages(), pages) << count;
    EXPECT_EQ(mask.GetValues().GetCapacity(), 1024 * pages) << count;
    if (count == 0) continue;
    EXPECT_EQ(mask.GetInfo(At(count - 1)), 7.5f) << count;
    if (count == 1024) *(last_of_first = &mask.GetInfo(At(1023))) = 1.0f;
    if (count > 1024) {
      EXPECT_EQ(&mask.GetInfo(At(1023)), last_of_first) << count;
      mask.SetInfo(At(1024), 2.0f);
      EXPECT_EQ(*last_of_first, 1.0f) << count;
    }
  }
}

TEST(DataMask, ShrinkingKeepsWhatRemainsAndGrowingAgainResetsToTheDefault) {
  RecordingOwner owner;
  FloatMask mask(owner, -1.0f);
  RecordingOwner::Resize(mask, 2000);
  for (unsigned i = 0; i < 30; ++i) mask.SetInfo(At(i), float(i));

  RecordingOwner::Resize(mask, 10);
  EXPECT_EQ(mask.GetValues().GetCapacity(), 1024u);
  EXPECT_EQ(mask.GetValues()[25], 25.0f);  // past the count but in the kept page: untouched
  RecordingOwner::Resize(mask, 20);
  for (unsigned i = 0; i < 20; ++i) EXPECT_EQ(mask.GetInfo(At(i)), i < 10 ? float(i) : -1.0f) << i;
  EXPECT_EQ(mask.GetValues()[25], 25.0f);

  // A default changed in between is what the regrown slots get.
  mask.SetDefaultValue(4.0f);
  RecordingOwner::Resize(mask, 21);
  EXPECT_EQ(mask.GetInfo(At(20)), 4.0f);
  EXPECT_EQ(mask.GetInfo(At(19)), -1.0f);
}

// Directly and through the owner's hook, which hands in the elements by their slot base;
// an element with itself is left alone.
TEST(DataMask, CopyInfoAndSwapInfoMoveValuesBetweenElements) {
  RecordingOwner owner;
  CornerColourMask mask(owner);
  RecordingOwner::Resize(mask, 2048);
  const MStlColorTrianglePoints a(MStlColor(1), MStlColor(2), MStlColor(3));
  const MStlColorTrianglePoints b(MStlColor(4), MStlColor(5), MStlColor(6));
  const MStlTriangle ta = At<MStlTriangle>(3), tb = At<MStlTriangle>(2000);
  mask.SetInfo(ta, a);
  mask.SetInfo(tb, b);

  mask.SwapInfo(ta, tb);
  mask.SwapInfo(ta, ta);
  EXPECT_EQ(mask.GetInfo(ta), b);
  EXPECT_EQ(mask.GetInfo(tb), a);
  mask.CopyInfo(tb, ta);
  mask.CopyInfo(tb, tb);
  EXPECT_EQ(mask.GetInfo(ta), a);
  EXPECT_EQ(mask.GetInfo(tb), a);

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
  original->SetInfo(At(1400), 9.0f);
  original->SetFlag(true);
  const IDataMask* original_address = original.get();

  auto copy = std::make_unique<FloatMask>(*original);
  const IDataMask* copy_address = copy.get();
  EXPECT_EQ(owner.registered, std::vector<const IDataMask*>{original_address}) << "a copy is not registered";
  EXPECT_EQ(copy->GetOwner(), &owner);
  EXPECT_TRUE(copy->GetFlag());
  EXPECT_EQ(copy->GetDefaultValue(), 3.0f);
  EXPECT_EQ(copy->GetCount(), 1500u);
  copy->SetInfo(At(1400), -9.0f);
  EXPECT_EQ(original->GetInfo(At(1400)), 9.0f) << "the copy has values of its own";

  copy.reset();
  original.reset();
  EXPECT_EQ(owner.unregistered, (std::vector<const IDataMask*>{copy_address, original_address}));
}

TEST(DataMask, AssignmentReplacesValuesAndDefaultButNoRegistrationAndSelfAssignmentChangesNothing) {
  RecordingOwner owner;
  MDataMask<MStlTriangle, DWORD> source(owner, 0xAAu), target(owner, 0xBBu);
  RecordingOwner::Resize(source, 1100);
  RecordingOwner::Resize(target, 5);
  source.SetInfo(At<MStlTriangle>(1050), 42u);
  source.SetFlag(true);

  target = source;
  EXPECT_EQ(target.GetCount(), 1100u);
  EXPECT_EQ(target.GetInfo(At<MStlTriangle>(1050)), 42u);
  EXPECT_EQ(target.GetInfo(At<MStlTriangle>(0)), 0xAAu);
  EXPECT_EQ(target.GetDefaultValue(), 0xAAu);
  EXPECT_TRUE(target.GetFlag());
  EXPECT_EQ(owner.registered.size(), 2u);
  EXPECT_TRUE(owner.unregistered.empty());
  EXPECT_NE(&target.GetInfo(At<MStlTriangle>(1050)), &source.GetInfo(At<MStlTriangle>(1050)));

  const DWORD* before = &source.GetInfo(At<MStlTriangle>(1050));
  source = *&source;
  EXPECT_EQ(source.GetCount(), 1100u);
  EXPECT_EQ(&source.GetInfo(At<MStlTriangle>(1050)), before) << "self-assignment keeps the pages";
  EXPECT_EQ(*before, 42u);

  // Copy takes as many slots as the target holds, and the default, but not the count.
  MDataMask<MStlTriangle, DWORD> small(owner, 1u);
  RecordingOwner::Resize(small, 3);
  source.SetInfo(At<MStlTriangle>(2), 77u);
  small.Copy(source);
  EXPECT_EQ(small.GetCount(), 3u);
  EXPECT_EQ(small.GetInfo(At<MStlTriangle>(2)), 77u);
  EXPECT_EQ(small.GetDefaultValue(), 0xAAu);
}

TEST(DataMask, RegistrationFollowsTheOwnersAnswerAndRefusedMasksStillDeregister) {
  RecordingOwner refusing(false);
  {
    MDataMask<MStlSurface, MStlColor> mask(refusing);
    EXPECT_EQ(refusing.registered.size(), 1u);
    EXPECT_EQ(mask.GetCount(), 0u);
    EXPECT_TRUE(RecordingOwner::HasHook(mask));
  }
  EXPECT_EQ(refusing.unregistered.size(), 1u);
}

// A mask that numbers its new slots instead of writing one default value.
class NumberingMask : public FloatMask {
public:
  using MDataMask::MDataMask;

protected:
  void _SetDefault(unsigned int slot) override { SetInfo(At(slot), float(slot) + 0.5f); }
};

TEST(DataMask, ResizingResetsNewSlotsThroughTheVirtualDefault) {
  RecordingOwner owner;
  NumberingMask mask(owner);
  RecordingOwner::Resize(mask, 1030);
  EXPECT_EQ(mask.GetInfo(At(0)), 0.5f);
  EXPECT_EQ(mask.GetInfo(At(1029)), 1029.5f);
}

}  // namespace
