// Status codes of the per-class families and of the dispatch frame. Negative
// codes are errors, positive codes warnings, 0 success.
#pragma once

#include <cstdint>

// Statuses of the primitives and of the frame.
enum : int32_t {
  StatusOk = 0,
  StatusNullPointer = -8,
  StatusBadCount = -6,
  StatusBadArgument = -5,
  StatusLnOfZero = 7,
  StatusLnOfNegative = 8,
  StatusNonIntelProcessor = 20,
  StatusProcessorNotSupported = 36,
  StatusCacheSizeUnknown = 37,
  StatusFeatureNotAvailable = 49,
  StatusUnknownFeatureBits = 50,
  StatusClassFeaturesIncomplete = 51,
};
