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
// asked for. The samples themselves are checked against small reference
// decoders written here from the formats' descriptions (not the readers'
// code): .wv, .iqbin, the pairs .wvh/.wvd, .siqh/.siqd and .bin.txt/.bin,
// the Xdat recording (.xhdr/.xdat) and the generic text layouts. A
// reference declines a header it cannot read unambiguously (a NUL byte, an
// over-long line, a number followed by letters, a key twice on one line
// ...); the samples of a file it accepts must equal the reader's, whole
// reads and windows alike (zeros outside the file).
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/error.h"
#include "fuzz/fuzz_support.h"
#include "iqfiles/formats/file_info.h"
#include "iqfiles/manager/data_manager.h"

namespace {

constexpr const char* kTarget = "iq_readers";

enum Reads { kWindows, kWholeAndWindows, kWholeOnly, kNone };

// Which reference decoder checks the samples (kNoReference: counts only).
enum Reference { kNoReference, kRefWv, kRefWvh, kRefSiq, kRefIqbin, kRefBin, kRefXdat, kRefText3, kRefText5 };

struct Format {
  const char* names[3];  // header (the name the manager is given), data, marker
  int32_t txtType;       // 0, or the text type the user chose (6 to 13)
  Reads reads;           // Xdat reads windows only; VSA and pattern-generator
                         // text always the whole file; .iqtxt is never read
  Reference reference;
};

const Format kFormats[] = {
    {{"f.wv", nullptr, nullptr}, 0, kWholeAndWindows, kRefWv},
    {{"f.wvh", "f.wvd", nullptr}, 0, kWholeAndWindows, kRefWvh},
    {{"f.siqh", "f.siqd", nullptr}, 0, kWholeAndWindows, kRefSiq},
    {{"f.iqbin", nullptr, nullptr}, 0, kWholeAndWindows, kRefIqbin},
    {{"f.bin.txt", "f.bin", nullptr}, 0, kWholeAndWindows, kRefBin},
    {{"f.xhdr", "f.xdat", "f.xmrk"}, 0, kWindows, kRefXdat},
    {{"f.txt", nullptr, nullptr}, 6, kWholeOnly, kNoReference},
    {{"f.txt", nullptr, nullptr}, 7, kWholeOnly, kNoReference},
    {{"f.txt", nullptr, nullptr}, 8, kWholeOnly, kNoReference},
    {{"f.txt", nullptr, nullptr}, 9, kWholeAndWindows, kRefText3},
    {{"f.txt", nullptr, nullptr}, 10, kWholeAndWindows, kRefText5},
    {{"f.csv", nullptr, nullptr}, 11, kWholeAndWindows, kRefText5},
    {{"f.txt", nullptr, nullptr}, 12, kWholeOnly, kNoReference},
    {{"f.txt", nullptr, nullptr}, 13, kWholeOnly, kNoReference},
    {{"f.iqtxt", nullptr, nullptr}, 0, kNone, kNoReference},
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

// ---- Reference decoders -------------------------------------------------

using Samples = std::vector<CQComplex>;

// The text split into lines at '\n' (the line end dropped); nothing when the
// text holds a NUL byte or a line longer than maxLine characters, where a
// line-by-line reader with a fixed buffer would see pieces.
std::optional<std::vector<std::string>> Lines(std::string_view text, size_t maxLine) {
  if (text.find('\0') != std::string_view::npos) return std::nullopt;
  std::vector<std::string> lines;
  size_t from = 0;
  while (from < text.size()) {
    size_t end = text.find('\n', from);
    if (end == std::string_view::npos) end = text.size();
    if (end - from > maxLine) return std::nullopt;
    lines.emplace_back(text.substr(from, end - from));
    from = end + 1;
  }
  return lines;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A decimal number converted as "%f" (float) or "%lf" (double) from text.
// Outer nothing: the reference declines (hexadecimal, inf or nan, a number
// running on into letters, digits or a point, not finite, out of range);
// inner nothing: no number starts here.
std::optional<std::optional<double>> Convert(const std::string& text, bool asFloat) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const double value = asFloat ? static_cast<double>(std::strtof(begin, &end)) : std::strtod(begin, &end);
  if (end == begin) return std::optional<double>();
  if (errno != 0 || !std::isfinite(value)) return std::nullopt;
  for (const char* c = begin; c != end; ++c) {
    if (IsLetter(*c) && *c != 'e' && *c != 'E') return std::nullopt;
  }
  if (*end != '\0' && (IsLetter(*end) || IsDigit(*end) || *end == '.')) return std::nullopt;
  return std::optional<double>(value);
}

struct Found {
  bool found = false;
  double value = 0;
  size_t line = 0;
};

// A header number: the first line holding key followed, later on that line,
// by a digit (or a minus sign when signed) from which the number converts.
// Nothing when the reference declines: the key twice on one line, or a
// conversion it cannot decide.
std::optional<Found> FindNumber(const std::vector<std::string>& lines, const char* key, bool asFloat) {
  const size_t keyLength = std::strlen(key);
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const size_t at = line.find(key);
    if (at == std::string::npos) continue;
    if (line.find(key, at + 1) != std::string::npos) return std::nullopt;
    const size_t start = line.find_first_of("-0123456789", at + keyLength);
    if (start == std::string::npos) continue;
    // A '+' or '.' just before the number would belong to it for some readers.
    if (start > at + keyLength && (line[start - 1] == '+' || line[start - 1] == '.')) return std::nullopt;
    const auto value = Convert(line.substr(start), asFloat);
    if (!value) return std::nullopt;
    if (*value) return Found{true, **value, i};
  }
  return Found{};
}

bool HasKey(const std::vector<std::string>& lines, const char* key) {
  for (const std::string& line : lines) {
    if (line.find(key) != std::string::npos) return true;
  }
  return false;
}

size_t FirstLineWith(const std::vector<std::string>& lines, const char* key) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find(key) != std::string::npos) return i;
  }
  return lines.size();
}

// Signed 16-bit little-endian I/Q pairs, each value times scale (a float
// product); the count is the length divided by 4, rounded down.
Samples Int16Pairs(std::string_view data, float scale) {
  Samples out(data.size() / 4);
  for (size_t k = 0; k < out.size(); ++k) {
    int16_t pair[2];
    std::memcpy(pair, data.data() + 4 * k, 4);
    out[k] = CQComplex(static_cast<float>(pair[0]) * scale, static_cast<float>(pair[1]) * scale);
  }
  return out;
}

// .iqbin: version 1 or 2, count N >= 0, then float pairs after 32 (version 1)
// or 1056 bytes (version 2). The samples the file holds, at most N.
std::optional<Samples> RefIqbin(std::string_view file) {
  if (file.size() < 32) return std::nullopt;
  int32_t version;
  int32_t count;
  std::memcpy(&version, file.data(), 4);
  std::memcpy(&count, file.data() + 4, 4);
  if ((version != 1 && version != 2) || count < 0) return std::nullopt;
  const size_t offset = version == 1 ? 32 : 1056;
  if (file.size() < offset) return std::nullopt;
  const size_t held = (file.size() - offset) / 8;
  Samples out(held < static_cast<size_t>(count) ? held : static_cast<size_t>(count));
  for (size_t k = 0; k < out.size(); ++k) {
    float iq[2];
    std::memcpy(iq, file.data() + offset + 8 * k, 8);
    out[k] = CQComplex(iq[0], iq[1]);
  }
  return out;
}

// .wvh/.wvd: "TYPE:RAW16LE" and a CLOCK number required; the scale from
// REFLEVEL L: sqrt(p x 100) / 32767 with p = 10^((L - 30) / 10), each step
// rounded to float; 1/32767 without REFLEVEL.
std::optional<Samples> RefWvh(std::string_view header, std::string_view data) {
  const auto lines = Lines(header, 1000);
  if (!lines || !HasKey(*lines, "TYPE:RAW16LE")) return std::nullopt;
  const auto clock = FindNumber(*lines, "CLOCK", false);
  const auto level = FindNumber(*lines, "REFLEVEL", true);
  if (!clock || !clock->found || clock->value == 0 || !level) return std::nullopt;
  // A reader that stops once the date has been seen might miss a REFLEVEL
  // on a later line: such a header is left undecided.
  if (level->found && level->line > FirstLineWith(*lines, "DATE")) return std::nullopt;
  float scale = 1.0f / 32767.0f;
  if (level->found) {
    const float p = static_cast<float>(std::pow(10.0, (static_cast<double>(static_cast<float>(level->value)) - 30.0) / 10.0));
    const float p100 = p * 100.0f;
    scale = static_cast<float>(std::sqrt(static_cast<double>(p100))) / 32767.0f;
  }
  if (!(scale > 0.0f) || !std::isfinite(scale)) return std::nullopt;
  return Int16Pairs(data, scale);
}

// .siqh/.siqd: "RSASIQHT:", "NumberFormat:IQ-Int16", SampleRate and
// DataScale required (lines of at most 127 characters); values times DataScale.
std::optional<Samples> RefSiq(std::string_view header, std::string_view data) {
  const auto lines = Lines(header, 120);
  if (!lines || !HasKey(*lines, "RSASIQHT:") || !HasKey(*lines, "NumberFormat:IQ-Int16")) return std::nullopt;
  const auto rate = FindNumber(*lines, "SampleRate", false);
  const auto scale = FindNumber(*lines, "DataScale", true);
  if (!rate || !rate->found || rate->value == 0 || !scale || !scale->found || scale->value == 0) return std::nullopt;
  return Int16Pairs(data, static_cast<float>(scale->value));
}

// .bin.txt/.bin: YScale and XDelta required (lines of at most 127
// characters); values times YScale, its sign kept.
std::optional<Samples> RefBin(std::string_view header, std::string_view data) {
  const auto lines = Lines(header, 120);
  if (!lines) return std::nullopt;
  const auto delta = FindNumber(*lines, "XDelta", false);
  const auto scale = FindNumber(*lines, "YScale", true);
  if (!delta || !delta->found || delta->value == 0 || !scale || !scale->found || scale->value == 0) return std::nullopt;
  // Between the key and its number only a minus sign right before the digits
  // is unambiguous (a reader may or may not see a sign further away).
  const std::string& line = (*lines)[scale->line];
  const size_t key = line.find("YScale") + 6;
  const size_t digit = line.find_first_of("0123456789", key);
  if (line.find_first_of("+-", key) < (digit > 0 && line[digit - 1] == '-' ? digit - 1 : digit)) return std::nullopt;
  return Int16Pairs(data, static_cast<float>(scale->value));
}

// An Xdat header attribute: the text between the quote after the first
// name="..." (a plain substring search, names ending in name included) and
// the next quote. Absent: inner nothing; outer nothing: the reference
// declines (name=" twice, so that which one counts could be argued, or no
// closing quote).
std::optional<std::optional<std::string>> XdatAttribute(std::string_view text, const std::string& name) {
  const std::string key = name + "=\"";
  const size_t at = text.find(key);
  if (at == std::string_view::npos) return std::optional<std::string>();
  if (text.find(key, at + 1) != std::string_view::npos) return std::nullopt;
  const size_t from = at + key.size();
  const size_t end = text.find('"', from);
  if (end == std::string_view::npos) return std::nullopt;
  return std::optional<std::string>(std::string(text.substr(from, end - from)));
}

// A plain decimal number filling an attribute's value exactly (an optional
// minus sign, digits, a point and an exponent); nothing otherwise.
std::optional<double> XdatNumber(const std::string& value, bool asFloat) {
  if (value.empty() || !(IsDigit(value[0]) || value[0] == '-' || value[0] == '.')) return std::nullopt;
  const auto converted = Convert(value, asFloat);
  if (!converted || !*converted) return std::nullopt;
  char* stop = nullptr;
  std::strtod(value.c_str(), &stop);
  if (*stop != '\0') return std::nullopt;
  return **converted;
}

// Xdat recording: the header is 8-bit text searched for samples="N",
// sample_rate="R" and scale_factor="S" (all three required, R and S not
// zero; an encoding given must be "int16"); the data file holds signed
// 16-bit little-endian I/Q pairs, each value times S x 65536 (float). The
// reference returns the pairs the data file holds; N is checked against
// the described count by the caller.
struct XdatReference {
  int64_t count = 0;
  Samples samples;
};

std::optional<XdatReference> RefXdat(std::string_view header, std::string_view data) {
  // The header is read as one C string: a NUL byte would hide what follows.
  if (header.find('\0') != std::string_view::npos) return std::nullopt;
  const auto samples = XdatAttribute(header, "samples");
  const auto rate = XdatAttribute(header, "sample_rate");
  const auto scale = XdatAttribute(header, "scale_factor");
  const auto encoding = XdatAttribute(header, "data_encoding");
  if (!samples || !*samples || !rate || !*rate || !scale || !*scale || !encoding) return std::nullopt;
  // A count as plain digits that fits comfortably in 64 bits.
  const std::string& n = **samples;
  if (n.empty() || n.size() > 18 || n.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  const auto rateValue = XdatNumber(**rate, false);
  const auto scaleValue = XdatNumber(**scale, true);
  if (!rateValue || *rateValue == 0 || !scaleValue || *scaleValue == 0) return std::nullopt;
  if (*encoding && **encoding != "int16") return std::nullopt;
  const float step = static_cast<float>(*scaleValue) * 65536.0f;
  if (!std::isfinite(step)) return std::nullopt;
  return XdatReference{std::strtoll(n.c_str(), nullptr, 10), Int16Pairs(data, step)};
}

// Generic text, layouts 3 (I Q) and 5 (time I Q): a line whose values
// convert fully is a sample line, every other line is passed over; commas
// count as white space; a UTF-8 byte-order mark at the start is skipped.
// The reference declines a line that mixes numbers and other text, hex,
// inf and nan, and values that are not finite or underflow.
std::optional<Samples> RefText(std::string_view file, int layout) {
  if (file.substr(0, 3) == "\xEF\xBB\xBF") file.remove_prefix(3);
  const auto lines = Lines(file, 1000);
  if (!lines) return std::nullopt;
  const size_t needed = layout == 5 ? 3 : 2;
  Samples out;
  for (std::string line : *lines) {
    std::vector<double> values;
    bool hasDigit = false;
    bool other = false;
    for (char& c : line) {
      if (c == ',') c = ' ';
      hasDigit = hasDigit || IsDigit(c);
    }
    if (!hasDigit) continue;  // no number at all: not a sample line
    size_t from = 0;
    while (true) {
      from = line.find_first_not_of(" \t\r\v\f", from);
      if (from == std::string::npos) break;
      size_t end = line.find_first_of(" \t\r\v\f", from);
      if (end == std::string::npos) end = line.size();
      const std::string token = line.substr(from, end - from);
      // The I and Q columns convert as floats, a time column as a double.
      const bool asFloat = !(layout == 5 && values.empty());
      const auto value = Convert(token, asFloat);
      char* stop = nullptr;
      const double full = std::strtod(token.c_str(), &stop);
      if (!value || !*value || *stop != '\0') {
        other = true;
        break;
      }
      if (full != 0 && std::fabs(full) < 1.2e-38) return std::nullopt;  // a float underflow
      values.push_back(**value);
      from = end;
    }
    if (other) return std::nullopt;
    if (values.size() < needed) {
      if (!values.empty()) return std::nullopt;  // too few numbers: readers may differ
      continue;
    }
    const size_t i = layout == 5 ? 1 : 0;
    out.emplace_back(static_cast<float>(values[i]), static_cast<float>(values[i + 1]));
  }
  return out;
}

std::optional<Samples> ReferenceSamples(const Format& format, const std::string& header, const std::string& data) {
  switch (format.reference) {
    case kRefWvh: return RefWvh(header, data);
    case kRefSiq: return RefSiq(header, data);
    case kRefIqbin: return RefIqbin(header);
    case kRefBin: return RefBin(header, data);
    case kRefXdat: {
      auto xdat = RefXdat(header, data);
      if (!xdat) return std::nullopt;
      return std::move(xdat->samples);
    }
    case kRefText3: return RefText(header, 3);
    case kRefText5: return RefText(header, 5);
    default: return std::nullopt;
  }
}

// Two floats are the same sample value: equal with equal signs, or both NaN.
bool Same(float a, float b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return a == b && std::signbit(a) == std::signbit(b);
}

// The read samples are the reference's from file sample first on; a window
// holds zeros where it lies outside the file's count samples.
void CheckAgainst(const std::string& which, const Samples& want, int64_t first, int64_t count,
                  const CQCArrayTD& got) {
  const CQComplex* p = got.GetDataPtr();
  for (int64_t k = 0; k < got.GetNumPoints(); ++k) {
    const int64_t at = first + k;
    const std::string where = which + "sample " + std::to_string(at);
    if (at < 0 || at >= count) {
      LV_FUZZ_CHECK(kTarget, p[k].re == 0.0f && p[k].im == 0.0f, where + " outside the file is not zero");
      continue;
    }
    LV_FUZZ_CHECK(kTarget, at < static_cast<int64_t>(want.size()), where + " read beyond what the file holds");
    LV_FUZZ_CHECK(kTarget, Same(p[k].re, want[at].re) && Same(p[k].im, want[at].im),
                  where + " is (" + std::to_string(p[k].re) + ", " + std::to_string(p[k].im) + "), the file holds (" +
                      std::to_string(want[at].re) + ", " + std::to_string(want[at].im) + ")");
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
  if (format.reference == kRefXdat) {
    // An Xdat header's count is its samples attribute, whatever the data file holds.
    const auto xdat = RefXdat(header, dataPart);
    if (xdat) {
      LV_FUZZ_CHECK(kTarget, info->numPoints == xdat->count,
                    which + "described " + std::to_string(info->numPoints) + " samples, the header says " +
                        std::to_string(xdat->count));
    }
  }

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
  // The samples the files hold, decoded here, when the files were left alone.
  const std::optional<Samples> reference =
      changed ? std::nullopt : ReferenceSamples(format, header, format.names[1] != nullptr ? dataPart : std::string());
  CQFileDataBlock block;
  if (format.reads != kWindows && (flags & 1) == 0) {
    block.partialRead = false;
    // Also after a change: a read either fails or gives what was described.
    if (Try([&] { manager.ReadFileData(&block, 0); })) {
      LV_FUZZ_CHECK(kTarget, block.samples->GetNumPoints() == info->numPoints,
                    which + "whole read of " + std::to_string(block.samples->GetNumPoints()) + " samples, described " +
                        std::to_string(info->numPoints));
      if (format.reference == kRefWv && !changed) CheckWvSamples(header, *block.samples);
      if (reference) CheckAgainst(which + "whole read: ", *reference, 0, info->numPoints, *block.samples);
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
      if (reference && format.reads != kWholeOnly) {
        CheckAgainst(which + "window: ", *reference, start, info->numPoints, *block.samples);
      }
    }
  }
  return 0;
}
