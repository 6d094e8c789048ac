// The arctangent records of the eight processor classes, from the family's
// class table.
#include "vmath/atan2/atan2_classes.h"

namespace {

// The class table: the kernel each class runs and the cost figures of its
// record's three cells (data that nothing reads).
constexpr VmathClassRow<Atan2Float32Kernel> kAtan2Classes[kProcessorClassCount] = {
    {&Atan2Float32KernelSse2, {51.88f, 51.88f, 51.88f}},            // 0: the baseline kernel
    {&Atan2Float32KernelSse3, {28.78f, 64.02f, 23.75f}},            // 1
    {&Atan2Float32KernelSsse3, {12.61f, 31.11f, 11.10f}},           // 2
    {&Atan2Float32KernelSsse3, {12.29f, 25.18f, 10.18f}},           // 3: the class-2 kernel
    {&Atan2Float32KernelAvx, {5.45f, 13.71f, 4.55f}},               // 4
    {&Atan2Float32KernelAvx2, {3.20f, 6.84f, 2.66f}},               // 5
    {&Atan2Float32KernelAvx512ManyCore, {2.0f, 3.0f, 1.0f}},        // 6
    {&Atan2Float32KernelAvx512, {2.0f, 3.0f, 1.0f}},                // 7
};

}  // namespace

LV_VMATH_RECORDS(Atan2Float32Kernel, Atan2Float32Record, kAtan2Classes);
