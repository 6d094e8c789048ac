// Float and complex sums of processor class 2 (Ssse3).
#include "cpu/isa_class.h"
#include "primitives/sum/sum.h"
#include "primitives/sum/sum_kernels.h"

LV_ASSERT_CLASS(2);

namespace lv_ssse3 {
namespace {
struct K {
  static constexpr int kClass = 2;
};
using S = ::lv_sum::Sums<K>;
}  // namespace
}  // namespace lv_ssse3

LV_SUM_DEFINE_CLASS(Ssse3, lv_ssse3)
