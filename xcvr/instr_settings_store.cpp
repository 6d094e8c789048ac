// The "Instr:MultiXcvr:" keys of the transceiver settings.
#include <string>

#include "workers/settings_file.h"
#include "core/error.h"
#include "platform/text.h"
#include "xcvr/instr_settings.h"

namespace {

std::wstring Key(const wchar_t* format, int index) { return lv::FormatCW(format, index); }

}  // namespace

void CQInstrIIOMultiXcvrSettings::SaveSettings(CQAppSettings* store) const {
  if (store == nullptr) {
    throw new CQError("Null pointer to settings.", "CQInstrIIOMultiXcvrSettings::SaveSettings");
  }
  store->Lock();
  try {
    store->SetValue(L"Instr:MultiXcvr:Model", model);
    store->SetValue(L"Instr:MultiXcvr:Xmtr center freq", xmtrCenterFreq);
    for (int i = 0; i < NumXmtrs(); ++i) {
      const CQInstrXmtrSettings& x = Xmtr(i);
      store->SetValue(Key(L"Instr:MultiXcvr:%d:Xmtr on", i).c_str(), x.on);
      store->SetValue(Key(L"Instr:MultiXcvr:%d:Xmtr atten dB", i).c_str(), x.attenuation);
      store->SetValue(Key(L"Instr:MultiXcvr:%d:Xmtr phase deg", i).c_str(), x.phase);
      store->SetValue(Key(L"Instr:MultiXcvr:%d:Xmtr center freq", i).c_str(), x.centerFreq);
    }
    store->SetValue(L"Instr:MultiXcvr:Rcvr num samples", rcvrNumSamples);
    store->SetValue(L"Instr:MultiXcvr:Rcvr cal factor dB", rcvrCalFactor);
    store->SetValue(L"Instr:MultiXcvr:Rcvr center freq", rcvrCenterFreq);
    for (int i = 0; i < NumRcvrs(); ++i) {
      const CQInstrRcvrSettings& r = Rcvr(i);
      store->SetValue(Key(L"Instr:MultiXcvr:%d:Rcvr on", i).c_str(), r.on);
      store->SetValue(Key(L"Instr:MultiXcvr:%d:Rcvr gain dB", i).c_str(), r.gain);
      store->SetValue(Key(L"Instr:MultiXcvr:%d:Rcvr phase deg", i).c_str(), r.phase);
      store->SetValue(Key(L"Instr:MultiXcvr:%d:Rcvr center freq", i).c_str(), r.centerFreq);
    }
    store->SetValue(L"Instr:MultiXcvr:Xcvr rate", rateIndex);
    store->SetValue(L"Instr:MultiXcvr:Connection type", connectionType);
    if (GetIPAddress() != nullptr) {
      store->SetValue(L"Instr:MultiXcvr:IP address", GetIPAddress());
    }
  } catch (CQError* e) {
    store->Unlock();
    e->AddToCallStack("CQInstrIIOMultiXcvrSettings::SaveSettings");
    throw;
  }
  store->Unlock();
}

void CQInstrIIOMultiXcvrSettings::RecallSettings(CQAppSettings* store) {
  if (store == nullptr) {
    throw new CQError("Null pointer to settings.", "CQInstrIIOMultiXcvrSettings::RecallSettings");
  }
  store->Lock();
  try {
    store->ExtractSection(L"Instr:MultiXcvr:");
    store->SetUseSection(1);
    store->GetValue(L"Instr:MultiXcvr:Model", &model);
    store->GetValue(L"Instr:MultiXcvr:Xmtr center freq", &xmtrCenterFreq);
    for (int i = 0; i < NumXmtrs(); ++i) {
      CQInstrXmtrSettings& x = Xmtr(i);
      store->GetValue(Key(L"Instr:MultiXcvr:%d:Xmtr on", i).c_str(), &x.on);
      store->GetValue(Key(L"Instr:MultiXcvr:%d:Xmtr atten dB", i).c_str(), &x.attenuation);
      store->GetValue(Key(L"Instr:MultiXcvr:%d:Xmtr phase deg", i).c_str(), &x.phase);
      store->GetValue(Key(L"Instr:MultiXcvr:%d:Xmtr center freq", i).c_str(), &x.centerFreq);
    }
    store->GetValue(L"Instr:MultiXcvr:Rcvr num samples", &rcvrNumSamples);
    store->GetValue(L"Instr:MultiXcvr:Rcvr cal factor dB", &rcvrCalFactor);
    store->GetValue(L"Instr:MultiXcvr:Rcvr center freq", &rcvrCenterFreq);
    for (int i = 0; i < NumRcvrs(); ++i) {
      CQInstrRcvrSettings& r = Rcvr(i);
      store->GetValue(Key(L"Instr:MultiXcvr:%d:Rcvr on", i).c_str(), &r.on);
      store->GetValue(Key(L"Instr:MultiXcvr:%d:Rcvr gain dB", i).c_str(), &r.gain);
      store->GetValue(Key(L"Instr:MultiXcvr:%d:Rcvr phase deg", i).c_str(), &r.phase);
      store->GetValue(Key(L"Instr:MultiXcvr:%d:Rcvr center freq", i).c_str(), &r.centerFreq);
    }
    int32_t rate = 0;
    if (store->GetValue(L"Instr:MultiXcvr:Xcvr rate", &rate)) {
      // Read as unsigned: a negative or too large index is no index at all.
      rateIndex = static_cast<uint32_t>(rate) <= 801u ? rate : 0;
    }
    store->GetValue(L"Instr:MultiXcvr:Connection type", &connectionType);
    wchar_t address[512];
    if (store->GetValue(L"Instr:MultiXcvr:IP address", address, 512)) {
      SetIPAddress(address);
    }
    store->SetUseSection(0);
  } catch (CQError* e) {
    store->SetUseSection(0);
    store->Unlock();
    e->AddToCallStack("CQInstrIIOMultiXcvrSettings::RecallSettings");
    throw;
  }
  store->Unlock();
  SetAllFlags(true);
}
