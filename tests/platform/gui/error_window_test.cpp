// The error dialog's window: the "ErrorDialog" table's geometry, its entries,
// Show Details, Write to File, Escape, and ShowErrorDialog from any thread
// through the modal bridge (standard error only without a window system).
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

#include "core/error.h"
#include "core/error_dialog.h"
#include "core/gui/error_window.h"
#include "dialog_fixture.h"
#include "platform/gui/modal_bridge.h"

namespace {

using lv::DialogStep;

std::vector<std::wstring> ListEntries(lv::Dialog* d) {
  std::vector<std::wstring> out;
  for (int i = 0; i < d->GetCount(kErrorListId); ++i) {
    out.push_back(d->GetListText(kErrorListId, i));
  }
  return out;
}

CQError* SampleError() {
  auto* e = new CQError("Invalid sample rate.");
  e->AddToCallStack("CQCArrayTD::Set");
  e->AddToCallStack("CQCArrayTD::MakeCopy");
  return e;
}

// Serves the GUI thread until the flag is set (false after the limit).
bool ServeUntil(const std::atomic<bool>& flag, int limitMs = 10000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (!flag) {
    if (std::chrono::steady_clock::now() > end) {
      return false;
    }
    lv::ServeGuiEvents(2);
  }
  return true;
}

class ErrorWindow : public lv_test::DialogTest {
 protected:
  void SetUp() override {
    lv_test::DialogTest::SetUp();
    ASSERT_TRUE(InstallErrorDialogWindow());
  }
  void TearDown() override {
    UninstallErrorDialogWindow();
    lv_test::DialogTest::TearDown();
  }
};

TEST_F(ErrorWindow, TemplateGeometryFollowsTheDialogUnits) {
  const lv::DialogTemplate& t = ErrorDialogTemplate();
  EXPECT_EQ(t.name, "ErrorDialog");
  EXPECT_EQ(t.caption, L"An Error Occurred");
  EXPECT_EQ(t.width, 316);
  EXPECT_EQ(t.height, 165);
  CQErrorDlg content(SampleError());
  content.OnInitDialog();
  CWErrorDialogWindow window(content);
  ASSERT_TRUE(window.Create());
  const lv::Size base = window.BaseUnits();
  EXPECT_EQ(base, lv::DialogBaseUnits(lv::DialogFont{}));
  EXPECT_EQ(window.ClientSize(), (lv::Size{(316 * base.cx + 2) / 4, (165 * base.cy + 4) / 8}));
  struct Case {
    int id;
    int x, y, w, h;
  };
  const Case cases[] = {
      {kErrorListId, 6, 6, 300, 114},
      {kErrorOkId, 126, 132, 60, 18},
      {kErrorShowDetailsId, 240, 126, 60, 12},
      {kErrorWriteToFileId, 240, 144, 60, 12},
  };
  QWidget* top = lv_test::TopLevelByTitle(L"An Error Occurred");
  ASSERT_NE(top, nullptr);
  for (const Case& c : cases) {
    // Each value on its own: v * base / 4 across, v * base / 8 down, rounded.
    const lv::Rect expected{(c.x * base.cx + 2) / 4, (c.y * base.cy + 4) / 8,
                            (c.x * base.cx + 2) / 4 + (c.w * base.cx + 2) / 4,
                            (c.y * base.cy + 4) / 8 + (c.h * base.cy + 4) / 8};
    EXPECT_EQ(window.GetItemRect(c.id), expected) << c.id;
    EXPECT_NE(lv_test::ChildAtRect(top, expected), nullptr) << c.id;
  }
  auto* ok = qobject_cast<QPushButton*>(lv_test::ChildAtRect(top, window.GetItemRect(kErrorOkId)));
  ASSERT_NE(ok, nullptr);
  EXPECT_TRUE(ok->isDefault());
  EXPECT_EQ(window.GetItemText(kErrorOkId), L"OK");
  EXPECT_EQ(window.GetItemText(kErrorShowDetailsId), L"Show Details");
  EXPECT_EQ(window.GetItemText(kErrorWriteToFileId), L"Write to File");
  auto* list = qobject_cast<QListWidget*>(lv_test::ChildAtRect(top, window.GetItemRect(kErrorListId)));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::NoSelection);
  EXPECT_EQ(window.GetHorizontalExtent(kErrorListId), 800);
  window.Show(true);
  lv::ServeGuiEvents(20);
  EXPECT_EQ(list->horizontalScrollBar()->maximum() + list->viewport()->width(), 800)
      << "the list scrolls sideways over 800 pixels";
  EXPECT_EQ(ListEntries(&window), (std::vector<std::wstring>{L"Invalid sample rate."}));
}

TEST_F(ErrorWindow, EntriesAndShowDetails) {
  std::vector<std::wstring> first;
  std::vector<std::wstring> details;
  std::vector<std::wstring> again;
  lv::AnswerNextDialog({DialogStep::Inspect([&](lv::Dialog* d) { first = ListEntries(d); }),
                        DialogStep::Click(kErrorShowDetailsId),
                        DialogStep::Inspect([&](lv::Dialog* d) { details = ListEntries(d); }),
                        DialogStep::Click(kErrorShowDetailsId),
                        DialogStep::Inspect([&](lv::Dialog* d) { again = ListEntries(d); }),
                        DialogStep::Click(kErrorOkId)});
  ShowErrorDialog(SampleError());
  EXPECT_EQ(first, (std::vector<std::wstring>{L"Invalid sample rate."}));
  const std::vector<std::wstring> expected{L"Invalid sample rate.", L" ", L"Call stack:", L"CQCArrayTD::Set",
                                           L"CQCArrayTD::MakeCopy", L""};
  EXPECT_EQ(details, expected);
  EXPECT_EQ(again, expected) << "Show Details rebuilds the list";
  EXPECT_EQ(lv::OpenModalCount(), 0);
}

TEST_F(ErrorWindow, MessagesWithoutTextOrWithLongLines) {
  struct Case {
    const char* name;
    CQError* error;
    std::vector<std::wstring> entries;
  };
  const std::string longLine(1500, 'x');
  auto* twoLines = new CQError("First line\nsecond line");
  const Case cases[] = {
      {"null error", nullptr, {L"No error information"}},
      {"two lines", twoLines, {L"First line", L"second line"}},
      {"long line", new CQError(longLine.c_str()), {std::wstring(1023, L'x')}},
  };
  for (const Case& c : cases) {
    std::vector<std::wstring> seen;
    lv::AnswerNextDialog({DialogStep::Inspect([&](lv::Dialog* d) { seen = ListEntries(d); }),
                          DialogStep::Click(kErrorOkId)});
    ShowErrorDialog(c.error);
    EXPECT_EQ(seen, c.entries) << c.name;
  }
}

class CurrentFolder {
 public:
  CurrentFolder() {
    previous_ = std::filesystem::current_path();
    folder_ = std::filesystem::temp_directory_path() / ("lv-error-window-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    std::filesystem::current_path(folder_);
  }
  ~CurrentFolder() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }
  const std::filesystem::path& Path() const { return folder_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path folder_;
};

TEST_F(ErrorWindow, WriteToFileNumbersReportsAcrossDialogs) {
  CurrentFolder folder;
  ResetErrorReportNumberForTesting(1);
  {
    std::ofstream old(folder.Path() / "Error Details 2.txt");
    old << "an older report\n";
  }
  std::vector<std::wstring> afterFirst;
  std::vector<std::wstring> afterSecond;
  std::vector<std::wstring> afterDetails;
  lv::AnswerNextDialog({DialogStep::Click(kErrorWriteToFileId),
                        DialogStep::Inspect([&](lv::Dialog* d) { afterFirst = ListEntries(d); }),
                        DialogStep::Click(kErrorWriteToFileId),
                        DialogStep::Inspect([&](lv::Dialog* d) { afterSecond = ListEntries(d); }),
                        DialogStep::Click(kErrorShowDetailsId),
                        DialogStep::Inspect([&](lv::Dialog* d) { afterDetails = ListEntries(d); }),
                        DialogStep::Click(kErrorOkId)});
  ShowErrorDialog(SampleError());
  std::vector<std::wstring> later;
  lv::AnswerNextDialog({DialogStep::Click(kErrorWriteToFileId),
                        DialogStep::Inspect([&](lv::Dialog* d) { later = ListEntries(d); }),
                        DialogStep::Escape()});
  ShowErrorDialog(new CQError("Another failure."));

  EXPECT_EQ(afterFirst, (std::vector<std::wstring>{L"Error details written to the file:", L"Error Details 1.txt"}));
  EXPECT_EQ(afterSecond, (std::vector<std::wstring>{L"Error details written to the file:", L"Error Details 2.txt"}));
  EXPECT_EQ(afterDetails.size(), 6u);
  EXPECT_EQ(later, (std::vector<std::wstring>{L"Error details written to the file:", L"Error Details 3.txt"}));
  EXPECT_EQ(NextErrorReportNumber(), 4);
  for (int n = 1; n <= 3; ++n) {
    std::ifstream in(folder.Path() / ("Error Details " + std::to_string(n) + ".txt"));
    ASSERT_TRUE(in.good()) << n;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.rfind("Time: ", 0), 0u) << n;
    EXPECT_NE(text.find(n == 3 ? "Error: Another failure." : "Error: Invalid sample rate."), std::string::npos)
        << "report " << n << " replaces an older file of its name";
  }
}

TEST_F(ErrorWindow, EscapeAndTheCloseBoxCancel) {
  struct Case {
    const char* name;
    DialogStep step;
    int result;
  };
  const Case cases[] = {
      {"OK", DialogStep::Click(kErrorOkId), lv::kIdOk},
      {"Escape", DialogStep::Escape(), lv::kIdCancel},
      {"close box", DialogStep::CloseBox(), lv::kIdCancel},
  };
  for (const Case& c : cases) {
    CQErrorDlg content(SampleError());
    content.OnInitDialog();
    CWErrorDialogWindow window(content);
    lv::AnswerNextDialog({c.step});
    EXPECT_EQ(window.DoModal(), c.result) << c.name;
    EXPECT_TRUE(window.WasShown());
    EXPECT_FALSE(window.HasWindow());
  }
}

TEST_F(ErrorWindow, ShowErrorDialogFromAWorkerGoesThroughTheBridge) {
  std::vector<std::wstring> seen;
  std::wstring title;
  bool onGui = false;
  lv::AnswerNextDialog({DialogStep::Inspect([&](lv::Dialog* d) {
                          seen = ListEntries(d);
                          title = d->GetCaption();
                          onGui = lv::OnGuiThread();
                        }),
                        DialogStep::Click(kErrorOkId)});
  std::atomic<bool> done{false};
  testing::internal::CaptureStderr();
  std::thread worker([&] {
    ShowErrorDialog(new CQError("Worker failure."));
    done = true;
  });
  const bool finished = ServeUntil(done);
  worker.join();
  const std::string err = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(finished);
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"Worker failure."}));
  EXPECT_EQ(title, L"An Error Occurred");
  EXPECT_TRUE(onGui);
  EXPECT_EQ(err.find("Worker failure."), std::string::npos) << "no longer written to standard error";
}

TEST_F(ErrorWindow, WithoutTheRuntimeErrorsGoToStandardError) {
  lv::ShutDownGuiRuntime();
  testing::internal::CaptureStderr();
  ShowErrorDialog(SampleError());
  std::thread worker([] { ShowErrorDialog(new CQError("From a worker.")); });
  worker.join();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Invalid sample rate."), std::string::npos);
  EXPECT_NE(err.find("CQCArrayTD::MakeCopy"), std::string::npos);
  EXPECT_NE(err.find("From a worker."), std::string::npos);
  EXPECT_EQ(lv::OpenModalCount(), 0);
}

TEST_F(ErrorWindow, AnErrorThrownByADialogHandlerIsShown) {
  class Failing : public lv::Dialog {
   public:
    using lv::Dialog::Dialog;

   protected:
    void OnButtonClicked(int id) override {
      if (id == 5) {
        auto* e = new CQError("Rate out of range.");
        e->AddToCallStack("Failing::OnButtonClicked");
        throw e;
      }
      lv::Dialog::OnButtonClicked(id);
    }
  };
  lv::DialogTemplate t;
  t.caption = L"Failing";
  t.width = 120;
  t.height = 60;
  t.controls = {{5, lv::ControlKind::kPushButton, L"Fail", 10, 10, 50, 14, lv::kStyleTabStop},
                {lv::kIdOk, lv::ControlKind::kDefPushButton, L"OK", 10, 30, 50, 14, lv::kStyleTabStop}};
  Failing d(t);
  std::vector<std::wstring> shown;
  // The failing dialog's script clicks Fail: the error dialog opens inside
  // that click and takes the next script; then the first script goes on.
  lv::AnswerNextDialog({DialogStep::Click(5), DialogStep::Click(lv::kIdOk)});
  lv::AnswerNextDialog({DialogStep::Inspect([&](lv::Dialog* e) { shown = ListEntries(e); }),
                        DialogStep::Click(kErrorOkId)});
  EXPECT_EQ(d.DoModal(), lv::kIdOk);
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"Rate out of range."}));
}

}  // namespace
