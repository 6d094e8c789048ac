// Complex 16-bit integer arrays: CQCIArray and CQCIArrayTD, the form in which
// IQ data leaves a converter or lies in an integer IQ file.
#pragma once

#include "core/arrays/complex.h"
#include "core/arrays/td_attributes.h"

class CQCIArray {
 public:
  CQCIArray() = default;
  virtual ~CQCIArray();
  CQCIArray(const CQCIArray&) = delete;
  CQCIArray& operator=(const CQCIArray&) = delete;

  virtual void PrependZeroData(int n);
  virtual void AppendZeroData(int n);
  virtual void RemoveData(int front, int back);
  virtual void SkipNumPoints(int n);
  virtual void LimitToNumPoints(int n);

  // Releases the samples (the data manager empties the array before each read).
  void Empty();
  int GetNumPoints() const { return numPoints_; }
  CQIComplex* GetDataPtr() { return data_; }
  const CQIComplex* GetDataPtr() const { return data_; }
  float GetScale() const { return scale_; }
  void SetScale(float s) { scale_ = s; }
  bool IsValid() const { return valid_; }
  void SetValid(bool v) { valid_ = v; }

 protected:
  bool valid_ = true;
  int numPoints_ = 0;
  float scale_ = 1.0f;
  CQIComplex* data_ = nullptr;
};

class CQCIArrayTD : public CQCIArray, public CQTDAttributes {
 public:
  void PrependZeroData(int n) override;
  void SkipNumPoints(int n) override;
};
