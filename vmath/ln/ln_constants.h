// Constants of the logarithm kernels, given by their bit patterns.
// Namespace-scope constexpr objects have internal linkage: each kernel's
// translation unit carries its own read-only copy. The three reciprocal tables
// are shared read-only arrays (the copies would be identical).
#pragma once

#include <bit>
#include <cstdint>

namespace lv_vmath_ln {

constexpr float F32(uint32_t bits) { return std::bit_cast<float>(bits); }
constexpr double F64(uint64_t bits) { return std::bit_cast<double>(bits); }

// Class 0.
constexpr float kP0 = F32(0xBF000000u);
constexpr float kP1 = F32(0x3EAAAAABu);
constexpr float kP2 = F32(0xBE800000u);
constexpr float kLn2Hi = F32(0x3F317000u);
constexpr float kLn2Lo = F32(0x3805FDF4u);
constexpr uint32_t kNaNSse2 = 0x7FFC0000u;

// Class 1.
constexpr float kQ0 = F32(0xBF0000C0u);
constexpr float kQ1 = F32(0x3EAAAC04u);
constexpr float kLn2Hi3 = F32(0x3F317200u);
constexpr float kLn2Lo3 = F32(0x35BFBE8Eu);
constexpr float kScale = F32(0x7E800000u);            // 2^126
constexpr float kSubnormalOffset = F32(0xC2AEAC50u);  // -126 ln 2
constexpr uint32_t kDefaultNaN = 0xFFC00000u;

// Classes 2 to 5.
constexpr uint32_t kTwoThirdsBits = 0x3F2AAAABu;
constexpr float kLn2 = F32(0x3F317218u);
constexpr float kC3 = F32(0xBF000000u);
constexpr float kC4 = F32(0x3EAAAEE7u);
constexpr float kC5 = F32(0xBE80061Du);
constexpr float kC6 = F32(0x3E4AFB81u);
constexpr float kC7 = F32(0xBE289358u);
constexpr float kC8 = F32(0x3E2DB86Bu);
constexpr float kC9 = F32(0xBE1B6A22u);
constexpr float kFill = F32(0x3F400000u);

// Classes 6 and 7: the quartic of each of the 16 mantissa segments, as rows
// D, C, B, A (result = ((A f + B) f + C) f + D) f + e ln 2).
alignas(64) constexpr uint32_t kLnSegmentTable[4][16] = {
    {0x3F800000u, 0x3F7FFF55u, 0x3F7FFB64u, 0x3F7FF0DBu, 0x3F7FDCBCu, 0x3F7FBCB5u, 0x3F7F8F2Cu, 0x3F7F532Cu,
     0x3F7FA089u, 0x3F7FD0DCu, 0x3F7FEAC4u, 0x3F7FF79Du, 0x3F7FFD4Cu, 0x3F7FFF62u, 0x3F7FFFEFu, 0x3F800000u},
    {0xBEFFFE93u, 0xBEFFC28Bu, 0xBEFF0773u, 0xBEFDB76Bu, 0xBEFBD4FBu, 0xBEF96E20u, 0xBEF69561u, 0xBEF35E29u,
     0xBF060F28u, 0xBF037AC6u, 0xBF01DE22u, 0xBF00E8DAu, 0xBF0061A0u, 0xBF001FA4u, 0xBF0005F1u, 0xBF00001Bu},
    {0x3EAA36BBu, 0x3EA68B39u, 0x3EA0B403u, 0x3E99B179u, 0x3E922487u, 0x3E8A71E0u, 0x3E82D7C6u, 0x3E76F776u,
     0x3E4684FEu, 0x3E758F3Du, 0x3E8BEA95u, 0x3E982131u, 0x3EA088C4u, 0x3EA5FC8Du, 0x3EA9260Bu, 0x3EAA88FAu},
    {0xBE6831EFu, 0xBE40408Eu, 0xBE20CE25u, 0xBE07BB45u, 0xBDE70571u, 0xBDC611F1u, 0xBDAAF886u, 0xBD947E78u,
     0xBF15EE8Du, 0xBF040BD7u, 0xBEE9B172u, 0xBECFB3F7u, 0xBEB95BABu, 0xBEA60C13u, 0xBE9546FBu, 0xBE86A5E0u},
};

// The special-value routine (double).
constexpr double kNearOne = F64(0x3F84000000000000ull);
constexpr double kD2 = F64(0xBFE0000000000000ull);
constexpr double kD3 = F64(0x3FD5555555555613ull);
constexpr double kD4 = F64(0xBFD0000000000262ull);
constexpr double kD5 = F64(0x3FC9999997B36C81ull);
constexpr double kD6 = F64(0xBFC555555228B38Full);
constexpr double kD7 = F64(0x3FC249C02481059Dull);
constexpr double kD8 = F64(0xBFC000B405A2836Dull);
constexpr double kLn2HiD = F64(0x3FE62E42FEFA3800ull);
constexpr double kLn2LoD = F64(0x3D2EF35793C76730ull);
constexpr double kIndexShifter = F64(0x42D0000000000040ull);  // 2^46 + 1
constexpr double kSplitShifter = F64(0x4140000000000000ull);  // 2^21

extern const uint32_t kLnTableSse2[4 * 65];
extern const uint32_t kLnTableSse3[4 * 65];
extern const uint64_t kLnTableDouble[3 * 65];

}  // namespace lv_vmath_ln
