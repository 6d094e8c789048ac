// Bit-for-bit comparison of test results.
//
//   EXPECT_TRUE(lv_test::SameBits(got, want));             // two vectors
//   ASSERT_TRUE(lv_test::SameBits(out, want.data(), n));   // n elements
//   EXPECT_TRUE(lv_test::SameBytes(dst, src, bytes));      // raw memory
//
// Elements match when they hold the same bits: -0.0 differs from +0.0 and a
// NaN's payload counts. SameBitsOrBothNan lets any two NaNs match (which
// operand's payload an operation on two NaNs keeps is not part of the
// arithmetic). On a mismatch the result names the first differing element
// (index, both bit patterns, both values) and how many elements differ.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

namespace lv_test {
namespace bits_detail {

inline std::string Hex(uint64_t v, int digits) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%0*llx", digits, static_cast<unsigned long long>(v));
  return text;
}

inline std::string Describe(float v) {
  uint32_t b;
  std::memcpy(&b, &v, 4);
  char value[32];
  std::snprintf(value, sizeof value, " (%.9g)", static_cast<double>(v));
  return Hex(b, 8) + value;
}

inline std::string Describe(double v) {
  uint64_t b;
  std::memcpy(&b, &v, 8);
  char value[40];
  std::snprintf(value, sizeof value, " (%.17g)", v);
  return Hex(b, 16) + value;
}

// A complex value of two floats (ComplexFloat32, CQComplex, ...).
template <typename T>
concept FloatPair = requires(const T& v) {
  { v.re } -> std::convertible_to<float>;
  { v.im } -> std::convertible_to<float>;
}
&&sizeof(T) == 2 * sizeof(float) && std::is_same_v<std::remove_cvref_t<decltype(T::re)>, float>;

template <typename T>
std::string Describe(const T& v) {
  if constexpr (FloatPair<T>) {
    return "(" + Describe(v.re) + ", " + Describe(v.im) + ")";
  } else if constexpr (std::is_integral_v<T>) {
    using U = std::make_unsigned_t<T>;
    return std::to_string(v) + " (" + Hex(static_cast<U>(v), 2 * sizeof(T)) + ")";
  } else {
    std::string s = "bytes";
    const auto* p = reinterpret_cast<const unsigned char*>(&v);
    for (size_t i = 0; i < sizeof(T); ++i) s += " " + Hex(p[i], 2).substr(2);
    return s;
  }
}

// The floats of one element, for the NaN-tolerant comparison.
template <typename T>
constexpr size_t kFloatLanes = std::is_same_v<T, float> ? 1
                               : FloatPair<T>           ? 2
                                                        : 0;

template <typename T>
bool SameOrBothNan(const T& a, const T& b) {
  if (std::memcmp(&a, &b, sizeof(T)) == 0) {
    return true;
  }
  if constexpr (std::is_same_v<T, double>) {
    return std::isnan(a) && std::isnan(b);
  } else {
    static_assert(kFloatLanes<T> > 0, "SameBitsOrBothNan compares floats, doubles or pairs of floats");
    float x[kFloatLanes<T>], y[kFloatLanes<T>];
    std::memcpy(x, &a, sizeof(T));
    std::memcpy(y, &b, sizeof(T));
    for (size_t i = 0; i < kFloatLanes<T>; ++i) {
      if (std::memcmp(&x[i], &y[i], 4) != 0 && !(std::isnan(x[i]) && std::isnan(y[i]))) {
        return false;
      }
    }
    return true;
  }
}

template <typename T, typename Same>
::testing::AssertionResult Compare(const T* a, const T* b, size_t n, Same same) {
  static_assert(std::is_trivially_copyable_v<T>, "bits are compared on trivially copyable elements");
  // Elements are copied out before they are looked at: tests compare arrays at
  // every start offset, so an element need not be aligned for its type.
  auto at = [](const T* p, size_t i) {
    T v;
    std::memcpy(&v, reinterpret_cast<const unsigned char*>(p) + i * sizeof(T), sizeof(T));
    return v;
  };
  size_t first = n, count = 0;
  for (size_t i = 0; i < n; ++i) {
    if (!same(at(a, i), at(b, i))) {
      if (count++ == 0) {
        first = i;
      }
    }
  }
  if (count == 0) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << count << " of " << n << " elements differ; the first, element " << first
                                       << ": " << Describe(at(a, first)) << " vs " << Describe(at(b, first));
}

}  // namespace bits_detail

// a[i] and b[i] hold the same bits for every i < n.
template <typename T>
::testing::AssertionResult SameBits(const T* a, const T* b, size_t n) {
  return bits_detail::Compare(a, b, n, [](const T& x, const T& y) { return std::memcmp(&x, &y, sizeof(T)) == 0; });
}

// Same size and the same bits in every element.
template <typename T>
::testing::AssertionResult SameBits(const std::vector<T>& a, const std::vector<T>& b) {
  if (a.size() != b.size()) {
    return ::testing::AssertionFailure() << "sizes differ: " << a.size() << " vs " << b.size();
  }
  return SameBits(a.data(), b.data(), a.size());
}

// As SameBits, except that any two NaNs match (float by float).
template <typename T>
::testing::AssertionResult SameBitsOrBothNan(const T* a, const T* b, size_t n) {
  return bits_detail::Compare(a, b, n, [](const T& x, const T& y) { return bits_detail::SameOrBothNan(x, y); });
}

template <typename T>
::testing::AssertionResult SameBitsOrBothNan(const std::vector<T>& a, const std::vector<T>& b) {
  if (a.size() != b.size()) {
    return ::testing::AssertionFailure() << "sizes differ: " << a.size() << " vs " << b.size();
  }
  return SameBitsOrBothNan(a.data(), b.data(), a.size());
}

// `bytes` bytes of raw memory are equal.
inline ::testing::AssertionResult SameBytes(const void* a, const void* b, size_t bytes) {
  return SameBits(static_cast<const uint8_t*>(a), static_cast<const uint8_t*>(b), bytes);
}

}  // namespace lv_test
