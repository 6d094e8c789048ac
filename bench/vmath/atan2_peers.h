// SLEEF's vector atan2 as loops over arrays, one per SLEEF width; each is
// compiled in a file with the flags of its width. n is a multiple of 16.
#pragma once

void SleefAtan2U10Sse2(const float* y, const float* x, float* dst, int n);
void SleefAtan2U35Sse2(const float* y, const float* x, float* dst, int n);
void SleefAtan2U35Sse4(const float* y, const float* x, float* dst, int n);
void SleefAtan2U35Avx(const float* y, const float* x, float* dst, int n);
void SleefAtan2U35Avx2(const float* y, const float* x, float* dst, int n);
void SleefAtan2U35Avx512(const float* y, const float* x, float* dst, int n);
