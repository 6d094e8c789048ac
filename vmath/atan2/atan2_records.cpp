// The arctangent records of the eight processor classes. The stubs read cell
// 0; cells 1 and 2 (never called) hold the same kernel. Class 3 runs the
// class-2 kernel. The cost figures are data that nothing reads.
#include "vmath/atan2/atan2.h"

constinit const VmathRecord<Atan2Float32Kernel> Atan2Float32RecordSse2 = {
    {&Atan2Float32KernelSse2, &Atan2Float32KernelSse2, &Atan2Float32KernelSse2}, {51.88f, 51.88f, 51.88f}};
constinit const VmathRecord<Atan2Float32Kernel> Atan2Float32RecordSse3 = {
    {&Atan2Float32KernelSse3V0, &Atan2Float32KernelSse3V0, &Atan2Float32KernelSse3V0}, {28.78f, 64.02f, 23.75f}};
constinit const VmathRecord<Atan2Float32Kernel> Atan2Float32RecordSsse3 = {
    {&Atan2Float32KernelSsse3V0, &Atan2Float32KernelSsse3V0, &Atan2Float32KernelSsse3V0}, {12.61f, 31.11f, 11.10f}};
constinit const VmathRecord<Atan2Float32Kernel> Atan2Float32RecordSse42 = {
    {&Atan2Float32KernelSsse3V0, &Atan2Float32KernelSsse3V0, &Atan2Float32KernelSsse3V0}, {12.29f, 25.18f, 10.18f}};
constinit const VmathRecord<Atan2Float32Kernel> Atan2Float32RecordAvx = {
    {&Atan2Float32KernelAvxV0, &Atan2Float32KernelAvxV0, &Atan2Float32KernelAvxV0}, {5.45f, 13.71f, 4.55f}};
constinit const VmathRecord<Atan2Float32Kernel> Atan2Float32RecordAvx2 = {
    {&Atan2Float32KernelAvx2V0, &Atan2Float32KernelAvx2V0, &Atan2Float32KernelAvx2V0}, {3.20f, 6.84f, 2.66f}};
constinit const VmathRecord<Atan2Float32Kernel> Atan2Float32RecordAvx512ManyCore = {
    {&Atan2Float32KernelAvx512ManyCoreV0, &Atan2Float32KernelAvx512ManyCoreV0, &Atan2Float32KernelAvx512ManyCoreV0},
    {2.0f, 3.0f, 1.0f}};
constinit const VmathRecord<Atan2Float32Kernel> Atan2Float32RecordAvx512 = {
    {&Atan2Float32KernelAvx512V0, &Atan2Float32KernelAvx512V0, &Atan2Float32KernelAvx512V0}, {2.0f, 3.0f, 1.0f}};
