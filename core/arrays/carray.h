// Complex sample arrays: CQCArray (a counted block of complex floats) and
// CQCArrayTD (plus sample rate, time origin, centre frequency, bandwidth and
// the start date and time of the first sample), the unit of IQ data of the system.
#pragma once

#include "core/arrays/complex.h"
#include "core/dates.h"

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

 protected:
  bool valid_ = true;
  int numPoints_ = 0;
  CQComplex* data_ = nullptr;
};

class CQCArrayTD : public CQCArray {
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

  void SetSampleRate(double v) { sampleRate_ = v; }
  double GetSampleRate() const { return sampleRate_; }
  void SetTimeOrigin(double v) { timeOrigin_ = v; }
  double GetTimeOrigin() const { return timeOrigin_; }
  void SetCenterFreq(double v) { centerFreq_ = v; }
  double GetCenterFreq() const { return centerFreq_; }
  void SetBandwidth(double v) { bandwidth_ = v; }
  double GetBandwidth() const { return bandwidth_; }
  CQDateTime& StartDateTime() { return startDateTime_; }
  const CQDateTime& StartDateTime() const { return startDateTime_; }

  CQCArrayTD* MakeCopy() const;
  CQCArrayTD* MakeCopyOfSubset(int start, int n) const;
  CQFArrayTD* MakeCopyOfReal() const;
  CQFArrayTD* MakeCopyOfImag() const;
  CQFArrayTD* MakeCopyOfDerivUWPhaseDeg() const;
  CQDArray* MakeCopyOfTime() const;

 protected:
  double sampleRate_ = 0.0;
  double timeOrigin_ = 0.0;
  double centerFreq_ = 0.0;
  double bandwidth_ = 0.0;
  CQDateTime startDateTime_;
};
