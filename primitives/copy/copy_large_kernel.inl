// CopyLargeKernel of classes 5 to 7 (32 KiB and more): streaming stores for
// blocks above 4 MiB and at least half the cache, backward 64-byte units when
// the destination's page offset lies just above the source's, the string move
// otherwise. Included after copy_avx_kernel.inl.

// Whole 64-byte units to a 64-byte aligned destination, bypassing the cache.
void StreamCopyKernel(const uint8_t* s, uint8_t* d, int64_t n) {
  for (int64_t off = 0; off < n; off += 64) {
    const __m256i a = LoadU32(s + off), b = LoadU32(s + off + 32);
    _mm256_stream_si256(reinterpret_cast<__m256i*>(d + off), a);
    _mm256_stream_si256(reinterpret_cast<__m256i*>(d + off + 32), b);
  }
  _mm256_zeroupper();
}

// Whole 64-byte units from the end down, to a 32-byte aligned destination.
void BackwardCopyKernel(const uint8_t* s, uint8_t* d, int64_t n) {
  for (int64_t off = n - 64; off >= 0; off -= 64) {
    const __m256i a = LoadU32(s + off), b = LoadU32(s + off + 32);
    StoreA32(d + off, a);
    StoreA32(d + off + 32, b);
  }
  _mm256_zeroupper();
}

void CopyLargeKernel(const uint8_t* s, uint8_t* d, int64_t n) {
  if (n < 0x8000) {
    CopyBytesKernelAvx(s, d, n);
    return;
  }
  if (n > 0x400000) {
    int32_t cache = 0;
    if (QueryCacheSize(&cache) == StatusOk && n >= (cache >> 1)) {
      LV_COUNT_ROAD(kRoadCopyLargeStream);
      const uint64_t misalign = Addr(d) & 63;
      if (misalign != 0) {
        const int64_t head = static_cast<int64_t>(64 - misalign);
        CopyBytesKernelAvx(s, d, head);
        s += head;
        d += head;
        n -= head;
      }
      const int64_t whole = n & ~int64_t{63};
      StreamCopyKernel(s, d, whole);
      if ((n & 63) != 0) {
        CopyBytesKernelAvx(s + whole, d + whole, n & 63);
      }
      _mm_sfence();
      return;
    }
  }
  const uint32_t dist = static_cast<uint32_t>((Addr(d) & 4095) - (Addr(s) & 4095));
  if (dist >= 160) {
    LV_COUNT_ROAD(kRoadCopyString);
    CopyStringKernel(s, d, n);
    return;
  }
  // The destination's page offset lies 0-159 bytes above the source's: copy
  // from the end, so stores do not alias the loads that follow them.
  LV_COUNT_ROAD(kRoadCopyLargeBackward);
  const int64_t endPart = static_cast<int64_t>((Addr(d) + static_cast<uint64_t>(n)) & 63);
  if (endPart != 0) {
    CopyBytesKernelAvx(s + n - endPart, d + n - endPart, endPart);
    n -= endPart;
  }
  // n now ends on a 64-byte boundary of the destination; its first h bytes
  // precede the first whole unit.
  const int64_t head = n & 63;
  BackwardCopyKernel(s + head, d + head, n - head);
  if (head != 0) {
    CopyBytesKernelAvx(s, d, head);
  }
}

void CopyBytes(const uint8_t* s, uint8_t* d, int64_t n) {
  if (n < 0x8000) {
    CopyBytesKernelAvx(s, d, n);
  } else {
    CopyLargeKernel(s, d, n);
  }
}
