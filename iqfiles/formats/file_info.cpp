#include "iqfiles/formats/file_info.h"

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
