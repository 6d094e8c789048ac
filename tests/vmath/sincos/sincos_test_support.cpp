#include "vmath/sincos/sincos_test_support.h"

#include <cmath>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "cpu/dispatch.h"
#include "vmath/sincos/sincos_model.h"
#include "support/bits.h"

// The recorder behind --wrap: every call of MathErrorCallback from the kernels
// arrives here.
void RecordMathErrorCallback(int32_t code, int32_t index, const void* argument1, const void* argument2, void* result1,
                             void* result2, int32_t* statusCell) __asm__("__wrap__Z17MathErrorCallbackiiPKvS0_PvS1_Pi");

namespace sincos_test {
namespace {

CallbackLog* g_log = nullptr;

const KernelFn kSinStubs[8] = {SinFloat32StubSse2, SinFloat32StubSse3, SinFloat32StubSsse3,
                               SinFloat32StubSse42, SinFloat32StubAvx,  SinFloat32StubAvx2,
                               SinFloat32StubAvx512ManyCore, SinFloat32StubAvx512};
const KernelFn kCosStubs[8] = {CosFloat32StubSse2, CosFloat32StubSse3, CosFloat32StubSsse3,
                               CosFloat32StubSse42, CosFloat32StubAvx,  CosFloat32StubAvx2,
                               CosFloat32StubAvx512ManyCore, CosFloat32StubAvx512};
const KernelFn kSinKernels[8] = {SinFloat32KernelSse2,   SinFloat32KernelSse3,           SinFloat32KernelSse3,
                                 SinFloat32KernelSse3, SinFloat32KernelAvx,            SinFloat32KernelAvx2,
                                 SinFloat32KernelAvx512ManyCore, SinFloat32KernelAvx512};
const KernelFn kCosKernels[8] = {CosFloat32KernelSse2,   CosFloat32KernelSse3,           CosFloat32KernelSse3,
                                 CosFloat32KernelSse3, CosFloat32KernelAvx,            CosFloat32KernelAvx2,
                                 CosFloat32KernelAvx512ManyCore, CosFloat32KernelAvx512};
const VmathRecord<UnaryFloat32Kernel>* const kSinRecords[8] = {
    &SinFloat32RecordSse2, &SinFloat32RecordSse3, &SinFloat32RecordSsse3,          &SinFloat32RecordSse42,
    &SinFloat32RecordAvx,  &SinFloat32RecordAvx2, &SinFloat32RecordAvx512ManyCore, &SinFloat32RecordAvx512};
const VmathRecord<UnaryFloat32Kernel>* const kCosRecords[8] = {
    &CosFloat32RecordSse2, &CosFloat32RecordSse3, &CosFloat32RecordSsse3,          &CosFloat32RecordSse42,
    &CosFloat32RecordAvx,  &CosFloat32RecordAvx2, &CosFloat32RecordAvx512ManyCore, &CosFloat32RecordAvx512};

}  // namespace

const float kSinCost[8][3] = {{22.64f, 22.64f, 22.64f}, {11.95f, 15.63f, 9.04f}, {6.41f, 9.91f, 5.54f},
                              {5.51f, 9.95f, 4.90f},    {3.12f, 4.46f, 2.45f},   {1.79f, 3.19f, 1.38f},
                              {2.0f, 3.0f, 1.0f},       {2.0f, 3.0f, 1.0f}};
const float kCosCost[8][3] = {{22.34f, 22.34f, 22.34f}, {13.21f, 16.99f, 11.84f}, {6.65f, 9.39f, 5.79f},
                              {6.35f, 8.87f, 5.42f},    {3.19f, 6.44f, 2.62f},    {2.0f, 3.31f, 1.53f},
                              {2.0f, 3.0f, 1.0f},       {2.0f, 3.0f, 1.0f}};

KernelFn Stub(int cls, bool cosine) { return cosine ? kCosStubs[cls] : kSinStubs[cls]; }
KernelFn SinKernel(int cls) { return kSinKernels[cls]; }
KernelFn CosKernel(int cls) { return kCosKernels[cls]; }
const VmathRecord<UnaryFloat32Kernel>& SinRecord(int cls) { return *kSinRecords[cls]; }
const VmathRecord<UnaryFloat32Kernel>& CosRecord(int cls) { return *kCosRecords[cls]; }

SpecialFn SpecialRoutine(int cls) {
  if (cls == 0) {
    return SinFloat32SpecialValuesSse2;
  }
  if (cls <= 3) {
    return SinFloat32SpecialValuesSse3;
  }
  if (cls <= 5) {
    return SinFloat32SpecialValuesAvx;
  }
  return nullptr;
}

std::vector<float> MixedInputs(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<uint32_t> bits;
  std::uniform_real_distribution<float> fast(-10000.0f, 10000.0f);
  std::uniform_real_distribution<float> octant(0.0f, 0.785398163f);
  std::uniform_int_distribution<int> multiple(-6400, 6400);
  std::uniform_int_distribution<int> nudge(-3, 3);
  std::uniform_int_distribution<uint32_t> largeExp(141, 254);
  std::vector<float> v;
  v.reserve(n);
  for (size_t i = 0; v.size() < n; ++i) {
    float x = 0.0f;
    switch (i % 7) {
      case 0:
        x = sincos_model::Float(bits(rng));
        break;
      case 1:
        x = fast(rng);
        break;
      case 2:
        x = octant(rng);
        break;
      case 3: {
        const float near = static_cast<float>(multiple(rng) * 1.5707963267948966);
        x = sincos_model::Float(sincos_model::Bits(near) + nudge(rng));
        break;
      }
      case 4:
        x = sincos_model::Float((sincos_model::Bits(10000.0f) + nudge(rng)) | (bits(rng) & 0x80000000u));
        break;
      case 5:
        x = sincos_model::Float((largeExp(rng) << 23) | (bits(rng) & 0x807FFFFFu));
        break;
      default:
        x = sincos_model::Float(bits(rng) & 0x807FFFFFu);  // subnormal or zero
        break;
    }
    v.push_back(x);
  }
  return v;
}

double UlpError(float result, float x, bool cosine) {
  const long double ref = cosine ? cosl(static_cast<long double>(x)) : sinl(static_cast<long double>(x));
  int ex = 0;
  frexpl(ref, &ex);
  if (ex < -125) {
    ex = -125;
  }
  const long double ulp = ldexpl(1.0L, ex - 24);
  return static_cast<double>(fabsl(static_cast<long double>(result) - ref) / ulp);
}

void ExpectMatchesModel(int cls, const std::vector<float>& in) {
  std::vector<float> out(in.size());
  std::vector<float> ref(in.size());
  for (int c = 0; c < 2; ++c) {
    const bool cosine = c == 1;
    Stub(cls, cosine)(in.data(), out.data(), static_cast<int32_t>(in.size()));
    long mismatches = 0;
    for (size_t i = 0; i < in.size(); ++i) {
      const float want = sincos_model::Eval(in[i], cosine, sincos_model::RuleOfClass(cls));
      if (sincos_model::Bits(out[i]) != sincos_model::Bits(want) && ++mismatches <= 5) {
        ADD_FAILURE() << (cosine ? "cos" : "sin") << "(0x" << std::hex << sincos_model::Bits(in[i]) << ") = 0x"
                      << sincos_model::Bits(out[i]) << ", model 0x" << sincos_model::Bits(want);
      }
    }
    EXPECT_EQ(mismatches, 0) << (cosine ? "cos" : "sin") << " in class " << ProcessorClassSuffix(cls);
    if (cls >= 1 && cls <= 4) {
      Stub(0, cosine)(in.data(), ref.data(), static_cast<int32_t>(in.size()));
      EXPECT_TRUE(lv_test::SameBits(out, ref))
          << (cosine ? "cos" : "sin") << " in class " << ProcessorClassSuffix(cls) << " differs from class 0";
    }
  }
}

CallbackLog::CallbackLog() { g_log = this; }
CallbackLog::~CallbackLog() { g_log = nullptr; }

}  // namespace sincos_test

void RecordMathErrorCallback(int32_t code, int32_t index, const void* argument1, const void* argument2, void* result1,
                             void* result2, int32_t* statusCell) {
  sincos_test::CallbackLog* log = sincos_test::g_log;
  if (log == nullptr) {
    return;
  }
  float* dst = static_cast<float*>(result1);
  log->calls.push_back({code, index, argument1, argument2, result1, result2, statusCell,
                        sincos_model::Bits(dst[index])});
  if (log->replacement != 0.0f) {
    dst[index] = log->replacement;
  }
}
