// The transceiver settings: board model, transmitters, receivers, rate index
// and connection, in five groups each with a "set" flag, so that a partial
// object can say which groups it carries.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CQAppSettings;

struct CQInstrXmtrSettings {
  bool on = false;
  int32_t attenuation = 0;  // dB, written as a negative hardware gain
  float phase = 0.0f;       // degrees; carried and compared only
  double centerFreq = 0.0;  // Hz, per-channel NCO/DDS frequency
};

struct CQInstrRcvrSettings {
  bool on = false;
  int32_t gain = 0;  // dB, manual gain
  float phase = 0.0f;
  double centerFreq = 0.0;
  int32_t gainMode = 1;  // 1 manual, 2 slow attack
};

// Board model codes.
enum : int32_t {
  kModelAdrv9361 = 2,
  kModelAd9371 = 4,
  kModelAdrv9009 = 5,
  kModelAd9081 = 9,
  kModelFmcdaq2 = 10,
  kModelFmcomms3 = 12,
  kModelAd9082 = 14,
  kModelAd9172 = 15,
  kModelPluto = 16,
};
inline bool IsAd9361Family(int32_t model) {
  return model == kModelFmcomms3 || model == kModelAdrv9361 || model == kModelPluto;
}

// Connection types.
enum : int32_t { kConnectionLan = 1, kConnectionUsbAuto = 4 };

class CQInstrIIOMultiXcvrSettings {
 public:
  // Negative counts become 0. The counts never change afterwards.
  CQInstrIIOMultiXcvrSettings(int transmitters, int receivers);
  // A full copy, for handing the settings to another thread.
  CQInstrIIOMultiXcvrSettings(const CQInstrIIOMultiXcvrSettings&) = default;
  CQInstrIIOMultiXcvrSettings& operator=(const CQInstrIIOMultiXcvrSettings&) = delete;

  // The constructor's values again.
  void Reset();
  bool AnyXmtrOn() const;
  bool SameConnection(const CQInstrIIOMultiXcvrSettings* other) const;
  // Equal transmitter / receiver groups over the first n records (0: all).
  bool SameXmtrSettings(const CQInstrIIOMultiXcvrSettings* other, int n) const;
  bool SameRcvrSettings(const CQInstrIIOMultiXcvrSettings* other, int n) const;
  // Everything but the receiver gain modes; nothing when the counts differ.
  void CopyFrom(const CQInstrIIOMultiXcvrSettings* other);
  // The groups other has flagged; this object's own flags stay.
  void CopyChanged(const CQInstrIIOMultiXcvrSettings* other);

  // Null or empty text clears the field.
  void SetIPAddress(const wchar_t* text);
  void SetURI(const wchar_t* text);
  // Null when there is none.
  const wchar_t* GetIPAddress() const { return ip_ ? ip_->c_str() : nullptr; }
  const wchar_t* GetURI() const { return uri_ ? uri_->c_str() : nullptr; }

  // The "Instr:MultiXcvr:" keys of a settings file.
  void SaveSettings(CQAppSettings* store) const;
  void RecallSettings(CQAppSettings* store);

  int NumXmtrs() const { return static_cast<int>(xmtrs_.size()); }
  int NumRcvrs() const { return static_cast<int>(rcvrs_.size()); }
  CQInstrXmtrSettings& Xmtr(int i) { return xmtrs_.at(static_cast<size_t>(i)); }
  const CQInstrXmtrSettings& Xmtr(int i) const { return xmtrs_.at(static_cast<size_t>(i)); }
  CQInstrRcvrSettings& Rcvr(int i) { return rcvrs_.at(static_cast<size_t>(i)); }
  const CQInstrRcvrSettings& Rcvr(int i) const { return rcvrs_.at(static_cast<size_t>(i)); }

  void SetAllFlags(bool set) { modelSet = xmtrsSet = rcvrsSet = rateSet = connectionSet = set; }

  bool modelSet = false;
  int32_t model = 0;

  bool xmtrsSet = false;
  double xmtrCenterFreq = 0.0;

  bool rcvrsSet = false;
  int32_t rcvrNumSamples = 0;
  float rcvrCalFactor = 0.0f;  // dB
  double rcvrCenterFreq = 0.0;

  bool rateSet = false;
  int32_t rateIndex = 0;

  bool connectionSet = false;
  int32_t connectionType = kConnectionLan;

 private:
  std::vector<CQInstrXmtrSettings> xmtrs_;
  std::vector<CQInstrRcvrSettings> rcvrs_;
  std::optional<std::wstring> ip_;
  std::optional<std::wstring> uri_;
};
