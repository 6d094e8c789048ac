// The main window under a real X server (Xvfb, run by xvfb-run): the same
// program object as the offscreen tests, on the xcb platform, saved into the
// gallery for a person to compare with the offscreen picture.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app_fixture.h"
#include "platform/gui/gui_runtime.h"
#include "platform/gui/test_hooks.h"
#include "support/gui_app.h"

namespace {

using lv_test::AppFixture;
using lv_test::ServeUntil;

TEST_F(AppFixture, MainWindowUnderXvfb) {
  StartApp();
  const uint32_t id = Main().WindowId();
  ASSERT_TRUE(ServeUntil([&] { return lv::test_hooks::IsShown(id); }));
  lv::ServeGuiEvents(300);
  EXPECT_EQ(lv::test_hooks::WindowTitle(id), L"Lumvard Sorvek");
  EXPECT_TRUE(lv::test_hooks::SaveWindowPng(id, lv_test::GalleryFolder("app") + "/main_window_xvfb.png"));
  ASSERT_TRUE(Command(kCmdExit));
  ASSERT_TRUE(ServeUntil([&] { return app_->HasShutDown(); }));
}

}  // namespace
