// The logarithm records of the eight processor classes, from the family's
// class table.
#include "vmath/ln/ln_classes.h"

namespace {

// The class table: the kernel each class runs and the cost figures of its
// record's three cells (data that nothing reads).
constexpr VmathClassRow<UnaryFloat32Kernel> kLnClasses[kProcessorClassCount] = {
    {&LnFloat32KernelSse2, {14.99f, 14.99f, 14.99f}},      // 0
    {&LnFloat32KernelSse3, {14.76f, 18.64f, 9.80f}},       // 1
    {&LnFloat32KernelSsse3, {7.65f, 9.75f, 5.00f}},        // 2
    {&LnFloat32KernelSsse3, {7.06f, 9.48f, 4.51f}},        // 3: the class-2 kernel
    {&LnFloat32KernelAvx, {3.24f, 4.16f, 2.11f}},          // 4
    {&LnFloat32KernelAvx2, {1.50f, 1.81f, 1.00f}},         // 5
    {&LnFloat32KernelAvx512ManyCore, {2.0f, 3.0f, 1.0f}},  // 6
    {&LnFloat32KernelAvx512, {2.0f, 3.0f, 1.0f}},          // 7
};

}  // namespace

LV_VMATH_RECORDS(UnaryFloat32Kernel, LnFloat32Record, kLnClasses);
