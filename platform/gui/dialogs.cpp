#include "platform/gui/dialogs.h"

#include <gif_lib.h>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <system_error>

#include "platform/gui/gui_runtime.h"
#include "platform/gui/gui_runtime_qt.h"
#include "platform/gui/file_dialog_qt.h"
#include "platform/gui/modal_bridge.h"
#include "platform/gui/qt_bridge.h"

namespace lv {

namespace {

struct ButtonId {
  QMessageBox::StandardButton button;
  int id;
};
constexpr ButtonId kButtonIds[] = {
    {QMessageBox::Ok, kIdOk},         {QMessageBox::Cancel, kIdCancel}, {QMessageBox::Abort, kIdAbort},
    {QMessageBox::Retry, kIdRetry},   {QMessageBox::Ignore, kIdIgnore}, {QMessageBox::Yes, kIdYes},
    {QMessageBox::No, kIdNo},
};

int IdOf(QMessageBox::StandardButton b, int fallback) {
  for (const ButtonId& e : kButtonIds) {
    if (e.button == b) {
      return e.id;
    }
  }
  return fallback;
}

QMessageBox::StandardButtons ButtonsOf(MessageButtons b) {
  switch (b) {
    case MessageButtons::kOkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::kYesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::kYesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::kRetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case MessageButtons::kAbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    default: return QMessageBox::Ok;
  }
}

QMessageBox::Icon IconOf(MessageSeverity s) {
  switch (s) {
    case MessageSeverity::kQuestion: return QMessageBox::Question;
    case MessageSeverity::kWarning: return QMessageBox::Warning;
    case MessageSeverity::kError: return QMessageBox::Critical;
    default: return QMessageBox::Information;
  }
}

// "IQ files (*.iqbin *.bin)" from the name and "*.iqbin;*.bin".
QString FilterText(const FileFilter& f) {
  QString patterns = gui_internal::ToQString(f.patterns);
  patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
  return gui_internal::ToQString(f.name) + QStringLiteral(" (") + patterns + QStringLiteral(")");
}

std::wstring RunFileDialog(const FileDialogOptions& options, bool save) {
  auto chosen = std::make_shared<QString>();
  const int result = RunModal(
      [options, save, chosen](ModalDone done) {
        auto* dialog = new QFileDialog(QApplication::activeWindow(), gui_internal::ToQString(options.title));
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        // The same dialog on every platform, so tests can answer it.
        dialog->setOption(QFileDialog::DontUseNativeDialog, true);
        gui_internal::KeepFileDialogFromReadingFiles(dialog);
        dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        QStringList filters;
        for (const FileFilter& f : options.filters) {
          filters << FilterText(f);
        }
        if (!filters.isEmpty()) {
          dialog->setNameFilters(filters);
        }
        if (!options.defaultExtension.empty()) {
          dialog->setDefaultSuffix(gui_internal::ToQString(options.defaultExtension));
        }
        if (!options.initialPath.empty()) {
          const QString initial = gui_internal::ToQString(options.initialPath);
          if (QFileInfo(initial).isDir()) {
            dialog->setDirectory(initial);
          } else {
            dialog->selectFile(initial);
          }
        }
        QObject::connect(dialog, &QDialog::finished, [dialog, done, chosen](int r) {
          if (r == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
            *chosen = dialog->selectedFiles().first();
          }
          done(r == QDialog::Accepted ? kIdOk : kIdCancel);
        });
        dialog->open();
      },
      kIdCancel);
  // The dialog's side is finished (done came from its finished signal).
  return result == kIdOk ? chosen->toStdWString() : std::wstring();
}

// Encodes the picture as GIF with giflib. A picture of at most 256 colours
// keeps them exactly; a richer one maps to a 6x7x6 colour cube.
bool WriteGif(const QImage& image, const std::string& path) {
  const int w = image.width();
  const int h = image.height();
  std::map<QRgb, int> colours;
  for (int y = 0; y < h && colours.size() <= 256; ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < w && colours.size() <= 256; ++x) {
      colours.emplace(row[x] | 0xFF000000u, 0);
    }
  }
  const bool exact = colours.size() <= 256;
  std::vector<GifColorType> palette(256, GifColorType{0, 0, 0});
  if (exact) {
    int i = 0;
    for (auto& [rgb, index] : colours) {
      index = i;
      palette[i] = GifColorType{static_cast<GifByteType>(qRed(rgb)), static_cast<GifByteType>(qGreen(rgb)),
                                static_cast<GifByteType>(qBlue(rgb))};
      ++i;
    }
  } else {
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 7; ++g)
        for (int b = 0; b < 6; ++b)
          palette[(r * 7 + g) * 6 + b] = GifColorType{static_cast<GifByteType>(r * 255 / 5),
                                                      static_cast<GifByteType>(g * 255 / 6),
                                                      static_cast<GifByteType>(b * 255 / 5)};
  }
  int error = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
  if (gif == nullptr) {
    return false;
  }
  ColorMapObject* map = GifMakeMapObject(256, palette.data());
  bool ok = map != nullptr && EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK &&
            EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
  std::vector<GifPixelType> line(static_cast<size_t>(w));
  for (int y = 0; ok && y < h; ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      const QRgb p = row[x] | 0xFF000000u;
      if (exact) {
        line[x] = static_cast<GifPixelType>(colours[p]);
      } else {
        const int r = (qRed(p) * 5 + 127) / 255;
        const int g = (qGreen(p) * 6 + 127) / 255;
        const int b = (qBlue(p) * 5 + 127) / 255;
        line[x] = static_cast<GifPixelType>((r * 7 + g) * 6 + b);
      }
    }
    ok = EGifPutLine(gif, line.data(), w) == GIF_OK;
  }
  GifFreeMapObject(map);
  ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
  return ok;
}

}  // namespace

int ShowMessageBox(const std::wstring& text, const std::wstring& caption, MessageSeverity severity,
                   MessageButtons buttons) {
  // Escape answers cancel where there is one; a yes/no box answers no.
  const int escapeId = buttons == MessageButtons::kYesNo ? kIdNo
                       : buttons == MessageButtons::kOk  ? kIdOk
                       : buttons == MessageButtons::kAbortRetryIgnore ? kIdAbort
                                                                      : kIdCancel;
  return RunModal(
      [=](ModalDone done) {
        auto* box = new QMessageBox(IconOf(severity), gui_internal::ToQString(caption), gui_internal::ToQString(text),
                                    ButtonsOf(buttons), QApplication::activeWindow());
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        QObject::connect(box, &QDialog::finished, [box, done, escapeId](int) {
          QAbstractButton* clicked = box->clickedButton();
          done(clicked != nullptr ? IdOf(box->standardButton(clicked), escapeId) : escapeId);
        });
        box->open();
      },
      buttons == MessageButtons::kYesNo ? kIdNo : kIdCancel);
}

std::wstring ShowOpenFileDialog(const FileDialogOptions& options) { return RunFileDialog(options, false); }

std::wstring ShowSaveFileDialog(const FileDialogOptions& options) { return RunFileDialog(options, true); }

void CopyPictureToClipboard(const std::string& svg, const Bitmap& bitmap) {
  QImage image = bitmap.IsNull() ? QImage() : bitmap.Image()->copy();
  QByteArray bytes(svg.data(), static_cast<qsizetype>(svg.size()));
  auto put = [image, bytes] {
    auto* data = new QMimeData();
    data->setData(QStringLiteral("image/svg+xml"), bytes);
    if (!image.isNull()) {
      data->setImageData(image);
    }
    QApplication::clipboard()->setMimeData(data);
  };
  if (IsGuiThread()) {
    put();
  } else {
    gui_internal::PostToGuiThread(put);
  }
}

bool SaveImageFile(const Bitmap& bitmap, const std::string& utf8Path) {
  if (bitmap.IsNull()) {
    return false;
  }
  const std::filesystem::path path = std::filesystem::u8path(utf8Path);
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const char* qtFormat = ext == ".bmp" ? "BMP" : (ext == ".jpg" || ext == ".jpeg") ? "JPG" : ext == ".png" ? "PNG" : nullptr;
  if (qtFormat == nullptr && ext != ".gif") {
    return false;
  }
  // Written beside the target and renamed into place: a failed write leaves
  // an existing file as it was.
  std::filesystem::path temp = path;
  temp += ".partial";
  const std::string tempName = temp.string();
  const bool written = qtFormat != nullptr ? bitmap.Image()->save(QString::fromStdString(tempName), qtFormat)
                                           : WriteGif(*bitmap.Image(), tempName);
  std::error_code ec;
  if (!written) {
    std::filesystem::remove(temp, ec);
    return false;
  }
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace lv
