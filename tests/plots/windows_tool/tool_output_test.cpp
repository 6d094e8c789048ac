// The tool window's outputs: saved images (extension rules, the four
// formats read back), the clipboard's SVG and bitmap, a printed PDF page
// with the colours restored, and the formatted data file.
#include <gif_lib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/gui/dialogs.h"
#include "platform/gui/save_file_choice.h"
#include "platform/text.h"
#include "support/errors.h"
#include "tool_fixture.h"

namespace {

namespace fs = std::filesystem;
using namespace tool_test;
using W = CWPlot2DToolWndw;

class ToolOutput : public ToolWindowTest {
 protected:
  void SetUp() override {
    ToolWindowTest::SetUp();
    // A folder of our own inside a folder of our own.
    dir_ = fs::temp_directory_path() / ("lv-tool-" + std::to_string(getpid())) /
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(dir_);
    // The dialogs open in the current folder ("Plot.png", "data.txt").
    previous_ = fs::current_path();
    fs::current_path(dir_);
  }
  void TearDown() override {
    ToolWindowTest::TearDown();
    fs::current_path(previous_);
    fs::remove_all(dir_.parent_path());
  }
  std::wstring In(const std::string& name) const { return (dir_ / name).wstring(); }
  fs::path dir_;
  fs::path previous_;
};

// Width and height of a GIF read with giflib; (0, 0) when it cannot be read.
std::pair<int, int> GifSize(const std::string& path) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  if (gif == nullptr) return {0, 0};
  std::pair<int, int> size{0, 0};
  if (DGifSlurp(gif) == GIF_OK && gif->ImageCount >= 1) {
    size = {gif->SavedImages[0].ImageDesc.Width, gif->SavedImages[0].ImageDesc.Height};
  }
  DGifCloseFile(gif, &error);
  return size;
}

TEST_F(ToolOutput, SaveImageInTheFourFormatsWithTheExtensionRules) {
  Make(0);
  const lv::Bitmap& plot = window_->OffScreenBitmap();
  struct Case {
    const char* typed;
    int filter;  // 0 bmp, 1 jpg, 2 gif, 3 png
    const char* saved;
    const char* format;  // what the file holds
  };
  const Case cases[] = {
      {"plot", 1, "plot.jpg", "jpeg"},               // no extension: ".jpg" appended
      {"plot.png.old", 3, "plot.png.old", "png"},    // ".png" anywhere: kept, PNG inside
      {"pic", 0, "pic.bmp", "bmp"},
      {"pic2.bmp", 0, "pic2.bmp", "bmp"},
      {"anim", 2, "anim.gif", "gif"},
      {"shot.PNG", 3, "shot.PNG", "png"},            // the extension in capitals counts
      {"shot.jpg", 3, "shot.jpg.png", "png"},        // another format's extension: appended
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    lv::test_hooks::PushFileAnswerWithFilter(In(c.typed), c.filter);
    Command(W::kCmdSaveImage);
    const fs::path saved = dir_ / c.saved;
    ASSERT_TRUE(fs::exists(saved));
    if (std::string(c.format) == "gif") {
      EXPECT_EQ(GifSize(saved.string()), std::make_pair(plot.Width(), plot.Height()));
    } else {
      QImageReader reader(QString::fromStdString(saved.string()));
      reader.setDecideFormatFromContent(true);
      EXPECT_EQ(reader.format().toStdString(), c.format);
      const QImage image = reader.read();
      EXPECT_EQ(image.size(), QSize(plot.Width(), plot.Height()));
    }
  }
  // Nothing left behind but the saved files.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 7);
}

TEST_F(ToolOutput, SaveImageAsksBeforeReplacingAFileWhoseNameGotAnExtension) {
  Make(3);
  {
    std::ofstream(dir_ / "plot.gif") << "keep me";
  }
  // Answer "No": the file stays as it was.
  lv::test_hooks::PushFileAnswerWithFilter(In("plot"), 2);
  lv::test_hooks::PushMessageBoxAnswer(lv::kIdNo);
  Command(W::kCmdSaveImage);
  EXPECT_EQ(lv::test_hooks::PendingAnswers(), 0u);
  EXPECT_EQ(fs::file_size(dir_ / "plot.gif"), 7u);
  // "Yes": replaced by the picture.
  lv::test_hooks::PushFileAnswerWithFilter(In("plot"), 2);
  lv::test_hooks::PushMessageBoxAnswer(lv::kIdYes);
  Command(W::kCmdSaveImage);
  EXPECT_GT(GifSize((dir_ / "plot.gif").string()).first, 0);
  // Cancelled dialog: nothing.
  lv::test_hooks::PushFileAnswerWithFilter(L"", 3);
  Command(W::kCmdSaveImage);
  EXPECT_FALSE(fs::exists(dir_ / "Plot.png"));
}

TEST_F(ToolOutput, SaveDialogsOverAFolderWithANamedPipeDoNotBlock) {
  // The dialog lists the folder's files without opening them: a pipe that
  // nobody writes to must not block the GUI thread.
  ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
  Make(0);
  lv::test_hooks::PushFileAnswerWithFilter(In("beside-pipe"), 3);
  Command(W::kCmdSaveImage);
  EXPECT_TRUE(fs::exists(dir_ / "beside-pipe.png"));
  lv::test_hooks::PushFileAnswer(In("beside-pipe.txt"));
  Command(W::kCmdSaveData);
  EXPECT_TRUE(fs::exists(dir_ / "beside-pipe.txt"));
}

TEST_F(ToolOutput, FailedImageSaveShowsTheErrorDialogAndKeepsTheWindow) {
  Make(0);
  // The image is written next to the target first: a folder in that place
  // makes the write fail.
  fs::create_directories(dir_ / "x.png.part.png");
  lv_test::ShownErrors errors;
  lv::test_hooks::PushFileAnswerWithFilter(In("x"), 3);
  Command(W::kCmdSaveImage);
  ASSERT_EQ(errors.Messages(), std::vector<std::string>{"Error saving the image file."});
  EXPECT_NE(errors.Entries()[0].callStack.find("CWPlot2DToolWndw::SaveImage"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir_ / "x.png"));
  // The window goes on working.
  lv::test_hooks::PushFileAnswerWithFilter(In("y"), 3);
  Command(W::kCmdSaveImage);
  EXPECT_TRUE(fs::exists(dir_ / "y.png"));
}

TEST_F(ToolOutput, CopyImagePutsSvgAndABitmapOnTheClipboard) {
  Make(3);
  window_->markerOn = true;
  window_->markerX = 2.5e6;
  window_->markerValue = -10.0;
  window_->Redraw();
  QApplication::clipboard()->clear();
  Command(W::kCmdCopyImage);
  ASSERT_TRUE(PumpUntil([] {
    const QMimeData* d = QApplication::clipboard()->mimeData();
    return d != nullptr && d->hasFormat(QStringLiteral("image/svg+xml"));
  }));
  const QMimeData* data = QApplication::clipboard()->mimeData();
  const QByteArray svg = data->data(QStringLiteral("image/svg+xml"));
  QXmlStreamReader xml(svg);
  int elements = 0;
  bool sawText = false;
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement) {
      ++elements;
      if (xml.name() == QStringLiteral("text")) sawText = true;
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_GT(elements, 20);
  EXPECT_TRUE(sawText);
  EXPECT_TRUE(svg.contains("MHz"));  // the marker read-out is in it
  ASSERT_TRUE(data->hasImage());
  const QImage image = qvariant_cast<QImage>(data->imageData());
  EXPECT_EQ(image.size(), QSize(window_->OffScreenBitmap().Width(), window_->OffScreenBitmap().Height()));
}

TEST_F(ToolOutput, PrintsOnePdfPageAndRestoresTheColours) {
  Make(0);
  const std::string pdf = (dir_ / "plot.pdf").string();
  lv::test_hooks::PushPrintToPdfAnswer(pdf);
  Command(W::kCmdPrintImage);
  ASSERT_TRUE(fs::exists(pdf));
  std::ifstream in(pdf, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
  size_t pages = 0;
  for (size_t at = bytes.find("/Type /Page\n"); at != std::string::npos; at = bytes.find("/Type /Page\n", at + 1)) {
    ++pages;
  }
  if (pages == 0) {
    for (size_t at = bytes.find("/Type /Page"); at != std::string::npos; at = bytes.find("/Type /Page", at + 1)) {
      if (bytes.compare(at, 12, "/Type /Pages") != 0) ++pages;
    }
  }
  EXPECT_EQ(pages, 1u);
  // Printed on paper colours; the screen scheme is back afterwards.
  EXPECT_TRUE(window_->ScreenSchemeOn());
  EXPECT_EQ(window_->backgroundColor, CWColorScheme::Screen().background);
  EXPECT_EQ(window_->datasetColor[0], CWColorScheme::Screen().dataset[0]);
  // The paper scheme chosen by the user stays chosen after printing.
  Command(W::kCmdPaperScheme);
  lv::test_hooks::PushPrintToPdfAnswer((dir_ / "paper.pdf").string());
  Command(W::kCmdPrintImage);
  EXPECT_TRUE(window_->PaperSchemeOn());
  // A cancelled print dialog prints nothing.
  lv::test_hooks::PushResult(0);
  Command(W::kCmdPrintImage);
  EXPECT_EQ(window_->backgroundColor, CWColorScheme::Paper().background);
}

TEST_F(ToolOutput, PrintPageScalesThePlotFiveInchesWide) {
  // The print mapping drawn into a page surface: the plot's width becomes
  // five inches at the page's resolution, centred.
  Make(0);
  lv::ImageDc page(2550, 3300, lv::MakeRgb(255, 255, 255));
  page.SetDpi(300, 300);
  const int32_t w = window_->OffScreenBitmap().Width();
  const int32_t h = window_->OffScreenBitmap().Height();
  const float f = std::min(5.0f * 300 / w, 5.0f * 300 / h);
  const int32_t vw = static_cast<int32_t>(w * f);
  const int32_t vh = static_cast<int32_t>(h * f);
  EXPECT_EQ(vw, 1500);
  page.SetIsotropicMapping(lv::Size{w, h}, lv::Size{vw, vh}, lv::Point{(2550 - vw) / 2, (3300 - vh) / 2});
  window_->DrawAll(page, true);
  page.ResetMapping();
  // Background (black on the screen scheme) fills exactly the centred box.
  EXPECT_EQ(page.GetBitmap().Pixel((2550 - vw) / 2 + 2, 1650), lv::MakeRgb(0, 0, 0));
  EXPECT_EQ(page.GetBitmap().Pixel((2550 - vw) / 2 - 3, 1650), lv::MakeRgb(255, 255, 255));
  EXPECT_EQ(page.GetBitmap().Pixel((2550 + vw) / 2 + 3, 1650), lv::MakeRgb(255, 255, 255));
}

TEST_F(ToolOutput, SaveFormattedDataWritesTheDatasetAndReportsErrors) {
  Make(0);
  lv::test_hooks::PushFileAnswer(In("out.txt"));
  Command(W::kCmdSaveData);
  std::ifstream in(dir_ / "out.txt", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("\t"), std::string::npos);
  EXPECT_NE(text.find("\r\n"), std::string::npos);
  size_t lines = 0;
  for (char ch : text) lines += ch == '\n';
  EXPECT_GE(lines, static_cast<size_t>(kPoints));
  // A cancelled dialog writes nothing.
  lv::test_hooks::PushFileAnswer(L"");
  Command(W::kCmdSaveData);
  EXPECT_FALSE(fs::exists(dir_ / "data.txt"));
}

}  // namespace
