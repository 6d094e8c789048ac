// CWPlotCTDWndw: the time-domain plot window of one transmitter. It keeps a
// copy of the waveform last transmitted and shows it in one of six plot types
// (CWTimeDomainModel), with a marker that snaps to samples and steps with the
// left and right arrow keys, plot-type aware memories, and "Save IQ Data..."
// (the whole waveform as an IQ file, format by the name's final extension).
//
// Everything runs on the owning plot thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plots/windows/time_domain_model.h"
#include "plots/windows/tool_window.h"

class CQCArrayTD;

class CWPlotCTDWndw : public CWPlot2DToolWndw {
 public:
  static constexpr uint32_t kCmdSaveIQData = 36122;
  static constexpr uint32_t kCmdFirstPlotType = 36116;  // 36116 .. 36121: plot types 0 .. 5

  CWPlotCTDWndw();
  ~CWPlotCTDWndw() override;

  // I/Q naming: "Q vs I" and "I && Q vs Time" instead of the Real and
  // Imaginary names (the time-domain plot thread turns it on).
  void SetIQNaming(bool on) { model_.iqNaming = on; }
  bool GetIQNaming() const { return model_.iqNaming; }

  // Keeps a copy of the input (none for an absent or empty one); no drawing.
  void SetData(const CQCArrayTD* input);
  // Builds the current plot type's datasets from the held input and draws.
  void DrawPlot();
  // Frees the held input and clears the plot.
  void ClearPlot();
  // Stores the plot type (memories hidden when it changes); no drawing.
  void SetPlotType(int32_t type);
  int32_t GetPlotType() const { return model_.plotType; }
  // Writes the whole held input (see CWTimeDomainModel::SaveIQDataToFile).
  void SaveIQDataToFile(const wchar_t* path);

  void SaveMemory1() override;
  void SaveMemory2() override;
  void SnapMarkerToData() override;
  void OnWindowMessage(const lv::WindowMessage& m) override;
  void OnCommand(uint32_t id) override;
  std::vector<lv::MenuItem> BuildPopupMenu() override;

  const CWTimeDomainModel& Model() const { return model_; }
  // Where the save dialog opens (empty: the current folder).
  std::wstring saveFolder;

 private:
  CWSampleMarker Marker() const;
  void SetMarker(const CWSampleMarker& m);
  void OnKeyDown(int32_t key);

  CWTimeDomainModel model_;
};
