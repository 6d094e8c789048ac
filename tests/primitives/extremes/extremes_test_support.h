// Shared pieces of the extremes tests: the class implementation tables and a
// buffer that places a vector at a chosen byte offset from a 64-byte boundary.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "cpu/dispatch.h"
#include "primitives/extremes/extremes.h"
#include "primitives/extremes/extremes_classes.h"

namespace extremes_test {

using ValueF32Fn = int32_t (*)(const float*, int32_t, float*);
using ValueF64Fn = int32_t (*)(const double*, int32_t, double*);
using IndexF32Fn = int32_t (*)(const float*, int32_t, float*, int32_t*);

#define LV_CLASS_ROW(Name)                                                                            \
  {                                                                                                   \
    Name##Sse2, Name##Sse3, Name##Ssse3, Name##Sse42, Name##Avx, Name##Avx2, Name##Avx512ManyCore, \
        Name##Avx512                                                                                  \
  }
// [0] is the minimum, [1] the maximum.
inline const ValueF32Fn kValueF32[2][kProcessorClassCount] = {LV_CLASS_ROW(VectorMinFloat32),
                                                             LV_CLASS_ROW(VectorMaxFloat32)};
inline const ValueF64Fn kValueF64[2][kProcessorClassCount] = {LV_CLASS_ROW(VectorMinFloat64),
                                                             LV_CLASS_ROW(VectorMaxFloat64)};
inline const IndexF32Fn kIndexF32[2][kProcessorClassCount] = {LV_CLASS_ROW(VectorMinIndexFloat32),
                                                             LV_CLASS_ROW(VectorMaxIndexFloat32)};
#undef LV_CLASS_ROW

// A copy of `values` starting `offset` bytes past a 64-byte boundary (offsets
// that are not a multiple of the element size give misaligned vectors).
template <typename T>
class PlacedVector {
 public:
  PlacedVector(const std::vector<T>& values, size_t offset)
      : storage_(values.size() * sizeof(T) + offset + 128), n_(values.size()) {
    auto base = (reinterpret_cast<uintptr_t>(storage_.data()) + 63) & ~uintptr_t{63};
    p_ = reinterpret_cast<uint8_t*>(base) + offset;
    std::memcpy(p_, values.data(), values.size() * sizeof(T));
  }
  const T* data() const { return reinterpret_cast<const T*>(p_); }
  int32_t size() const { return int32_t(n_); }

 private:
  std::vector<uint8_t> storage_;
  size_t n_;
  uint8_t* p_;
};

template <typename T>
uint64_t Bits(T v) {
  uint64_t u = 0;
  std::memcpy(&u, &v, sizeof(T));
  return u;
}

}  // namespace extremes_test
