// The plot tool window's commands: mouse tools, locks, the axes limits
// dialogs, the pop-up menu's image, data, colour and memory commands.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "core/error.h"
#include "core/error_dialog.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/printing.h"
#include "platform/gui/save_file_choice.h"
#include "platform/gui/svg_dc.h"
#include "platform/text.h"
#include "plots/windows/tool_window.h"

namespace {

using Item = lv::MenuItem;

Item Checkable(uint32_t id, const wchar_t* text, bool checked) {
  Item m = Item::Command(id, text);
  m.checkable = true;
  m.checked = checked;
  return m;
}

// Lower-case ASCII copy, for finding an extension anywhere in a name.
std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s) {
    if (c >= L'A' && c <= L'Z') {
      c = static_cast<wchar_t>(c - L'A' + L'a');
    }
  }
  return s;
}

void ShowError(const char* message, const char* where) {
  CQError* e = new CQError(message);
  e->AddToCallStack(where);
  ShowErrorDialog(e);
}

}  // namespace

std::vector<lv::MenuItem> CWPlot2DToolWndw::BuildPopupMenu() {
  return {
      Item::Command(kCmdCopyImage, L"Copy Image"),
      Item::Command(kCmdSaveImage, L"Save Image..."),
      Item::Command(kCmdPrintImage, L"Print Image..."),
      Item::Separator(),
      Item::Command(kCmdSaveData, L"Save Formatted Data..."),
      Item::Separator(),
      Checkable(kCmdScreenScheme, L"Screen Color Scheme", screenSchemeOn_),
      Checkable(kCmdPaperScheme, L"Paper Color Scheme", paperSchemeOn_),
      Item::Command(kCmdShowHideToolbar, L"Show/Hide Toolbar"),
      Item::Separator(),
      Checkable(kCmdLinesOn, L"Lines On", linesOn[0]),
      Checkable(kCmdSymbolsOn, L"Symbols On", symbolsOn[0]),
      Item::Separator(),
      Item::Command(kCmdSaveMemory1, L"Save to Memory 1"),
      Checkable(kCmdMemory1On, L"Memory 1 On", memoryShown[0]),
      Item::Command(kCmdSaveMemory2, L"Save to Memory 2"),
      Checkable(kCmdMemory2On, L"Memory 2 On", memoryShown[1]),
  };
}

void CWPlot2DToolWndw::OnCommand(uint32_t id) {
  switch (id) {
    case kCmdLocationTool: SetMouseMode(kModeLocation); break;
    case kCmdVerticalZoom: SetMouseMode(kModeVerticalZoom); break;
    case kCmdHorizontalZoom: SetMouseMode(kModeHorizontalZoom); break;
    case kCmdBothZoom: SetMouseMode(kModeBothZoom); break;
    case kCmdPlaceMarker: SetMouseMode(kModeMarker); break;
    case kCmdMarkerOnOff:
      markerOn = !markerOn;
      Redraw();
      break;
    case kCmdLockVertical:
      yAutoScale = !yAutoScale;
      if (yAutoScale) {
        Redraw();
      } else {
        Present();
      }
      break;
    case kCmdLockHorizontal:
      xAutoScale = !xAutoScale;
      if (xAutoScale) {
        Redraw();
      } else {
        Present();
      }
      break;
    case kCmdAxesLimits: RunAxesLimitsDialog(); break;
    case kCmdCopyImage: CopyImage(); break;
    case kCmdSaveImage: SaveImage(); break;
    case kCmdPrintImage: PrintImage(); break;
    case kCmdSaveData: SaveFormattedData(); break;
    case kCmdScreenScheme: ApplyColorScheme(true); Redraw(); break;
    case kCmdPaperScheme: ApplyColorScheme(false); Redraw(); break;
    case kCmdShowHideToolbar: ShowToolbar(!toolbarShown_); break;
    case kCmdLinesOn:
      for (bool& on : linesOn) {
        on = !on;
      }
      Redraw();
      break;
    case kCmdSymbolsOn:
      for (bool& on : symbolsOn) {
        on = !on;
      }
      Redraw();
      break;
    case kCmdSaveMemory1: SaveMemory1(); break;
    case kCmdSaveMemory2: SaveMemory2(); break;
    case kCmdMemory1On:
      memoryShown[0] = !memoryShown[0];
      Redraw();
      break;
    case kCmdMemory2On:
      memoryShown[1] = !memoryShown[1];
      Redraw();
      break;
    default:
      break;
  }
}

void CWPlot2DToolWndw::ApplyColorScheme(bool screen) {
  const CWColorScheme s = screen ? CWColorScheme::Screen() : CWColorScheme::Paper();
  SetColors(s.axesLabel, s.notation, 0, s.background);
  for (int i = 0; i < kMaxDatasets; ++i) {
    datasetColor[i] = s.dataset[i];
  }
  gridColor = s.grid;
  memoryColor[0] = s.memory[0];
  memoryColor[1] = s.memory[1];
  offScreenBackground_ = s.offScreenBackground;
  offDc_.SetBkColor(s.offScreenBackground);
  screenSchemeOn_ = screen;
  paperSchemeOn_ = !screen;
}

void CWPlot2DToolWndw::CopyImage() {
  Guarded("CWPlot2DToolWndw::CopyImage", [&] {
    lv::SvgDc svg(lv::Size{offDc_.Width(), offDc_.Height()});
    svg.SetBkColor(offScreenBackground_);
    DrawAll(svg, false);
    lv::CopyPictureToClipboard(svg.Document(), offDc_.GetBitmap());
  });
}

void CWPlot2DToolWndw::SaveImage() {
  static const wchar_t* const kExtensions[] = {L".bmp", L".jpg", L".gif", L".png"};
  lv::FileDialogOptions options;
  options.title = L"Save Image";
  options.filters = {{L"Bitmap Files (*.bmp)", L"*.bmp"},
                     {L"JPEG Files (*.jpg)", L"*.jpg"},
                     {L"GIF Files (*.gif)", L"*.gif"},
                     {L"PNG Files (*.png)", L"*.png"}};
  options.initialPath = L"Plot.png";
  const lv::SaveFileChoice choice = lv::ShowSaveFileDialogWithFilter(options, 3, true);
  if (choice.path.empty()) {
    return;
  }
  const int filter = choice.filterIndex >= 0 && choice.filterIndex < 4 ? choice.filterIndex : 3;
  const std::wstring ext = kExtensions[filter];
  std::wstring name = choice.path;
  if (Lower(name).find(ext) == std::wstring::npos) {
    name += ext;
    // The dialog asked about the name as typed; ask again for the name saved.
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::path(name), ec)) {
      const std::wstring question = std::filesystem::path(name).filename().wstring() +
                                    L" already exists.\nDo you want to replace it?";
      if (lv::ShowMessageBox(question, L"Save Image", lv::MessageSeverity::kWarning, lv::MessageButtons::kYesNo) !=
          lv::kIdYes) {
        return;
      }
    }
  }
  // The encoder follows the chosen filter: write a file with the filter's
  // extension next to the target, then rename it into place.
  const std::filesystem::path target(name);
  std::filesystem::path temp = target;
  temp += L".part" + ext;
  if (!lv::SaveImageFile(offDc_.GetBitmap(), lv::WideToUtf8(temp.wstring()))) {
    std::error_code ec;
    std::filesystem::remove(temp, ec);
    ShowError("Error saving the image file.", "CWPlot2DToolWndw::SaveImage");
    return;
  }
  std::error_code ec;
  std::filesystem::rename(temp, target, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    ShowError("Error saving the image file.", "CWPlot2DToolWndw::SaveImage");
  }
}

namespace {

// Puts the plot's colour scheme back however printing ends.
class SchemeRestore {
 public:
  SchemeRestore(CWPlot2DToolWndw& w, bool screen) : w_(w), screen_(screen) {}
  ~SchemeRestore() { w_.ApplyColorScheme(screen_); }
  SchemeRestore(const SchemeRestore&) = delete;
  SchemeRestore& operator=(const SchemeRestore&) = delete;

 private:
  CWPlot2DToolWndw& w_;
  bool screen_;
};

}  // namespace

void CWPlot2DToolWndw::PrintImage() {
  Guarded("CWPlot2DToolWndw::PrintImage", [&] {
    lv::PrintJob job;
    if (!job.ShowPrintDialog(L"Print")) {
      return;
    }
    const int32_t w = offDc_.Width();
    const int32_t h = offDc_.Height();
    {
      // Printed on paper colours; the screen's scheme comes back on every path.
      SchemeRestore restore(*this, screenSchemeOn_);
      ApplyColorScheme(false);
      const bool printed = job.PrintPage(kPrintJobName, [&](lv::DeviceContext& dc) {
        const float f = std::min(5.0f * static_cast<float>(dc.DpiX()) / static_cast<float>(w),
                                 5.0f * static_cast<float>(dc.DpiY()) / static_cast<float>(h));
        const int32_t vw = static_cast<int32_t>(static_cast<float>(w) * f);
        const int32_t vh = static_cast<int32_t>(static_cast<float>(h) * f);
        const lv::Size page = dc.DeviceSize();
        dc.SetIsotropicMapping(lv::Size{w, h}, lv::Size{vw, vh}, lv::Point{(page.cx - vw) / 2, (page.cy - vh) / 2});
        try {
          DrawAll(dc, true);
        } catch (...) {
          dc.ResetMapping();
          throw;
        }
        dc.ResetMapping();
      });
      if (!printed) {
        ShowError("Error printing the plot.", "CWPlot2DToolWndw::PrintImage");
      }
    }
    Redraw();
  });
}

void CWPlot2DToolWndw::SaveFormattedData() {
  lv::FileDialogOptions options;
  options.title = L"Save Formatted Data";
  options.initialPath = L"data.txt";
  const std::wstring name = lv::ShowSaveFileDialog(options);
  if (name.empty()) {
    return;
  }
  Guarded("CWPlot2DToolWndw::SaveFormattedData", [&] { SaveDataToFile(name.c_str()); });
}
