// The two small dialogs of the main window.
//
// CWSorvekActivePlotsDlg ("Active Windows", dialog 105): modeless, created
// hidden with the main window. It chooses for how many transmitters plot
// windows are shown and which of the four kinds, and can have the windows
// arranged afterwards. Showing it asks the plot threads which windows are
// shown; Apply tells each plot thread to show or hide its window.
//
// CWSorvekAboutDlg (dialog 100): modal, made for each "About..." command:
// "About Lumvard Sorvek" with the product name and version.
#pragma once

#include <functional>

#include "app/sorvek_threads.h"
#include "platform/gui/dialog.h"

// Control ids of dialog 105.
enum : int {
  kIdcActivePlotsShowIq = 1029,
  kIdcActivePlotsShowPersistence = 1031,
  kIdcActivePlotsShowSpectrum = 1032,
  kIdcActivePlotsAutoArrange = 1035,
  kIdcActivePlotsShowSpectrogram = 1041,
  kIdcActivePlotsApply = 1025,
  kIdcActivePlotsClose = 1026,
  kIdcActivePlotsNumber = 1122,
};
// Control ids of dialog 100.
enum : int { kIdcAboutIcon = 1000, kIdcAboutText = 1001 };

lv::DialogTemplate ActivePlotsTemplate();
lv::DialogTemplate AboutTemplate();

class CWSorvekActivePlotsDlg : public lv::Dialog {
 public:
  // bringMainToFront: brings the main window forward; requestArrange: posts
  // WM_USER+10 to the main window. applyPauseMs: the pause before that post.
  CWSorvekActivePlotsDlg(int transmitters, CWSorvekThreads& threads, std::function<void()> bringMainToFront,
                         std::function<void()> requestArrange, uint32_t applyPauseMs);

  // Shows (asking the plot threads what is shown) or hides the dialog.
  void ShowWindow(bool show);
  void OnShowWindow(bool show);
  void OnApplyButton();
  void OnClose();

 protected:
  bool OnInitDialog() override;
  void OnButtonClicked(int id) override;
  void OnOK() override { OnApplyButton(); }
  void OnCancel() override { OnClose(); }

 private:
  int numXmtrs_;
  CWSorvekThreads& threads_;
  std::function<void()> bringMainToFront_;
  std::function<void()> requestArrange_;
  uint32_t applyPauseMs_;
};

class CWSorvekAboutDlg : public lv::Dialog {
 public:
  CWSorvekAboutDlg();
  // The text of control 1001: "<product>\nVersion <version>".
  static std::wstring AboutText();

 protected:
  bool OnInitDialog() override;
};
