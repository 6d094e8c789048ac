// The scalar bit reversal of class 0 (included by permute_body.inl): copies
// or swaps through the pairs-format swap list of the order.

// The list holds the pairs (4g, 4r) of groups g < r, one 0 standing for group
// 0, the other self-reversed groups, and a closing 0 at entry n/4. Both walks
// are bounded by the n/4 + 1 entries of the list, whatever it holds.
void LV_NAME(BitReverseCopyScalar)(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n,
                                   const int32_t* list) {
  if (n < 8) {
    dst[0] = src[0];
    dst[n - 1] = src[n - 1];
    if (n > 2) {
      dst[2] = src[1];
      dst[1] = src[2];
    }
    return;
  }
  const int64_t h = n / 2;
  const int64_t entries = n / 4;
  int64_t k = 0;
  for (; k + 1 < entries && list[k] >= 2; k += 2) {
    const int64_t a = list[k] >> 1;
    const int64_t b = list[k + 1] >> 1;
    dst[b] = src[a];
    dst[b + 1] = src[h + a];
    dst[h + b] = src[a + 1];
    dst[h + b + 1] = src[h + a + 1];
    dst[a] = src[b];
    dst[a + 1] = src[h + b];
    dst[h + a] = src[b + 1];
    dst[h + a + 1] = src[h + b + 1];
  }
  for (int64_t first = k; k < entries && (k == first || list[k] >= 2); ++k) {
    const int64_t c = list[k] >> 1;
    dst[c] = src[c];
    dst[c + 1] = src[h + c];
    dst[h + c] = src[c + 1];
    dst[h + c + 1] = src[h + c + 1];
  }
}

void LV_NAME(BitReverseInPlaceScalar)(ComplexFloat32* data, int32_t n, const int32_t* list) {
  if (n < 4) {
    return;
  }
  const int64_t h = n / 2;
  const int64_t entries = n / 4;
  int64_t k = 0;
  auto swap = [data](int64_t i, int64_t j) {
    const ComplexFloat32 t = data[i];
    data[i] = data[j];
    data[j] = t;
  };
  for (; k + 1 < entries && list[k] >= 2; k += 2) {
    const int64_t a = list[k] >> 1;
    const int64_t b = list[k + 1] >> 1;
    swap(a, b);
    swap(a + 1, h + b);
    swap(h + a, b + 1);
    swap(h + a + 1, h + b + 1);
  }
  for (int64_t first = k; k < entries && (k == first || list[k] >= 2); ++k) {
    const int64_t c = list[k] >> 1;
    swap(c + 1, h + c);
  }
}
