#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/text.h"

namespace lv_fuzz {

namespace {

struct Scratch {
  Scratch() {
    path = std::filesystem::temp_directory_path() / ("lv_fuzz_" + std::to_string(::getpid()));
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    std::filesystem::create_directories(path);
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::filesystem::path path;
};

}  // namespace

const std::filesystem::path& ScratchDir() {
  static Scratch scratch;
  return scratch.path;
}

std::wstring WidePath(const std::string& name) { return lv::Utf8ToWide((ScratchDir() / name).string()); }

void WriteFile(const std::string& name, std::string_view bytes) {
  std::ofstream out(ScratchDir() / name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& name) {
  std::ifstream in(ScratchDir() / name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint8_t Bytes::U8() { return pos_ < size_ ? data_[pos_++] : 0; }

uint16_t Bytes::U16() {
  const uint16_t lo = U8();
  return static_cast<uint16_t>(lo | (U8() << 8));
}

double Bytes::Double() {
  const std::string_view b = Take(8);
  uint8_t raw[8] = {};
  std::memcpy(raw, b.data(), b.size());
  double v;
  std::memcpy(&v, raw, 8);
  return v;
}

float Bytes::Float() {
  const std::string_view b = Take(4);
  uint8_t raw[4] = {};
  std::memcpy(raw, b.data(), b.size());
  float v;
  std::memcpy(&v, raw, 4);
  return v;
}

std::string_view Bytes::Take(size_t n) {
  const size_t k = n < Left() ? n : Left();
  std::string_view v(reinterpret_cast<const char*>(data_) + pos_, k);
  pos_ += k;
  return v;
}

std::string_view Bytes::Rest() { return Take(Left()); }

void Fail(const char* target, const std::string& what) {
  std::fprintf(stderr, "fuzz target %s: oracle failed: %s\n", target, what.c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace lv_fuzz
