// The exported butterfly kernels of one class, at global scope: LV_BF_SUFFIX
// names the class, LV_BF_NS its namespace holding the bodies of
// butterfly_avx2.inl.
#define LV_BF_PASTE(a, b) a##b
#define LV_BF_NAME(a, b) LV_BF_PASTE(a, b)

void LV_BF_NAME(FftForwardMediumKernel, LV_BF_SUFFIX)(const ComplexFloat32* src, ComplexFloat32* dst, uint64_t n,
                                                      const float* twiddles, const int32_t* swapList,
                                                      uint8_t* work) {
  LV_BF_NS::MediumKernel<-1>(src, dst, n, twiddles, swapList, work);
}
void LV_BF_NAME(FftInverseMediumKernel, LV_BF_SUFFIX)(const ComplexFloat32* src, ComplexFloat32* dst, uint64_t n,
                                                      const float* twiddles, const int32_t* swapList,
                                                      uint8_t* work) {
  LV_BF_NS::MediumKernel<1>(src, dst, n, twiddles, swapList, work);
}
void LV_BF_NAME(FftForwardInPlaceKernel, LV_BF_SUFFIX)(ComplexFloat32* data, uint64_t n, const float* twiddles,
                                                       uint8_t* work, int32_t lastFlag) {
  LV_BF_NS::InPlaceKernel<-1>(data, n, twiddles, work, lastFlag);
}
void LV_BF_NAME(FftInverseInPlaceKernel, LV_BF_SUFFIX)(ComplexFloat32* data, uint64_t n, const float* twiddles,
                                                       uint8_t* work, int32_t lastFlag) {
  LV_BF_NS::InPlaceKernel<1>(data, n, twiddles, work, lastFlag);
}

#undef LV_BF_NAME
#undef LV_BF_PASTE
