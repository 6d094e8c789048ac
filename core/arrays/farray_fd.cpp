#include "core/arrays/farray_fd.h"

#include <memory>

#include "core/array_math.h"
#include "core/arrays/padding.h"
#include "core/arrays/scratch.h"
#include "core/error.h"

using lv_arrays::Named;

void CQFArrayFD::Set(const float* values, int n, double startFreq, double freqStep, double spectrumTime) {
  Named("CQFArrayFD::Set", [&] {
    if (values == nullptr) {
      throw new CQError("Null pointer to data.");
    }
    if (n < 1) {
      throw new CQError("Invalid number of input points.");
    }
    CQFArray::Set(values, n);
    startFreq_ = startFreq;
    freqStep_ = freqStep;
    stopFreq_ = (n - 1) * freqStep + startFreq;
    spectrumTime_ = spectrumTime;
  });
}

void CQFArrayFD::Set(const CQFArrayFD* other) {
  Named("CQFArrayFD::Set", [&] {
    if (other == nullptr) {
      throw new CQError("Null pointer to data.");
    }
    CQFArray::Set(other->GetDataPtr(), other->GetNumPoints());
    startFreq_ = other->startFreq_;
    freqStep_ = other->freqStep_;
    stopFreq_ = other->stopFreq_;
    spectrumTime_ = other->spectrumTime_;
    centerFreq_ = other->centerFreq_;
    rbw_ = other->rbw_;
    nbw_ = other->nbw_;
  });
}

void CQFArrayFD::SetFreqAxis(double startFreq, double freqStep) {
  startFreq_ = startFreq;
  freqStep_ = freqStep;
  stopFreq_ = (numPoints_ - 1) * freqStep + startFreq;
}

CQDArray* CQFArrayFD::MakeCopyOfFreq() const {
  return Named("CQFArrayFD::MakeCopyOfFreq", [&] {
    auto result = std::make_unique<CQDArray>();
    lv_arrays::Scratch<double> temp(numPoints_);
    const double base = centerFreq_ + startFreq_;
    for (int i = 0; i < numPoints_; ++i) {
      temp[i] = i * freqStep_ + base;
    }
    result->Set(temp.get(), numPoints_);
    return result.release();
  });
}

// ---- CQFArrayFDList -------------------------------------------------------------

CQFArrayFDList::CQFArrayFDList(int numItems) {
  Named("CQFArrayFDList::CQFArrayFDList", [&] { SetNumItems(numItems); });
}

CQFArrayFDList::~CQFArrayFDList() { Release(); }

void CQFArrayFDList::Release() {
  for (CQFArrayFD* item : items_) {
    delete item;
  }
  items_.clear();
}

void CQFArrayFDList::SetNumItems(int numItems) {
  Named("CQFArrayFDList::SetNumItems", [&] {
    if (numItems == GetNumItems()) {
      return;
    }
    Release();
    if (numItems <= 0) {
      return;
    }
    try {
      items_.assign(static_cast<size_t>(numItems), nullptr);
      for (auto& item : items_) {
        item = new CQFArrayFD();
      }
    } catch (CQError*) {
      Release();
      throw;
    } catch (const std::bad_alloc&) {
      Release();
      throw new CQError(1);
    }
  });
}

void CQFArrayFDList::SetItem(int index, const CQFArrayFD* item) {
  Named("CQFArrayFDList::SetItem", [&] {
    if (item == nullptr) {
      throw new CQError("NULL pointer to item to set in list.");
    }
    GetItem(index)->Set(item);
  });
}

CQFArrayFD* CQFArrayFDList::GetItem(int index) {
  return Named("CQFArrayFDList::GetItem", [&] {
    if (index < 0 || index >= GetNumItems()) {
      throw new CQError("Invalid item index.");
    }
    return items_[static_cast<size_t>(index)];
  });
}
