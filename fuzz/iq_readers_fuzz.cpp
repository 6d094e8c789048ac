// Fuzz target: every IQ file reader through the data manager.
//
// Input: format selector, flags, two part lengths, a read window, then the
// bytes of the files (header, data, marker for the formats of two or three
// files). The manager describes the file and reads it, whole (where the
// format allows) and through a window; with a flag, the data file is cut
// or rewritten between description and read.
//
// Oracle: bad files fail with a CQError, never a crash; a whole read returns
// exactly the described count; a window read returns exactly the samples
// asked for; a .wv file's samples equal its 16-bit pairs decoded here.
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "core/error.h"
#include "fuzz/fuzz_support.h"
#include "iqfiles/formats/file_info.h"
#include "iqfiles/manager/data_manager.h"

namespace {

constexpr const char* kTarget = "iq_readers";

enum Reads { kWindows, kWholeAndWindows, kWholeOnly, kNone };

struct Format {
  const char* names[3];  // header (the name the manager is given), data, marker
  int32_t txtType;       // 0, or the text type the user chose (6 to 13)
  Reads reads;           // Xdat reads windows only; VSA and pattern-generator
                         // text always the whole file; .iqtxt is never read
};

const Format kFormats[] = {
    {{"f.wv", nullptr, nullptr}, 0, kWholeAndWindows},
    {{"f.wvh", "f.wvd", nullptr}, 0, kWholeAndWindows},
    {{"f.siqh", "f.siqd", nullptr}, 0, kWholeAndWindows},
    {{"f.iqbin", nullptr, nullptr}, 0, kWholeAndWindows},
    {{"f.bin.txt", "f.bin", nullptr}, 0, kWholeAndWindows},
    {{"f.xhdr", "f.xdat", "f.xmrk"}, 0, kWindows},
    {{"f.txt", nullptr, nullptr}, 6, kWholeOnly},
    {{"f.txt", nullptr, nullptr}, 7, kWholeOnly},
    {{"f.txt", nullptr, nullptr}, 8, kWholeOnly},
    {{"f.txt", nullptr, nullptr}, 9, kWholeAndWindows},
    {{"f.txt", nullptr, nullptr}, 10, kWholeAndWindows},
    {{"f.csv", nullptr, nullptr}, 11, kWholeAndWindows},
    {{"f.txt", nullptr, nullptr}, 12, kWholeOnly},
    {{"f.txt", nullptr, nullptr}, 13, kWholeOnly},
    {{"f.iqtxt", nullptr, nullptr}, 0, kNone},
};

// Runs f; true when it succeeded, false when it failed with a CQError (the
// one way a bad file may fail). Anything else escapes and is a finding.
template <typename F>
bool Try(F&& f) {
  try {
    f();
    return true;
  } catch (CQError* e) {
    delete e;
    return false;
  }
}

// The samples of a .wv file, decoded without the reader: the 16-bit pairs
// after the '#' that follows the first WAVEFORM tag, full scale 32767.
void CheckWvSamples(const std::string& file, const CQCArrayTD& samples) {
  const size_t tag = file.find("WAVEFORM");
  LV_FUZZ_CHECK(kTarget, tag != std::string::npos, "a .wv read without a WAVEFORM tag");
  const size_t hash = file.find('#', tag + 8);
  LV_FUZZ_CHECK(kTarget, hash != std::string::npos, "a .wv read without the '#' of its samples");
  const int n = samples.GetNumPoints();
  LV_FUZZ_CHECK(kTarget, hash + 1 + 4 * static_cast<size_t>(n) <= file.size(), "more samples than the file holds");
  for (int k = 0; k < n; ++k) {
    int16_t pair[2];
    std::memcpy(pair, file.data() + hash + 1 + 4 * static_cast<size_t>(k), 4);
    const CQComplex want(pair[0] * 3.0518509e-05f, pair[1] * 3.0518509e-05f);
    const CQComplex got = samples.GetDataPtr()[k];
    LV_FUZZ_CHECK(kTarget, got.re == want.re && got.im == want.im, "sample " + std::to_string(k) + " differs");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lv_fuzz::Bytes in(data, size);
  const Format& format = kFormats[in.U8() % std::size(kFormats)];
  const std::string which = std::string(format.names[0]) + " (text type " + std::to_string(format.txtType) + "): ";
  const uint8_t flags = in.U8();
  const size_t headerBytes = in.U16();
  const size_t dataBytes = in.U16();
  const int64_t start = static_cast<int8_t>(in.U8());
  const int32_t count = in.U8();
  const std::string header(in.Take(format.names[1] != nullptr ? headerBytes : in.Left()));
  const std::string dataPart(in.Take(format.names[2] != nullptr ? dataBytes : in.Left()));
  const std::string marker(in.Rest());

  for (const char* name : format.names) {
    if (name != nullptr) std::filesystem::remove(lv_fuzz::ScratchDir() / name);
  }
  lv_fuzz::WriteFile(format.names[0], header);
  if (format.names[1] != nullptr) lv_fuzz::WriteFile(format.names[1], dataPart);
  if (format.names[2] != nullptr) lv_fuzz::WriteFile(format.names[2], marker);

  CQMultiDataMgr manager;
  manager.SetNormalize((flags & 4) != 0);
  if (format.txtType != 0) {
    manager.SetTxtFileType(format.txtType, 0);
    manager.SetTxtSampleRate((flags & 8) != 0 ? 0.0 : 1e6, 0);
    manager.SetTxtCenterFreq(2.4e9, 0);
  }
  const std::wstring path = lv_fuzz::WidePath(format.names[0]);
  manager.SetIQFileName(path.c_str(), 0);

  std::unique_ptr<CQFileInfo> info;
  if (!Try([&] { info.reset(manager.GetIQFileInfo(path.c_str(), 0)); })) return 0;
  LV_FUZZ_CHECK(kTarget, info != nullptr, "a description without a record");
  LV_FUZZ_CHECK(kTarget, info->numPoints >= 0, "a negative sample count");

  // The file changes between description and read: cut to half, or its
  // data rewritten with other bytes of the same length.
  const bool changed = (flags & 0x30) != 0;
  if (changed) {
    const char* victim = format.names[1] != nullptr ? format.names[1] : format.names[0];
    std::string bytes = lv_fuzz::ReadFile(victim);
    if ((flags & 0x10) != 0) {
      bytes.resize(bytes.size() / 2);
    } else {
      for (char& c : bytes) c = static_cast<char>(~c);
    }
    const std::string temp = std::string(victim) + ".new";
    lv_fuzz::WriteFile(temp, bytes);
    std::filesystem::rename(lv_fuzz::ScratchDir() / temp, lv_fuzz::ScratchDir() / victim);
  }

  if (format.reads == kNone) return 0;
  CQFileDataBlock block;
  if (format.reads != kWindows && (flags & 1) == 0) {
    block.partialRead = false;
    // Also after a change: a read either fails or gives what was described.
    if (Try([&] { manager.ReadFileData(&block, 0); })) {
      LV_FUZZ_CHECK(kTarget, block.samples->GetNumPoints() == info->numPoints,
                    which + "whole read of " + std::to_string(block.samples->GetNumPoints()) + " samples, described " +
                        std::to_string(info->numPoints));
      if (&format == &kFormats[0] && !changed) CheckWvSamples(header, *block.samples);
    }
  }
  if ((flags & 2) != 0 || format.reads == kWindows) {
    block.Reset();
    block.partialRead = true;
    block.start = start;
    block.count = count;
    if (Try([&] { manager.ReadFileData(&block, 0); }) && count > 0) {
      const int64_t expected = format.reads == kWholeOnly ? (changed ? block.samples->GetNumPoints() : info->numPoints) : count;
      LV_FUZZ_CHECK(kTarget, block.samples->GetNumPoints() == expected,
                    which + "window of " + std::to_string(block.samples->GetNumPoints()) + " samples, expected " +
                        std::to_string(expected));
    }
  }
  return 0;
}
