// Inputs for vector-math benchmarks that the branch predictor cannot learn.
// A pool of kPoolElements values (far more vectors than a predictor's history
// remembers, small enough to stay in the outer caches) is walked a window at a
// time: every timed call sees the next window, and the same values come round
// again only after the whole pool, hundreds of calls later. Ours and the peer
// walk the same pool in the same order, so both see identical data.
#pragma once

#include <cstddef>
#include <vector>

namespace lv_bench {

constexpr size_t kPoolElements = size_t{1} << 18;  // 1 MiB of floats per operand

class WindowWalk {
 public:
  explicit WindowWalk(size_t window, size_t pool = kPoolElements) : window_(window), pool_(pool) {}
  // Offset of the next window into the pool.
  size_t Next() {
    const size_t at = at_;
    at_ += window_;
    if (at_ + window_ > pool_) at_ = 0;
    return at;
  }

 private:
  size_t window_;
  size_t pool_;
  size_t at_ = 0;
};

}  // namespace lv_bench
