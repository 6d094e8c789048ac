// Float and complex sums of processor class 3 (Sse42).
#include "cpu/isa_class.h"
#include "primitives/sum/sum.h"
#include "primitives/sum/sum_kernels.h"

LV_ASSERT_CLASS(3);

namespace lv_sse42 {
namespace {
struct K {
  static constexpr int kClass = 3;
};
using S = ::lv_sum::Sums<K>;
}  // namespace
}  // namespace lv_sse42

LV_SUM_DEFINE_CLASS(Sse42, lv_sse42)
