#include "xcvr/instr_settings.h"

#include "core/numbers.h"

namespace {

// Records at index 4 and above never compare equal: the boards have at most four channels.
constexpr int kMaxComparedRecords = 4;

std::optional<std::wstring> CopyText(const wchar_t* text) {
  if (text == nullptr || text[0] == L'\0') {
    return std::nullopt;
  }
  return std::wstring(text);
}

}  // namespace

CQInstrIIOMultiXcvrSettings::CQInstrIIOMultiXcvrSettings(int transmitters, int receivers)
    : xmtrs_(static_cast<size_t>(transmitters > 0 ? transmitters : 0)),
      rcvrs_(static_cast<size_t>(receivers > 0 ? receivers : 0)) {}

void CQInstrIIOMultiXcvrSettings::Reset() {
  SetAllFlags(false);
  model = 0;
  xmtrCenterFreq = 0.0;
  rcvrNumSamples = 0;
  rcvrCalFactor = 0.0f;
  rcvrCenterFreq = 0.0;
  rateIndex = 0;
  connectionType = kConnectionLan;
  for (auto& x : xmtrs_) {
    x = CQInstrXmtrSettings{};
  }
  for (auto& r : rcvrs_) {
    r = CQInstrRcvrSettings{};
  }
  ip_.reset();
  uri_.reset();
}

bool CQInstrIIOMultiXcvrSettings::AnyXmtrOn() const {
  for (const auto& x : xmtrs_) {
    if (x.on) {
      return true;
    }
  }
  return false;
}

bool CQInstrIIOMultiXcvrSettings::SameConnection(const CQInstrIIOMultiXcvrSettings* other) const {
  if (other == nullptr || other->connectionType != connectionType) {
    return false;
  }
  if (connectionType != kConnectionLan) {
    return true;  // USB connections compare equal whatever their URIs
  }
  if (!ip_ || !other->ip_) {
    return !ip_ && !other->ip_;
  }
  return *ip_ == *other->ip_;
}

bool CQInstrIIOMultiXcvrSettings::SameXmtrSettings(const CQInstrIIOMultiXcvrSettings* other, int n) const {
  if (other == nullptr) {
    return false;
  }
  if (n == 0) {
    n = NumXmtrs();
  }
  if (n > NumXmtrs() || n > other->NumXmtrs() || n < 0) {
    return false;
  }
  if (!IsNearlyEqual(xmtrCenterFreq, other->xmtrCenterFreq, 1.0)) {
    return false;
  }
  for (int i = 0; i < n; ++i) {
    if (i >= kMaxComparedRecords) {
      return false;
    }
    const auto& a = xmtrs_[static_cast<size_t>(i)];
    const auto& b = other->xmtrs_[static_cast<size_t>(i)];
    if (a.on != b.on) {
      return false;
    }
    if (a.on && (a.attenuation != b.attenuation || !IsNearlyEqualFloat(a.phase, b.phase, 0.01f) ||
                 !IsNearlyEqual(a.centerFreq, b.centerFreq, 1.0))) {
      return false;
    }
  }
  return true;
}

bool CQInstrIIOMultiXcvrSettings::SameRcvrSettings(const CQInstrIIOMultiXcvrSettings* other, int n) const {
  if (other == nullptr) {
    return false;
  }
  if (n == 0) {
    n = NumRcvrs();
  }
  if (n > NumRcvrs() || n > other->NumRcvrs() || n < 0) {
    return false;
  }
  if (!IsNearlyEqual(rcvrCenterFreq, other->rcvrCenterFreq, 1.0)) {
    return false;
  }
  bool same = rcvrNumSamples == other->rcvrNumSamples && IsNearlyEqualFloat(rcvrCalFactor, other->rcvrCalFactor, 0.01f);
  for (int i = 0; i < n; ++i) {
    if (i >= kMaxComparedRecords) {
      return false;
    }
    const auto& a = rcvrs_[static_cast<size_t>(i)];
    const auto& b = other->rcvrs_[static_cast<size_t>(i)];
    if (a.on != b.on) {
      same = false;
    } else if (a.on) {
      if (a.gainMode != b.gainMode || (a.gainMode == 1 && b.gainMode == 1 && a.gain != b.gain) ||
          !IsNearlyEqualFloat(a.phase, b.phase, 0.01f) || !IsNearlyEqual(a.centerFreq, b.centerFreq, 1.0)) {
        same = false;
      }
    }
  }
  return same;
}

void CQInstrIIOMultiXcvrSettings::CopyFrom(const CQInstrIIOMultiXcvrSettings* other) {
  if (other == nullptr || other->NumXmtrs() != NumXmtrs() || other->NumRcvrs() != NumRcvrs()) {
    return;
  }
  modelSet = other->modelSet;
  xmtrsSet = other->xmtrsSet;
  rcvrsSet = other->rcvrsSet;
  rateSet = other->rateSet;
  connectionSet = other->connectionSet;
  model = other->model;
  xmtrCenterFreq = other->xmtrCenterFreq;
  rcvrCenterFreq = other->rcvrCenterFreq;
  rcvrNumSamples = other->rcvrNumSamples;
  rcvrCalFactor = other->rcvrCalFactor;
  rateIndex = other->rateIndex;
  connectionType = other->connectionType;
  xmtrs_ = other->xmtrs_;
  for (size_t i = 0; i < rcvrs_.size(); ++i) {
    const int32_t gainMode = rcvrs_[i].gainMode;  // not copied
    rcvrs_[i] = other->rcvrs_[i];
    rcvrs_[i].gainMode = gainMode;
  }
  ip_ = other->ip_;
  uri_ = other->uri_;
}

void CQInstrIIOMultiXcvrSettings::CopyChanged(const CQInstrIIOMultiXcvrSettings* other) {
  if (other == nullptr) {
    return;
  }
  if ((other->xmtrsSet && other->NumXmtrs() != NumXmtrs()) || (other->rcvrsSet && other->NumRcvrs() != NumRcvrs())) {
    return;
  }
  if (other->modelSet) {
    model = other->model;
  }
  if (other->xmtrsSet) {
    xmtrCenterFreq = other->xmtrCenterFreq;
    xmtrs_ = other->xmtrs_;
  }
  if (other->rcvrsSet) {
    rcvrNumSamples = other->rcvrNumSamples;
    rcvrCalFactor = other->rcvrCalFactor;
    rcvrCenterFreq = other->rcvrCenterFreq;
    for (size_t i = 0; i < rcvrs_.size(); ++i) {
      const int32_t gainMode = rcvrs_[i].gainMode;
      rcvrs_[i] = other->rcvrs_[i];
      rcvrs_[i].gainMode = gainMode;
    }
  }
  if (other->rateSet) {
    rateIndex = other->rateIndex;
  }
  if (other->connectionSet) {
    connectionType = other->connectionType;
    ip_ = other->ip_;
    uri_ = other->uri_;
  }
}

void CQInstrIIOMultiXcvrSettings::SetIPAddress(const wchar_t* text) { ip_ = CopyText(text); }

void CQInstrIIOMultiXcvrSettings::SetURI(const wchar_t* text) { uri_ = CopyText(text); }
