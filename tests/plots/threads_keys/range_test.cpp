// Recalled values the windows would not accept keep the current value. Each
// case takes a window's own saved file, spoils one or two values in it (not a
// number, infinite, a count below 1, an unknown type, a minimum above its
// maximum, an inverted rectangle) and recalls it: every other value is the
// window's own, so the window must save the very same file again.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/spectral/acpr.h"
#include "core/spectral/avg_spectrum.h"
#include "core/spectral/power_in_band.h"
#include "keys_fixture.h"
#include "plots/threads/plot_settings_keys.h"

namespace lv_keys_test {
namespace {

enum class Kind { kTD, kSpectrumACPR, kSpectrumPiB, kPers, kSpgm };

struct Case {
  Kind kind;
  // Key names (without the prefix) and the value text written in their place.
  std::vector<std::pair<std::string, std::string>> spoiled;
};

const Case kCases[] = {
    // Time domain.
    {Kind::kTD, {{"Xscale min value", "nan"}}},
    {Kind::kTD, {{"Xscale max value", "inf"}}},
    {Kind::kTD, {{"Xscale min value", "-inf"}, {"Xscale max value", "inf"}}},
    {Kind::kTD, {{"Xscale min value", "5"}, {"Xscale max value", "1"}}},
    {Kind::kTD, {{"Yscale min value", "4"}, {"Yscale max value", "4"}}},
    {Kind::kTD, {{"Yscale max value", "nan"}}},
    {Kind::kTD, {{"Plot type", "9"}}},
    {Kind::kTD, {{"Plot type", "-1"}}},
    {Kind::kTD, {{"Plot type", "6"}}},
    {Kind::kTD, {{"Window rect", "300 300 100 100"}}},
    {Kind::kTD, {{"Window rect", "60 50 60 650"}}},
    // Spectrum: the averager and the y scale.
    {Kind::kSpectrumACPR, {{"Num freqs", "-5"}}},
    {Kind::kSpectrumACPR, {{"Num freqs", "1"}}},
    {Kind::kSpectrumACPR, {{"Start freq", "nan"}}},
    {Kind::kSpectrumACPR, {{"Start freq", "3e6"}}},
    {Kind::kSpectrumACPR, {{"Stop freq", "inf"}}},
    {Kind::kSpectrumACPR, {{"RBW", "0"}}},
    {Kind::kSpectrumACPR, {{"RBW", "-1000"}}},
    {Kind::kSpectrumACPR, {{"RBW", "nan"}}},
    {Kind::kSpectrumACPR, {{"RBW", "inf"}}},
    {Kind::kSpectrumACPR, {{"Num avgs", "0"}}},
    {Kind::kSpectrumACPR, {{"Num avgs", "-7"}}},
    {Kind::kSpectrumACPR, {{"Yscale min value", "20"}, {"Yscale max value", "-20"}}},
    {Kind::kSpectrumACPR, {{"Yscale min value", "-inf"}}},
    // Spectrum: the ACPR band set.
    {Kind::kSpectrumACPR, {{"ACPR center offset", "nan"}}},
    {Kind::kSpectrumACPR, {{"ACPR center BW", "0"}}},
    {Kind::kSpectrumACPR, {{"ACPR center BW", "-1e6"}}},
    {Kind::kSpectrumACPR, {{"ACPR adjacent offset", "inf"}}},
    {Kind::kSpectrumACPR, {{"ACPR adjacent BW", "nan"}}},
    {Kind::kSpectrumACPR, {{"ACPR adjacent2 offset", "-inf"}}},
    {Kind::kSpectrumACPR, {{"ACPR adjacent2 BW", "-5"}}},
    {Kind::kSpectrumACPR, {{"ACPR extra offset", "nan"}}},
    {Kind::kSpectrumACPR, {{"ACPR extra BW", "0"}}},
    {Kind::kSpectrumACPR, {{"ACPR avg factor", "0"}}},
    {Kind::kSpectrumACPR, {{"ACPR avg factor", "-3"}}},
    // Spectrum: the power-in-band list.
    {Kind::kSpectrumPiB, {{"PiB num bands", "-1"}}},
    {Kind::kSpectrumPiB, {{"PiB num bands", "0"}}},
    {Kind::kSpectrumPiB, {{"PiB band0 freq", "nan"}}},
    {Kind::kSpectrumPiB, {{"PiB band0 BW", "0"}}},
    {Kind::kSpectrumPiB, {{"PiB band0 avg factor", "-1"}}},
    {Kind::kSpectrumPiB, {{"PiB band1 freq", "inf"}}},
    {Kind::kSpectrumPiB, {{"PiB band1 BW", "-2e5"}}},
    // Persistence spectrum.
    {Kind::kPers, {{"Power scale min", "nan"}}},
    {Kind::kPers, {{"Power scale max", "-inf"}}},
    {Kind::kPers, {{"Power scale min", "10"}, {"Power scale max", "-10"}}},
    {Kind::kPers, {{"Power scale min", "20"}}},
    {Kind::kPers, {{"Freq min", "inf"}}},
    {Kind::kPers, {{"Freq min", "5e6"}, {"Freq max", "-5e6"}}},
    {Kind::kPers, {{"RBW", "-1"}}},
    {Kind::kPers, {{"RBW", "nan"}}},
    {Kind::kPers, {{"Persistence type", "4"}}},
    {Kind::kPers, {{"Persistence type", "-1"}}},
    {Kind::kPers, {{"Num spectra", "0"}}},
    {Kind::kPers, {{"Num spectra", "-3"}}},
    // Spectrogram.
    {Kind::kSpgm, {{"Power scale min", "nan"}}},
    {Kind::kSpgm, {{"Power scale min", "0"}, {"Power scale max", "-50"}}},
    {Kind::kSpgm, {{"Time range", "0"}}},
    {Kind::kSpgm, {{"Time range", "-1e-3"}}},
    {Kind::kSpgm, {{"Time range", "inf"}}},
    {Kind::kSpgm, {{"Start freq", "nan"}}},
    {Kind::kSpgm, {{"Start freq", "3e6"}}},
    {Kind::kSpgm, {{"RBW", "0"}}},
    {Kind::kSpgm, {{"RBW", "-inf"}}},
    {Kind::kSpgm, {{"DSP window", "0"}}},
    {Kind::kSpgm, {{"DSP window", "9"}}},
    {Kind::kSpgm, {{"Window rect", "10 10 10 10"}}},
};

const char* Prefix(Kind kind) {
  switch (kind) {
    case Kind::kTD: return "PlotTD1:";
    case Kind::kSpectrumACPR:
    case Kind::kSpectrumPiB: return "PlotSpectrum1:";
    case Kind::kPers: return "PlotPersSpec1:";
    case Kind::kSpgm: return "PlotSpgm1:";
  }
  return "";
}

std::wstring WidePrefix(Kind kind) {
  const std::string p = Prefix(kind);
  return std::wstring(p.begin(), p.end());
}

// Replaces the value of prefix + key (the text between " = " and the line
// end); false when the file has no such line.
bool Spoil(std::string& file, const std::string& prefix, const std::string& key, const std::string& text) {
  const std::string head = "\n" + prefix + key + " = ";
  const size_t at = file.find(head);
  if (at == std::string::npos) return false;
  const size_t from = at + head.size();
  const size_t end = file.find("\r\n", from);
  file.replace(from, end - from, text);
  return true;
}

class RecallRange : public PlotKeys {
 protected:
  // A shown window of the kind with valid values away from the defaults,
  // saved; the file's bytes.
  std::string MakeAndSave(Kind kind, const std::string& name) {
    const std::wstring prefix = WidePrefix(kind);
    switch (kind) {
      case Kind::kTD: {
        td_ = MakeTD(lv::Rect{50, 60, 650, 460});
        td_->xMin = -1.0;
        td_->xMax = 2.0;
        td_->xAutoScale = false;
        td_->yMin = -3.0;
        td_->yMax = 4.0;
        td_->SetPlotType(1);
        SetShown(*td_->Window(), true);
        return SaveBytes<CWPlotCTDWndw>(SavePlotTDSettings, *td_, prefix, name);
      }
      case Kind::kSpectrumACPR:
      case Kind::kSpectrumPiB: {
        sa_ = MakeSA(lv::Rect{70, 80, 770, 580});
        CQAvgSpectrum& a = sa_->Model().AvgSpectrum();
        a.SetAutoNumFreqs(false);
        a.SetNumFreqs(501);
        a.SetAutoFreqLimits(false);
        a.SetFreqLimits(-2e6, 2e6);
        a.SetAutoRBW(false);
        a.SetRBW(1e4);
        a.SetAutoNumAvgs(false);
        a.SetNumAvgs(10);
        sa_->yMin = -100.0;
        sa_->yMax = 10.0;
        if (kind == Kind::kSpectrumACPR) {
          sa_->Model().acprOn = true;
          CQACPRMeasBands& b = sa_->Model().ACPRBands();
          b.centerBW = 1.25e6;
          b.adjacent2On = true;
          b.extraOn = true;
          b.avgOn = true;
          b.avgFactor = 5;
        } else {
          sa_->Model().pibOn = true;
          CQPiBMeasBandList& list = sa_->Model().PiBBands();
          list.SetSize(2);
          CQPiBMeasBand b0;
          b0.on = true;
          b0.freq = 1e5;
          b0.bandwidth = 2e5;
          b0.avgOn = true;
          b0.avgFactor = 3;
          CQPiBMeasBand b1;
          b1.on = true;
          b1.freq = -3e5;
          b1.bandwidth = 4e5;
          list.SetItem(0, &b0);
          list.SetItem(1, &b1);
        }
        sa_->bottomMargin = sa_->defaultBottomMargin + 36;
        SetShown(*sa_->Window(), true);
        return SaveBytes<CWPlotSAWndw>(SavePlotSpectrumSettings, *sa_, prefix, name);
      }
      case Kind::kPers: {
        pers_ = MakePers(lv::Rect{20, 30, 820, 630});
        CWPersSpecSettings s;
        s.minPower = -80.5f;
        s.maxPower = 12.25f;
        s.autoFreqRange = false;
        s.startFreq = -2e6;
        s.stopFreq = 3e6;
        s.autoRBW = false;
        s.rbw = 2e4;
        s.persistenceType = 2;
        s.overlayTrace = false;
        s.spectraPerInput = 24;
        pers_->StoreSettings(s);
        SetShown(*pers_->Window(), true);
        return SaveBytes<CWPlotPersSpecWndw>(SavePlotPersSpecSettings, *pers_, prefix, name);
      }
      case Kind::kSpgm: {
        spgm_ = MakeSpgm(lv::Rect{100, 90, 700, 590});
        spgm_->minPower = -90.0f;
        spgm_->maxPower = -10.0f;
        spgm_->autoTimeRange = false;
        spgm_->timeRange = 2e-3;
        spgm_->autoFreqRange = false;
        spgm_->startFreq = -1e6;
        spgm_->stopFreq = 2e6;
        spgm_->autoRBW = false;
        spgm_->rbw = 3e4;
        spgm_->windowShape = 6;
        SetShown(*spgm_->Window(), true);
        return SaveBytes<CWPlotSpgmWndw>(SavePlotSpgmSettings, *spgm_, prefix, name);
      }
    }
    return {};
  }

  std::string RecallAndSave(Kind kind, const std::string& from, const std::string& name) {
    const std::wstring prefix = WidePrefix(kind);
    switch (kind) {
      case Kind::kTD:
        RecallFrom<CWPlotCTDWndw>(RecallPlotTDSettings, *td_, prefix, from);
        return SaveBytes<CWPlotCTDWndw>(SavePlotTDSettings, *td_, prefix, name);
      case Kind::kSpectrumACPR:
      case Kind::kSpectrumPiB:
        RecallFrom<CWPlotSAWndw>(RecallPlotSpectrumSettings, *sa_, prefix, from);
        return SaveBytes<CWPlotSAWndw>(SavePlotSpectrumSettings, *sa_, prefix, name);
      case Kind::kPers:
        RecallFrom<CWPlotPersSpecWndw>(RecallPlotPersSpecSettings, *pers_, prefix, from);
        return SaveBytes<CWPlotPersSpecWndw>(SavePlotPersSpecSettings, *pers_, prefix, name);
      case Kind::kSpgm:
        RecallFrom<CWPlotSpgmWndw>(RecallPlotSpgmSettings, *spgm_, prefix, from);
        return SaveBytes<CWPlotSpgmWndw>(SavePlotSpgmSettings, *spgm_, prefix, name);
    }
    return {};
  }

  void TearDown() override {
    td_.reset();
    sa_.reset();
    pers_.reset();
    spgm_.reset();
    PlotKeys::TearDown();
  }

  std::unique_ptr<CWPlotCTDWndw> td_;
  std::unique_ptr<CWPlotSAWndw> sa_;
  std::unique_ptr<CWPlotPersSpecWndw> pers_;
  std::unique_ptr<CWPlotSpgmWndw> spgm_;
};

TEST_F(RecallRange, AnInvalidValueKeepsTheCurrentOne) {
  int index = 0;
  for (const Case& c : kCases) {
    std::string label = std::string(Prefix(c.kind));
    for (const auto& [key, text] : c.spoiled) label += " " + key + " = " + text + ";";
    SCOPED_TRACE(label);
    const std::string saved = "saved" + std::to_string(index) + ".txt";
    const std::string spoiled = "spoiled" + std::to_string(index) + ".txt";
    const std::string again = "again" + std::to_string(index) + ".txt";
    ++index;

    const std::string original = MakeAndSave(c.kind, saved);
    std::string bytes = original;
    for (const auto& [key, text] : c.spoiled) {
      ASSERT_TRUE(Spoil(bytes, Prefix(c.kind), key, text)) << key << " is not in the saved file";
    }
    ASSERT_NE(bytes, original);
    {
      std::ofstream out(Path(spoiled), std::ios::binary);
      out << bytes;
    }
    EXPECT_EQ(RecallAndSave(c.kind, spoiled, again), original);
  }
}

// The spoiled values above are refused; the same keys with valid values are
// taken (so the refusals are not a recall that reads nothing).
TEST_F(RecallRange, TheSameKeysWithValidValuesAreTaken) {
  struct Good {
    Kind kind;
    std::string key;
    std::string text;
  };
  const Good goods[] = {
      {Kind::kTD, "Plot type", "5"},
      {Kind::kTD, "Xscale min value", "-1.5000000000000000e+00"},
      {Kind::kSpectrumACPR, "Num freqs", "2"},
      {Kind::kSpectrumACPR, "RBW", "5.0000000000000000e+03"},
      {Kind::kSpectrumACPR, "Num avgs", "1"},
      {Kind::kSpectrumACPR, "ACPR avg factor", "1"},
      {Kind::kSpectrumACPR, "ACPR extra offset", "-7.5000000000000000e+06"},
      {Kind::kSpectrumPiB, "PiB band1 BW", "1.0000000000000000e+03"},
      {Kind::kPers, "Persistence type", "0"},
      {Kind::kPers, "Num spectra", "1"},
      {Kind::kSpgm, "DSP window", "8"},
      {Kind::kSpgm, "Time range", "9.7656250000000000e-04"},
  };
  int index = 0;
  for (const Good& g : goods) {
    SCOPED_TRACE(std::string(Prefix(g.kind)) + g.key + " = " + g.text);
    const std::string n = std::to_string(index++);
    std::string bytes = MakeAndSave(g.kind, "saved" + n + ".txt");
    ASSERT_TRUE(Spoil(bytes, Prefix(g.kind), g.key, g.text));
    {
      std::ofstream out(Path("good" + n + ".txt"), std::ios::binary);
      out << bytes;
    }
    const std::string after = RecallAndSave(g.kind, "good" + n + ".txt", "again" + n + ".txt");
    EXPECT_NE(after.find(std::string(Prefix(g.kind)) + g.key + " = " + g.text + "\r\n"), std::string::npos)
        << after;
  }
}

}  // namespace
}  // namespace lv_keys_test
