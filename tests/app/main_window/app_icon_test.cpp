// The program's icon: the pictures built into the program, the window
// layer's icon value (PNG data in, sizes and pixels out), and the icon on the
// main window, on every dialog without its own, on a plot thread's child
// window and in the hands of the plot-thread factory.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/app_icon.h"
#include "app/main_window.h"
#include "app_fixture.h"
#include "platform/gui/drawing.h"
#include "platform/gui/gui_runtime.h"
#include "platform/gui/test_hooks.h"
#include "platform/gui/window.h"
#include "platform/gui/window_icon.h"
#include "support/gui_app.h"

namespace {

using lv_test::AppFixture;
using lv_test::ServeUntil;

const std::vector<int32_t> kSizes{16, 24, 32, 48, 64, 128, 256};

std::vector<unsigned char> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

int Distance(lv::Color a, lv::Color b) {
  return std::abs(lv::RedOf(a) - lv::RedOf(b)) + std::abs(lv::GreenOf(a) - lv::GreenOf(b)) +
         std::abs(lv::BlueOf(a) - lv::BlueOf(b));
}

class IconTest : public ::testing::Test {
 protected:
  void SetUp() override { lv_test::EnsureGuiApplication(); }
};

TEST_F(IconTest, TheProgramCarriesItsIconAtEverySizeDrawn) {
  const lv::WindowIcon& icon = SorvekIcon();
  ASSERT_FALSE(icon.IsNull());
  EXPECT_EQ(icon.Sizes(), kSizes);
  EXPECT_EQ(&SorvekIcon(), &icon);  // made once
  // The picture as drawn: transparent corners (white over white), the dark
  // square's middle, the amber constellation points on the unit circle.
  const lv::Bitmap big = icon.ImageOver(256, lv::MakeRgb(255, 255, 255));
  ASSERT_EQ(big.Width(), 256);
  EXPECT_EQ(big.Pixel(0, 0), lv::MakeRgb(255, 255, 255));
  EXPECT_EQ(big.Pixel(255, 255), lv::MakeRgb(255, 255, 255));
  const int d = static_cast<int>(256 * 0.29 / 1.41421356);  // a point at 45 degrees on the circle
  for (int sx : {-1, 1}) {
    for (int sy : {-1, 1}) {
      EXPECT_LT(Distance(big.Pixel(128 + sx * d, 128 + sy * d), lv::MakeRgb(0xff, 0xc8, 0x57)), 12) << sx << sy;
    }
  }
  const lv::Color corner = big.Pixel(40, 40);  // inside the square, off every line
  EXPECT_LT(lv::RedOf(corner), 60);
  EXPECT_LT(lv::BlueOf(corner), 140);
  // The same picture over black differs only where it is transparent.
  const lv::Bitmap dark = icon.ImageOver(256, lv::MakeRgb(0, 0, 0));
  EXPECT_EQ(dark.Pixel(0, 0), lv::MakeRgb(0, 0, 0));
  EXPECT_EQ(dark.Pixel(128 + d, 128 + d), big.Pixel(128 + d, 128 + d));
  EXPECT_TRUE(icon.ImageOver(20).IsNull());  // no such size
  // For a person to look at: the smallest and the largest size.
  for (int32_t s : {16, 48, 256}) {
    EXPECT_TRUE(icon.ImageOver(s).Save(lv_test::GalleryFolder("app") + "/icon_" + std::to_string(s) + ".png"));
  }
}

TEST_F(IconTest, AnIconTakesOnlyPicturesAndItsCopiesKeepTheirSizes) {
  lv::WindowIcon icon;
  EXPECT_TRUE(icon.IsNull());
  EXPECT_TRUE(icon.Sizes().empty());
  const std::vector<unsigned char> png48 = ReadFile(LV_ICON_DIR "/lumvard-sorvek-48.png");
  const std::vector<unsigned char> png16 = ReadFile(LV_ICON_DIR "/lumvard-sorvek-16.png");
  ASSERT_GT(png48.size(), 100u);
  ASSERT_GT(png16.size(), 100u);

  // Bytes that are no picture, a truncated PNG, nothing at all.
  const std::string text = "[Desktop Entry]\nName=not a picture\n";
  struct Bad {
    const char* what;
    const void* data;
    size_t size;
  };
  for (const Bad& b : {Bad{"text", text.data(), text.size()}, Bad{"truncated", png48.data(), 40},
                       Bad{"empty", png48.data(), 0}, Bad{"null", nullptr, 10}}) {
    EXPECT_FALSE(icon.AddPng(b.data, b.size)) << b.what;
    EXPECT_TRUE(icon.IsNull()) << b.what;
  }

  ASSERT_TRUE(icon.AddPng(png48.data(), png48.size()));
  const lv::WindowIcon copy = icon;
  ASSERT_TRUE(icon.AddPng(png16.data(), png16.size()));
  EXPECT_EQ(icon.Sizes(), (std::vector<int32_t>{16, 48}));  // smallest first
  EXPECT_EQ(copy.Sizes(), (std::vector<int32_t>{48}));      // the copy is unchanged
  EXPECT_FALSE(icon.AddPng(text.data(), text.size()));
  EXPECT_EQ(icon.Sizes(), (std::vector<int32_t>{16, 48}));
  EXPECT_TRUE(copy.ImageOver(48).SamePixels(SorvekIcon().ImageOver(48)));
}

TEST_F(AppFixture, TheMainWindowEveryDialogAndThePlotThreadsGetTheProgramIcon) {
  StartApp();
  const uint32_t id = Main().WindowId();
  ASSERT_TRUE(ServeUntil([&] { return !lv::test_hooks::WindowIconSizes(id).empty(); }));
  EXPECT_EQ(lv::test_hooks::WindowIconSizes(id), kSizes);
  EXPECT_EQ(lv::test_hooks::ApplicationIconSizes(), kSizes);
  // Each of the sixteen plot threads was made with the icon.
  ASSERT_EQ(plotIconSizes_.size(), 16u);
  for (const auto& sizes : plotIconSizes_) EXPECT_EQ(sizes, kSizes);

  // A plot thread gives its own child window the icon from its thread.
  uint32_t childId = 0;
  std::unique_ptr<lv::ChildWindow> child;
  std::thread owner([&] {
    child = std::make_unique<lv::ChildWindow>(Main().Frame(), L"Time Domain 1", lv::Rect{150, 150, 550, 550});
    lv::SetWindowIcon(*child, SorvekIcon());
    childId = child->Id();
  });
  owner.join();
  ASSERT_TRUE(ServeUntil([&] { return !lv::test_hooks::WindowIconSizes(childId).empty(); }));
  EXPECT_EQ(lv::test_hooks::WindowIconSizes(childId), kSizes);
  // A null icon takes the window's own icon away again.
  lv::SetWindowIcon(*child, lv::WindowIcon());
  EXPECT_TRUE(lv::test_hooks::WindowIconSizes(childId).empty());
  child.reset();

  ASSERT_TRUE(Command(kCmdExit));
  ASSERT_TRUE(ServeUntil([&] { return app_->HasShutDown(); }));
}

}  // namespace
