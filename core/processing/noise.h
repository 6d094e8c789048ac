// CQCNoiseTD: adds white complex Gaussian noise of a given power spectral
// density (dBm/Hz over the sample-rate bandwidth; a sample x carries |x|^2/100 W).
#pragma once

#include "core/arrays/carray.h"

// Standard deviation of each of I and Q for a density in dBm/Hz at a rate.
float CalcNoiseSigma(float levelDbmPerHz, double sampleRate);

class CQCNoiseTD : public CQCArrayTD {
 public:
  CQCNoiseTD() = default;
  ~CQCNoiseTD() override = default;

  void SetNoiseLevel(float level) { noiseLevel_ = level; }
  float GetNoiseLevel() const { return noiseLevel_; }
  // Adds noise of the given level to n samples in place (uses only its arguments).
  // The draws come from the platform's 15-bit generator: the sequence is the same
  // on every start of the program and continues from run to run.
  void AddNoise(CQComplex* data, int n, double sampleRate, float level);

 private:
  float noiseLevel_ = -145.0f;
};
