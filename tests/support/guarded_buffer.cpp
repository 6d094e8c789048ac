#include "support/guarded_buffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <stdexcept>

namespace lv_test {

GuardedBuffer::GuardedBuffer(size_t size, size_t align) : size_(size) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const size_t dataPages = (size + page - 1) / page;
  mapSize_ = (dataPages + 1) * page;
  map_ = mmap(nullptr, mapSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (map_ == MAP_FAILED) {
    throw std::runtime_error("GuardedBuffer: mmap failed");
  }
  auto* base = static_cast<uint8_t*>(map_);
  if (mprotect(base + dataPages * page, page, PROT_NONE) != 0) {
    throw std::runtime_error("GuardedBuffer: mprotect failed");
  }
  size_t start = dataPages * page - size;
  if (align > 1) {
    start -= start % align;
  }
  data_ = base + start;
}

GuardedBuffer::~GuardedBuffer() {
  if (map_ != nullptr) {
    munmap(map_, mapSize_);
  }
}

}  // namespace lv_test
