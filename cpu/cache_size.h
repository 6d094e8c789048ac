// The size of the processor's largest data or unified cache, for the zero
// fills and copies that bypass the cache on blocks larger than it.
#pragma once

#include <cstdint>

// One row of the leaf-2 cache-descriptor table: descriptor byte -> size in bytes.
struct CacheDescriptorRow {
  uint32_t descriptor;  // only the low byte is compared; 0 ends a table
  uint32_t size;
};

// The 55 descriptors, from the largest size down, ended by a zero row.
extern const CacheDescriptorRow kCacheDescriptorTable[56];
// Its first 43 rows (512 KiB and more), ended by a zero row.
extern const CacheDescriptorRow kLargeCacheDescriptorTable[44];

// Writes the size of the largest data or unified cache (from leaf 4, or the
// leaf-2 descriptors on processors without leaf 4) and returns 0, or returns
// -8 (null), 36 (no query possible: max basic leaf below 2 or another vendor;
// writes -1) or 37 (no size found; writes 0). Queried once; the answer,
// failures included, is kept for the life of the process.
int32_t QueryCacheSize(int32_t* sizeOut);

// The size of the first row of `table` whose descriptor is among the leaf-2
// descriptor bytes, or -1.
int64_t LargestCacheSize(const CacheDescriptorRow* table);

// The uncached leaf-2 lookup over the rows of 512 KiB and more; with perCore,
// divided by the number of core identifiers of the package. -1 when the vendor
// is not GenuineIntel or nothing matches.
int64_t LargeCacheSizeLookup(bool perCore);

// Test-only: makes both queries answer `size` until cleared (QueryCacheSize
// with status 0, or with 36 and -1 when size is negative), so that the
// streaming roads can be reached on any processor.
void SetCacheSizeOverrideForTest(int64_t size);
void ClearCacheSizeOverrideForTest();
// Test-only: forgets the cached answer of QueryCacheSize.
void ResetCacheSizeCacheForTest();
