// Scaling waveforms into the interleaved 16-bit transmit buffer: several
// channels written in one sweep give exactly what a plain per-sample model
// gives, and nothing between the frames is touched.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "xcvr/multi_xcvr.h"

namespace {

// The 16-bit value of one component: the float product, truncated toward
// zero and saturated.
int16_t Model(float x, float gain) {
  const float p = x * gain;
  const double t = std::trunc(static_cast<double>(p));
  if (t >= 32767.0) return 32767;
  if (t <= -32768.0) return -32768;
  return static_cast<int16_t>(t);
}

struct Case {
  int channels;
  int samples;
  bool real;
  int spareBytes;  // bytes after each frame's channels that nobody owns
};

class ScaleIntoFramesTest : public ::testing::TestWithParam<Case> {};

TEST_P(ScaleIntoFramesTest, EqualsThePerSampleModelAndLeavesOtherBytesAlone) {
  const Case c = GetParam();
  const int frameBytes = c.real ? 2 : 4;
  const ptrdiff_t step = c.channels * frameBytes + c.spareBytes;
  const float gain = 26027.0f;
  std::mt19937 rng(7);
  // Mostly inside ±1, some beyond it so that saturation is reached on both sides.
  std::uniform_real_distribution<float> value(-1.3f, 1.3f);
  std::vector<std::vector<CQComplex>> waves(static_cast<size_t>(c.channels));
  for (auto& w : waves) {
    w.resize(static_cast<size_t>(c.samples));
    for (auto& s : w) s = CQComplex(value(rng), value(rng));
  }
  std::vector<uint8_t> buffer(static_cast<size_t>(step) * static_cast<size_t>(c.samples), 0xAB);
  std::vector<CQFrameChannel> channels;
  for (int i = 0; i < c.channels; ++i) {
    channels.push_back({waves[static_cast<size_t>(i)].data(), buffer.data() + i * frameBytes});
  }
  ScaleIntoFrames(channels.data(), c.channels, c.samples, gain, c.real, step);

  for (int k = 0; k < c.samples; ++k) {
    const uint8_t* frame = buffer.data() + k * step;
    for (int i = 0; i < c.channels; ++i) {
      const CQComplex s = waves[static_cast<size_t>(i)][static_cast<size_t>(k)];
      int16_t got[2];
      std::memcpy(got, frame + i * frameBytes, static_cast<size_t>(frameBytes));
      ASSERT_EQ(got[0], Model(s.re, gain)) << "sample " << k << " channel " << i;
      if (!c.real) {
        ASSERT_EQ(got[1], Model(s.im, gain)) << "sample " << k << " channel " << i;
      }
    }
    for (int b = c.channels * frameBytes; b < step; ++b) ASSERT_EQ(frame[b], 0xAB) << "sample " << k;
  }
}

// Block edges (1024 samples per block), one to five channels (five spills
// into a second group), real and complex frames, packed and padded frames;
// four packed complex channels take the transposing road, 2051 with a tail of
// three frames after its last whole group of four; 1048579 fills 16 MiB, where
// the whole groups bypass the cache.
INSTANTIATE_TEST_SUITE_P(Layouts, ScaleIntoFramesTest,
                         ::testing::Values(Case{1, 1, false, 0}, Case{1, 5000, false, 0}, Case{1, 2049, true, 2},
                                           Case{2, 2047, false, 0}, Case{2, 2048, true, 0}, Case{3, 4097, false, 4},
                                           Case{4, 6000, false, 0}, Case{4, 2051, false, 0},
                                           Case{4, 1048579, false, 0}, Case{4, 2049, true, 0}, Case{5, 3000, false, 2}));

TEST(ScaleIntoFramesSingle, OneChannelFormEqualsTheChannelList) {
  std::vector<CQComplex> wave(3001);
  for (size_t k = 0; k < wave.size(); ++k) wave[k] = CQComplex(std::sin(0.01f * k), -std::cos(0.02f * k));
  std::vector<uint8_t> a(wave.size() * 8, 0), b(wave.size() * 8, 0);
  ScaleIntoFrames(wave.data(), static_cast<int>(wave.size()), 30000.0f, false, a.data() + 4, 8);
  const CQFrameChannel channel{wave.data(), b.data() + 4};
  ScaleIntoFrames(&channel, 1, static_cast<int>(wave.size()), 30000.0f, false, 8);
  EXPECT_EQ(a, b);
}

}  // namespace
