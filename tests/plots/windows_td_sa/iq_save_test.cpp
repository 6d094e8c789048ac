// Saving the time-domain window's waveform as an IQ file: one writer per final
// extension, read back through the data manager (the .iqtxt format, which the
// data manager does not read, is parsed here), refusals, and the save
// dialog's renaming by file type.
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/arrays/carray.h"
#include "iqfiles/manager/data_manager.h"
#include "platform/text.h"
#include "plots/plot2d.h"
#include "platform/gui/gui_runtime.h"
#include "platform/gui/test_hooks.h"
#include "platform/gui/typed_save_dialog.h"
#include "plots/windows/iq_save.h"
#include "plots/windows/iq_save_dialog.h"
#include "plots/windows/time_domain_model.h"
#include "support/errors.h"
#include "support/gui_app.h"

namespace {

namespace fs = std::filesystem;
using M = CQMultiDataMgr;

constexpr int kN = 300;
constexpr double kRate = 10e6;
constexpr double kCentre = 2.45e9;

std::unique_ptr<CQCArrayTD> Waveform() {
  std::vector<CQComplex> v(kN);
  for (int k = 0; k < kN; ++k) {
    const double ph = 2.0 * M_PI * 1e6 * k / kRate;
    const double a = 0.2 + 0.6 * k / kN;  // a ramped tone: every sample differs
    v[k] = CQComplex(static_cast<float>(a * std::cos(ph)), static_cast<float>(-a * std::sin(ph)));
  }
  auto w = std::make_unique<CQCArrayTD>();
  w->Set(v.data(), kN, kRate, 0.0);
  w->SetCenterFreq(kCentre);
  return w;
}

class IQSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& ch : test) {
      if (ch == '/') ch = '_';  // parameterised tests
    }
    dir_ = fs::temp_directory_path() / ("lv_iqsave_" + std::to_string(::getpid()) + "_" + test);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::wstring W(const std::string& name) const { return lv::Utf8ToWide((dir_ / name).string()); }
  size_t FileCount() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  // The time-domain window's state after a waveform was drawn in a plot type.
  void Draw(int type) {
    model_.plotType = type;
    model_.SetData(wave_.get());
    ASSERT_TRUE(model_.BuildDatasets(plot_));
  }

  fs::path dir_;
  std::unique_ptr<CQCArrayTD> wave_ = Waveform();
  CWPlot2D plot_;
  CWTimeDomainModel model_;
};

TEST(IQSaveFormat, FinalExtensionChoosesOneWriter) {
  struct Case {
    const wchar_t* path;
    IQSaveFormat format;
  };
  const Case cases[] = {
      {L"/d/a.iqbin", IQSaveFormat::kIQBin},
      {L"/d/A.IQBIN", IQSaveFormat::kIQBin},
      {L"/d/a.iqtxt", IQSaveFormat::kIQTxt},
      {L"/d/a.WVD", IQSaveFormat::kRSWvdh},
      {L"/d/a.wvh", IQSaveFormat::kRSWvdh},
      {L"/d/a.wv", IQSaveFormat::kRSWv},
      {L"/d/a.Txt", IQSaveFormat::kADIVSATxt},
      // Only the final extension counts: one file, one format.
      {L"/d/a.iqbin.txt", IQSaveFormat::kADIVSATxt},
      {L"/d/a.wv.iqtxt", IQSaveFormat::kIQTxt},
      {L"/d/a.iqbin.wvd", IQSaveFormat::kRSWvdh},
      {L"/d/a.wvdx", IQSaveFormat::kNone},
      {L"/d/a.dat", IQSaveFormat::kNone},
      {L"/d/a.bin", IQSaveFormat::kNone},
      {L"/d/noext", IQSaveFormat::kNone},
      {L"/d.iqbin/noext", IQSaveFormat::kNone},
      {L"", IQSaveFormat::kNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IQSaveFormatOf(c.path), c.format) << lv::WideToUtf8(c.path);
  }
  EXPECT_EQ(IQSaveFormatOf(nullptr), IQSaveFormat::kNone);
}

// Reads a file back through the data manager as the engine does.
std::unique_ptr<CQFileDataBlock> ReadBack(const std::wstring& name, int32_t txtType) {
  M m;
  m.SetTxtFileType(txtType, 0);
  m.SetIQFileName(name.c_str(), 0);
  std::unique_ptr<CQFileInfo> info(m.GetIQFileInfo(name.c_str(), 0));
  auto block = std::make_unique<CQFileDataBlock>();
  block->partialRead = false;
  block->start = 0;
  block->count = static_cast<int32_t>(info->numPoints);
  m.ReadFileData(block.get(), 0);
  return block;
}

TEST_F(IQSaveTest, RoundTripsThroughEveryWriterAndTheDataManager) {
  struct Case {
    const char* name;
    int32_t txtType;      // how the data manager is told to read a .txt file
    float tolerance;      // of each sample part (16-bit formats quantise)
    bool keepsCentre;
    bool normalised;  // the format keeps no scale: the largest I or Q reads 1
    std::vector<const char*> files;  // what appears in the folder
  };
  // 16-bit formats: one step of the peak magnitude (0.8, times sqrt 2 for the
  // R&S level) plus the level's rounding to 0.01 dB in the header.
  constexpr float k16Bit = 0.8f * 1.4143f / 32767.0f;
  const Case cases[] = {
      {"a.iqbin", 0, 0.0f, true, false, {"a.iqbin"}},
      {"b.wvd", 0, k16Bit, true, false, {"b.wvd", "b.wvh"}},
      {"c.wvh", 0, k16Bit, true, false, {"c.wvd", "c.wvh"}},
      {"d.wv", 0, k16Bit, true, true, {"d.wv"}},
      {"e.txt", M::kTypeAdiVsaTxt, 1e-6f, false, false, {"e.txt"}},
  };
  // Whatever the plot type, the complex samples are saved, not the plotted values.
  Draw(0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring name = W(c.name);
    auto err = lv_test::Catch([&] { model_.SaveIQDataToFile(name.c_str(), plot_.hasData); });
    ASSERT_FALSE(err.thrown) << err.message << err.callStack;
    for (const char* f : c.files) {
      EXPECT_TRUE(fs::exists(dir_ / f)) << f;
    }
    std::unique_ptr<CQFileDataBlock> block;
    err = lv_test::Catch([&] { block = ReadBack(name, c.txtType); });
    ASSERT_FALSE(err.thrown) << err.message << err.callStack;
    ASSERT_EQ(block->samples->GetNumPoints(), kN);
    EXPECT_NEAR(block->sampleRate, kRate, kRate * 1e-6);
    if (c.keepsCentre) {
      EXPECT_DOUBLE_EQ(block->centerFreq, kCentre);
    }
    float peak = 0.0f;
    for (int k = 0; k < kN; ++k) {
      peak = std::max({peak, std::fabs(wave_->GetDataPtr()[k].re), std::fabs(wave_->GetDataPtr()[k].im)});
    }
    for (int k = 0; k < kN; ++k) {
      CQComplex got = block->samples->GetDataPtr()[k];
      if (c.normalised) {
        got = CQComplex(got.re * peak, got.im * peak);
      }
      const CQComplex want = wave_->GetDataPtr()[k];
      if (c.tolerance == 0.0f) {
        ASSERT_EQ(got, want) << k;
      } else {
        ASSERT_NEAR(got.re, want.re, c.tolerance + std::fabs(want.re) * 6e-4f) << k;
        ASSERT_NEAR(got.im, want.im, c.tolerance + std::fabs(want.im) * 6e-4f) << k;
      }
    }
  }
  EXPECT_EQ(FileCount(), 7u);
}

TEST_F(IQSaveTest, IqtxtHoldsEverySampleAsText) {
  Draw(4);
  const std::wstring name = W("s.iqtxt");
  model_.SaveIQDataToFile(name.c_str(), plot_.hasData);
  std::ifstream in(dir_ / "s.iqtxt");
  std::string line;
  std::vector<CQComplex> samples;
  while (std::getline(in, line)) {
    float re = 0.0f, im = 0.0f;
    char extra = 0;
    if (std::sscanf(line.c_str(), "%e %e %c", &re, &im, &extra) == 2 && line.find('e') != std::string::npos) {
      samples.emplace_back(re, im);
    }
  }
  ASSERT_EQ(samples.size(), static_cast<size_t>(kN));
  for (int k = 0; k < kN; ++k) {
    EXPECT_NEAR(samples[k].re, wave_->GetDataPtr()[k].re, 1e-6f) << k;
    EXPECT_NEAR(samples[k].im, wave_->GetDataPtr()[k].im, 1e-6f) << k;
  }
  EXPECT_EQ(FileCount(), 1u);
}

TEST_F(IQSaveTest, RefusalsWriteNothingAndSaySo) {
  // An unknown extension: a message, no file.
  Draw(1);
  for (const char* name : {"x.dat", "x.bin", "x", "x.wvdh"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(lv_test::ThrowsError([&] { model_.SaveIQDataToFile(W(name).c_str(), true); },
                                     kIQSaveUnknownTypeMessage, "SaveIQData\nCWPlotCTDWndw::SaveIQDataToFile\n"));
  }
  EXPECT_TRUE(lv_test::ThrowsError([&] { model_.SaveIQDataToFile(nullptr, true); }, "Null pointer to file name."));
  // No data in the plot, or no input: a message, no file.
  EXPECT_TRUE(lv_test::ThrowsError([&] { model_.SaveIQDataToFile(W("y.iqbin").c_str(), false); },
                                   kIQSaveNoDataMessage));
  CWTimeDomainModel fresh;
  EXPECT_TRUE(lv_test::ThrowsError([&] { fresh.SaveIQDataToFile(W("y.iqbin").c_str(), true); },
                                   kIQSaveNoDataMessage));
  EXPECT_EQ(FileCount(), 0u);
  // A folder that does not exist: the writer's own error comes through.
  const auto e = lv_test::Catch([&] { model_.SaveIQDataToFile(W("no/such/z.iqbin").c_str(), true); });
  EXPECT_TRUE(e.thrown);
  EXPECT_NE(e.callStack.find("CWPlotCTDWndw::SaveIQDataToFile"), std::string::npos);
}

TEST(IQSaveDialog, FileTypeChoiceRenamesTheTypedName) {
  struct Case {
    const wchar_t* typed;
    int index;
    const wchar_t* result;
  };
  const Case cases[] = {
      {L"capture.bin", 3, L"capture.iqtxt"},
      {L"capture.bin", 1, L"capture.bin"},
      {L"capture", 2, L"capture.iqbin"},
      {L"a.b.c", 4, L"a.b.wvd"},
      {L"IQ data.iqbin", 5, L"IQ data.wv"},
      {L"IQ data.iqbin", 6, L"IQ data.txt"},
      {L"", 3, L""},
      {L"keep.bin", 7, L"keep.bin"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IQSaveNameForFilter(c.typed, c.index), c.result) << lv::WideToUtf8(c.typed) << " " << c.index;
  }
}

}  // namespace

namespace {

// The "Save IQ Data..." command with its dialog answered as a person would.
class IQSaveCommand : public IQSaveTest {
 protected:
  void SetUp() override {
    IQSaveTest::SetUp();
    lv_test::EnsureGuiApplication();
    ASSERT_TRUE(lv::StartGuiRuntime());
  }
  void TearDown() override {
    lv::test_hooks::ClearAnswers();
    // The finished dialog is deleted by the event loop: let it go before the
    // runtime ends, or the next test's dialog meets it.
    lv::ServeGuiEvents(50);
    if (lv::IsGuiRuntimeStarted()) lv::ShutDownGuiRuntime();
    IQSaveTest::TearDown();
  }
};

// One dialog per test: each runs in a fresh window runtime.
struct SaveCase {
  const char* typed;
  int filter;            // the type entry picked (0: none)
  bool accept;
  const char* written;   // "" for nothing
  const char* message;   // the error shown, "" for none
};

class IQSaveCommandCase : public IQSaveCommand, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(IQSaveCommandCase, SavesInTheFormatOfTheChosenTypeOrSaysWhyNot) {
  const SaveCase& c = GetParam();
  Draw(0);
  lv_test::ShownErrors shown;
  lv::test_hooks::PushTypedSaveAnswer(W(c.typed), c.filter, c.accept);
  const bool wrote = RunSaveIQDataCommand(model_, plot_.hasData, dir_.wstring());
  EXPECT_EQ(wrote, *c.written != 0);
  EXPECT_EQ(FileCount(), *c.written != 0 ? 1u : 0u);
  if (*c.written) {
    EXPECT_TRUE(fs::exists(dir_ / c.written));
  }
  if (*c.message) {
    ASSERT_EQ(shown.Messages().size(), 1u);
    EXPECT_EQ(shown.Messages()[0], c.message);
    EXPECT_NE(shown.Entries()[0].callStack.find("CWPlotCTDWndw::OnPopupMenuSaveIQData"), std::string::npos);
  } else {
    EXPECT_TRUE(shown.Entries().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IQSaveCommandCase,
    ::testing::Values(SaveCase{"capture.bin", 3, true, "capture.iqtxt", ""},  // the third type gives .iqtxt
                      SaveCase{"first.iqbin", 1, true, "first.iqbin", ""},    // "All Supported Files": unchanged
                      SaveCase{"two.iqbin", 5, true, "two.wv", ""},
                      SaveCase{"three.x", 6, true, "three.txt", ""},
                      SaveCase{"four.iqbin", 2, false, "", ""},              // cancelled
                      SaveCase{"data.dat", 0, true, "", kIQSaveUnknownTypeMessage},
                      // "All Supported Files" keeps any supported extension the user typed.
                      SaveCase{"typed.wv", 1, true, "typed.wv", ""},
                      SaveCase{"typed.iqtxt", 1, true, "typed.iqtxt", ""},
                      SaveCase{"typed.txt", 1, true, "typed.txt", ""},
                      SaveCase{"kept.wv", 0, true, "kept.wv", ""},
                      SaveCase{"kept.iqtxt", 0, true, "kept.iqtxt", ""}));

TEST_F(IQSaveCommand, ANameThatWasNotTypedFollowsTheTypeFromItselfNotFromAnEarlierName) {
  // The name reaches the box without typing (a file clicked in the list): the
  // type change works on that name, not on the one typed or given before.
  const struct {
    const char* name;
    int filter;
    const char* written;
  } cases[] = {{"picked.wv", 1, "picked.wv"}, {"picked.wv", 3, "picked.iqtxt"}, {"picked.iqtxt", 2, "picked.iqbin"}};
  for (const auto& c : cases) {
    Draw(0);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    lv_test::ShownErrors shown;
    lv::test_hooks::PushTypedSaveAnswer(W(c.name), c.filter, true, false);
    EXPECT_TRUE(RunSaveIQDataCommand(model_, plot_.hasData, dir_.wstring())) << c.name;
    EXPECT_TRUE(fs::exists(dir_ / c.written)) << c.name << " -> " << c.written;
    EXPECT_EQ(FileCount(), 1u) << c.name;
    EXPECT_TRUE(shown.Entries().empty());
    lv::ServeGuiEvents(50);
  }
}

TEST_F(IQSaveCommand, WithoutDataNothingIsWrittenAndTheUserIsTold) {
  lv_test::ShownErrors shown;
  CWTimeDomainModel empty;
  lv::test_hooks::PushTypedSaveAnswer(W("none.iqbin"), 0, true);
  EXPECT_FALSE(RunSaveIQDataCommand(empty, false, dir_.wstring()));
  ASSERT_EQ(shown.Messages().size(), 1u);
  EXPECT_EQ(shown.Messages()[0], kIQSaveNoDataMessage);
  EXPECT_EQ(FileCount(), 0u);
}

}  // namespace
