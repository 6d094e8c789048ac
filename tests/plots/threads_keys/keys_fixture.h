// The settings-keys tests' fixture: a main window on the offscreen platform
// owned by the test's thread (also the GUI thread, as a plot thread owns its
// windows), the four kinds of plot window made in it, and settings files in a
// private temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/window.h"
#include "plots/windows/pers_spec_wndw.h"
#include "plots/windows/spectrum_window.h"
#include "plots/windows/spgm_window.h"
#include "plots/windows/time_domain_window.h"
#include "workers/settings_file.h"

namespace lv_keys_test {

// Serves the GUI thread's events and this thread's window messages.
void Pump(int rounds = 10);

// The settings functions of one kind of window.
template <typename W>
using SaveFn = void (*)(W&, const std::wstring&, CQAppSettings&, const char*);

class PlotKeys : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Created hidden at the rectangle (plot-area coordinates), as the plot
  // threads make them.
  std::unique_ptr<CWPlotCTDWndw> MakeTD(const lv::Rect& r = {10, 10, 610, 410});
  std::unique_ptr<CWPlotSAWndw> MakeSA(const lv::Rect& r = {20, 20, 620, 420});
  std::unique_ptr<CWPlotPersSpecWndw> MakePers(const lv::Rect& r = {30, 30, 630, 430});
  std::unique_ptr<CWPlotSpgmWndw> MakeSpgm(const lv::Rect& r = {40, 40, 640, 440});

  // Shows or hides through the layer and waits until the widget follows.
  void SetShown(lv::ChildWindow& w, bool shown);

  std::filesystem::path Path(const std::string& name) const { return folder_ / name; }
  // A settings object on a fresh file holding only the header line.
  void Fresh(CQAppSettings& s, const std::string& name);
  // The file's bytes as stored.
  std::string Bytes(const std::string& name) const;
  // The key names of the file's lines that start with the prefix, in file
  // order, without the prefix.
  std::vector<std::string> KeyNames(const std::string& name, const std::string& prefix) const;

  // Saves the window into a fresh file and answers the file's bytes.
  template <typename W>
  std::string SaveBytes(SaveFn<W> save, W& w, const std::wstring& prefix, const std::string& name) {
    CQAppSettings s;
    Fresh(s, name);
    save(w, prefix, s, nullptr);
    return Bytes(name);
  }
  // Recalls the window from the file.
  template <typename W>
  void RecallFrom(SaveFn<W> recall, W& w, const std::wstring& prefix, const std::string& name) {
    CQAppSettings s;
    s.SetFileName(Path(name));
    recall(w, prefix, s, nullptr);
    EXPECT_EQ(s.GetUseSection(), 0);
  }

  std::unique_ptr<lv::FrameWindow> frame_;
  std::filesystem::path folder_;
};

}  // namespace lv_keys_test
