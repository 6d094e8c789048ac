// Fuzz target: the AD9361 family's filter files ("AD9361_<rate>Msps.ftr").
//
// Input: a rate index, then the bytes of the filter file of that rate.
//
// Oracle: an index outside the table or a file too large for the transfer
// buffer fails with a CQError, never a crash or an overrun; a file that
// fits arrives in the buffer byte for byte, zero-terminated.
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "core/error.h"
#include "fuzz/fuzz_support.h"
#include "platform/text.h"
#include "xcvr/instr_adi.h"
#include "xcvr/multi_xcvr.h"

namespace {

constexpr const char* kTarget = "filter_files";
constexpr int kBufferBytes = 4096;  // what the transceiver reads a filter file into

// The transceiver's filter-file read, reached as a subclass does.
class FilterFileReader : public CQInstrIIOMultiXcvr {
 public:
  FilterFileReader() : CQInstrIIOMultiXcvr(1, 1) {}
  using CQInstrIIOMultiXcvr::ReadRateFile;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lv_fuzz::Bytes in(data, size);
  const int rateIndex = static_cast<int>(in.U8() % 26);
  const std::string bytes(in.Rest());
  const std::wstring dir = lv::Utf8ToWide(lv_fuzz::ScratchDir().string());
  wchar_t name[2048] = {};
  bool known = true;
  try {
    CQInstrADI::MakeRateFileName(rateIndex, dir.c_str(), name, 2048);
  } catch (CQError* e) {
    delete e;
    known = false;
  }
  if (known) {
    std::ofstream(lv::WideToUtf8(name), std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
  }
  static FilterFileReader reader;
  std::vector<char> buffer(kBufferBytes, '\x55');
  bool read = true;
  try {
    reader.ReadRateFile(rateIndex, dir.c_str(), buffer.data(), kBufferBytes);
  } catch (CQError* e) {
    delete e;
    read = false;
  }
  LV_FUZZ_CHECK(kTarget, !read || known, "a rate index without a filter file was read");
  if (known) {
    const bool fits = bytes.size() < static_cast<size_t>(kBufferBytes);
    LV_FUZZ_CHECK(kTarget, read == fits, fits ? "a filter file that fits was refused" : "an oversized filter file was taken");
    if (read) {
      LV_FUZZ_CHECK(kTarget, std::memcmp(buffer.data(), bytes.data(), bytes.size()) == 0, "filter bytes changed");
      for (size_t k = bytes.size(); k < buffer.size(); ++k) {
        LV_FUZZ_CHECK(kTarget, buffer[k] == '\0', "the buffer after the file is not zero");
      }
    }
  }
  return 0;
}
