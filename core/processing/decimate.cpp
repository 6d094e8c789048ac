#include "core/processing/decimate.h"

#include "core/array_math.h"
#include "core/error.h"
#include "core/processing/fir.h"
#include "core/processing/fir_tables.h"

CQCDecimate::~CQCDecimate() { delete output_; }

bool CQCDecimate::SetDecimationRate(int rate) {
  return factors_.Set(rate);
}

void CQCDecimate::Decimate(const CQCArrayTD* input) {
  try {
    if (input == nullptr) throw new CQError("Null pointer to input data.");
    if (output_ == nullptr) output_ = new CQCArrayTD;
    output_->SetBandwidth(input->GetBandwidth());
    Decimate(input->GetDataPtr(), input->GetNumPoints(), input->GetSampleRate());
    output_->SetCenterFreq(input->GetCenterFreq());
    output_->SetTimeOrigin(input->GetTimeOrigin());
  } catch (CQError* e) {
    e->AddToCallStack("CQCDecimate::Decimate");
    throw;
  }
}

void CQCDecimate::Decimate(const CQComplex* data, int n, double sampleRate) {
  try {
    if (data == nullptr) throw new CQError("Null pointer to input data.");
    if (n < 1) throw new CQError("Invalid number of input points.");
    if (!(sampleRate > 0.0)) throw new CQError("Invalid input sample rate.");
    if (factors_.rate == 0) throw new CQError("Coding error: Call SetDecimationRate() first.");
    if (output_ == nullptr) output_ = new CQCArrayTD;
    output_->Set(data, n, sampleRate, 0.0);
    for (int i = 0; i < factors_.by7; ++i) DecimateBy7();
    for (int i = 0; i < factors_.by5; ++i) DecimateBy5();
    for (int i = 0; i < factors_.by3; ++i) DecimateBy3();
    for (int i = 0; i < factors_.by2; ++i) DecimateBy2();
  } catch (CQError* e) {
    e->AddToCallStack("CQCDecimate::Decimate");
    throw;
  }
}

void CQCDecimate::DecimateStage(int r, const float* taps, int numTaps, const char* name) {
  CQComplex* temp = nullptr;
  try {
    if (output_ == nullptr) throw new CQError("Null pointer to input data.");
    const int n = output_->GetNumPoints();
    if (n <= 0) throw new CQError("Invalid number of input points.");
    // n/r of 0 would leave an empty waveform: refuse it rather than hand on nothing.
    if (n / r < 1) throw new CQError("Invalid number of input points.");
    temp = new CQComplex[n];
    CQArrayMath::CopyArray(output_->GetDataPtr(), temp, n);
    const double rate = output_->GetSampleRate();
    const double newRate = r == 2 ? rate * 0.5 : rate / r;
    double newBandwidth = 0.8 * newRate;
    if (output_->GetBandwidth() < newBandwidth) newBandwidth = output_->GetBandwidth();
    const int f = n / r;
    output_->SetSize(f);
    CQCFIR fir;
    fir.SetTaps(taps, numTaps);
    fir.Apply(temp, n, r);
    CQArrayMath::CopyArray(fir.GetOutput(), output_->GetDataPtr(), f);
    output_->SetSampleRate(newRate);
    output_->SetBandwidth(newBandwidth);
    delete[] temp;
  } catch (CQError* e) {
    delete[] temp;
    e->AddToCallStack(name);
    throw;
  }
}

#define LV_DECIMATE_STAGE(R)                                                           \
  void CQCDecimate::DecimateBy##R() {                                                  \
    DecimateStage(R, kDecimateBy##R##Taps,                                             \
                  static_cast<int>(sizeof kDecimateBy##R##Taps / sizeof(float)),       \
                  "CQCDecimate::DecimateBy" #R);                                       \
  }
LV_DECIMATE_STAGE(2)
LV_DECIMATE_STAGE(3)
LV_DECIMATE_STAGE(5)
LV_DECIMATE_STAGE(7)
#undef LV_DECIMATE_STAGE
