#include "core/arrays/ciarray.h"

#include <new>

#include "core/array_math.h"
#include "core/arrays/padding.h"
#include "core/error.h"

namespace {

// Blocks of integer samples are made with new[] (every element 0) and released with delete[].
struct IComplexTraits {
  using Element = CQIComplex;
  static CQIComplex* Alloc(int n) {
    if (n <= 0) {
      throw new CQError(1, "CQArrayMath::AllocIComplex");
    }
    try {
      return new CQIComplex[static_cast<size_t>(n)];
    } catch (const std::bad_alloc&) {
      throw new CQError(1, "CQArrayMath::AllocIComplex");
    }
  }
  static void Free(CQIComplex* p) { delete[] p; }
  static void Zero(CQIComplex* p, int n) { CQArrayMath::ZeroFill(p, n); }
  static void Copy(const CQIComplex* s, CQIComplex* d, int n) { CQArrayMath::CopyArray(s, d, n); }
};

using Pad = lv_arrays::Padding<IComplexTraits>;
using lv_arrays::Named;

}  // namespace

CQCIArray::~CQCIArray() { Empty(); }

void CQCIArray::Empty() {
  delete[] data_;
  data_ = nullptr;
  numPoints_ = 0;
}

void CQCIArray::PrependZeroData(int n) {
  Named("CQCIArray::PrependZeroData", [&] { Pad::Prepend(data_, numPoints_, n, nullptr); });
}

void CQCIArray::AppendZeroData(int n) {
  Named("CQCIArray::AppendZeroData", [&] { Pad::Append(data_, numPoints_, n, nullptr); });
}

void CQCIArray::RemoveData(int front, int back) {
  Named("CQCIArray::RemoveData", [&] { Pad::Remove(data_, numPoints_, front, back); });
}

void CQCIArray::SkipNumPoints(int n) {
  Named("CQCIArray::SkipNumPoints", [&] { Pad::Skip(data_, numPoints_, n); });
}

void CQCIArray::LimitToNumPoints(int n) {
  Named("CQCIArray::LimitToNumPoints", [&] { Pad::Limit(data_, numPoints_, n); });
}

void CQCIArrayTD::PrependZeroData(int n) {
  Named("CQCIArrayTD::PrependZeroData", [&] {
    CQCIArray::PrependZeroData(n);
    timeOrigin_ -= n / sampleRate_;
  });
}

void CQCIArrayTD::SkipNumPoints(int n) {
  Named("CQCIArrayTD::SkipNumPoints", [&] {
    CQCIArray::SkipNumPoints(n);
    timeOrigin_ += n / sampleRate_;
  });
}
