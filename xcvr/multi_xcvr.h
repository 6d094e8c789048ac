// CQInstrIIOMultiXcvr drives one Analog Devices transceiver board through
// libiio: it connects over the network or USB, writes the board's attributes
// when the requested settings differ from what was applied, scales each
// transmitter's waveform to 16-bit samples and pushes them into one cyclic
// transmit buffer that the board repeats until it is replaced or released.
//
// The object runs on the instrument-manager thread only.
#pragma once

#include <iio.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/arrays/carray.h"
#include "xcvr/instr_settings.h"

// The longest waveform a transmitter may play (samples).
inline constexpr int kMaxTransmitSamples = 0x200000;

// Writes n normalised samples as 16-bit I/Q pairs (only I when real) scaled by
// gain, truncated toward zero and saturated, one frame every step bytes.
void ScaleIntoFrames(const CQComplex* samples, int n, float gain, bool real, uint8_t* out, ptrdiff_t step);

// One transmitter's share of an interleaved transmit buffer: its waveform and
// the address of its first frame.
struct CQFrameChannel {
  const CQComplex* samples;
  uint8_t* out;
};

// ScaleIntoFrames for several transmitters sharing one buffer (frames every
// step bytes): the buffer is written in one forward sweep, all channels of a
// frame together, instead of one strided sweep per transmitter.
void ScaleIntoFrames(const CQFrameChannel* channels, int count, int n, float gain, bool real, ptrdiff_t step);

class CQInstrIIOMultiXcvr {
 public:
  CQInstrIIOMultiXcvr(int transmitters, int receivers);
  virtual ~CQInstrIIOMultiXcvr();
  CQInstrIIOMultiXcvr(const CQInstrIIOMultiXcvr&) = delete;
  CQInstrIIOMultiXcvr& operator=(const CQInstrIIOMultiXcvr&) = delete;

  // A short progress text ("Connecting", "Transmitting", ...). Does nothing here.
  virtual void ShowStatusText(const wchar_t* text);

  void Connect();
  // "LAN:<address>" or the USB URI; owned by the object.
  const wchar_t* GetConnectionDescription();
  void SetBasebandDir(const wchar_t* dir);
  const wchar_t* GetBasebandDir() const { return basebandDir_.c_str(); }

  // The live requested settings with all five group flags set.
  CQInstrIIOMultiXcvrSettings* GetSettings();
  // Merges the flagged groups into the requested settings.
  void SetSettings(const CQInstrIIOMultiXcvrSettings* settings);
  const CQInstrIIOMultiXcvrSettings& Applied() const { return applied_; }
  int GetModel() const { return requested_.model; }
  bool GetRcvrOn(int index) const;
  CQCArrayTD* GetRcvrData(int index);

  bool GetAutoBackoff() const { return autoBackoff_; }
  void SetAutoBackoff(bool on);
  float GetBackoff() const { return backoff_; }
  // True when the value is within 0.01 dB of the stored one (nothing changes).
  bool SetBackoff(float dB);

  // Copies the waveform into the transmitter's own array.
  void SetXmtrData(const CQCArrayTD* data, int index);
  bool GetTransmitNow();
  bool Transmit();
  bool GetAcquireNow();
  bool Receive();
  void Disconnect();

  bool IsConnected() const { return context_ != nullptr; }
  double GetTxSampleRate() const { return txSampleRate_; }

 protected:
  void IIOConnect();
  void IIOFindUSBDescriptor();
  void IIOCreateReceive();
  void IIOCreateTransmit();
  void IIODestroyReceive();
  void IIODestroyTransmit();
  void IIODisconnect();
  void IIOSetParams();
  void CheckRequestedFrequencies(int model) const;
  void IIOTransmit();
  void IIOReceive();
  // Reads the AD9361 filter file of the rate index into buffer (size bytes, zero-terminated).
  void ReadRateFile(int rateIndex, const wchar_t* dir, char* buffer, int size);

 private:
  struct ContextCloser {
    void operator()(iio_context* c) const { iio_context_destroy(c); }
  };

  // The parameter pass of each board family.
  void SetParamsAd9361(bool& rebuildRx, bool& rebuildTx);
  void SetParamsMykonos(bool& rebuildRx, bool& rebuildTx, bool adrv9009);
  void SetParamsAd908x(bool rateChanged);
  void SetParamsFmcdaq2(bool rateChanged);
  void SetParamsAd9172();
  void ReceiverGainBlock(int limit);
  void TransmitterAttenuationBlock(int limit);
  void TonesOff(int count, bool withFrequency);
  void TakeRate(int rateIndex);
  void RecordUnwrittenFields();
  // The ends of the converter boards' passes: the receive fields that need no
  // write are taken and the receive channels rebuilt when asked; the transmit
  // centre is taken and the transmit channels rebuilt when asked.
  void FinishReceivePass(bool rebuild);
  void FinishTransmitPass(bool rebuild);
  // Transmit and Receive: connects, then re-runs the parameter pass when the
  // direction's settings or the rate index differ from what was applied.
  void ConnectAndApply(bool transmit);

  bool changed_ = false;
  bool tonesOff_ = false;
  int numXmtrs_;
  int numRcvrs_;
  int txChannelsUsed_ = 0;
  int rxChannelsUsed_ = 0;
  double rxSampleRate_ = 0.0;
  double rxSpan_ = 0.0;
  bool autoBackoff_ = true;
  float backoff_ = 0.0f;
  double txSampleRate_ = 0.0;
  CQInstrIIOMultiXcvrSettings requested_;
  CQInstrIIOMultiXcvrSettings applied_;
  std::vector<std::unique_ptr<CQCArrayTD>> rcvrData_;
  std::vector<std::unique_ptr<CQCArrayTD>> xmtrData_;
  std::vector<float> rcvrScale_;
  std::wstring basebandDir_ = L" ";
  std::wstring description_;

  std::unique_ptr<iio_context, ContextCloser> context_;
  iio_device* phy_ = nullptr;
  iio_device* rxDev_ = nullptr;
  iio_device* txDev_ = nullptr;
  std::vector<iio_channel*> rxI_, rxQ_;
  std::vector<iio_channel*> txI_, txQ_;
  iio_buffer* rxBuffer_ = nullptr;
  int rxBufferSize_ = 0;
  iio_buffer* txBuffer_ = nullptr;
  int txBufferSize_ = 0;
};
