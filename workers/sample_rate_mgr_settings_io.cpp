// Save and recall of the processing settings record through the settings store.
// Lives in lv_workers beside the store; the record itself is in lv_core.
#include <cwchar>

#include "workers/settings_file.h"
#include "core/error.h"
#include "core/processing/sample_rate_mgr_settings.h"

namespace {

constexpr int kPrefixChars = 128;
constexpr int kKeyChars = 512;

// Builds "<prefix>SampleRateMgr:<name>" with the record's buffer sizes (the
// prefix is cut at 127 characters, the key at 511).
class KeyBuilder {
 public:
  explicit KeyBuilder(const wchar_t* prefix) {
    std::swprintf(prefix_, kPrefixChars, L"%ls", prefix != nullptr ? prefix : L"");
  }
  const wchar_t* Key(const wchar_t* name) {
    std::swprintf(key_, kKeyChars, L"%lsSampleRateMgr:%ls", prefix_, name);
    return key_;
  }
  const wchar_t* Section() {
    std::swprintf(key_, kKeyChars, L"%lsSampleRateMgr:", prefix_);
    return key_;
  }

 private:
  wchar_t prefix_[kPrefixChars] = {};
  wchar_t key_[kKeyChars] = {};
};

// Every field with its key name, in file order; the same table drives save and recall.
template <typename Record, typename Fn>
void ForEachField(Record& r, Fn&& fn) {
  fn(L"Do freq shift first", r.doFreqShiftFirst);
  fn(L"Interpolation on", r.interpolationOn);
  fn(L"Interpolation rate", r.interpolationRate);
  fn(L"Decimation on", r.decimationOn);
  fn(L"Decimation rate", r.decimationRate);
  fn(L"Arb resample on", r.arbResampleOn);
  fn(L"Arb resample output rate", r.outputSampleRate);
  fn(L"Freq shift on", r.freqShiftOn);
  fn(L"Freq shift value", r.freqShift);
  fn(L"Time shift on", r.timeShiftOn);
  fn(L"Time delay", r.timeDelay);
  fn(L"Phase adjust on", r.phaseAdjustOn);
  fn(L"Phase (Deg)", r.phaseDeg);
  fn(L"Filter on", r.filterOn);
  fn(L"Filter type", r.filterType);
  fn(L"Gain adjust on", r.gainAdjustOn);
  fn(L"Gain (dB)", r.gainDb);
  fn(L"Noise on", r.noiseOn);
  fn(L"Noise level", r.noiseLevel);
  fn(L"Samples limit on", r.samplesLimitOn);
  fn(L"Max samples", r.maxSamples);
}

}  // namespace

void CQSampleRateMgrSettings::SaveSettings(CQAppSettings* store, const wchar_t* prefix) const {
  if (store == nullptr) return;
  try {
    KeyBuilder keys(prefix);
    ForEachField(*this, [&](const wchar_t* name, const auto& value) {
      store->SetValue(keys.Key(name), value);
    });
  } catch (CQError* e) {
    e->AddToCallStack("CQSampleRateMgrSettings::SaveSettings");
    throw;
  }
}

void CQSampleRateMgrSettings::RecallSettings(CQAppSettings* store, const wchar_t* prefix) {
  if (store == nullptr) return;
  try {
    KeyBuilder keys(prefix);
    store->ExtractSection(keys.Section());
    store->SetUseSection(1);
    ForEachField(*this, [&](const wchar_t* name, auto& value) {
      auto read = value;
      if (store->GetValue(keys.Key(name), &read)) value = read;
    });
    store->SetUseSection(0);
  } catch (CQError* e) {
    store->SetUseSection(0);
    e->AddToCallStack("CQSampleRateMgrSettings::RecallSettings");
    throw;
  }
}
