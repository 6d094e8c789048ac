// The stage sequence of the transforms of classes 1 to 7: after a first stage
// of 4-point butterflies, stages of radix 4 or 8, each chosen by the class
// rule from the order n and the index bits o the stages so far have consumed
// (o = 2 after the first stage; radix 4 adds 2, radix 8 adds 3; the stages end
// at o = n). The twiddle tables, the kernels and their models follow it.
#pragma once

#include <vector>

namespace fft_stage_rule {

// The radix of the stage after o consumed bits, for order n.
inline int NextRadix(int cls, int n, int o) {
  const int left = n - o;
  if (cls == 1) {
    const bool wideFirst = o == 2 && (n == 7 || n == 10 || n == 11 || n == 13 || n == 14);
    return left == 3 || (left > 4 && o > 2) || wideFirst ? 8 : 4;
  }
  if (cls == 2 || cls == 3) {
    return left % 3 == 0 ? 8 : 4;
  }
  return left == 3 || (left > 4 && o > 2 && n <= 11) || (o == 4 && n % 2 == 1) ? 8 : 4;
}

// The radices of the stages after the first, in order.
inline std::vector<int> StageRadices(int cls, int n) {
  std::vector<int> radices;
  for (int o = 2; o < n;) {
    const int r = NextRadix(cls, n, o);
    radices.push_back(r);
    o += r == 8 ? 3 : 2;
  }
  return radices;
}

inline bool HasRadix8Stage(int cls, int n) {
  for (int r : StageRadices(cls, n)) {
    if (r == 8) return true;
  }
  return false;
}

}  // namespace fft_stage_rule
