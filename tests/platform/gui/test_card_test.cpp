// The test card, drawn by sixteen threads at once into identical pictures.
// (The picture for a person to look at is written by gallery_test.cpp.)
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "dc_fixture.h"
#include "support/test_card.h"

namespace {

using lv::ImageDc;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TestCard : public lv_test::GuiTest {};

TEST_F(TestCard, SixteenThreadsDrawIdenticalPictures) {
  const std::string folder = lv_test::GalleryFolder("platform/threads");
  ImageDc alone(lv_test::kTestCardWidth, lv_test::kTestCardHeight);
  lv_test::DrawTestCard(alone);
  const std::string alonePath = folder + "/alone.png";
  ASSERT_TRUE(alone.GetBitmap().Save(alonePath));

  constexpr int kThreads = 16;
  std::vector<lv::Bitmap> frames(kThreads);
  std::vector<char> saved(kThreads, 0);  // not vector<bool>: its bits share words
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &frames, &saved, &folder] {
      for (int round = 0; round < 3; ++round) {
        ImageDc dc(lv_test::kTestCardWidth, lv_test::kTestCardHeight);
        lv_test::DrawTestCard(dc);
        frames[t] = dc.GetBitmap();
      }
      saved[t] = frames[t].Save(folder + "/card_" + std::to_string(t) + ".png");
    });
  }
  for (std::thread& th : threads) th.join();
  const std::string expected = ReadAll(alonePath);
  ASSERT_FALSE(expected.empty());
  for (int t = 0; t < kThreads; ++t) {
    ASSERT_TRUE(saved[t]) << t;
    EXPECT_TRUE(frames[t].SamePixels(alone.GetBitmap())) << "thread " << t;
    EXPECT_EQ(ReadAll(folder + "/card_" + std::to_string(t) + ".png"), expected) << "thread " << t;
  }
}

}  // namespace
