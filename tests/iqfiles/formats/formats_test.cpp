#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/array_math.h"
#include "iqfiles/formats/file_name.h"
#include "iqfiles/formats/iqbin.h"
#include "iqfiles/formats/iqtxt.h"
#include "iqfiles/formats/pair_files.h"
#include "iqfiles/formats/wv.h"
#include "platform/text.h"
#include "support/errors.h"

namespace {

using lv_test::Catch;
namespace fs = std::filesystem;

constexpr int kN = 50;
constexpr double kRate = 2e6;
constexpr double kCentre = -1.5e6;

class FormatsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("lv_iqfiles_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::wstring W(const std::string& name) const { return lv::Utf8ToWide((dir_ / name).string()); }
  std::string P(const std::string& name) const { return (dir_ / name).string(); }
  int Python(const char* mode) const {
    return std::system(("/usr/bin/python3 " LV_INDEPENDENT_CHECK " " + std::string(mode) + " '" + dir_.string() + "'").c_str());
  }
  static std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  // The waveform of the independent fixtures: sample k = (0.01 k, -0.02 k).
  static std::unique_ptr<CQCArrayTD> Reference() {
    std::vector<CQComplex> v(kN);
    for (int k = 0; k < kN; ++k) {
      v[static_cast<size_t>(k)] = CQComplex(static_cast<float>(0.01 * k), static_cast<float>(-0.02 * k));
    }
    auto a = std::make_unique<CQCArrayTD>();
    a->Set(v.data(), kN, kRate, 0.0);
    a->SetCenterFreq(kCentre);
    return a;
  }
  fs::path dir_;
};

TEST_F(FormatsTest, ReadsFixturesWrittenIndependently) {
  ASSERT_EQ(Python("write"), 0);
  const auto ref = Reference();
  for (const char* name : {"v1.iqbin", "v2.iqbin"}) {
    SCOPED_TRACE(name);
    CLumvardBinFile f;
    f.SetFileName(W(name).c_str());
    CQFileInfo info;
    f.GetFileInfo(f.GetFileNameUtf8(), &info);
    EXPECT_EQ(info.numPoints, kN);
    EXPECT_EQ(info.sampleRate, kRate);
    EXPECT_EQ(info.centerFreq, kCentre);
    EXPECT_EQ(info.bandwidth, kRate);
    EXPECT_TRUE(info.floatData);
    f.ReadFromFile();
    ASSERT_EQ(f.GetOutput()->GetNumPoints(), kN);
    EXPECT_EQ(f.GetOutput()->GetDataPtr()[49], ref->GetDataPtr()[49]);
    EXPECT_EQ(f.GetOutput()->GetTimeOrigin(), 0.25);
  }
  {
    CLumvardBinFile f;
    f.SetFileName(W("v2.iqbin").c_str());
    CQFileInfo info;
    f.GetFileInfo(f.GetFileNameUtf8(), &info);
    ASSERT_NE(f.GetModInfo(), nullptr);
    EXPECT_EQ(f.GetModInfo()->Kind(), 9);
    int32_t field;
    std::memcpy(&field, f.GetModInfo()->Bytes() + 56, 4);
    EXPECT_EQ(field, 7);  // a kind-9 field is carried
  }
  {
    CQRSWvdhFile f;
    f.SetFileName(W("pair.wvd").c_str());
    CQFileInfo info;
    f.GetFileInfo(&info);
    EXPECT_EQ(info.numPoints, kN);
    EXPECT_EQ(info.scale, 1.0f / 32767.0f);  // REFLEVEL 10 dBm stands for full scale 1
    EXPECT_EQ(info.centerFreq, kCentre);
    EXPECT_EQ(info.firstSampleTime.year, 2021);
    EXPECT_EQ(info.firstSampleTime.second, 7.0);
    f.ReadData();
    EXPECT_NEAR(f.GetOutput()->GetDataPtr()[49].im, ref->GetDataPtr()[49].im, 1e-4f);
    EXPECT_EQ(f.GetOutput()->StartDateTime().day, 4);
  }
  {
    CQSIQFile f;
    f.SetFileName(W("rec.siqh").c_str());
    CQFileInfo info;
    f.GetFileInfo(&info);
    EXPECT_EQ(info.scale, 0.5f);
    EXPECT_EQ(info.bandwidth, 1.6e6);
    EXPECT_EQ(info.timeReference.year, 2019);
    EXPECT_NEAR(info.timeReference.second, 56.789, 1e-9);
    f.ReadData();
    EXPECT_EQ(f.GetOutput()->GetDataPtr()[1], CQComplex(1.0f, -2.0f));  // (2, -4) x 0.5
    f.ReadData();  // a second whole read returns the same samples
    EXPECT_EQ(f.GetOutput()->GetDataPtr()[49], CQComplex(49.0f, -98.0f));
  }
  {
    CQReadRSWvFile f;
    f.SetFileName(W("gen.wv").c_str());
    CQFileInfo info;
    f.GetFileInfo(&info);
    EXPECT_EQ(info.numPoints, kN);
    EXPECT_EQ(info.centerFreq, kCentre);  // the sign is kept
    EXPECT_EQ(info.firstSampleTime.year, 2020);
    f.ReadData();
    EXPECT_NEAR(f.GetOutput()->GetDataPtr()[49].im, -1.0f, 1e-6f);
  }
}

TEST_F(FormatsTest, WritesWhatTheIndependentReaderAccepts) {
  const auto ref = Reference();
  CLumvardBinFile bin;
  bin.SetFileName(W("out.iqbin").c_str());
  bin.WriteToFile(ref.get());
  CQRSWvdhFile pair;
  pair.SetScale(CQRSWvdhFile::MakeScaleFromPeak(CQArrayMath::FindMaxMag(ref->GetDataPtr(), kN)));
  pair.SetSampleRate(kRate);
  pair.SetBandwidth(kRate);
  pair.SetCenterFreq(kCentre);
  pair.SetFileName(W("out.wvh").c_str());
  pair.WriteHeader();
  pair.WriteData(ref.get());
  pair.FinishDataFile();
  CQWriteRSWvFile wv;
  wv.clock = kRate;
  wv.centerFreq = kCentre;
  wv.SetFileName(W("out.wv").c_str());
  wv.WriteHeader();
  const CQComplex before = ref->GetDataPtr()[49];
  wv.WriteData(ref.get());
  EXPECT_EQ(ref->GetDataPtr()[49], before);  // the caller's array is not normalised
  CLumvardTxtFile txt;
  txt.SetFileName(W("out.iqtxt").c_str());
  txt.WriteToFile(ref.get());
  EXPECT_EQ(Python("read"), 0);

  // And they read back through our own readers, signs and all.
  CQReadRSWvFile back;
  back.SetFileName(W("out.wv").c_str());
  CQFileInfo info;
  back.GetFileInfo(&info);
  EXPECT_EQ(info.centerFreq, kCentre);
  EXPECT_EQ(info.numPoints, kN);
  back.ReadData();
  EXPECT_NEAR(back.GetOutput()->GetDataPtr()[49].im, -1.0f, 1e-6f);
  CLumvardTxtFile txtBack;
  txtBack.SetFileName(W("out.iqtxt").c_str());
  CQFileInfo tinfo;
  txtBack.GetFileInfo(txtBack.GetFileNameUtf8(), &tinfo);
  EXPECT_EQ(tinfo.numPoints, kN);
  EXPECT_EQ(tinfo.centerFreq, kCentre);
}

// Writes a version-1 .iqbin of P samples whose sample k is (k, -k).
void WriteV1(const std::string& path, int P, double rate, double t0, int version = 1, int claimed = -999) {
  std::ofstream f(path, std::ios::binary);
  const int32_t hdr[2] = {version, claimed == -999 ? P : claimed};
  f.write(reinterpret_cast<const char*>(hdr), 8);
  const double d[3] = {rate, t0, 0.0};
  f.write(reinterpret_cast<const char*>(d), 24);
  for (int k = 0; k < P; ++k) {
    const float s[2] = {static_cast<float>(k), static_cast<float>(-k)};
    f.write(reinterpret_cast<const char*>(s), 8);
  }
}

TEST_F(FormatsTest, IqbinWindowsAndErrors) {
  WriteV1(P("ten.iqbin"), 10, 1e3, 1.0);
  EXPECT_EQ(fs::file_size(dir_ / "ten.iqbin"), 32u + 80u);
  CLumvardBinFile f;
  f.SetFileName(W("ten.iqbin").c_str());
  CQFileInfo info;
  f.GetFileInfo(f.GetFileNameUtf8(), &info);
  struct Case {
    int start, count;
    std::vector<float> re;
  } cases[] = {
      {-3, 5, {0, 0, 0, 0, 1}},
      {8, 5, {8, 9, 0, 0, 0}},
      {12, 5, {0, 0, 0, 0, 0}},
      {-7, 5, {0, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start);
    f.partialRead = true;
    f.start = c.start;
    f.count = c.count;
    f.ReadFromFile();
    const CQCArrayTD* out = f.GetOutput();
    ASSERT_EQ(out->GetNumPoints(), c.count);
    for (int i = 0; i < c.count; ++i) EXPECT_EQ(out->GetDataPtr()[i].re, c.re[static_cast<size_t>(i)]);
    EXPECT_NEAR(out->GetTimeOrigin(), 1.0 + c.start / 1e3, 1e-12);
  }
  // The leading zeros of (-3, 5) are zeros, not sample 0 of the file.
  f.start = -3;
  f.ReadFromFile();
  EXPECT_EQ(f.GetOutput()->GetDataPtr()[3], CQComplex(0, 0));
  EXPECT_EQ(f.GetOutput()->GetDataPtr()[4], CQComplex(1, -1));

  struct Bad {
    int version, claimed;
    double rate;
    const char* message;
  } bad[] = {
      {3, 10, 1e3, "Invalid file version for an IQ binary file."},
      {1, -1, 1e3, "Invalid number of data points for an IQ binary file."},
      {1, 10, 0.0, "Invalid sample rate for an IQ binary file."},
      {1, 11, 1e3, "The file is shorter than its header states."},
      {1, 2000000000, 1e3, "The file is shorter than its header states."},
  };
  for (const auto& b : bad) {
    WriteV1(P("bad.iqbin"), 10, b.rate, 0.0, b.version, b.claimed);
    CLumvardBinFile g;
    g.SetFileName(W("bad.iqbin").c_str());
    const auto e = Catch([&] { g.GetFileInfo(g.GetFileNameUtf8(), &info); });
    EXPECT_EQ(e.message, b.message);
    EXPECT_EQ(e.callStack, "CLumvardBinFile::GetFileInfo\n");
    EXPECT_EQ(Catch([&] { g.ReadFromFile(); }).message,
              "Programming error: ReadFileParams() must be called prior to ReadFromFile().");
  }
  WriteV1(P("empty.iqbin"), 0, 1e3, 0.0);
  CLumvardBinFile e0;
  e0.SetFileName(W("empty.iqbin").c_str());
  e0.GetFileInfo(e0.GetFileNameUtf8(), &info);
  const auto err = Catch([&] { e0.ReadFromFile(); });
  EXPECT_EQ(err.code, 1);
  EXPECT_EQ(err.callStack.rfind("CQArrayMath::AllocShortInt\n", 0), 0u);
}

TEST_F(FormatsTest, FailedWritesLeaveNoPartialFileAndKeepTheOriginal) {
  const auto ref = Reference();
  CLumvardBinFile f;
  f.SetFileName(W("keep.iqbin").c_str());
  f.WriteToFile(ref.get());
  const std::string original = Slurp(dir_ / "keep.iqbin");
  CQCArrayTD empty;
  empty.SetSampleRate(1.0);
  EXPECT_EQ(Catch([&] { f.WriteToFile(&empty); }).message, "Null pointer to the input data.");

  // A write that runs out of room (a file-size limit) fails with code 4.
  std::vector<CQComplex> big(100000, CQComplex(1, 1));
  CQCArrayTD bigArray;
  bigArray.Set(big.data(), 100000, 1e6, 0.0);
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 64 * 1024;
  setrlimit(RLIMIT_FSIZE, &small);
  const auto e = Catch([&] { f.WriteToFile(&bigArray); });
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_EQ(e.code, 4);
  EXPECT_EQ(Slurp(dir_ / "keep.iqbin"), original);
  int files = 0;
  for (const auto& entry : fs::directory_iterator(dir_)) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1) << "no temporary file may stay behind";
  // A folder that does not exist: nothing is created.
  CLumvardBinFile g;
  g.SetFileName(W("no/such/folder/x.iqbin").c_str());
  EXPECT_EQ(Catch([&] { g.WriteToFile(ref.get()); }).message, "Error creating the output IQ binary file.");
}

TEST_F(FormatsTest, WvhHeaderScalesAndDates) {
  CQRSWvdhFile w;
  w.SetScale(1.0f / 32767.0f);
  w.SetSampleRate(1e6);
  w.SetCenterFreq(2.4e9);
  w.SetFileName(W("h.wvh").c_str());
  w.WriteHeader();
  const std::string head = Slurp(dir_ / "h.wvh");
  EXPECT_NE(head.find("{CLOCK:1000000.000000}{REFLEVEL:10.00}{FREQUENCY:2400000000.000000}"), std::string::npos);
  std::ofstream(dir_ / "h.wvd", std::ios::binary) << std::string(10, '\0');  // 10 bytes: 2 samples
  CQRSWvdhFile r;
  r.SetFileName(W("h.wvh").c_str());
  CQFileInfo info;
  r.GetFileInfo(&info);
  EXPECT_EQ(info.scale, 1.0f / 32767.0f);
  EXPECT_EQ(info.numPoints, 2);

  const float s = CQRSWvdhFile::MakeScaleFromPeak(1.0f);
  EXPECT_NEAR(1.0f / s, 23169.8f, 0.1f);

  CQDateTime d;
  ASSERT_TRUE(CQRSWvdhFile::ParseDate("{DATE:2021-3-4;5:06:07.5}", &d));
  EXPECT_EQ(d.day, 4);
  EXPECT_EQ(d.month, 3);
  EXPECT_EQ(d.year, 2021);
  EXPECT_EQ(d.hour, 5);
  EXPECT_EQ(d.minute, 6);
  EXPECT_EQ(d.second, 7.5);
  CQDateTime untouched;
  EXPECT_FALSE(CQRSWvdhFile::ParseDate("{DATE:2021-3-4 5:06:07}", &untouched));
  EXPECT_FALSE(CQRSWvdhFile::ParseDate(("DATE:" + std::string(70, '1') + "-3-4;5:06:07").c_str(), &untouched));
  EXPECT_EQ(untouched.year, 0);

  std::ofstream(dir_ / "notype.wvh") << "{CLOCK:1000}";
  std::ofstream(dir_ / "notype.wvd") << "";
  CQRSWvdhFile t;
  t.SetFileName(W("notype.wvh").c_str());
  const auto e = Catch([&] { t.GetFileInfo(&info); });
  EXPECT_EQ(e.message, "The data type descriptor \"{TYPE:RAW16LE}\" was not found in the R&S wvh header file.");
  EXPECT_EQ(e.callStack, "CQRSWvdhFile::GetFileInfo\nCQRSWvdhFile::GetFileInfo\n");
  std::ofstream(dir_ / "noclock.wvh") << "{TYPE:RAW16LE}";
  std::ofstream(dir_ / "noclock.wvd") << "";
  t.SetFileName(W("noclock.wvd").c_str());
  EXPECT_EQ(Catch([&] { t.GetFileInfo(&info); }).message,
            "The parameter \"CLOCK\" was not found in the R&S wvh header file.");

  // Full scale and clipping: never wrapped.
  CQRSWvdhFile out;
  out.SetScale(1.5f / 32767.0f);
  out.SetSampleRate(1e6);
  out.SetFileName(W("clip.wvd").c_str());
  CQCArrayTD a;
  const CQComplex v[2] = {{1.5f, -1.5f}, {9.0f, -9.0f}};
  a.Set(v, 2, 1e6, 0.0);
  out.WriteData(&a);
  out.FinishDataFile();
  const std::string bytes = Slurp(dir_ / "clip.wvd");
  ASSERT_EQ(bytes.size(), 8u);
  int16_t iq[4];
  std::memcpy(iq, bytes.data(), 8);
  EXPECT_EQ(iq[0], 32767);
  EXPECT_EQ(iq[1], -32767);
  EXPECT_EQ(iq[2], 32767);
  EXPECT_EQ(iq[3], -32767);
}

TEST_F(FormatsTest, SiqKeyScanAndMessages) {
  std::ofstream(dir_ / "a.siqd", std::ios::binary) << std::string(8, '\0');
  struct Case {
    const char* header;
    const char* message;
  } cases[] = {
      {"NumberFormat:IQ-Int16\nSampleRate:1e6\nDataScale:1\n",
       "The file designation \"RSASIQHT\" was not found in the SIQ file."},
      {"RSASIQHT:1\nNumberFormat:IQ-Int32\nSampleRate:1e6\nDataScale:1\n",
       "The number format was not found, or was not a known format, in the SIQ file."},
      {"RSASIQHT:1\nNumberFormat:IQ-Int16\nDataScale:1\n", "The parameter \"SampleRate\" was not found in the SIQ file."},
      {"RSASIQHT:1\nNumberFormat:IQ-Int16\nSampleRate:1e6\n", "The parameter \"DataScale\" was not found in the SIQ file."},
  };
  for (const auto& c : cases) {
    std::ofstream(dir_ / "a.siqh") << c.header;
    CQSIQFile f;
    f.SetFileName(W("a.siqd").c_str());
    CQFileInfo info;
    EXPECT_EQ(Catch([&] { f.GetFileInfo(&info); }).message, c.message);
  }
  std::ofstream(dir_ / "a.siqh") << "RSASIQHT:1\nNumberFormat:IQ-Int16\nSampleRate:1e6\nDataScale:1\n";
  CQSIQFile f;
  f.SetFileName(W("a.siqh").c_str());
  CQFileInfo info;
  f.GetFileInfo(&info);
  EXPECT_EQ(info.centerFreq, 0.0);
  EXPECT_EQ(info.bandwidth, 0.0);
  EXPECT_EQ(info.numPoints, 2);
}

TEST_F(FormatsTest, IqtxtHeaderRules) {
  const auto ref = Reference();
  CQCArrayTD two;
  const CQComplex v[2] = {{0.5f, -0.25f}, {1, 0}};
  two.Set(v, 2, 1e6, 0.0);
  CLumvardTxtFile w;
  w.SetFileName(W("two.iqtxt").c_str());
  w.WriteToFile(&two);
  EXPECT_EQ(Slurp(dir_ / "two.iqtxt"),
            "IQTxt v1\r\nNumSamples            2\r\nSampleRate 1000000.000\r\nCenterFreq 0.000\r\n"
            "5.000000e-01 -2.500000e-01\r\n1.000000e+00 0.000000e+00\r\n");
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"IQTxt v1\nNumSamples: 100\nSampleRate 1\nCenterFreq 0\n", "Error reading from IQTxt file. (Error parsing NumSamples.)"},
      {"IQTxt v1\nSampleRate 1\nNumSamples 100\nCenterFreq 0\n", "Error reading from IQTxt file. (Error reading NumSamples.)"},
      {"IQTxt v1\nNumSamples 0\nSampleRate 0\nCenterFreq 0\n", "Invalid sample rate for an IQTxt file."},
      {"IQTxt v2\n", "File is not a correctly formatted IQTxt file. (First line should be \"IQTxt v1\".)"},
      {"IQTxt v1\nNumSamples 3\n", "Error reading from IQTxt file. (Error reading header.)"},
  };
  for (const auto& c : cases) {
    std::ofstream(dir_ / "h.iqtxt") << c.text;
    CLumvardTxtFile r;
    r.SetFileName(W("h.iqtxt").c_str());
    CQFileInfo info;
    const auto e = Catch([&] { r.GetFileInfo(r.GetFileNameUtf8(), &info); });
    EXPECT_EQ(e.message, c.message);
    EXPECT_EQ(e.callStack, "CLumvardTxtFile::ReadFileParams\nCLumvardTxtFile::GetFileInfo\n");
  }
  std::ofstream(dir_ / "h.iqtxt") << "IQTxt v1\r\nNumSamples 0\r\nSampleRate 5e6\r\nCenterFreq -7\r\n";
  CLumvardTxtFile r;
  r.SetFileName(W("h.iqtxt").c_str());
  CQFileInfo info;
  r.GetFileInfo(r.GetFileNameUtf8(), &info);
  EXPECT_EQ(info.sampleRate, 5e6);
  EXPECT_EQ(info.centerFreq, -7.0);
  CLumvardTxtFile none;
  none.SetFileName(W("x.iqtxt").c_str());
  CQCArrayTD empty;
  EXPECT_EQ(Catch([&] { none.WriteToFile(&empty); }).message, "Null pointer to the input data.");
  EXPECT_FALSE(fs::exists(dir_ / "x.iqtxt"));
}

TEST_F(FormatsTest, WvFileRules) {
  for (const auto& [name, yes] : std::vector<std::pair<const wchar_t*, bool>>{
           {L"a.wv", true}, {L"A.WV.TXT", true}, {L"a.wvd", false}, {L"a.wvh", false}, {L"/x.wv/a.txt", false}}) {
    EXPECT_EQ(CQWriteRSWvFile::IsWvFileName(name), yes) << lv::WideToUtf8(name);
  }
  // Three samples; a window from -5 of 10: 5 zeros, the samples, 2 zeros.
  CQCArrayTD three;
  const CQComplex v[3] = {{1, 0}, {0, 1}, {-1, 0}};
  three.Set(v, 3, 1e3, 0.0);
  CQWriteRSWvFile w;
  w.clock = 1e3;
  w.SetFileName(W("three.wv").c_str());
  w.WriteHeader();
  w.WriteData(&three);
  CQReadRSWvFile r;
  r.SetFileName(W("three.wv").c_str());
  CQFileInfo info;
  r.GetFileInfo(&info);
  r.partialRead = true;
  r.start = -5;
  r.count = 10;
  r.ReadData();
  ASSERT_EQ(r.GetOutput()->GetNumPoints(), 10);
  EXPECT_EQ(r.GetOutput()->GetDataPtr()[4], CQComplex(0, 0));
  EXPECT_EQ(r.GetOutput()->GetDataPtr()[5], CQComplex(1, 0));
  EXPECT_EQ(r.GetOutput()->GetDataPtr()[9], CQComplex(0, 0));
  EXPECT_NEAR(r.GetOutput()->GetTimeOrigin(), -5e-3, 1e-12);

  // All zeros are written as zeros.
  CQCArrayTD zeros(4);
  zeros.SetSampleRate(1e3);
  CQWriteRSWvFile z;
  z.clock = 1e3;
  z.SetFileName(W("zeros.wv").c_str());
  z.WriteHeader();
  z.WriteData(&zeros);
  CQReadRSWvFile zr;
  zr.SetFileName(W("zeros.wv").c_str());
  zr.GetFileInfo(&info);
  zr.ReadData();
  EXPECT_EQ(zr.GetOutput()->GetDataPtr()[2], CQComplex(0, 0));

  // A header without a waveform tag has no data, whatever the previous file
  // had: its description is refused as a bad file, and no read follows it.
  std::ofstream(dir_ / "nowave.wv") << "{TYPE: SMU-WV,0}{CLOCK:1000}{SAMPLES:3}";
  r.SetFileName(W("nowave.wv").c_str());
  EXPECT_EQ(Catch([&] { r.GetFileInfo(&info); }).message,
            "The parameter \"WAVEFORM\" was not found in the R&S wv file.");
  EXPECT_EQ(r.GetDataOffset(), 0);
  r.partialRead = false;
  EXPECT_EQ(Catch([&] { r.ReadData(); }).message,
            "Programming error: ReadHeader() must be called before calling ReadData() for R&S wv files.");
  std::ofstream(dir_ / "empty.wv") << "";
  r.SetFileName(W("empty.wv").c_str());
  EXPECT_EQ(Catch([&] { r.GetFileInfo(&info); }).message, "Error reading from R&S wv file.");
}

// A .wv header is read up to its waveform tag wherever that lies: long
// comments and many segment tags push it (and other tags) past the first
// kilobyte. The samples hold bytes such as '#', '{' and zero.
TEST_F(FormatsTest, WvHeaderIsReadUpToItsWaveformTagWhereverItLies) {
  const int16_t ints[8] = {1000, -2000, 0, 0, 0x2323, 0x7B7D, 32767, -32767};
  const std::string data(reinterpret_cast<const char*>(ints), sizeof ints);
  std::string segments;
  for (int k = 0; k < 300; ++k) {
    segments += "{MWV_SEGMENT_START:" + std::to_string(4 * k) + "}{MWV_SEGMENT_COMMENT " + std::to_string(k) +
                ": segment " + std::to_string(k) + "}\r\n";
  }
  struct Case {
    const char* what;
    std::string beforeClock;  // between the type tag and the clock tag
    std::string afterClock;   // between the sample count and the waveform tag
  };
  const Case cases[] = {
      {"short header", "", ""},
      {"waveform tag across the first kilobyte", "{COMMENT:" + std::string(960, 'c') + "}", ""},
      {"long comment", "{COMMENT:" + std::string(3000, 'c') + "}", ""},
      {"comment across a larger block", "{COMMENT:" + std::string(4060, 'c') + "}", std::string(40, ' ')},
      {"very long comment", "{COMMENT:" + std::string(200000, 'x') + "}", ""},
      {"many segment tags after the count", "", segments},
      {"many segment tags before the clock", segments, ""},
  };
  // One file per case; an assertion ends its case only.
  auto check = [&](const Case& c) {
    const std::string head = "{TYPE: SMU-WV,0}" + c.beforeClock + "{CLOCK:1000}{FREQUENCY:-2.5e6}{SAMPLES:4}" +
                             c.afterClock + "{WAVEFORM-17:#";
    std::ofstream(dir_ / "long.wv", std::ios::binary) << head << data << "}";
    CQReadRSWvFile r;
    r.SetFileName(W("long.wv").c_str());
    CQFileInfo info;
    auto e = Catch([&] { r.GetFileInfo(&info); });
    ASSERT_FALSE(e.thrown) << e.message;
    EXPECT_EQ(info.numPoints, 4);
    EXPECT_EQ(info.sampleRate, 1000.0);
    EXPECT_EQ(info.centerFreq, -2.5e6);
    EXPECT_EQ(r.GetDataOffset(), static_cast<int32_t>(head.size()));
    e = Catch([&] { r.ReadData(); });
    ASSERT_FALSE(e.thrown) << e.message;
    ASSERT_EQ(r.GetOutput()->GetNumPoints(), 4);
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(r.GetOutput()->GetDataPtr()[k],
                CQComplex(static_cast<float>(ints[2 * k]) * 3.0518509e-05f,
                          static_cast<float>(ints[2 * k + 1]) * 3.0518509e-05f))
          << k;
    }
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    check(c);
  }
}

// The tags of a .wvh header count in any order and on any line: a reference
// level written after the frequency still sets the scale.
TEST_F(FormatsTest, WvhHeaderTagsInAnyOrderAndOnAnyLine) {
  struct Case {
    const char* what;
    const char* header;
  };
  const Case cases[] = {
      {"one line", "{TYPE:RAW16LE}{COMPONENTS:IQ}{DATE:2021-3-4;05:06:07}{CLOCK:1000000}{REFLEVEL:-10.00}"
                   "{FREQUENCY:2400000000}"},
      {"a tag a line, level after the frequency",
       "{TYPE:RAW16LE}\n{COMPONENTS:IQ}\n{DATE:2021-3-4;05:06:07}\n{CLOCK:1000000}\n{FREQUENCY:2400000000}\n"
       "{REFLEVEL:-10.00}\n"},
      {"a tag a CR LF line, level last", "{FREQUENCY:2400000000}\r\n{CLOCK:1000000}\r\n{DATE:2021-3-4;05:06:07}\r\n"
                                         "{COMPONENTS:IQ}\r\n{TYPE:RAW16LE}\r\n{REFLEVEL:-10.00}\r\n"},
      {"level first", "{REFLEVEL:-10.00}\n{TYPE:RAW16LE}{COMPONENTS:IQ}\n{CLOCK:1000000}{FREQUENCY:2400000000}\n"
                      "{DATE:2021-3-4;05:06:07}\n"},
  };
  std::ofstream(dir_ / "lines.wvd", std::ios::binary) << std::string(8, '\0');
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::ofstream(dir_ / "lines.wvh", std::ios::binary) << c.header;
    CQRSWvdhFile r;
    r.SetFileName(W("lines.wvh").c_str());
    CQFileInfo info;
    const auto e = Catch([&] { r.GetFileInfo(&info); });
    ASSERT_FALSE(e.thrown) << e.message;
    EXPECT_EQ(info.scale, CQRSWvdhFile::ScaleFromLevel(-10.0f));
    EXPECT_EQ(info.sampleRate, 1e6);
    EXPECT_EQ(info.centerFreq, 2.4e9);
    EXPECT_EQ(info.numPoints, 2);
    EXPECT_EQ(info.firstSampleTime.year, 2021);
  }
}

TEST(FileNames, NameAndPathHelpers) {
  wchar_t out[CQFileUtils::kPathCapacity];
  const std::pair<const wchar_t*, const wchar_t*> names[] = {
      {L"/data/Rec1.iqbin", L"Rec1"}, {L"Rec1.iqbin", L"Rec1"}, {L"/x/Rec1.a.b", L"Rec1.a"}, {L"/dir.old/Rec1", L"Rec1"}};
  for (const auto& [path, name] : names) {
    CQFileUtils::GetName(path, out);
    EXPECT_STREQ(out, name);
  }
  CQFileUtils::GetPathWithName(L"/data/Rec1.iqbin", out);
  EXPECT_STREQ(out, L"/data/Rec1");
  CQFileUtils::GetPathWithName(L"/data/Rec1", out);
  EXPECT_STREQ(out, L"/data/Rec1");
  CQFileUtils::GetPathWithName(L"/dir.old/Rec1", out);
  EXPECT_STREQ(out, L"/dir.old/Rec1");
  const std::wstring ok259 = L"/d/" + std::wstring(259, L'a') + L".x";
  EXPECT_TRUE(CQFileUtils::GetName(ok259.c_str(), out));
  const std::wstring too260 = L"/d/" + std::wstring(260, L'a') + L".x";
  const auto e = Catch([&] { CQFileUtils::GetName(too260.c_str(), out); });
  EXPECT_EQ(e.message, "Name string not long enough for path.");
  EXPECT_EQ(e.callStack, "CQFileUtils::GetName\n");
  EXPECT_EQ(Catch([&] { CQFileUtils::GetName(L"", out); }).message, "Invalid length for file name string.");
  EXPECT_EQ(Catch([&] { CQFileUtils::GetName(nullptr, out); }).message, "Null pointer to file name string.");
  EXPECT_TRUE(CLumvardBinFile::IsIQBinFileName(L"/x/a.IQBIN"));
  EXPECT_FALSE(CLumvardBinFile::IsIQBinFileName(L"/a.iqbin/b.txt"));  // the folder does not decide
  EXPECT_TRUE(CQRSWvdhFile::IsWvdhFileName(L"a.WVD"));
  EXPECT_TRUE(CQSIQFile::IsSIQFileName(L"a.siqh"));
}

}  // namespace

namespace {

// Every sample k of a whole read of WriteV1's file is (k, -k); returns the first mismatch or -1.
int FirstWrongSample(const CQCArrayTD& out) {
  for (int k = 0; k < out.GetNumPoints(); ++k) {
    if (out.GetDataPtr()[k] != CQComplex(static_cast<float>(k), static_cast<float>(-k))) {
      return k;
    }
  }
  return -1;
}

}  // namespace

// Whole reads of files spanning many 2 MiB pages: the block is filled exactly,
// in both versions (their data start at different offsets), again when the
// same reader reads a file of the same size into its kept block, and a file
// cut short after its header was read fails with the read error and leaves
// the output empty.
TEST_F(FormatsTest, IqbinWholeReadsOfLargeFiles) {
  constexpr int kLarge = 1500007;  // 12 MB of samples, not a whole number of pages
  struct Case {
    int version;
    int points;
  } cases[] = {{1, kLarge}, {2, kLarge}, {1, kLarge}, {1, 300001}};
  CLumvardBinFile f;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "version " << c.version << ", " << c.points << " points");
    WriteV1(P("large.iqbin"), c.points, 1e6, 0.0);
    if (c.version == 2) {
      // The same samples behind the 1024-byte header extra of version 2.
      const std::string v1 = Slurp(dir_ / "large.iqbin");
      std::string v2 = v1.substr(0, 32) + std::string(1024, '\0') + v1.substr(32);
      const int32_t two = 2;
      std::memcpy(v2.data(), &two, 4);
      std::ofstream(P("large.iqbin"), std::ios::binary) << v2;
    }
    f.SetFileName(W("large.iqbin").c_str());
    CQFileInfo info;
    f.GetFileInfo(f.GetFileNameUtf8(), &info);
    ASSERT_EQ(info.numPoints, c.points);
    f.partialRead = false;
    f.ReadFromFile();
    const CQCArrayTD* out = f.GetOutput();
    ASSERT_EQ(out->GetNumPoints(), c.points);
    EXPECT_EQ(FirstWrongSample(*out), -1);
    EXPECT_EQ(out->GetSampleRate(), 1e6);
  }

  WriteV1(P("cut.iqbin"), kLarge, 1e6, 0.0);
  CLumvardBinFile g;
  g.SetFileName(W("cut.iqbin").c_str());
  CQFileInfo info;
  g.GetFileInfo(g.GetFileNameUtf8(), &info);
  fs::resize_file(dir_ / "cut.iqbin", 32 + 8 * (kLarge - 1));
  const auto e = Catch([&] { g.ReadFromFile(); });
  EXPECT_EQ(e.message, "Error reading the data from an IQ binary file.");
  ASSERT_NE(g.GetOutput(), nullptr);
  EXPECT_EQ(g.GetOutput()->GetNumPoints(), 0);
}
