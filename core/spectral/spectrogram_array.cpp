#include "core/spectral/spectrogram_array.h"

#include <cstdint>
#include <new>

#include "core/array_math.h"
#include "core/error.h"
#include "core/numbers.h"

CQAltTDSpgmArray::~CQAltTDSpgmArray() { delete[] values_; }

void CQAltTDSpgmArray::SetSize(int rows, int columns) {
  try {
    if (rows <= 0) throw new CQError("Invalid number of time domain points.");
    if (columns <= 0) throw new CQError("Invalid number of frequency domain points.");
    if (rows == numRows_ && columns == numColumns_ && values_ != nullptr) return;
    delete[] values_;
    values_ = nullptr;
    numRows_ = numColumns_ = 0;
    // The whole grid must stay addressable by one int count of complex values
    // within the allocator's byte limit.
    const int64_t total = int64_t{rows} * columns;
    if (total > INT32_MAX / static_cast<int64_t>(sizeof(CQComplex))) throw new CQError(1);
    values_ = new (std::nothrow) CQComplex[static_cast<size_t>(total)];
    if (values_ == nullptr) throw new CQError(1);
    numRows_ = rows;
    numColumns_ = columns;
    CQArrayMath::ZeroFill(values_, static_cast<int>(total));
  } catch (CQError* e) {
    e->AddToCallStack("CQAltTDSpgmArray::SetSize");
    throw;
  }
}

CQComplex* CQAltTDSpgmArray::GetRowPtr(int i) {
  try {
    if (values_ == nullptr) throw new CQError("Null pointer to internal data array.");
    if (i < 0 || i >= numRows_) throw new CQError("Invalid row index.");
    return values_ + static_cast<int64_t>(i) * numColumns_;
  } catch (CQError* e) {
    e->AddToCallStack("CQAltTDSpgmArray::GetRowPtr");
    throw;
  }
}

namespace {

// Index of the point nearest x on an axis of `count` points from `start` with
// `step`; -1 when x lies outside and clamp is off.
int NearestIndex(double x, double start, double step, int count, bool clamp) {
  int i;
  if (count == 1 || step == 0.0) {
    // One point: it is the answer when clamped or when x is exactly on it.
    i = (clamp || x == start) ? 0 : -1;
    return i;
  }
  i = RoundToInt((x - start) / step);
  if (clamp) {
    if (i < 0) i = 0;
    if (i > count - 1) i = count - 1;
  } else if (i < 0 || i >= count) {
    i = -1;
  }
  return i;
}

}  // namespace

CQComplex CQAltTDSpgmArray::GetValue(double time, double freq, double* actualTime, double* actualFreq,
                                     bool clamp) {
  try {
    if (actualTime != nullptr) *actualTime = 0.0;
    if (actualFreq != nullptr) *actualFreq = 0.0;
    if (values_ == nullptr) throw new CQError("NULL pointer to output array.");
    if (numRows_ == 0) throw new CQError("Invalid number of time domain points.");
    if (numColumns_ == 0) throw new CQError("Invalid number of frequency domain points.");
    const double dt = numRows_ > 1 ? (stopTime_ - startTime_) / (numRows_ - 1) : 0.0;
    const double df = numColumns_ > 1 ? (stopFreq_ - startFreq_) / (numColumns_ - 1) : 0.0;

    const int r = NearestIndex(time, startTime_, dt, numRows_, clamp);
    if (r < 0) throw new CQError("Desired time out of the range of available values.");
    if (actualTime != nullptr) *actualTime = r * dt + startTime_;
    const int c = NearestIndex(freq, startFreq_, df, numColumns_, clamp);
    if (c < 0) throw new CQError("Desired frequency out of the range of available values.");
    if (actualFreq != nullptr) *actualFreq = c * df + startFreq_;
    return values_[static_cast<int64_t>(r) * numColumns_ + c];
  } catch (CQError* e) {
    e->AddToCallStack("CQAltTDSpgmArray::GetValue");
    throw;
  }
}
