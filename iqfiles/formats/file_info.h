// CQFileInfo describes one IQ file; CQFileDataBlock is a read request and its
// result at once (the window wanted, then the samples and the file's main
// parameters).
#pragma once

#include <cstdint>
#include <memory>

#include "core/arrays/carray.h"
#include "core/arrays/ciarray.h"
#include "core/dates.h"

struct CQFileInfo {
  bool complex = true;
  bool floatData = false;
  int32_t markerCount = 0;
  int64_t numPoints = 0;
  float scale = 1.0f;
  float attenuation = 0.0f;
  double sampleRate = 0.0;
  double centerFreq = 0.0;
  double bandwidth = 0.0;
  double timeOffset = 0.0;
  CQDateTime firstSampleTime;
  CQDateTime timeReference;
};

// The description of a complex float file without dates: scale 1, bandwidth
// the sample rate, no time offset (marker count and attenuation untouched).
void SetFloatFileInfo(CQFileInfo* info, int64_t numPoints, double sampleRate, double centerFreq);

class CQFileDataBlock {
 public:
  CQFileDataBlock();
  CQFileDataBlock(const CQFileDataBlock&) = delete;
  CQFileDataBlock& operator=(const CQFileDataBlock&) = delete;

  // Partial read, every number 0, both arrays emptied; the date-time stays.
  void Reset();

  bool partialRead = true;
  int64_t start = 0;
  int32_t count = 0;
  int64_t numPoints = 0;
  double centerFreq = 0.0;
  double sampleRate = 0.0;
  CQDateTime firstSampleTime;
  // The samples read; the block keeps these objects for its whole life.
  const std::unique_ptr<CQCArrayTD> samples;
  const std::unique_ptr<CQCIArrayTD> rawSamples;
};
