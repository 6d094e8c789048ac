// The instrument-manager thread with the fake board behind it.
#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/error_dialog.h"
#include "fakes/fake_iiod.h"
#include "platform/text.h"
#include "support/errors.h"
#include "workers/settings_file.h"
#include "xcvr/instr_thread.h"

namespace {

using lv_test::Catch;

// A status bar that only records; it never blocks its caller.
class RecordingSink : public lv::StatusSink {
 public:
  void SetPaneText(int pane, const wchar_t* text) override {
    std::lock_guard<std::mutex> lock(mutex_);
    texts_.emplace_back(pane, text);
  }
  std::vector<std::pair<int, std::wstring>> Texts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::pair<int, std::wstring>> texts_;
};

class InstrThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_ = std::make_unique<lv_fake::FakeIiod>(lv_fake::ReadBoardFixture("ad9371"));
    fake_->Start();
    ASSERT_TRUE(thread_.StartUIThread());
  }
  void TearDown() override { thread_.StopAndJoin(10000); }

  lv_test::ShownErrors shown_;  // outlives the thread
  CWInstrIIOMultiXcvrMgrThread thread_{4, 4};
  std::unique_ptr<lv_fake::FakeIiod> fake_;
  RecordingSink sink_;
};

TEST_F(InstrThreadTest, TransmitThroughRequestsAndStatusTexts) {
  thread_.SetParam(static_cast<void*>(static_cast<lv::StatusSink*>(&sink_)), kInstrSetStatusSink);
  CQInstrIIOMultiXcvrSettings s(4, 4);
  s.SetAllFlags(true);
  s.model = kModelAd9371;
  s.rateIndex = 100;
  s.SetIPAddress(lv::Utf8ToWide(fake_->Address()).c_str());
  s.Xmtr(0).on = true;
  thread_.SetParam(static_cast<void*>(&s), kInstrSetSettings);

  // The settings come back as a copy the requester owns.
  void* p = nullptr;
  thread_.GetParam(&p, kInstrGetSettings);
  std::unique_ptr<CQInstrIIOMultiXcvrSettings> copy(static_cast<CQInstrIIOMultiXcvrSettings*>(p));
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->model, kModelAd9371);
  EXPECT_TRUE(copy->modelSet && copy->connectionSet);

  std::vector<CQComplex> v(256, CQComplex(0.25f, -0.5f));
  CQCArrayTD wave;
  wave.Set(v.data(), 256, 245.76e6, 0.0);
  thread_.SetParam(&wave, kInstrSetXmtrData, 0);
  bool ok = false;
  thread_.GetParam(&ok, kInstrGetTransmitNow);
  EXPECT_TRUE(ok);
  EXPECT_EQ(fake_->EventStrings({"OPEN"}), std::vector<std::string>{"OPEN axi-ad9371-tx-hpc 256 00000003 CYCLIC"});
  std::wstring description;
  thread_.GetParam(&description, kInstrGetDescription);
  EXPECT_EQ(description, L"LAN:" + lv::Utf8ToWide(fake_->Address()));
  float backoff = 0;
  thread_.GetParam(&backoff, kInstrGetBackoff);
  EXPECT_FLOAT_EQ(backoff, 2.0f);
  const auto texts = sink_.Texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back(), (std::pair<int, std::wstring>{2, L"Transmitting"}));

  // Message 25 disconnects: the buffer is closed and the context ends.
  thread_.PutMessage(kMsgInstrDisconnect, nullptr);
  EXPECT_TRUE(fake_->WaitForEvent("EXIT", 5000));
}

TEST_F(InstrThreadTest, UnknownIdsAndRefusedMessages) {
  int value = 0;
  auto e = Catch([&] { thread_.GetParam(&value, 3); });
  EXPECT_EQ(e.message, "Unknown parameter type.");
  e = Catch([&] { thread_.GetParam(&value, 7); });
  EXPECT_EQ(e.message, "Unknown parameter type.");
  EXPECT_NE(e.callStack.find("CWInstrIIOMultiXcvrMgrThread::OnMsgGetParam"), std::string::npos);
  thread_.SetParamNoWait(true, 11);
  ASSERT_TRUE(shown_.WaitFor(1, std::chrono::seconds(5)));
  EXPECT_EQ(shown_.Messages()[0], "Unhandled message in thread queue.");
  // With every transmitter off a transmit answers true and touches nothing.
  bool ok = false;
  e = Catch([&] { thread_.GetParam(&ok, kInstrGetTransmitNow); });
  EXPECT_FALSE(e.thrown);
  EXPECT_TRUE(ok);
  // A transmit that fails comes back to the requester with both threads' names.
  CQInstrIIOMultiXcvrSettings s(4, 4);
  s.SetAllFlags(true);
  s.model = 99;
  s.SetIPAddress(lv::Utf8ToWide(fake_->Address()).c_str());
  s.Xmtr(0).on = true;
  thread_.SetParam(static_cast<void*>(&s), kInstrSetSettings);
  e = Catch([&] { thread_.GetParam(&ok, kInstrGetTransmitNow); });
  EXPECT_EQ(e.message, "Unsupported instrument model.");
  EXPECT_NE(e.callStack.find("CQInstrIIOMultiXcvr::Transmit\nCQInstrIIOMultiXcvr::GetTransmitNow\nCWInstrIIOMultiXcvrMgrThread::OnMsgGetParam"), std::string::npos)
      << e.callStack;
}

// A save that fails inside the handler reaches the error dialog with the
// handler named once in its call stack.
TEST_F(InstrThreadTest, FailedSaveNamesTheHandlerOnce) {
  CQInstrIIOMultiXcvrSettings s(4, 4);
  s.SetAllFlags(true);
  s.SetIPAddress(L"127.0.0.1:30431\u4e00");  // not writable as Latin-1
  thread_.SetParam(static_cast<void*>(&s), kInstrSetSettings);

  const std::filesystem::path file = std::filesystem::path(::testing::TempDir()) / "instr-save-failure.txt";
  CQAppSettings store;
  store.SetFileName(file);
  store.BeginSave();
  thread_.PutMessage(kMsgSaveSettings, &store);
  ASSERT_TRUE(shown_.WaitFor(1, std::chrono::seconds(5)));
  store.AbortSave();
  const std::string stack = shown_.Entries()[0].callStack;
  const std::string name = "CWInstrIIOMultiXcvrMgrThread::OnMsgSaveSettings\n";
  const size_t first = stack.find(name);
  ASSERT_NE(first, std::string::npos) << stack;
  EXPECT_EQ(stack.find(name, first + 1), std::string::npos) << stack;
}

}  // namespace
