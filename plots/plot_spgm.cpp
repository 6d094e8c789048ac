#include "plots/plot_spgm.h"

#include <memory>
#include <new>

#include "core/array_math.h"
#include "core/arrays/carray.h"
#include "core/error.h"
#include "core/spectral/spectrogram.h"

CWPlotSpgm::CWPlotSpgm() {
  auto bitmap = std::make_unique<CWBitmap>();
  auto colorMap = std::make_unique<CWColorMap>(0);
  colorMap->CreateColorArray();
  auto spgm = std::make_unique<CQAltTDSpgm>();
  bitmap_ = bitmap.release();
  colorMap_ = colorMap.release();
  spgm_ = spgm.release();
}

CWPlotSpgm::~CWPlotSpgm() {
  delete bitmap_;
  delete colorMap_;
  delete spgm_;
  delete input_;
}

void CWPlotSpgm::SetNumPoints(int numRows, int numColumns) {
  try {
    if (numRows <= 0) throw new CQError("Invalid number of time points.");
    if (numColumns <= 0) throw new CQError("Invalid number of frequency points.");
    if (numRows == rows && numColumns == columns) return;
    rows = numRows;
    columns = numColumns;
    computed = false;
    spgm_->SetSize(rows, columns);
    bitmap_->SetSize(columns, rows);
  } catch (CQError* e) {
    e->AddToCallStack("CWPlotSpgm::SetNumPoints");
    throw;
  }
}

void CWPlotSpgm::SetInputData(const CQCArrayTD* data) {
  try {
    if (data == nullptr) throw new CQError(3);
    if (input_ == nullptr) {
      input_ = new (std::nothrow) CQCArrayTD();
      if (input_ == nullptr) throw new CQError(1);
    }
    input_->Set(data);
    centerFreq = input_->GetCenterFreq();
  } catch (CQError* e) {
    e->AddToCallStack("CWPlotSpgm::SetInputData");
    throw;
  }
}

void CWPlotSpgm::ComputeSpgm() {
  try {
    if (input_ == nullptr || input_->GetNumPoints() <= 0) return;
    const double rate = input_->GetSampleRate();
    if (autoFreqRange) {
      const double bandwidth = input_->GetBandwidth();
      if (bandwidth > 0.0) {
        startFreq = -bandwidth / 2.0;
        stopFreq = bandwidth / 2.0;
      } else {
        stopFreq = rate / 2.0;
        startFreq = input_->IsValid() ? -rate / 2.0 : 0.0;
      }
    }
    if (autoRBW) rbw = rate / 400.0;

    spgm_->SetParameters(oneSampleStep, rows, columns, startFreq, stopFreq, timeRange, rbw);
    spgm_->SetDSPWindowShape(windowShape);
    spgm_->SetInputData(input_);
    spgm_->Compute();

    startTime = spgm_->GetStartTime();
    stopTime = spgm_->GetStopTime();
    timeSpan = stopTime - startTime;
    computed = true;
  } catch (CQError* e) {
    e->AddToCallStack("CWPlotSpgm::ComputeSpgm");
    throw;
  }
}

void CWPlotSpgm::DrawSpgm() {
  float* row = nullptr;
  try {
    if (!computed) return;
    const int gridRows = spgm_->GetNumRows();
    const int gridColumns = spgm_->GetNumColumns();
    if (gridRows <= 0) throw new CQError("Invalid number of time domain points.");
    if (gridColumns <= 0) throw new CQError("Invalid number of frequency domain points.");
    if (spgm_->GetDataPtr() == nullptr) throw new CQError("NULL pointer to output array.");
    if (columns != gridColumns) throw new CQError("Bitmap width is not equal to the number of frequency points.");

    row = CQArrayMath::AllocFloat(columns);
    // A grid shorter than the image (a waveform too short for every row)
    // would leave the rows above it showing an older picture: blank first.
    if (gridRows < bitmap_->GetHeight()) bitmap_->ResetContent();
    for (int i = 0; i < gridRows; ++i) {
      CQArrayMath::LogMagdBm(spgm_->GetRowPtr(i), row, columns, -200.0f);
      bitmap_->SetRow(i, row, columns, maxPower, minPower, colorMap_);
    }
    drawn = true;
    CQArrayMath::Free(row);
  } catch (CQError* e) {
    CQArrayMath::Free(row);
    e->AddToCallStack("CWPlotSpgm::DrawSpgm");
    throw;
  }
}
