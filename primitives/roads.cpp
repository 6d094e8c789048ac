#include "primitives/roads.h"

__thread uint64_t g_primitiveRoadCounts[kRoadCount];

uint64_t PrimitiveRoadCount(PrimitiveRoad road) { return g_primitiveRoadCounts[road]; }
