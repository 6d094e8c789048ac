#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "workers/settings_file.h"
#include "core/error.h"
#include "temp_dir.h"
#include "support/errors.h"

namespace {

using lv_test::ReadBytes;
using lv_test::WriteBytes;

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir.Path().empty());
    file = dir.Path() / "Lumvard Sorvek Settings.config";
    store.SetFileName(file);
  }
  // A store over a file with these bytes.
  void Given(const std::string& bytes) { WriteBytes(file, bytes); }

  lv_test::TempDir dir;
  std::filesystem::path file;
  CQAppSettings store;
};

TEST_F(SettingsFile, EveryValueFormByteForByte) {
  store.ResetContents();
  store.SetValue(L"MainWindow:Rect", CWRect{100, 10, 800, 610});
  store.SetValue(L"A:On", true);
  store.SetValue(L"A:Off", false);
  store.SetValue(L"A:Int", int32_t{-42});
  store.SetValue(L"A:Float", 0.125f);
  store.SetValue(L"A:Double", 2.412345678e9);
  store.SetValue(L"A:Text", L"caf\u00e9 \u00ff");
  store.SetValue(L"A:Empty", L"");
  store.SetValue(L"A:Null", static_cast<const wchar_t*>(nullptr));  // writes nothing
  EXPECT_EQ(ReadBytes(file),
            "Settings File v1\r\n"
            "MainWindow:Rect = 10 100 610 800\r\n"
            "A:On = 1\r\n"
            "A:Off = 0\r\n"
            "A:Int = -42\r\n"
            "A:Float = 1.25000000e-01\r\n"
            "A:Double = 2.4123456780000000e+09\r\n"
            "A:Text = \"caf\xE9 \xFF\"\r\n"
            "A:Empty = \"\"\r\n");

  CWRect r;
  ASSERT_TRUE(store.GetValue(L"MainWindow:Rect", &r));
  EXPECT_EQ(r, (CWRect{100, 10, 800, 610}));
  std::wstring text;
  ASSERT_TRUE(store.GetValue(L"A:Text", &text));
  EXPECT_EQ(text, L"caf\u00e9 \u00ff");
  text = L"kept";
  EXPECT_FALSE(store.GetValue(L"A:Empty", &text)) << "an empty string reads as not found";
  EXPECT_FALSE(store.GetValue(L"A:Null", &text));
  EXPECT_EQ(text, L"kept");
}

TEST_F(SettingsFile, CharactersAboveLatin1AreRefused) {
  store.ResetContents();
  EXPECT_TRUE(lv_test::ThrowsError([&] { store.SetValue(L"Key\u0101", 1); }, "Error writing to settings file.",
                                   "CQAppSettings::SetValue\n"));
  EXPECT_TRUE(lv_test::ThrowsError([&] { store.SetValue(L"Key", L"\u4e2d"); }, "Error writing to settings file.",
                                   "CQAppSettings::SetValue\n"));
  EXPECT_EQ(ReadBytes(file), "Settings File v1\r\n");
}

TEST_F(SettingsFile, MissingKeysAndUnreadableValuesLeaveTheOwnersValue) {
  Given("Settings File v1\r\nN:Word = abc\r\nN:Big = 99999999999\r\nN:Rect = 1 2 3\r\nN:Text = \"open\r\n");
  bool b = true;
  int32_t i = 5;
  float f = 1.5f;
  double d = 2.5;
  CWRect r{1, 2, 3, 4};
  std::wstring s = L"mine";
  for (const wchar_t* key : {L"N:Missing", L"N:Word"}) {
    EXPECT_FALSE(store.GetValue(key, &b));
    EXPECT_FALSE(store.GetValue(key, &i));
    EXPECT_FALSE(store.GetValue(key, &f));
    EXPECT_FALSE(store.GetValue(key, &d));
    EXPECT_FALSE(store.GetValue(key, &r));
    EXPECT_FALSE(store.GetValue(key, &s));
  }
  EXPECT_FALSE(store.GetValue(L"N:Big", &i)) << "outside the 32-bit range";
  EXPECT_FALSE(store.GetValue(L"N:Rect", &r)) << "three numbers are not a rectangle";
  EXPECT_FALSE(store.GetValue(L"N:Text", &s)) << "one quote only";
  EXPECT_TRUE(b);
  EXPECT_EQ(i, 5);
  EXPECT_EQ(f, 1.5f);
  EXPECT_EQ(d, 2.5);
  EXPECT_EQ(r, (CWRect{1, 2, 3, 4}));
  EXPECT_EQ(s, L"mine");
}

TEST_F(SettingsFile, AQuoteInsideAStringCutsIt) {
  store.ResetContents();
  store.SetValue(L"File", L"say \"hi\" now");
  std::wstring s;
  ASSERT_TRUE(store.GetValue(L"File", &s));
  EXPECT_EQ(s, L"say ");
}

TEST_F(SettingsFile, DoublesAndFloatsComeBackExactly) {
  const double doubles[] = {2.412345678e9, 2412345678.0, 0.1, 1.0 / 3.0, -1e-300, DBL_MAX, -DBL_MIN,
                            4.9406564584124654e-324, 0.0, -0.0, 123456789012345678.0};
  const float floats[] = {0.1f, 1.0f / 3.0f, FLT_MAX, -FLT_MIN, 1.4e-45f, 16777217.0f, -0.0f, 2.4123457e9f};
  store.ResetContents();
  for (size_t k = 0; k < std::size(doubles); ++k) {
    store.SetValue((L"D" + std::to_wstring(k)).c_str(), doubles[k]);
  }
  for (size_t k = 0; k < std::size(floats); ++k) {
    store.SetValue((L"F" + std::to_wstring(k)).c_str(), floats[k]);
  }
  for (size_t k = 0; k < std::size(doubles); ++k) {
    double d = 7;
    ASSERT_TRUE(store.GetValue((L"D" + std::to_wstring(k)).c_str(), &d));
    EXPECT_EQ(std::signbit(d), std::signbit(doubles[k]));
    EXPECT_EQ(d, doubles[k]) << k;
  }
  for (size_t k = 0; k < std::size(floats); ++k) {
    float f = 7;
    ASSERT_TRUE(store.GetValue((L"F" + std::to_wstring(k)).c_str(), &f));
    EXPECT_EQ(std::signbit(f), std::signbit(floats[k]));
    EXPECT_EQ(f, floats[k]) << k;
  }
}

// Infinities and NaN come back as themselves (they used to read as absent,
// so the owner silently kept its previous value); the owners range-check.
TEST_F(SettingsFile, NonFiniteNumbersComeBackAsWritten) {
  const double values[] = {HUGE_VAL, -HUGE_VAL, std::nan(""), -std::nan("")};
  store.ResetContents();
  for (size_t k = 0; k < std::size(values); ++k) {
    store.SetValue((L"D" + std::to_wstring(k)).c_str(), values[k]);
    store.SetValue((L"F" + std::to_wstring(k)).c_str(), static_cast<float>(values[k]));
  }
  for (size_t k = 0; k < std::size(values); ++k) {
    double d = 7;
    float f = 7;
    ASSERT_TRUE(store.GetValue((L"D" + std::to_wstring(k)).c_str(), &d)) << k;
    ASSERT_TRUE(store.GetValue((L"F" + std::to_wstring(k)).c_str(), &f)) << k;
    EXPECT_EQ(std::isnan(d), std::isnan(values[k])) << k;
    EXPECT_EQ(std::isnan(f), std::isnan(values[k])) << k;
    if (!std::isnan(values[k])) {
      EXPECT_EQ(d, values[k]) << k;
      EXPECT_EQ(f, static_cast<float>(values[k])) << k;
    }
  }
  // Hand-written forms read the same; other words stay unreadable.
  Given(std::string(CQAppSettings::kHeader) + "\r\nA = inf\r\nB = +inf \r\nC = NaN\r\nE = info\r\nG = \"nan\"\r\n");
  double d = 7;
  ASSERT_TRUE(store.GetValue(L"A", &d));
  EXPECT_EQ(d, HUGE_VAL);
  d = 7;
  ASSERT_TRUE(store.GetValue(L"B", &d));
  EXPECT_EQ(d, HUGE_VAL);
  d = 7;
  EXPECT_FALSE(store.GetValue(L"C", &d));
  EXPECT_FALSE(store.GetValue(L"E", &d));
  EXPECT_FALSE(store.GetValue(L"G", &d));
  EXPECT_EQ(d, 7);
}

TEST_F(SettingsFile, OldSixDecimalFilesReadTheSame) {
  Given(
      "Settings File v1\r\nXmtr:0:Center Frequency = 2.412346e+09\r\nXmtr:0:Gain = -1.250000e+00\r\n"
      "Xmtr:0:Huge = 1.000000e+39\r\nXmtr:0:Rate = +5.000000e+06\r\nMainWindow:Rect = 10 100 610 800\r\n");
  double d = 0;
  ASSERT_TRUE(store.GetValue(L"Xmtr:0:Center Frequency", &d));
  EXPECT_EQ(d, 2.412346e9);
  float f = 0;
  ASSERT_TRUE(store.GetValue(L"Xmtr:0:Gain", &f));
  EXPECT_EQ(f, -1.25f);
  ASSERT_TRUE(store.GetValue(L"Xmtr:0:Huge", &f));
  EXPECT_EQ(f, std::numeric_limits<float>::infinity());
  ASSERT_TRUE(store.GetValue(L"Xmtr:0:Rate", &d));
  EXPECT_EQ(d, 5e6);
  CWRect r;
  ASSERT_TRUE(store.GetValue(L"MainWindow:Rect", &r));
  EXPECT_EQ(r, (CWRect{100, 10, 800, 610}));
  int32_t i = 0;
  ASSERT_TRUE(store.GetValue(L"Xmtr:0:Gain", &i)) << "an int reads up to the full stop";
  EXPECT_EQ(i, -1);
}

TEST_F(SettingsFile, KeysMatchOnlyAtLineStartBeforeTheSeparator) {
  Given(
      "Settings File v1\r\n"
      "Xmtr:0:Gain Limit = 5\r\n"          // a longer key
      "Note = \"Xmtr:0:Gain = 9\"\r\n"     // a string value holding the key
      "Old:Xmtr:0:Gain = 8\r\n"            // the key inside a longer key
      "Xmtr:0:Gain=7\r\n"                  // no separator
      "Xmtr:0:Gain = 3\r\n"
      "Xmtr:0:Gain = 4\r\n");              // first match wins
  int32_t i = 0;
  ASSERT_TRUE(store.GetValue(L"Xmtr:0:Gain", &i));
  EXPECT_EQ(i, 3);
  std::wstring text;
  ASSERT_TRUE(store.FindValueString(L"Xmtr:0:Gain Limit", &text));
  EXPECT_EQ(text, L" = 5");
  EXPECT_FALSE(store.FindValueString(L"", &text));
  EXPECT_FALSE(store.FindValueString(nullptr, &text));
}

TEST_F(SettingsFile, LineEndsAndAMissingHeader) {
  Given("A = 1\nB = 2\r\nC = \"x\"");  // LF only, CR LF, no final line end
  int32_t a = 0, b = 0;
  std::wstring c;
  ASSERT_TRUE(store.GetValue(L"A", &a));
  ASSERT_TRUE(store.GetValue(L"B", &b));
  ASSERT_TRUE(store.GetValue(L"C", &c));
  EXPECT_EQ(a + b, 3);
  EXPECT_EQ(c, L"x");
  bool on = false;
  Given("On = 2\r\n");
  ASSERT_TRUE(store.GetValue(L"On", &on));
  EXPECT_TRUE(on);
}

TEST_F(SettingsFile, SectionModeSearchesOnlyTheExtractedLines) {
  store.ResetContents();
  store.SetValue(L"Xmtr:0:Gain", 1);
  store.SetValue(L"Xmtr:1:Gain", 2);
  store.SetValue(L"Xmtr:1:Name", L"two");
  store.SetValue(L"Other", 3);
  store.ExtractSection(L"Xmtr:1:");
  EXPECT_EQ(store.GetSectionLineCount(), 2);
  std::filesystem::remove(file);  // the section is a cache: the file is not read again
  store.SetUseSection(1);
  int32_t i = 0;
  std::wstring s;
  EXPECT_TRUE(store.GetValue(L"Xmtr:1:Gain", &i));
  EXPECT_EQ(i, 2);
  EXPECT_TRUE(store.GetValue(L"Xmtr:1:Name", &s));
  EXPECT_EQ(s, L"two");
  EXPECT_FALSE(store.GetValue(L"Xmtr:0:Gain", &i));
  EXPECT_FALSE(store.GetValue(L"Other", &i));
  store.SetUseSection(0);
  EXPECT_TRUE(lv_test::ThrowsError([&] { store.GetValue(L"Other", &i); }, "Error opening settings file.",
                                   "CQAppSettings::OpenFileForReading\nCQAppSettings::FindValueString\n"
                                   "CQAppSettings::GetValue\n"));

  Given("Settings File v1\r\nA = 1\r\n");
  store.ExtractSection(L"Nothing:");
  EXPECT_EQ(store.GetSectionLineCount(), 0);
  store.SetUseSection(1);
  EXPECT_FALSE(store.GetValue(L"A", &i));
  store.SetUseSection(0);
  store.ExtractSection(nullptr);
  EXPECT_EQ(store.GetSectionLineCount(), 0);
}

TEST_F(SettingsFile, CopiesAreBounded) {
  store.ResetContents();
  store.SetValue(L"Name", L"abcdefghij");
  wchar_t buffer[8];
  for (wchar_t& c : buffer) {
    c = L'#';
  }
  ASSERT_TRUE(store.GetValue(L"Name", buffer, 5));
  EXPECT_STREQ(buffer, L"abcd");
  EXPECT_EQ(buffer[5], L'#') << "written past the capacity";
  ASSERT_FALSE(store.GetValue(L"Missing", buffer, 5));
  EXPECT_EQ(buffer[0], L'\0');

  // A value longer than a line look-up sees, and a key behind it.
  store.SetValue(L"Long", std::wstring(3000, L'x'));
  store.SetValue(L"After", 9);
  std::wstring s;
  EXPECT_FALSE(store.GetValue(L"Long", &s)) << "its closing quote lies beyond the value text";
  std::wstring text;
  ASSERT_TRUE(store.FindValueString(L"Long", &text));
  EXPECT_EQ(text.size(), static_cast<size_t>(CQAppSettings::kMaxValueText));
  int32_t after = 0;
  ASSERT_TRUE(store.GetValue(L"After", &after));
  EXPECT_EQ(after, 9);
}

TEST_F(SettingsFile, ErrorsNameTheOperation) {
  CQAppSettings unnamed;
  int32_t i = 0;
  EXPECT_TRUE(lv_test::ThrowsError([&] { unnamed.SetValue(L"A", 1); }, "Null pointer to input file name.",
                                   "CQAppSettings::SetValue\n"));
  EXPECT_TRUE(lv_test::ThrowsError([&] { unnamed.GetValue(L"A", &i); }, "Null pointer to input file name.",
                                   "CQAppSettings::GetValue\n"));
  EXPECT_TRUE(lv_test::ThrowsError([&] { unnamed.ResetContents(); }, "Null pointer to input file name.",
                                   "CQAppSettings::ResetContents\n"));
  EXPECT_TRUE(lv_test::ThrowsError([&] { unnamed.ExtractSection(L"A"); }, "Null pointer to input file name.",
                                   "CQAppSettings::ExtractSection\n"));
  EXPECT_TRUE(lv_test::ThrowsError([&] { store.SetValue(nullptr, 1); }, "Null pointer to input string.",
                                   "CQAppSettings::SetValue\n"));
  EXPECT_TRUE(lv_test::ThrowsError([&] { store.GetValue(nullptr, &i); }, "Null pointer to input string.",
                                   "CQAppSettings::GetValue\n"));
  store.SetFileName(dir.Path() / "no such folder" / "x.config");
  EXPECT_TRUE(lv_test::ThrowsError([&] { store.SetValue(L"A", 1); }, "Error opening settings file.",
                                   "CQAppSettings::OpenFileForAppending\nCQAppSettings::SetValue\n"));
  EXPECT_TRUE(lv_test::ThrowsError([&] { store.ResetContents(); }, "Error opening settings file.",
                                   "CQAppSettings::ResetContents\n"));
  store.SetFileName(static_cast<const wchar_t*>(nullptr));  // ignored
  EXPECT_EQ(store.GetFileName(), dir.Path() / "no such folder" / "x.config");
  // Wide names reach the file system as UTF-8.
  store.SetFileName((dir.Path().wstring() + L"/caf\u00e9.config").c_str());
  store.ResetContents();
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "caf\xC3\xA9.config"));
}

TEST_F(SettingsFile, ASaveReplacesTheFileOnlyWhenCommitted) {
  store.ResetContents();
  store.SetValue(L"Gain", 1);
  const std::string before = ReadBytes(file);

  store.BeginSave();
  EXPECT_TRUE(store.IsSaving());
  EXPECT_TRUE(lv_test::ThrowsError([&] { store.BeginSave(); }, "A settings save is already running.",
                                   "CQAppSettings::BeginSave\n"));
  store.SetValue(L"Gain", 2);
  int32_t i = 0;
  ASSERT_TRUE(store.GetValue(L"Gain", &i));
  EXPECT_EQ(i, 1) << "the previous file stays readable and intact while a save runs";
  store.AbortSave();
  EXPECT_EQ(ReadBytes(file), before);

  store.BeginSave();
  store.SetValue(L"Gain", 3);
  store.CommitSave();
  EXPECT_FALSE(store.IsSaving());
  EXPECT_EQ(ReadBytes(file), "Settings File v1\r\nGain = 3\r\n");
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 1) << "no temporary file is left";
  EXPECT_TRUE(lv_test::ThrowsError([&] { store.CommitSave(); }, "No settings save is running.",
                                   "CQAppSettings::CommitSave\n"));
}

}  // namespace
