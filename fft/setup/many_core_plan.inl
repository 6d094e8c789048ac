// The many-core FFT plan of class 6 (included by setup_vector.inl after the
// class's set-up): orders 0 to 16 (class table: manyCoreLimit) get a 136-byte
// header, and from order 8 on a complete swap list and the mixed-radix twiddle
// table (fft/setup/many_core_plan.h). The sine table of orders 11 to 16 comes
// from the double-precision run-time sine and cosine.

int32_t FftGetSizeManyCoreSpec(int32_t order, int32_t flag, int32_t /*hint*/, int32_t* specBytes, int32_t* initBytes,
                               int32_t* workBytes) {
  using S = LV_NS::Setup;
  if (static_cast<uint32_t>(order) > 16) return StatusFftBadOrder;
  if (specBytes == nullptr || initBytes == nullptr || workBytes == nullptr) return StatusNullPointer;
  if (!S::ValidFlag(flag)) return StatusFftBadFlag;
  if (order <= 7) {
    *specBytes = 200;
    *initBytes = 0;
    *workBytes = 0;
    return StatusOk;
  }
  const int64_t n = int64_t{1} << order;
  const int64_t sine = S::A64(n + 4);
  *specBytes = static_cast<int32_t>(S::A64(8 * n + 8) + sine + 256);
  *initBytes = static_cast<int32_t>(order > 10 ? sine + 64 : 0);
  *workBytes = static_cast<int32_t>(S::A64(8 * n) + 64);
  return StatusOk;
}

void* MakeSineTableManyCoreSpec(int32_t order, float* out) {
  using S = LV_NS::Setup;
  const int64_t n = int64_t{1} << order;
  const int64_t q = n / 4;
  const int64_t h = n / 8;
  const double step = S::AngleStep(order);
  for (int64_t i = 0; i <= h; ++i) {
    out[i] = static_cast<float>(std::sin(static_cast<double>(i) * step));
  }
  for (int64_t i = h + 1; i <= q; ++i) {
    out[i] = static_cast<float>(std::cos(static_cast<double>(q - i) * step));
  }
  return reinterpret_cast<uint8_t*>(out) + S::A64(n + 4);
}

void* MakeBitReverseListManyCoreSpec(int32_t order, int32_t* out) {
  if (order < 2) return out;
  return LV_NS::Setup::MakeBitReverseList(order, out);
}

void* ExpandRadix4TwiddlesManyCoreSpec(int32_t order, const float* sine, int32_t a, float* out) {
  using S = LV_NS::Setup;
  const int64_t n = int64_t{1} << order;
  if (n <= 8) return out;
  const int64_t q = (int64_t{1} << a) / 4;
  // Head block: W_16^(m i), m = 1..3, i = 0..3; its last 8 floats stay unwritten.
  float* p = out;
  for (int64_t m = 1; m <= 3; ++m) {
    for (int64_t i = 0; i < 4; ++i) {
      LV_NS::QuarterWave(sine, q, m * i * (int64_t{1} << (a - 4)), p + i, p + 4 + i);
    }
    p += 8;
  }
  p = out + 32;
  int32_t o = 4;
  while (o < order) {
    const int32_t left = order - o;
    const int32_t bits = (left == 3 || left >= 5) ? 3 : 2;
    const int64_t radix = int64_t{1} << bits;
    const int32_t groupBits = o + bits;
    const int64_t stride = int64_t{1} << (a - groupBits);
    const int64_t positions = int64_t{1} << o;
    for (int64_t c = 0; c < positions; c += 16) {
      for (int64_t m = 1; m < radix; ++m) {
        for (int64_t i = 0; i < 16; ++i) {
          LV_NS::QuarterWave(sine, q, m * (c + i) * stride, p + i, p + 16 + i);
        }
        p += 32;
      }
    }
    o = groupBits;
  }
  return reinterpret_cast<uint8_t*>(out) + S::A64(8 * n);
}

int32_t FftInitManyCoreSpec(FftSpecComplexFloat32** out, int32_t order, int32_t flag, int32_t hint,
                            uint8_t* specMemory, uint8_t* initBuffer) {
  using S = LV_NS::Setup;
  if (out == nullptr || specMemory == nullptr) return StatusNullPointer;
  if (static_cast<uint32_t>(order) > 16) return StatusFftBadOrder;
  uint8_t* base = S::AlignUp64(specMemory);
  auto* spec = S::StartHeader<FftManyCoreSpecComplexFloat32>(base, kFftManyCoreHeaderBytes, order, flag, hint);
  if (spec == nullptr) return StatusFftBadFlag;
  if (order >= 8) {
    const float* sine = kFftQuarterSineOrder10;
    int32_t sineOrder = 10;
    if (order > 10) {
      if (initBuffer == nullptr) return StatusNullPointer;
      float* table = reinterpret_cast<float*>(S::AlignUp64(initBuffer));
      MakeSineTableManyCoreSpec(order, table);
      sine = table;
      sineOrder = order;
    }
    int32_t* list = reinterpret_cast<int32_t*>(base + kFftManyCoreHeaderBytes);
    spec->swapList = list;
    float* twiddles = static_cast<float*>(MakeBitReverseListManyCoreSpec(order, list));
    spec->twiddles = twiddles;
    ExpandRadix4TwiddlesManyCoreSpec(order, sine, sineOrder, twiddles);
    spec->workBytes = static_cast<int32_t>(S::A64(8 * (int64_t{1} << order)));
  }
  spec->identifier = kFftSpecIdentifier;
  *out = reinterpret_cast<FftSpecComplexFloat32*>(base);
  return StatusOk;
}
