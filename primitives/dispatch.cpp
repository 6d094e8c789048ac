#include "primitives/dispatch.h"

#include "primitives/dispatch_testing.h"

std::atomic<int32_t> g_dispatchIndex{-1};

const char* ProcessorClassSuffix(int cls) {
  static const char* const kSuffixes[kProcessorClassCount] = {"Sse2", "Sse3", "Ssse3", "Sse42",
                                                              "Avx",  "Avx2", "Avx512ManyCore", "Avx512"};
  return (cls >= 0 && cls < kProcessorClassCount) ? kSuffixes[cls] : "?";
}

bool IsProcessorClassRunnable(int cls) {
  __builtin_cpu_init();
  switch (cls) {
    case 0:
      return __builtin_cpu_supports("sse2");
    case 1:
      return __builtin_cpu_supports("sse3");
    case 2:
      return __builtin_cpu_supports("ssse3");
    case 3:
      return __builtin_cpu_supports("sse4.2") && __builtin_cpu_supports("popcnt");
    case 4:
      return __builtin_cpu_supports("avx");
    case 5:
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") && __builtin_cpu_supports("bmi") &&
             __builtin_cpu_supports("bmi2");
    case 6:
      return IsProcessorClassRunnable(5) && __builtin_cpu_supports("avx512f") &&
             __builtin_cpu_supports("avx512cd");
    case 7:
      return IsProcessorClassRunnable(6) && __builtin_cpu_supports("avx512bw") &&
             __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl");
    default:
      return false;
  }
}

// Provisional classification from the compiler's processor probe; the full
// CPUID/XGETBV feature mask and class rules replace it.
int32_t InitProcessorDispatch() {
  int cls = 0;
  for (int k = kProcessorClassCount - 1; k > 0; --k) {
    if (k != 6 && IsProcessorClassRunnable(k)) {
      cls = k;
      break;
    }
  }
  g_dispatchIndex.store(cls, std::memory_order_release);
  return StatusOk;
}

void MathErrorCallback(int32_t, int32_t, const void*, const void*, void*, void*, int32_t*) {}

int32_t CurrentProcessorClass() {
  int32_t idx = g_dispatchIndex.load(std::memory_order_acquire);
  if (idx < 0) {
    InitProcessorDispatch();
    idx = g_dispatchIndex.load(std::memory_order_acquire);
  }
  return idx;
}

ScopedProcessorClass::ScopedProcessorClass(int cls) : previous_(CurrentProcessorClass()) {
  g_dispatchIndex.store(cls, std::memory_order_release);
}

ScopedProcessorClass::~ScopedProcessorClass() { g_dispatchIndex.store(previous_, std::memory_order_release); }
