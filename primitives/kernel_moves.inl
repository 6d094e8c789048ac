// Scalar moves and string-instruction helpers shared by the zero-fill and
// copy bodies, defined inside the class namespace of the per-class file that
// includes them, so every class gets its own copy compiled with its own flags.
#pragma once

#include <cstdint>

#include "cpu/per_class.h"

namespace LV_NS {
namespace {

// Fixed-size unaligned moves; the compiler turns each into one load and one store.
[[gnu::always_inline]] inline void Move1(uint8_t* d, const uint8_t* s) { *d = *s; }
[[gnu::always_inline]] inline void Move2(uint8_t* d, const uint8_t* s) { __builtin_memcpy(d, s, 2); }
[[gnu::always_inline]] inline void Move4(uint8_t* d, const uint8_t* s) { __builtin_memcpy(d, s, 4); }
[[gnu::always_inline]] inline void Move8(uint8_t* d, const uint8_t* s) { __builtin_memcpy(d, s, 8); }
[[gnu::always_inline]] inline void Zero1(uint8_t* d) { *d = 0; }
[[gnu::always_inline]] inline void Zero2(uint8_t* d) {
  const uint16_t z = 0;
  __builtin_memcpy(d, &z, 2);
}
[[gnu::always_inline]] inline void Zero4(uint8_t* d) {
  const uint32_t z = 0;
  __builtin_memcpy(d, &z, 4);
}
[[gnu::always_inline]] inline void Zero8(uint8_t* d) {
  const uint64_t z = 0;
  __builtin_memcpy(d, &z, 8);
}

[[gnu::always_inline]] inline uintptr_t Addr(const void* p) { return reinterpret_cast<uintptr_t>(p); }

// Brings a byte of the source into the cache ahead of a streaming copy.
[[gnu::always_inline]] inline void Touch(const uint8_t* p) {
  const uint8_t v = *static_cast<const volatile uint8_t*>(p);
  __asm__ volatile("" : : "r"(v));
}

// The string instructions run with the direction flag clear; a caller that
// had it set gets it back. (The ABI keeps it clear across calls, so this is
// belt and braces.) The flags are read below the red zone.
[[gnu::always_inline]] inline bool DirectionFlagWasSet() {
  uint64_t flags = 0;
  __asm__ volatile(
      "lea -128(%%rsp), %%rsp\n\t"
      "pushfq\n\t"
      "popq %0\n\t"
      "lea 128(%%rsp), %%rsp\n\t"
      "cld"
      : "=r"(flags)
      :
      : "memory", "cc");
  return (flags & 0x400) != 0;
}
[[gnu::always_inline]] inline void RestoreDirectionFlag(bool wasSet) {
  if (wasSet) {
    __asm__ volatile("std" : : : "memory", "cc");
  }
}

}  // namespace
}  // namespace LV_NS
