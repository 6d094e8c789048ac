#include "xcvr/multi_xcvr.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <emmintrin.h>
#include <limits>
#include <optional>

#include "core/array_math.h"
#include "core/call_stack.h"
#include "core/error.h"
#include "core/numbers.h"
#include "platform/sync.h"
#include "platform/text.h"
#include "primitives/arith/arith.h"
#include "primitives/convert/convert.h"
#include "xcvr/instr_adi.h"

namespace {

// The libiio devices of each board family, looked up in the order phy, receive, transmit.
struct BoardDevices {
  const char* phy;
  const char* rx;
  const char* tx;
  const char* phyMissing;
  const char* rxMissing;
  const char* txMissing;
  int txUsed;
  int rxUsed;
};

std::optional<BoardDevices> FindBoard(int model) {
  switch (model) {
    case kModelAdrv9361:
    case kModelFmcomms3:
    case kModelPluto:
      return BoardDevices{"ad9361-phy",
                          "cf-ad9361-lpc",
                          "cf-ad9361-dds-core-lpc",
                          "Error finding IIO device ad9361-phy.",
                          "Error finding IIO device ad9361-lpc.",
                          "Error finding IIO device ad9361-dds-core-lpc.",
                          2,
                          2};
    case kModelAd9371:
      return BoardDevices{"ad9371-phy",
                          "axi-ad9371-rx-hpc",
                          "axi-ad9371-tx-hpc",
                          "Error finding IIO device ad9371-phy.",
                          "Error finding IIO device axi-ad9371-rx-hpc.",
                          "Error finding IIO device axi-ad9371-tx-hpc.",
                          2,
                          2};
    case kModelAdrv9009:
      return BoardDevices{"adrv9009-phy",
                          "axi-adrv9009-rx-hpc",
                          "axi-adrv9009-tx-hpc",
                          "Error finding IIO device adrv9009-phy.",
                          "Error finding IIO device axi-adrv9009-rx-hpc.",
                          "Error finding IIO device axi-adrv9009-tx-hpc.",
                          2,
                          2};
    case kModelAd9081:
    case kModelAd9082:
      return BoardDevices{nullptr,
                          "axi-ad9081-rx-hpc",
                          "axi-ad9081-tx-hpc",
                          nullptr,
                          "Error finding IIO device axi-ad9081-rx-hpc.",
                          "Error finding IIO device axi-ad9081-tx-hpc.",
                          model == kModelAd9081 ? 4 : 2,
                          model == kModelAd9081 ? 4 : 2};
    case kModelFmcdaq2:
      return BoardDevices{nullptr,
                          "axi-ad9680-hpc",
                          "axi-ad9144-hpc",
                          nullptr,
                          "Error finding IIO device axi-ad9680-hpc.",
                          "Error finding IIO device axi-ad9144-hpc.",
                          2,
                          2};
    case kModelAd9172:
      return BoardDevices{nullptr, nullptr, "axi-ad9172-hpc", nullptr, nullptr,
                          "Error finding IIO device axi-ad9172-hpc.", 1, 0};
    default:
      return std::nullopt;
  }
}

bool IsMykonos(int model) { return model == kModelAd9371 || model == kModelAdrv9009; }
bool IsAd908x(int model) { return model == kModelAd9081 || model == kModelAd9082; }

std::string Format(const char* format, int index) { return lv::FormatC(format, index); }

std::string LibiioError(int err) {
  char text[256];
  iio_strerror(err < 0 ? -err : err, text, sizeof text);
  return text;
}

const char* DeviceName(const iio_device* dev) {
  const char* name = dev != nullptr ? iio_device_get_name(dev) : nullptr;
  return name != nullptr ? name : "?";
}

// Finds a channel of the device by name or id; a missing one is an error that
// names the channel and the device.
iio_channel* NeedChannel(iio_device* dev, const std::string& name, bool output) {
  iio_channel* ch = dev != nullptr ? iio_device_find_channel(dev, name.c_str(), output) : nullptr;
  if (ch == nullptr) {
    throw new CQError(lv::FormatC("Error finding IIO channel %s of device %s.", name.c_str(), DeviceName(dev)).c_str());
  }
  return ch;
}

// Every attribute write is checked: a board that refuses a value must not be
// reported as configured.
void Checked(int result, iio_device* dev, const std::string& channel, const char* attr) {
  if (result < 0) {
    throw new CQError(lv::FormatC("Error writing attribute %s of channel %s of device %s: %s.", attr, channel.c_str(),
                                  DeviceName(dev), LibiioError(result).c_str())
                          .c_str());
  }
}

void WriteText(iio_device* dev, const std::string& channel, bool output, const char* attr, const char* value) {
  Checked(static_cast<int>(iio_channel_attr_write(NeedChannel(dev, channel, output), attr, value)), dev, channel, attr);
}
void WriteLongLong(iio_device* dev, const std::string& channel, bool output, const char* attr, long long value) {
  Checked(iio_channel_attr_write_longlong(NeedChannel(dev, channel, output), attr, value), dev, channel, attr);
}
void WriteDouble(iio_device* dev, const std::string& channel, bool output, const char* attr, double value) {
  Checked(iio_channel_attr_write_double(NeedChannel(dev, channel, output), attr, value), dev, channel, attr);
}
void WriteBool(iio_device* dev, const std::string& channel, bool output, const char* attr, bool value) {
  Checked(iio_channel_attr_write_bool(NeedChannel(dev, channel, output), attr, value), dev, channel, attr);
}

using lv::Named;

bool Differs(double a, double b) { return !IsNearlyEqual(a, b, 1.0); }

// Refuses a frequency that is not finite or lies outside [low, high] before
// anything is written: converted to an integer it would reach the board as 0
// or as the ends of the 64-bit range.
void CheckFrequency(const char* what, double hz, double low, double high) {
  if (!std::isfinite(hz) || hz < low || hz > high) {
    throw new CQError(lv::FormatC("The %s (%g Hz) is not a frequency the board can use (%g Hz to %g Hz).", what, hz,
                                  low, high)
                          .c_str());
  }
}

}  // namespace

CQInstrIIOMultiXcvr::CQInstrIIOMultiXcvr(int transmitters, int receivers)
    : numXmtrs_(std::max(transmitters, 0)),
      numRcvrs_(std::max(receivers, 0)),
      requested_(transmitters, receivers),
      applied_(transmitters, receivers) {
  for (int i = 0; i < numXmtrs_; ++i) {
    xmtrData_.push_back(std::make_unique<CQCArrayTD>());
  }
  for (int i = 0; i < numRcvrs_; ++i) {
    rcvrData_.push_back(std::make_unique<CQCArrayTD>());
  }
  rcvrScale_.assign(static_cast<size_t>(numRcvrs_), 1.0f);
  rxI_.assign(static_cast<size_t>(numRcvrs_), nullptr);
  rxQ_.assign(static_cast<size_t>(numRcvrs_), nullptr);
  txI_.assign(static_cast<size_t>(numXmtrs_), nullptr);
  txQ_.assign(static_cast<size_t>(numXmtrs_), nullptr);
}

CQInstrIIOMultiXcvr::~CQInstrIIOMultiXcvr() { IIODisconnect(); }

void CQInstrIIOMultiXcvr::ShowStatusText(const wchar_t*) {}

CQInstrIIOMultiXcvrSettings* CQInstrIIOMultiXcvr::GetSettings() {
  requested_.SetAllFlags(true);
  return &requested_;
}

void CQInstrIIOMultiXcvr::SetSettings(const CQInstrIIOMultiXcvrSettings* settings) {
  requested_.CopyChanged(settings);
}

bool CQInstrIIOMultiXcvr::GetRcvrOn(int index) const {
  if (index < 0 || index >= numRcvrs_) {
    throw new CQError("Invalid receiver number.");
  }
  return requested_.Rcvr(index).on;
}

CQCArrayTD* CQInstrIIOMultiXcvr::GetRcvrData(int index) {
  if (index < 0 || index >= numRcvrs_) {
    throw new CQError("Invalid receiver number.");
  }
  return rcvrData_[static_cast<size_t>(index)].get();
}

void CQInstrIIOMultiXcvr::SetAutoBackoff(bool on) {
  if (on != autoBackoff_) {
    autoBackoff_ = on;
    changed_ = true;
  }
}

bool CQInstrIIOMultiXcvr::SetBackoff(float dB) {
  if (IsNearlyEqualFloat(dB, backoff_, 0.01f)) {
    return true;
  }
  backoff_ = dB;
  changed_ = true;
  return false;
}

void CQInstrIIOMultiXcvr::SetBasebandDir(const wchar_t* dir) {
  basebandDir_ = (dir != nullptr && dir[0] != L'\0') ? std::wstring(dir) : std::wstring();
}

const wchar_t* CQInstrIIOMultiXcvr::GetConnectionDescription() {
  switch (requested_.connectionType) {
    case kConnectionLan:
      description_ = L"LAN:" + std::wstring(requested_.GetIPAddress() ? requested_.GetIPAddress() : L"");
      break;
    case 2:
    case kConnectionUsbAuto:
      description_ = requested_.GetURI() ? requested_.GetURI() : L"";
      break;
    default:
      description_.clear();
  }
  if (description_.size() > 127) {
    description_.resize(127);
  }
  return description_.c_str();
}

// ---- connection -------------------------------------------------------------

void CQInstrIIOMultiXcvr::Connect() {
  Named("CQInstrIIOMultiXcvr::Connect", [&] {
    // A changed model needs its own devices: it reconnects as a changed address does.
    if (context_ && requested_.SameConnection(&applied_) && requested_.model == applied_.model) {
      return;
    }
    ShowStatusText(L"Connecting");
    IIOConnect();
    ShowStatusText(L" ");
  });
}

void CQInstrIIOMultiXcvr::IIOConnect() {
  Named("CQInstrIIOMultiXcvr::IIOConnect", [&] {
    if (context_) {
      if (requested_.SameConnection(&applied_) && requested_.model == applied_.model) {
        return;
      }
      IIODisconnect();
    }
    std::string uri;
    iio_context* ctx = nullptr;
    if (requested_.connectionType == kConnectionLan) {
      uri = lv::WideToUtf8(requested_.GetIPAddress() ? requested_.GetIPAddress() : L"");
      // libiio writes into the address it parses: hand it a private copy.
      std::vector<char> host(uri.begin(), uri.end());
      host.push_back('\0');
      ctx = iio_create_network_context(host.data());
    } else if (requested_.connectionType == kConnectionUsbAuto) {
      IIOFindUSBDescriptor();
      uri = lv::WideToUtf8(requested_.GetURI() ? requested_.GetURI() : L"");
      std::vector<char> copy(uri.begin(), uri.end());
      copy.push_back('\0');
      ctx = iio_create_context_from_uri(copy.data());
    } else {
      throw new CQError(
          "Invalid connection type; only IIO over LAN, and IIO over USB (Auto), are currently supported.");
    }
    if (ctx == nullptr) {
      // libiio leaves its reason in errno: the user sees it with the address tried.
      const int reason = errno;
      const std::string message =
          "Error creating IIO context.\nThis means that the IIO device couldn't be found.\nMake sure the instrument "
          "connection parameters are correct.\nIf no device is desired, make sure the buttons on the main tool bar "
          "are correct.\nlibiio: " +
          (reason != 0 ? LibiioError(reason) : std::string("no context")) + "\nAddress: " + uri;
      throw new CQError(message.c_str());
    }
    context_.reset(ctx);
    if (iio_context_get_devices_count(ctx) == 0) {
      throw new CQError("No IIO devices found.\nMake sure that the instrument connection parameters are correct.");
    }
    applied_.connectionType = requested_.connectionType;
    if (requested_.connectionType == kConnectionLan) {
      applied_.SetIPAddress(requested_.GetIPAddress());
    } else {
      applied_.SetURI(requested_.GetURI());
    }
    txChannelsUsed_ = 0;
    rxChannelsUsed_ = 0;
    const std::optional<BoardDevices> board = FindBoard(requested_.model);
    if (!board) {
      throw new CQError("Unsupported instrument model.");
    }
    auto find = [&](const char* name, const char* missing) -> iio_device* {
      if (name == nullptr) {
        return nullptr;
      }
      iio_device* dev = iio_context_find_device(ctx, name);
      if (dev == nullptr) {
        throw new CQError(missing);
      }
      return dev;
    };
    phy_ = find(board->phy, board->phyMissing);
    rxDev_ = find(board->rx, board->rxMissing);
    txDev_ = find(board->tx, board->txMissing);
    txChannelsUsed_ = std::min(board->txUsed, numXmtrs_);
    rxChannelsUsed_ = std::min(board->rxUsed, numRcvrs_);
    iio_context_set_timeout(ctx, 1000);
    if (IsAd908x(requested_.model)) {
      const int r = iio_device_debug_attr_write_bool(txDev_, "pl_ddr_fifo_enable", true);
      if (r < 0) {
        throw new CQError(lv::FormatC("Error writing debug attribute pl_ddr_fifo_enable of device %s: %s.",
                                      DeviceName(txDev_), LibiioError(r).c_str())
                              .c_str());
      }
    }
    tonesOff_ = false;
    applied_.model = requested_.model;
  });
}

void CQInstrIIOMultiXcvr::IIOFindUSBDescriptor() {
  Named("CQInstrIIOMultiXcvr::IIOFindUSBDescriptor", [&] {
    iio_scan_context* scan = iio_create_scan_context("usb", 0);
    iio_context_info** list = nullptr;
    // A scan that cannot start (no USB support) counts as finding nothing.
    const ssize_t count = scan != nullptr ? iio_scan_context_get_info_list(scan, &list) : 0;
    auto release = [&] {
      if (list != nullptr) {
        iio_context_info_list_free(list);
      }
      if (scan != nullptr) {
        iio_scan_context_destroy(scan);
      }
    };
    if (count <= 0) {
      release();
      throw new CQError("No IIO devices found on USB.\nIs your device connected?");
    }
    const char* uri = iio_context_info_get_uri(list[0]);
    if (uri == nullptr) {
      release();
      throw new CQError("The IIO library returned an invalid USB descriptor.");
    }
    requested_.SetURI(lv::NarrowToWide(uri).substr(0, 127).c_str());
    release();
  });
}

void CQInstrIIOMultiXcvr::IIOCreateReceive() {
  Named("CQInstrIIOMultiXcvr::IIOCreateReceive", [&] {
    const int model = applied_.model;
    for (int i = 0; i < rxChannelsUsed_; ++i) {
      const auto u = static_cast<size_t>(i);
      if (!requested_.Rcvr(i).on) {
        if (model == kModelFmcdaq2 && rxI_[u] == nullptr) {
          rcvrScale_[u] = 1.0f;
        }
        continue;
      }
      if (rxI_[u] != nullptr) {
        continue;
      }
      if (IsAd9361Family(model) || IsMykonos(model)) {
        rxI_[u] = iio_device_get_channel(rxDev_, i == 0 ? 0 : 2);
        rxQ_[u] = iio_device_get_channel(rxDev_, i == 0 ? 1 : 3);
      } else if (IsAd908x(model)) {
        rxI_[u] = iio_device_find_channel(rxDev_, Format("voltage%d_i", i).c_str(), false);
        rxQ_[u] = iio_device_find_channel(rxDev_, Format("voltage%d_q", i).c_str(), false);
      } else if (model == kModelFmcdaq2) {
        rxI_[u] = iio_device_find_channel(rxDev_, Format("voltage%d", i).c_str(), false);
        if (rxI_[u] == nullptr) {
          throw new CQError("Error finding IIO receive channel.");
        }
        iio_channel_enable(rxI_[u]);
        const iio_data_format* fmt = iio_channel_get_data_format(rxI_[u]);
        rcvrScale_[u] = (fmt != nullptr && fmt->with_scale) ? static_cast<float>(fmt->scale) : 1.0f;
        continue;
      } else {
        continue;
      }
      if (rxI_[u] == nullptr) {
        throw new CQError("Error finding IIO receive channel I.");
      }
      if (rxQ_[u] == nullptr) {
        rxI_[u] = nullptr;
        throw new CQError("Error finding IIO receive channel Q.");
      }
      iio_channel_enable(rxI_[u]);
      iio_channel_enable(rxQ_[u]);
    }
  });
}

void CQInstrIIOMultiXcvr::IIOCreateTransmit() {
  Named("CQInstrIIOMultiXcvr::IIOCreateTransmit", [&] {
    const int model = applied_.model;
    for (int i = 0; i < txChannelsUsed_; ++i) {
      const auto u = static_cast<size_t>(i);
      if (!requested_.Xmtr(i).on || txI_[u] != nullptr) {
        continue;
      }
      iio_channel* ci = nullptr;
      iio_channel* cq = nullptr;
      if (IsAd9361Family(model) || IsMykonos(model)) {
        ci = iio_device_get_channel(txDev_, i == 0 ? 0 : 2);
        cq = iio_device_get_channel(txDev_, i == 0 ? 1 : 3);
      } else if (IsAd908x(model) || model == kModelAd9172) {
        ci = iio_device_find_channel(txDev_, Format("voltage%d_i", i).c_str(), true);
        cq = iio_device_find_channel(txDev_, Format("voltage%d_q", i).c_str(), true);
      } else if (model == kModelFmcdaq2) {
        ci = iio_device_find_channel(txDev_, Format("voltage%d", i).c_str(), true);
        if (ci == nullptr) {
          throw new CQError("Error finding IIO transmit channel I.");
        }
        iio_channel_enable(ci);
        txI_[u] = ci;
        continue;
      } else {
        continue;
      }
      if (ci == nullptr) {
        throw new CQError("Error finding IIO transmit channel I.");
      }
      if (cq == nullptr) {
        throw new CQError("Error finding IIO transmit channel Q.");
      }
      iio_channel_enable(ci);
      iio_channel_enable(cq);
      txI_[u] = ci;
      txQ_[u] = cq;
    }
  });
}

void CQInstrIIOMultiXcvr::IIODestroyReceive() {
  if (rxBuffer_ != nullptr) {
    iio_buffer_cancel(rxBuffer_);
    iio_buffer_destroy(rxBuffer_);
    rxBuffer_ = nullptr;
  }
  rxBufferSize_ = 0;
  for (size_t i = 0; i < rxI_.size(); ++i) {
    for (iio_channel** ch : {&rxI_[i], &rxQ_[i]}) {
      if (*ch != nullptr) {
        iio_channel_disable(*ch);
        *ch = nullptr;
      }
    }
  }
}

void CQInstrIIOMultiXcvr::IIODestroyTransmit() {
  for (size_t i = 0; i < txI_.size(); ++i) {
    for (iio_channel** ch : {&txI_[i], &txQ_[i]}) {
      if (*ch != nullptr) {
        iio_channel_disable(*ch);
        *ch = nullptr;
      }
    }
  }
  if (txBuffer_ != nullptr) {
    iio_buffer_cancel(txBuffer_);
    iio_buffer_destroy(txBuffer_);
    txBuffer_ = nullptr;
  }
  txBufferSize_ = 0;
}

void CQInstrIIOMultiXcvr::IIODisconnect() {
  IIODestroyReceive();
  IIODestroyTransmit();
  context_.reset();
  phy_ = rxDev_ = txDev_ = nullptr;
  applied_.Reset();
}

void CQInstrIIOMultiXcvr::Disconnect() {
  Named("CQInstrIIOMultiXcvr::Disconnect", [&] {
    ShowStatusText(L"Disconnecting");
    IIODisconnect();
    ShowStatusText(L" ");
  });
}

void CQInstrIIOMultiXcvr::ReadRateFile(int rateIndex, const wchar_t* dir, char* buffer, int size) {
  Named("CQInstrIIOMultiXcvr::ReadRateFile", [&] {
    if (buffer == nullptr || size <= 0) {
      throw new CQError("Null pointer to rate data.");
    }
    if (dir == nullptr) {
      throw new CQError("Null pointer to baseband directory.");
    }
    std::memset(buffer, 0, static_cast<size_t>(size));
    wchar_t name[2048];
    CQInstrADI::MakeRateFileName(rateIndex, dir, name, 2048);
    FILE* f = std::fopen(lv::WideToUtf8(name).c_str(), "rb");
    if (f == nullptr) {
      throw new CQError(lv::FormatCW(L"Error opening baseband rate file \"%ls\".", name).substr(0, 1023).c_str());
    }
    const size_t got = std::fread(buffer, 1, static_cast<size_t>(size), f);
    std::fclose(f);
    if (got >= static_cast<size_t>(size)) {
      throw new CQError("The number of bytes in the baseband rate file exceeds the buffer size.");
    }
  });
}

// ---- parameter pass -----------------------------------------------------------

void CQInstrIIOMultiXcvr::TakeRate(int rateIndex) {
  rxSampleRate_ = CQInstrADI::GetRxSampleRate(rateIndex);
  txSampleRate_ = CQInstrADI::GetTxSampleRate(rateIndex);
  rxSpan_ = CQInstrADI::GetSpan(rateIndex);
  applied_.rateIndex = rateIndex;
}

void CQInstrIIOMultiXcvr::ReceiverGainBlock(int limit) {
  for (int i = 0; i < rxChannelsUsed_; ++i) {
    CQInstrRcvrSettings& req = requested_.Rcvr(i);
    CQInstrRcvrSettings& app = applied_.Rcvr(i);
    app.on = req.on;
    if (!req.on) {
      continue;
    }
    const std::string ch = Format("voltage%d", i);
    if (req.gainMode == 1) {
      req.gain = std::clamp(req.gain, 0, limit);
      WriteText(phy_, ch, false, "gain_control_mode", "manual");
      WriteLongLong(phy_, ch, false, "hardwaregain", req.gain);
    } else if (req.gainMode == 2) {
      WriteText(phy_, ch, false, "gain_control_mode", "slow_attack");
    }
    app.gainMode = req.gainMode;
    app.gain = req.gain;
  }
}

void CQInstrIIOMultiXcvr::TransmitterAttenuationBlock(int limit) {
  for (int i = 0; i < txChannelsUsed_; ++i) {
    CQInstrXmtrSettings& req = requested_.Xmtr(i);
    CQInstrXmtrSettings& app = applied_.Xmtr(i);
    app.on = req.on;
    if (!req.on) {
      continue;
    }
    req.attenuation = std::clamp(req.attenuation, 0, limit);
    // Negated as an integer (clamped above, so it cannot overflow): an
    // attenuation of 0 is written as "0.000000", never as "-0.000000".
    WriteDouble(phy_, Format("voltage%d", i), true, "hardwaregain", static_cast<double>(-req.attenuation));
    app.attenuation = req.attenuation;
  }
}

void CQInstrIIOMultiXcvr::TonesOff(int count, bool withFrequency) {
  for (int i = 0; i < count; ++i) {
    const std::string ch = Format("altvoltage%d", i);
    if (withFrequency) {
      WriteLongLong(txDev_, ch, true, "frequency", 1);
    }
    WriteLongLong(txDev_, ch, true, "scale", 0);
  }
}

void CQInstrIIOMultiXcvr::IIOSetParams() {
  Named("CQInstrIIOMultiXcvr::IIOSetParams", [&] {
    const int model = applied_.model;
    const std::optional<BoardDevices> board = FindBoard(model);
    if (!board) {
      throw new CQError("Unsupported instrument model.");
    }
    // Rate index normalisation.
    int& rate = requested_.rateIndex;
    if (IsAd9361Family(model)) {
      rate = (rate < 1 || rate > 22) ? 6 : rate;
    } else if (model == kModelAd9371) {
      rate = 100;
    } else if (model == kModelAdrv9009) {
      rate = (rate == 200 || rate == 201) ? rate : 200;
    } else if (model == kModelAd9081) {
      rate = 400;
    } else if (model == kModelAd9082) {
      rate = (rate == 401 || rate == 402 || rate == 405) ? rate : 401;
    } else if (model == kModelAd9172) {
      rate = 800;
    }

    CheckRequestedFrequencies(model);

    bool rebuildRx = false;
    bool rebuildTx = false;
    if (IsAd9361Family(model) || IsMykonos(model)) {
      if (IsAd9361Family(model)) {
        SetParamsAd9361(rebuildRx, rebuildTx);
      } else {
        SetParamsMykonos(rebuildRx, rebuildTx, model == kModelAdrv9009);
      }
      if (rebuildRx) {
        IIODestroyReceive();
      }
      if (rebuildTx || changed_) {
        IIODestroyTransmit();
      }
      if (rebuildRx) {
        IIOCreateReceive();
      }
      if (rebuildTx || changed_) {
        IIOCreateTransmit();
      }
    } else if (IsAd908x(model)) {
      const bool rateChanged = rate != applied_.rateIndex;
      if (rateChanged) {
        TakeRate(rate);
      }
      SetParamsAd908x(rateChanged);
    } else if (model == kModelFmcdaq2) {
      const bool rateChanged = rate != applied_.rateIndex;
      if (rateChanged) {
        TakeRate(rate);
      }
      SetParamsFmcdaq2(rateChanged);
    } else {
      SetParamsAd9172();
    }
    if (model != kModelAd9172) {
      applied_.rcvrNumSamples = requested_.rcvrNumSamples;
      applied_.rcvrCalFactor = requested_.rcvrCalFactor;
    }
  });
}

// Every frequency the pass is about to write is checked first, so a bad one
// leaves the board untouched. Local oscillators: 70 MHz to 6 GHz (AD9361
// family), 75 MHz to 6 GHz (ADRV9009); the AD9371 clamps its oscillators to
// 300 MHz..6 GHz, so only finiteness is checked there. Converter NCOs and DDS
// tones: within +-6 GHz.
void CQInstrIIOMultiXcvr::CheckRequestedFrequencies(int model) const {
  constexpr double kAnyFinite = std::numeric_limits<double>::max();
  if (IsAd9361Family(model) || IsMykonos(model)) {
    double low = 70e6;
    double high = 6e9;
    if (model == kModelAd9371) {
      low = -kAnyFinite;
      high = kAnyFinite;
    } else if (model == kModelAdrv9009) {
      low = 75e6;
    }
    if (Differs(requested_.rcvrCenterFreq, applied_.rcvrCenterFreq)) {
      CheckFrequency("receive centre frequency", requested_.rcvrCenterFreq, low, high);
    }
    if (model != kModelAdrv9009 && Differs(requested_.xmtrCenterFreq, applied_.xmtrCenterFreq)) {
      CheckFrequency("transmit centre frequency", requested_.xmtrCenterFreq, low, high);
    }
    return;
  }
  if (IsAd908x(model)) {
    for (int i = 0; i < rxChannelsUsed_; ++i) {
      const auto& req = requested_.Rcvr(i);
      if (req.on && Differs(req.centerFreq, applied_.Rcvr(i).centerFreq)) {
        CheckFrequency("receive NCO frequency", req.centerFreq, -6e9, 6e9);
      }
    }
  }
  if (IsAd908x(model) || model == kModelAd9172) {
    for (int i = 0; i < txChannelsUsed_; ++i) {
      const auto& req = requested_.Xmtr(i);
      if (req.on && Differs(req.centerFreq, applied_.Xmtr(i).centerFreq)) {
        CheckFrequency("transmit NCO frequency", req.centerFreq, -6e9, 6e9);
      }
    }
  }
}

// Which receivers / transmitters differ from what was applied; a changed on
// flag also marks the channels for rebuilding.
static bool ReceiversDiffer(const CQInstrIIOMultiXcvrSettings& req, const CQInstrIIOMultiXcvrSettings& app, int used,
                            bool& rebuild) {
  bool differ = false;
  for (int i = 0; i < used; ++i) {
    const auto& a = req.Rcvr(i);
    const auto& b = app.Rcvr(i);
    if (a.on != b.on) {
      differ = rebuild = true;
    } else if (a.on && (a.gainMode != b.gainMode || (a.gainMode == 1 && b.gainMode == 1 && a.gain != b.gain))) {
      differ = true;
    }
  }
  return differ;
}

static bool TransmittersDiffer(const CQInstrIIOMultiXcvrSettings& req, const CQInstrIIOMultiXcvrSettings& app,
                               int used, bool& rebuild) {
  bool differ = false;
  for (int i = 0; i < used; ++i) {
    const auto& a = req.Xmtr(i);
    const auto& b = app.Xmtr(i);
    if (a.on != b.on) {
      differ = rebuild = true;
    } else if (a.on && a.attenuation != b.attenuation) {
      differ = true;
    }
  }
  return differ;
}

void CQInstrIIOMultiXcvr::SetParamsAd9361(bool& rebuildRx, bool& rebuildTx) {
  const int rate = requested_.rateIndex;
  if (rate != applied_.rateIndex) {
    const double rx = CQInstrADI::GetRxSampleRate(rate);
    const double tx = CQInstrADI::GetTxSampleRate(rate);
    if (applied_.model == kModelPluto && (!IsLessOrNearlyEqual(rx, 30.72e6, 1.0) || !IsLessOrNearlyEqual(tx, 30.72e6, 1.0))) {
      throw new CQError("The maximum sample rate for Pluto 2Rx 2Tx, is 30.72 Msps.");
    }
    // The filter configuration of the new rate, written whole to the board.
    std::vector<char> config(4096, '\0');
    ReadRateFile(rate, basebandDir_.c_str(), config.data(), 4096);
    for (int i = 0; i < txChannelsUsed_; ++i) {
      WriteBool(phy_, Format("voltage%d", i), true, "filter_fir_en", false);
    }
    for (int i = 0; i < rxChannelsUsed_; ++i) {
      WriteBool(phy_, Format("voltage%d", i), false, "filter_fir_en", false);
    }
    for (int i = 0; i < txChannelsUsed_; ++i) {
      WriteLongLong(phy_, Format("voltage%d", i), true, "sampling_frequency", 30720000);
    }
    for (int i = 0; i < rxChannelsUsed_; ++i) {
      WriteLongLong(phy_, Format("voltage%d", i), false, "sampling_frequency", 30720000);
    }
    ShowStatusText(L"Setting baseband configuration");
    const size_t len = std::strlen(config.data());
    if (iio_device_attr_write_raw(phy_, "filter_fir_config", config.data(), len) != static_cast<ssize_t>(len)) {
      throw new CQError("Error setting baseband configuration.");
    }
    for (int i = 0; i < txChannelsUsed_; ++i) {
      if (requested_.Xmtr(i).on) {
        WriteBool(phy_, Format("voltage%d", i), true, "filter_fir_en", true);
      }
    }
    for (int i = 0; i < rxChannelsUsed_; ++i) {
      if (requested_.Rcvr(i).on) {
        WriteBool(phy_, Format("voltage%d", i), false, "filter_fir_en", true);
      }
    }
    ShowStatusText(L" ");
    TakeRate(rate);
    rebuildRx = rebuildTx = true;
  }
  if (ReceiversDiffer(requested_, applied_, rxChannelsUsed_, rebuildRx)) {
    ReceiverGainBlock(70);
  }
  // The local oscillators are retuned whenever their centre moved by more than 1 Hz.
  if (Differs(requested_.rcvrCenterFreq, applied_.rcvrCenterFreq)) {
    WriteLongLong(phy_, "RX_LO", true, "frequency", RoundToInt64(requested_.rcvrCenterFreq));
    applied_.rcvrCenterFreq = requested_.rcvrCenterFreq;
    for (int i = 0; i < numRcvrs_; ++i) {
      applied_.Rcvr(i).centerFreq = requested_.Rcvr(i).centerFreq;
    }
  }
  if (TransmittersDiffer(requested_, applied_, txChannelsUsed_, rebuildTx)) {
    TransmitterAttenuationBlock(70);
  }
  if (Differs(requested_.xmtrCenterFreq, applied_.xmtrCenterFreq)) {
    WriteLongLong(phy_, "TX_LO", true, "frequency", RoundToInt64(requested_.xmtrCenterFreq));
    applied_.xmtrCenterFreq = requested_.xmtrCenterFreq;
    for (int i = 0; i < numXmtrs_; ++i) {
      applied_.Xmtr(i).centerFreq = requested_.Xmtr(i).centerFreq;
    }
  }
  RecordUnwrittenFields();
}

void CQInstrIIOMultiXcvr::SetParamsMykonos(bool& rebuildRx, bool& rebuildTx, bool adrv9009) {
  if (requested_.rateIndex != applied_.rateIndex) {
    TakeRate(requested_.rateIndex);
    rebuildRx = rebuildTx = true;
  }
  if (!tonesOff_) {
    TonesOff(8, false);
    tonesOff_ = true;
  }
  const bool rxDiffer = ReceiversDiffer(requested_, applied_, rxChannelsUsed_, rebuildRx);
  const bool txDiffer = TransmittersDiffer(requested_, applied_, txChannelsUsed_, rebuildTx);
  if (!adrv9009) {
    const bool rxCentre = Differs(requested_.rcvrCenterFreq, applied_.rcvrCenterFreq);
    if (rxDiffer || rxCentre) {
      ReceiverGainBlock(30);
      if (rxCentre) {
        requested_.rcvrCenterFreq = std::clamp(requested_.rcvrCenterFreq, 3e8, 6e9);
        WriteLongLong(phy_, "altvoltage0", true, "RX_LO_frequency", RoundToInt64(requested_.rcvrCenterFreq));
        applied_.rcvrCenterFreq = requested_.rcvrCenterFreq;
      }
    }
    const bool txCentre = Differs(requested_.xmtrCenterFreq, applied_.xmtrCenterFreq);
    if (txDiffer || txCentre) {
      TransmitterAttenuationBlock(41);
      if (txCentre) {
        requested_.xmtrCenterFreq = std::clamp(requested_.xmtrCenterFreq, 3e8, 6e9);
        WriteLongLong(phy_, "altvoltage1", true, "TX_LO_frequency", RoundToInt64(requested_.xmtrCenterFreq));
        applied_.xmtrCenterFreq = requested_.xmtrCenterFreq;
      }
    }
  } else {
    if (rxDiffer) {
      ReceiverGainBlock(30);
    }
    if (txDiffer) {
      TransmitterAttenuationBlock(41);
    }
    // One local oscillator for both directions, tuned from the receive centre.
    if (Differs(requested_.rcvrCenterFreq, applied_.rcvrCenterFreq)) {
      WriteLongLong(phy_, "TRX_LO", true, "frequency", RoundToInt64(requested_.rcvrCenterFreq));
      applied_.rcvrCenterFreq = requested_.rcvrCenterFreq;
    }
    requested_.xmtrCenterFreq = requested_.rcvrCenterFreq;
    applied_.xmtrCenterFreq = requested_.rcvrCenterFreq;
  }
  RecordUnwrittenFields();
}

// Phases and per-channel centres are carried but not written on boards with
// common local oscillators: record them so that the groups compare equal and
// an unchanged request does not run the pass again.
void CQInstrIIOMultiXcvr::RecordUnwrittenFields() {
  for (int i = 0; i < numXmtrs_; ++i) {
    applied_.Xmtr(i).phase = requested_.Xmtr(i).phase;
    applied_.Xmtr(i).centerFreq = requested_.Xmtr(i).centerFreq;
  }
  for (int i = 0; i < numRcvrs_; ++i) {
    applied_.Rcvr(i).phase = requested_.Rcvr(i).phase;
    applied_.Rcvr(i).centerFreq = requested_.Rcvr(i).centerFreq;
  }
}

void CQInstrIIOMultiXcvr::SetParamsAd908x(bool rateChanged) {
  iio_device* converter = rxDev_;
  if (!tonesOff_) {
    TonesOff(applied_.model == kModelAd9081 ? 16 : 8, true);
    for (int i = 0; i < txChannelsUsed_; ++i) {
      const std::string ch = Format("voltage%d_i", i);
      WriteLongLong(converter, ch, true, "en", 0);
      WriteLongLong(converter, ch, true, "main_nco_frequency", 0);
    }
    tonesOff_ = true;
  }
  for (int i = 0; i < rxChannelsUsed_; ++i) {
    CQInstrRcvrSettings& req = requested_.Rcvr(i);
    CQInstrRcvrSettings& app = applied_.Rcvr(i);
    app.on = req.on;
    if (req.on) {
      if (Differs(req.centerFreq, app.centerFreq)) {
        const std::string ch = Format("voltage%d_i", i);
        WriteLongLong(converter, ch, false, "main_nco_frequency", RoundToInt64(req.centerFreq));
        WriteLongLong(converter, ch, false, "channel_nco_frequency", 0);
        app.centerFreq = req.centerFreq;
      }
      req.gainMode = app.gainMode = 1;
      req.gain = app.gain = 0;
    }
    app.phase = req.phase;
  }
  FinishReceivePass(rateChanged);
  for (int i = 0; i < txChannelsUsed_; ++i) {
    CQInstrXmtrSettings& req = requested_.Xmtr(i);
    CQInstrXmtrSettings& app = applied_.Xmtr(i);
    const std::string ch = Format("voltage%d_i", i);
    if (req.on != app.on) {
      WriteLongLong(converter, ch, true, "en", req.on ? 1 : 0);
      app.on = req.on;
    }
    if (req.on) {
      if (Differs(req.centerFreq, app.centerFreq)) {
        WriteLongLong(converter, ch, true, "main_nco_frequency", RoundToInt64(req.centerFreq));
        WriteLongLong(converter, ch, true, "channel_nco_frequency", 0);
        WriteDouble(converter, ch, true, "channel_nco_gain_scale", 0.5);
        app.centerFreq = req.centerFreq;
      }
      req.attenuation = app.attenuation = 0;
    }
    app.phase = req.phase;
  }
  FinishTransmitPass(changed_ || rateChanged);
}

void CQInstrIIOMultiXcvr::SetParamsFmcdaq2(bool rateChanged) {
  for (int i = 0; i < rxChannelsUsed_; ++i) {
    CQInstrRcvrSettings& req = requested_.Rcvr(i);
    CQInstrRcvrSettings& app = applied_.Rcvr(i);
    app.on = req.on;
    if (req.on) {
      req.gainMode = app.gainMode = 1;
      req.gain = app.gain = 0;
      app.centerFreq = req.centerFreq;
    }
    app.phase = req.phase;
  }
  applied_.rcvrCenterFreq = requested_.rcvrCenterFreq;
  FinishReceivePass(rateChanged);
  for (int i = 0; i < txChannelsUsed_; ++i) {
    CQInstrXmtrSettings& req = requested_.Xmtr(i);
    CQInstrXmtrSettings& app = applied_.Xmtr(i);
    app.on = req.on;
    if (req.on) {
      req.attenuation = app.attenuation = 0;
      app.centerFreq = req.centerFreq;
    }
    app.phase = req.phase;
  }
  FinishTransmitPass(changed_ || rateChanged);
}

void CQInstrIIOMultiXcvr::SetParamsAd9172() {
  bool stepOne = false;
  if (!tonesOff_ || requested_.rateIndex != applied_.rateIndex) {
    stepOne = true;
    if (requested_.rateIndex != applied_.rateIndex) {
      TakeRate(requested_.rateIndex);
    }
    if (!tonesOff_) {
      TonesOff(8, true);
      WriteLongLong(txDev_, "voltage0", true, "enable", 0);
      WriteLongLong(txDev_, "voltage1", true, "enable", 0);
      tonesOff_ = true;
    }
  }
  for (int i = 0; i < txChannelsUsed_; ++i) {
    CQInstrXmtrSettings& req = requested_.Xmtr(i);
    CQInstrXmtrSettings& app = applied_.Xmtr(i);
    const std::string ch = Format("voltage%d", i + 6);
    if (req.on != app.on) {
      WriteLongLong(txDev_, ch, true, "enable", req.on ? 1 : 0);
      app.on = req.on;
    }
    if (req.on) {
      if (Differs(req.centerFreq, app.centerFreq)) {
        WriteLongLong(txDev_, ch, true, "frequency", RoundToInt64(req.centerFreq));
        app.centerFreq = req.centerFreq;
      }
      req.attenuation = app.attenuation = 0;
      req.phase = app.phase = 0.0f;
    }
  }
  FinishTransmitPass(changed_ || stepOne);
}

void CQInstrIIOMultiXcvr::FinishReceivePass(bool rebuild) {
  applied_.rcvrNumSamples = requested_.rcvrNumSamples;
  applied_.rcvrCalFactor = requested_.rcvrCalFactor;
  if (rebuild) {
    IIODestroyReceive();
    IIOCreateReceive();
  }
}

void CQInstrIIOMultiXcvr::FinishTransmitPass(bool rebuild) {
  applied_.xmtrCenterFreq = requested_.xmtrCenterFreq;
  if (rebuild) {
    IIODestroyTransmit();
    IIOCreateTransmit();
  }
}

// ---- transmission -------------------------------------------------------------

void ScaleIntoFrames(const CQComplex* samples, int n, float gain, bool real, uint8_t* out, ptrdiff_t step) {
  const CQFrameChannel channel{samples, out};
  ScaleIntoFrames(&channel, 1, n, gain, real, step);
}

namespace {

constexpr int kScaleBlock = 1024;  // samples per channel converted at a time

// Places the converted frames of up to four channels in address order. Frame
// size and channel count are constants here so that each frame is one plain
// load and store.
template <typename Frame, int kMembers>
void PlaceFrames(const int16_t (*ints)[2 * kScaleBlock], uint8_t* const* dst, int m, ptrdiff_t step) {
  const ptrdiff_t stride = step;
  for (int k = 0; k < m; ++k) {
    for (int c = 0; c < kMembers; ++c) {
      Frame f;
      std::memcpy(&f, ints[c] + 2 * k, sizeof(Frame));
      std::memcpy(dst[c] + k * stride, &f, sizeof(Frame));
    }
  }
}

// Four complex channels whose frames lie side by side (16-byte steps, channel
// c at byte 4c): a 4 x 4 transpose of 32-bit frames, so every 16-byte store is
// a whole group of frames and each 64-byte line of the buffer is written in
// four consecutive full stores (no partial-line writes to merge). Gives the
// same bytes as the frame-by-frame loop. With stream set (a buffer far larger
// than the caches, 16-byte aligned) the lines go straight to memory, skipping
// the read for ownership a cached store of a line costs.
void PlaceFourAdjacentComplexFrames(const int16_t (*ints)[2 * kScaleBlock], uint8_t* dst, int m, bool stream) {
  int k = 0;
  if (stream) {
    for (; k + 4 <= m; k += 4) {
      const __m128i a = _mm_load_si128(reinterpret_cast<const __m128i*>(ints[0] + 2 * k));
      const __m128i b = _mm_load_si128(reinterpret_cast<const __m128i*>(ints[1] + 2 * k));
      const __m128i c = _mm_load_si128(reinterpret_cast<const __m128i*>(ints[2] + 2 * k));
      const __m128i d = _mm_load_si128(reinterpret_cast<const __m128i*>(ints[3] + 2 * k));
      const __m128i ab01 = _mm_unpacklo_epi32(a, b);
      const __m128i cd01 = _mm_unpacklo_epi32(c, d);
      const __m128i ab23 = _mm_unpackhi_epi32(a, b);
      const __m128i cd23 = _mm_unpackhi_epi32(c, d);
      __m128i* const out = reinterpret_cast<__m128i*>(dst + 16 * static_cast<ptrdiff_t>(k));
      _mm_stream_si128(out, _mm_unpacklo_epi64(ab01, cd01));
      _mm_stream_si128(out + 1, _mm_unpackhi_epi64(ab01, cd01));
      _mm_stream_si128(out + 2, _mm_unpacklo_epi64(ab23, cd23));
      _mm_stream_si128(out + 3, _mm_unpackhi_epi64(ab23, cd23));
    }
  }
  for (; k + 4 <= m; k += 4) {
    const __m128i a = _mm_load_si128(reinterpret_cast<const __m128i*>(ints[0] + 2 * k));
    const __m128i b = _mm_load_si128(reinterpret_cast<const __m128i*>(ints[1] + 2 * k));
    const __m128i c = _mm_load_si128(reinterpret_cast<const __m128i*>(ints[2] + 2 * k));
    const __m128i d = _mm_load_si128(reinterpret_cast<const __m128i*>(ints[3] + 2 * k));
    const __m128i ab01 = _mm_unpacklo_epi32(a, b);
    const __m128i cd01 = _mm_unpacklo_epi32(c, d);
    const __m128i ab23 = _mm_unpackhi_epi32(a, b);
    const __m128i cd23 = _mm_unpackhi_epi32(c, d);
    uint8_t* const out = dst + 16 * static_cast<ptrdiff_t>(k);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi64(ab01, cd01));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), _mm_unpackhi_epi64(ab01, cd01));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 32), _mm_unpacklo_epi64(ab23, cd23));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 48), _mm_unpackhi_epi64(ab23, cd23));
  }
  for (; k < m; ++k) {
    for (int c = 0; c < 4; ++c) {
      std::memcpy(dst + 16 * static_cast<ptrdiff_t>(k) + 4 * c, ints[c] + 2 * k, 4);
    }
  }
}

template <typename Frame>
void PlaceFrames(int members, const int16_t (*ints)[2 * kScaleBlock], uint8_t* const* dst, int m, ptrdiff_t step,
                 bool stream) {
  if constexpr (sizeof(Frame) == 4) {
    if (members == 4 && step == 16 && dst[1] == dst[0] + 4 && dst[2] == dst[0] + 8 && dst[3] == dst[0] + 12) {
      PlaceFourAdjacentComplexFrames(ints, dst[0], m, stream && (reinterpret_cast<uintptr_t>(dst[0]) & 15) == 0);
      return;
    }
  }
  switch (members) {
    case 1: PlaceFrames<Frame, 1>(ints, dst, m, step); break;
    case 2: PlaceFrames<Frame, 2>(ints, dst, m, step); break;
    case 3: PlaceFrames<Frame, 3>(ints, dst, m, step); break;
    default: PlaceFrames<Frame, 4>(ints, dst, m, step); break;
  }
}

}  // namespace

void ScaleIntoFrames(const CQFrameChannel* channels, int count, int n, float gain, bool real, ptrdiff_t step) {
  // In cache-sized blocks: scale and convert each channel's block with
  // truncation toward zero and saturation (the vector primitives), then place
  // the frames of the block in address order, so every cache line of the
  // buffer is written once per call rather than once per channel.
  constexpr int kGroup = 4;  // channels converted per sweep of a block
  alignas(64) float scaled[2 * kScaleBlock];
  alignas(64) int16_t ints[kGroup][2 * kScaleBlock];
  // Non-temporal stores pay off only for a buffer well beyond the caches.
  const bool stream = static_cast<int64_t>(n) * step >= (int64_t{16} << 20);
  for (int first = 0; first < n; first += kScaleBlock) {
    const int m = std::min(kScaleBlock, n - first);
    for (int g = 0; g < count; g += kGroup) {
      const int members = std::min(kGroup, count - g);
      for (int c = 0; c < members; ++c) {
        const float* parts = reinterpret_cast<const float*>(channels[g + c].samples + first);
        if (VectorMultiplyScalarFloat32(parts, gain, scaled, 2 * m) != 0 ||
            VectorConvertScaledFloat32ToInt16(scaled, ints[c], 2 * m, RoundTowardZero, 0) != 0) {
          throw new CQError(2);
        }
      }
      const ptrdiff_t offset = static_cast<ptrdiff_t>(first) * step;
      if (members == 1 && !real && step == 4) {
        std::memcpy(channels[g].out + offset, ints[0], 4 * static_cast<size_t>(m));
        continue;
      }
      uint8_t* dst[kGroup];
      for (int c = 0; c < members; ++c) {
        dst[c] = channels[g + c].out + offset;
      }
      if (real) {
        PlaceFrames<uint16_t>(members, ints, dst, m, step, stream);
      } else {
        PlaceFrames<uint32_t>(members, ints, dst, m, step, stream);
      }
    }
  }
  if (stream) _mm_sfence();
}

void CQInstrIIOMultiXcvr::SetXmtrData(const CQCArrayTD* data, int index) {
  Named("CQInstrIIOMultiXcvr::SetXmtrData", [&] {
    if (data == nullptr) {
      throw new CQError("Null pointer to pointer to transmitter data.");
    }
    if (index < 0 || index >= numXmtrs_) {
      throw new CQError("Invalid transmitter number.");
    }
    xmtrData_[static_cast<size_t>(index)]->Set(data);
    changed_ = true;
  });
}

void CQInstrIIOMultiXcvr::ConnectAndApply(bool transmit) {
  Connect();
  const bool same = transmit ? applied_.SameXmtrSettings(&requested_, txChannelsUsed_)
                             : applied_.SameRcvrSettings(&requested_, rxChannelsUsed_);
  // The rate index is part of the change test: a new rate re-runs the pass.
  if (!same || applied_.rateIndex != requested_.rateIndex) {
    IIOSetParams();
  }
}

bool CQInstrIIOMultiXcvr::GetTransmitNow() {
  return Named("CQInstrIIOMultiXcvr::GetTransmitNow", [&] { return Transmit(); });
}

bool CQInstrIIOMultiXcvr::Transmit() {
  return Named("CQInstrIIOMultiXcvr::Transmit", [&] {
    if (!requested_.AnyXmtrOn()) {
      IIODestroyTransmit();  // stops the board's output
      return true;
    }
    for (int i = 0; i < txChannelsUsed_; ++i) {
      if (requested_.Xmtr(i).on && xmtrData_[static_cast<size_t>(i)]->GetNumPoints() < 1) {
        throw new CQError("No data to transmit.");
      }
    }
    ConnectAndApply(true);
    IIOTransmit();
    return true;
  });
}

void CQInstrIIOMultiXcvr::IIOTransmit() {
  Named("CQInstrIIOMultiXcvr::IIOTransmit", [&] {
    IIOCreateTransmit();
    const int model = applied_.model;
    const bool real = model == kModelFmcdaq2;
    int n = -1;
    for (int i = 0; i < txChannelsUsed_; ++i) {
      if (!requested_.Xmtr(i).on) {
        continue;
      }
      const CQCArrayTD& data = *xmtrData_[static_cast<size_t>(i)];
      if (data.GetNumPoints() < 1 || data.GetDataPtr() == nullptr) {
        throw new CQError("No data to transmit.");
      }
      if (!IsNearlyEqual(data.GetSampleRate(), txSampleRate_, 1.0)) {
        throw new CQError(
            "The sample rate of the transmit waveform does not match that of the instrument.\nMake sure the sample "
            "rate configuration for the instrument, matches the input file.\nIs it possible that some transmitter "
            "waveform processing is inadvertently selected?");
      }
      // A cut cyclic waveform would have a seam: refuse it instead of cutting.
      if (data.GetNumPoints() > kMaxTransmitSamples) {
        throw new CQError(
            lv::FormatC("The transmit waveform has %d samples; at most %d can be transmitted.\nUse the sample limit "
                        "of the transmitter processing to shorten it.",
                        data.GetNumPoints(), kMaxTransmitSamples)
                .c_str());
      }
      if (n < 0) {
        n = data.GetNumPoints();
      } else if (data.GetNumPoints() != n) {
        throw new CQError(
            "The number of samples in each transmit waveform is not the same.\nMake sure the number of samples is "
            "the same for all transmit waveform files.");
      }
      const CQComplex* p = data.GetDataPtr();
      for (int k = 0; k < n; ++k) {
        if (!std::isfinite(p[k].re) || !std::isfinite(p[k].im)) {
          throw new CQError(
              lv::FormatC("The transmit waveform of transmitter %d holds a sample that is not a finite number "
                          "(sample %d).",
                          i + 1, k)
                  .c_str());
        }
      }
    }
    if (n <= 0) {
      // Transmitters are on, but none that this board has: nothing would play.
      // Name the first one and the board's count, so the user knows what to change.
      for (int i = txChannelsUsed_; i < numXmtrs_; ++i) {
        if (requested_.Xmtr(i).on) {
          throw new CQError(lv::FormatC("Transmitter %d is on, but this board has %d transmitter%s.", i + 1,
                                        txChannelsUsed_, txChannelsUsed_ == 1 ? "" : "s")
                                .c_str());
        }
      }
      throw new CQError("No data to transmit.");
    }
    if (txBuffer_ != nullptr) {
      iio_buffer_cancel(txBuffer_);
      iio_buffer_destroy(txBuffer_);
      txBuffer_ = nullptr;
      txBufferSize_ = 0;
    }
    if (autoBackoff_) {
      backoff_ = (IsAd9361Family(model) || model == kModelAd9371) ? 2.0f : 5.0f;
    } else {
      backoff_ = std::fabs(backoff_);
    }
    const float gain = DbToAmplitude(-backoff_) * 32767.0f;
    // A buffer cancelled just before is released by the board's daemon on its
    // own thread: a new cyclic buffer may find the device still busy for a moment.
    for (int attempt = 0;; ++attempt) {
      errno = 0;
      txBuffer_ = iio_device_create_buffer(txDev_, static_cast<size_t>(n), true);
      if (txBuffer_ != nullptr || errno != EBUSY || attempt >= 20) {
        break;
      }
      lv::SleepMs(50);
    }
    if (txBuffer_ == nullptr) {
      throw new CQError("Error creating transmit buffer.");
    }
    txBufferSize_ = n;
    const ptrdiff_t step = iio_buffer_step(txBuffer_) & ~ptrdiff_t{1};
    std::vector<CQFrameChannel> channels;
    for (int i = 0; i < txChannelsUsed_; ++i) {
      if (!requested_.Xmtr(i).on) {
        continue;
      }
      CQCArrayTD& data = *xmtrData_[static_cast<size_t>(i)];
      CQComplex* samples = data.GetDataPtr();
      CQArrayMath::NormalizeToOne(samples, n);
      channels.push_back({samples, static_cast<uint8_t*>(iio_buffer_first(txBuffer_, txI_[static_cast<size_t>(i)]))});
    }
    ScaleIntoFrames(channels.data(), static_cast<int>(channels.size()), n, gain, real, step);
    const ssize_t sent = iio_buffer_push(txBuffer_);
    if (sent < 0) {
      throw new CQError("Error sending samples to transmitter.");
    }
    if (sent / (real ? 2 : 4) < n) {
      throw new CQError("Error in number of samples sent to transmitter.");
    }
    ShowStatusText(L"Transmitting");
    changed_ = false;
  });
}

// ---- reception ------------------------------------------------------------------

bool CQInstrIIOMultiXcvr::GetAcquireNow() {
  return Named("CQInstrIIOMultiXcvr::GetAcquireNow", [&] { return Receive(); });
}

bool CQInstrIIOMultiXcvr::Receive() {
  return Named("CQInstrIIOMultiXcvr::Receive", [&] {
    for (auto& r : rcvrData_) {
      r->Clear();
    }
    ConnectAndApply(false);
    IIOReceive();
    return true;
  });
}

void CQInstrIIOMultiXcvr::IIOReceive() {
  Named("CQInstrIIOMultiXcvr::IIOReceive", [&] {
    int k = 0;
    for (int i = 0; i < rxChannelsUsed_; ++i) {
      k += applied_.Rcvr(i).on ? 1 : 0;
    }
    if (rxChannelsUsed_ == 0 || k == 0) {
      return;
    }
    IIOCreateReceive();
    const int model = applied_.model;
    if (model == kModelAd9172) {
      return;
    }
    const bool real = model == kModelFmcdaq2;
    requested_.rcvrNumSamples = std::clamp(requested_.rcvrNumSamples, 32, 0x100000);
    const int m = requested_.rcvrNumSamples;
    if (k * m != rxBufferSize_) {
      if (rxBuffer_ != nullptr) {
        iio_buffer_destroy(rxBuffer_);
        rxBuffer_ = nullptr;
      }
      rxBufferSize_ = 0;
      rxBuffer_ = iio_device_create_buffer(rxDev_, static_cast<size_t>(k) * static_cast<size_t>(m), false);
      if (rxBuffer_ == nullptr) {
        throw new CQError("Error creating receive buffer.");
      }
      rxBufferSize_ = k * m;
    }
    const ssize_t got = iio_buffer_refill(rxBuffer_);
    if (got < 0 || got / (real ? 2 : 4) < static_cast<ssize_t>(k) * m) {
      throw new CQError("Error receiving samples from receiver.");
    }
    const ptrdiff_t step = iio_buffer_step(rxBuffer_) & ~ptrdiff_t{1};
    for (int i = 0; i < rxChannelsUsed_; ++i) {
      const CQInstrRcvrSettings& app = applied_.Rcvr(i);
      if (!app.on || rxI_[static_cast<size_t>(i)] == nullptr) {
        continue;
      }
      double base;
      if (IsAd9361Family(model)) {
        base = 1.0 / 2048.0;
      } else if (IsMykonos(model)) {
        base = 1.0 / 8192.0;
      } else if (IsAd908x(model)) {
        base = 1.0 / 16536.0;
      } else {
        base = rcvrScale_[static_cast<size_t>(i)] / 0.125732 * 1.03 / 16536.0;
      }
      const double gainDb = app.gainMode == 1 ? app.gain : 0.0;
      const float s = static_cast<float>(base * CQInstrADI::GetRxScaleFactor(model) *
                                         std::pow(10.0, applied_.rcvrCalFactor / 20.0) / std::pow(10.0, gainDb / 20.0));
      CQCArrayTD& arr = *rcvrData_[static_cast<size_t>(i)];
      arr.SetSize(m);
      CQComplex* dst = arr.GetDataPtr();
      const auto* in = static_cast<const uint8_t*>(iio_buffer_first(rxBuffer_, rxI_[static_cast<size_t>(i)]));
      for (int j = 0; j < m; ++j, in += step) {
        int16_t iq[2] = {0, 0};
        std::memcpy(iq, in, real ? 2 : 4);
        dst[j] = CQComplex(iq[0] * s, real ? 0.0f : iq[1] * s);
      }
      arr.SetSampleRate(rxSampleRate_);
      arr.SetBandwidth(rxSpan_);
      arr.SetTimeOrigin(0.0);
      if (real) {
        arr.SetCenterFreq(0.0);
        arr.SetValid(false);
      } else {
        arr.SetCenterFreq(IsAd908x(model) ? app.centerFreq : applied_.rcvrCenterFreq);
        arr.SetValid(true);
      }
    }
  });
}
