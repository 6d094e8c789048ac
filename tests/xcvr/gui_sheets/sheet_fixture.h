// A GUI test fixture for the board dialogs: the Qt application, the error
// dialog replaced by a recorder, and running instrument-manager and
// data-manager threads; IQ files written into a private temp folder.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/arrays/carray.h"
#include "core/error_dialog.h"
#include "iqfiles/formats/iqbin.h"
#include "iqfiles/formats/wv.h"
#include "iqfiles/manager/data_manager_thread.h"
#include "platform/gui/dialog_test_hooks.h"
#include "platform/gui/gui_runtime.h"
#include "platform/gui/test_hooks.h"
#include "platform/text.h"
#include "platform/ui_post.h"
#include "support/gui_app.h"
#include "xcvr/instr_thread.h"

namespace lv_test {

struct ShownError {
  std::wstring message;
  std::string callStack;
};

class BoardDialogFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    // The modal bridge: the file dialogs are answered through it.
    ASSERT_TRUE(lv::StartGuiRuntime());
    previousUi_ = lv::SetUiPostTarget(&ui_);
    previousPresenter_ = SetErrorPresenter([this](CQErrorDlg& dlg) {
      shown_.push_back({dlg.Error().GetMessage() != nullptr ? dlg.Error().GetMessage() : L"",
                        dlg.Error().GetCallStack() != nullptr ? dlg.Error().GetCallStack() : ""});
    });
    dir_ = std::filesystem::path(::testing::TempDir()) /
           ("board-dialogs-" + std::to_string(getpid()) + "-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    ASSERT_TRUE(instr_.StartUIThread());
    ASSERT_TRUE(data_.StartUIThread());
  }
  void TearDown() override {
    instr_.StopAndJoin(10000);
    data_.StopAndJoin(10000);
    EXPECT_EQ(lv::ClearDialogAnswers(), 0);
    SetErrorPresenter(previousPresenter_);
    lv::SetUiPostTarget(previousUi_);
    lv::test_hooks::ClearAnswers();
    if (lv::IsGuiRuntimeStarted()) lv::ShutDownGuiRuntime();
    std::filesystem::remove_all(dir_);
  }

  static std::unique_ptr<CQCArrayTD> Wave(int n, double rate) {
    std::vector<CQComplex> v(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) v[static_cast<size_t>(i)] = CQComplex(0.5f * static_cast<float>(i % 7) - 1.0f, 0.25f);
    auto a = std::make_unique<CQCArrayTD>();
    a->Set(v.data(), n, rate, 0.0);
    return a;
  }
  std::wstring WriteIqbin(const std::string& name, int n, double rate) {
    const std::wstring path = lv::Utf8ToWide((dir_ / name).string());
    CLumvardBinFile f;
    f.SetFileName(path.c_str());
    f.WriteToFile(Wave(n, rate).get());
    return path;
  }
  std::wstring WriteWv(const std::string& name, int n, double rate) {
    const std::wstring path = lv::Utf8ToWide((dir_ / name).string());
    CQWriteRSWvFile f;
    f.SetFileName(path.c_str());
    f.clock = rate;
    f.WriteHeader();
    f.WriteData(Wave(n, rate).get());
    return path;
  }
  std::wstring WriteText(const std::string& name, const std::string& text) {
    const std::filesystem::path p = dir_ / name;
    FILE* f = std::fopen(p.string().c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return lv::Utf8ToWide(p.string());
  }
  std::wstring FileNameOf(int index) {
    std::wstring name;
    data_.GetParam(&name, CWMultiDataMgrThread::kParamFileName, index);
    return name;
  }
  std::unique_ptr<CQInstrIIOMultiXcvrSettings> Settings() {
    void* p = nullptr;
    instr_.GetParam(&p, kInstrGetSettings);
    return std::unique_ptr<CQInstrIIOMultiXcvrSettings>(static_cast<CQInstrIIOMultiXcvrSettings*>(p));
  }
  void SetSettings(CQInstrIIOMultiXcvrSettings& s) { instr_.SetParam(static_cast<void*>(&s), kInstrSetSettings); }

  lv::HeadlessUiLoop ui_;
  lv::UiPostTarget* previousUi_ = nullptr;
  CQErrorPresenter previousPresenter_;
  std::vector<ShownError> shown_;
  std::filesystem::path dir_;
  CWInstrIIOMultiXcvrMgrThread instr_{4, 4};
  CWMultiDataMgrThread data_;
};

}  // namespace lv_test
