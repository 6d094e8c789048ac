// CQArrayMath: the one gateway between the sample arrays, processing blocks,
// file readers, transceiver and plots and the vector primitives. Every sample
// buffer is allocated and freed here (64-byte aligned) and every loop over
// samples runs in a primitive. Each member checks its arguments (pointers
// first: input, output, work; then the count), turns a primitive's non-zero
// status into CQError code 2 and appends "CQArrayMath::<member>" to every
// error that leaves it.
#pragma once

#include <cstdint>

#include "core/arrays/complex.h"

class CQArrayMath {
 public:
  // Allocation: null results become CQError code 1 with the member's line.
  static float* AllocFloat(int n);
  static CQComplex* AllocComplex(int n);
  static double* AllocDouble(int n);
  static int16_t* AllocShortInt(int n);
  static CQIComplex* AllocIComplex(int n);
  static void Free(void* p);

  // Element-wise arithmetic.
  static void ArrayAdd(float* a, const float* b, int n);
  static void ArrayAdd(const float* a, const float* b, float* dst, int n);
  static void ArrayMult(float* a, const float* b, int n);
  static void ArrayMult(const float* a, const float* b, float* dst, int n);
  static void ArrayMult(CQComplex* a, const CQComplex* b, int n);
  static void ArrayMult(const CQComplex* a, const CQComplex* b, CQComplex* dst, int n);

  // Scalar arithmetic.
  static void ArrayScalarAdd(float* data, float c, int n);
  static void ArrayScalarAdd(const float* src, float c, float* dst, int n);
  static void ArrayScalarAdd(double* data, double c, int n);
  static void ArrayScalarMult(float* data, float c, int n);
  static void ArrayScalarMult(const float* src, float c, float* dst, int n);
  static void ArrayScalarMult(double* data, double c, int n);
  static void ArrayScalarMult(CQComplex* data, float c, int n);
  static void ArrayScalarMult(CQComplex* data, const CQComplex& c, int n);
  static void ArrayScalarMult(const CQComplex* src, float c, CQComplex* dst, int n);

  // Copies and conversions; a count of 0 or less does nothing.
  static void CopyArray(const float* src, float* dst, int n);
  static void CopyArray(const double* src, double* dst, int n);
  static void CopyArray(const CQComplex* src, CQComplex* dst, int n);
  static void CopyArray(const CQIComplex* src, CQIComplex* dst, int n);
  static void CopyArray(const float* src, double* dst, int n);
  static void CopyArray(const float* src, CQComplex* dst, int n);
  static void CopyArray(const int16_t* src, float* dst, int n);
  static void CopyArray(const CQComplex* src, float* dst, int n);
  static void CopyArray(const float* re, const float* im, CQComplex* dst, int n);
  static void CopyArray(const CQComplex* src, float* re, float* im, int n);
  static void CopyArray(const float* src, int16_t* dst, int n);    // rounds to nearest even, saturates
  static void CopyArray(const double* src, int32_t* dst, int n);   // rounds to nearest even, saturates

  // Zero fills; a count of 0 or less does nothing.
  static void ZeroFill(int32_t* data, int n);
  static void ZeroFill(float* data, int n);
  static void ZeroFill(double* data, int n);
  static void ZeroFill(CQComplex* data, int n);
  static void ZeroFill(CQIComplex* data, int n);
  // Elements first to last inclusive; nothing when last < first.
  static void ZeroFill(CQComplex* data, int first, int last);

  // Reductions.
  static float Sum(const float* p, int n);
  static CQComplex Sum(const CQComplex* p, int n);
  static float FindMax(const float* p, int n, int* index);
  static double FindMax(const double* p, int n);
  static float FindMin(const float* p, int n, int* index);
  static double FindMin(const double* p, int n);
  static float FindMaxMag(const CQComplex* p, int n);
  static float FindMaxAbs(const float* p, int n);

  // Magnitudes, levels and phases.
  static void Magnitude(const CQComplex* src, float* dst, int n);
  static void MagSqr(const CQComplex* src, float* dst, int n);
  static void Log10(const float* src, float* dst, int n, float* work, float floor);
  static void LogMagdB20(const CQComplex* src, float* dst, int n, float floor);
  static void LogMagdBm(const CQComplex* src, float* dst, int n, float floor);
  static void WattsTodBm(const float* src, float* dst, int n);
  static void WattsTodBm(const float* src, float* dst, float* work1, float* work2, int n);
  static void PhaseDeg(const CQComplex* src, float* dst, int n);
  static void UnwrapPhaseDeg(const CQComplex* src, float* dst, int n);
  static void DerivUnwrapPhaseDeg(const CQComplex* src, float* dst, int n, double sampleRate);

  // Normalisation and limits.
  static void NormalizeToOne(float* data, int n);
  static void NormalizeToOne(CQComplex* data, int n);
  static void LimitMaxValue(const int32_t* src, int level, int32_t* dst, int n);
  static void LimitMaxValue(float* data, float level, int n);
  static void LimitMaxValue(const float* src, float level, float* dst, int n);
  static void LimitMaxValue(double* data, double level, int n);
  // The integer form always clips at 0 (its level is not used).
  static void LimitMinValue(const int32_t* src, int level, int32_t* dst, int n);
  static void LimitMinValue(float* data, float level, int n);
  static void LimitMinValue(const float* src, float level, float* dst, int n);
  static void LimitMinValue(double* data, double level, int n);
};
