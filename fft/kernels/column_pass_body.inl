// The exported column passes of one vector class, at global scope. Include it
// from the class's file with:
//   LV_CP_SUFFIX  the class suffix of the exported names (Sse3, Avx2, ...);
//   LV_CP_NS      the class namespace;
//   LV_CP_WIDTH   floats per vector (4 or 8);
//   LV_CP_FUSED   true when the class fuses products into sums.
// The pass template is instantiated inside the class namespace, so each
// instance is compiled with that class's instructions only.
#define LV_CP_PASTE(a, b) a##b
#define LV_CP_NAME2(a, b) LV_CP_PASTE(a, b)
#define LV_CP_NAME(base) LV_CP_NAME2(base, LV_CP_SUFFIX)

namespace LV_CP_NS {
namespace {

struct ColumnClass {
  static constexpr int kWidth = LV_CP_WIDTH;
  static constexpr bool kFused = LV_CP_FUSED;
};

using Passes = ::lv_fft_colpass::ColumnPasses<ColumnClass>;

}  // namespace
}  // namespace LV_CP_NS

void LV_CP_NAME(FftForwardRadix8Pass)(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  LV_CP_NS::Passes::Radix8<false>(data, h, l, twiddles);
}

void LV_CP_NAME(FftForwardRadix4Pass)(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  LV_CP_NS::Passes::Radix4<false>(data, h, l, twiddles);
}

void LV_CP_NAME(FftInverseRadix8Pass)(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  LV_CP_NS::Passes::Radix8<true>(data, h, l, twiddles);
}

void LV_CP_NAME(FftInverseRadix4Pass)(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  LV_CP_NS::Passes::Radix4<true>(data, h, l, twiddles);
}

#undef LV_CP_NAME
#undef LV_CP_NAME2
#undef LV_CP_PASTE
