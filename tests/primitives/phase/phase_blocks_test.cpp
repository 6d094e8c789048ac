// How the phase feeds the arctangent. The program is linked with --wrap on
// the eight arctangent stubs, so every call the class implementations make
// is recorded (and then computed by the real stub): blocks of at most 128 in
// order, the imaginary parts as y and the real parts as x in 32-byte-aligned
// scratch arrays, dst advancing block by block; the phase returns 0 whatever
// the stub returns.
#include <cstdint>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "primitives/phase/phase.h"
#include "support/bits.h"
#include "support/class_fixture.h"

namespace {

struct Call {
  int cls;
  const float* y;
  const float* x;
  float* dst;
  int32_t n;
  bool partsOk;
};

std::vector<Call> g_calls;
const ComplexFloat32* g_src = nullptr;
const float* g_dst0 = nullptr;
int32_t g_forcedStatus = 0;

bool PartsMatch(const float* y, const float* x, float* dst, int32_t n) {
  const ComplexFloat32* s = g_src + (dst - g_dst0);
  for (int32_t i = 0; i < n; ++i) {
    if (!lv_test::SameBits(&y[i], &s[i].im, 1) || !lv_test::SameBits(&x[i], &s[i].re, 1)) {
      return false;
    }
  }
  return true;
}

}  // namespace

#define LV_WRAP_STUB(Mangled, Cls)                                                                         \
  extern "C" int32_t __real_##Mangled(const float*, const float*, float*, int32_t);                       \
  extern "C" int32_t __wrap_##Mangled(const float* y, const float* x, float* dst, int32_t n) {            \
    g_calls.push_back({Cls, y, x, dst, n, PartsMatch(y, x, dst, n)});                                      \
    const int32_t s = __real_##Mangled(y, x, dst, n);                                                      \
    return g_forcedStatus != 0 ? g_forcedStatus : s;                                                       \
  }

LV_WRAP_STUB(_Z20Atan2Float32StubSse2PKfS0_Pfi, 0)
LV_WRAP_STUB(_Z20Atan2Float32StubSse3PKfS0_Pfi, 1)
LV_WRAP_STUB(_Z21Atan2Float32StubSsse3PKfS0_Pfi, 2)
LV_WRAP_STUB(_Z21Atan2Float32StubSse42PKfS0_Pfi, 3)
LV_WRAP_STUB(_Z19Atan2Float32StubAvxPKfS0_Pfi, 4)
LV_WRAP_STUB(_Z20Atan2Float32StubAvx2PKfS0_Pfi, 5)
LV_WRAP_STUB(_Z30Atan2Float32StubAvx512ManyCorePKfS0_Pfi, 6)
LV_WRAP_STUB(_Z22Atan2Float32StubAvx512PKfS0_Pfi, 7)

namespace {

class PhaseBlocksTest : public lv_test::PerClassTest {};

TEST_P(PhaseBlocksTest, BlocksOfAtMost128InOrder) {
  for (int n : {1, 127, 128, 129, 256, 257, 1000}) {
    std::vector<ComplexFloat32> src(n);
    for (int i = 0; i < n; ++i) {
      src[i] = {static_cast<float>(i % 13) - 6.0f, static_cast<float>(i % 7) - 3.0f};
    }
    std::vector<float> dst(n);
    g_calls.clear();
    g_src = src.data();
    g_dst0 = dst.data();
    ASSERT_EQ(VectorPhaseComplexFloat32(src.data(), dst.data(), n), StatusOk);
    const size_t blocks = static_cast<size_t>((n + 127) / 128);
    ASSERT_EQ(g_calls.size(), blocks) << "n " << n;
    for (size_t b = 0; b < blocks; ++b) {
      const Call& c = g_calls[b];
      EXPECT_EQ(c.cls, Cls());
      EXPECT_EQ(c.dst, dst.data() + 128 * b);
      EXPECT_EQ(c.n, b + 1 < blocks ? 128 : n - 128 * static_cast<int>(b));
      EXPECT_EQ(reinterpret_cast<uintptr_t>(c.y) % 32, 0u);
      EXPECT_EQ(reinterpret_cast<uintptr_t>(c.x) % 32, 0u);
      EXPECT_TRUE(c.partsOk) << "block " << b << " of n " << n;
    }
  }
}

TEST_P(PhaseBlocksTest, StatusOfTheArctangentIsIgnored) {
  ComplexFloat32 src[3] = {{1, 1}, {-1, 0}, {0, 1}};
  float dst[3];
  g_src = src;
  g_dst0 = dst;
  g_forcedStatus = -6;
  const int32_t s = VectorPhaseComplexFloat32(src, dst, 3);
  g_forcedStatus = 0;
  EXPECT_EQ(s, StatusOk);
  EXPECT_EQ(dst[1], 3.14159274f);
}

LV_INSTANTIATE_PER_CLASS(PhaseBlocksTest);

}  // namespace
