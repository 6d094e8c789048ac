// The headless self-check: its verdict follows the dispatch status.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "app/self_check.h"
#include "cpu/status.h"

namespace {

std::string RunCheck(int32_t status, int* exitCode) {
  std::FILE* f = std::tmpfile();
  EXPECT_NE(f, nullptr);
  *exitCode = RunSelfCheck(status, 5, f);
  std::rewind(f);
  std::string text;
  char buf[256];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  std::fclose(f);
  return text;
}

TEST(SelfCheck, VerdictFollowsTheDispatchStatus) {
  const struct {
    int32_t status;
    int exitCode;
    const char* verdict;
  } rows[] = {
      {StatusOk, 0, "Self-check passed. The main window is not built yet.\n"},
      {StatusNonIntelProcessor, 0, "Self-check passed with warning status 20. The main window is not built yet.\n"},
      {StatusFeatureNotAvailable, 0, "Self-check passed with warning status 49. The main window is not built yet.\n"},
      {StatusProcessorNotSupported, 1, "Self-check failed: the processor dispatch reported status 36.\n"},
      {StatusNullPointer, 1, "Self-check failed: the processor dispatch reported status -8.\n"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.status);
    int code = -1;
    const std::string text = RunCheck(r.status, &code);
    EXPECT_EQ(code, r.exitCode);
    EXPECT_NE(text.find("Processor class 5 (Avx2), dispatch status " + std::to_string(r.status) + "\n"),
              std::string::npos)
        << text;
    ASSERT_GE(text.size(), std::string(r.verdict).size());
    EXPECT_EQ(text.substr(text.size() - std::string(r.verdict).size()), r.verdict) << text;
  }
}

}  // namespace
