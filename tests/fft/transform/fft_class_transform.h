// The transforms of classes 1 to 4, each forced through the dispatch override
// and reached through the dispatched entry points, at one order: the checks of
// the portable transform (the verifier against FFTW in double, the round
// trip, the mirror, scaling exactly once per road, the source unchanged, in
// place equal to out of place). Shared by the quick and the huge tests.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cpu/dispatch.h"
#include "cpu/dispatch_testing.h"
#include "support/fft_reference.h"
#include "tests/fft/transform/fft_transform_checks.h"

namespace fft_class_transform {

// The classes whose own transforms these tests cover.
constexpr int kClasses[] = {1, 2, 3, 4};

struct ClassOrder {
  int cls;
  int order;
};

inline void PrintTo(const ClassOrder& c, std::ostream* os) {
  *os << ProcessorClassSuffix(c.cls) << " order " << c.order;
}

inline std::vector<ClassOrder> Cases(int first, int last) {
  std::vector<ClassOrder> cases;
  for (int cls : kClasses) {
    for (int order = first; order <= last; ++order) cases.push_back({cls, order});
  }
  return cases;
}

inline std::string CaseName(const ::testing::TestParamInfo<ClassOrder>& info) {
  return std::string(ProcessorClassSuffix(info.param.cls)) + "_order" + std::to_string(info.param.order);
}

// One class forced for the test's lifetime; a class this processor cannot run
// is skipped with a message.
class ClassTransform : public ::testing::TestWithParam<ClassOrder> {
 protected:
  void SetUp() override {
    if (!IsProcessorClassRunnable(GetParam().cls)) {
      GTEST_SKIP() << "processor class " << ProcessorClassSuffix(GetParam().cls)
                   << " is not supported by this processor";
    }
    scoped_.emplace(GetParam().cls);
  }
  void TearDown() override { scoped_.reset(); }

 private:
  std::optional<ScopedProcessorClass> scoped_;
};

}  // namespace fft_class_transform
