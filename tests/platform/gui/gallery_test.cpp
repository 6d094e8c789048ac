// Pictures of the platform layer for a person to look at, written to
// <build>/gallery/platform (ctest -L gallery runs these alone).
#include <string>

#include "dc_fixture.h"
#include "support/test_card.h"

namespace {

using lv::ImageDc;

class PlatformGallery : public lv_test::GuiTest {};

TEST_F(PlatformGallery, TestCard) {
  ImageDc dc(lv_test::kTestCardWidth, lv_test::kTestCardHeight);
  lv_test::DrawTestCard(dc);
  const std::string path = lv_test::GalleryFolder("platform") + "/test_card.png";
  ASSERT_TRUE(dc.GetBitmap().Save(path));
  EXPECT_TRUE(lv::Bitmap::Load(path).SamePixels(dc.GetBitmap()));
}

}  // namespace
