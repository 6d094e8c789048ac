// The transforms of the 128-bit classes and of class 4 (AVX), each forced
// through the dispatch override and reached through the dispatched entry
// points: at every order the checks of the portable transform (the verifier
// against FFTW in double, the round trip, the mirror, scaling exactly once
// per road, the source unchanged, in place equal to out of place). Orders 24
// to 27 are in the huge tests.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cpu/dispatch.h"
#include "cpu/dispatch_testing.h"
#include "support/fft_reference.h"
#include "tests/fft/transform/fft_transform_checks.h"

namespace {

// The classes whose own transforms these tests cover.
constexpr int kClasses[] = {1, 2, 3, 4};

struct ClassOrder {
  int cls;
  int order;
};

void PrintTo(const ClassOrder& c, std::ostream* os) { *os << ProcessorClassSuffix(c.cls) << " order " << c.order; }

std::vector<ClassOrder> Cases(int first, int last) {
  std::vector<ClassOrder> cases;
  for (int cls : kClasses) {
    for (int order = first; order <= last; ++order) cases.push_back({cls, order});
  }
  return cases;
}

std::string CaseName(const ::testing::TestParamInfo<ClassOrder>& info) {
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

TEST_P(ClassTransform, AgainstDoublePrecision) {
  fft_transform_checks::CheckOrder(GetParam().order, lv_test::kFftAllProperties);
}

TEST_P(ClassTransform, MirrorScaleAndInPlace) { fft_transform_checks::CheckExactProperties(GetParam().order); }

INSTANTIATE_TEST_SUITE_P(Orders0To22, ClassTransform, ::testing::ValuesIn(Cases(0, 22)), CaseName);

}  // namespace
