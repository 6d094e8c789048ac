// An inline helper with no class namespace: what per-class files must not use.
#pragma once

inline float SharedSum(const float* p, int n) {
  float s = 0;
  for (int i = 0; i < n; ++i) s += p[i] * p[i];
  return s;
}
