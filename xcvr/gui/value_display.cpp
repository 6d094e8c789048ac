#include "xcvr/gui/value_display.h"

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <memory>

#include "core/error.h"
#include "core/error_dialog.h"
#include "core/numbers.h"
#include "iqfiles/formats/file_info.h"
#include "iqfiles/formats/file_name.h"
#include "iqfiles/formats/iqbin.h"
#include "iqfiles/formats/iqtxt.h"
#include "iqfiles/formats/pair_files.h"
#include "iqfiles/formats/wv.h"
#include "xcvr/gui/iq_file_browse.h"

namespace {

// Value and unit texts are built in buffers of this many characters.
constexpr int kValueTextChars = 16;

struct Scale {
  double limit;  // used while |value| < limit
  double divisor;
  const wchar_t* unit;
};

void ShowScaled(double value, lv::Dialog* dialog, int valueId, int unitId, const Scale* scales, int count,
                double lastDivisor, const wchar_t* lastUnit) {
  if (dialog == nullptr) return;
  if (!std::isfinite(value)) {
    dialog->SetItemText(valueId, L"0");
    return;
  }
  const double a = std::fabs(value);
  double divisor = lastDivisor;
  const wchar_t* unit = lastUnit;
  for (int i = 0; i < count; ++i) {
    if (a < scales[i].limit) {
      divisor = scales[i].divisor;
      unit = scales[i].unit;
      break;
    }
  }
  const double scaled = value / divisor;
  wchar_t text[kValueTextChars];
  int n = std::swprintf(text, kValueTextChars, L"%.*lf", CountSignificantDecimals(scaled), scaled);
  if (n < 0) {
    // Too long for the field (a huge number in the largest unit): the short
    // exponent form always fits.
    n = std::swprintf(text, kValueTextChars, L"%.6lg", scaled);
  }
  dialog->SetItemText(valueId, n < 0 ? L"0" : text);
  dialog->SetItemText(unitId, unit);
}

// What the display needs of any reader.
struct Reader {
  virtual ~Reader() = default;
  virtual void Describe(const wchar_t* name, CQFileInfo* info) = 0;
};

template <typename R>
struct NamedReader : Reader {
  void Describe(const wchar_t* name, CQFileInfo* info) override {
    r.SetFileName(name);
    r.GetFileInfo(info);
  }
  R r;
};

// The .iqbin and .iqtxt readers take the name they stored.
template <typename R>
struct StoredNameReader : Reader {
  void Describe(const wchar_t* name, CQFileInfo* info) override {
    r.SetFileName(name);
    r.GetFileInfo(r.GetFileNameUtf8(), info);
  }
  R r;
};

std::unique_ptr<Reader> ReaderFor(const wchar_t* name) {
  // Tested in this order on the file-name part only; ".WV" comes after the
  // header/data pair whose extensions contain it.
  if (FileNameContains(name, {L".SIQH", L".SIQD"})) return std::make_unique<NamedReader<CQSIQFile>>();
  if (FileNameContains(name, {L".IQBIN"})) return std::make_unique<StoredNameReader<CLumvardBinFile>>();
  if (FileNameContains(name, {L".IQTXT"})) return std::make_unique<StoredNameReader<CLumvardTxtFile>>();
  if (FileNameContains(name, {L".WVH", L".WVD"})) return std::make_unique<NamedReader<CQRSWvdhFile>>();
  if (FileNameContains(name, {L".WV"})) return std::make_unique<NamedReader<CQReadRSWvFile>>();
  throw new CQError("The extension of the specified file does not match a supported file format.");
}

}  // namespace

void ShowTimeWithUnits(double seconds, lv::Dialog* dialog, int valueId, int unitId) {
  static const Scale kScales[] = {
      {1e-9, 1e-12, L"psec"}, {1e-6, 1e-9, L"nsec"}, {1e-3, 1e-6, L"\u00B5sec"}, {1.0, 1e-3, L"msec"}};
  ShowScaled(seconds, dialog, valueId, unitId, kScales, 4, 1.0, L"sec");
}

void ShowFrequencyWithUnits(double hertz, lv::Dialog* dialog, int valueId, int unitId) {
  static const Scale kScales[] = {{1e3, 1.0, L"Hz"}, {1e6, 1e3, L"kHz"}, {1e9, 1e6, L"MHz"}};
  ShowScaled(hertz, dialog, valueId, unitId, kScales, 3, 1e9, L"GHz");
}

void ShowSampleRateWithUnits(double samplesPerSecond, lv::Dialog* dialog, int valueId, int unitId) {
  static const Scale kScales[] = {{1e3, 1.0, L"sps"}, {1e6, 1e3, L"ksps"}, {1e9, 1e6, L"Msps"}};
  ShowScaled(samplesPerSecond, dialog, valueId, unitId, kScales, 3, 1e9, L"Gsps");
}

std::wstring GroupThousands(const std::wstring& digits) {
  // Built in a buffer of 1024 characters; a text whose grouped form would not
  // fit stays ungrouped.
  constexpr size_t kCapacity = 1024;
  const size_t n = digits.size();
  if (n <= 3) return digits;
  const size_t grouped = n + (n - 1) / 3;
  if (grouped + 1 > kCapacity) return digits;
  std::wstring out;
  out.reserve(grouped);
  for (size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out.push_back(L',');
    out.push_back(digits[i]);
  }
  return out;
}

void DescribeIQFile(const wchar_t* name, lv::Dialog& dialog, const CQFileDisplayIds& ids, CQFileInfo& info) {
  if (name == nullptr) return;
  ShowTimeWithUnits(0.0, &dialog, ids.totalTime, ids.totalTimeUnits);
  dialog.SetItemText(ids.points, L"0");
  std::unique_ptr<Reader> reader = ReaderFor(name);
  reader->Describe(name, &info);
  reader.reset();
  const double duration = static_cast<double>(info.numPoints) / info.sampleRate;
  ShowTimeWithUnits(duration, &dialog, ids.totalTime, ids.totalTimeUnits);
  wchar_t points[32];
  std::swprintf(points, 32, L"%lld", static_cast<long long>(info.numPoints));
  dialog.SetItemText(ids.points, GroupThousands(points));
  ShowSampleRateWithUnits(info.sampleRate, &dialog, ids.sampleRate, ids.sampleRateUnits);
}

bool ShowIQFileDescription(const wchar_t* name, bool report, const std::string& where, lv::Dialog& dialog,
                           const CQFileDisplayIds& ids, CQFileInfo& info) {
  try {
    DescribeIQFile(name, dialog, ids, info);
    return true;
  } catch (CQError* e) {
    if (report) {
      e->AddToCallStack(where.c_str());
      ShowErrorDialog(e);
    } else {
      delete e;
    }
    return false;
  }
}

bool BrowseIQFileIntoField(lv::Dialog& dialog, int nameId, const std::string& where, const CQFileDisplayIds& ids,
                           CQFileInfo& info) {
  const std::wstring chosen = BrowseForIQFile();
  if (chosen.empty()) return false;
  if (!ShowIQFileDescription(chosen.c_str(), true, where, dialog, ids, info)) {
    // Shown already. The field keeps the previous name, and the display
    // shows that file again.
    const std::wstring previous = dialog.GetItemText(nameId);
    if (!previous.empty()) ShowIQFileDescription(previous.c_str(), false, where, dialog, ids, info);
    return false;
  }
  dialog.SetItemText(nameId, chosen);
  return true;
}
