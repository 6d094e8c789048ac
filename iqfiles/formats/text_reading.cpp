#include "iqfiles/formats/text_reading.h"

#include <cctype>
#include <cstring>

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

}  // namespace lv_iq
