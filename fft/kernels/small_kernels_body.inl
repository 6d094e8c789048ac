// The exported small-order kernels of one class, at global scope: LV_SK_SUFFIX
// names the class, LV_SK_NS its namespace (holding the bodies of
// small_kernels_avx.inl), LV_SK_ORDER0N / LV_SK_ORDER1N / LV_SK_ORDER1P the
// order-0 and order-1 kernels the class uses.
#define LV_SK_PASTE3(a, b, c) a##b##c
#define LV_SK_NAME3(a, b, c) LV_SK_PASTE3(a, b, c)
#define LV_SK_DEFINE(Dir, kSign, k)                                                                            \
  void LV_SK_NAME3(Fft##Dir##Order##k##NormalisedKernel, LV_SK_SUFFIX, )(const ComplexFloat32* src,         \
                                                                           ComplexFloat32* dst, float scale) { \
    LV_SK_NS::Order##k<kSign, true>(src, dst, scale);                                                        \
  }                                                                                                            \
  void LV_SK_NAME3(Fft##Dir##Order##k##Kernel, LV_SK_SUFFIX, )(const ComplexFloat32* src, ComplexFloat32* dst,  \
                                                                 const FftSpecComplexFloat32*) {                \
    LV_SK_NS::Order##k<kSign, false>(src, dst, 1.0f);                                                        \
  }

LV_SK_DEFINE(Forward, -1, 2)
LV_SK_DEFINE(Forward, -1, 3)
LV_SK_DEFINE(Forward, -1, 4)
LV_SK_DEFINE(Forward, -1, 5)
LV_SK_DEFINE(Forward, -1, 6)
LV_SK_DEFINE(Inverse, 1, 2)
LV_SK_DEFINE(Inverse, 1, 3)
LV_SK_DEFINE(Inverse, 1, 4)
LV_SK_DEFINE(Inverse, 1, 5)
LV_SK_DEFINE(Inverse, 1, 6)

#define LV_SK_SET(Dir)                                                                                     \
  const FftSmallKernelSet LV_SK_NAME3(kFft##Dir##SmallKernels, LV_SK_SUFFIX, ) = {                         \
      {LV_SK_ORDER0N, LV_SK_ORDER1N, LV_SK_NAME3(Fft##Dir##Order2NormalisedKernel, LV_SK_SUFFIX, ),        \
       LV_SK_NAME3(Fft##Dir##Order3NormalisedKernel, LV_SK_SUFFIX, ),                                      \
       LV_SK_NAME3(Fft##Dir##Order4NormalisedKernel, LV_SK_SUFFIX, ),                                      \
       LV_SK_NAME3(Fft##Dir##Order5NormalisedKernel, LV_SK_SUFFIX, ),                                      \
       LV_SK_NAME3(Fft##Dir##Order6NormalisedKernel, LV_SK_SUFFIX, )},                                     \
      {FftOrder0KernelSse2, LV_SK_ORDER1P, LV_SK_NAME3(Fft##Dir##Order2Kernel, LV_SK_SUFFIX, ),           \
       LV_SK_NAME3(Fft##Dir##Order3Kernel, LV_SK_SUFFIX, ), LV_SK_NAME3(Fft##Dir##Order4Kernel, LV_SK_SUFFIX, ), \
       LV_SK_NAME3(Fft##Dir##Order5Kernel, LV_SK_SUFFIX, ), LV_SK_NAME3(Fft##Dir##Order6Kernel, LV_SK_SUFFIX, )}};

LV_SK_SET(Forward)
LV_SK_SET(Inverse)

#undef LV_SK_SET
#undef LV_SK_DEFINE
#undef LV_SK_NAME3
#undef LV_SK_PASTE3
