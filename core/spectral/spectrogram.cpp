#include "core/spectral/spectrogram.h"

#include <cstdint>
#include <memory>
#include <new>

#include "core/array_math.h"
#include "core/arrays/carray.h"
#include "core/error.h"
#include "core/numbers.h"
#include "core/spectral/czt.h"
#include "core/spectral/dsp_window.h"

CQAltTDSpgm::CQAltTDSpgm() {
  auto window = std::make_unique<CQDSPWindow>();
  window->SetShape(kDefaultWindowShape);
  window_ = window.release();
}

CQAltTDSpgm::~CQAltTDSpgm() {
  delete[] input_;
  delete window_;
}

void CQAltTDSpgm::SetParameters(bool autoTimeRange, int desiredRows, int numFreqPoints, double startFreq,
                                double stopFreq, double desiredTimeRange, double rbw) {
  autoTimeRange_ = autoTimeRange;
  desiredRows_ = desiredRows;
  numFreqPoints_ = numFreqPoints;
  reqStartFreq_ = startFreq;
  reqStopFreq_ = stopFreq;
  desiredTimeRange_ = desiredTimeRange;
  rbw_ = rbw;
}

void CQAltTDSpgm::SetDSPWindowShape(int shape) {
  try {
    window_->SetShape(shape);
    windowShape_ = shape;
  } catch (CQError* e) {
    e->AddToCallStack("CQAltTDSpgm::SetDSPWindowShape");
    throw;
  }
}

void CQAltTDSpgm::SetInputData(const CQCArrayTD* input) {
  try {
    if (input == nullptr) throw new CQError("Null pointer to input data.");
    SetInputData(input->GetDataPtr(), input->GetNumPoints(), input->GetSampleRate(), input->GetTimeOrigin(),
                 input->GetCenterFreq());
  } catch (CQError* e) {
    e->AddToCallStack("CQAltTDSpgm::SetInputData");
    throw;
  }
}

void CQAltTDSpgm::SetInputData(const CQComplex* samples, int n, double sampleRate, double timeOrigin,
                               double centerFreq) {
  try {
    if (samples == nullptr) throw new CQError("Null pointer to input data.");
    if (n <= 0) throw new CQError("Invalid number of input points.");
    if (!(sampleRate > 0.0)) throw new CQError("Invalid input sample rate.");
    delete[] input_;
    input_ = nullptr;
    numInputPoints_ = 0;
    input_ = new (std::nothrow) CQComplex[static_cast<size_t>(n)];
    if (input_ == nullptr) throw new CQError(1);
    CQArrayMath::CopyArray(samples, input_, n);
    numInputPoints_ = n;
    inputSampleRate_ = sampleRate;
    inputTimeOrigin_ = timeOrigin;
    inputCenterFreq_ = centerFreq;
  } catch (CQError* e) {
    e->AddToCallStack("CQAltTDSpgm::SetInputData");
    throw;
  }
}

int CQAltTDSpgm::CalcTimeStepIncrement(int desiredRows, double timeRange, double sampleRate) {
  try {
    if (desiredRows <= 0) throw new CQError("Invalid desired number of plot points.");
    if (!(timeRange > 0.0)) throw new CQError("Invalid time range.");
    if (!(sampleRate > 0.0)) throw new CQError("Invalid sample rate.");
    if (desiredRows == 1) return 1;
    const int k = RoundToInt(timeRange * sampleRate / (desiredRows - 1));
    return k > 0 ? k : 1;
  } catch (CQError* e) {
    e->AddToCallStack("CQAltTDSpgm::CalcTimeStepIncrement");
    throw;
  }
}

void CQAltTDSpgm::Layout() {
  const int n = numInputPoints_;
  const double fs = inputSampleRate_;
  if (input_ == nullptr) throw new CQError("Null pointer to input data.");
  if (n <= 0) throw new CQError("Invalid number of input points.");
  if (!(fs > 0.0)) throw new CQError("Invalid input sample rate.");
  if (!(rbw_ > 0.0)) throw new CQError("The resolution bandwidth is <= 0.\nPlease set it to a positive value.");
  if (numFreqPoints_ <= 0)
    throw new CQError("The number of frequency points is <= 0.\nPlease set it to a positive value.");

  const int shape = windowShape_;
  // A segment longer than the input is refused below; judge the wanted length
  // before rounding it to an int so that a tiny RBW cannot overflow it.
  const double wanted = CalcRBWForWindowLength(fs, 1, shape) / rbw_;
  if (wanted >= static_cast<double>(n) + 2.0)
    throw new CQError("Resolution bandwidth too small for the number of input data points.");
  const int d = CalcWindowLengthForRBW(fs, rbw_, shape);
  if (d < 2) throw new CQError("Resolution bandwidth too large.");

  // An odd length, so that the segment has a middle sample.
  int length;
  if (d % 2 == 1) {
    length = d;
  } else if (d == n) {
    length = d - 1;
  } else {
    length = d + 1;
  }
  if (n < length) throw new CQError("Resolution bandwidth too small for the number of input data points.");

  rowIncrement_ = autoTimeRange_ ? 1 : CalcTimeStepIncrement(desiredRows_, desiredTimeRange_, fs);
  segmentLength_ = length;
  actualRBW_ = CalcRBWForWindowLength(fs, length, shape);
  timeResolution_ = CalcTimeSpanForWindowLength(fs, length, shape);

  // Row i covers samples i*s .. i*s + L - 1, so the last row starts at most at
  // n - L: every segment lies inside the input.
  const int half = length / 2;
  int rows = (n - length) / rowIncrement_ + 1;
  if (rows > desiredRows_) rows = desiredRows_;
  const double first = inputTimeOrigin_ + half / fs;
  const double last = first + static_cast<double>(rows - 1) * rowIncrement_ / fs;

  SetSize(rows, numFreqPoints_);
  SetTimeLimits(first, last);
  SetFreqLimits(reqStartFreq_, reqStopFreq_);
}

void CQAltTDSpgm::ResolveLayout() {
  try {
    Layout();
  } catch (CQError* e) {
    e->AddToCallStack("CQAltTDSpgm::ResolveLayout");
    throw;
  }
}

void CQAltTDSpgm::Compute() {
  CQComplex* work = nullptr;
  try {
    Layout();
    const int length = segmentLength_;
    const int rows = GetNumRows();
    const int columns = GetNumColumns();

    work = CQArrayMath::AllocComplex(length);
    window_->SetNumPoints(length);
    window_->Make();
    windowCenterValue_ = window_->GetValue(length / 2);

    CQCZT czt;
    czt.SetTimeParameters(0.0, 1.0 / inputSampleRate_, length);
    czt.SetFreqParameters(reqStartFreq_, columns > 1 ? (reqStopFreq_ - reqStartFreq_) / (columns - 1) : 0.0,
                          columns);
    czt.Initialize(1);
    for (int i = 0; i < rows; ++i) {
      CQArrayMath::CopyArray(input_ + int64_t{i} * rowIncrement_, work, length);
      window_->Apply(work, length);
      czt.Compute(work);
      CQArrayMath::CopyArray(czt.GetOutput(), GetRowPtr(i), columns);
    }
    CQArrayMath::Free(work);
  } catch (CQError* e) {
    CQArrayMath::Free(work);
    e->AddToCallStack("CQAltTDSpgm::Compute");
    throw;
  }
}
