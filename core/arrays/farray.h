// Real-valued arrays: CQFArray (floats), CQFArrayTD (floats with sample rate
// and time origin) and CQDArray (doubles, for time and frequency axes).
#pragma once

class CQFArray {
 public:
  CQFArray() = default;
  virtual ~CQFArray();
  CQFArray(const CQFArray&) = delete;
  CQFArray& operator=(const CQFArray&) = delete;

  virtual void Clear();
  virtual void PrependZeroData(int n);
  virtual void AppendZeroData(int n);
  virtual void SkipNumPoints(int n);
  virtual void LimitToNumPoints(int n);

  void Set(const float* values, int n);
  void SetSize(int n);
  int GetNumPoints() const { return numPoints_; }
  float* GetDataPtr() { return data_; }
  const float* GetDataPtr() const { return data_; }

 protected:
  int numPoints_ = 0;
  float* data_ = nullptr;
};

class CQFArrayTD : public CQFArray {
 public:
  void PrependZeroData(int n) override;
  void SkipNumPoints(int n) override;

  using CQFArray::Set;
  void Set(const float* values, int n, double sampleRate, double timeOrigin);
  void Set(const CQFArray* other, double sampleRate, double timeOrigin);

  void SetSampleRate(double v) { sampleRate_ = v; }
  double GetSampleRate() const { return sampleRate_; }
  void SetTimeOrigin(double v) { timeOrigin_ = v; }
  double GetTimeOrigin() const { return timeOrigin_; }

 private:
  double sampleRate_ = 0.0;
  double timeOrigin_ = 0.0;
};

class CQDArray {
 public:
  CQDArray() = default;
  virtual ~CQDArray();
  CQDArray(const CQDArray&) = delete;
  CQDArray& operator=(const CQDArray&) = delete;

  virtual void PrependZeroData(int n);
  virtual void AppendZeroData(int n);
  virtual void SkipNumPoints(int n);
  virtual void LimitToNumPoints(int n);

  void Set(const double* values, int n);
  int GetNumPoints() const { return numPoints_; }
  const double* GetDataPtr() const { return data_; }

 private:
  int numPoints_ = 0;
  double* data_ = nullptr;
};
