// Road counters of the large-block primitives (zero fill, copy).
//
// Each kernel that chooses between roads (streaming stores, the string
// instructions, backward rounds, byte-align shifts) counts the road it takes,
// so that tests can prove that every road is reached. The counters are
// per-thread plain words: always compiled in, one increment of a thread-local
// word per decision, no sharing between threads and no atomic operation.
#pragma once

#include <cstdint>

enum PrimitiveRoad : int {
  kRoadZeroFillStream,          // classes 1-3: non-temporal 16-byte stores
  kRoadZeroFillCachedLarge,     // classes 1-3: above 512 KiB but not streaming
  kRoadZeroFillVectorLarge,     // classes 4-7: more than 32 KiB with 32-byte stores
  kRoadZeroFillString,          // classes 4-7: repeated byte store
  kRoadCopyStream,              // classes 1-3: non-temporal 16-byte stores
  kRoadCopyCachedLarge,         // classes 1-3: large enough to ask for the cache size, not streaming
  kRoadCopyForward,             // class 3: forward aligned rounds (page offsets)
  kRoadCopyBackward,            // class 3: backward aligned rounds (page offsets)
  kRoadCopyAlignShift,          // class 3: byte-align shifts of aligned source blocks
  kRoadCopyAvxBackward,         // classes 4-7: 16 KiB and more in the 32-byte kernel, from the end
  kRoadCopyString,              // classes 4-7: repeated string move
  kRoadCopyLargeStream,         // classes 5-7: non-temporal 32-byte stores
  kRoadCopyLargeBackward,       // classes 5-7: backward 64-byte units (destination just above source in a page)
  kRoadCount,
};

// The calling thread's counters.
extern __thread uint64_t g_primitiveRoadCounts[kRoadCount];

#define LV_COUNT_ROAD(road) (++g_primitiveRoadCounts[(road)])

// The calling thread's count of a road (tests).
uint64_t PrimitiveRoadCount(PrimitiveRoad road);
