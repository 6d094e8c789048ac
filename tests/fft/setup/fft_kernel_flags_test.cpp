// The flag tables that the class table's compile-time checks read agree with
// the kernel tables they stand for: a class is flagged exactly where its entry
// names a function, and every class the class table borrows from is flagged.
#include <gtest/gtest.h>

#include "cpu/dispatch.h"
#include "fft/fft_class_table.h"
#include "fft/fft_classes.h"
#include "fft/kernels/small_kernels.h"
#include "fft/setup/permute.h"

namespace {

using TransformFn = int32_t (*)(const ComplexFloat32*, ComplexFloat32*, const FftSpecComplexFloat32*, uint8_t*);

const TransformFn kForward[] = {&FftForwardComplexFloat32Sse2, &FftForwardComplexFloat32Sse3,
                                &FftForwardComplexFloat32Ssse3, &FftForwardComplexFloat32Sse42,
                                &FftForwardComplexFloat32Avx, &FftForwardComplexFloat32Avx2,
                                &FftForwardComplexFloat32Avx512ManyCore, &FftForwardComplexFloat32Avx512};
const TransformFn kInverse[] = {&FftInverseComplexFloat32Sse2, &FftInverseComplexFloat32Sse3,
                                &FftInverseComplexFloat32Ssse3, &FftInverseComplexFloat32Sse42,
                                &FftInverseComplexFloat32Avx, &FftInverseComplexFloat32Avx2,
                                &FftInverseComplexFloat32Avx512ManyCore, &FftInverseComplexFloat32Avx512};

TEST(FftKernelFlags, FlagsMatchThePointerTables) {
  for (int c = 0; c < kProcessorClassCount; ++c) {
    SCOPED_TRACE(c);
    EXPECT_EQ(kFftHasTransforms[c], kForward[c] != nullptr);
    EXPECT_EQ(kFftHasTransforms[c], kInverse[c] != nullptr);
    EXPECT_EQ(kFftHasOrder0Kernel[c], kFftOrder0NormalisedKernelOf[c] != nullptr);
    EXPECT_EQ(kFftHasOrder1Kernel[c], kFftOrder1NormalisedKernelOf[c] != nullptr);
    EXPECT_EQ(kFftHasOrder1Kernel[c], kFftOrder1KernelOf[c] != nullptr);
    EXPECT_EQ(kFftHasTileMoves[c], kFftTileGatherOf[c] != nullptr);
    EXPECT_EQ(kFftHasTileMoves[c], kFftTileScatterOf[c] != nullptr);
  }
}

TEST(FftKernelFlags, EveryBorrowedClassHasTheKernels) {
  for (int c = 0; c < kProcessorClassCount; ++c) {
    SCOPED_TRACE(c);
    const FftClassRow& row = kFftClasses[c];
    EXPECT_NE(kForward[row.transformClass], nullptr);
    EXPECT_NE(kInverse[row.transformClass], nullptr);
    if (row.order0Class >= 0) {
      EXPECT_NE(kFftOrder0NormalisedKernelOf[row.order0Class], nullptr);
    }
    if (row.order1Class >= 0) {
      EXPECT_NE(kFftOrder1NormalisedKernelOf[row.order1Class], nullptr);
      EXPECT_NE(kFftOrder1KernelOf[row.order1Class], nullptr);
    }
    if (row.tileMoveClass >= 0) {
      EXPECT_NE(kFftTileGatherOf[row.tileMoveClass], nullptr);
      EXPECT_NE(kFftTileScatterOf[row.tileMoveClass], nullptr);
    }
    // Only the class with a many-core limit runs without small-order kernels.
    EXPECT_EQ(row.manyCoreLimit >= 0, row.order0Class < 0);
  }
}

}  // namespace
