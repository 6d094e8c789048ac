// The byte layout of an ".iqbin" header (little-endian, packed).
#pragma once

#include <cstdint>

namespace lv_iqbin {

#pragma pack(push, 1)
struct Header {
  int32_t version;
  int32_t numPoints;
  double sampleRate;
  double timeOrigin;
  double centerFreq;
};
#pragma pack(pop)
static_assert(sizeof(Header) == 32, "the .iqbin header is 32 bytes");

inline constexpr int kExtraSize = 1024;

inline int64_t DataOffset(int32_t version) { return version == 2 ? 32 + kExtraSize : 32; }

}  // namespace lv_iqbin
