// The dialog templates of the board sheets' pages, control by control
// against their tables: ids, kinds, texts, and rectangles inside the
// template that do not overlap.
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "xcvr/gui/board_sheets.h"
#include "xcvr/gui/board_xmtr_pages.h"

namespace {

using lv::ControlKind;

struct Expected {
  int id;
  ControlKind kind;
  const wchar_t* text;  // null: not checked
};

struct TemplateCase {
  const char* name;
  lv::DialogTemplate (*make)();
  int width;
  int height;
  const wchar_t* caption;
  std::vector<Expected> controls;
  std::vector<std::wstring> labels;  // static texts and group titles without an id
};

bool Overlap(const lv::ControlTemplate& a, const lv::ControlTemplate& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

void CheckTemplate(const TemplateCase& c) {
  SCOPED_TRACE(c.name);
  const lv::DialogTemplate t = c.make();
  EXPECT_EQ(t.name, c.name);
  EXPECT_EQ(t.width, c.width);
  EXPECT_EQ(t.height, c.height);
  EXPECT_EQ(t.caption, c.caption);
  for (const Expected& e : c.controls) {
    const lv::ControlTemplate* ct = lv::FindControl(t, e.id);
    ASSERT_NE(ct, nullptr) << e.id;
    EXPECT_EQ(ct->kind, e.kind) << e.id;
    if (e.text != nullptr) {
      EXPECT_EQ(ct->text, e.text) << e.id;
    }
  }
  std::set<std::wstring> labels;
  std::set<int> ids;
  for (const lv::ControlTemplate& ct : t.controls) {
    if (ct.id == -1) labels.insert(ct.text);
    if (ct.id != -1) {
      EXPECT_TRUE(ids.insert(ct.id).second) << "duplicate id " << ct.id;
    }
    // Inside the template, with room to the edges.
    EXPECT_GE(ct.x, 5) << ct.id;
    EXPECT_GE(ct.y, 5) << ct.id;
    EXPECT_LE(ct.x + ct.w, t.width - 5) << ct.id;
    if (ct.kind != ControlKind::kDropDownList) {
      EXPECT_LE(ct.y + ct.h, t.height - 3) << ct.id;
    }
  }
  EXPECT_EQ(ids.size(), c.controls.size()) << "controls with ids beyond the table";
  for (const std::wstring& l : c.labels) {
    EXPECT_EQ(labels.count(l), 1u) << std::string(l.begin(), l.end());
  }
  // No two controls overlap, except a group box with what it holds and a
  // drop-down list with its open list.
  for (size_t i = 0; i < t.controls.size(); ++i) {
    for (size_t j = i + 1; j < t.controls.size(); ++j) {
      const lv::ControlTemplate& a = t.controls[i];
      const lv::ControlTemplate& b = t.controls[j];
      if (a.kind == ControlKind::kGroupBox || b.kind == ControlKind::kGroupBox) continue;
      if (a.kind == ControlKind::kDropDownList || b.kind == ControlKind::kDropDownList) {
        const lv::ControlTemplate& list = a.kind == ControlKind::kDropDownList ? a : b;
        const lv::ControlTemplate& other = a.kind == ControlKind::kDropDownList ? b : a;
        lv::ControlTemplate closed = list;
        closed.h = 12;
        EXPECT_FALSE(Overlap(closed, other)) << list.id << " / " << other.id;
        continue;
      }
      EXPECT_FALSE(Overlap(a, b)) << a.id << " '" << std::string(a.text.begin(), a.text.end()) << "' / " << b.id;
    }
  }
}

constexpr auto E = ControlKind::kEdit;
constexpr auto S = ControlKind::kStaticText;

TEST(BoardTemplates, TransmitterPages) {
  const std::vector<std::wstring> common = {L"File Name", L"File Contents", L"Total Time", L"Number of Points",
                                            L"Sample Rate"};
  auto with = [&](std::vector<std::wstring> extra) {
    extra.insert(extra.end(), common.begin(), common.end());
    return extra;
  };
  const TemplateCase cases[] = {
      {"125", AD9081XmtrPageTemplate, 303, 152, L"Xmtr",
       {{1341, S, nullptr},
        {1229, ControlKind::kCheckBox, L"Use this transmitter"},
        {1241, E, L""},
        {1242, ControlKind::kFrame, L""},
        {1232, E, L""},
        {1233, ControlKind::kPushButton, L"Browse"},
        {1234, E, L""},
        {1235, S, L""},
        {1236, E, L""},
        {1237, E, L""},
        {1238, S, L""}},
       with({L"Center frequency"})},
      {"129", AD9361XmtrPageTemplate, 303, 146, L"Xmtr",
       {{1274, ControlKind::kCheckBox, L"Use this transmitter"},
        {1276, E, L""},
        {1277, E, L""},
        {1278, ControlKind::kPushButton, L"Browse"},
        {1279, E, L""},
        {1280, S, L""},
        {1281, E, L""},
        {1282, E, L""},
        {1283, S, L""}},
       with({L"Attenuation (dB)"})},
      {"138", AD9371XmtrPageTemplate, 303, 146, L"Xmtr",
       {{1332, ControlKind::kCheckBox, L"Use this transmitter"},
        {1333, E, L""},
        {1334, E, L""},
        {1335, ControlKind::kPushButton, L"Browse"},
        {1336, E, L""},
        {1337, S, L""},
        {1338, E, L""},
        {1339, E, L""},
        {1340, S, L""}},
       with({L"Attenuation (dB)"})},
      {"119", ADRV9009XmtrPageTemplate, 303, 146, L"Xmtr",
       {{1185, ControlKind::kCheckBox, L"Use this transmitter"},
        {1187, E, L""},
        {1115, E, L""},
        {1116, ControlKind::kPushButton, L"Browse"},
        {1188, E, L""},
        {1189, S, L""},
        {1190, E, L""},
        {1191, E, L""},
        {1192, S, L""}},
       with({L"Attenuation (dB)"})},
  };
  for (const TemplateCase& c : cases) CheckTemplate(c);
  // The file-contents values are read-only; the file name is typed into.
  const lv::DialogTemplate t = AD9361XmtrPageTemplate();
  for (int id : {1279, 1281, 1282}) {
    EXPECT_TRUE(lv::FindControl(t, id)->style & lv::kStyleReadOnly) << id;
  }
  EXPECT_FALSE(lv::FindControl(t, 1277)->style & lv::kStyleReadOnly);
}

TEST(BoardTemplates, CommonPages) {
  const std::vector<std::wstring> backoff = {L"Transmitter Amplitude Backoff (to prevent overflow)", L"Backoff", L"dB",
                                             L"Configuration"};
  auto with = [&](std::vector<std::wstring> extra) {
    extra.insert(extra.end(), backoff.begin(), backoff.end());
    return extra;
  };
  const auto L = ControlKind::kDropDownList;
  const auto C = ControlKind::kCheckBox;
  const auto F = ControlKind::kFrame;
  const wchar_t* autoText = L"Automatically set the backoff";
  const TemplateCase cases[] = {
      {"123", AD9081CommonPageTemplate, 213, 134, L"All",
       {{1221, L, nullptr}, {1222, E, L""}, {1223, S, L""}, {1224, E, L""}, {1225, S, L""}, {1332, C, autoText},
        {1015, E, L""}},
       with({L"Sample Rate and Filter", L"Sample rate", L"3dB bandwidth"})},
      {"130", AD9361CommonPageTemplate, 213, 152, L"Common",
       {{1267, E, L""}, {1268, F, L""}, {1269, L, nullptr}, {1270, E, L""}, {1271, S, L""}, {1272, E, L""},
        {1273, S, L""}, {1346, C, autoText}, {1347, E, L""}},
       with({L"Transmit frequency", L"Sample Rate and Filter", L"Sample rate", L"3dB bandwidth"})},
      {"136", AD9371CommonPageTemplate, 213, 152, L"Common",
       {{1320, E, L""}, {1321, F, L""}, {1325, L, nullptr}, {1326, E, L""}, {1327, S, L""}, {1328, E, L""},
        {1329, S, L""}, {1348, C, autoText}, {1349, E, L""}},
       with({L"Transmit frequency", L"Sample Rates", L"Xmtr sample rate", L"Rcvr sample rate"})},
      {"118", ADRV9009CommonPageTemplate, 213, 152, L"All",
       {{1168, E, L""}, {1169, F, L""}, {1180, L, nullptr}, {1181, E, L""}, {1183, S, L""}, {1182, E, L""},
        {1184, S, L""}, {1350, C, autoText}, {1351, E, L""}},
       with({L"Center frequency", L"Sample Rate and Filter", L"Sample rate", L"3dB bandwidth"})},
  };
  for (const TemplateCase& c : cases) CheckTemplate(c);
}

}  // namespace
