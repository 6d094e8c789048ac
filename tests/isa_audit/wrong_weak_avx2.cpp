// Deliberately wrong: an inline function outside the class namespace, compiled
// with AVX2 flags. The linker could keep this copy for baseline callers; the
// audit must reject the weak symbol.
#include "tests/isa_audit/shared_inline.h"

namespace lv_avx2 {
float UseShared(const float* p, int n) { return SharedSum(p, n); }
}  // namespace lv_avx2
