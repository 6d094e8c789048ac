#include "cpu/cache_size.h"

#include <atomic>
#include <climits>

#include "cpu/dispatch.h"

// The descriptor rows of 512 KiB and more (the first 43 rows of the table).
#define LV_LARGE_CACHE_ROWS                                                                       \
    {0xEC, 0x1800000}, {0xEB, 0x1200000}, {0x4D, 0x1000000}, {0xEA, 0xC00000}, {0x4C, 0xC00000},  \
    {0xE4, 0x800000},  {0xDE, 0x800000},  {0x4B, 0x800000},  {0x47, 0x800000}, {0x4E, 0x600000},  \
    {0x4A, 0x600000},  {0xE3, 0x400000},  {0xDD, 0x400000},  {0xD8, 0x400000}, {0x49, 0x400000},  \
    {0x29, 0x400000},  {0x46, 0x400000},  {0x48, 0x300000},  {0xE2, 0x200000}, {0xDC, 0x200000},  \
    {0xD7, 0x200000},  {0xD2, 0x200000},  {0x25, 0x200000},  {0x7D, 0x200000}, {0x85, 0x200000},  \
    {0x45, 0x200000},  {0xD6, 0x100000},  {0xD1, 0x100000},  {0x23, 0x100000}, {0x87, 0x100000},  \
    {0x7C, 0x100000},  {0x78, 0x100000},  {0x84, 0x100000},  {0x44, 0x100000}, {0xD0, 0x80000},   \
    {0x22, 0x80000},   {0x7B, 0x80000},   {0x80, 0x80000},   {0x86, 0x80000},  {0x3E, 0x80000},   \
    {0x7F, 0x80000},   {0x83, 0x80000},   {0x43, 0x80000},

const CacheDescriptorRow kCacheDescriptorTable[56] = {
    LV_LARGE_CACHE_ROWS
    {0x3D, 0x60000}, {0x21, 0x40000}, {0x7A, 0x40000}, {0x82, 0x40000}, {0x3C, 0x40000}, {0x3F, 0x40000},
    {0x42, 0x40000}, {0x3A, 0x30000}, {0x79, 0x20000}, {0x39, 0x20000}, {0x3B, 0x20000}, {0x41, 0x20000},
    {0, 0},
};

const CacheDescriptorRow kLargeCacheDescriptorTable[44] = {
    LV_LARGE_CACHE_ROWS
    {0, 0},
};

#undef LV_LARGE_CACHE_ROWS

namespace {

// The cached answer of QueryCacheSize: status in the high word, size in the
// low word, published as one atomic word so that no reader ever pairs a new
// status with an old size. Status 1 means not yet queried.
constexpr uint64_t Pack(int32_t status, int32_t size) {
  return (uint64_t{static_cast<uint32_t>(status)} << 32) | static_cast<uint32_t>(size);
}
constexpr uint64_t kNotQueried = Pack(1, -1);
std::atomic<uint64_t> g_cacheSize{kNotQueried};

constexpr int64_t kNoOverride = INT64_MIN;
std::atomic<int64_t> g_override{kNoOverride};

// Collects the leaf-2 descriptor bytes; false when the leaf must be run other
// than once or names none.
bool Leaf2Descriptors(uint8_t bytes[16], int* count) {
  CpuidRegisters r{};
  ReadCpuid(&r, 2, 0);
  if ((r.eax & 0xFF) != 1) {
    return false;
  }
  *count = 0;
  const uint32_t regs[4] = {r.eax, r.ebx, r.ecx, r.edx};
  for (int i = 0; i < 4; ++i) {
    const uint32_t v = regs[i];
    if ((v & 0x80000000u) != 0 || v == 0) {
      continue;  // bit 31 set: this register holds no descriptors
    }
    for (int b = (i == 0 ? 1 : 0); b < 4; ++b) {
      bytes[(*count)++] = static_cast<uint8_t>(v >> (8 * b));
    }
  }
  return *count > 0;
}

int64_t QueryLeaf4() {
  int64_t largest = 0;
  for (uint32_t sub = 0; sub < 32; ++sub) {
    CpuidRegisters r{};
    ReadCpuid(&r, 4, sub);
    const uint32_t type = r.eax & 0x1F;
    if (type == 0) {
      break;
    }
    if (type == 2) {
      continue;  // instruction cache
    }
    // In 64 bits: a large cache must not wrap into a negative size.
    const int64_t size = int64_t{((r.ebx >> 22) & 0x3FF) + 1} * int64_t{((r.ebx >> 12) & 0x3FF) + 1} *
                         int64_t{(r.ebx & 0xFFF) + 1} * (int64_t{r.ecx} + 1);
    if (size > largest) {
      largest = size;
    }
  }
  return largest > INT32_MAX ? INT32_MAX : largest;
}

}  // namespace

int64_t LargestCacheSize(const CacheDescriptorRow* table) {
  uint8_t bytes[16];
  int count = 0;
  if (!Leaf2Descriptors(bytes, &count)) {
    return -1;
  }
  for (const CacheDescriptorRow* row = table; row->descriptor != 0; ++row) {
    for (int i = 0; i < count; ++i) {
      if (bytes[i] == (row->descriptor & 0xFF)) {
        return row->size;
      }
    }
  }
  return -1;
}

int64_t LargeCacheSizeLookup(bool perCore) {
  const int64_t forced = g_override.load(std::memory_order_relaxed);
  if (forced != kNoOverride) {
    return forced;
  }
  if (IsGenuineIntel() == 0) {
    return -1;
  }
  const int64_t size = LargestCacheSize(kLargeCacheDescriptorTable);
  if (size < 0 || !perCore) {
    return size;
  }
  uint64_t cores = 1;
  if (MaxBasicCpuidLeaf() >= 4) {
    CpuidRegisters r{};
    ReadCpuid(&r, 4, 0);
    cores = ((r.eax >> 26) & 0x3F) + 1;
  }
  return static_cast<int64_t>(static_cast<uint64_t>(size) / cores);
}

int32_t QueryCacheSize(int32_t* sizeOut) {
  if (sizeOut == nullptr) {
    return StatusNullPointer;
  }
  const int64_t forced = g_override.load(std::memory_order_relaxed);
  if (forced != kNoOverride) {
    *sizeOut = forced >= 0 ? static_cast<int32_t>(forced > INT32_MAX ? INT32_MAX : forced) : -1;
    return forced >= 0 ? StatusOk : StatusProcessorNotSupported;
  }
  const uint64_t cached = g_cacheSize.load(std::memory_order_acquire);
  if (cached != kNotQueried) {
    *sizeOut = static_cast<int32_t>(static_cast<uint32_t>(cached));
    return static_cast<int32_t>(static_cast<uint32_t>(cached >> 32));
  }
  int32_t status = StatusOk;
  int64_t size = -1;
  uint32_t maxBasic = 0;
  if (HasCpuid() == 0 || (maxBasic = MaxBasicCpuidLeaf()) < 2 || IsGenuineIntel() == 0) {
    status = StatusProcessorNotSupported;
  } else if (maxBasic < 4) {
    size = LargestCacheSize(kCacheDescriptorTable);
    if (size < 0) {
      status = StatusCacheSizeUnknown;
    }
  } else {
    size = QueryLeaf4();
    if (size <= 0) {
      status = StatusCacheSizeUnknown;
    }
  }
  int32_t stored = static_cast<int32_t>(size);
  if (status == StatusProcessorNotSupported) {
    stored = -1;
  } else if (status == StatusCacheSizeUnknown) {
    stored = 0;
  }
  g_cacheSize.store(Pack(status, stored), std::memory_order_release);
  *sizeOut = stored;
  return status;
}

void SetCacheSizeOverrideForTest(int64_t size) { g_override.store(size, std::memory_order_relaxed); }
void ClearCacheSizeOverrideForTest() { g_override.store(kNoOverride, std::memory_order_relaxed); }
void ResetCacheSizeCacheForTest() { g_cacheSize.store(kNotQueried, std::memory_order_release); }
