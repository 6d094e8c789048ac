// A rectangle in window coordinates: left, top, right, bottom.
#pragma once

#include <cstdint>

struct CWRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  friend bool operator==(const CWRect&, const CWRect&) = default;
};
