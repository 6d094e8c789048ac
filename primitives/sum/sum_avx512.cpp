// Float and complex sums of processor class 7 (Avx512).
#include "cpu/isa_class.h"
#include "primitives/sum/sum.h"
#include "primitives/sum/sum_kernels.h"

LV_ASSERT_CLASS(7);

namespace lv_avx512 {
namespace {
struct K {
  static constexpr int kClass = 7;
};
using S = ::lv_sum::Sums<K>;
}  // namespace
}  // namespace lv_avx512

LV_SUM_DEFINE_CLASS(Avx512, lv_avx512)
