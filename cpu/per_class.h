// The one header of every per-class file (name ending in _sse2.cpp ...
// _avx512.cpp). The build defines LV_CLASS, the file's processor class 0..7;
// from it this header derives everything else:
//
//   LV_NS            the class's namespace (lv_avx2); everything a per-class
//                    file defines lives in it, except the exported entry points
//   LV_SUFFIX        the name suffix of the class (Avx2)
//   LV_NAME(Base)    Base with the suffix (LV_NAME(VectorCopyFloat32) is
//                    VectorCopyFloat32Avx2): the exported per-class names
//   LV_NS::kClass    the class number, for `if constexpr` in shared bodies
//
// and it refuses a file compiled with another class's flags. A per-class file
// is then the same few lines in every family:
//
//   #include "cpu/per_class.h"
//   #include "primitives/copy/copy_body.inl"
#pragma once

#include "cpu/isa_class.h"

#ifndef LV_CLASS
#error "cpu/per_class.h is for per-class files (the build defines LV_CLASS for them)"
#endif

#if LV_CLASS == 0
#define LV_NS lv_sse2
#define LV_SUFFIX Sse2
#elif LV_CLASS == 1
#define LV_NS lv_sse3
#define LV_SUFFIX Sse3
#elif LV_CLASS == 2
#define LV_NS lv_ssse3
#define LV_SUFFIX Ssse3
#elif LV_CLASS == 3
#define LV_NS lv_sse42
#define LV_SUFFIX Sse42
#elif LV_CLASS == 4
#define LV_NS lv_avx
#define LV_SUFFIX Avx
#elif LV_CLASS == 5
#define LV_NS lv_avx2
#define LV_SUFFIX Avx2
#elif LV_CLASS == 6
#define LV_NS lv_avx512mc
#define LV_SUFFIX Avx512ManyCore
#elif LV_CLASS == 7
#define LV_NS lv_avx512
#define LV_SUFFIX Avx512
#else
#error "LV_CLASS must be 0..7"
#endif

#define LV_CONCAT_IMPL(a, b) a##b
#define LV_CONCAT(a, b) LV_CONCAT_IMPL(a, b)
#define LV_NAME(base) LV_CONCAT(base, LV_SUFFIX)

LV_ASSERT_CLASS(LV_CLASS);

namespace LV_NS {
inline constexpr int kClass = LV_CLASS;
}  // namespace LV_NS
