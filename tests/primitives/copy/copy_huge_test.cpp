// Byte counts beyond 2^31: the typed copies of classes 4-7 go in pieces of
// 0x7FFFFFE0 bytes, the other classes and the zero fills count bytes in 64
// bits. Every class must move exactly the bytes a single copy would.
#include <sys/mman.h>

#include <cstring>

#include <gtest/gtest.h>

#include "primitives/copy/copy.h"
#include "primitives/copy/copy_classes.h"
#include "primitives/zerofill/zerofill.h"
#include "primitives/zerofill/zerofill_classes.h"
#include "support/bits.h"
#include "support/class_fixture.h"

namespace {

using CopyFn = int32_t (*)(const void*, void*, int32_t);
using FillFn = int32_t (*)(void*, int32_t);
const CopyFn kCopyFloat32[kProcessorClassCount] = {
    &VectorCopyFloat32Sse2, &VectorCopyFloat32Sse3, &VectorCopyFloat32Ssse3,          &VectorCopyFloat32Sse42,
    &VectorCopyFloat32Avx,  &VectorCopyFloat32Avx2, &VectorCopyFloat32Avx512ManyCore, &VectorCopyFloat32Avx512};
const FillFn kFillComplex[kProcessorClassCount] = {
    &VectorZeroFillComplexFloat32Sse2, &VectorZeroFillComplexFloat32Sse3, &VectorZeroFillComplexFloat32Ssse3,
    &VectorZeroFillComplexFloat32Sse42, &VectorZeroFillComplexFloat32Avx, &VectorZeroFillComplexFloat32Avx2,
    &VectorZeroFillComplexFloat32Avx512ManyCore, &VectorZeroFillComplexFloat32Avx512};

struct Mapping {
  explicit Mapping(size_t bytes) : size(bytes) {
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    data = p == MAP_FAILED ? nullptr : static_cast<uint8_t*>(p);
  }
  ~Mapping() {
    if (data != nullptr) munmap(data, size);
  }
  uint8_t* data;
  size_t size;
};

class HugeTest : public lv_test::PerClassTest {};

TEST_P(HugeTest, CopyOfMoreThanTwoGiB) {
  const int32_t n = 0x20000000 + 37;  // floats: 2 GiB + 148 bytes
  const size_t bytes = size_t{4} * n;
  Mapping src(bytes + 64), dst(bytes + 64);
  ASSERT_NE(src.data, nullptr);
  ASSERT_NE(dst.data, nullptr);
  for (size_t i = 0; i < bytes; i += 4093) src.data[i + 4] = static_cast<uint8_t>(i * 7 + 1);
  for (size_t i = bytes - 4096; i < bytes; ++i) src.data[i + 4] = static_cast<uint8_t>(i);
  std::memset(dst.data + 4 + bytes, 0xA5, 60);
  ASSERT_EQ(kCopyFloat32[Cls()](src.data + 4, dst.data + 4, n), StatusOk);
  EXPECT_TRUE(lv_test::SameBytes(src.data + 4, dst.data + 4, bytes));
  for (size_t i = 0; i < 60; ++i) ASSERT_EQ(dst.data[4 + bytes + i], 0xA5);
}

TEST_P(HugeTest, ZeroFillOfMoreThanTwoGiB) {
  const int32_t n = 0x10000000 + 5;  // complex: 2 GiB + 40 bytes
  const size_t bytes = size_t{8} * n;
  Mapping buf(bytes + 64);
  ASSERT_NE(buf.data, nullptr);
  std::memset(buf.data, 0x3C, bytes + 64);
  ASSERT_EQ(kFillComplex[Cls()](buf.data + 8, n), StatusOk);
  EXPECT_EQ(buf.data[7], 0x3C);
  for (size_t i = 8; i < bytes + 8; i += 4096) ASSERT_EQ(buf.data[i], 0) << i;
  for (size_t i = bytes + 8 - 4096; i < bytes + 8; ++i) ASSERT_EQ(buf.data[i], 0) << i;
  EXPECT_EQ(buf.data[bytes + 8], 0x3C);
}

LV_INSTANTIATE_PER_CLASS(HugeTest);

}  // namespace
