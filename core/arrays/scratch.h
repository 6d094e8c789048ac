// A scratch block of samples from CQArrayMath, freed when it goes out of
// scope, on every path: the temporary buffers that an array fills and then
// copies into a new array.
#pragma once

#include <type_traits>

#include "core/array_math.h"

namespace lv_arrays {

template <typename T>
class Scratch {
  static_assert(std::is_same_v<T, float> || std::is_same_v<T, double>, "float or double samples");

 public:
  // n elements (the allocator's checks and errors apply).
  explicit Scratch(int n) {
    if constexpr (std::is_same_v<T, float>) {
      data_ = CQArrayMath::AllocFloat(n);
    } else {
      data_ = CQArrayMath::AllocDouble(n);
    }
  }
  ~Scratch() { CQArrayMath::Free(data_); }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  T* get() const { return data_; }
  T& operator[](int i) const { return data_[i]; }

 private:
  T* data_ = nullptr;
};

}  // namespace lv_arrays
