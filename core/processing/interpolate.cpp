#include "core/processing/interpolate.h"

#include "core/array_math.h"
#include "core/error.h"
#include "core/processing/fir.h"
#include "core/processing/fir_tables.h"

bool CalcRateFactors(int rate, int* by2, int* by3, int* by5, int* by7) {
  if (rate <= 0) return false;
  int c2 = 0, c3 = 0, c5 = 0, c7 = 0;
  while (rate % 7 == 0) { rate /= 7; ++c7; }
  while (rate % 5 == 0) { rate /= 5; ++c5; }
  while (rate % 3 == 0) { rate /= 3; ++c3; }
  while (rate % 2 == 0) { rate /= 2; ++c2; }
  if (by2 != nullptr) *by2 = c2;
  if (by3 != nullptr) *by3 = c3;
  if (by5 != nullptr) *by5 = c5;
  if (by7 != nullptr) *by7 = c7;
  return rate == 1;
}

bool CQRateFactors::Set(int newRate) {
  int c2 = 0, c3 = 0, c5 = 0, c7 = 0;
  if (!CalcRateFactors(newRate, &c2, &c3, &c5, &c7)) return false;
  by2 = c2;
  by3 = c3;
  by5 = c5;
  by7 = c7;
  rate = newRate;
  return true;
}

CQCInterpolate::~CQCInterpolate() {
  delete[] work_;
  delete output_;
}

bool CQCInterpolate::SetInterpolationRate(int rate) {
  return factors_.Set(rate);
}

void CQCInterpolate::Compute(const CQCArrayTD* input) {
  try {
    if (input == nullptr) throw new CQError("Null pointer to input data.");
    Compute(input->GetDataPtr(), input->GetNumPoints(), input->GetSampleRate());
    output_->SetCenterFreq(input->GetCenterFreq());
    output_->SetBandwidth(input->GetBandwidth());
    output_->SetTimeOrigin(input->GetTimeOrigin());
  } catch (CQError* e) {
    e->AddToCallStack("CQCInterpolate::Compute");
    throw;
  }
}

void CQCInterpolate::Compute(const CQComplex* data, int n, double sampleRate) {
  try {
    if (data == nullptr) throw new CQError("Null pointer to input data.");
    if (n < 1) throw new CQError("Invalid number of input points.");
    if (!(sampleRate > 0.0)) throw new CQError("Invalid input sample rate.");
    if (factors_.rate == 0) throw new CQError("Coding error: Call SetInterpolationRate() first.");
    if (static_cast<int64_t>(n) * factors_.rate > 0x7fffffff)
      throw new CQError("Invalid number of output points.");
    numPoints_ = n;
    sampleRate_ = sampleRate;
    if (output_ != nullptr) output_->Clear(); else output_ = new CQCArrayTD;
    delete[] work_;
    work_ = nullptr;
    work_ = new CQComplex[n];
    CQArrayMath::CopyArray(data, work_, n);
    for (int i = 0; i < factors_.by2; ++i) InterpolateBy2();
    for (int i = 0; i < factors_.by3; ++i) InterpolateBy3();
    for (int i = 0; i < factors_.by5; ++i) InterpolateBy5();
    for (int i = 0; i < factors_.by7; ++i) InterpolateBy7();
    output_->Set(work_, numPoints_, sampleRate_, 0.0);
    delete[] work_;
    work_ = nullptr;
  } catch (CQError* e) {
    delete[] work_;
    work_ = nullptr;
    e->AddToCallStack("CQCInterpolate::Compute");
    throw;
  }
}

void CQCInterpolate::InterpolateStage(int l, const float* taps, int numTaps) {
  if (work_ == nullptr) throw new CQError("Null pointer to input data.");
  if (numPoints_ <= 0) throw new CQError("Invalid number of input points.");
  const int n = numPoints_;
  const int ln = n * l;
  CQComplex* stuffed = new CQComplex[ln];  // zero-initialised by CQComplex's defaults
  const float gain = static_cast<float>(l);
  for (int i = 0; i < n; ++i) {
    stuffed[static_cast<int64_t>(i) * l] = CQComplex(work_[i].re * gain, work_[i].im * gain);
  }
  try {
    CQCFIR fir;
    fir.SetTaps(taps, numTaps);
    fir.Apply(stuffed, ln);
    delete[] work_;
    work_ = nullptr;
    work_ = new CQComplex[ln];
    CQArrayMath::CopyArray(fir.GetOutput(), work_, ln);
  } catch (CQError*) {
    delete[] stuffed;
    throw;
  }
  delete[] stuffed;
  numPoints_ = ln;
  sampleRate_ *= l;
}

#define LV_INTERPOLATE_STAGE(L)                                                   \
  void CQCInterpolate::InterpolateBy##L() {                                       \
    try {                                                                         \
      InterpolateStage(L, kInterpolateBy##L##Taps,                                \
                       static_cast<int>(sizeof kInterpolateBy##L##Taps / sizeof(float))); \
    } catch (CQError* e) {                                                        \
      e->AddToCallStack("CQCInterpolate::InterpolateBy" #L);                      \
      throw;                                                                      \
    }                                                                             \
  }
LV_INTERPOLATE_STAGE(2)
LV_INTERPOLATE_STAGE(3)
LV_INTERPOLATE_STAGE(5)
LV_INTERPOLATE_STAGE(7)
#undef LV_INTERPOLATE_STAGE
