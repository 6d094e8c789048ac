// Float and complex sums of processor class 4 (Avx).
#include "cpu/isa_class.h"
#include "primitives/sum/sum.h"
#include "primitives/sum/sum_kernels.h"

LV_ASSERT_CLASS(4);

namespace lv_avx {
namespace {
struct K {
  static constexpr int kClass = 4;
};
using S = ::lv_sum::Sums<K>;
}  // namespace
}  // namespace lv_avx

LV_SUM_DEFINE_CLASS(Avx, lv_avx)
