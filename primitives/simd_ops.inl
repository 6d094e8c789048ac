// A thin layer of vector operations over the SSE, AVX and AVX-512 intrinsics,
// shared by the arithmetic, sum and magnitude bodies.
//
// The types are defined inside the class namespace of the per-class file that
// includes this file, so every class gets its own copy of every operation,
// compiled with exactly that class's flags, with internal linkage (no weak
// symbol another class could pick up). A type exists only in classes with its
// instruction set; the others merely declare it, so that the bodies can name
// it in templates that such a class never instantiates.
#pragma once

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "cpu/per_class.h"

namespace LV_NS {
namespace {

#define LV_OP [[gnu::always_inline]] static inline

// 4 floats in 128 bits.
struct X4f {
  using V = __m128;
  using T = float;
  static constexpr int W = 4;
  LV_OP V L(const float* p) { return _mm_loadu_ps(p); }
  LV_OP V LA(const float* p) { return _mm_load_ps(p); }
  LV_OP void S(float* p, V v) { _mm_storeu_ps(p, v); }
  LV_OP void SA(float* p, V v) { _mm_store_ps(p, v); }
  LV_OP void SN(float* p, V v) { _mm_stream_ps(p, v); }
  // Two or one float(s) at any address into the low lanes (the others 0), and back.
  LV_OP V Load2(const void* p) { return _mm_castsi128_ps(_mm_loadu_si64(p)); }
  LV_OP V Load1(const void* p) { return _mm_castsi128_ps(_mm_loadu_si32(p)); }
  LV_OP void Store2(void* p, V v) { _mm_storeu_si64(p, _mm_castps_si128(v)); }
  LV_OP void Store1(void* p, V v) { _mm_storeu_si32(p, _mm_castps_si128(v)); }
  LV_OP V B(float x) { return _mm_set1_ps(x); }
  LV_OP V Pair(float re, float im) { return _mm_setr_ps(re, im, re, im); }
  LV_OP V Zero() { return _mm_setzero_ps(); }
  LV_OP V Add(V a, V b) { return _mm_add_ps(a, b); }
  LV_OP V Sub(V a, V b) { return _mm_sub_ps(a, b); }
  LV_OP V Mul(V a, V b) { return _mm_mul_ps(a, b); }
  LV_OP V Abs(V a) { return _mm_and_ps(a, _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF))); }
  // Complex helpers on interleaved (re, im) pairs.
  LV_OP V DupRe(V a) { return _mm_shuffle_ps(a, a, _MM_SHUFFLE(2, 2, 0, 0)); }
  LV_OP V DupIm(V a) { return _mm_shuffle_ps(a, a, _MM_SHUFFLE(3, 3, 1, 1)); }
  LV_OP V Swap(V a) { return _mm_shuffle_ps(a, a, _MM_SHUFFLE(2, 3, 0, 1)); }
  // Even lanes a - b, odd lanes a + b, each one IEEE operation.
  LV_OP V AddSub(V a, V b) {
#if defined(__SSE3__)
    return _mm_addsub_ps(a, b);
#else
    const V neg = _mm_castsi128_ps(_mm_setr_epi32(INT32_MIN, 0, INT32_MIN, 0));
    return _mm_add_ps(a, _mm_xor_ps(b, neg));
#endif
  }
#if defined(__FMA__)
  LV_OP V FmaddSub(V a, V b, V c) { return _mm_fmaddsub_ps(a, b, c); }
#endif
};

// 2 doubles in 128 bits.
struct X2d {
  using V = __m128d;
  using T = double;
  static constexpr int W = 2;
  LV_OP V L(const double* p) { return _mm_loadu_pd(p); }
  LV_OP V LA(const double* p) { return _mm_load_pd(p); }
  // Loaded and stored as two 8-byte halves.
  // (Through the unaligned 8-byte forms: the halves road serves addresses
  // that are not multiples of 8.)
  LV_OP V LH(const double* p) { return _mm_loadh_pd(_mm_castsi128_pd(_mm_loadu_si64(p)), p + 1); }
  LV_OP void SH(double* p, V v) {
    _mm_storeu_si64(p, _mm_castpd_si128(v));
    _mm_storeu_si64(p + 1, _mm_castpd_si128(_mm_unpackhi_pd(v, v)));
  }
  LV_OP void S(double* p, V v) { _mm_storeu_pd(p, v); }
  LV_OP void SA(double* p, V v) { _mm_store_pd(p, v); }
  LV_OP void SN(double* p, V v) { _mm_stream_pd(p, v); }
  LV_OP V B(double x) { return _mm_set1_pd(x); }
  LV_OP V Zero() { return _mm_setzero_pd(); }
  LV_OP V Add(V a, V b) { return _mm_add_pd(a, b); }
  LV_OP V Mul(V a, V b) { return _mm_mul_pd(a, b); }
};

#if defined(__AVX__)
// 8 floats in 256 bits (AVX).
struct Y8f {
  using V = __m256;
  using T = float;
  static constexpr int W = 8;
  LV_OP V L(const float* p) { return _mm256_loadu_ps(p); }
  LV_OP V LA(const float* p) { return _mm256_load_ps(p); }
  // Loaded in two 16-byte halves.
  LV_OP V LH(const float* p) {
    return _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_loadu_ps(p)), _mm_loadu_ps(p + 4), 1);
  }
  LV_OP void S(float* p, V v) { _mm256_storeu_ps(p, v); }
  LV_OP void SA(float* p, V v) { _mm256_store_ps(p, v); }
  LV_OP void SN(float* p, V v) { _mm256_stream_ps(p, v); }
  LV_OP V B(float x) { return _mm256_set1_ps(x); }
  LV_OP V Pair(float re, float im) { return _mm256_setr_ps(re, im, re, im, re, im, re, im); }
  LV_OP V Zero() { return _mm256_setzero_ps(); }
  LV_OP V Add(V a, V b) { return _mm256_add_ps(a, b); }
  LV_OP V Sub(V a, V b) { return _mm256_sub_ps(a, b); }
  LV_OP V Mul(V a, V b) { return _mm256_mul_ps(a, b); }
  LV_OP V Abs(V a) { return _mm256_and_ps(a, _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF))); }
  LV_OP V DupRe(V a) { return _mm256_moveldup_ps(a); }
  LV_OP V DupIm(V a) { return _mm256_movehdup_ps(a); }
  LV_OP V Swap(V a) { return _mm256_permute_ps(a, _MM_SHUFFLE(2, 3, 0, 1)); }
  LV_OP V AddSub(V a, V b) { return _mm256_addsub_ps(a, b); }
#if defined(__FMA__)
  LV_OP V FmaddSub(V a, V b, V c) { return _mm256_fmaddsub_ps(a, b, c); }
#endif
};

// 4 doubles in 256 bits (AVX).
struct Y4d {
  using V = __m256d;
  using T = double;
  static constexpr int W = 4;
  LV_OP V L(const double* p) { return _mm256_loadu_pd(p); }
  LV_OP V LA(const double* p) { return _mm256_load_pd(p); }
  LV_OP void S(double* p, V v) { _mm256_storeu_pd(p, v); }
  LV_OP void SA(double* p, V v) { _mm256_store_pd(p, v); }
  LV_OP V B(double x) { return _mm256_set1_pd(x); }
  LV_OP V Zero() { return _mm256_setzero_pd(); }
  LV_OP V Add(V a, V b) { return _mm256_add_pd(a, b); }
  LV_OP V Mul(V a, V b) { return _mm256_mul_pd(a, b); }
};
#else
struct Y8f;
struct Y4d;
#endif

#if defined(__AVX512F__)
// 16 floats in 512 bits (AVX-512 F); masked forms read and write only the
// first m lanes (m <= 16).
struct Z16f {
  using V = __m512;
  using T = float;
  static constexpr int W = 16;
  LV_OP __mmask16 Mask(int m) { return static_cast<__mmask16>((1u << m) - 1u); }
  LV_OP V L(const float* p) { return _mm512_loadu_ps(p); }
  LV_OP V LA(const float* p) { return _mm512_load_ps(p); }
  LV_OP V ML(const float* p, int m) { return _mm512_maskz_loadu_ps(Mask(m), p); }
  LV_OP void S(float* p, V v) { _mm512_storeu_ps(p, v); }
  LV_OP void SA(float* p, V v) { _mm512_store_ps(p, v); }
  LV_OP void MS(float* p, int m, V v) { _mm512_mask_storeu_ps(p, Mask(m), v); }
  LV_OP V B(float x) { return _mm512_set1_ps(x); }
  LV_OP V Pair(float re, float im) {
    return _mm512_setr_ps(re, im, re, im, re, im, re, im, re, im, re, im, re, im, re, im);
  }
  LV_OP V Zero() { return _mm512_setzero_ps(); }
  LV_OP V Add(V a, V b) { return _mm512_add_ps(a, b); }
  LV_OP V Sub(V a, V b) { return _mm512_sub_ps(a, b); }
  LV_OP V Mul(V a, V b) { return _mm512_mul_ps(a, b); }
  // An integer AND: the float form needs AVX-512 DQ.
  LV_OP V Abs(V a) {
    return _mm512_castsi512_ps(_mm512_and_si512(_mm512_castps_si512(a), _mm512_set1_epi32(0x7FFFFFFF)));
  }
  // The all-lanes masked forms: g++ 12 warns about the unmasked ones' undefined source.
  LV_OP V DupRe(V a) { return _mm512_mask_moveldup_ps(a, 0xFFFF, a); }
  LV_OP V DupIm(V a) { return _mm512_mask_movehdup_ps(a, 0xFFFF, a); }
  LV_OP V Swap(V a) { return _mm512_mask_permute_ps(a, 0xFFFF, a, _MM_SHUFFLE(2, 3, 0, 1)); }
  LV_OP V FmaddSub(V a, V b, V c) { return _mm512_fmaddsub_ps(a, b, c); }
};

// 8 doubles in 512 bits (AVX-512 F).
struct Z8d {
  using V = __m512d;
  using T = double;
  static constexpr int W = 8;
  LV_OP __mmask8 Mask(int m) { return static_cast<__mmask8>((1u << m) - 1u); }
  LV_OP V L(const double* p) { return _mm512_loadu_pd(p); }
  LV_OP V LA(const double* p) { return _mm512_load_pd(p); }
  LV_OP V ML(const double* p, int m) { return _mm512_maskz_loadu_pd(Mask(m), p); }
  LV_OP void S(double* p, V v) { _mm512_storeu_pd(p, v); }
  LV_OP void SA(double* p, V v) { _mm512_store_pd(p, v); }
  LV_OP void MS(double* p, int m, V v) { _mm512_mask_storeu_pd(p, Mask(m), v); }
  LV_OP V B(double x) { return _mm512_set1_pd(x); }
  LV_OP V Zero() { return _mm512_setzero_pd(); }
  LV_OP V Add(V a, V b) { return _mm512_add_pd(a, b); }
  LV_OP V Mul(V a, V b) { return _mm512_mul_pd(a, b); }
};
#else
struct Z16f;
struct Z8d;
#endif

#undef LV_OP

}  // namespace
}  // namespace LV_NS
