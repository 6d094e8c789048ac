// Shared pieces of the fuzz targets: a scratch folder per process, file
// writing, the input cut into parts, and the oracle's failure report.
//
// Every target defines LLVMFuzzerTestOneInput. Built with clang and
// -fsanitize=fuzzer (the fuzz preset) it is a libFuzzer program; built with
// the normal compiler it is linked with replay_main.cpp and runs the files
// of its seed corpus once (the quick suite does that).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace lv_fuzz {

// A folder of this process's own, emptied on first use and removed at exit.
const std::filesystem::path& ScratchDir();

// The full path of name in the scratch folder, as the readers take it.
std::wstring WidePath(const std::string& name);

void WriteFile(const std::string& name, std::string_view bytes);
std::string ReadFile(const std::string& name);  // "" when missing

// Reads the input front to back; past the end every value is 0 or empty.
class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t U8();
  uint16_t U16();
  double Double();  // 8 raw bytes: every bit pattern, NaN and infinities included
  float Float();    // 4 raw bytes
  std::string_view Take(size_t n);  // at most n bytes
  std::string_view Rest();
  size_t Left() const { return size_ - pos_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// The oracle found a fault: prints what and aborts (a finding for libFuzzer,
// a failed test for the replay).
[[noreturn]] void Fail(const char* target, const std::string& what);

}  // namespace lv_fuzz

#define LV_FUZZ_CHECK(target, condition, what) \
  do {                                         \
    if (!(condition)) ::lv_fuzz::Fail(target, std::string(#condition) + ": " + (what)); \
  } while (0)
