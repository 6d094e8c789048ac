#include "iqfiles/formats/text_reading.h"

#include <cctype>
#include <cmath>
#include <cstring>

#include "core/error.h"
#include "platform/text.h"

namespace lv_iq {

std::optional<double> NumberAfterKey(std::string_view line, const char* key) {
  const size_t at = line.find(key);
  if (at == std::string_view::npos) {
    return std::nullopt;
  }
  size_t i = at + std::strlen(key);
  while (i < line.size() && !std::isdigit(static_cast<unsigned char>(line[i])) && line[i] != '-') {
    ++i;
  }
  if (i >= line.size()) {
    return std::nullopt;
  }
  return lv::ParseDoubleC(line.substr(i));
}

int ScanNumbers(std::string_view line, double* values, int maxValues, bool commasAreSpace) {
  std::string text(line);
  if (commasAreSpace) {
    for (char& c : text) {
      if (c == ',') c = ' ';
    }
  }
  size_t pos = 0;
  int n = 0;
  while (n < maxValues) {
    size_t used = 0;
    const auto v = lv::ParseDoubleC(std::string_view(text).substr(pos), &used);
    if (!v) {
      break;
    }
    values[n++] = *v;
    pos += used;
  }
  return n;
}

void RefuseHeaderField(const std::string& file, const char* field) {
  throw new CQError(lv::FormatC("The value of \"%s\" in the file \"%s\" is not valid.", field, file.c_str()).c_str());
}

std::optional<double> FieldNumber(std::string_view text, const char* key, const std::string& file,
                                  const char* field) {
  const size_t at = text.find(key);
  if (at == std::string_view::npos) {
    return std::nullopt;
  }
  size_t i = at + std::strlen(key);
  while (i < text.size() && (std::isspace(static_cast<unsigned char>(text[i])) || text[i] == ':' || text[i] == '=')) {
    ++i;
  }
  size_t end = text.find_first_of("}\"\r\n", i);
  end = end == std::string_view::npos ? text.size() : end;
  std::string_view value = text.substr(i, end - i);
  while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back()))) {
    value.remove_suffix(1);
  }
  size_t used = 0;
  const std::optional<double> v = lv::ParseDoubleC(value, &used);
  if (!v || used != value.size() || !std::isfinite(*v)) {
    RefuseHeaderField(file, field);
  }
  return v;
}

int64_t SampleCountField(double value, const std::string& file, const char* field) {
  if (!(value >= 0.0 && value <= 9007199254740992.0) || value != std::floor(value)) {
    RefuseHeaderField(file, field);
  }
  return static_cast<int64_t>(value);
}

double PositiveField(double value, const std::string& file, const char* field) {
  if (!std::isfinite(value) || !(value > 0.0)) {
    RefuseHeaderField(file, field);
  }
  return value;
}

}  // namespace lv_iq
