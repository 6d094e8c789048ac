// The sine and cosine records of the eight processor classes, from the
// family's class table.
#include "vmath/sincos/sincos_classes.h"

namespace {

// A row of the class table: the class's sine and its cosine.
struct SinCosClassRow {
  VmathClassRow<UnaryFloat32Kernel> sin;
  VmathClassRow<UnaryFloat32Kernel> cos;
};

// The class table: the kernels each class runs and the cost figures of its
// records' three cells (data that nothing reads).
constexpr SinCosClassRow kSinCosClasses[kProcessorClassCount] = {
    // 0: the reference of the family
    {{&SinFloat32KernelSse2, {22.64f, 22.64f, 22.64f}}, {&CosFloat32KernelSse2, {22.34f, 22.34f, 22.34f}}},
    // 1
    {{&SinFloat32KernelSse3, {11.95f, 15.63f, 9.04f}}, {&CosFloat32KernelSse3, {13.21f, 16.99f, 11.84f}}},
    // 2: the class-1 kernels
    {{&SinFloat32KernelSse3, {6.41f, 9.91f, 5.54f}}, {&CosFloat32KernelSse3, {6.65f, 9.39f, 5.79f}}},
    // 3: the class-1 kernels
    {{&SinFloat32KernelSse3, {5.51f, 9.95f, 4.90f}}, {&CosFloat32KernelSse3, {6.35f, 8.87f, 5.42f}}},
    // 4
    {{&SinFloat32KernelAvx, {3.12f, 4.46f, 2.45f}}, {&CosFloat32KernelAvx, {3.19f, 6.44f, 2.62f}}},
    // 5
    {{&SinFloat32KernelAvx2, {1.79f, 3.19f, 1.38f}}, {&CosFloat32KernelAvx2, {2.0f, 3.31f, 1.53f}}},
    // 6
    {{&SinFloat32KernelAvx512ManyCore, {2.0f, 3.0f, 1.0f}}, {&CosFloat32KernelAvx512ManyCore, {2.0f, 3.0f, 1.0f}}},
    // 7
    {{&SinFloat32KernelAvx512, {2.0f, 3.0f, 1.0f}}, {&CosFloat32KernelAvx512, {2.0f, 3.0f, 1.0f}}},
};

}  // namespace

LV_VMATH_RECORDS(UnaryFloat32Kernel, SinFloat32Record, kSinCosClasses, .sin);
LV_VMATH_RECORDS(UnaryFloat32Kernel, CosFloat32Record, kSinCosClasses, .cos);
