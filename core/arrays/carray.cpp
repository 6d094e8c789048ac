#include "core/arrays/carray.h"

#include <algorithm>
#include <memory>

#include "core/array_math.h"
#include "core/arrays/farray.h"
#include "core/arrays/padding.h"
#include "core/arrays/scratch.h"
#include "core/error.h"

namespace {

struct ComplexTraits {
  using Element = CQComplex;
  static CQComplex* Alloc(int n) { return CQArrayMath::AllocComplex(n); }
  static void Free(CQComplex* p) { CQArrayMath::Free(p); }
  static void Zero(CQComplex* p, int n) { CQArrayMath::ZeroFill(p, n); }
  static void Copy(const CQComplex* s, CQComplex* d, int n) { CQArrayMath::CopyArray(s, d, n); }
};
using Pad = lv_arrays::Padding<ComplexTraits>;
using lv_arrays::Named;

// A float view of the samples through a temporary buffer, stored into a new CQFArray.
template <typename Fill>
CQFArray* MakeFloatCopy(const char* name, int n, Fill&& fill) {
  return Named(name, [&] {
    auto result = std::make_unique<CQFArray>();
    lv_arrays::Scratch<float> temp(n);
    fill(temp.get());
    result->Set(temp.get(), n);
    return result.release();
  });
}

// Takes a float view made by CQCArray and returns it as a new CQFArrayTD
// with the given rate and origin.
CQFArrayTD* WithTimeAxis(CQFArray* view, double sampleRate, double timeOrigin) {
  std::unique_ptr<CQFArray> parts(view);
  auto result = std::make_unique<CQFArrayTD>();
  result->Set(parts.get(), sampleRate, timeOrigin);
  return result.release();
}

}  // namespace

CQCArray::~CQCArray() { CQArrayMath::Free(data_); }

void CQCArray::Clear() {
  CQArrayMath::Free(data_);
  data_ = nullptr;
  numPoints_ = 0;
}

void CQCArray::PrependZeroData(int n) {
  Named("CQCArray::PrependZeroData", [&] { Pad::Prepend(data_, numPoints_, n, nullptr); });
}

void CQCArray::AppendZeroData(int n) {
  Named("CQCArray::AppendZeroData", [&] { Pad::Append(data_, numPoints_, n, nullptr); });
}

void CQCArray::RemoveData(int front, int back) {
  Named("CQCArray::RemoveData", [&] { Pad::Remove(data_, numPoints_, front, back); });
}

void CQCArray::SkipNumPoints(int n) {
  Named("CQCArray::SkipNumPoints", [&] { Pad::Skip(data_, numPoints_, n); });
}

void CQCArray::LimitToNumPoints(int n) {
  Named("CQCArray::LimitToNumPoints", [&] { Pad::Limit(data_, numPoints_, n); });
}

template <typename CopyInto>
void CQCArray::Store(bool hasSource, int n, CopyInto&& copyInto) {
  try {
    if (n != numPoints_) {
      Clear();
    }
    if (!hasSource || n <= 0) {
      return;
    }
    if (data_ == nullptr) {
      data_ = CQArrayMath::AllocComplex(n);
    }
    copyInto(data_);
    valid_ = true;
    numPoints_ = n;
  } catch (CQError* e) {
    Clear();
    e->AddToCallStack("CQCArray::Set");
    throw;
  }
}

void CQCArray::Set(const CQComplex* data, int n) {
  Store(data != nullptr, n, [&](CQComplex* block) { CQArrayMath::CopyArray(data, block, n); });
}

void CQCArray::Set(const float* re, const float* im, int n) {
  Store(re != nullptr && im != nullptr, n, [&](CQComplex* block) { CQArrayMath::CopyArray(re, im, block, n); });
}

void CQCArray::SetSize(int n) {
  try {
    if (n < 0) {
      throw new CQError("Invalid number of input points.");
    }
    if (n == numPoints_) {
      return;
    }
    Clear();
    if (n > 0) {
      data_ = CQArrayMath::AllocComplex(n);
      numPoints_ = n;
    }
  } catch (CQError* e) {
    Clear();
    e->AddToCallStack("CQCArray::SetSize");
    throw;
  }
}

CQFArray* CQCArray::MakeCopyOfReal() const {
  return MakeFloatCopy("CQCArray::MakeCopyOfReal", numPoints_,
                       [&](float* t) { CQArrayMath::CopyArray(data_, t, numPoints_); });
}

CQFArray* CQCArray::MakeCopyOfImag() const {
  return MakeFloatCopy("CQCArray::MakeCopyOfImag", numPoints_, [&](float* t) {
    // Split into both parts; the real parts go into a scratch buffer.
    lv_arrays::Scratch<float> re(numPoints_);
    CQArrayMath::CopyArray(data_, re.get(), t, numPoints_);
  });
}

CQFArray* CQCArray::MakeCopyOfMagdB20() const {
  return MakeFloatCopy("CQCArray::MakeCopyOfMagdB20", numPoints_,
                       [&](float* t) { CQArrayMath::LogMagdB20(data_, t, numPoints_, -200.0f); });
}

CQFArray* CQCArray::MakeCopyOfMagdBm() const {
  return MakeFloatCopy("CQCArray::MakeCopyOfMagdBm", numPoints_,
                       [&](float* t) { CQArrayMath::LogMagdBm(data_, t, numPoints_, -200.0f); });
}

CQFArray* CQCArray::MakeCopyOfPhaseDeg() const {
  return MakeFloatCopy("CQCArray::MakeCopyOfPhaseDeg", numPoints_,
                       [&](float* t) { CQArrayMath::PhaseDeg(data_, t, numPoints_); });
}

CQFArray* CQCArray::MakeCopyOfUnwrappedPhaseDeg() const {
  return MakeFloatCopy("CQCArray::MakeCopyOfUnwrappedPhaseDeg", numPoints_,
                       [&](float* t) { CQArrayMath::UnwrapPhaseDeg(data_, t, numPoints_); });
}

// ---- CQCArrayTD -----------------------------------------------------------------

CQCArrayTD::CQCArrayTD(int n) {
  try {
    data_ = CQArrayMath::AllocComplex(n);
    numPoints_ = n;
    CQArrayMath::ZeroFill(data_, n);
  } catch (CQError* e) {
    Clear();
    e->AddToCallStack("CQCArrayTD::CQCArrayTD");
    throw;
  }
}

void CQCArrayTD::PrependZeroData(int n) {
  Named("CQCArrayTD::PrependZeroData", [&] {
    CQCArray::PrependZeroData(n);
    timeOrigin_ -= n / sampleRate_;
  });
}

void CQCArrayTD::SkipNumPoints(int n) {
  Named("CQCArrayTD::SkipNumPoints", [&] {
    CQCArray::SkipNumPoints(n);
    timeOrigin_ += n / sampleRate_;
  });
}

void CQCArrayTD::Set(const CQComplex* data, int n, double sampleRate, double timeOrigin) {
  Named("CQCArrayTD::Set", [&] {
    if (data == nullptr) {
      throw new CQError("Null pointer to data.");
    }
    if (n <= 0) {
      throw new CQError("Invalid number of input points.");
    }
    if (!(sampleRate > 0.0)) {
      throw new CQError("Invalid sample rate.");
    }
    CQCArray::Set(data, n);
    sampleRate_ = sampleRate;
    timeOrigin_ = timeOrigin;
  });
}

void CQCArrayTD::Set(const float* re, const float* im, int n, double sampleRate, double timeOrigin) {
  Named("CQCArrayTD::Set", [&] {
    if (re == nullptr || im == nullptr) {
      throw new CQError("Null pointer to data.");
    }
    if (n <= 0) {
      throw new CQError("Invalid number of points.");
    }
    if (!(sampleRate > 0.0)) {
      throw new CQError("Invalid sample rate.");
    }
    CQCArray::Set(re, im, n);
    sampleRate_ = sampleRate;
    timeOrigin_ = timeOrigin;
  });
}

void CQCArrayTD::Set(const CQCArrayTD* other) {
  Named("CQCArrayTD::Set", [&] {
    if (other == nullptr) {
      throw new CQError("Null pointer to data.");
    }
    if (!(other->sampleRate_ > 0.0)) {
      throw new CQError("Invalid sample rate.");
    }
    if (other == this) {
      return;
    }
    CQCArray::Set(other->data_, other->numPoints_);
    sampleRate_ = other->sampleRate_;
    timeOrigin_ = other->timeOrigin_;
    centerFreq_ = other->centerFreq_;
    bandwidth_ = other->bandwidth_;
    valid_ = other->valid_;
    // The start date and time travels with the samples, so a copy knows when it was recorded.
    startDateTime_ = other->startDateTime_;
  });
}

CQCArrayTD* CQCArrayTD::MakeCopy() const {
  return Named("CQCArrayTD::MakeCopy", [&] {
    auto copy = std::make_unique<CQCArrayTD>();
    copy->Set(data_, numPoints_, sampleRate_, timeOrigin_);
    copy->centerFreq_ = centerFreq_;
    copy->bandwidth_ = bandwidth_;
    copy->valid_ = valid_;
    return copy.release();
  });
}

CQCArrayTD* CQCArrayTD::MakeCopyOfSubset(int start, int n) const {
  return Named("CQCArrayTD::MakeCopyOfSubset", [&] {
    const int64_t N = numPoints_;
    const double fs = sampleRate_;
    const int64_t first = std::max(start, 0);
    const int64_t leading = start < 0 ? -static_cast<int64_t>(start) : 0;
    int64_t len = static_cast<int64_t>(n) + std::min(start, 0);
    int64_t trailing = 0;
    if (first + len > N) {
      trailing = first + len - N;
      len -= trailing;
    }
    auto copy = std::make_unique<CQCArrayTD>();
    const double origin = static_cast<double>(first) / fs + timeOrigin_;
    if (len >= 1) {
      copy->Set(data_ + first, static_cast<int>(len), fs, origin);
    } else {
      copy->sampleRate_ = fs;
      copy->timeOrigin_ = static_cast<double>(start) / fs + timeOrigin_;
      // A window wholly outside the data is n zeros.
      if (n >= 1) {
        copy->AppendZeroData(n);
      }
      copy->valid_ = valid_;
      copy->centerFreq_ = centerFreq_;
      copy->bandwidth_ = bandwidth_;
      return copy.release();
    }
    copy->valid_ = valid_;
    copy->centerFreq_ = centerFreq_;
    copy->bandwidth_ = bandwidth_;
    if (leading > 0) {
      copy->PrependZeroData(static_cast<int>(leading));
    }
    if (trailing > 0) {
      copy->CQCArray::AppendZeroData(static_cast<int>(trailing));
    }
    return copy.release();
  });
}

CQFArrayTD* CQCArrayTD::MakeCopyOfReal() const {
  return Named("CQCArrayTD::MakeCopyOfReal",
               [&] { return WithTimeAxis(CQCArray::MakeCopyOfReal(), sampleRate_, timeOrigin_); });
}

CQFArrayTD* CQCArrayTD::MakeCopyOfImag() const {
  return Named("CQCArrayTD::MakeCopyOfImag",
               [&] { return WithTimeAxis(CQCArray::MakeCopyOfImag(), sampleRate_, timeOrigin_); });
}

CQFArrayTD* CQCArrayTD::MakeCopyOfDerivUWPhaseDeg() const {
  return Named("CQCArrayTD::MakeCopyOfDerivUWPhaseDeg", [&] {
    auto result = std::make_unique<CQFArrayTD>();
    lv_arrays::Scratch<float> temp(numPoints_);
    CQArrayMath::DerivUnwrapPhaseDeg(data_, temp.get(), numPoints_, sampleRate_);
    result->Set(temp.get(), numPoints_, sampleRate_, timeOrigin_);
    return result.release();
  });
}

CQDArray* CQCArrayTD::MakeCopyOfTime() const {
  return Named("CQCArrayTD::MakeCopyOfTime", [&] {
    auto result = std::make_unique<CQDArray>();
    lv_arrays::Scratch<double> temp(numPoints_);
    for (int i = 0; i < numPoints_; ++i) {
      temp[i] = i / sampleRate_ + timeOrigin_;
    }
    result->Set(temp.get(), numPoints_);
    return result.release();
  });
}
