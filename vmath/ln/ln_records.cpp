// The logarithm records of the eight processor classes. The stubs read cell
// 0; cells 1 and 2 (never called) hold the same kernel. Class 3 runs the
// class-2 kernel. The cost figures are data that nothing reads.
#include "vmath/ln/ln.h"

constinit const VmathRecord<UnaryFloat32Kernel> LnFloat32RecordSse2 = {
    {&LnFloat32KernelSse2, &LnFloat32KernelSse2, &LnFloat32KernelSse2}, {14.99f, 14.99f, 14.99f}};
constinit const VmathRecord<UnaryFloat32Kernel> LnFloat32RecordSse3 = {
    {&LnFloat32KernelSse3V0, &LnFloat32KernelSse3V0, &LnFloat32KernelSse3V0}, {14.76f, 18.64f, 9.80f}};
constinit const VmathRecord<UnaryFloat32Kernel> LnFloat32RecordSsse3 = {
    {&LnFloat32KernelSsse3V0, &LnFloat32KernelSsse3V0, &LnFloat32KernelSsse3V0}, {7.65f, 9.75f, 5.00f}};
constinit const VmathRecord<UnaryFloat32Kernel> LnFloat32RecordSse42 = {
    {&LnFloat32KernelSsse3V0, &LnFloat32KernelSsse3V0, &LnFloat32KernelSsse3V0}, {7.06f, 9.48f, 4.51f}};
constinit const VmathRecord<UnaryFloat32Kernel> LnFloat32RecordAvx = {
    {&LnFloat32KernelAvxV0, &LnFloat32KernelAvxV0, &LnFloat32KernelAvxV0}, {3.24f, 4.16f, 2.11f}};
constinit const VmathRecord<UnaryFloat32Kernel> LnFloat32RecordAvx2 = {
    {&LnFloat32KernelAvx2V0, &LnFloat32KernelAvx2V0, &LnFloat32KernelAvx2V0}, {1.50f, 1.81f, 1.00f}};
constinit const VmathRecord<UnaryFloat32Kernel> LnFloat32RecordAvx512ManyCore = {
    {&LnFloat32KernelAvx512ManyCoreV0, &LnFloat32KernelAvx512ManyCoreV0, &LnFloat32KernelAvx512ManyCoreV0},
    {2.0f, 3.0f, 1.0f}};
constinit const VmathRecord<UnaryFloat32Kernel> LnFloat32RecordAvx512 = {
    {&LnFloat32KernelAvx512V0, &LnFloat32KernelAvx512V0, &LnFloat32KernelAvx512V0}, {2.0f, 3.0f, 1.0f}};
