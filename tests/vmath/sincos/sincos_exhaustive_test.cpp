// Long sweeps of the sine and cosine kernels (label exhaustive): 2^26 random
// inputs plus special values, and every float of the first octant [0, pi/4],
// in every class, against the model of the class's rule and class 0, and
// within one unit in the last place of long double.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/class_fixture.h"
#include "vmath/sincos/sincos_model.h"
#include "vmath/sincos/sincos_test_support.h"

using namespace sincos_test;

namespace {

class SinCosSweep : public lv_test::PerClassTest {};

TEST_P(SinCosSweep, RandomBitPatternsAndSpecials) {
  constexpr size_t kTotal = size_t{1} << 26;
  constexpr size_t kChunk = size_t{1} << 20;
  std::mt19937 rng(1234567u);
  std::uniform_int_distribution<uint32_t> bits;
  for (size_t done = 0; done < kTotal; done += kChunk) {
    std::vector<float> in(kChunk);
    for (float& x : in) {
      x = sincos_model::Float(bits(rng));
    }
    if (done == 0) {
      const uint32_t specials[] = {0x00000000u, 0x80000000u, 0x7F800000u, 0xFF800000u, 0x7FC00000u, 0x7FA00000u,
                                   0x00000001u, 0x807FFFFFu, 0x461C4000u, 0x461C4001u, 0x7F7FFFFFu, 0xFF7FFFFFu};
      for (size_t i = 0; i < sizeof specials / sizeof specials[0]; ++i) {
        in[i] = sincos_model::Float(specials[i]);
      }
    }
    ExpectMatchesModel(Cls(), in);
    if (HasFailure()) {
      return;
    }
  }
}

TEST_P(SinCosSweep, EveryFloatOfTheFirstOctant) {
  const uint32_t last = 0x3F490FDBu;  // pi/4 as a float
  constexpr uint32_t kChunk = 1u << 22;
  const unsigned threads = 4;
  std::vector<double> worst(threads, 0.0);
  std::vector<long> mismatches(threads, 0);
  const int cls = Cls();
  auto work = [&](unsigned t) {
    std::vector<float> in(kChunk);
    std::vector<float> out(kChunk);
    std::vector<float> ref(kChunk);
    for (uint64_t start = uint64_t{t} * kChunk; start <= last; start += uint64_t{threads} * kChunk) {
      const uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(kChunk, last - start + 1));
      for (uint32_t i = 0; i < count; ++i) {
        in[i] = sincos_model::Float(static_cast<uint32_t>(start + i));
      }
      for (int c = 0; c < 2; ++c) {
        const bool cosine = c == 1;
        Stub(cls, cosine)(in.data(), out.data(), static_cast<int32_t>(count));
        if (cls >= 1 && cls <= 4) {
          Stub(0, cosine)(in.data(), ref.data(), static_cast<int32_t>(count));
        }
        for (uint32_t i = 0; i < count; ++i) {
          const float want = (cls >= 1 && cls <= 4) ? ref[i]
                                                    : sincos_model::Eval(in[i], cosine, sincos_model::RuleOfClass(cls));
          if (sincos_model::Bits(out[i]) != sincos_model::Bits(want)) {
            ++mismatches[t];
          }
          // The long-double check on classes with their own rule (classes 1-4 equal class 0).
          if (cls == 0 || cls >= 5) {
            const double err = UlpError(out[i], in[i], cosine);
            if (err > worst[t]) {
              worst[t] = err;
            }
          }
        }
      }
    }
  };
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < threads; ++t) {
    pool.emplace_back(work, t);
  }
  for (std::thread& th : pool) {
    th.join();
  }
  for (unsigned t = 0; t < threads; ++t) {
    EXPECT_EQ(mismatches[t], 0) << "thread " << t;
    EXPECT_LT(worst[t], kSinCosUlpBound) << "thread " << t;
  }
}

TEST_P(SinCosSweep, WithinOneUlpOnRandomFiniteInputs) {
  const std::vector<float> in = MixedInputs(size_t{1} << 22, 99u);
  std::vector<float> out(in.size());
  for (int c = 0; c < 2; ++c) {
    const bool cosine = c == 1;
    Stub(Cls(), cosine)(in.data(), out.data(), static_cast<int32_t>(in.size()));
    double worst = 0.0;
    for (size_t i = 0; i < in.size(); ++i) {
      if (std::isfinite(in[i])) {
        worst = std::max(worst, UlpError(out[i], in[i], cosine));
      }
    }
    EXPECT_LT(worst, kSinCosUlpBound) << (cosine ? "cos" : "sin");
  }
}

LV_INSTANTIATE_PER_CLASS(SinCosSweep);

}  // namespace
