// Fuzz target: the .wv writer and the VSA text writer fed with arbitrary
// floats (every bit pattern: NaN, infinities, denormals, extremes).
//
// Input: rate and centre frequency (raw doubles), then the samples (raw
// floats, I and Q). Each writer writes over a file that already exists.
//
// Oracle: samples that are not finite are refused with a CQError and the
// file keeps its old bytes; a file that was written reads back with the
// same number of samples and the same samples (to the format's precision:
// 16 bits of the peak for .wv, six decimals for text).
#include <cmath>
#include <string>
#include <vector>

#include "core/arrays/carray.h"
#include "core/error.h"
#include "fuzz/fuzz_support.h"
#include "iqfiles/formats/file_info.h"
#include "iqfiles/formats/vsa_text.h"
#include "iqfiles/formats/wv.h"
#include "platform/text.h"

namespace {

constexpr const char* kTarget = "writers";
constexpr const char* kOldBytes = "the previous file";

std::string lastError;  // the message of the last CQError Try caught

template <typename F>
bool Try(F&& f) {
  try {
    f();
    return true;
  } catch (CQError* e) {
    lastError = e->GetMessage() != nullptr ? lv::WideToUtf8(e->GetMessage()) : std::string();
    delete e;
    return false;
  }
}

// Read-back samples against the written ones: within tolerance of each.
void CheckClose(const std::vector<CQComplex>& want, const CQCArrayTD* got, double tolerance, const char* what) {
  LV_FUZZ_CHECK(kTarget, got != nullptr && got->GetNumPoints() == static_cast<int>(want.size()),
                std::string(what) + ": count read back differs");
  for (size_t k = 0; k < want.size(); ++k) {
    const CQComplex g = got->GetDataPtr()[k];
    const double dre = std::fabs(static_cast<double>(g.re) - want[k].re);
    const double dim = std::fabs(static_cast<double>(g.im) - want[k].im);
    LV_FUZZ_CHECK(kTarget, dre <= tolerance && dim <= tolerance,
                  std::string(what) + ": sample " + std::to_string(k) + " read back as " + std::to_string(g.re) +
                      "," + std::to_string(g.im) + ", written " + std::to_string(want[k].re) + "," +
                      std::to_string(want[k].im));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lv_fuzz::Bytes in(data, size);
  const double rate = in.Double();
  const double centre = in.Double();
  std::vector<CQComplex> samples;
  while (in.Left() >= 8 && samples.size() < 4096) {
    const float re = in.Float();
    const float im = in.Float();
    samples.emplace_back(re, im);
  }
  if (samples.empty()) return 0;
  bool finite = true;
  double peak = 0.0;
  for (const CQComplex& s : samples) {
    finite = finite && std::isfinite(s.re) && std::isfinite(s.im);
    peak = std::fmax(peak, std::fmax(std::fabs(static_cast<double>(s.re)), std::fabs(static_cast<double>(s.im))));
  }
  CQCArrayTD array;
  // An array refuses a rate it cannot hold: nothing to write then.
  if (!Try([&] { array.Set(samples.data(), static_cast<int>(samples.size()), rate, 0.0); })) return 0;
  array.SetCenterFreq(centre);

  // .wv: the largest I or Q becomes 32767; the reader gives back x/32767.
  lv_fuzz::WriteFile("w.wv", kOldBytes);
  CQWriteRSWvFile wv;
  wv.clock = rate;
  wv.centerFreq = centre;
  const std::wstring wvName = lv_fuzz::WidePath("w.wv");
  wv.SetFileName(wvName.c_str());
  const bool wvWritten = Try([&] {
    wv.WriteHeader();
    wv.WriteData(&array);
  });
  if (!finite) {
    LV_FUZZ_CHECK(kTarget, !wvWritten, ".wv writer took samples that are not finite");
  }
  if (!wvWritten) {
    LV_FUZZ_CHECK(kTarget, lv_fuzz::ReadFile("w.wv") == kOldBytes, "a refused .wv write changed the file");
  } else {
    CQReadRSWvFile reader;
    reader.SetFileName(wvName.c_str());
    CQFileInfo info;
    LV_FUZZ_CHECK(kTarget, Try([&] { reader.GetFileInfo(&info); }), "a written .wv file is not described: " + lastError);
    LV_FUZZ_CHECK(kTarget, Try([&] { reader.ReadData(); }), "a written .wv file is not read: " + lastError);
    std::vector<CQComplex> scaled;
    for (const CQComplex& s : samples) {
      scaled.emplace_back(peak > 0.0 ? static_cast<float>(s.re / peak) : 0.0f,
                          peak > 0.0 ? static_cast<float>(s.im / peak) : 0.0f);
    }
    CheckClose(scaled, reader.GetOutput(), 1.01 / 32767.0, ".wv");
  }

  // VSA text: "%e" of each value.
  lv_fuzz::WriteFile("v.txt", kOldBytes);
  CQADIVSATxtFile text;
  const std::wstring textName = lv_fuzz::WidePath("v.txt");
  text.SetFileName(textName.c_str());
  const bool textWritten = Try([&] { text.WriteToFile(&array); });
  if (!finite) {
    LV_FUZZ_CHECK(kTarget, !textWritten, "text writer took samples that are not finite");
  }
  if (!textWritten) {
    LV_FUZZ_CHECK(kTarget, lv_fuzz::ReadFile("v.txt") == kOldBytes, "a refused text write changed the file");
  } else {
    CQADIVSATxtFile reader;
    reader.SetFileName(textName.c_str());
    CQFileInfo info;
    LV_FUZZ_CHECK(kTarget, Try([&] { reader.GetFileInfo(reader.GetFileNameUtf8(), &info); }),
                  "a written text file is not described: " + lastError);
    LV_FUZZ_CHECK(kTarget, info.numPoints == static_cast<int64_t>(samples.size()), "text count described differs");
    LV_FUZZ_CHECK(kTarget, Try([&] { reader.ReadData(); }), "a written text file is not read: " + lastError);
    // The ADI text format takes values beyond 10 for 16-bit counts and
    // scales them by 1/32767 on reading.
    std::vector<CQComplex> expected = samples;
    if (peak > 10.0) {
      for (CQComplex& s : expected) s = CQComplex(s.re * 3.0518509e-05f, s.im * 3.0518509e-05f);
    }
    CheckClose(expected, reader.GetOutput(), 6e-6 * (peak > 10.0 ? peak * 3.0518509e-05 : peak), "text");
  }
  return 0;
}
