// Float and complex sums of processor class 1 (Sse3).
#include "cpu/isa_class.h"
#include "primitives/sum/sum.h"
#include "primitives/sum/sum_kernels.h"

LV_ASSERT_CLASS(1);

namespace lv_sse3 {
namespace {
struct K {
  static constexpr int kClass = 1;
};
using S = ::lv_sum::Sums<K>;
}  // namespace
}  // namespace lv_sse3

LV_SUM_DEFINE_CLASS(Sse3, lv_sse3)
