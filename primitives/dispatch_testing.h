// Test-only control of the dispatch frame. Product code never includes this.
#pragma once

#include <cstdint>

// True when this processor (and its operating system) can run the code of the
// class: the instructions of the class's compiler flags, not the class choice
// rules (class 6 runs here with its emulated 28-bit reciprocal).
bool IsProcessorClassRunnable(int cls);

// Forces the dispatch index for the lifetime of the object and restores the
// previous index afterwards.
class ScopedProcessorClass {
 public:
  explicit ScopedProcessorClass(int cls);
  ~ScopedProcessorClass();
  ScopedProcessorClass(const ScopedProcessorClass&) = delete;
  ScopedProcessorClass& operator=(const ScopedProcessorClass&) = delete;

 private:
  int32_t previous_;
};
