// Every count from 1 to 3000 at every 4-byte offset and one odd one, both
// hints, against the class models (exhaustive label).
#include <gtest/gtest.h>

#include "primitives/sum/sum_test_util.h"
#include "support/class_fixture.h"

namespace {

class SumLongTest : public lv_test::PerClassTest {};

TEST_P(SumLongTest, EveryCountUpTo3000) {
  for (size_t n = 1; n <= 3000; ++n) {
    const auto data = lv_test::OrderSensitive(static_cast<uint32_t>(n * 7 + Cls()), n);
    for (size_t off = 0; off <= 64; off += 4) {
      for (int32_t hint : {int32_t{HintAccurate}, int32_t{HintFast}}) {
        lv_test::CheckAt(Cls(), data, n, off == 64 ? 2 : off, hint);
        if (HasFatalFailure()) return;
      }
    }
  }
}

LV_INSTANTIATE_PER_CLASS(SumLongTest);

}  // namespace
