// The logarithm of one processor class: its kernel and special-value routine,
// compiled once in each per-class file (ln_sse2.cpp ...). Class 3 has no
// file: it runs the class-2 kernel (see the class table in ln_records.cpp).
//
// The class's width body holds its kernel (ln_128.inl: classes 0 to 2;
// ln_256.inl: classes 4 and 5; ln_512.inl: classes 6 and 7); classes 2 to 7
// finish their special lanes with the double routine of ln_special.inl, and
// classes 2 to 5 share the polynomial kernel below. Everything but the
// exported functions lives in the class namespace.
#include <immintrin.h>

#include <bit>
#include <cstdint>
#include <cstring>

#include "cpu/dispatch.h"
#include "cpu/status.h"
#include "vmath/ln/ln_classes.h"
#include "vmath/ln/ln_constants.h"
#include "vmath/vmath_record.h"

namespace LV_NS {
namespace {
using namespace lv_vmath_ln;
}  // namespace
}  // namespace LV_NS

#if LV_CLASS >= 2

#if LV_CLASS == 6
// Class 6 keeps the scalar routine to VEX encodings (no xmm16-31).
#pragma GCC push_options
#pragma GCC target("no-avx512f")
#endif
#include "vmath/ln/ln_special.inl"
#if LV_CLASS == 6
#pragma GCC pop_options
#endif

namespace LV_NS {
namespace {

using LnSpecialFn = int32_t (*)(const float*, float*);

// The order of the special routine's final sums: class 5 fuses, classes 6
// and 7 add the wide way, classes 2 to 4 the plain way.
constexpr LnSpecialForm kSpecialForm = kClass == 5   ? LnSpecialForm::kFused
                                       : kClass >= 6 ? LnSpecialForm::kWide
                                                     : LnSpecialForm::kPlain;

int32_t g_statusCell = 0;  // handed to MathErrorCallback; nothing reads or writes it here

// The special lanes of every kernel of classes 2 to 7 go through FixLnLanes.
// Classes 2 to 5 compute the table-free logarithm: x = 2^k m with m in
// [2/3, 4/3) by integer arithmetic on the pattern, f = m - 1, a degree-9
// polynomial; their ops layer (Ln4 in ln_128.inl: four lanes; Ln8 in
// ln_256.inl: eight) computes one vector and PolyKernel walks the array.

// The special lanes of a group, in index order: the routine's result replaces
// the lane's; a non-zero code is stored in dst, reported, and read back.
template <class O, int kVectors, LnSpecialFn kSpecial>
[[gnu::noinline]] int32_t FixLnLanes(typename O::V* v, const typename O::V* x, unsigned bits, const float* src,
                                     float* dst, int32_t base, int32_t status, int32_t* cell) {
  constexpr int L = O::kLanes;
  alignas(64) float xs[L * kVectors];
  alignas(64) float rs[L * kVectors];
  for (int b = 0; b < kVectors; ++b) {
    O::Store(xs + L * b, x[b]);
    O::Store(rs + L * b, v[b]);
  }
  for (int lane = 0; bits != 0; ++lane, bits >>= 1) {
    if ((bits & 1u) == 0) {
      continue;
    }
    const int32_t code = kSpecial(&xs[lane], &rs[lane]);
    if (code != 0) {
      const int32_t i = base + lane;
      dst[i] = rs[lane];
      MathErrorCallback(code, i, src, src, dst, dst, cell);
      rs[lane] = dst[i];
      status = code;
    }
  }
  for (int b = 0; b < kVectors; ++b) {
    v[b] = O::Load(rs + L * b);
  }
  return status;
}

// Head up to src's alignment (16 bytes for four lanes, 32 for eight) in
// groups of at most one vector, blocks of 16, tail in groups.
template <class O, LnSpecialFn kSpecial>
[[gnu::always_inline]] inline int32_t PolyKernel(const float* src, float* dst, int32_t n, int32_t* cell) {
  constexpr int L = O::kLanes;
  constexpr int kVectors = 16 / L;
  if (n <= 0) {
    return StatusBadCount;
  }
  if (src == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  const lv_vmath_env::FpEnv env = lv_vmath_env::EnterKernel();
  int32_t status = 0;
  const auto group = [&](int32_t i, int m) {
    typename O::V x = O::LoadPartial(src + i, m);
    typename O::V v = O::Ln(x);
    const unsigned bits = static_cast<unsigned>(O::SpecialBits(x)) & ((1u << m) - 1);
    if (bits != 0) {
      status = FixLnLanes<O, 1, kSpecial>(&v, &x, bits, src, dst, i, status, cell);
    }
    O::StorePartial(dst + i, v, m);
  };
  constexpr uintptr_t kAlign = 4 * L;
  int32_t head = static_cast<int32_t>(((kAlign - (reinterpret_cast<uintptr_t>(src) & (kAlign - 1))) & (kAlign - 1)) / 4);
  if (head > n) {
    head = n;
  }
  int32_t i = 0;
  while (i < head) {
    const int m = (head - i < L) ? static_cast<int>(head - i) : L;
    group(i, m);
    i += m;
  }
  for (; n - i >= 16; i += 16) {
    typename O::V x[kVectors];
    typename O::V v[kVectors];
    unsigned bits = 0;
    for (int b = 0; b < kVectors; ++b) {
      x[b] = O::LoadU(src + i + L * b);
    }
    for (int b = 0; b < kVectors; ++b) {
      v[b] = O::Ln(x[b]);
      bits |= static_cast<unsigned>(O::SpecialBits(x[b])) << (L * b);
    }
    if (bits != 0) [[unlikely]] {
      status = FixLnLanes<O, kVectors, kSpecial>(v, x, bits, src, dst, i, status, cell);
    }
    for (int b = 0; b < kVectors; ++b) {
      O::StoreU(dst + i + L * b, v[b]);
    }
  }
  while (i < n) {
    const int m = (n - i < L) ? static_cast<int>(n - i) : L;
    group(i, m);
    i += m;
  }
  lv_vmath_env::LeaveKernel(env);
  return status;
}

}  // namespace
}  // namespace LV_NS

int32_t LV_NAME(LnFloat32SpecialValues)(const float* x, float* result) {
  return LV_NS::LnSpecialValue<LV_NS::kSpecialForm>(x, result);
}

#endif  // LV_CLASS >= 2

#if LV_CLASS <= 3
#include "vmath/ln/ln_128.inl"
#elif LV_CLASS <= 5
#include "vmath/ln/ln_256.inl"
#else
#include "vmath/ln/ln_512.inl"
#endif

int32_t LV_NAME(LnFloat32Kernel)(const float* src, float* dst, int32_t n) { return LV_NS::Kernel(src, dst, n); }
