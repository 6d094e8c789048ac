// Fuzz target: the settings store and the recall chains.
//
// Input: the bytes of a settings file. The processing settings of the four
// transmitters, the transceiver settings and the data manager's inputs are
// recalled from it, saved into a new file (through the save chain the
// program uses), recalled from that and saved again.
//
// Oracle: a bad file or value fails with a CQError or is left unread, never
// a crash; a refused save leaves neither the file nor its temporary file;
// settings survive save and recall: the second save is byte-equal
// to the first, and the processing records recalled from the saved file
// equal the ones recalled from the input (where they hold no NaN).
#include <array>
#include <filesystem>
#include <string>

#include "core/error.h"
#include "core/processing/sample_rate_mgr_settings.h"
#include "fuzz/fuzz_support.h"
#include "iqfiles/manager/data_manager.h"
#include "workers/settings_file.h"
#include "xcvr/instr_settings.h"

namespace {

constexpr const char* kTarget = "settings";
const wchar_t* const kPrefixes[] = {L"Xmtr:0:", L"Xmtr:1:", L"Xmtr:2:", L"Xmtr:3:"};

struct Everything {
  std::array<CQSampleRateMgrSettings, 4> processing;
  CQInstrIIOMultiXcvrSettings xcvr{4, 4};
  CQMultiDataMgr files;
};

// Recalls everything from the file; false when the store failed.
bool Recall(const std::string& name, Everything& all) {
  CQAppSettings store;
  store.SetFileName(lv_fuzz::ScratchDir() / name);
  try {
    for (size_t i = 0; i < all.processing.size(); ++i) all.processing[i].RecallSettings(&store, kPrefixes[i]);
    all.xcvr.RecallSettings(&store);
    all.files.RecallSettings(&store);
    return true;
  } catch (CQError* e) {
    delete e;
    return false;
  }
}

// Saves everything into the file as the program's save chain does (a
// temporary file that replaces the target at the end); false when the store
// refused a value, and the target is then left as it was.
bool Save(const std::string& name, Everything& all) {
  CQAppSettings store;
  store.SetFileName(lv_fuzz::ScratchDir() / name);
  try {
    store.BeginSave();
    for (size_t i = 0; i < all.processing.size(); ++i) all.processing[i].SaveSettings(&store, kPrefixes[i]);
    all.xcvr.SaveSettings(&store);
    all.files.SaveSettings(&store);
    store.CommitSave();
    return true;
  } catch (CQError* e) {
    // A recalled name with characters the file cannot hold is refused by
    // the store; that is the one failure a save may have here.
    delete e;
    store.AbortSave();
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lv_fuzz::WriteFile("in.config", std::string_view(reinterpret_cast<const char*>(data), size));
  std::filesystem::remove(lv_fuzz::ScratchDir() / "one.config");
  std::filesystem::remove(lv_fuzz::ScratchDir() / "two.config");
  Everything first;
  if (!Recall("in.config", first)) return 0;
  if (!Save("one.config", first)) {
    LV_FUZZ_CHECK(kTarget, !std::filesystem::exists(lv_fuzz::ScratchDir() / "one.config") &&
                               !std::filesystem::exists(lv_fuzz::ScratchDir() / "one.config.saving"),
                  "a refused save left a file behind");
    return 0;
  }
  Everything second;
  LV_FUZZ_CHECK(kTarget, Recall("one.config", second), "a saved file does not recall");
  LV_FUZZ_CHECK(kTarget, Save("two.config", second), "settings recalled from a saved file do not save");
  LV_FUZZ_CHECK(kTarget, lv_fuzz::ReadFile("one.config") == lv_fuzz::ReadFile("two.config"),
                "save, recall and save again changed the file");
  for (size_t i = 0; i < first.processing.size(); ++i) {
    const bool noNaN = first.processing[i] == first.processing[i];
    LV_FUZZ_CHECK(kTarget, !noNaN || first.processing[i] == second.processing[i],
                  "processing settings of transmitter " + std::to_string(i) + " changed in save and recall");
  }
  return 0;
}
