// Test buffers that catch writes and reads outside the requested bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace lv_test {

// `size` usable bytes placed so that the byte after the last one is the first
// byte of a PROT_NONE page: any access past the end faults at once. The start
// is offset from a page boundary by (page - size) rounded down to `align`.
class GuardedBuffer {
 public:
  explicit GuardedBuffer(size_t size, size_t align = 1);
  ~GuardedBuffer();
  GuardedBuffer(const GuardedBuffer&) = delete;
  GuardedBuffer& operator=(const GuardedBuffer&) = delete;

  uint8_t* data() { return data_; }
  size_t size() const { return size_; }
  template <typename T>
  T* as() {
    return reinterpret_cast<T*>(data_);
  }

 private:
  void* map_ = nullptr;
  size_t mapSize_ = 0;
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

// A buffer with canary bytes on both sides of the region under test:
// region(offset) returns a pointer `offset` bytes past a 64-byte boundary.
class CanaryBuffer {
 public:
  static constexpr uint8_t kCanary = 0xA5;
  static constexpr size_t kGuard = 128;

  CanaryBuffer(size_t bytes, size_t offset) : offset_(offset), bytes_(bytes), storage_(bytes + offset + 2 * kGuard + 64, kCanary) {
    auto base = reinterpret_cast<uintptr_t>(storage_.data()) + kGuard;
    base = (base + 63) & ~uintptr_t{63};
    region_ = reinterpret_cast<uint8_t*>(base) + offset;
  }
  uint8_t* region() { return region_; }
  // True when every byte outside [region, region + bytes) still holds the canary.
  bool CanariesIntact() const {
    const uint8_t* begin = storage_.data();
    const uint8_t* end = begin + storage_.size();
    for (const uint8_t* p = begin; p < end; ++p) {
      if ((p < region_ || p >= region_ + bytes_) && *p != kCanary) {
        return false;
      }
    }
    return true;
  }

 private:
  size_t offset_;
  size_t bytes_;
  std::vector<uint8_t> storage_;
  uint8_t* region_;
};

}  // namespace lv_test
