#include "iqfiles/formats/file_info.h"

void SetFloatFileInfo(CQFileInfo* info, int64_t numPoints, double sampleRate, double centerFreq) {
  info->complex = true;
  info->floatData = true;
  info->numPoints = numPoints;
  info->scale = 1.0f;
  info->sampleRate = sampleRate;
  info->centerFreq = centerFreq;
  info->bandwidth = sampleRate;
  info->timeOffset = 0.0;
  info->firstSampleTime = CQDateTime();
  info->timeReference = CQDateTime();
}

CQFileDataBlock::CQFileDataBlock()
    : samples(std::make_unique<CQCArrayTD>()), rawSamples(std::make_unique<CQCIArrayTD>()) {}

void CQFileDataBlock::Reset() {
  partialRead = true;
  start = 0;
  count = 0;
  numPoints = 0;
  centerFreq = 0.0;
  sampleRate = 0.0;
  samples->Clear();
  rawSamples->Empty();
}
