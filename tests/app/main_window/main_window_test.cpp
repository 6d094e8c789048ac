// The program object on the offscreen platform with fake plot threads: the
// main window's menu, toolbar and panes, the start-up order and handshake,
// the window layout, the active plots and About dialogs, the settings chain
// and the shut-down sequence.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_dialogs.h"
#include "app/main_window.h"
#include "app/sorvek_app.h"
#include "app_fixture.h"
#include "platform/gui/dialog_test_hooks.h"
#include "platform/gui/gui_runtime.h"
#include "platform/gui/modal_bridge.h"
#include "platform/gui/test_hooks.h"
#include "platform/text.h"
#include "support/gui_app.h"
#include "workers/app_identity.h"
#include "app/xmtr_proc_sheet.h"
#include "xcvr/gui/ad9081_single_file_dlg.h"
#include "xcvr/gui/board_sheets.h"
#include "xcvr/gui/instr_conn_dlg.h"
#include "xcvr/instr_thread.h"

namespace {

namespace hooks = lv::test_hooks;
using lv_test::AppFixture;
using lv_test::FakePlotThread;
using lv_test::ServeUntil;

constexpr CWPlotKind kTd = CWPlotKind::kTimeDomain;
constexpr CWPlotKind kPs = CWPlotKind::kPersistence;
constexpr CWPlotKind kSg = CWPlotKind::kSpectrogram;
constexpr CWPlotKind kSp = CWPlotKind::kSpectrum;

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string RectText(int l, int t, int r, int b) {
  return std::to_string(l) + " " + std::to_string(t) + " " + std::to_string(r) + " " + std::to_string(b);
}

using MainWindowTest = AppFixture;

TEST_F(MainWindowTest, OpensWithMenuToolbarAndFivePanesAndStartsWorkersInOrder) {
  StartApp();
  const uint32_t id = Main().WindowId();
  EXPECT_EQ(hooks::WindowTitle(id), L"Lumvard Sorvek");
  EXPECT_EQ(hooks::ToolbarTooltips(id), (std::vector<std::wstring>{L"Start", L"Stop", L"Arrange windows"}));
  EXPECT_EQ(hooks::StatusPaneTexts(id).size(), 5u);
  const std::vector<std::wstring> menu = hooks::MenuTexts(id);
  for (const wchar_t* item :
       {L"File/Save Settings...", L"File/Save Startup Settings", L"File/Recall Settings...",
        L"File/Recall StartupSettings...", L"File/Exit", L"Processing/Transmitter Processing...",
        L"Instrument/Connect...", L"Instrument/AD9081 Control...", L"Instrument/AD9081 Single File Control...",
        L"Instrument/AD9082 Control...", L"Instrument/AD9361 (and PLUTO) Control...", L"Instrument/ADRV9009 Control...",
        L"Instrument/AD9371 Control...", L"Windows/Active Windows...", L"Windows/Show Plot Toolbars",
        L"Windows/Hide Plot Toolbars", L"Help/About..."}) {
    EXPECT_NE(std::find(menu.begin(), menu.end(), item), menu.end()) << lv::WideToUtf8(item);
  }
  EXPECT_TRUE(Main().Frame().FindMenuItem(kCmdConnect)->enabled);
  EXPECT_TRUE(Main().Frame().FindMenuItem(kCmdSaveSettings)->enabled);

  // Data manager, instrument manager, engine, then per transmitter time
  // domain, persistence spectrum, spectrogram, spectrum.
  const auto& order = app_->StartOrder();
  ASSERT_EQ(order.size(), 19u);
  EXPECT_EQ(order[0], app_->Threads().dataManager.get());
  EXPECT_EQ(order[1], app_->Threads().instrumentManager.get());
  EXPECT_EQ(order[2], app_->Threads().engine.get());
  std::vector<std::string> titles;
  std::vector<std::wstring> prefixes;
  for (size_t k = 3; k < order.size(); ++k) {
    auto* p = static_cast<FakePlotThread*>(order[k]);
    titles.push_back(p->Title());
    prefixes.push_back(p->Prefix());
  }
  std::vector<std::string> wantTitles;
  std::vector<std::wstring> wantPrefixes;
  for (int x = 1; x <= 4; ++x) {
    const std::string n = std::to_string(x);
    const std::wstring w = std::to_wstring(x);
    wantTitles.insert(wantTitles.end(),
                      {"Time Domain " + n, "Persistence Spectrum " + n, "Spectrogram " + n, "Spectrum " + n});
    wantPrefixes.insert(wantPrefixes.end(),
                        {L"PlotTD" + w + L":", L"PlotPersSpec" + w + L":", L"PlotSpgm" + w + L":",
                         L"PlotSpectrum" + w + L":"});
  }
  EXPECT_EQ(titles, wantTitles);
  EXPECT_EQ(prefixes, wantPrefixes);
  EXPECT_TRUE(Main().StartupRecallDone());
  EXPECT_TRUE(shown_->Messages().empty());

  ASSERT_TRUE(ServeUntil([&] { return hooks::IsShown(id); }));
  lv::ServeGuiEvents(50);
  const std::string png = lv_test::GalleryFolder("app") + "/main_window_startup.png";
  EXPECT_TRUE(hooks::SaveWindowPng(id, png));
}

TEST_F(MainWindowTest, StartupSettingsAreRecalledAfterTheLastAnnouncementWhateverTheOrder) {
  std::filesystem::create_directories(StartupFile().parent_path());
  std::ofstream(StartupFile(), std::ios::binary) << "Settings File v1\r\nPlotTD1:Shown = 1\r\nPlotSpgm4:Shown = 1\r\n";
  // Transmitter 4's threads start first and transmitter 1's last; the core
  // workers are quicker than all of them.
  StartApp(true, [](CWPlotKind kind, int x) { return (5 - x) * 25 + static_cast<int>(kind) * 4; });
  const auto events = log_.Events();
  size_t lastReady = 0;
  size_t firstRecall = events.size();
  int recalls = 0;
  for (size_t k = 0; k < events.size(); ++k) {
    if (events[k].rfind("ready ", 0) == 0) lastReady = k;
    if (events[k].rfind("recall ", 0) == 0) {
      firstRecall = std::min(firstRecall, k);
      ++recalls;
    }
  }
  EXPECT_LT(lastReady, firstRecall) << ::testing::PrintToString(events);
  EXPECT_EQ(recalls, 16);
  EXPECT_TRUE(Plot(kTd, 0)->Shown());
  EXPECT_TRUE(Plot(kSg, 3)->Shown());
  EXPECT_FALSE(Plot(kSp, 0)->Shown());
  EXPECT_TRUE(shown_->Messages().empty());
}

TEST_F(MainWindowTest, WithoutAStartupFileNothingIsRecalledAndNothingShown) {
  StartApp();
  for (const auto& e : log_.Events()) EXPECT_NE(e.rfind("recall ", 0), 0u) << e;
  EXPECT_TRUE(Main().StartupRecallDone());
  EXPECT_FALSE(std::filesystem::exists(StartupFile()));
  EXPECT_TRUE(shown_->Messages().empty());
}

struct ArrangeCase {
  const char* name;
  std::vector<std::pair<CWPlotKind, int>> shown;  // kind, transmitter index
  int columns;
  int rows;
  // kind, transmitter index, column, row
  std::vector<std::array<int, 4>> placed;
};

TEST_F(MainWindowTest, ArrangeWindowsLaysOutColumnsPerTransmitterAndRowsPerKind) {
  StartApp();
  const std::vector<ArrangeCase> cases = {
      {"transmitter 1 time domain and spectrum", {{kTd, 0}, {kSp, 0}}, 1, 2,
       {{static_cast<int>(kTd), 0, 0, 0}, {static_cast<int>(kSp), 0, 0, 1}}},
      {"transmitter 1 time domain, transmitter 2 spectrogram only", {{kTd, 0}, {kSg, 1}}, 2, 2,
       {{static_cast<int>(kTd), 0, 0, 0}, {static_cast<int>(kSg), 1, 1, 0}}},
      {"nothing shown", {}, 0, 0, {}},
  };
  for (const ArrangeCase& c : cases) {
    SCOPED_TRACE(c.name);
    for (int i = 0; i < 4; ++i)
      for (CWPlotKind k : {kTd, kPs, kSg, kSp}) {
        Plot(k, i)->SetShown(false);
        Plot(k, i)->ClearRequests();
      }
    for (auto [kind, i] : c.shown) Plot(kind, i)->SetShown(true);
    ASSERT_TRUE(Command(kCmdArrangeWindows));
    const CWRect area = Main().PlotArea();
    ASSERT_GT(area.right, 100);
    if (c.columns > 0) {
      const int w = area.right / c.columns;
      const int h = area.bottom / c.rows;
      for (const auto& p : c.placed) {
        FakePlotThread* t = Plot(static_cast<CWPlotKind>(p[0]), p[1]);
        const std::vector<std::string> want = {
            "show-window 1", "arrange " + RectText(p[2] * w + 1, p[3] * h + 1, p[2] * w + w - 1, p[3] * h + h - 1)};
        ASSERT_TRUE(ServeUntil([&] { return t->Requests().size() >= 2; })) << t->Title();
        EXPECT_EQ(t->Requests(), want) << t->Title();
      }
    }
    lv::ServeGuiEvents(50);
    int placed = 0;
    for (int i = 0; i < 4; ++i)
      for (CWPlotKind k : {kTd, kPs, kSg, kSp}) placed += Plot(k, i)->Requests().empty() ? 0 : 1;
    EXPECT_EQ(placed, static_cast<int>(c.placed.size()));
  }
  EXPECT_TRUE(shown_->Messages().empty());
}

TEST_F(MainWindowTest, MovingWithoutResizingSendsNothingAndResizingSendsThePlotArea) {
  StartApp();
  const uint32_t id = Main().WindowId();
  ASSERT_TRUE(ServeUntil([&] { return hooks::IsShown(id); }));
  // The plot area leaves out the menu, toolbar and status bar, although the
  // frame itself kept the size it was made with.
  ASSERT_TRUE(ServeUntil([&] {
    const CWRect a = Main().PlotArea();
    return a.bottom - a.top < hooks::WidgetGeometry(id).Height() - 40;
  }));
  // Each plot thread got the plot area once, when it announced itself.
  for (int i = 0; i < 4; ++i) {
    for (CWPlotKind k : {kTd, kPs, kSg, kSp}) {
      FakePlotThread* t = Plot(k, i);
      ASSERT_TRUE(ServeUntil([&] { return !t->Requests().empty(); })) << t->Title();
      const CWRect a = Main().PlotArea();
      EXPECT_EQ(t->Requests().back(), "area " + RectText(a.left, a.top, a.right, a.bottom)) << t->Title();
      t->ClearRequests();
    }
  }
  const lv::Rect g = hooks::WidgetGeometry(id);
  ASSERT_TRUE(hooks::UserMoveSize(id, lv::Rect{g.left + 30, g.top + 20, g.right + 30, g.bottom + 20}));
  lv::ServeGuiEvents(150);
  for (int i = 0; i < 4; ++i)
    for (CWPlotKind k : {kTd, kPs, kSg, kSp}) EXPECT_TRUE(Plot(k, i)->Requests().empty()) << Plot(k, i)->Title();

  ASSERT_TRUE(hooks::UserMoveSize(id, lv::Rect{g.left, g.top, g.right + 200, g.bottom + 100}));
  for (int i = 0; i < 4; ++i) {
    for (CWPlotKind k : {kTd, kPs, kSg, kSp}) {
      FakePlotThread* t = Plot(k, i);
      ASSERT_TRUE(ServeUntil([&] { return !t->Requests().empty(); })) << t->Title();
      const CWRect a = Main().PlotArea();
      EXPECT_EQ(t->Requests().back(), "area " + RectText(a.left, a.top, a.right, a.bottom)) << t->Title();
    }
  }
}

TEST_F(MainWindowTest, KeySOpensTheAd9081SingleFileDialog) {
  StartApp();
  const uint32_t id = Main().WindowId();
  ASSERT_TRUE(ServeUntil([&] { return hooks::IsShown(id); }));
  CWSorvekInstrAD9081Dlg& dlg = *Main().AD9081SingleFileDialog();
  EXPECT_FALSE(dlg.IsVisible());
  Main().OnWindowMessage(lv::WindowMessage{id, lv::WindowMessageKind::kKeyDown, 'T', 0});
  lv::ServeGuiEvents(50);
  EXPECT_FALSE(dlg.IsVisible());
  // The key as the frame's widget reports it.
  Main().OnWindowMessage(lv::WindowMessage{id, lv::WindowMessageKind::kKeyDown, 'S', 0});
  ASSERT_TRUE(ServeUntil([&] { return dlg.IsVisible(); }));
  lv::ServeGuiEvents(50);
  EXPECT_TRUE(shown_->Messages().empty()) << shown_->Messages()[0];
}

TEST_F(MainWindowTest, EveryBoardDialogHasAnEnabledMenuItemThatShowsIt) {
  StartApp();
  for (uint32_t c : {kCmdConnect, kCmdAd9081Control, kCmdAd9081SingleFile, kCmdAd9082Control, kCmdAd9361Control,
                     kCmdAdrv9009Control, kCmdAd9371Control}) {
    EXPECT_TRUE(Main().Frame().FindMenuItem(c)->enabled) << c;
  }
  ASSERT_TRUE(Command(kCmdConnect));
  ASSERT_TRUE(ServeUntil([&] { return Main().ConnectionDialog()->IsVisible(); }));
  EXPECT_EQ(static_cast<CWUIThread*>(Main().ConnectionDialog()->InstrThread()), app_->Threads().instrumentManager.get());
  const std::vector<std::pair<uint32_t, std::wstring>> sheets = {
      {kCmdAd9081Control, L"AD9081 Control"},           {kCmdAd9082Control, L"AD9082 Control"},
      {kCmdAd9361Control, L"AD9361 (and PLUTO) Control"}, {kCmdAdrv9009Control, L"ADRV9009 Control"},
      {kCmdAd9371Control, L"AD9371 Control"}};
  for (const auto& [command, caption] : sheets) {
    CWSorvekInstrBoardSheet* sheet = Main().BoardSheet(command);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->GetCaption(), caption);
    EXPECT_FALSE(sheet->IsVisible());
    ASSERT_TRUE(Command(command));
    ASSERT_TRUE(ServeUntil([&] { return sheet->IsVisible(); })) << lv::WideToUtf8(caption);
  }
  ASSERT_TRUE(Command(kCmdTransmitterProcessing));
  ASSERT_TRUE(ServeUntil([&] { return Main().ProcessingSheet()->IsVisible(); }));
  lv::ServeGuiEvents(50);
  EXPECT_TRUE(shown_->Messages().empty()) << shown_->Messages()[0];
}

TEST_F(MainWindowTest, PlotToolbarCommandsReachEveryPlotThread) {
  StartApp();
  for (auto [command, want] : {std::pair{kCmdShowPlotToolbars, "toolbar 1"}, std::pair{kCmdHidePlotToolbars, "toolbar 0"}}) {
    ASSERT_TRUE(Command(command));
    for (int i = 0; i < 4; ++i) {
      for (CWPlotKind k : {kTd, kPs, kSg, kSp}) {
        FakePlotThread* t = Plot(k, i);
        ASSERT_TRUE(ServeUntil([&] { return !t->Requests().empty() && t->Requests().back() == want; })) << t->Title();
      }
    }
  }
}

TEST_F(MainWindowTest, ActivePlotsDialogOpensWithTheFirstEntryAndApplyShowsOnlyThoseChosen) {
  StartApp();
  Plot(kTd, 1)->SetShown(true);  // transmitter 2's time domain
  Plot(kSg, 2)->SetShown(true);  // transmitter 3's spectrogram
  ASSERT_TRUE(Command(kCmdActiveWindows));
  CWSorvekActivePlotsDlg& dlg = *Main().ActivePlotsDialog();
  ASSERT_TRUE(ServeUntil([&] { return dlg.IsVisible(); }));
  EXPECT_EQ(dlg.GetCount(kIdcActivePlotsNumber), 4);
  EXPECT_EQ(dlg.GetListText(kIdcActivePlotsNumber, 3), L"4");
  EXPECT_EQ(dlg.GetCurSel(kIdcActivePlotsNumber), 0);
  EXPECT_EQ(dlg.GetCheck(kIdcActivePlotsShowIq), lv::kChecked);
  EXPECT_EQ(dlg.GetCheck(kIdcActivePlotsShowSpectrum), lv::kUnchecked);
  EXPECT_EQ(dlg.GetCheck(kIdcActivePlotsShowPersistence), lv::kUnchecked);
  EXPECT_EQ(dlg.GetCheck(kIdcActivePlotsShowSpectrogram), lv::kChecked);
  EXPECT_EQ(dlg.GetCheck(kIdcActivePlotsAutoArrange), lv::kChecked);
  lv::ServeGuiEvents(50);
  EXPECT_TRUE(lv::SaveDialogPng(dlg, lv_test::GalleryFolder("app") + "/active_windows_dialog.png"));

  // Entry 1 with IQ and spectrogram ticked: only transmitter 1's two windows.
  ASSERT_TRUE(lv::ClickControl(dlg, kIdcActivePlotsApply));
  ASSERT_TRUE(ServeUntil([&] { return !dlg.IsVisible(); }));
  for (int i = 0; i < 4; ++i) {
    for (CWPlotKind k : {kTd, kPs, kSg, kSp}) {
      const bool want = i == 0 && (k == kTd || k == kSg);
      EXPECT_EQ(Plot(k, i)->Shown(), want) << Plot(k, i)->Title();
    }
  }
  // Then the arrangement: one column of two rows.
  ASSERT_TRUE(ServeUntil([&] {
    const auto r = Plot(kSg, 0)->Requests();
    return std::any_of(r.begin(), r.end(), [](const std::string& s) { return s.rfind("arrange", 0) == 0; });
  }));

  // Nothing ticked hides everything; the arrangement then finds nothing.
  ASSERT_TRUE(Command(kCmdActiveWindows));
  ASSERT_TRUE(ServeUntil([&] { return dlg.IsVisible(); }));
  for (int box : {kIdcActivePlotsShowIq, kIdcActivePlotsShowSpectrogram}) ASSERT_TRUE(lv::ClickControl(dlg, box));
  for (int i = 0; i < 4; ++i)
    for (CWPlotKind k : {kTd, kPs, kSg, kSp}) Plot(k, i)->ClearRequests();
  ASSERT_TRUE(lv::ClickControl(dlg, kIdcActivePlotsApply));
  lv::ServeGuiEvents(200);
  for (int i = 0; i < 4; ++i) {
    for (CWPlotKind k : {kTd, kPs, kSg, kSp}) {
      EXPECT_FALSE(Plot(k, i)->Shown());
      EXPECT_EQ(Plot(k, i)->Requests(), std::vector<std::string>{"shown 0"}) << Plot(k, i)->Title();
    }
  }
  EXPECT_TRUE(shown_->Messages().empty());
}

TEST_F(MainWindowTest, AboutShowsTheProductNameAndVersion) {
  StartApp(false);
  std::wstring text;
  std::wstring caption;
  lv::AnswerNextDialog({lv::DialogStep::Inspect([&](lv::Dialog* d) {
                          text = d->GetItemText(kIdcAboutText);
                          caption = d->GetCaption();
                        }),
                        lv::DialogStep::SavePng(lv::Utf8ToWide(lv_test::GalleryFolder("app") + "/about_dialog.png")),
                        lv::DialogStep::Click(lv::kIdOk)});
  ASSERT_TRUE(Command(kCmdAbout));
  ASSERT_TRUE(ServeUntil([&] { return !text.empty() && hooks::PendingAnswers() == 0 && lv::OpenModalCount() == 0; }));
  EXPECT_EQ(text, L"Lumvard Sorvek\nVersion " + CQAppType::GetVersionText());
  EXPECT_EQ(caption, L"About Lumvard Sorvek");
  EXPECT_EQ(CQAppType::GetVersionText().rfind(L"3.0.0", 0), 0u);
}

TEST(ConfigExtension, IsAppendedUnlessTheNameEndsInExactlyConfig) {
  const std::vector<std::pair<std::wstring, std::wstring>> cases = {
      {L"/tmp/a", L"/tmp/a.config"},
      {L"/tmp/a.CONFIG", L"/tmp/a.CONFIG.config"},
      {L"/tmp/a.config", L"/tmp/a.config"},
      {L"config", L"config.config"},
      {L".config", L".config"},
      {L"a.txt", L"a.txt.config"},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(CWSorvekMainWndw::WithConfigExtension(in), want);
}

TEST_F(MainWindowTest, SaveRecallSaveGivesTheSameFileAndTheStartupFileIsWrittenAfresh) {
  StartApp();
  Plot(kTd, 0)->SetShown(true);
  Plot(kSp, 2)->SetShown(true);
  const std::filesystem::path first = root_ / "first";  // ".config" is appended
  hooks::PushFileAnswer(lv::Utf8ToWide(first.string()));
  ASSERT_TRUE(Command(kCmdSaveSettings));
  ASSERT_TRUE(ServeUntil([&] { return std::filesystem::exists(root_ / "first.config"); }));
  ASSERT_TRUE(WaitChainEnd());
  const std::string saved = ReadFile(root_ / "first.config");
  EXPECT_EQ(saved.rfind("Settings File v1\r\nMainWindow:Rect = ", 0), 0u) << saved;
  for (const char* key : {"DataManager:File 0:", "Xmtr:0:", "Instr:MultiXcvr:", "PlotTD1:Shown = 1",
                          "PlotSpectrum3:Shown = 1", "PlotSpgm4:Shown = 0"}) {
    EXPECT_NE(saved.find(key), std::string::npos) << key;
  }
  EXPECT_FALSE(std::filesystem::exists(root_ / "first.config.saving"));

  // Change, recall, save again: the same bytes.
  Plot(kTd, 0)->SetShown(false);
  Plot(kPs, 1)->SetShown(true);
  hooks::PushFileAnswer(lv::Utf8ToWide((root_ / "first.config").string()));
  ASSERT_TRUE(Command(kCmdRecallSettings));
  ASSERT_TRUE(ServeUntil([&] { return Plot(kTd, 0)->Shown() && !Plot(kPs, 1)->Shown(); }));
  ASSERT_TRUE(WaitChainEnd());
  hooks::PushFileAnswer(lv::Utf8ToWide((root_ / "second.config").string()));
  ASSERT_TRUE(Command(kCmdSaveSettings));
  ASSERT_TRUE(ServeUntil([&] { return std::filesystem::exists(root_ / "second.config"); }));
  ASSERT_TRUE(WaitChainEnd());
  EXPECT_EQ(ReadFile(root_ / "second.config"), saved);

  // Save Startup Settings twice: the file holds one set of keys.
  ASSERT_TRUE(Command(kCmdSaveStartupSettings));
  ASSERT_TRUE(ServeUntil([&] { return std::filesystem::exists(StartupFile()); }));
  ASSERT_TRUE(WaitChainEnd());
  ASSERT_TRUE(Command(kCmdSaveStartupSettings));
  lv::ServeGuiEvents(20);
  ASSERT_TRUE(WaitChainEnd());
  EXPECT_EQ(ReadFile(StartupFile()), saved);
  EXPECT_TRUE(shown_->Messages().empty());
}

TEST_F(MainWindowTest, AFailedSaveLeavesThePreviousFileIntact) {
  StartApp();
  // The startup file (saved without a file dialog) exists from before.
  const std::filesystem::path target = StartupFile();
  std::ofstream(target, std::ios::binary) << "Settings File v1\r\nPlotTD1:Shown = 1\r\n";
  const std::string before = ReadFile(target);
  Plot(kSp, 1)->failSave = true;  // a link whose keys cannot be written
  ASSERT_TRUE(Command(kCmdSaveStartupSettings));
  ASSERT_TRUE(ServeUntil([&] { return shown_->Messages().size() >= 2; }));
  ASSERT_TRUE(WaitChainEnd());
  EXPECT_EQ(ReadFile(target), before);
  EXPECT_FALSE(std::filesystem::exists(target.string() + ".saving"));
  const auto messages = shown_->Messages();
  EXPECT_EQ(messages[0], "Error while writing to a file.");
  EXPECT_EQ(messages[1],
            "The settings were not saved: part of them could not be written. The previous settings file is unchanged.");
  // The next save, without the failure, replaces it.
  Plot(kSp, 1)->failSave = false;
  ASSERT_TRUE(Command(kCmdSaveStartupSettings));
  ASSERT_TRUE(ServeUntil([&] { return ReadFile(target) != before; }));
  ASSERT_TRUE(WaitChainEnd());
  EXPECT_NE(ReadFile(target).find("PlotSpectrum2:Shown = 0"), std::string::npos);
  EXPECT_EQ(shown_->Messages().size(), 2u);
}

TEST_F(MainWindowTest, ASecondChainIsRefusedWhileOneRunsAndTheGuiNeverWaits) {
  StartApp();
  FakePlotThread* held = Plot(kPs, 0);
  held->saveGate.Reset();
  ASSERT_TRUE(Command(kCmdSaveStartupSettings));
  ASSERT_TRUE(ServeUntil([&] { return held->inSave.load(); }));
  EXPECT_TRUE(Main().IsSettingsChainRunning());
  // The GUI thread keeps serving: a refused recall shows its message.
  ASSERT_TRUE(Command(kCmdRecallStartupSettings));
  ASSERT_TRUE(ServeUntil([&] { return !shown_->Messages().empty(); }));
  EXPECT_EQ(shown_->Messages()[0], "Settings are being saved or recalled. Try again when that has finished.");
  EXPECT_FALSE(std::filesystem::exists(StartupFile()));
  held->saveGate.Set();
  ASSERT_TRUE(WaitChainEnd());
  EXPECT_TRUE(std::filesystem::exists(StartupFile()));
  EXPECT_EQ(shown_->Messages().size(), 1u);
}

enum class CloseBy { kExitCommand, kCloseBox };

class ShutDownTest : public AppFixture, public ::testing::WithParamInterface<CloseBy> {};

TEST_P(ShutDownTest, QuitsEveryWorkerOnceInOrderAndJoinsThem) {
  StartApp();
  const uint32_t id = Main().WindowId();
  ASSERT_TRUE(ServeUntil([&] { return hooks::IsShown(id); }));
  log_.Clear();
  if (GetParam() == CloseBy::kExitCommand) {
    ASSERT_TRUE(Command(kCmdExit));
  } else {
    ASSERT_TRUE(hooks::UserClose(id));
  }
  ASSERT_TRUE(ServeUntil([&] { return app_->HasShutDown(); }));
  EXPECT_EQ(app_->UnjoinedWorkers(), 0);
  const auto& quit = app_->QuitOrder();
  ASSERT_EQ(quit.size(), 19u);
  EXPECT_EQ(quit[0], app_->Threads().dataManager.get());
  EXPECT_EQ(quit[1], app_->Threads().instrumentManager.get());
  EXPECT_EQ(quit[2], app_->Threads().engine.get());
  std::vector<std::string> want;
  for (int x = 1; x <= 4; ++x) {
    const std::string n = std::to_string(x);
    want.insert(want.end(), {"quit Time Domain " + n, "quit Persistence Spectrum " + n, "quit Spectrum " + n,
                             "quit Spectrogram " + n});
  }
  // The order the quit messages were put in (each thread handles its own on
  // its own time), and each thread handled exactly one.
  std::vector<std::string> put;
  for (size_t k = 3; k < quit.size(); ++k) put.push_back("quit " + static_cast<FakePlotThread*>(quit[k])->Title());
  EXPECT_EQ(put, want);
  auto handled = log_.Events();
  std::sort(handled.begin(), handled.end());
  std::sort(want.begin(), want.end());
  EXPECT_EQ(handled, want);
  for (CWUIThread* t : app_->Threads().InStartOrder()) EXPECT_FALSE(t->IsRunning());
  for (int i = 0; i < 4; ++i)
    for (CWPlotKind k : {kTd, kPs, kSg, kSp}) EXPECT_EQ(Plot(k, i)->quits.load(), 1);
  EXPECT_FALSE(lv::IsGuiRuntimeStarted());
}

INSTANTIATE_TEST_SUITE_P(Close, ShutDownTest, ::testing::Values(CloseBy::kExitCommand, CloseBy::kCloseBox),
                         [](const auto& info) { return info.param == CloseBy::kExitCommand ? "Exit" : "CloseBox"; });

}  // namespace
