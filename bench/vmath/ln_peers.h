// SLEEF's vector logf as loops over arrays, one per SLEEF width and accuracy;
// each is compiled in a file with the flags of its width. n is a multiple of 16.
#pragma once

void SleefLnU10Sse2(const float* src, float* dst, int n);
void SleefLnU35Sse2(const float* src, float* dst, int n);
void SleefLnU35Sse4(const float* src, float* dst, int n);
void SleefLnU35Avx(const float* src, float* dst, int n);
void SleefLnU35Avx2(const float* src, float* dst, int n);
void SleefLnU10Avx512(const float* src, float* dst, int n);
