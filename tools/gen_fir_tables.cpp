// Generates core/processing/fir_tables.cpp: the fixed filter tables of the
// processing chain, every one a linear-phase (odd length, symmetric)
// equiripple low-pass designed with the Remez exchange algorithm.
//   g++ -O2 -std=c++20 gen_fir_tables.cpp -o gen_fir_tables && ./gen_fir_tables > ../core/processing/fir_tables.cpp
// Frequencies are in cycles per sample of the rate the filter runs at.
//  * Low-pass type t (2..20, even 22..40), 239 taps: pass 0..t/100, stop
//    (t+2)/100..0.5, equal weights; then scaled so the taps sum to 1.
//  * Interpolation stage L (2, 3, 5, 7; 51, 77, 129, 181 taps; runs at the
//    output rate): pass 0..0.4/L, stop 0.6/L..0.5, stopband weight 2.
//  * Decimation stage R (2, 3, 5, 7; 47, 73, 121, 169 taps; runs at the input
//    rate): pass 0..0.4/R, stop 0.6/R..0.5, stopband weight 0.65.
// The stage tables are not rescaled (their gain at zero frequency is 1 within
// the passband ripple).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

struct GridPoint {
  double f, d, w;  // frequency, desired amplitude, weight
};

// Remez exchange for A(f) = sum_{k=0..K} a_k cos(2 pi k f); returns 2K+1 taps.
std::vector<double> Remez(int numTaps, double fp, double fs, double wStop) {
  const int K = (numTaps - 1) / 2;
  const int r = K + 2;  // extremal points
  std::vector<GridPoint> grid;
  const int density = 32;
  const double df = 0.5 / (density * (K + 1));
  int nPass = std::max(2, static_cast<int>(std::ceil(fp / df)));
  for (int i = 0; i <= nPass; ++i) grid.push_back({fp * i / nPass, 1.0, 1.0});
  int nStop = std::max(2, static_cast<int>(std::ceil((0.5 - fs) / df)));
  for (int i = 0; i <= nStop; ++i) grid.push_back({fs + (0.5 - fs) * i / nStop, 0.0, wStop});
  const int g = static_cast<int>(grid.size());
  std::vector<double> x(g);
  for (int i = 0; i < g; ++i) x[i] = std::cos(2.0 * M_PI * grid[i].f);

  std::vector<int> ext(r);
  for (int i = 0; i < r; ++i) ext[i] = static_cast<int>(static_cast<long>(i) * (g - 1) / (r - 1));

  std::vector<double> b(r), C(r), xe(r), dw(r);
  double delta = 0.0;
  std::vector<double> err(g);
  auto evalA = [&](double xv) {
    double num = 0.0, den = 0.0;
    for (int i = 0; i < r - 1; ++i) {
      double diff = xv - xe[i];
      if (std::fabs(diff) < 1e-15) return C[i];
      double t = dw[i] / diff;
      num += t * C[i];
      den += t;
    }
    return num / den;
  };
  // Barycentric weights over the first m points, log-scaled against overflow.
  auto baryWeights = [&](int m, std::vector<double>& out) {
    std::vector<double> lg(m);
    std::vector<int> sg(m);
    double mx = -1e300;
    for (int i = 0; i < m; ++i) {
      double s = 0.0;
      int sign = 1;
      for (int j = 0; j < m; ++j) {
        if (j == i) continue;
        double d = xe[i] - xe[j];
        if (d < 0) sign = -sign;
        s -= std::log(std::fabs(d));
      }
      lg[i] = s;
      sg[i] = sign;
      mx = std::max(mx, s);
    }
    for (int i = 0; i < m; ++i) out[i] = sg[i] * std::exp(lg[i] - mx);
  };

  for (int iter = 0; iter < 200; ++iter) {
    for (int i = 0; i < r; ++i) xe[i] = x[ext[i]];
    baryWeights(r, b);
    double num = 0.0, den = 0.0;
    for (int i = 0; i < r; ++i) {
      num += b[i] * grid[ext[i]].d;
      den += b[i] * ((i % 2) ? -1.0 : 1.0) / grid[ext[i]].w;
    }
    delta = num / den;
    for (int i = 0; i < r; ++i) C[i] = grid[ext[i]].d - ((i % 2) ? -1.0 : 1.0) * delta / grid[ext[i]].w;
    baryWeights(r - 1, dw);
    for (int i = 0; i < g; ++i) err[i] = grid[i].w * (grid[i].d - evalA(x[i]));
    // Candidate extrema: local extrema of err and band edges.
    std::vector<int> cand;
    for (int i = 0; i < g; ++i) {
      bool edge = (i == 0 || i == g - 1 || i == nPass || i == nPass + 1);
      double e = err[i];
      bool isMax = true;
      if (i > 0 && i != nPass + 1 && std::fabs(err[i - 1]) > std::fabs(e) && (err[i - 1] > 0) == (e > 0)) isMax = false;
      if (i < g - 1 && i != nPass && std::fabs(err[i + 1]) > std::fabs(e) && (err[i + 1] > 0) == (e > 0)) isMax = false;
      if ((isMax || edge) && std::fabs(e) > 0.0) {
        if (edge && !isMax) {
          // keep band edges only if they are extrema of their side
          continue;
        }
        cand.push_back(i);
      }
    }
    // Enforce alternation: of consecutive same-sign candidates keep the larger.
    std::vector<int> alt;
    for (int i : cand) {
      if (!alt.empty() && (err[alt.back()] > 0) == (err[i] > 0)) {
        if (std::fabs(err[i]) > std::fabs(err[alt.back()])) alt.back() = i;
      } else {
        alt.push_back(i);
      }
    }
    // Too many: drop the smaller end repeatedly.
    while (static_cast<int>(alt.size()) > r) {
      if (std::fabs(err[alt.front()]) < std::fabs(err[alt.back()])) alt.erase(alt.begin());
      else alt.pop_back();
    }
    if (static_cast<int>(alt.size()) < r) {
      std::fprintf(stderr, "remez: lost alternation (%zu of %d) at iteration %d\n", alt.size(), r, iter);
      break;
    }
    double maxErr = 0.0;
    for (int i : alt) maxErr = std::max(maxErr, std::fabs(err[i]));
    bool same = std::equal(alt.begin(), alt.end(), ext.begin());
    ext = alt;
    if (same || (maxErr - std::fabs(delta)) < 1e-9 * std::fabs(delta)) break;
  }
  // Taps from A sampled on numTaps equally spaced frequencies.
  for (int i = 0; i < r; ++i) xe[i] = x[ext[i]];
  const int n = numTaps;
  std::vector<double> A(K + 1);
  for (int k = 0; k <= K; ++k) A[k] = evalA(std::cos(2.0 * M_PI * k / n));
  std::vector<double> h(n);
  for (int m = 0; m < n; ++m) {
    double s = A[0];
    for (int k = 1; k <= K; ++k) s += 2.0 * A[k] * std::cos(2.0 * M_PI * k * (m - K) / n);
    h[m] = s / n;
  }
  return h;
}

void PrintTable(const char* name, const std::vector<double>& h, bool normalise) {
  double sum = 0.0;
  for (double v : h) sum += v;
  std::printf("const float %s[%zu] = {\n", name, h.size());
  for (size_t i = 0; i < h.size(); ++i) {
    float v = static_cast<float>(normalise ? h[i] / sum : h[i]);
    std::printf("%s%.9e%s", (i % 6 == 0) ? "    " : " ", v, (i + 1 == h.size()) ? "f\n" : ((i % 6 == 5) ? "f,\n" : "f,"));
  }
  std::printf("};\n\n");
}

}  // namespace

int main() {
  std::printf("// Generated by tools/gen_fir_tables.cpp; do not edit by hand.\n");
  std::printf("#include \"core/processing/fir_tables.h\"\n\n");
  std::printf("const float kLowPassTaps[29][239] = {\n");
  std::vector<int> types;
  for (int t = 2; t <= 20; ++t) types.push_back(t);
  for (int t = 22; t <= 40; t += 2) types.push_back(t);
  for (int t : types) {
    std::vector<double> h = Remez(239, t / 100.0, (t + 2) / 100.0, 1.0);
    double sum = 0.0;
    for (double v : h) sum += v;
    std::printf("    {  // type %d\n", t);
    for (size_t i = 0; i < h.size(); ++i) {
      std::printf("%s%.9ef%s", (i % 6 == 0) ? "        " : " ", static_cast<float>(h[i] / sum),
                  (i + 1 == h.size()) ? "\n" : ((i % 6 == 5) ? ",\n" : ","));
    }
    std::printf("    },\n");
  }
  std::printf("};\n\n");
  const int ls[4] = {2, 3, 5, 7};
  const int interpTaps[4] = {51, 77, 129, 181};
  const int decimTaps[4] = {47, 73, 121, 169};
  char name[64];
  for (int i = 0; i < 4; ++i) {
    std::snprintf(name, sizeof name, "kInterpolateBy%dTaps", ls[i]);
    PrintTable(name, Remez(interpTaps[i], 0.4 / ls[i], 0.6 / ls[i], 2.0), false);
  }
  for (int i = 0; i < 4; ++i) {
    std::snprintf(name, sizeof name, "kDecimateBy%dTaps", ls[i]);
    PrintTable(name, Remez(decimTaps[i], 0.4 / ls[i], 0.6 / ls[i], 0.65), false);
  }
  return 0;
}
