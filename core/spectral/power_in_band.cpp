#include "core/spectral/power_in_band.h"

#include <new>

#include "core/arrays/farray_fd.h"
#include "core/error.h"
#include "core/numbers.h"
#include "core/spectral/band_power.h"

// ---- CQPiBMeasBand -------------------------------------------------------------

void CQPiBMeasBand::ResetAveraging() {
  numAvgs = 0;
  valid = false;
  power = 0.0f;
  powerdBm = 0.0f;
}

void CQPiBMeasBand::Set(const CQPiBMeasBand* other) {
  if (other != nullptr) {
    *this = *other;
  }
}

// ---- CQPiBMeasBandList ---------------------------------------------------------

CQPiBMeasBandList::CQPiBMeasBandList(int count) {
  try {
    Allocate(count, true);
    size_ = 0;
  } catch (CQError* e) {
    e->AddToCallStack("CQPiBMeasBandList::CQPiBMeasBandList");
    throw;
  }
}

CQPiBMeasBandList::~CQPiBMeasBandList() { delete[] bands_; }

void CQPiBMeasBandList::Allocate(int count, bool zero) {
  delete[] bands_;
  bands_ = nullptr;
  size_ = 0;
  capacity_ = 0;
  if (count <= 0) {
    return;
  }
  bands_ = new (std::nothrow) CQPiBMeasBand[static_cast<size_t>(count)];
  if (bands_ == nullptr) {
    throw new CQError(1);
  }
  if (zero) {
    for (int i = 0; i < count; ++i) {
      CQPiBMeasBand& b = bands_[i];
      b.on = b.reserved = b.avgOn = b.valid = false;
      b.freq = b.bandwidth = b.spectrumMiddle = 0.0;
      b.avgFactor = b.numAvgs = 0;
      b.power = b.powerdBm = 0.0f;
    }
  }
  capacity_ = count;
}

void CQPiBMeasBandList::SetSize(int count) {
  try {
    Allocate(count, true);
    size_ = capacity_;
  } catch (CQError* e) {
    e->AddToCallStack("CQPiBMeasBandList::SetSize");
    throw;
  }
}

CQPiBMeasBand* CQPiBMeasBandList::GetItem(int i) {
  try {
    if (bands_ == nullptr || size_ == 0) throw new CQError("Empty list.");
    if (i < 0 || i >= size_) throw new CQError("Invalid item index.");
    return &bands_[i];
  } catch (CQError* e) {
    e->AddToCallStack("CQPiBMeasBandList::GetItem");
    throw;
  }
}

void CQPiBMeasBandList::SetItem(int i, const CQPiBMeasBand* band) {
  try {
    if (band == nullptr) throw new CQError("NULL pointer to item to set in list.");
    GetItem(i)->Set(band);
  } catch (CQError* e) {
    e->AddToCallStack("CQPiBMeasBandList::SetItem");
    throw;
  }
}

void CQPiBMeasBandList::Set(const CQPiBMeasBandList* other) {
  try {
    if (other == nullptr || other == this) return;
    if (other->size_ > capacity_) {
      Allocate(other->size_, false);
    }
    for (int i = 0; i < other->size_; ++i) {
      bands_[i] = other->bands_[i];
    }
    size_ = other->size_;
  } catch (CQError* e) {
    e->AddToCallStack("CQPiBMeasBandList::Set");
    throw;
  }
}

void CQPiBMeasBandList::ResetAveraging() {
  if (bands_ == nullptr) return;
  for (int i = 0; i < size_; ++i) {
    bands_[i].ResetAveraging();
  }
}

// ---- CQPiBMeasurement ----------------------------------------------------------

CQPiBMeasurement::~CQPiBMeasurement() { delete spectrum_; }

void CQPiBMeasurement::SetSpectrum(const CQFArrayFD* spectrum) {
  try {
    lv_spectral::CopySpectrum(spectrum_, spectrum);
  } catch (CQError* e) {
    e->AddToCallStack("CQPiBMeasurement::SetSpectrum");
    throw;
  }
}

void CQPiBMeasurement::Compute() {
  try {
    if (list_ == nullptr || list_->GetSize() == 0) return;
    lv_spectral::CheckMeasurementInput(spectrum_, noiseBW_);

    const double middle = (spectrum_->GetStartFreq() + spectrum_->GetStopFreq()) / 2.0;
    for (int i = 0; i < list_->GetSize(); ++i) {
      CQPiBMeasBand* band = list_->GetItem(i);
      band->valid = false;
      band->spectrumMiddle = middle;
      if (!band->on) continue;

      const double low = middle + band->freq - band->bandwidth / 2.0;
      const double high = middle + band->freq + band->bandwidth / 2.0;
      float p = lv_spectral::BandPower(*spectrum_, low, high, noiseBW_);

      if (band->avgOn) {
        // A plain mean over the first `factor` measurements, then an
        // exponential average with weight 1 / factor.
        if (band->avgFactor < 1) band->avgFactor = 1;
        band->numAvgs += 1;
        if (band->numAvgs > band->avgFactor) band->numAvgs = band->avgFactor;
        const int k = band->numAvgs;
        if (k != 1) {
          const float kf = static_cast<float>(k);
          p = ((kf - 1.0f) / kf) * band->power + (1.0f / kf) * p;
        }
      }
      band->power = p;
      band->powerdBm = PowerToDbm(p);
      band->valid = true;
    }
  } catch (CQError* e) {
    e->AddToCallStack("CQPiBMeasurement::Compute");
    throw;
  }
}
