// The large-order roads of classes 1 to 7 as one table, shared by the quick and
// the huge large-order tests: each class's size query, initialisation,
// drivers, recursion levels and (classes 1 to 5 and 7) own transforms, and the
// orders each test visits on it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "cpu/dispatch.h"
#include "fft/fft.h"
#include "fft/setup/permute.h"
#include "fft/setup/many_core_plan.h"
#include "fft/setup/setup.h"
#include "fft/setup/fft_spec.h"
#include "fft/fft_classes.h"
#include "fft/drivers/large_order.h"
#include "support/class_fixture.h"
#include "support/fft_reference.h"

namespace lv_large_test {

using C = ComplexFloat32;
using DriverFn = void (*)(const FftSpecComplexFloat32* spec, const C* src, C* dst, int32_t order, uint8_t* work);
using LevelFn = void (*)(const FftSpecComplexFloat32* spec, C* data, int32_t order, int32_t depth, uint8_t* work);

struct LargeClass {
  lv_test::FftGetSizeFn getSize;
  lv_test::FftInitFn init;
  DriverFn driver[2];  // forward, inverse
  LevelFn level[2];
  // The class's own transforms (classes 1 to 5 and 7), which the tests take
  // instead of the drivers where they exist; null elsewhere.
  lv_test::FftTransformFn transform[2];
  std::vector<int> accuracyOrders;  // against FFTW (quick)
  // Orders on both sides of the bit-reversal edges: whole-array reversal,
  // first tiled order, last order taking tiles from the source, first order
  // copied in chunks first.
  std::vector<int> edgeOrders;
  // Offsets past a 64-byte boundary of the misaligned destinations there.
  std::vector<size_t> misalignedOffsets;
  std::vector<int> workOrders;   // the work buffer at its reported size
  std::vector<int> levelOrders;  // the recursion level called directly
  std::vector<int> hugeOrders;   // across the recursion edge (huge tests)
};

#define LV_LARGE_ROADS(Sfx)                                                            \
  FftGetSizeComplexFloat32##Sfx, FftInitComplexFloat32##Sfx,                           \
      {FftForwardLargeOrder##Sfx, FftInverseLargeOrder##Sfx},                          \
      {FftForwardLargeOrderLevel##Sfx, FftInverseLargeOrderLevel##Sfx}

// Indexed by the class (entry 0 unused: class 0 is tested through its
// transforms, tests/fft/transform).
inline const LargeClass& Large(int cls) {
  static const LargeClass kClasses[8] = {
      {},
      // Class 1: first large order 17 (32-column blocks), whole-array reversal
      // to 19, blocked from 20; outer order 6 at 21, 8 from 22.
      {LV_LARGE_ROADS(Sse3), {FftForwardComplexFloat32Sse3, FftInverseComplexFloat32Sse3}, {17, 18, 19, 20, 21, 22}, {17, 18, 19, 20, 21}, {8, 24},
       {17, 19, 20, 22}, {18, 20}, {24, 25, 26}},
      // Classes 2 and 3: whole-array reversal at 18, tiles from 19; class 2
      // copies in chunks from 22, class 3 from 23.
      {LV_LARGE_ROADS(Ssse3), {FftForwardComplexFloat32Ssse3, FftInverseComplexFloat32Ssse3}, {18, 19, 20, 21, 22}, {18, 19, 21, 22}, {8}, {18, 19, 22}, {20}, {}},
      {LV_LARGE_ROADS(Sse42), {FftForwardComplexFloat32Sse42, FftInverseComplexFloat32Sse42}, {18, 19, 20, 21, 22}, {18, 19, 22, 23}, {8}, {18, 19, 22}, {20}, {}},
      // Classes 4 to 7: blocked from 19, tiles from the source up to 22,
      // copied in chunks first from 23.
      {LV_LARGE_ROADS(Avx), {FftForwardComplexFloat32Avx, FftInverseComplexFloat32Avx}, {19, 20, 21, 22, 23}, {19, 20, 21, 22, 23}, {8}, {19, 20, 21, 22, 23},
       {20}, {}},
      {LV_LARGE_ROADS(Avx2), {FftForwardComplexFloat32Avx2, FftInverseComplexFloat32Avx2}, {19, 20, 21, 22, 23, 24},
       {19, 22, 23}, {8}, {19, 23}, {20}, {25, 26, 27, 28}},
      // Class 6: its driver equals class 5's transform bit for bit (checked
      // on its own below), so it is not compared with FFTW again.
      {LV_LARGE_ROADS(Avx512ManyCore), {nullptr, nullptr}, {}, {}, {}, {19, 23}, {20}, {}},
      {LV_LARGE_ROADS(Avx512), {FftForwardComplexFloat32Avx512, FftInverseComplexFloat32Avx512},
       {19, 20, 21, 22, 23, 24}, {19, 22, 23}, {8}, {19, 23}, {20}, {25, 26, 27, 28}},
  };
  return kClasses[cls];
}

#undef LV_LARGE_ROADS

inline lv_test::FftPlan Plan(int cls, int order, int flag) {
  return lv_test::FftPlan(Large(cls).getSize, Large(cls).init, order, flag);
}

// One transform of the class: its own transform where it has one (a status
// other than 0 fails the test), else its driver; direction 0 forward, 1 inverse.
inline void RunRoad(int cls, int direction, const lv_test::FftPlan& plan, const C* src, C* dst, int order) {
  const LargeClass& k = Large(cls);
  if (k.transform[direction] != nullptr) {
    EXPECT_EQ(k.transform[direction](src, dst, plan.spec, plan.work()), 0);
  } else {
    k.driver[direction](plan.spec, src, dst, order, plan.work());
  }
}

inline lv_test::FftSubject Subject(int cls, const lv_test::FftPlan& plan, int order, int direction, double scale) {
  lv_test::FftSubject s;
  s.order = order;
  s.sign = direction == 0 ? lv_test::kFftForward : lv_test::kFftInverse;
  s.scale = scale;
  s.run = [cls, &plan, order, direction](const C* src, C* dst) { RunRoad(cls, direction, plan, src, dst, order); };
  return s;
}

// A class and an order.
struct LargeCase {
  int cls;
  int order;
};

inline void PrintTo(const LargeCase& c, std::ostream* os) {
  *os << ProcessorClassSuffix(c.cls) << " order " << c.order;
}

// Every (class, order) of one order list of the table.
inline std::vector<LargeCase> Cases(std::vector<int> LargeClass::*orders) {
  std::vector<LargeCase> cases;
  for (int cls = 1; cls < kProcessorClassCount; ++cls) {
    for (int order : Large(cls).*orders) cases.push_back({cls, order});
  }
  return cases;
}

inline std::string CaseName(const ::testing::TestParamInfo<LargeCase>& info) {
  return std::string(ProcessorClassSuffix(info.param.cls)) + "_order" + std::to_string(info.param.order);
}

// A case over a class and an order; a class this processor cannot run is
// skipped with a message.
class LargeCaseTest : public ::testing::TestWithParam<LargeCase> {
 protected:
  void SetUp() override {
    if (!IsProcessorClassRunnable(GetParam().cls)) {
      GTEST_SKIP() << "processor class " << ProcessorClassSuffix(GetParam().cls)
                   << " is not supported by this processor";
    }
  }
};

}  // namespace lv_large_test
