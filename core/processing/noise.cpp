#include "core/processing/noise.h"

#include <cmath>

#include "core/error.h"
#include "core/numbers.h"

float CalcNoiseSigma(float level, double sampleRate) {
  const double wattsPerHz = std::pow(10.0, (static_cast<double>(level) - 30.0) / 10.0);
  return static_cast<float>(std::sqrt(wattsPerHz * 100.0 * sampleRate * 0.5));
}

void CQCNoiseTD::AddNoise(CQComplex* data, int n, double sampleRate, float level) {
  try {
    if (data == nullptr) throw new CQError("Null pointer to input array.");
    if (n <= 0) throw new CQError("Invalid number of points.");
    if (!(sampleRate > 0.0)) throw new CQError("Invalid sample rate.");
    const float sigma = CalcNoiseSigma(level, sampleRate);
    for (int i = 0; i < n; ++i) {
      float a = 0.0f, b = 0.0f;
      CQGaussianRandom::Draw(sigma, &a, &b);
      data[i].re += a;
      data[i].im += b;
    }
  } catch (CQError* e) {
    e->AddToCallStack("CQCNoiseTD::AddNoise");
    throw;
  }
}
