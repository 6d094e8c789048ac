// Complex sample arrays: CQCArray (a counted block of complex floats) and
// CQCArrayTD (plus sample rate, time origin, centre frequency, bandwidth and
// the start date and time of the first sample), the unit of IQ data of the system.
#pragma once

#include "core/arrays/complex.h"
#include "core/arrays/td_attributes.h"

class CQFArray;
class CQFArrayTD;
class CQDArray;

class CQCArray {
 public:
  CQCArray() = default;
  virtual ~CQCArray();
  CQCArray(const CQCArray&) = delete;
  CQCArray& operator=(const CQCArray&) = delete;

  virtual void Clear();
  virtual void PrependZeroData(int n);
  virtual void AppendZeroData(int n);
  virtual void RemoveData(int front, int back);
  virtual void SkipNumPoints(int n);
  virtual void LimitToNumPoints(int n);

  void Set(const CQComplex* data, int n);
  void Set(const float* re, const float* im, int n);
  void SetSize(int n);
  void SetValid(bool valid) { valid_ = valid; }
  bool IsValid() const { return valid_; }
  int GetNumPoints() const { return numPoints_; }
  CQComplex* GetDataPtr() { return data_; }
  const CQComplex* GetDataPtr() const { return data_; }

  // New arrays owned by the caller.
  CQFArray* MakeCopyOfReal() const;
  CQFArray* MakeCopyOfImag() const;
  CQFArray* MakeCopyOfMagdB20() const;
  CQFArray* MakeCopyOfMagdBm() const;
  CQFArray* MakeCopyOfPhaseDeg() const;
  CQFArray* MakeCopyOfUnwrappedPhaseDeg() const;

 private:
  // The body of both Set forms: a new count empties the array first; with a
  // source and n > 0 the block (kept when the count is unchanged) receives
  // the samples through copyInto(block).
  template <typename CopyInto>
  void Store(bool hasSource, int n, CopyInto&& copyInto);

 protected:
  bool valid_ = true;
  int numPoints_ = 0;
  CQComplex* data_ = nullptr;
};

class CQCArrayTD : public CQCArray, public CQTDAttributes {
 public:
  CQCArrayTD() = default;
  // n zero samples.
  explicit CQCArrayTD(int n);

  void PrependZeroData(int n) override;
  void SkipNumPoints(int n) override;

  using CQCArray::Set;
  void Set(const CQComplex* data, int n, double sampleRate, double timeOrigin);
  void Set(const float* re, const float* im, int n, double sampleRate, double timeOrigin);
  // Samples, rate, origin, centre frequency, bandwidth, flag and start date and time.
  void Set(const CQCArrayTD* other);

  CQCArrayTD* MakeCopy() const;
  CQCArrayTD* MakeCopyOfSubset(int start, int n) const;
  CQFArrayTD* MakeCopyOfReal() const;
  CQFArrayTD* MakeCopyOfImag() const;
  CQFArrayTD* MakeCopyOfDerivUWPhaseDeg() const;
  CQDArray* MakeCopyOfTime() const;
};
