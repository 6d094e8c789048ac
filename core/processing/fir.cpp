#include "core/processing/fir.h"

#include "core/array_math.h"
#include "core/call_stack.h"
#include "core/error.h"
#include "core/processing/fir_tables.h"

namespace {

using lv::Named;

}  // namespace

CQCFIR::~CQCFIR() {
  CQArrayMath::Free(taps_);
  CQArrayMath::Free(output_);
  CQArrayMath::Free(work_);
  CQArrayMath::Free(complexTaps_);
}

void CQCFIR::SetTaps(const float* taps, int m) {
  Named("CQCFIR::SetTaps", [&] {
    if (m <= 0) throw new CQError("Invalid number of filter coefficients.");
    if (taps == nullptr) throw new CQError("Null pointer to filter coefficients.");
    if (m != numTaps_) {
      CQArrayMath::Free(taps_);
      CQArrayMath::Free(work_);
      CQArrayMath::Free(complexTaps_);
      taps_ = nullptr;
      work_ = nullptr;
      complexTaps_ = nullptr;
      numTaps_ = 0;
      taps_ = CQArrayMath::AllocFloat(m);
      work_ = CQArrayMath::AllocComplex(m);
      complexTaps_ = CQArrayMath::AllocComplex(m);
      numTaps_ = m;
    }
    CQArrayMath::CopyArray(taps, taps_, m);
    CQArrayMath::CopyArray(taps, complexTaps_, m);
  });
}

void CQCFIR::CheckTaps() const {
  if (numTaps_ <= 0) throw new CQError("Invalid number of filter coefficients.");
  if (taps_ == nullptr || complexTaps_ == nullptr)
    throw new CQError("Null pointer to filter coefficients.");
}

void CQCFIR::ReserveOutput(int n) {
  if (n != numOutput_ || output_ == nullptr) {
    CQArrayMath::Free(output_);
    output_ = nullptr;
    numOutput_ = 0;
    if (n > 0) output_ = CQArrayMath::AllocComplex(n);
    numOutput_ = n;
  }
}

// One output whose taps start at input index start (any integer): every index
// is reduced modulo n, so an input shorter than the filter wraps several times.
void CQCFIR::FilterOneWrapped(const CQComplex* x, int n, int start, CQComplex* out) const {
  int idx = start % n;
  if (idx < 0) idx += n;
  float re = 0.0f, im = 0.0f;
  for (int k = 0; k < numTaps_; ++k) {
    re += taps_[k] * x[idx].re;
    im += taps_[k] * x[idx].im;
    if (++idx == n) idx = 0;
  }
  out->re = re;
  out->im = im;
}

void CQCFIR::DoMiddleFiltering(const CQComplex* x, int first, int last, int r) {
  Named("CQCFIR::DoMiddleFiltering", [&] {
    const int c = numTaps_ / 2;
    for (int j = first; j < last; ++j) {
      CQArrayMath::ArrayMult(x + (static_cast<int64_t>(r) * j - c), complexTaps_, work_, numTaps_);
      output_[j] = CQArrayMath::Sum(work_, numTaps_);
    }
  });
}

void CQCFIR::Apply(const CQComplex* x, int n) {
  Named("CQCFIR::Apply", [&] {
    if (n <= 0) throw new CQError("Invalid number of input points.");
    if (x == nullptr) throw new CQError("Null pointer to input data.");
    CheckTaps();
    ReserveOutput(n);
    const int c = numTaps_ / 2;
    // Outputs whose M inputs j-c .. j-c+M-1 all lie inside 0..n-1.
    const int first = c;
    const int last = n - (numTaps_ - 1 - c);  // exclusive
    if (last <= first) {
      for (int j = 0; j < n; ++j) FilterOneWrapped(x, n, j - c, &output_[j]);
      return;
    }
    for (int j = 0; j < first; ++j) FilterOneWrapped(x, n, j - c, &output_[j]);
    DoMiddleFiltering(x, first, last, 1);
    for (int j = last; j < n; ++j) FilterOneWrapped(x, n, j - c, &output_[j]);
  });
}

void CQCFIR::Apply(const CQComplex* x, int n, int r) {
  Named("CQCFIR::Apply", [&] { ApplyFIRFilterWithDecimation(x, n, r); });
}

void CQCFIR::ApplyFIRFilterWithDecimation(const CQComplex* x, int n, int r) {
  Named("CQCFIR::ApplyFIRFilterWithDecimation", [&] {
    if (n <= 0) throw new CQError("Invalid number of input points.");
    if (x == nullptr) throw new CQError("Null pointer to input data.");
    if (r <= 0) throw new CQError("Invalid decimation rate.");
    CheckTaps();
    const int f = n / r;
    ReserveOutput(f);
    if (f == 0) return;
    const int c = numTaps_ / 2;
    const int tail = numTaps_ - 1 - c;
    // Middle: r*j - c >= 0 and r*j + tail <= n-1.
    const int first = (c + r - 1) / r;
    int last = (n - 1 - tail) >= 0 ? (n - 1 - tail) / r + 1 : 0;
    if (last > f) last = f;
    if (last <= first) {
      for (int j = 0; j < f; ++j) FilterOneWrapped(x, n, r * j - c, &output_[j]);
      return;
    }
    for (int j = 0; j < first; ++j) FilterOneWrapped(x, n, r * j - c, &output_[j]);
    DoMiddleFiltering(x, first, last, r);
    for (int j = last; j < f; ++j) FilterOneWrapped(x, n, r * j - c, &output_[j]);
  });
}

bool CQCLowPassFIR::IsValidFilterType(int type) {
  if (type < 2 || type > 40) return false;
  return type <= 20 || (type % 2) == 0;
}

CQCLowPassFIR::CQCLowPassFIR() : fir_(new CQCFIR) {}

CQCLowPassFIR::~CQCLowPassFIR() {
  delete output_;
  delete fir_;
}

void CQCLowPassFIR::SetFilterType(int type) {
  if (type != filterType_) {
    filterType_ = type;
    tapsChanged_ = true;
  }
}

void CQCLowPassFIR::Compute() {
  Named("CQCLowPassFIR::Compute", [&] {
    if (output_ == nullptr) output_ = new CQCArrayTD;
    // The odd types 21..39 have no table: refused like any other unknown type
    // rather than silently running with the taps of an earlier type.
    if (!IsValidFilterType(filterType_)) throw new CQError("Unknown filter type.");
    if (input_ == nullptr) throw new CQError("Null pointer to input data.");
    if (tapsChanged_) {
      const int row = filterType_ <= 20 ? filterType_ - 2 : 19 + (filterType_ - 22) / 2;
      fir_->SetTaps(kLowPassTaps[row], kNumTaps);
      tapsChanged_ = false;
    }
    fir_->Apply(input_->GetDataPtr(), input_->GetNumPoints());
    output_->Set(fir_->GetOutput(), fir_->GetNumOutputPoints(), input_->GetSampleRate(),
                 input_->GetTimeOrigin());
    output_->SetCenterFreq(input_->GetCenterFreq());
    output_->SetBandwidth(input_->GetBandwidth());
  });
}
