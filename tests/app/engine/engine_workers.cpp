#include "tests/app/engine/engine_workers.h"

#include <chrono>
#include <thread>

#include "core/error.h"
#include "core/processing/freq_shift.h"
#include "core/processing/interpolate.h"
#include "iqfiles/formats/file_info.h"
#include "xcvr/instr_thread.h"

namespace lv_test {

std::vector<CQComplex> InterpolatedThenShifted(const std::vector<CQComplex>& in, double rate, int factor,
                                               double shiftHz) {
  CQCArrayTD a;
  a.Set(in.data(), static_cast<int>(in.size()), rate, 0.0);
  CQCInterpolate interpolate;
  if (!interpolate.SetInterpolationRate(factor)) return {};
  interpolate.Compute(&a);
  CQFrequencyShift shift;
  shift.Compute(interpolate.GetOutput(), shiftHz);
  const CQCArrayTD& out = *shift.GetOutput();
  return std::vector<CQComplex>(out.GetDataPtr(), out.GetDataPtr() + out.GetNumPoints());
}

void MemoryDataManager::SetWave(int i, std::vector<CQComplex> samples, double rate) {
  std::lock_guard<std::mutex> lock(mutex_);
  waves_.at(static_cast<size_t>(i)) = Wave{std::move(samples), rate, true};
}

void MemoryDataManager::OnMsgGetParam(CWGetSetData& r) {
  if (r.paramId != 7) throw new CQError("Unknown parameter type.");
  ++infoRequests;
  infoGate.Pass();
  std::lock_guard<std::mutex> lock(mutex_);
  const Wave& w = waves_.at(static_cast<size_t>(r.index));
  if (!w.present) throw new CQError("No input file selected.");
  auto* info = new CQFileInfo();
  info->numPoints = static_cast<int64_t>(w.samples.size());
  info->sampleRate = w.rate;
  r.SetFileInfo(info);
}

void MemoryDataManager::OnMsgSetParam(CWGetSetData& r) {
  if (r.paramId != 9) throw new CQError("Unknown parameter type.");
  ++readRequests;
  std::lock_guard<std::mutex> lock(mutex_);
  const Wave& w = waves_.at(static_cast<size_t>(r.index));
  CQFileDataBlock* block = r.GetFileDataBlock();
  if (!w.present) throw new CQError("No input file selected.");
  if (failRead) throw new CQError("Error reading the data from an IQ binary file.");
  const int64_t end = block->start + block->count;
  if (block->start < 0 || block->count < 0 || end > static_cast<int64_t>(w.samples.size())) {
    throw new CQError("Read past the end of the file.");
  }
  block->samples->Set(w.samples.data() + block->start, block->count, w.rate, 0.0);
  block->numPoints = static_cast<int64_t>(w.samples.size());
  block->sampleRate = w.rate;
}

std::vector<std::vector<CQComplex>> TestPlotWorker::Computed() {
  std::lock_guard<std::mutex> lock(mutex_);
  return computed_;
}

bool TestPlotWorker::WaitComputed(size_t n, int timeoutMs) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Computed().size() < n) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

void TestPlotWorker::OnMessage(const CWThreadMessage& msg) {
  if (msg.id != 40) {
    CWUIThread::OnMessage(msg);
    return;
  }
  std::vector<CQComplex> copy(static_cast<size_t>(pending_.GetNumPoints()));
  for (int i = 0; i < pending_.GetNumPoints(); ++i) copy[static_cast<size_t>(i)] = pending_.GetDataPtr()[i];
  std::lock_guard<std::mutex> lock(mutex_);
  computed_.push_back(std::move(copy));
}

void TestPlotWorker::OnMsgSetParam(CWGetSetData& r) {
  if (r.paramId != 1) throw new CQError("Unknown parameter type.");
  if (!shown_) return;  // a hidden window takes nothing
  pending_.Set(r.GetArrayTD());
  // The requester is released when this handler returns; the plot is
  // computed afterwards, from the worker's own message.
  PutMessage(40, nullptr);
}

void TestPlotWorker::OnMsgGetParam(CWGetSetData& r) {
  if (r.paramId != 2) throw new CQError("Unknown parameter type.");
  r.SetBool(shown_);
}

void RecordingInstrument::SetXmtrOn(int i, bool on) {
  std::lock_guard<std::mutex> lock(mutex_);
  settings_.Xmtr(i).on = on;
  settings_.Xmtr(i).centerFreq = 1e6 * (i + 1);
}

void RecordingInstrument::OnMessage(const CWThreadMessage& msg) {
  if (msg.id == kMsgInstrDisconnect) {
    ++disconnects;
    return;
  }
  CWUIThread::OnMessage(msg);
}

void RecordingInstrument::OnMsgGetParam(CWGetSetData& r) {
  switch (r.paramId) {
    case kInstrGetSettings: {
      ++settingsRequests;
      settingsGate.Pass();
      std::lock_guard<std::mutex> lock(mutex_);
      r.SetPointer(new CQInstrIIOMultiXcvrSettings(settings_));
      return;
    }
    case kInstrGetTransmitNow:
      if (failTransmit) throw new CQError("Error creating transmit buffer.");
      ++transmits;
      r.SetBool(true);
      return;
    case kInstrGetDescription:
      r.SetStringCopy(L"LAN:test");
      return;
    case kInstrGetAutoBackoff:
      r.SetBool(autoBackoff);
      return;
    default:
      throw new CQError("Unknown parameter type.");
  }
}

void RecordingInstrument::OnMsgSetParam(CWGetSetData& r) {
  switch (r.paramId) {
    case kInstrSetXmtrData:
      ++dataSets;
      return;
    case kInstrSetAutoBackoff:
      ++autoBackoffSets;
      autoBackoff = r.boolValue;
      return;
    default:
      throw new CQError("Unknown parameter type.");
  }
}

}  // namespace lv_test
