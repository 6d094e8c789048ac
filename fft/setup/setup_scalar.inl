// FFT set-up of class 0 (included by setup_body.inl): size query, FFT plan
// initialisation, the quarter-wave sine table, the pairs-format swap list, the
// radix-4 twiddle triples and the large-order plan with its outer, column and
// combine tables. Limits from the class table; sizes are 64-bit inside.

namespace LV_NS {
namespace {

#include "fft/setup/table_builders.inl"

constexpr FftClassRow kRow = kFftClasses[kClass];
using Cx = ComplexFloat32;

// x rounded up to the next multiple of 64.
int64_t Align64(int64_t x) { return (x + 63) & ~int64_t{63}; }

template <typename T>
T* AlignUp(T* p) {
  return AlignUp64(p);
}

bool ValidFlag(int32_t flag) {
  return flag == kFftScaleForward || flag == kFftScaleInverse || flag == kFftScaleBoth || flag == kFftNoScale;
}

// W_m^k, k < m/4, for a combine pass of m = 2^order points; padded to 64.
uint8_t* WriteCombineTable(int32_t order, const float* sine, int32_t sineOrder, uint8_t* out) {
  const int64_t m = int64_t{1} << order;
  const int64_t q = (int64_t{1} << sineOrder) / 4;
  const int32_t shift = sineOrder - order;
  float* f = reinterpret_cast<float*>(out);
  for (int64_t k = 0; k < m / 4; ++k) {
    QuarterWave(sine, q, k << shift, f + 2 * k, f + 2 * k + 1);
  }
  return AlignUp(out + 2 * m);
}

// The leaves of 2048 or 4096 points: the order-10 triples, then the combine
// table of the leaf order.
uint8_t* WriteCombineLeafTables(FftSpecComplexFloat32* spec, int32_t order, const float* sine, int32_t sineOrder,
                                uint8_t* p) {
  spec->twiddles = p;
  uint8_t* q = reinterpret_cast<uint8_t*>(ExpandRadix4TwiddlesSse2(10, sine, sineOrder, reinterpret_cast<float*>(p)));
  spec->combineTable = q;
  spec->workBytes = 0;
  return WriteCombineTable(order, sine, sineOrder, q);
}

// One level of the plan: the leaf tables or the deeper level, then the outer
// triples of order n and the column table: for each group of four columns
// and each row r, W_N^(p rev_n(r)) for the columns p of the group. Rows are put
// in bit-reversed order through the scratch area (4R values, then the swap
// list of order n). Returns the end of the column table.
uint8_t* BuildLargeOrderPlanLevel(FftSpecComplexFloat32* spec, int32_t order, const float* sine, int32_t sineOrder,
                                  int32_t depth, uint8_t* p, uint8_t* scratch) {
  const int32_t n = kFftOrderSplitSse2[order];
  const int32_t inner = order - n;
  const int64_t rows = int64_t{1} << n;
  const int64_t cols = int64_t{1} << inner;
  uint8_t* q = nullptr;
  if (inner <= kRow.leafLimit) {
    spec->twiddles = p;
    q = reinterpret_cast<uint8_t*>(ExpandRadix4TwiddlesSse2(inner, sine, sineOrder, reinterpret_cast<float*>(p)));
    spec->workBytes = 0;
  } else if (kFftOrderSplitSse2[inner] != 0) {
    q = BuildLargeOrderPlanLevel(spec, inner, sine, sineOrder, depth + 1, p, scratch);
  } else {
    q = WriteCombineLeafTables(spec, inner, sine, sineOrder, p);
  }
  spec->outerTables[depth] = q;
  uint8_t* r = reinterpret_cast<uint8_t*>(ExpandRadix4TwiddlesSse2(n, sine, sineOrder, reinterpret_cast<float*>(q)));
  spec->columnTables[depth] = r;

  Cx* slots = reinterpret_cast<Cx*>(scratch);
  int32_t* list = reinterpret_cast<int32_t*>(scratch + 32 * rows);
  MakeBitReverseListSse2(n, list);
  const int64_t quarter = (int64_t{1} << sineOrder) / 4;
  const int32_t shift = sineOrder - order;
  Cx* out = reinterpret_cast<Cx*>(r);
  for (int64_t g = 0; g < cols; g += 4) {
    for (int64_t j = 0; j < 4; ++j) {
      Cx* slot = slots + j * rows;
      for (int64_t k = 0; k < rows; ++k) {
        QuarterWave(sine, quarter, ((g + j) * k) << shift, &slot[k].re, &slot[k].im);
      }
      BitReverseInPlaceScalarSse2(slot, static_cast<int32_t>(rows), list);
    }
    for (int64_t k = 0; k < rows; ++k) {
      *out++ = slots[k];
      *out++ = slots[rows + k];
      *out++ = slots[2 * rows + k];
      *out++ = slots[3 * rows + k];
    }
  }
  if (spec->workBytes < 32 * rows) {
    spec->workBytes = static_cast<int32_t>(32 * rows);
  }
  return r + 8 * (int64_t{1} << order);
}

}  // namespace
}  // namespace LV_NS

float* LV_NAME(MakeSineTable)(int32_t order, float* table) {
  return LV_NS::MakeQuarterSineTable(order, table);
}

int32_t* LV_NAME(MakeBitReverseList)(int32_t order, int32_t* out) {
  return LV_NS::MakePairsList(order, out);
}

float* LV_NAME(ExpandRadix4Twiddles)(int32_t n, const float* sine, int32_t b, float* out) {
  const int64_t quarter = (int64_t{1} << b) / 4;
  const int32_t shift = b - n;
  const int64_t groups = (int64_t{1} << n) / 4 + 1;
  for (int64_t j = 0; j < groups; ++j) {
    for (int64_t k = 1; k <= 3; ++k) {
      float* cell = out + 6 * j + 2 * (k - 1);
      LV_NS::QuarterWave(sine, quarter, (k * j) << shift, cell, cell + 1);
    }
  }
  return LV_NS::AlignUp64(out + 6 * groups);
}

// Raw counts of one large-order level of order L (no sine-table term): a leaf
// of 2048 or 4096 points (outer order 0), or 2^n rows and their column tables.
void LV_NAME(FftGetSizeLargeOrderLevel)(int32_t order, int32_t depth, int64_t* spec, int64_t* init, int64_t* work) {
  const int64_t n = int64_t{1} << order;
  const int32_t outer = kFftOrderSplitSse2[order];
  if (outer == 0) {
    *spec = LV_NS::Align64(2 * n) + 8256;
    *init = 0;
    *work = 0;
    return;
  }
  const int32_t inner = order - outer;
  const int64_t k = int64_t{1} << outer;
  int64_t s = 0;
  int64_t i = 0;
  int64_t w = 0;
  if (inner <= LV_NS::kRow.leafLimit) {
    s = LV_NS::Align64(8 * (int64_t{1} << inner) + 8);
  } else {
    FftGetSizeLargeOrderLevelSse2(inner, depth + 1, &s, &i, &w);
  }
  *spec = s + LV_NS::Align64(8 * k + 8) + 8 * n;
  *init = i + LV_NS::Align64(k + 4) + 32 * k;
  *work = w > 32 * k ? w : 32 * k;
}

void LV_NAME(FftGetSizeLargeOrder)(int32_t order, int64_t* spec, int64_t* init, int64_t* work) {
  FftGetSizeLargeOrderLevelSse2(order, 1, spec, init, work);
  *spec += LV_NS::Align64((int64_t{1} << order) + 4);
}

uint8_t* LV_NAME(BuildLargeOrderPlan)(FftSpecComplexFloat32* spec, int32_t order, const float* sine,
                                      int32_t sineOrder, int32_t* list, uint8_t* scratch) {
  uint8_t* p = reinterpret_cast<uint8_t*>(MakeBitReverseListSse2(order, list));
  if (kFftOrderSplitSse2[order] == 0) {
    return LV_NS::WriteCombineLeafTables(spec, order, sine, sineOrder, p);
  }
  return LV_NS::BuildLargeOrderPlanLevel(spec, order, sine, sineOrder, 0, p, scratch);
}

int32_t LV_NAME(FftGetSizeComplexFloat32)(int32_t order, int32_t flag, int32_t /*hint*/, int32_t* specBytes,
                                          int32_t* initBytes, int32_t* workBytes) {
  using namespace LV_NS;
  if (static_cast<uint32_t>(order) > 30) {
    return StatusFftBadOrder;
  }
  if (specBytes == nullptr || initBytes == nullptr || workBytes == nullptr) {
    return StatusNullPointer;
  }
  if (!ValidFlag(flag)) {
    return StatusFftBadFlag;
  }
  if (order > kRow.largestOrder) {
    return StatusFftBadOrder;
  }
  const int64_t n = int64_t{1} << order;
  const int64_t sine = Align64(n + 4);
  int64_t spec = 208;
  int64_t init = 0;
  int64_t work = 0;
  if (order > kRow.leafLimit) {
    int64_t s = 0;
    int64_t i = 0;
    int64_t w = 0;
    FftGetSizeLargeOrderSse2(order, &s, &i, &w);
    spec = s + 256;
    init = sine + i + 64;
    work = w > 0 ? w + 64 : 0;
  } else if (order > kRow.smallOrderLimit) {
    spec = Align64(8 * n + 8) + sine + 256;
  }
  *specBytes = static_cast<int32_t>(spec);
  *initBytes = static_cast<int32_t>(init);
  *workBytes = static_cast<int32_t>(work);
  return StatusOk;
}

int32_t LV_NAME(FftInitComplexFloat32)(FftSpecComplexFloat32** specOut, int32_t order, int32_t flag,
                                       int32_t hint, uint8_t* specMemory, uint8_t* initBuffer) {
  using namespace LV_NS;
  if (specOut == nullptr) {
    return StatusNullPointer;
  }
  if (static_cast<uint32_t>(order) > 30 || order > kRow.largestOrder) {
    return StatusFftBadOrder;
  }
  if (specMemory == nullptr) {
    return StatusNullPointer;
  }
  uint8_t* base = AlignUp(specMemory);
  LV_NAME(VectorZeroFillUint8)(base, kFftSpecHeaderBytes);
  auto* spec = reinterpret_cast<FftSpecComplexFloat32*>(base);
  spec->hint = hint;
  spec->order = order;
  spec->reserved = 0;
  const int64_t n = int64_t{1} << order;
  const float inverseN = 1.0f / static_cast<float>(n);
  switch (flag) {
    case kFftNoScale:
      break;
    case kFftScaleBoth:
      spec->forwardScale = 1;
      spec->inverseScale = 1;
      spec->scale = static_cast<float>(1.0 / LV_NAME(ScalarSqrtFloat64)(static_cast<double>(n)));
      break;
    case kFftScaleForward:
      spec->forwardScale = 1;
      spec->scale = inverseN;
      break;
    case kFftScaleInverse:
      spec->inverseScale = 1;
      spec->scale = inverseN;
      break;
    default:
      return StatusFftBadFlag;
  }
  // The identifier is set last: an FFT plan whose initialisation failed
  // keeps identifier 0 and is refused by every transform.
  if (order <= kRow.smallOrderLimit) {
    spec->workBytes = 0;
    spec->identifier = kFftSpecIdentifier;
    *specOut = spec;
    return StatusOk;
  }
  uint8_t* tables = base + kFftSpecHeaderBytes;
  if (order <= 10) {
    spec->swapList = tables;
    float* twiddles = reinterpret_cast<float*>(MakeBitReverseListSse2(order, reinterpret_cast<int32_t*>(tables)));
    spec->twiddles = twiddles;
    ExpandRadix4TwiddlesSse2(order, kFftQuarterSineOrder10, 10, twiddles);
    spec->workBytes = 0;
  } else {
    if (initBuffer == nullptr) {
      return StatusNullPointer;
    }
    float* sine = reinterpret_cast<float*>(AlignUp(initBuffer));
    uint8_t* scratch = reinterpret_cast<uint8_t*>(MakeSineTableSse2(order, sine));
    spec->swapList = tables;
    BuildLargeOrderPlanSse2(spec, order, sine, order, reinterpret_cast<int32_t*>(tables), scratch);
  }
  spec->identifier = kFftSpecIdentifier;
  *specOut = spec;
  return StatusOk;
}
