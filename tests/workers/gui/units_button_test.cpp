// CWUnitsButton: the unit table, the choice of unit for a value, and the
// button on a real dialog (offscreen): its place, font, click and menu.
#include "workers/gui/units_button.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/gui/dialog.h"
#include "platform/gui/popup_menu.h"
#include "support/gui_app.h"

namespace {

struct Row {
  int32_t code;
  const wchar_t* text;
  double factor;
  uint32_t command;
};

const Row kTable[] = {
    {1, L"sec", 1.0, 36200},     {2, L"msec", 1e-3, 36201},     {3, L"usec", 1e-6, 36202},
    {4, L"nsec", 1e-9, 36203},   {5, L"psec", 1e-12, 36204},    {6, L"Hz", 1.0, 36208},
    {7, L"kHz", 1e3, 36207},     {8, L"MHz", 1e6, 36206},       {9, L"GHz", 1e9, 36205},
    {10, L"sps", 1.0, 36212},    {11, L"ksps", 1e3, 36211},     {12, L"Msps", 1e6, 36210},
    {13, L"Gsps", 1e9, 36209},   {14, L"sps", 1.0, 36216},      {15, L"ksps", 1e3, 36215},
    {16, L"Msps", 1e6, 36214},   {17, L"Gsps", 1e9, 36213},     {18, L"Points", 1.0, 36220},
    {19, L"kPoints", 1e3, 36219}, {20, L"MPoints", 1e6, 36218}, {21, L"GPoints", 1e9, 36217},
};

TEST(UnitsButtonTable, EveryCodeHasItsTextFactorAndCommand) {
  for (const Row& r : kTable) {
    SCOPED_TRACE(r.code);
    CWUnitsButton b(r.code);
    EXPECT_EQ(b.GetUnitCode(), r.code);
    EXPECT_EQ(b.GetUnitsText(), r.text);
    EXPECT_EQ(b.GetMultiplier(), r.factor);
    EXPECT_EQ(CWUnitsButton::UnitCommand(r.code), r.command);
    EXPECT_EQ(CWUnitsButton::CodeOfCommand(r.command), r.code);
  }
}

TEST(UnitsButtonTable, CodesOutsideTheTableHaveNoTextFactorOneAndNoMenu) {
  for (int32_t code : {0, -1, 22, 100, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
    SCOPED_TRACE(code);
    CWUnitsButton b(code);
    EXPECT_EQ(b.GetUnitsText(), L"");
    EXPECT_EQ(b.GetMultiplier(), 1.0);
    b.BuildUnitsMenu();
    EXPECT_TRUE(b.Menu().empty());
    // The choice of unit leaves such a code (and its empty text) alone.
    b.SelectUnitsForValue(2.5e6);
    EXPECT_EQ(b.GetUnitCode(), code);
    EXPECT_EQ(b.GetUnitsText(), L"");
    EXPECT_EQ(CWUnitsButton::UnitCommand(code), 0u);
  }
  EXPECT_EQ(CWUnitsButton::CodeOfCommand(36199), 0);
  EXPECT_EQ(CWUnitsButton::CodeOfCommand(36221), 0);
}

TEST(UnitsButtonTable, MenusListTheFamilyLargestUnitFirst) {
  struct Case {
    int32_t code;
    std::vector<std::wstring> texts;
    std::vector<uint32_t> commands;
  };
  const Case cases[] = {
      {3, {L"sec", L"msec", L"usec", L"nsec", L"psec"}, {36200, 36201, 36202, 36203, 36204}},
      {6, {L"GHz", L"MHz", L"kHz", L"Hz"}, {36205, 36206, 36207, 36208}},
      {12, {L"Gsps", L"Msps", L"ksps", L"sps"}, {36209, 36210, 36211, 36212}},
      {14, {L"Gsps", L"Msps", L"ksps", L"sps"}, {36213, 36214, 36215, 36216}},
      {21, {L"GPoints", L"MPoints", L"kPoints", L"Points"}, {36217, 36218, 36219, 36220}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    CWUnitsButton b(c.code);
    b.BuildUnitsMenu();
    ASSERT_EQ(b.Menu().size(), c.texts.size());
    for (size_t i = 0; i < c.texts.size(); ++i) {
      EXPECT_EQ(b.Menu()[i].text, c.texts[i]);
      EXPECT_EQ(b.Menu()[i].id, c.commands[i]);
    }
    b.CheckCurrentUnits();
    int checked = 0;
    for (const auto& item : b.Menu()) {
      checked += item.checked ? 1 : 0;
      EXPECT_EQ(item.checked, item.id == CWUnitsButton::UnitCommand(c.code));
    }
    EXPECT_EQ(checked, 1);
  }
}

TEST(UnitsButtonTable, SelectUnitsForValuePicksTheUnitOfEachDecadeAndBoundary) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    int32_t start;
    double value;
    int32_t expected;
  };
  const Case cases[] = {
      // time: strict comparisons at every boundary, 0 gives psec, NaN sec
      {4, 0.0, 5}, {4, 3e-8, 4}, {4, 1e-12, 5}, {4, 9.99e-10, 5}, {4, 1e-9, 4}, {4, 1e-6, 3},
      {4, 2.5e-6, 3}, {4, 1e-3, 2}, {4, 0.5, 2}, {4, 1.0, 1}, {4, 3600.0, 1}, {4, -2.5e-6, 3},
      {1, nan, 1}, {5, nan, 1}, {2, inf, 1},
      // frequency
      {8, 0.0, 6}, {8, -250.0, 6}, {8, 999.999, 6}, {8, 1e3, 7}, {8, 1.5e6, 8}, {8, 1e6, 8},
      {8, 2.4e9, 9}, {8, 1e9, 9}, {6, 1e12, 9}, {8, nan, 9}, {8, -3e3, 7},
      // both sample-rate families stay in their own family
      {12, 0.0, 10}, {12, 1e3, 11}, {10, 30.72e6, 12}, {10, 6e9, 13}, {11, nan, 13},
      {16, 0.0, 14}, {16, 1e3, 15}, {14, 30.72e6, 16}, {14, 6e9, 17}, {15, nan, 17},
      // points
      {18, 0.0, 18}, {18, 999.0, 18}, {18, 1000.0, 19}, {18, 1048576.0, 20}, {18, 4e9, 21}, {19, nan, 21},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << " " << c.value);
    CWUnitsButton b(c.start);
    b.SelectUnitsForValue(c.value);
    EXPECT_EQ(b.GetUnitCode(), c.expected);
    EXPECT_EQ(b.GetUnitsText(), CWUnitsButton::UnitText(c.expected));
    EXPECT_EQ(b.GetMultiplier(), CWUnitsButton::UnitFactor(c.expected));
  }
}

TEST(UnitsButtonTable, AButtonWithoutAWindowStillChangesItsUnitFromACommand) {
  CWUnitsButton b(8);
  b.OnUnitsCommand(36207);
  EXPECT_EQ(b.GetUnitsText(), L"kHz");
  b.OnUnitsCommand(12345);  // not a unit command: nothing changes
  EXPECT_EQ(b.GetUnitsText(), L"kHz");
  b.OnLButtonUp(lv::Point{1, 1});  // no window: no menu
  EXPECT_EQ(b.GetUnitCode(), 7);
}

// ---- on a real dialog ---------------------------------------------------------

constexpr int kEditId = 100;
constexpr int kPlaceId = 200;
constexpr int kOtherPlaceId = 201;

class OwnerDialog : public lv::Dialog {
 public:
  OwnerDialog() : lv::Dialog(Template()), units(8) {}

  static lv::DialogTemplate Template() {
    lv::DialogTemplate t;
    t.name = "UnitsTest";
    t.caption = L"Units";
    t.width = 120;
    t.height = 40;
    t.controls = {
        {kEditId, lv::ControlKind::kEdit, L"100", 7, 7, 60, 12, lv::kStyleTabStop | lv::kStyleBorder},
        {kPlaceId, lv::ControlKind::kFrame, L"", 70, 7, 30, 12, lv::kStyleHidden},
        {kOtherPlaceId, lv::ControlKind::kFrame, L"", 70, 22, 30, 12, lv::kStyleNone},
    };
    return t;
  }

  bool OnInitDialog() override {
    created = units.Create(*this, kPlaceId);
    return true;
  }
  void OnButtonClicked(int id) override {
    clicks.push_back(id);
    codesAtClick.push_back(units.GetUnitCode());
  }

  // The edit's number in base units, as an owner reads it.
  double Value() const { return std::stod(GetItemText(kEditId)) * units.GetMultiplier(); }

  CWUnitsButton units;
  bool created = false;
  std::vector<int> clicks;
  std::vector<int32_t> codesAtClick;
};

class UnitsButtonWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    lv_test::EnsureGuiApplication();
    lv::ClearPopupMenuAnswers();
    ASSERT_TRUE(dialog_.Create());
    ASSERT_TRUE(dialog_.created);
    dialog_.Show(true);
  }
  void TearDown() override {
    EXPECT_EQ(lv::ClearPopupMenuAnswers(), 0) << "a queued menu answer was not used";
    dialog_.Destroy();
  }
  // Clicks the middle of the button; the menu takes the queued answer.
  void ClickButton() {
    const lv::Rect r = dialog_.GetItemRect(kPlaceId);
    ASSERT_TRUE(lv::MouseClickControl(dialog_, kPlaceId, lv::Point{r.Width() / 2, r.Height() / 2}));
  }

  OwnerDialog dialog_;
};

TEST_F(UnitsButtonWindow, TakesThePlaceholdersRectangleIdAndTheDialogFont) {
  const lv::Rect expected = dialog_.MapDialogRect(70, 7, 30, 12);
  EXPECT_EQ(dialog_.GetItemRect(kPlaceId), expected);
  EXPECT_TRUE(dialog_.IsItemVisible(kPlaceId));
  EXPECT_EQ(dialog_.GetItemText(kPlaceId), L"MHz");
  EXPECT_EQ(dialog_.GetItemFont(kPlaceId), dialog_.GetFont());
  EXPECT_TRUE(dialog_.units.HasWindow());
  EXPECT_EQ(dialog_.units.ControlId(), kPlaceId);
  // The other placeholder stays what it is.
  EXPECT_EQ(dialog_.GetItemRect(kOtherPlaceId), dialog_.MapDialogRect(70, 22, 30, 12));
}

TEST_F(UnitsButtonWindow, ACreateOverAMissingPlaceholderFailsAndLeavesNoWindow) {
  CWUnitsButton other(4);
  EXPECT_FALSE(other.Create(dialog_, 999));
  EXPECT_FALSE(other.HasWindow());
  EXPECT_EQ(other.GetUnitsText(), L"nsec");
}

TEST_F(UnitsButtonWindow, SelectUnitsForValueSetsTheCaption) {
  dialog_.units.SelectUnitsForValue(2.4e9);
  EXPECT_EQ(dialog_.GetItemText(kPlaceId), L"GHz");
  EXPECT_EQ(dialog_.units.GetMultiplier(), 1e9);
}

TEST_F(UnitsButtonWindow, AChoiceChangesTheUnitNotTheNumberAndNotifiesTheOwnerOnce) {
  std::vector<lv::MenuItem> shownItems;
  lv::Point shownAt;
  lv::AnswerNextPopupMenu([&](const lv::ShownPopupMenu& shown) {
    shownItems = shown.Items();
    shownAt = shown.Position();
    return 36207u;  // kHz
  });
  ClickButton();
  // The ordinary click first (still in MHz), then the unit change.
  ASSERT_EQ(dialog_.clicks, (std::vector<int>{kPlaceId, kPlaceId}));
  EXPECT_EQ(dialog_.codesAtClick, (std::vector<int32_t>{8, 7}));
  ASSERT_EQ(shownItems.size(), 4u);
  EXPECT_EQ(shownItems[0].text, L"GHz");
  EXPECT_EQ(shownItems[3].text, L"Hz");
  EXPECT_TRUE(shownItems[1].checked);  // MHz, the current unit
  EXPECT_FALSE(shownItems[2].checked);
  const lv::Rect r = dialog_.GetItemRect(kPlaceId);
  EXPECT_EQ(shownAt.x, r.Width() / 2);  // at the release point
  EXPECT_EQ(shownAt.y, r.Height() / 2);
  EXPECT_EQ(dialog_.GetItemText(kPlaceId), L"kHz");
  EXPECT_EQ(dialog_.GetItemText(kEditId), L"100");
  EXPECT_DOUBLE_EQ(dialog_.Value(), 100000.0);
}

TEST_F(UnitsButtonWindow, ADismissedMenuGivesOnlyTheOrdinaryClick) {
  lv::AnswerNextPopupMenu([](const lv::ShownPopupMenu&) { return 0u; });
  ClickButton();
  EXPECT_EQ(dialog_.clicks, (std::vector<int>{kPlaceId}));
  EXPECT_EQ(dialog_.GetItemText(kPlaceId), L"MHz");
}

TEST_F(UnitsButtonWindow, ACommandOfAnotherFamilyIsNotChosenFromTheMenu) {
  // The answer names the "usec" command, which this menu does not hold.
  lv::AnswerNextPopupMenu([](const lv::ShownPopupMenu&) { return 36202u; });
  ClickButton();
  EXPECT_EQ(dialog_.clicks, (std::vector<int>{kPlaceId}));
  EXPECT_EQ(dialog_.units.GetUnitCode(), 8);
}

TEST_F(UnitsButtonWindow, TheCheckMarkFollowsTheCurrentUnitEachTimeTheMenuOpens) {
  std::vector<std::wstring> checked;
  auto answer = [&](uint32_t command) {
    return [&checked, command](const lv::ShownPopupMenu& shown) {
      for (const auto& item : shown.Items()) {
        if (item.checked) checked.push_back(item.text);
      }
      return command;
    };
  };
  lv::AnswerNextPopupMenu(answer(36205));  // GHz
  ClickButton();
  lv::AnswerNextPopupMenu(answer(36208));  // Hz
  ClickButton();
  lv::AnswerNextPopupMenu(answer(0));
  ClickButton();
  EXPECT_EQ(checked, (std::vector<std::wstring>{L"MHz", L"GHz", L"Hz"}));
  EXPECT_EQ(dialog_.GetItemText(kPlaceId), L"Hz");
}

TEST_F(UnitsButtonWindow, AReleaseOutsideTheButtonOpensNoMenu) {
  const lv::Rect r = dialog_.GetItemRect(kPlaceId);
  ASSERT_TRUE(lv::MouseClickControl(dialog_, kPlaceId, lv::Point{r.Width() + 20, r.Height() + 20}));
  EXPECT_TRUE(dialog_.clicks.empty());
}

TEST_F(UnitsButtonWindow, AButtonDeletedWhileItsMenuIsOpenChangesNothing) {
  auto other = std::make_unique<CWUnitsButton>(CWUnitsButton::kNsec);
  ASSERT_TRUE(other->Create(dialog_, kOtherPlaceId));
  lv::AnswerNextPopupMenu([&](const lv::ShownPopupMenu&) {
    other.reset();
    return 36202u;  // usec, for a button that is gone
  });
  const lv::Rect r = dialog_.GetItemRect(kOtherPlaceId);
  ASSERT_TRUE(lv::MouseClickControl(dialog_, kOtherPlaceId, lv::Point{r.Width() / 2, r.Height() / 2}));
  // Only the ordinary click arrived; the caption stayed.
  EXPECT_EQ(dialog_.clicks, (std::vector<int>{kOtherPlaceId}));
  EXPECT_EQ(dialog_.GetItemText(kOtherPlaceId), L"nsec");
  // A later click of the orphaned window opens no menu.
  ASSERT_TRUE(lv::MouseClickControl(dialog_, kOtherPlaceId, lv::Point{r.Width() / 2, r.Height() / 2}));
  EXPECT_EQ(dialog_.clicks, (std::vector<int>{kOtherPlaceId, kOtherPlaceId}));
}

TEST_F(UnitsButtonWindow, GalleryOpenMenu) {
  const std::string folder = lv_test::GalleryFolder("units");
  const std::string menuPath = folder + "/units_menu_frequency.png";
  std::filesystem::remove(menuPath);
  bool saved = false;
  lv::AnswerNextPopupMenu([&](const lv::ShownPopupMenu& shown) {
    saved = shown.SavePng(menuPath);
    return 0u;
  });
  ClickButton();
  EXPECT_TRUE(saved);
  EXPECT_TRUE(std::filesystem::exists(menuPath));
}

}  // namespace
