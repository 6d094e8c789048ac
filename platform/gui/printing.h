// Printing: the print dialog through the modal bridge, then pages drawn on
// the chosen printer (or into a PDF file).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/gui/bitmap.h"
#include "platform/gui/device_context.h"

namespace lv {

class PrintJob {
 public:
  PrintJob();
  ~PrintJob();
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  // Shows the print dialog (any thread, through the bridge). True when the
  // user chose to print; false when cancelled or the bridge has closed.
  bool ShowPrintDialog(const std::wstring& title);
  // Prints into a PDF file instead of a printer (print to file).
  void SetPdfOutput(const std::string& utf8Path);
  // Prints the bitmap on one page, scaled to fit with its aspect kept
  // (isotropic) and centred, without smoothing. On the job's thread; false
  // when the printer cannot start.
  bool PrintBitmap(const Bitmap& bitmap);
  // Prints one page, as the job named jobName, drawn by draw on a device context covering the page's
  // printable area at dpi dots per inch (DeviceSize, DpiX and DpiY tell
  // draw the page), surface cleared to white. On the job's thread; false
  // when the printer cannot start.
  bool PrintPage(const std::wstring& jobName, const std::function<void(DeviceContext& dc)>& draw,
                 int32_t dpi = 300);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace lv
