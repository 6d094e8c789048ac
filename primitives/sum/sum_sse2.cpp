// Float and complex sums of processor class 0 (Sse2).
#include "cpu/isa_class.h"
#include "primitives/sum/sum.h"
#include "primitives/sum/sum_kernels.h"

LV_ASSERT_CLASS(0);

namespace lv_sse2 {
namespace {
struct K {
  static constexpr int kClass = 0;
};
using S = ::lv_sum::Sums<K>;
}  // namespace
}  // namespace lv_sse2

LV_SUM_DEFINE_CLASS(Sse2, lv_sse2)
