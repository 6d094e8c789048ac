// Generates the arctangent breakpoint table of vmath/atan2/atan2_tables.cpp:
// atan(c_k) in quad precision, head rounded to 26 significant bits, tail the
// rest rounded to double.  gcc -O2 gen_atan2_breakpoints.c -lquadmath
#include <quadmath.h>
#include <stdio.h>
#include <stdint.h>
#include <string.h>
static uint64_t bits(double d){uint64_t u;memcpy(&u,&d,8);return u;}
int main(){
  for(int k=0;k<114;k++){
    int j=k/2; __float128 c = (k%2? 1.75Q:1.25Q)*ldexpq(1.0Q,j-3);
    __float128 a = atanq(c);
    // round to 26 significant bits, nearest
    int e; frexpq(a,&e); // a = m*2^e, m in [0.5,1)
    __float128 sc = ldexpq(1.0Q, 26-e);
    __float128 h = rintq(a*sc)/sc;
    double head=(double)h; double tail=(double)(a-h);
    printf("    0x%016llXull, 0x%016llXull,  // %d\n",(unsigned long long)bits(head),(unsigned long long)bits(tail),k);
  }
}
