// Faults the fuzz targets found in the IQ file formats. A writer either
// refuses an array (with a CQError, the previous file kept) or writes a file
// its own reader takes back.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/arrays/carray.h"
#include "iqfiles/formats/file_info.h"
#include "iqfiles/formats/vsa_text.h"
#include "support/errors.h"
#include "tests/iqfiles/readers2/temp_dir_test.h"

namespace {

using lv_test::Catch;
using lv_test::CaughtError;

using FuzzFindingsTest = lv_test::TempDirTest;

// Header numbers whose written text rounds past the largest double: a rate
// whose step 1/rate is within the last digit of the largest double, a rate
// whose written step reads back as a rate beyond it, a centre plus half the
// band beyond it, a time origin at the largest double.
TEST_F(FuzzFindingsTest, VsaTextWriterRefusesHeaderNumbersItsReaderWouldRefuse) {
  struct Case {
    const char* what;
    double rate;
    double centre;
    double timeOrigin;
  };
  const Case cases[] = {
      {"step rounds up to infinity", 5.562684646277895e-309, 0.0, 0.0},
      {"step reads back as an infinite rate", 1.7976931348623157e308, 0.0, 0.0},
      {"centre plus half the band", 1e308, 1.5e308, 0.0},
      {"time origin", 1e6, 0.0, -1.7976931348623157e308},
      {"ordinary numbers", 1e6, 2.4e9, 0.5},
  };
  const std::vector<CQComplex> samples = {{0.5f, -0.25f}, {0.0f, 1.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CQCArrayTD array;
    array.Set(samples.data(), static_cast<int>(samples.size()), c.rate, c.timeOrigin);
    array.SetCenterFreq(c.centre);
    Write("a.txt", "the previous file");
    CQADIVSATxtFile writer;
    writer.SetFileName(W("a.txt").c_str());
    const CaughtError written = Catch([&] { writer.WriteToFile(&array); });
    if (written.thrown) {
      EXPECT_EQ(Slurp("a.txt"), "the previous file");
      EXPECT_NE(written.message.find("Invalid"), std::string::npos) << written.message;
      continue;
    }
    CQADIVSATxtFile reader;
    reader.SetFileName(W("a.txt").c_str());
    CQFileInfo info;
    const CaughtError described = Catch([&] { reader.GetFileInfo(reader.GetFileNameUtf8(), &info); });
    ASSERT_FALSE(described.thrown) << described.message;
    EXPECT_EQ(info.numPoints, 2);
    ASSERT_FALSE(Catch([&] { reader.ReadData(); }).thrown);
  }
  // Ordinary numbers are written and read back.
  EXPECT_NE(Slurp("a.txt"), "the previous file");
}

}  // namespace
