#include "app/engine.h"

#include <climits>
#include <cwchar>
#include <string>

#include "workers/settings_file.h"
#include "workers/ui_thread.h"
#include "core/arrays/carray.h"
#include "core/error.h"
#include "core/processing/sample_rate_mgr.h"
#include "core/processing/sample_rate_mgr_settings.h"
#include "iqfiles/formats/file_info.h"
#include "platform/status_sink.h"
#include "xcvr/instr_settings.h"
#include "xcvr/instr_thread.h"
#include "xcvr/multi_xcvr.h"

// The processing chain refuses results the transmitter could not play.
static_assert(kMaxProcessedSamples == kMaxTransmitSamples);

namespace {

constexpr int kStatusPanes = 4;

void Require(CWUIThread* thread, const char* what) {
  if (thread == nullptr) {
    throw new CQError((std::string("Programming error: no ") + what + " thread.").c_str(),
                      "CWSorvekEngine::Execute");
  }
}

// "Xmtr:<i>:", the key prefix of transmitter i's processing settings.
struct XmtrPrefix {
  explicit XmtrPrefix(int i) { std::swprintf(text, sizeof text / sizeof text[0], L"Xmtr:%d:", i); }
  wchar_t text[32] = {};
};

}  // namespace

CWSorvekEngine::CWSorvekEngine(int transmitters, int receivers, const CWEngineLinks& links)
    : numXmtrs_(transmitters < 0 ? 0 : transmitters),
      numRcvrs_(receivers < 0 ? 0 : receivers),
      links_(links),
      active_(static_cast<size_t>(numXmtrs_), false),
      newData_(static_cast<size_t>(numXmtrs_), false),
      fileInfo_(static_cast<size_t>(numXmtrs_)),
      dataBlocks_(static_cast<size_t>(numXmtrs_)),
      outputs_(static_cast<size_t>(numXmtrs_)) {
  processing_.reserve(static_cast<size_t>(numXmtrs_));
  for (int i = 0; i < numXmtrs_; ++i) processing_.push_back(std::make_unique<CQSampleRateMgr>());
}

CWSorvekEngine::~CWSorvekEngine() = default;

void CWSorvekEngine::SetState(int32_t state) {
  state_ = state;
  subStep_ = 1;
}

CQSampleRateMgr* CWSorvekEngine::Processing(int i) {
  if (i < 0 || i >= numXmtrs_) throw new CQError("Invalid transmitter index.");
  return processing_[static_cast<size_t>(i)].get();
}

void CWSorvekEngine::GetParam(CWGetSetData& request) {
  try {
    switch (request.paramId) {
      case kEngineParamState:
        request.SetInt(state_);
        break;
      case kEngineParamProcessing: {
        // A copy the requester owns: the manager's record changes with the
        // next request and must not be read from another thread.
        CQSampleRateMgr* mgr = Processing(request.index);
        auto copy = std::make_unique<CQSampleRateMgrSettings>();
        copy->CopyFrom(mgr->GetSettings());
        request.SetPointer(copy.release());
        break;
      }
      default:
        throw new CQError("Unknown parameter type.");
    }
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekEngine::GetParam");
    throw;
  }
}

void CWSorvekEngine::SetParam(CWGetSetData& request) {
  try {
    switch (request.paramId) {
      case kEngineParamState:
        SetState(request.intValue);
        break;
      case kEngineParamProcessing: {
        CQSampleRateMgr* mgr = Processing(request.index);
        const auto* settings = static_cast<const CQSampleRateMgrSettings*>(request.pointerValue);
        if (settings == nullptr) throw new CQError("Null pointer to input data.");
        mgr->SetSettings(*settings);
        break;
      }
      case kEngineParamStatusBar:
        statusBar_ = static_cast<lv::StatusSink*>(request.pointerValue);
        break;
      default:
        throw new CQError("Unknown parameter type.");
    }
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekEngine::SetParam");
    throw;
  }
}

bool CWSorvekEngine::Execute() {
  if (state_ == kEngineStateIdle) return false;
  try {
    Step();
  } catch (CQError* e) {
    // The pass ends here: blank status panes, the board let go, engine idle.
    state_ = kEngineStateIdle;
    subStep_ = 0;
    ClearStatus();
    Disconnect();
    e->AddToCallStack("CWSorvekEngine::Execute");
    throw;
  }
  return true;
}

void CWSorvekEngine::Step() {
  switch (state_) {
    case kEngineStatePrepare:
      Prepare();
      state_ = kEngineStateFileInfo;
      subStep_ = 1;
      return;
    case kEngineStateFileInfo:
      switch (subStep_) {
        case 1:
          ReadFileInfo();
          subStep_ = 2;
          return;
        case 2:
          ClearFreqShiftFirst();
          subStep_ = 3;
          return;
        case 3:
          SetBackoff();
          state_ = kEngineStateTransmit;
          subStep_ = 1;
          return;
        default:
          return;
      }
    case kEngineStateTransmit:
      switch (subStep_) {
        case 1:
          ReadData();
          subStep_ = 2;
          return;
        case 2:
          Process();
          subStep_ = 3;
          return;
        case 3:
          HandOn();
          subStep_ = 4;
          return;
        case 4:
          FinishPass();
          state_ = kEngineStateFinish;
          subStep_ = 0;
          return;
        default:
          return;
      }
    case kEngineStateFinish:
      state_ = kEngineStateIdle;
      subStep_ = 0;
      return;
    default:
      return;
  }
}

void CWSorvekEngine::Prepare() {
  Require(links_.instrumentManager, "instrument-manager");
  for (int i = 0; i < numXmtrs_; ++i) {
    if (outputs_[i]) {
      outputs_[i]->Clear();
    } else {
      outputs_[i] = std::make_unique<CQCArrayTD>();
    }
    if (dataBlocks_[i]) {
      dataBlocks_[i]->Reset();
    } else {
      dataBlocks_[i] = std::make_unique<CQFileDataBlock>();
    }
  }
  // The instrument manager answers with a copy of its settings that we own,
  // so nothing here reads its live object while it changes.
  void* p = nullptr;
  links_.instrumentManager->GetParam(&p, kInstrGetSettings);
  xcvrSettings_.reset(static_cast<CQInstrIIOMultiXcvrSettings*>(p));
  if (!xcvrSettings_) throw new CQError("Null pointer to input data.", "CWSorvekEngine::Execute");
  activeCount_ = 0;
  for (int i = 0; i < numXmtrs_; ++i) {
    active_[i] = i < xcvrSettings_->NumXmtrs() && xcvrSettings_->Xmtr(i).on;
    if (active_[i]) ++activeCount_;
  }
  if (activeCount_ == 0) throw new CQError("No transmitters are active. At least one must be active.");
  ClearStatus();
  connectionTextShown_ = false;
  stopRequest_ = false;
}

void CWSorvekEngine::ReadFileInfo() {
  Require(links_.dataManager, "data-manager");
  for (int i = 0; i < numXmtrs_; ++i) {
    newData_[i] = false;
    fileInfo_[i].reset();
  }
  for (int i = 0; i < numXmtrs_; ++i) {
    if (!active_[i]) continue;
    CQFileInfo* info = nullptr;
    links_.dataManager->GetParam(&info, kDataMgrGetFileInfo, i);
    fileInfo_[i].reset(info);
    if (!info) throw new CQError("Null pointer to input data.", "CWSorvekEngine::Execute");
  }
}

void CWSorvekEngine::ClearFreqShiftFirst() {
  // The frequency shift always follows the rate changes, the order the
  // processing page shows, even when a recalled file asked for it first.
  for (auto& mgr : processing_) {
    CQSampleRateMgrSettings* s = mgr->GetSettings();
    if (!s->doFreqShiftFirst) continue;
    CQSampleRateMgrSettings cleared;
    cleared.CopyFrom(s);
    cleared.doFreqShiftFirst = false;
    mgr->SetSettings(cleared);
    mgr->SetChanged(true);
  }
}

void CWSorvekEngine::SetBackoff() {
  // A Start sends the user's own backoff choice back, so a manual backoff set
  // on the board's page applies to the transmission the Start makes.
  bool automatic = true;
  links_.instrumentManager->GetParam(&automatic, kInstrGetAutoBackoff);
  links_.instrumentManager->SetParam(automatic, kInstrSetAutoBackoff, 0);
}

void CWSorvekEngine::ReadData() {
  for (int i = 0; i < numXmtrs_; ++i) {
    if (!active_[i]) continue;
    CQFileDataBlock* block = dataBlocks_[i].get();
    block->Reset();
    const int64_t points = fileInfo_[i]->numPoints;
    if (points <= 0 || points > INT32_MAX) {
      throw new CQError("The input file holds no samples or more than can be transmitted.",
                        "CWSorvekEngine::Execute");
    }
    block->partialRead = false;
    block->start = 0;
    block->count = static_cast<int32_t>(points);
    links_.dataManager->SetParam(block, kDataMgrSetReadData, i);
    outputs_[i]->Set(block->samples.get());
    newData_[i] = true;
  }
}

void CWSorvekEngine::Process() {
  for (int i = 0; i < numXmtrs_; ++i) {
    if (!active_[i]) continue;
    CQSampleRateMgr* mgr = processing_[static_cast<size_t>(i)].get();
    if (!newData_[i] && !mgr->IsChanged()) continue;
    mgr->SetInput(dataBlocks_[i]->samples.get());
    mgr->ComputeAll();
    outputs_[i]->Set(mgr->GetOutput());
    newData_[i] = true;
  }
}

void CWSorvekEngine::HandOn() {
  bool handedOn = false;
  for (int i = 0; i < numXmtrs_; ++i) {
    if (!active_[i]) continue;
    CQCArrayTD* out = outputs_[i].get();
    out->SetCenterFreq(xcvrSettings_->Xmtr(i).centerFreq);
    if (!newData_[i]) continue;
    links_.instrumentManager->SetParam(out, kInstrSetXmtrData, i);
    newData_[i] = false;
    handedOn = true;
    if (static_cast<size_t>(i) < links_.plots.size()) {
      const CWEnginePlots& p = links_.plots[i];
      for (CWUIThread* plot : {p.timeDomain, p.spectrum, p.persistence, p.spectrogram}) {
        if (plot) plot->SetParam(out, kPlotSetData, 0);
      }
    }
  }
  if (!handedOn) return;
  bool ok = false;
  links_.instrumentManager->GetParam(&ok, kInstrGetTransmitNow);
  if (!connectionTextShown_) {
    std::wstring description;
    links_.instrumentManager->GetParam(&description, kInstrGetDescription);
    if (statusBar_) statusBar_->SetPaneText(1, description.c_str());
    connectionTextShown_ = true;
  }
}

void CWSorvekEngine::FinishPass() {
  if (stopRequest_) {
    Disconnect();
    stopRequest_ = false;
  }
}

void CWSorvekEngine::ClearStatus() {
  if (!statusBar_) return;
  for (int pane = 0; pane < kStatusPanes; ++pane) statusBar_->SetPaneText(pane, L" ");
}

void CWSorvekEngine::Disconnect() {
  if (links_.instrumentManager) links_.instrumentManager->PutMessage(kMsgInstrDisconnect, nullptr);
}

void CWSorvekEngine::SaveSettings(CQAppSettings* store) {
  try {
    for (int i = 0; i < numXmtrs_; ++i) {
      const XmtrPrefix prefix(i);
      processing_[static_cast<size_t>(i)]->GetSettings()->SaveSettings(store, prefix.text);
    }
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekEngine::SaveSettings");
    throw;
  }
}

void CWSorvekEngine::RecallSettings(CQAppSettings* store) {
  try {
    for (int i = 0; i < numXmtrs_; ++i) {
      // Each transmitter starts from its own current values, so a key missing
      // from the file keeps that transmitter's value, not its neighbour's.
      CQSampleRateMgr* mgr = processing_[static_cast<size_t>(i)].get();
      CQSampleRateMgrSettings record;
      record.CopyFrom(mgr->GetSettings());
      const XmtrPrefix prefix(i);
      record.RecallSettings(store, prefix.text);
      mgr->SetSettings(record);
    }
  } catch (CQError* e) {
    e->AddToCallStack("CWSorvekEngine::RecallSettings");
    throw;
  }
}
