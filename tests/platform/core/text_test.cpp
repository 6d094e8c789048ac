#include <clocale>
#include <locale>

#include <gtest/gtest.h>

#include "platform/text.h"

namespace {

TEST(Text, Utf8RoundTripAndMalformedInput) {
  const std::wstring w = L"a\u00E9\u20AC\U0001F600";
  const std::string u = lv::WideToUtf8(w);
  EXPECT_EQ(u, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(lv::Utf8ToWide(u), w);
  EXPECT_EQ(lv::Utf8ToWide("x\xFFy"), L"x\uFFFDy");
  EXPECT_EQ(lv::Utf8ToWide("\xC0\x80"), L"\uFFFD\uFFFD");  // overlong NUL refused
}

TEST(Text, Latin1RoundTripsE9AndRefusesAboveFF) {
  const auto bytes = lv::WideToLatin1(L"caf\u00E9");
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(*bytes, "caf\xE9");
  EXPECT_EQ(lv::Latin1ToWide(*bytes), L"caf\u00E9");
  EXPECT_FALSE(lv::WideToLatin1(L"\u0100").has_value());
}

TEST(Text, NarrowTextIsUtf8WhenValidElseLatin1) {
  EXPECT_EQ(lv::NarrowToWide("caf\xC3\xA9"), L"caf\u00E9");
  EXPECT_EQ(lv::NarrowToWide("caf\xE9"), L"caf\u00E9");
}

// Numbers must not follow the process locale (Qt sets it from the environment).
class CommaLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
      if (std::setlocale(LC_ALL, name) != nullptr) {
        active_ = name;
        break;
      }
    }
    if (active_ == nullptr) {
      // No comma locale installed: build one whose decimal point is a comma.
      struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
      };
      previousGlobal_ = std::locale::global(std::locale(std::locale::classic(), new Comma));
    }
  }
  void TearDown() override {
    std::setlocale(LC_ALL, "C");
    std::locale::global(previousGlobal_);
  }
  const char* active_ = nullptr;
  std::locale previousGlobal_ = std::locale::classic();
};

TEST_F(CommaLocale, FormattingAndParsingStayInTheCLocale) {
  if (active_ != nullptr) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", 2.5);
    EXPECT_STREQ(buf, "2,5") << "the comma locale is active, so plain printf uses a comma";
  }
  EXPECT_EQ(lv::FormatC("%.16e", 2.412345678e9), "2.4123456780000000e+09");
  EXPECT_EQ(lv::FormatC("%f", -10.0), "-10.000000");
  EXPECT_EQ(lv::FormatCW(L"%.3lf %ls", 1.5, L"sec"), L"1.500 sec");
  size_t end = 0;
  auto v = lv::ParseDoubleC(std::string_view("  3.25 rest"), &end);
  ASSERT_TRUE(v.has_value());
  EXPECT_EQ(*v, 3.25);
  EXPECT_EQ(end, 6u);
  EXPECT_EQ(*lv::ParseDoubleC(std::wstring_view(L"-1.5e3")), -1500.0);
  EXPECT_EQ(*lv::ParseIntC(std::string_view("-42x")), -42);
  EXPECT_FALSE(lv::ParseDoubleC(std::string_view("abc")).has_value());
  EXPECT_FALSE(lv::ParseIntC(std::wstring_view(L"")).has_value());
}

TEST(Text, LongFormattedTextsAreWhole) {
  const std::string s = lv::FormatC("%0500d", 7);
  EXPECT_EQ(s.size(), 500u);
  const std::wstring w = lv::FormatCW(L"%0600d", 7);
  EXPECT_EQ(w.size(), 600u);
  EXPECT_EQ(w.back(), L'7');
}

}  // namespace
