// The host core's string table.
#include "host/core/ResourceStrings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ResourceStrings, KnownIdsGiveTheirTextAndUnknownOnesAnEmptyString) {
  EXPECT_EQ(std::wstring(GetResourceString(7622)), L"Volume Rendering");
  EXPECT_EQ(std::wstring(GetResourceString(ResourceStringIds::kPreviewRotate)), L"Rotate");
  const wchar_t* unknown = GetResourceString(123456789);
  ASSERT_NE(unknown, nullptr);
  EXPECT_EQ(std::wstring(unknown), L"");
}

TEST(ResourceStrings, HostTextsCanBeAddedAndReplacedWithoutInvalidatingEarlierPointers) {
  SetResourceString(900001, L"Pr\u00e9visualisation");
  const wchar_t* before = GetResourceString(900001);
  EXPECT_EQ(std::wstring(before), L"Pr\u00e9visualisation");
  SetResourceString(900001, L"Preview");
  EXPECT_EQ(std::wstring(GetResourceString(900001)), L"Preview");
  EXPECT_EQ(std::wstring(before), L"Pr\u00e9visualisation");
  SetResourceString(900002, nullptr);
  EXPECT_EQ(std::wstring(GetResourceString(900002)), L"");
}

}  // namespace
