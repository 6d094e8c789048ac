// Background blocks: defaults, growth by one, reuse after clearing, index
// checks, and the hatch of each pattern code.
#include <gtest/gtest.h>

#include "support/errors.h"
#include "plots/background_blocks.h"

namespace {

TEST(CWBackgroundBlock, Defaults) {
  const CWBackgroundBlock b;
  EXPECT_FALSE(b.on);
  EXPECT_EQ(b.xStart, 0.0);
  EXPECT_EQ(b.xEnd, 1.0);
  EXPECT_EQ(b.color, 6);
  EXPECT_EQ(b.pattern, 0);
}

TEST(CWBackgroundBlock, PatternCodesChooseTheHatch) {
  EXPECT_EQ(CWBackgroundBlock::HatchOf(0), lv::HatchStyle::kDiagonalCross);
  EXPECT_EQ(CWBackgroundBlock::HatchOf(1), lv::HatchStyle::kBackwardDiagonal);
  EXPECT_EQ(CWBackgroundBlock::HatchOf(2), lv::HatchStyle::kForwardDiagonal);
  EXPECT_EQ(CWBackgroundBlock::HatchOf(3), lv::HatchStyle::kHorizontal);
  EXPECT_FALSE(CWBackgroundBlock::HatchOf(4).has_value());
  EXPECT_FALSE(CWBackgroundBlock::HatchOf(-1).has_value());
}

TEST(CWBackgroundBlockList, GrowsByOneAndReusesItsBlocksAfterClearing) {
  CWBackgroundBlockList list;
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetCapacity(), 0);
  for (int i = 0; i < 3; ++i) {
    CWBackgroundBlock b;
    b.on = true;
    b.xStart = i;
    b.xEnd = i + 0.5;
    b.pattern = i;
    list.AddItem(&b);
    EXPECT_EQ(list.GetCount(), i + 1);
    EXPECT_EQ(list.GetCapacity(), i + 1);
  }
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(list.GetItem(i)->xStart, i);
    EXPECT_EQ(list.GetItem(i)->pattern, i);
  }
  const CWBackgroundBlock* first = list.GetItem(0);
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetCapacity(), 3);
  for (int i = 0; i < 3; ++i) {
    CWBackgroundBlock b;
    b.color = 10 + i;
    list.AddItem(&b);
    EXPECT_EQ(list.GetCapacity(), 3);
  }
  // The same array serves again.
  EXPECT_EQ(list.GetItem(0), first);
  EXPECT_EQ(list.GetItem(2)->color, 12);
  CWBackgroundBlock fourth;
  list.AddItem(&fourth);
  EXPECT_EQ(list.GetCapacity(), 4);
  EXPECT_EQ(list.GetItem(2)->color, 12);
}

TEST(CWBackgroundBlockList, BadIndicesAndNullBlocksAreRefused) {
  CWBackgroundBlockList list;
  EXPECT_EQ(lv_test::Catch([&list] { list.GetItem(0); }).message, "Invalid item index.");
  CWBackgroundBlock b;
  list.AddItem(&b);
  list.AddItem(&b);
  const lv_test::CaughtError atCount = lv_test::Catch([&list] { list.GetItem(2); });
  EXPECT_EQ(atCount.message, "Invalid item index.");
  EXPECT_NE(atCount.callStack.find("CWBackgroundBlockList::GetItem"), std::string::npos);
  EXPECT_EQ(lv_test::Catch([&list] { list.GetItem(-1); }).message, "Invalid item index.");
  const lv_test::CaughtError null = lv_test::Catch([&list] { list.AddItem(nullptr); });
  EXPECT_EQ(null.message, "NULL pointer to item to add to list.");
  EXPECT_NE(null.callStack.find("CWBackgroundBlockList::AddItem"), std::string::npos);
  EXPECT_EQ(list.GetCount(), 2);
}

}  // namespace
