// The exported FFT set-up functions of one class (1 to 7), at global scope.
// Include it after the class's namespace, with:
//   LV_FS_SUFFIX  the class suffix of the exported names (Sse3, Avx2, ...);
//   LV_FS_NS      the class namespace, whose FftClass traits (local to the
//                 class file) instantiate ::lv_fft_setup::Setup and
//                 ::lv_fft_permute::Permute128 here;
// and optionally:
//   LV_FS_ROW_COPY  a type of the class namespace with Gather and Scatter,
//                   exported as TileGather / TileScatter;
//   LV_FS_BIT_REVERSE_COPY  defined when the class exports BitReverseInPlace
//                   and BitReverseCopy of Permute128.
// Every function here is a plain definition of a name that fft_setup.h
// declares, so each stays a symbol of the class that includes this file.
#define LV_FS_PASTE(a, b) a##b
#define LV_FS_NAME2(a, b) LV_FS_PASTE(a, b)
#define LV_FS_NAME(base) LV_FS_NAME2(base, LV_FS_SUFFIX)
#define LV_FS_SETUP ::lv_fft_setup::Setup<LV_FS_NS::FftClass>
#define LV_FS_PERMUTE ::lv_fft_permute::Permute128<LV_FS_NS::FftClass>

int32_t LV_FS_NAME(FftGetSizeComplexFloat32)(int32_t order, int32_t flag, int32_t hint, int32_t* specBytes,
                                              int32_t* initBytes, int32_t* workBytes) {
  return LV_FS_SETUP::GetSize(order, flag, hint, specBytes, initBytes, workBytes);
}

int32_t LV_FS_NAME(FftInitComplexFloat32)(FftSpecComplexFloat32** spec, int32_t order, int32_t flag, int32_t hint,
                                           uint8_t* specMemory, uint8_t* initBuffer) {
  return LV_FS_SETUP::Init(spec, order, flag, hint, specMemory, initBuffer);
}

void* LV_FS_NAME(MakeSineTable)(int32_t order, float* table) { return LV_FS_SETUP::MakeSineTable(order, table); }

void* LV_FS_NAME(ExpandRadix4Twiddles)(int32_t n, const float* sine, int32_t b, float* out) {
  return LV_FS_SETUP::ExpandRadix4Twiddles(n, sine, b, out);
}

void* LV_FS_NAME(MakeBitReverseList)(int32_t n, int32_t* out) { return LV_FS_SETUP::MakeBitReverseList(n, out); }

void* LV_FS_NAME(MakeTileBitReverseList)(int32_t n, int32_t* out) {
  return LV_FS_SETUP::MakeTileBitReverseList(n, out);
}

void* LV_FS_NAME(MakeBlockedBitReverseList)(int32_t n, int32_t t, int32_t* out) {
  return LV_FS_SETUP::MakeBlockedBitReverseList(n, t, out);
}

void* LV_FS_NAME(BuildLargeOrderPlan)(FftSpecComplexFloat32* spec, int32_t order, const float* sine, int32_t a,
                                      int32_t* list, uint8_t* scratch) {
  return LV_FS_SETUP::BuildLargeOrderPlan(spec, order, sine, a, list, scratch);
}

void LV_FS_NAME(BitReverseTile)(ComplexFloat32* data, int32_t n, const int32_t* list) {
  LV_FS_PERMUTE::Tile(data, n, list);
}

#ifdef LV_FS_BIT_REVERSE_COPY
void LV_FS_NAME(BitReverseInPlace)(ComplexFloat32* data, int32_t n, const int32_t* list) {
  LV_FS_PERMUTE::InPlace(data, n, list);
}

void LV_FS_NAME(BitReverseCopy)(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n, const int32_t* list) {
  LV_FS_PERMUTE::Copy(src, dst, n, list);
}
#endif

#ifdef LV_FS_ROW_COPY
void LV_FS_NAME(TileGather)(const ComplexFloat32* src, ComplexFloat32* dst, int32_t rowStride, int32_t rowCount,
                            int32_t rowLength) {
  LV_FS_NS::LV_FS_ROW_COPY::Gather(src, dst, rowStride, rowCount, rowLength);
}

void LV_FS_NAME(TileScatter)(ComplexFloat32* dst, const ComplexFloat32* src, int32_t rowStride, int32_t rowCount,
                             int32_t rowLength, int32_t last) {
  LV_FS_NS::LV_FS_ROW_COPY::Scatter(dst, src, rowStride, rowCount, rowLength, last);
}
#endif

#undef LV_FS_PERMUTE
#undef LV_FS_SETUP
#undef LV_FS_NAME
#undef LV_FS_NAME2
#undef LV_FS_PASTE
#undef LV_FS_ROW_COPY
#undef LV_FS_BIT_REVERSE_COPY
#undef LV_FS_NS
#undef LV_FS_SUFFIX
