// Message boxes, file dialogs, the clipboard and image files, each answered
// through the test hooks as a person would answer them.
#include <gif_lib.h>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QMimeData>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/gui/dialogs.h"
#include "platform/gui/gui_runtime.h"
#include "platform/gui/printing.h"
#include "platform/gui/test_hooks.h"
#include "support/gui_app.h"

namespace {

namespace fs = std::filesystem;
namespace hooks = lv::test_hooks;

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    lv_test::EnsureGuiApplication();
    ASSERT_TRUE(lv::StartGuiRuntime());
    dir_ = fs::temp_directory_path() / ("lv-dialogs-" + std::to_string(getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override {
    hooks::ClearAnswers();
    hooks::SetModalShownObserver(nullptr);
    if (lv::IsGuiRuntimeStarted()) {
      lv::ShutDownGuiRuntime();
    }
    fs::remove_all(dir_);
  }
  // Runs fn on a worker while the GUI thread serves; returns when it ends.
  void OnWorker(const std::function<void()>& fn) {
    std::atomic<bool> finished{false};
    std::thread t([&] {
      fn();
      finished = true;
    });
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!finished && std::chrono::steady_clock::now() < end) {
      lv::ServeGuiEvents(2);
    }
    if (!finished) {
      ADD_FAILURE() << "the worker's modal call did not finish in time";
      lv::ShutDownGuiRuntime();  // answers it with cancel
    }
    t.join();
  }
  fs::path dir_;
};

TEST_F(Dialogs, MessageBoxAnswersByButtonWithIconAndOnTop) {
  struct Case {
    lv::MessageButtons buttons;
    int press;
    int expected;
  };
  const Case cases[] = {
      {lv::MessageButtons::kOk, lv::kIdOk, lv::kIdOk},
      {lv::MessageButtons::kOkCancel, lv::kIdCancel, lv::kIdCancel},
      {lv::MessageButtons::kYesNo, lv::kIdNo, lv::kIdNo},
      {lv::MessageButtons::kYesNoCancel, lv::kIdYes, lv::kIdYes},
      {lv::MessageButtons::kRetryCancel, lv::kIdRetry, lv::kIdRetry},
      {lv::MessageButtons::kYesNo, lv::kIdCancel, lv::kIdNo},  // no cancel button: as Escape, which is no
  };
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  bool onTop = false;
  hooks::SetModalShownObserver([&](hooks::ShownModal& shown) {
    auto* box = qobject_cast<QMessageBox*>(static_cast<QWidget*>(shown.Widget()));
    ASSERT_NE(box, nullptr);
    icon = box->icon();
    onTop = (box->windowFlags() & Qt::WindowStaysOnTopHint) != 0;
  });
  for (const Case& c : cases) {
    hooks::PushMessageBoxAnswer(c.press);
    int result = 0;
    OnWorker([&] { result = lv::ShowMessageBox(L"Replace the file?", L"Lumvard Sorvek", lv::MessageSeverity::kWarning, c.buttons); });
    EXPECT_EQ(result, c.expected);
  }
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_TRUE(onTop);
  // From the GUI thread too, with the error icon.
  hooks::PushMessageBoxAnswer(lv::kIdOk);
  EXPECT_EQ(lv::ShowMessageBox(L"Failed.", L"Error", lv::MessageSeverity::kError), lv::kIdOk);
  EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST_F(Dialogs, FileDialogsReturnTheChosenNameWithFiltersAndDefaultExtension) {
  const fs::path existing = dir_ / "tone.iqbin";
  std::ofstream(existing) << "x";
  lv::FileDialogOptions options;
  options.title = L"Open Waveform";
  options.filters = {{L"IQ files", L"*.iqbin;*.bin"}, {L"All files", L"*.*"}};
  options.defaultExtension = L"iqbin";
  options.initialPath = dir_.wstring();
  QStringList filters;
  QString suffix;
  hooks::SetModalShownObserver([&](hooks::ShownModal& shown) {
    auto* dialog = qobject_cast<QFileDialog*>(static_cast<QWidget*>(shown.Widget()));
    ASSERT_NE(dialog, nullptr);
    filters = dialog->nameFilters();
    suffix = dialog->defaultSuffix();
  });
  hooks::PushFileAnswer(existing.wstring());
  std::wstring chosen;
  OnWorker([&] { chosen = lv::ShowOpenFileDialog(options); });
  EXPECT_EQ(fs::path(chosen), existing);
  EXPECT_EQ(filters, (QStringList{"IQ files (*.iqbin *.bin)", "All files (*.*)"}));
  EXPECT_EQ(suffix, "iqbin");
  // Save: a name typed without extension gets the default one.
  hooks::PushFileAnswer((dir_ / "capture").wstring());
  OnWorker([&] { chosen = lv::ShowSaveFileDialog(options); });
  EXPECT_EQ(fs::path(chosen), dir_ / "capture.iqbin");
  // Cancelled: an empty name.
  hooks::PushFileAnswer(L"");
  OnWorker([&] { chosen = lv::ShowOpenFileDialog(options); });
  EXPECT_TRUE(chosen.empty());
}

TEST_F(Dialogs, ClipboardHoldsSvgAndBitmapFromAnyThread) {
  lv::Bitmap picture(40, 30, lv::MakeRgb(10, 200, 30));
  const std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"30\"/>";
  OnWorker([&] { lv::CopyPictureToClipboard(svg, picture); });
  lv::ServeGuiEvents(20);
  const QMimeData* data = QApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->data("image/svg+xml").toStdString(), svg);
  ASSERT_TRUE(data->hasImage());
  const QImage image = qvariant_cast<QImage>(data->imageData());
  EXPECT_EQ(image.size(), QSize(40, 30));
  EXPECT_EQ(image.pixel(5, 5) & 0xFFFFFF, qRgb(10, 200, 30) & 0xFFFFFF);
}

// Reads a GIF back with giflib: width, height and the pixel colours.
QImage ReadGif(const std::string& path) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  if (gif == nullptr || DGifSlurp(gif) != GIF_OK || gif->ImageCount < 1) {
    if (gif != nullptr) DGifCloseFile(gif, &error);
    return QImage();
  }
  const SavedImage& frame = gif->SavedImages[0];
  const ColorMapObject* map = frame.ImageDesc.ColorMap != nullptr ? frame.ImageDesc.ColorMap : gif->SColorMap;
  QImage image(frame.ImageDesc.Width, frame.ImageDesc.Height, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const GifColorType c = map->Colors[frame.RasterBits[y * image.width() + x]];
      image.setPixel(x, y, qRgb(c.Red, c.Green, c.Blue));
    }
  }
  DGifCloseFile(gif, &error);
  return image;
}

TEST_F(Dialogs, ImageFilesInEveryFormatAndGifThroughGiflib) {
  lv::Bitmap picture(64, 48, lv::MakeRgb(255, 255, 255));
  for (int x = 0; x < 64; ++x) {
    picture.SetPixel(x, 24, lv::MakeRgb(200, 0, 0));
    picture.SetPixel(x, x % 48, lv::MakeRgb(0, 0, 160));
  }
  for (const char* name : {"plot.bmp", "plot.png", "plot.jpg", "plot.gif"}) {
    const fs::path path = dir_ / name;
    ASSERT_TRUE(lv::SaveImageFile(picture, path.string())) << name;
    EXPECT_GT(fs::file_size(path), 0u) << name;
    EXPECT_FALSE(fs::exists(path.string() + ".partial")) << name;
  }
  // Lossless formats keep every pixel; GIF too while there are few colours.
  const QImage gif = ReadGif((dir_ / "plot.gif").string());
  const QImage png((dir_ / "plot.png").string().c_str());
  ASSERT_EQ(gif.size(), QSize(64, 48));
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) {
      const QRgb want = static_cast<QRgb>(qRgb(lv::RedOf(picture.Pixel(x, y)), lv::GreenOf(picture.Pixel(x, y)), lv::BlueOf(picture.Pixel(x, y))) & 0xFFFFFF);
      ASSERT_EQ(gif.pixel(x, y) & 0xFFFFFF, want) << x << "," << y;
      ASSERT_EQ(png.pixel(x, y) & 0xFFFFFF, want) << x << "," << y;
    }
  }
  // Unknown format or an unwritable place: false, and nothing left behind.
  EXPECT_FALSE(lv::SaveImageFile(picture, (dir_ / "plot.tiff").string()));
  EXPECT_FALSE(lv::SaveImageFile(picture, (dir_ / "missing" / "plot.gif").string()));
  EXPECT_FALSE(lv::SaveImageFile(lv::Bitmap(), (dir_ / "empty.png").string()));
  EXPECT_FALSE(fs::exists(dir_ / "plot.tiff"));
}

TEST_F(Dialogs, PrintDialogThenAPageIntoPdf) {
  const fs::path pdf = dir_ / "plot.pdf";
  hooks::PushPrintToPdfAnswer(pdf.string());
  lv::Bitmap picture(160, 90, lv::MakeRgb(0, 0, 128));
  bool chosen = false;
  bool printed = false;
  OnWorker([&] {
    lv::PrintJob job;
    chosen = job.ShowPrintDialog(L"Print");
    printed = chosen && job.PrintBitmap(picture);
  });
  EXPECT_TRUE(chosen);
  EXPECT_TRUE(printed);
  ASSERT_TRUE(fs::exists(pdf));
  std::ifstream in(pdf, std::ios::binary);
  std::string head(5, '\0');
  in.read(head.data(), 5);
  EXPECT_EQ(head, "%PDF-");
  // Cancelled: nothing printed.
  hooks::PushResult(0);
  OnWorker([&] {
    lv::PrintJob job;
    chosen = job.ShowPrintDialog(L"Print");
  });
  EXPECT_FALSE(chosen);
}

TEST_F(Dialogs, ClosedBridgeAnswersCancelAtOnce) {
  lv::ShutDownGuiRuntime();
  EXPECT_EQ(lv::ShowMessageBox(L"x", L"y", lv::MessageSeverity::kQuestion, lv::MessageButtons::kOkCancel), lv::kIdCancel);
  EXPECT_EQ(lv::ShowMessageBox(L"x", L"y", lv::MessageSeverity::kQuestion, lv::MessageButtons::kYesNo), lv::kIdNo);
  EXPECT_TRUE(lv::ShowOpenFileDialog({}).empty());
  lv::PrintJob job;
  EXPECT_FALSE(job.ShowPrintDialog(L"Print"));
}

}  // namespace
