// lv_engine_pass: a developer tool, not part of the program. It starts the
// real data-manager, instrument-manager and engine threads as the program
// does, recalls one settings file into all three (the board's address, model
// and rate, the input files and the processing settings), runs one Start and
// prints what the pass sent: each active transmitter's processed waveform as
// handed to the board and the plots, the status texts, the connection
// description and any error shown. Then it disconnects the board and ends.
//
//   lv_engine_pass SETTINGS_FILE [BASEBAND_FOLDER]
//
// BASEBAND_FOLDER holds the AD9361-family filter files ("AD9361_2Msps.ftr",
// ...); it defaults to the settings file's folder. Exit status 0 when the pass
// ended without an error, 1 otherwise, 2 on a usage error.
// tools/engine-pass-on-fake-board runs it against the fake board.
#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/engine_thread.h"
#include "workers/settings_file.h"
#include "core/arrays/carray.h"
#include "core/error.h"
#include "core/error_dialog.h"
#include "core/processing/sample_rate_mgr_settings.h"
#include "iqfiles/manager/data_manager_thread.h"
#include "platform/status_sink.h"
#include "platform/text.h"
#include "platform/ui_post.h"
#include "cpu/dispatch.h"
#include "xcvr/instr_thread.h"

namespace {

std::mutex g_print;

// printf to standard output, one whole call at a time (workers print too).
void Print(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Print(const char* format, ...) {
  std::lock_guard<std::mutex> lock(g_print);
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::fflush(stdout);
}

// Prints every status text the engine and the instrument manager set.
class PrintingStatusBar : public lv::StatusSink {
 public:
  void SetPaneText(int pane, const wchar_t* text) override {
    const std::string t = lv::WideToUtf8(text != nullptr ? text : L"");
    if (t == " " || t.empty()) return;  // blanking
    Print("status pane %d: %s\n", pane, t.c_str());
  }
};

// Stands where a transmitter's time-domain plot thread stands: takes the
// processed waveform with set id 1 (a copy, as a plot does) and prints it.
class PrintingPlot : public CWUIThread {
 public:
  explicit PrintingPlot(int transmitter) : CWUIThread("PrintingPlot"), transmitter_(transmitter) {}
  ~PrintingPlot() override { StopAndJoin(); }

 protected:
  void OnMsgSetParam(CWGetSetData& r) override {
    if (r.paramId != kPlotSetData) throw new CQError("Unknown parameter type.");
    CQCArrayTD copy;
    copy.Set(r.GetArrayTD());
    const int n = copy.GetNumPoints();
    const CQComplex* p = copy.GetDataPtr();
    double peak = 0.0;
    double power = 0.0;
    for (int k = 0; k < n; ++k) {
      const double m2 = static_cast<double>(p[k].re) * p[k].re + static_cast<double>(p[k].im) * p[k].im;
      power += m2;
      peak = std::max(peak, std::sqrt(m2));
    }
    std::string first;
    for (int k = 0; k < n && k < 4; ++k) {
      first += lv::FormatC(" (%.6f, %.6f)", static_cast<double>(p[k].re), static_cast<double>(p[k].im));
    }
    Print("transmitter %d: %d samples at %.6f Msps, centre %.6f MHz, peak magnitude %.6f, rms %.6f\n"
          "transmitter %d: first samples%s\n",
          transmitter_ + 1, n, copy.GetSampleRate() / 1e6, copy.GetCenterFreq() / 1e6, peak,
          n > 0 ? std::sqrt(power / n) : 0.0, transmitter_ + 1, first.c_str());
  }

 private:
  int transmitter_;
};

std::string Steps(const CQSampleRateMgrSettings& s) {
  std::string t;
  if (s.interpolationOn) t += lv::FormatC(" interpolate x%d", s.interpolationRate);
  if (s.decimationOn) t += lv::FormatC(" decimate /%d", s.decimationRate);
  if (s.arbResampleOn) t += lv::FormatC(" resample to %.6f Msps", s.outputSampleRate / 1e6);
  if (s.freqShiftOn) t += lv::FormatC(" shift %.3f kHz", s.freqShift / 1e3);
  if (s.timeShiftOn) t += lv::FormatC(" delay %.9g s", s.timeDelay);
  if (s.phaseAdjustOn) t += lv::FormatC(" phase %.3f deg", static_cast<double>(s.phaseDeg));
  if (s.filterOn) t += lv::FormatC(" low-pass type %d", s.filterType);
  if (s.gainAdjustOn) t += lv::FormatC(" gain %.3f dB", static_cast<double>(s.gainDb));
  if (s.noiseOn) t += lv::FormatC(" noise %.3f dBm/Hz", static_cast<double>(s.noiseLevel));
  if (s.samplesLimitOn) t += lv::FormatC(" limit %d samples", s.maxSamples);
  return t.empty() ? " none" : t;
}

// Handles window messages until count messages of id have arrived.
bool WaitForReplies(lv::HeadlessUiLoop& ui, uint32_t id, int count) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  int seen = 0;
  while (seen < count && std::chrono::steady_clock::now() < until) {
    ui.RunOne([&](const lv::UiMessage& m) { seen += m.id == id ? 1 : 0; }, 100);
  }
  return seen >= count;
}

int Run(const std::filesystem::path& settingsFile, const std::filesystem::path& basebandDir) {
  lv::HeadlessUiLoop ui;
  lv::SetUiPostTarget(&ui);
  int errors = 0;
  SetErrorPresenter([&](CQErrorDlg& dlg) {
    ++errors;
    for (const auto& line : dlg.Lines()) Print("error: %s\n", lv::WideToUtf8(line).c_str());
  });

  PrintingStatusBar statusBar;
  CWMultiDataMgrThread data;
  CWInstrIIOMultiXcvrMgrThread instr(4, 4);
  std::vector<std::unique_ptr<PrintingPlot>> plots;
  CWEngineLinks links;
  links.dataManager = &data;
  links.instrumentManager = &instr;
  for (int i = 0; i < 4; ++i) {
    plots.push_back(std::make_unique<PrintingPlot>(i));
    links.plots.push_back({plots.back().get(), nullptr, nullptr, nullptr});
  }
  CWSorvekEngineThread engine(4, 4, links);
  if (!data.StartUIThread() || !instr.StartUIThread() || !engine.StartUIThread()) {
    Print("error: a worker thread did not start\n");
    return 1;
  }
  for (auto& p : plots) p->StartUIThread();
  int result = 0;
  try {
    instr.SetParam(static_cast<void*>(static_cast<lv::StatusSink*>(&statusBar)), kInstrSetStatusSink);
    engine.SetParam(static_cast<void*>(static_cast<lv::StatusSink*>(&statusBar)), kEngineParamStatusBar);
    instr.SetParam(lv::Utf8ToWide(basebandDir.string()).c_str(), kInstrSetBasebandDir);

    CQAppSettings store;
    store.SetFileName(settingsFile);
    // One worker at a time, as the program's recall chain hands the store on:
    // the store's section cache serves one reader only.
    for (CWUIThread* worker : std::initializer_list<CWUIThread*>{&data, &instr, &engine}) {
      worker->PutMessage(kMsgRecallSettings, &store);
      if (!WaitForReplies(ui, kWmWorkerRecalled, 1)) throw new CQError("The recall did not finish.");
    }
    if (errors > 0) throw new CQError("The settings file could not be recalled.");

    void* p = nullptr;
    instr.GetParam(&p, kInstrGetSettings);
    std::unique_ptr<CQInstrIIOMultiXcvrSettings> board(static_cast<CQInstrIIOMultiXcvrSettings*>(p));
    Print("settings %s\nboard: model %d, rate index %d, connection type %d, address \"%s\"\n",
          settingsFile.string().c_str(), board->model, board->rateIndex, board->connectionType,
          lv::WideToUtf8(board->GetIPAddress() != nullptr ? board->GetIPAddress() : L"").c_str());
    for (int i = 0; i < board->NumXmtrs(); ++i) {
      if (!board->Xmtr(i).on) continue;
      std::wstring file;
      data.GetParam(&file, CWMultiDataMgrThread::kParamFileName, i);
      void* q = nullptr;
      engine.GetParam(&q, kEngineParamProcessing, i);
      std::unique_ptr<CQSampleRateMgrSettings> chain(static_cast<CQSampleRateMgrSettings*>(q));
      Print("transmitter %d: on, centre %.6f MHz, file \"%s\", processing:%s\n", i + 1,
            board->Xmtr(i).centerFreq / 1e6, lv::WideToUtf8(file).c_str(), Steps(*chain).c_str());
    }

    Print("Start\n");
    engine.PutMessage(kMsgEngineStart, nullptr);
    int32_t state = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    do {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      engine.GetParam(&state, kEngineParamState);
    } while (state != kEngineStateIdle && std::chrono::steady_clock::now() < until);
    // An error of the pass is shown on the engine thread after its step ended.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (state != kEngineStateIdle) throw new CQError("The pass did not end within 60 s.");
    if (errors == 0) {
      float backoff = 0.0f;
      instr.GetParam(&backoff, kInstrGetBackoff);
      std::wstring description;
      instr.GetParam(&description, kInstrGetDescription);
      Print("pass ended: connection \"%s\", backoff %.2f dB\n", lv::WideToUtf8(description).c_str(),
            static_cast<double>(backoff));
    }
  } catch (CQError* e) {
    e->AddToCallStack("lv_engine_pass");
    ShowErrorDialog(e);
  }
  result = errors > 0 ? 1 : 0;
  // Let the board go, as Stop does, then end the workers in reverse order.
  instr.PutMessage(kMsgInstrDisconnect, nullptr);
  engine.StopAndJoin(10000);
  instr.StopAndJoin(10000);
  data.StopAndJoin(10000);
  for (auto& p : plots) p->StopAndJoin(10000);
  lv::SetUiPostTarget(nullptr);
  Print("%s\n", result == 0 ? "done" : "failed");
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  // libiio sends without MSG_NOSIGNAL: a board that drops the connection must
  // give an error, not end the process.
  std::signal(SIGPIPE, SIG_IGN);
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: lv_engine_pass SETTINGS_FILE [BASEBAND_FOLDER]\n");
    return 2;
  }
  InstallCQErrorNewHandler();
  InitProcessorDispatch();
  const std::filesystem::path settings = std::filesystem::absolute(argv[1]);
  const std::filesystem::path baseband = argc > 2 ? std::filesystem::path(argv[2]) : settings.parent_path();
  return Run(settings, baseband);
}
