// The dispatch frame of the vector primitives.
//
// Every primitive exists once per processor class. An entry point reads the
// dispatch index (one load) and jumps through its table (one indirect jump) to
// the implementation of the processor's class. Until the index is set, slot -1
// of every table, the init stub, runs InitProcessorDispatch and dispatches
// again with the caller's arguments untouched.
#pragma once

#include <atomic>
#include <cstdint>

// Statuses of the primitives and of the frame.
enum : int32_t {
  StatusOk = 0,
  StatusNullPointer = -8,
  StatusBadCount = -6,
  StatusBadArgument = -5,
  StatusLnOfZero = 7,
  StatusLnOfNegative = 8,
  StatusNonIntelProcessor = 20,
  StatusProcessorNotSupported = 36,
  StatusCacheSizeUnknown = 37,
  StatusFeatureNotAvailable = 49,
  StatusUnknownFeatureBits = 50,
  StatusClassFeaturesIncomplete = 51,
};

// Processor classes; the suffixes name the implementations (VectorCopyFloat32Avx2).
enum ProcessorClass : int32_t {
  kClassSse2 = 0,
  kClassSse3 = 1,
  kClassSsse3 = 2,
  kClassSse42 = 3,
  kClassAvx = 4,
  kClassAvx2 = 5,
  kClassAvx512ManyCore = 6,
  kClassAvx512 = 7,
};
inline constexpr int kProcessorClassCount = 8;

// The suffix of a class ("Sse2" ... "Avx512"), or "?" outside 0..7.
const char* ProcessorClassSuffix(int cls);

// -1 until initialised, then the class 0..7. Published with release order
// after the masks, so a thread that sees the index sees the masks too.
extern std::atomic<int32_t> g_dispatchIndex;

// Detects the processor, chooses and stores the class; returns the frame's status.
int32_t InitProcessorDispatch();

// The per-element hook of the vector-math kernels: called once for every
// element that took a kernel's special-value road, after its result was
// stored. It does nothing; the kernels read the element's result back after it.
void MathErrorCallback(int32_t code, int32_t index, const void* argument1, const void* argument2, void* result1,
                       void* result2, int32_t* statusCell);

// The class in use, initialising the frame when needed.
int32_t CurrentProcessorClass();

namespace lv_dispatch {

template <typename Fn>
struct DispatchTable;

// slot[0] is the init stub (index -1), slot[1..8] the classes 0..7, slot[9] a
// terminating null.
template <typename R, typename... A>
struct DispatchTable<R (*)(A...)> {
  using Fn = R (*)(A...);
  Fn slot[10];

  // The entry point's body: one load of the index, one indirect jump.
  [[gnu::always_inline]] R operator()(A... args) const {
    return slot[g_dispatchIndex.load(std::memory_order_acquire) + 1](args...);
  }

  template <const DispatchTable& Table>
  static R InitStub(A... args) {
    InitProcessorDispatch();
    return Table(args...);
  }
};

}  // namespace lv_dispatch

// Defines the dispatch table `name` of function type FnType from the eight
// class implementations, in class order.
#define LV_DISPATCH_TABLE(name, FnType, ...)                                     \
  extern const ::lv_dispatch::DispatchTable<FnType> name;                         \
  constinit const ::lv_dispatch::DispatchTable<FnType> name = {                   \
      {&::lv_dispatch::DispatchTable<FnType>::template InitStub<name>, __VA_ARGS__, \
       nullptr}}
