// The sine and cosine records of every class. Cell 1 holds the kernel that the
// stubs call; the system never calls cells 0 and 2, which hold the same kernel.
// No code reads the cost figures.
#include "vmath/sincos/sincos.h"

constinit const VmathRecord<UnaryFloat32Kernel> SinFloat32RecordSse2 = {{&SinFloat32KernelSse2, &SinFloat32KernelSse2, &SinFloat32KernelSse2}, {22.64f, 22.64f, 22.64f}};
constinit const VmathRecord<UnaryFloat32Kernel> SinFloat32RecordSse3 = {{&SinFloat32KernelSse3V1, &SinFloat32KernelSse3V1, &SinFloat32KernelSse3V1}, {11.95f, 15.63f, 9.04f}};
constinit const VmathRecord<UnaryFloat32Kernel> SinFloat32RecordSsse3 = {{&SinFloat32KernelSse3V1, &SinFloat32KernelSse3V1, &SinFloat32KernelSse3V1}, {6.41f, 9.91f, 5.54f}};
constinit const VmathRecord<UnaryFloat32Kernel> SinFloat32RecordSse42 = {{&SinFloat32KernelSse3V1, &SinFloat32KernelSse3V1, &SinFloat32KernelSse3V1}, {5.51f, 9.95f, 4.90f}};
constinit const VmathRecord<UnaryFloat32Kernel> SinFloat32RecordAvx = {{&SinFloat32KernelAvxV1, &SinFloat32KernelAvxV1, &SinFloat32KernelAvxV1}, {3.12f, 4.46f, 2.45f}};
constinit const VmathRecord<UnaryFloat32Kernel> SinFloat32RecordAvx2 = {{&SinFloat32KernelAvx2V1, &SinFloat32KernelAvx2V1, &SinFloat32KernelAvx2V1}, {1.79f, 3.19f, 1.38f}};
constinit const VmathRecord<UnaryFloat32Kernel> SinFloat32RecordAvx512ManyCore = {{&SinFloat32KernelAvx512ManyCoreV1, &SinFloat32KernelAvx512ManyCoreV1, &SinFloat32KernelAvx512ManyCoreV1}, {2.0f, 3.0f, 1.0f}};
constinit const VmathRecord<UnaryFloat32Kernel> SinFloat32RecordAvx512 = {{&SinFloat32KernelAvx512V1, &SinFloat32KernelAvx512V1, &SinFloat32KernelAvx512V1}, {2.0f, 3.0f, 1.0f}};

constinit const VmathRecord<UnaryFloat32Kernel> CosFloat32RecordSse2 = {{&CosFloat32KernelSse2, &CosFloat32KernelSse2, &CosFloat32KernelSse2}, {22.34f, 22.34f, 22.34f}};
constinit const VmathRecord<UnaryFloat32Kernel> CosFloat32RecordSse3 = {{&CosFloat32KernelSse3V1, &CosFloat32KernelSse3V1, &CosFloat32KernelSse3V1}, {13.21f, 16.99f, 11.84f}};
constinit const VmathRecord<UnaryFloat32Kernel> CosFloat32RecordSsse3 = {{&CosFloat32KernelSse3V1, &CosFloat32KernelSse3V1, &CosFloat32KernelSse3V1}, {6.65f, 9.39f, 5.79f}};
constinit const VmathRecord<UnaryFloat32Kernel> CosFloat32RecordSse42 = {{&CosFloat32KernelSse3V1, &CosFloat32KernelSse3V1, &CosFloat32KernelSse3V1}, {6.35f, 8.87f, 5.42f}};
constinit const VmathRecord<UnaryFloat32Kernel> CosFloat32RecordAvx = {{&CosFloat32KernelAvxV1, &CosFloat32KernelAvxV1, &CosFloat32KernelAvxV1}, {3.19f, 6.44f, 2.62f}};
constinit const VmathRecord<UnaryFloat32Kernel> CosFloat32RecordAvx2 = {{&CosFloat32KernelAvx2V1, &CosFloat32KernelAvx2V1, &CosFloat32KernelAvx2V1}, {2.0f, 3.31f, 1.53f}};
constinit const VmathRecord<UnaryFloat32Kernel> CosFloat32RecordAvx512ManyCore = {{&CosFloat32KernelAvx512ManyCoreV1, &CosFloat32KernelAvx512ManyCoreV1, &CosFloat32KernelAvx512ManyCoreV1}, {2.0f, 3.0f, 1.0f}};
constinit const VmathRecord<UnaryFloat32Kernel> CosFloat32RecordAvx512 = {{&CosFloat32KernelAvx512V1, &CosFloat32KernelAvx512V1, &CosFloat32KernelAvx512V1}, {2.0f, 3.0f, 1.0f}};
