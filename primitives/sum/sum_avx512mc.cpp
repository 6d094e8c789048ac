// Float and complex sums of processor class 6 (Avx512ManyCore).
#include "cpu/isa_class.h"
#include "primitives/sum/sum.h"
#include "primitives/sum/sum_kernels.h"

LV_ASSERT_CLASS(6);

namespace lv_avx512mc {
namespace {
struct K {
  static constexpr int kClass = 6;
};
using S = ::lv_sum::Sums<K>;
}  // namespace
}  // namespace lv_avx512mc

LV_SUM_DEFINE_CLASS(Avx512ManyCore, lv_avx512mc)
