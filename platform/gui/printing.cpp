#include "platform/gui/printing.h"

#include <QApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/gui/image_dc.h"
#include "platform/gui/modal_bridge.h"
#include "platform/gui/qt_bridge.h"

namespace lv {

struct PrintJob::Impl {
  QPrinter printer{QPrinter::HighResolution};
};

PrintJob::PrintJob() : impl_(std::make_unique<Impl>()) {}
PrintJob::~PrintJob() = default;

bool PrintJob::ShowPrintDialog(const std::wstring& title) {
  QPrinter* printer = &impl_->printer;
  // The printer is used by the GUI thread only while this thread waits.
  const int result = RunModal(
      [printer, title](ModalDone done) {
        auto* dialog = new QPrintDialog(printer, QApplication::activeWindow());
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setWindowTitle(gui_internal::ToQString(title));
        QObject::connect(dialog, &QDialog::finished, [done](int r) { done(r); });
        dialog->open();
      },
      QDialog::Rejected);
  return result == QDialog::Accepted;
}

void PrintJob::SetPdfOutput(const std::string& utf8Path) {
  impl_->printer.setOutputFormat(QPrinter::PdfFormat);
  impl_->printer.setOutputFileName(QString::fromStdString(utf8Path));
}

bool PrintJob::PrintBitmap(const Bitmap& bitmap) {
  if (bitmap.IsNull()) {
    return false;
  }
  QPainter painter;
  if (!painter.begin(&impl_->printer)) {
    return false;
  }
  const QRect page = painter.viewport();
  const QImage& image = *bitmap.Image();
  // Isotropic: one scale for both axes, the picture centred on the page.
  const double scale = std::min(static_cast<double>(page.width()) / image.width(),
                                static_cast<double>(page.height()) / image.height());
  const int w = static_cast<int>(image.width() * scale);
  const int h = static_cast<int>(image.height() * scale);
  const QRect target(page.left() + (page.width() - w) / 2, page.top() + (page.height() - h) / 2, w, h);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(target, image);
  return painter.end();
}

bool PrintJob::PrintPage(const std::wstring& jobName, const std::function<void(DeviceContext& dc)>& draw,
                         int32_t dpi) {
  QPrinter& printer = impl_->printer;
  printer.setDocName(gui_internal::ToQString(jobName));
  const QRectF inches = printer.pageLayout().paintRect(QPageLayout::Inch);
  const int32_t w = static_cast<int32_t>(inches.width() * dpi);
  const int32_t h = static_cast<int32_t>(inches.height() * dpi);
  ImageDc page(w, h, MakeRgb(255, 255, 255));
  if (page.Width() != w || page.Height() != h || w <= 0 || h <= 0) {
    return false;
  }
  page.SetDpi(dpi, dpi);
  draw(page);
  QPainter painter;
  if (!painter.begin(&printer)) {
    return false;
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(QRect(QPoint(0, 0), painter.viewport().size()), *page.GetBitmap().Image());
  return painter.end();
}

}  // namespace lv
