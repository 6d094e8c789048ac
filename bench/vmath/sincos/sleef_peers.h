// The SLEEF peers of the sine and cosine benchmarks, one pair per vector width.
#pragma once

void SleefSinSse2(const float* src, float* dst, int n);   // sinf4_u10sse2
void SleefCosSse2(const float* src, float* dst, int n);
void SleefSinSse42(const float* src, float* dst, int n);  // sinf4_u10sse4
void SleefCosSse42(const float* src, float* dst, int n);
void SleefSinAvx(const float* src, float* dst, int n);    // sinf8_u10avx
void SleefCosAvx(const float* src, float* dst, int n);
void SleefSinAvx2(const float* src, float* dst, int n);   // sinf8_u10avx2
void SleefCosAvx2(const float* src, float* dst, int n);
void SleefSinAvx512(const float* src, float* dst, int n);  // sinf16_u10avx512f
void SleefCosAvx512(const float* src, float* dst, int n);
