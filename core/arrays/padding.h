// The padding and trimming operations shared by every array kind. Each works
// on a (data, count) pair through a traits class that allocates, frees,
// clears and copies blocks of its element type; each builds a new block of
// the new length and leaves the array unchanged on any failure.
#pragma once

#include <cstdint>

#include "core/call_stack.h"
#include "core/error.h"

namespace lv_arrays {

template <typename Traits>
struct Padding {
  using T = typename Traits::Element;

  // Allocates a block of n elements (n computed in 64 bits so that a sum of
  // counts past the int range is an allocation failure, not a wrap).
  static T* NewBlock(int64_t n) { return Traits::Alloc(n > 0x7FFFFFFF ? -1 : static_cast<int>(n)); }

  static void Take(T*& data, int& count, T* block, int n) {
    Traits::Free(data);
    data = block;
    count = n;
  }

  // emptyMessage: null when an empty array may be padded (it becomes n zeros).
  static void Prepend(T*& data, int& count, int n, const char* emptyMessage) { Pad(data, count, n, emptyMessage, true); }
  static void Append(T*& data, int& count, int n, const char* emptyMessage) { Pad(data, count, n, emptyMessage, false); }

  static void Pad(T*& data, int& count, int n, const char* emptyMessage, bool front) {
    if (n < 1) {
      throw new CQError("Invalid number of points.");
    }
    if (emptyMessage != nullptr && (data == nullptr || count == 0)) {
      throw new CQError(emptyMessage);
    }
    const int64_t total = static_cast<int64_t>(count) + n;
    T* block = NewBlock(total);
    try {
      Traits::Zero(block, static_cast<int>(total));
      if (data != nullptr && count > 0) {
        Traits::Copy(data, front ? block + n : block, count);
      }
    } catch (CQError*) {
      Traits::Free(block);
      throw;
    }
    Take(data, count, block, static_cast<int>(total));
  }

  static void Remove(T*& data, int& count, int front, int back) {
    if (front < 1 && back < 1) {
      return;
    }
    front = front < 0 ? 0 : front;
    back = back < 0 ? 0 : back;
    const int64_t remaining = static_cast<int64_t>(count) - front - back;
    if (remaining <= 0 || data == nullptr) {
      Take(data, count, nullptr, 0);
      return;
    }
    Keep(data, count, front, static_cast<int>(remaining));
  }

  static void Skip(T*& data, int& count, int n) {
    if (n < 0 || n >= count) {
      throw new CQError("Invalid number of points.");
    }
    if (data == nullptr) {
      throw new CQError("Attempt to skip points in non-existent data.");
    }
    Keep(data, count, n, count - n);
  }

  static void Limit(T*& data, int& count, int n) {
    if (n < 1) {
      throw new CQError("Invalid number of points.");
    }
    if (count < n) {
      return;
    }
    if (data == nullptr) {
      throw new CQError("Attempt to limit points in non-existent data.");
    }
    Keep(data, count, 0, n);
  }

  // A new block of n elements taken from index first.
  static void Keep(T*& data, int& count, int first, int n) {
    T* block = NewBlock(n);
    try {
      Traits::Copy(data + first, block, n);
    } catch (CQError*) {
      Traits::Free(block);
      throw;
    }
    Take(data, count, block, n);
  }
};

using lv::Named;

}  // namespace lv_arrays
