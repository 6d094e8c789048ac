// Float and complex sums of processor class 5 (Avx2).
#include "cpu/isa_class.h"
#include "primitives/sum/sum.h"
#include "primitives/sum/sum_kernels.h"

LV_ASSERT_CLASS(5);

namespace lv_avx2 {
namespace {
struct K {
  static constexpr int kClass = 5;
};
using S = ::lv_sum::Sums<K>;
}  // namespace
}  // namespace lv_avx2

LV_SUM_DEFINE_CLASS(Avx2, lv_avx2)
