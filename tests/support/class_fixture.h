// A test fixture over the eight processor classes.
//
//   class CopyTest : public lv_test::PerClassTest {};
//   TEST_P(CopyTest, ...) { ... Cls() ... }
//   LV_INSTANTIATE_PER_CLASS(CopyTest);
//
// A case that applies to some classes only lives in a fixture instantiated
// over those classes, so that the others are not instantiated rather than
// skipped:
//
//   class CopyStreamTest : public CopyTest {};
//   LV_INSTANTIATE_PER_CLASS_OF(CopyStreamTest, kClassAvx, kClassAvx2, kClassAvx512ManyCore, kClassAvx512);
//
// Cases are named by suffix (CopyTest/Avx2). A class this processor cannot run
// is skipped with a message; while a case runs the dispatch index is forced to
// its class and restored afterwards.
#pragma once

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "cpu/dispatch.h"
#include "cpu/dispatch_testing.h"

namespace lv_test {

class PerClassTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    if (!IsProcessorClassRunnable(GetParam())) {
      GTEST_SKIP() << "processor class " << ProcessorClassSuffix(GetParam())
                   << " is not supported by this processor";
    }
    force_ = std::make_unique<ScopedProcessorClass>(GetParam());
  }
  void TearDown() override { force_.reset(); }
  int Cls() const { return GetParam(); }

 private:
  std::unique_ptr<ScopedProcessorClass> force_;
};

inline std::string ClassParamName(const ::testing::TestParamInfo<int>& info) {
  return ProcessorClassSuffix(info.param);
}

// Visits every (offset, count) pair; fails the test when nothing was visited.
template <typename F>
void SweepOffsetsAndCounts(int maxOffset, int maxCount, F&& f) {
  long visited = 0;
  for (int offset = 0; offset <= maxOffset; ++offset) {
    for (int count = 1; count <= maxCount; ++count) {
      f(offset, count);
      ++visited;
      if (::testing::Test::HasFatalFailure()) {
        return;
      }
    }
  }
  ASSERT_GT(visited, 0) << "the sweep visited nothing";
}

}  // namespace lv_test

#define LV_INSTANTIATE_PER_CLASS(Fixture) \
  INSTANTIATE_TEST_SUITE_P(Classes, Fixture, ::testing::Range(0, kProcessorClassCount), ::lv_test::ClassParamName)

// The fixture over the listed classes only (the classes a case applies to).
#define LV_INSTANTIATE_PER_CLASS_OF(Fixture, ...)                                                      \
  INSTANTIATE_TEST_SUITE_P(Classes, Fixture, ::testing::Values(__VA_ARGS__), ::lv_test::ClassParamName)
