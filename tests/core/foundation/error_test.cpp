#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/error_dialog.h"
#include "support/errors.h"

namespace {

TEST(CQError, CodesCarryTheirMessages) {
  const struct {
    int code;
    const wchar_t* message;
  } table[] = {
      {1, L"Error allocating memory."},
      {2, L"Error in math library routine."},
      {3, L"Null pointer to input data."},
      {4, L"Error while writing to a file."},
      {5, L"Error while appending to a file."},
      {6, L"The number of points in the pulse exceeds the maximum allowed."},
      {7, L"Unknown error."},
      {-1, L"Unknown error."},
  };
  for (const auto& row : table) {
    CQError e(row.code);
    EXPECT_EQ(e.GetCode(), row.code);
    ASSERT_NE(e.GetMessage(), nullptr) << row.code;
    EXPECT_STREQ(e.GetMessage(), row.message) << row.code;
    EXPECT_EQ(e.GetCallStack(), nullptr);
  }
  CQError none(0);
  EXPECT_EQ(none.GetMessage(), nullptr);
}

TEST(CQError, SetCodeZeroKeepsMessageAndOtherCodesReplaceIt) {
  CQError e("Invalid sample rate.");
  e.SetCode(0);
  EXPECT_STREQ(e.GetMessage(), L"Invalid sample rate.");
  e.SetCode(3);
  EXPECT_STREQ(e.GetMessage(), L"Null pointer to input data.");
  e.SetMessage(static_cast<const char*>(nullptr));
  e.SetMessage(static_cast<const wchar_t*>(nullptr));
  EXPECT_STREQ(e.GetMessage(), L"Null pointer to input data.");
}

TEST(CQError, ConstructorsTellMessageFromCallStack) {
  CQError alloc(1, "CQArrayMath::AllocComplex");
  EXPECT_STREQ(alloc.GetMessage(), L"Error allocating memory.");
  EXPECT_STREQ(alloc.GetCallStack(), "CQArrayMath::AllocComplex\n");

  CQError writer(4, CQMessage{"Error writing data to wvd data file."});
  EXPECT_EQ(writer.GetCode(), 4);
  EXPECT_STREQ(writer.GetMessage(), L"Error writing data to wvd data file.");
  EXPECT_EQ(writer.GetCallStack(), nullptr);

  CQError writer99(99, CQMessage{"own"});  // stored unchanged, no table text
  EXPECT_EQ(writer99.GetCode(), 99);
  EXPECT_STREQ(writer99.GetMessage(), L"own");

  CQError named("Invalid number of points.", "CQCArray::Set");
  EXPECT_EQ(named.GetCode(), 0);
  EXPECT_STREQ(named.GetCallStack(), "CQCArray::Set\n");

  CQError wide(L"Wide \u00E9");
  EXPECT_STREQ(wide.GetMessage(), L"Wide \u00E9");

  CQError latin("caf\xE9");  // a byte above 127 of the narrow code page
  EXPECT_STREQ(latin.GetMessage(), L"caf\u00E9");
}

TEST(CQError, CallStackGrowsInThrowOrder) {
  std::string expected;
  try {
    try {
      try {
        throw new CQError(1, "CQArrayMath::AllocComplex");
      } catch (CQError* e) {
        e->AddToCallStack("CQCArray::PrependZeroData");
        throw;
      }
    } catch (CQError* e) {
      e->AddToCallStack("CQCArrayTD::PrependZeroData");
      throw;
    }
  } catch (CQError* e) {
    EXPECT_STREQ(e->GetCallStack(),
                 "CQArrayMath::AllocComplex\nCQCArray::PrependZeroData\nCQCArrayTD::PrependZeroData\n");
    delete e;
  }
  CQError long_stack(0);
  for (int i = 0; i < 500; ++i) {
    long_stack.AddToCallStack("X::Y");
    expected += "X::Y\n";
  }
  long_stack.AddToCallStack("");
  long_stack.AddToCallStack(nullptr);
  EXPECT_EQ(std::string(long_stack.GetCallStack()), expected + "\n");
}

TEST(CQError, MakeCopyIsDeep) {
  auto* original = new CQError("message", "A::B");
  original->SetCode(0);
  CQError* copy = original->MakeCopy();
  EXPECT_NE(copy->GetMessage(), original->GetMessage());
  EXPECT_NE(copy->GetCallStack(), original->GetCallStack());
  delete original;  // the copy must not depend on the original's storage
  EXPECT_STREQ(copy->GetMessage(), L"message");
  EXPECT_STREQ(copy->GetCallStack(), "A::B\n");
  delete copy;

  CQError bare(7);
  bare.SetCode(0);
  CQError empty(0);
  CQError* emptyCopy = empty.MakeCopy();
  EXPECT_EQ(emptyCopy->GetCode(), 0);
  EXPECT_EQ(emptyCopy->GetMessage(), nullptr);
  EXPECT_EQ(emptyCopy->GetCallStack(), nullptr);
  delete emptyCopy;
}

TEST(CQError, NewHandlerTurnsAllocationFailureIntoCode1) {
#if defined(__SANITIZE_ADDRESS__)
  // AddressSanitizer's throwing operator new reports out-of-memory and aborts
  // even with allocator_may_return_null=1: the new handler is never reached.
  GTEST_SKIP() << "AddressSanitizer's operator new aborts on failure instead of calling the new handler";
#endif
  InstallCQErrorNewHandler();
  const lv_test::CaughtError e = lv_test::Catch([] {
    // Larger than any address space: operator new fails and calls the handler.
    volatile size_t huge = static_cast<size_t>(1) << 62;
    void* volatile p = ::operator new(huge);
    ::operator delete(p);
  });
  std::set_new_handler(nullptr);
  ASSERT_TRUE(e.thrown) << "allocation unexpectedly succeeded";
  EXPECT_EQ(e.code, 1);
  EXPECT_EQ(e.message, "Error allocating memory.");
}

// Runs in a fresh temporary directory, since reports land in the current one.
class ErrorReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() /
           ("lv_error_report_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
    ResetErrorReportNumberForTesting(1);
    previous_ = SetErrorPresenter([this](CQErrorDlg& dlg) { shown_.push_back(dlg.Lines()); });
  }
  void TearDown() override {
    SetErrorPresenter(previous_);
    std::filesystem::current_path(old_);
    std::filesystem::remove_all(dir_);
  }
  static std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  std::filesystem::path old_, dir_;
  CQErrorPresenter previous_;
  std::vector<std::vector<std::wstring>> shown_;
};

TEST_F(ErrorReportTest, DialogLinesForMessageAndDetails) {
  CQError* e = new CQError("Invalid sample rate.");
  e->AddToCallStack("CQCArrayTD::Set");
  e->AddToCallStack("CQCArrayTD::MakeCopy");
  CQErrorDlg dlg(e->MakeCopy());
  dlg.OnInitDialog();
  EXPECT_EQ(dlg.Lines(), std::vector<std::wstring>{L"Invalid sample rate."});
  dlg.OnShowDetails();
  const std::vector<std::wstring> details = {L"Invalid sample rate.", L" ", L"Call stack:", L"CQCArrayTD::Set",
                                             L"CQCArrayTD::MakeCopy", L""};
  EXPECT_EQ(dlg.Lines(), details);
  delete e;

  CQErrorDlg twoLines(new CQError("first\nsecond"));
  twoLines.OnInitDialog();
  EXPECT_EQ(twoLines.Lines(), (std::vector<std::wstring>{L"first", L"second"}));

  CQErrorDlg empty(nullptr);
  empty.OnShowDetails();
  EXPECT_EQ(empty.Lines(), std::vector<std::wstring>{L"No error information"});
}

TEST_F(ErrorReportTest, ShowErrorDialogPresentsAndDeletesTheError) {
  ShowErrorDialog(new CQError("Invalid number of points.", "A::B"));
  ShowErrorDialog(nullptr);
  ASSERT_EQ(shown_.size(), 2u);
  EXPECT_EQ(shown_[0], std::vector<std::wstring>{L"Invalid number of points."});
  EXPECT_EQ(shown_[1], std::vector<std::wstring>{L"No error information"});
}

TEST_F(ErrorReportTest, ReportFileFormatWithInjectedTime) {
  CQError e("Invalid sample rate.");
  e.AddToCallStack("CQCArrayTD::Set");
  e.AddToCallStack("CQCArrayTD::MakeCopy");
  const CQErrorReportTime t{3, 3, 2025, 14, 5, 9.25};
  e.WriteToFile(L"report.txt", t);
  EXPECT_EQ(ReadAll(dir_ / "report.txt"),
            "Time: 3-3-2025 14:5:9.250\r\n"
            "Error: Invalid sample rate.\r\n"
            "Call Stack: CQCArrayTD::Set\r\nCQCArrayTD::MakeCopy\r\n\r\n\r\n\r\n");

  CQError none(0);
  none.WriteToFile(L"none.txt", t);
  EXPECT_EQ(ReadAll(dir_ / "none.txt"),
            "Time: 3-3-2025 14:5:9.250\r\nError: None specified\r\nCall Stack: None specified\r\n\r\n\r\n");
  EXPECT_FALSE(none.WriteToFile(nullptr, t));                     // ignored
  EXPECT_FALSE(none.WriteToFile(L"no such folder/x.txt", t));     // skipped, and said so
  EXPECT_FALSE(std::filesystem::exists(dir_ / "no such folder"));
}

TEST_F(ErrorReportTest, WriteToFileNumbersReportsAcrossDialogs) {
  {
    std::ofstream old(dir_ / "Error Details 1.txt");
    old << "old content that must be replaced";
  }
  CQErrorDlg first(new CQError("one"));
  first.OnWriteToFile();
  EXPECT_EQ(first.Lines(), (std::vector<std::wstring>{L"Error details written to the file:", L"Error Details 1.txt"}));
  first.OnWriteToFile();
  CQErrorDlg second(new CQError("two"));
  second.OnWriteToFile();
  EXPECT_EQ(second.Lines()[1], L"Error Details 3.txt");
  EXPECT_NE(ReadAll(dir_ / "Error Details 1.txt").find("Error: one\r\n"), std::string::npos);
  EXPECT_NE(ReadAll(dir_ / "Error Details 2.txt").find("Error: one\r\n"), std::string::npos);
  EXPECT_NE(ReadAll(dir_ / "Error Details 3.txt").find("Error: two\r\n"), std::string::npos);
  // The time line of the real clock has the report's shape.
  EXPECT_EQ(ReadAll(dir_ / "Error Details 3.txt").rfind("Time: ", 0), 0u);
  // Show Details after Write to File rebuilds the list from the message.
  second.OnShowDetails();
  EXPECT_EQ(second.Lines(), std::vector<std::wstring>{L"two"});
}

// A report that cannot be written is reported as not written, never as written.
TEST_F(ErrorReportTest, AReportThatCannotBeWrittenIsSaidSo) {
  std::filesystem::create_directory(dir_ / "Error Details 1.txt");  // a folder where the file would go
  CQErrorDlg dlg(new CQError("one"));
  dlg.OnWriteToFile();
  EXPECT_EQ(dlg.Lines(), (std::vector<std::wstring>{L"The error details could not be written to the file:",
                                                     L"Error Details 1.txt"}));
  dlg.OnWriteToFile();
  EXPECT_EQ(dlg.Lines()[0], L"Error details written to the file:");
}

}  // namespace
