#include "core/spectral/dsp_window.h"

#include <climits>
#include <cmath>

#include "core/array_math.h"
#include "core/error.h"

namespace {

struct ShapeConstants {
  float a0, a1, a2, a3;  // cosine-sum coefficients (shapes 1-5)
  double alpha;          // Gaussian alpha (shapes 6-8)
  double rbwFactor;      // k: RBW = k * fs / length
  double timeFactor;     // c: time span = c * length / fs
};

constexpr ShapeConstants kShapes[8] = {
    {1.0f, 0.0f, 0.0f, 0.0f, 0.0, 0.886, 1.0},
    {0.5f, 0.5f, 0.0f, 0.0f, 0.0, 1.441, 0.364},
    {0.54348f, 0.45652f, 0.0f, 0.0f, 0.0, 1.293, 0.383},
    {0.42323f, 0.49755f, 0.07922f, 0.0f, 0.0, 1.623, 0.291},
    {0.35875f, 0.48829f, 0.14128f, 0.01168f, 0.0, 1.899, 0.244},
    {0.0f, 0.0f, 0.0f, 0.0f, 2.78, 1.5, 0.299},
    {0.0f, 0.0f, 0.0f, 0.0f, 3.46, 1.839, 0.24},
    {0.0f, 0.0f, 0.0f, 0.0f, 4.3, 2.281, 0.193},
};

bool IsShape(int shape) { return shape >= 1 && shape <= 8; }

const ShapeConstants& ShapeOrFail(int shape) {
  if (!IsShape(shape)) throw new CQError("Invalid window shape.");
  return kShapes[shape - 1];
}

// Cosine of a float argument, taken in double and rounded to float.
float CosF(float x) { return static_cast<float>(std::cos(static_cast<double>(x))); }

}  // namespace

CQDSPWindow::~CQDSPWindow() {
  CQArrayMath::Free(window_);
  CQArrayMath::Free(complexWindow_);
}

void CQDSPWindow::SetNumPoints(int n) {
  if (n <= 0) throw new CQError("Invalid number of points in window.", "CQDSPWindow::SetNumPoints");
  numPoints_ = n;
}

void CQDSPWindow::SetShape(int shape) {
  if (!IsShape(shape)) throw new CQError("Invalid window shape.", "CQDSPWindow::SetShape");
  shape_ = shape;
}

void CQDSPWindow::Make() {
  try {
    CQArrayMath::Free(window_);
    CQArrayMath::Free(complexWindow_);
    window_ = nullptr;
    complexWindow_ = nullptr;
    const int n = numPoints_;
    if (n < 1) throw new CQError("Invalid number of points in window.");
    window_ = CQArrayMath::AllocFloat(n);
    complexWindow_ = CQArrayMath::AllocComplex(n);
    const ShapeConstants& k = ShapeOrFail(shape_);
    if (shape_ >= kWindowGaussian278) {
      MakeGaussian(k.alpha, n, window_);
    } else {
      // Periodic cosine sum (period N) divided by a0, so the mean over one
      // period is 1. All in float; each cosine taken in double.
      const float u = static_cast<float>(6.28318530718 / n);
      for (int i = 0; i < n; ++i) {
        const float v = static_cast<float>(i);
        float w = k.a0;
        if (shape_ == kWindowBlackmanHarris4) w -= k.a3 * CosF(3.0f * v * u);
        if (shape_ >= kWindowBlackmanHarris3) w += k.a2 * CosF((v + v) * u);
        if (shape_ >= kWindowHann) w -= k.a1 * CosF(v * u);
        window_[i] = w / k.a0;
      }
    }
    CQArrayMath::CopyArray(window_, complexWindow_, n);
  } catch (CQError* e) {
    e->AddToCallStack("CQDSPWindow::Make");
    throw;
  }
}

void CQDSPWindow::MakeGaussian(double alpha, int n, float* out) {
  try {
    if (!(alpha > 0.0)) throw new CQError("Invalid window parameter: alpha.");
    if (n < 1) throw new CQError("Invalid number of points in window.");
    if (out == nullptr) throw new CQError("NULL pointer.");
    if (n == 1) {
      out[0] = 1.0f;  // the only point is the centre
      return;
    }
    const double b = (n - 1) * 0.5;
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
      const double x = (i - b) * alpha / b;
      const double w = std::exp(-0.5 * x * x);
      out[i] = static_cast<float>(w);
      sum += w;
    }
    const float mean = static_cast<float>(sum / n);
    for (int i = 0; i < n; ++i) out[i] = out[i] / mean;
  } catch (CQError* e) {
    e->AddToCallStack("CQDSPWindow::MakeGaussian");
    throw;
  }
}

void CQDSPWindow::Apply(CQComplex* data, int n) const {
  try {
    if (data == nullptr) throw new CQError("Invalid pointer.");
    if (n != numPoints_ || complexWindow_ == nullptr) throw new CQError("Invalid number of points in window.");
    CQArrayMath::ArrayMult(data, complexWindow_, n);
  } catch (CQError* e) {
    e->AddToCallStack("CQDSPWindow::Apply");
    throw;
  }
}

double CQDSPWindow::ComputeNBW(double sampleRate) const {
  float* tmp = nullptr;
  try {
    if (!(sampleRate > 0.0)) throw new CQError("Invalid sample rate.");
    if (window_ == nullptr) throw new CQError("No window function.");
    const int n = numPoints_;
    if (n <= 0) throw new CQError("Invalid number of points in window.");
    tmp = CQArrayMath::AllocFloat(n);
    CQArrayMath::CopyArray(window_, tmp, n);
    const float s1 = CQArrayMath::Sum(tmp, n);
    CQArrayMath::ArrayMult(window_, window_, tmp, n);
    const float s2 = CQArrayMath::Sum(tmp, n);
    CQArrayMath::Free(tmp);
    tmp = nullptr;
    const float nf = static_cast<float>(n);
    const float mean1 = s1 / nf;
    const float r = (s2 / nf) / (mean1 * mean1);
    return static_cast<double>(r) / (n / sampleRate);
  } catch (CQError* e) {
    CQArrayMath::Free(tmp);
    e->AddToCallStack("CQDSPWindow::ComputeNBW");
    throw;
  }
}

float CQDSPWindow::GetValue(int i) const {
  if (window_ == nullptr || i < 0 || i >= numPoints_) return 0.0f;
  return window_[i];
}

int CalcWindowLengthForRBW(double sampleRate, double rbw, int shape) {
  try {
    const ShapeConstants& k = ShapeOrFail(shape);
    if (!(sampleRate > 0.0)) throw new CQError("Invalid sample rate.");
    if (!(rbw > 0.0)) throw new CQError("Invalid resolution bandwidth.");
    const double length = k.rbwFactor * sampleRate / rbw + 0.5;
    if (!(length < static_cast<double>(INT_MAX))) throw new CQError("Invalid resolution bandwidth.");
    return static_cast<int>(length);
  } catch (CQError* e) {
    e->AddToCallStack("CalcWindowLengthForRBW");
    throw;
  }
}

double CalcRBWForWindowLength(double sampleRate, int length, int shape) {
  try {
    const ShapeConstants& k = ShapeOrFail(shape);
    if (!(sampleRate > 0.0)) throw new CQError("Invalid sample rate.");
    if (length <= 0) throw new CQError("Invalid number of points in window.");
    return k.rbwFactor / (length / sampleRate);
  } catch (CQError* e) {
    e->AddToCallStack("CalcRBWForWindowLength");
    throw;
  }
}

double CalcTimeSpanForWindowLength(double sampleRate, int length, int shape) {
  try {
    const ShapeConstants& k = ShapeOrFail(shape);
    if (!(sampleRate > 0.0)) throw new CQError("Invalid sample rate.");
    const double span = length / sampleRate;
    return shape == kWindowRectangular ? span : span * k.timeFactor;
  } catch (CQError* e) {
    e->AddToCallStack("CalcTimeSpanForWindowLength");
    throw;
  }
}
