#include "core/arrays/farray.h"

#include "core/array_math.h"
#include "core/arrays/padding.h"
#include "core/error.h"

namespace {

struct FloatTraits {
  using Element = float;
  static float* Alloc(int n) { return CQArrayMath::AllocFloat(n); }
  static void Free(float* p) { CQArrayMath::Free(p); }
  static void Zero(float* p, int n) { CQArrayMath::ZeroFill(p, n); }
  static void Copy(const float* s, float* d, int n) { CQArrayMath::CopyArray(s, d, n); }
};

struct DoubleTraits {
  using Element = double;
  static double* Alloc(int n) { return CQArrayMath::AllocDouble(n); }
  static void Free(double* p) { CQArrayMath::Free(p); }
  static void Zero(double* p, int n) { CQArrayMath::ZeroFill(p, n); }
  static void Copy(const double* s, double* d, int n) { CQArrayMath::CopyArray(s, d, n); }
};

using FPad = lv_arrays::Padding<FloatTraits>;
using DPad = lv_arrays::Padding<DoubleTraits>;
using lv_arrays::Named;

constexpr const char* kPrependEmpty = "Attempt to prepend zeros to non-existent data.";
constexpr const char* kAppendEmpty = "Attempt to append zeros to non-existent data.";

}  // namespace

// ---- CQFArray -------------------------------------------------------------------

CQFArray::~CQFArray() { CQArrayMath::Free(data_); }

void CQFArray::Clear() {
  CQArrayMath::Free(data_);
  data_ = nullptr;
  numPoints_ = 0;
}

void CQFArray::PrependZeroData(int n) {
  Named("CQFArray::PrependZeroData", [&] { FPad::Prepend(data_, numPoints_, n, kPrependEmpty); });
}

void CQFArray::AppendZeroData(int n) {
  Named("CQFArray::AppendZeroData", [&] { FPad::Append(data_, numPoints_, n, kAppendEmpty); });
}

void CQFArray::SkipNumPoints(int n) {
  Named("CQFArray::SkipNumPoints", [&] { FPad::Skip(data_, numPoints_, n); });
}

void CQFArray::LimitToNumPoints(int n) {
  Named("CQFArray::LimitToNumPoints", [&] { FPad::Limit(data_, numPoints_, n); });
}

void CQFArray::Set(const float* values, int n) {
  try {
    if (values == nullptr) {
      throw new CQError("Null pointer to data.");
    }
    if (n < 1) {
      throw new CQError("Invalid number of input points.");
    }
    if (values == data_ && n == numPoints_) {
      return;  // setting an array from its own values
    }
    float* block = CQArrayMath::AllocFloat(n);
    try {
      CQArrayMath::CopyArray(values, block, n);
    } catch (CQError*) {
      CQArrayMath::Free(block);
      throw;
    }
    Clear();
    data_ = block;
    numPoints_ = n;
  } catch (CQError* e) {
    Clear();
    e->AddToCallStack("CQFArray::Set");
    throw;
  }
}

void CQFArray::SetSize(int n) {
  try {
    if (n == numPoints_) {
      return;
    }
    if (n < 0) {
      throw new CQError("Invalid number of input points.");
    }
    Clear();
    if (n > 0) {
      data_ = CQArrayMath::AllocFloat(n);
      numPoints_ = n;
    }
  } catch (CQError* e) {
    Clear();
    e->AddToCallStack("CQFArray::SetSize");
    throw;
  }
}

// ---- CQFArrayTD -----------------------------------------------------------------

void CQFArrayTD::PrependZeroData(int n) {
  Named("CQFArrayTD::PrependZeroData", [&] {
    CQFArray::PrependZeroData(n);
    timeOrigin_ -= n / sampleRate_;
  });
}

void CQFArrayTD::SkipNumPoints(int n) {
  Named("CQFArrayTD::SkipNumPoints", [&] {
    CQFArray::SkipNumPoints(n);
    timeOrigin_ += n / sampleRate_;
  });
}

void CQFArrayTD::Set(const float* values, int n, double sampleRate, double timeOrigin) {
  Named("CQFArrayTD::Set", [&] {
    if (values == nullptr) {
      throw new CQError("Null pointer to data.");
    }
    if (n <= 0) {
      throw new CQError("Invalid number of input points.");
    }
    if (!(sampleRate > 0.0)) {
      throw new CQError("Invalid sample rate.");
    }
    CQFArray::Set(values, n);
    sampleRate_ = sampleRate;
    timeOrigin_ = timeOrigin;
  });
}

void CQFArrayTD::Set(const CQFArray* other, double sampleRate, double timeOrigin) {
  Named("CQFArrayTD::Set", [&] {
    if (other == nullptr) {
      throw new CQError("Null pointer to data.");
    }
    if (!(sampleRate > 0.0)) {
      throw new CQError("Invalid sample rate.");
    }
    CQFArray::Set(other->GetDataPtr(), other->GetNumPoints());
    sampleRate_ = sampleRate;
    timeOrigin_ = timeOrigin;
  });
}

// ---- CQDArray -------------------------------------------------------------------

CQDArray::~CQDArray() { CQArrayMath::Free(data_); }

void CQDArray::PrependZeroData(int n) {
  Named("CQDArray::PrependZeroData", [&] { DPad::Prepend(data_, numPoints_, n, kPrependEmpty); });
}

void CQDArray::AppendZeroData(int n) {
  Named("CQDArray::AppendZeroData", [&] { DPad::Append(data_, numPoints_, n, kAppendEmpty); });
}

void CQDArray::SkipNumPoints(int n) {
  Named("CQDArray::SkipNumPoints", [&] { DPad::Skip(data_, numPoints_, n); });
}

void CQDArray::LimitToNumPoints(int n) {
  Named("CQDArray::LimitToNumPoints", [&] { DPad::Limit(data_, numPoints_, n); });
}

void CQDArray::Set(const double* values, int n) {
  try {
    if (values == nullptr) {
      throw new CQError("Null pointer to data.");
    }
    if (n < 1) {
      throw new CQError("Invalid number of input points.");
    }
    if (n != numPoints_) {
      double* block = CQArrayMath::AllocDouble(n);
      CQArrayMath::Free(data_);
      data_ = block;
      numPoints_ = n;
    }
    CQArrayMath::CopyArray(values, data_, n);
  } catch (CQError* e) {
    CQArrayMath::Free(data_);
    data_ = nullptr;
    numPoints_ = 0;
    e->AddToCallStack("CQDArray::Set");
    throw;
  }
}
