// Generates the logarithm tables of vmath/ln/ln_tables.cpp in quad precision.
//   gcc -O2 gen_ln_tables.c -lquadmath && ./a.out
//  * LnTableSse2 (class 0): rcp = round(16384/(64+j))/256; hi = -ln(rcp) cut
//    towards zero to a multiple of 2^-14; lo = the rest rounded to float.
//  * LnTableSse3 (class 1): rcp = 64/(64+j) rounded to float; hi = ln(1+j/64)
//    rounded to the nearest multiple of 2^-16; lo = the rest rounded to float.
//  * LnTableDouble (special-value routine): rcp = round(131072/(64+j))/2048;
//    hi = -ln(rcp) rounded to the nearest multiple of 2^-42, lo = the rest
//    rounded to double (entry 64 is then (0.5, LN2_HI_D, LN2_LO_D)).
#include <quadmath.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

static uint32_t fbits(float f) { uint32_t u; memcpy(&u, &f, 4); return u; }
static uint64_t dbits(double d) { uint64_t u; memcpy(&u, &d, 8); return u; }

int main(void) {
  printf("// LnTableSse2: hi, lo, rcp, 0\n");
  for (int j = 0; j <= 64; ++j) {
    __float128 rcp = roundq(16384.0Q / (64 + j)) / 256;
    __float128 v = -logq(rcp);
    __float128 hi = truncq(v * 16384) / 16384;
    float lo = (float)(v - hi) + 0.0f;  // +0, not -0, in entry 0
    printf("    0x%08Xu, 0x%08Xu, 0x%08Xu, 0x00000000u,  // %d\n", fbits((float)hi + 0.0f), fbits(lo), fbits((float)rcp), j);
  }
  printf("// LnTableSse3: hi, lo, rcp, 0\n");
  for (int j = 0; j <= 64; ++j) {
    float rcp = (float)(64.0Q / (64 + j));
    __float128 v = logq(1 + j / 64.0Q);
    __float128 hi = roundq(v * 65536) / 65536;
    float lo = (float)(v - hi);
    printf("    0x%08Xu, 0x%08Xu, 0x%08Xu, 0x00000000u,  // %d\n", fbits((float)hi), fbits(lo), fbits(rcp), j);
  }
  printf("// LnTableDouble: rcp, hi, lo\n");
  for (int j = 0; j <= 64; ++j) {
    __float128 rcp = roundq(131072.0Q / (64 + j)) / 2048;
    __float128 v = -logq(rcp);
    __float128 hi = 0;
    if (j > 0) {
      hi = roundq(v * 4398046511104.0Q) / 4398046511104.0Q;  // 2^42
    }
    double lo = (double)(v - hi) + 0.0;  // +0, not -0, in entry 0
    printf("    0x%016llXull, 0x%016llXull, 0x%016llXull,  // %d\n", (unsigned long long)dbits((double)rcp),
           (unsigned long long)dbits((double)hi), (unsigned long long)dbits(lo), j);
  }
  return 0;
}
