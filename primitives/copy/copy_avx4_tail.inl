// Class 4's byte copy: the 32-byte kernel below 32 KiB, the string move from 32 KiB.
void CopyBytes(const uint8_t* s, uint8_t* d, int64_t n) {
  if (n < 0x8000) {
    CopyBytesKernelAvx(s, d, n);
  } else {
    LV_COUNT_ROAD(kRoadCopyString);
    CopyStringKernel(s, d, n);
  }
}
