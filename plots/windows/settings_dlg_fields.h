// Helpers shared by the settings dialogs of the spectrum, persistence and
// spectrogram windows: number texts read the way the dialogs read them, the
// frequency (or time) fields with their unit buttons, and the information
// message of a refused entry.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gui/dialog.h"
#include "platform/gui/dialog_template.h"
#include "workers/gui/units_button.h"

namespace lv_plot_dlg {

// Reads a number the way "%lf" ("%f", "%d") reads it: leading blanks, then
// the longest number at the start; anything after it is ignored. Only the
// first maxChars characters of the text count (the dialogs read their texts
// into fixed buffers). Empty when there is no number there, and also when
// the number is not finite or (for integers) lies outside the 32-bit range:
// such a value is never stored.
std::optional<double> ScanDouble(const std::wstring& text, size_t maxChars);
std::optional<float> ScanFloat(const std::wstring& text, size_t maxChars);
std::optional<int> ScanInt(const std::wstring& text, size_t maxChars);

// "%.3lf", "%.2f", "%d" and "%.*lf" in the C locale.
std::wstring FormatFixed(double value, int decimals);
std::wstring FormatInt(int value);
// The value with CountSignificantDecimals decimals (0 to 4).
std::wstring FormatSignificant(double value);

// A value field with its unit button: the button's unit is chosen for the
// value and the field shows value / multiplier.
void ShowWithUnits(lv::Dialog& dlg, int editId, CWUnitsButton& units, double value, bool significantDecimals);
// The field's number times the button's multiplier; empty when the text does
// not hold a number.
std::optional<double> ReadWithUnits(const lv::Dialog& dlg, int editId, const CWUnitsButton& units, size_t maxChars);

// Creates each button over its placeholder (ids in the same order).
void CreateUnitButtons(lv::Dialog& dlg, const std::vector<std::pair<CWUnitsButton*, int>>& buttons);

// Editing (or clicking) control source sets check box target to state.
struct Reaction {
  int source;
  int target;
  int state;
};

// The control ids of a frequency range and resolution bandwidth: an "Auto"
// box for the range with start and stop fields, one for the bandwidth with
// its field, every field with a unit button.
struct SpanIds {
  int autoFreqRange;
  int start;
  int startUnits;
  int stop;
  int stopUnits;
  int autoRBW;
  int rbw;
  int rbwUnits;
};

// The frequency range and resolution bandwidth fields that the spectrum,
// persistence-spectrum and spectrogram dialogs share, with their unit
// buttons (start and stop in MHz, the bandwidth in kHz until a value
// chooses another unit).
class SpanFields {
 public:
  explicit SpanFields(const SpanIds& ids);
  ~SpanFields();

  const SpanIds& Ids() const { return ids_; }
  CWUnitsButton& StartUnits() { return *startUnits_; }
  CWUnitsButton& StopUnits() { return *stopUnits_; }
  CWUnitsButton& RBWUnits() { return *rbwUnits_; }

  // Editing a field or clicking its unit button clears its "Auto" box.
  std::vector<Reaction> Reactions() const;
  // Creates the unit buttons over their placeholders.
  void CreateButtons(lv::Dialog& dlg);
  // Writes the values; each text goes in before its box, because writing a
  // text reports an edit, which clears the box.
  void Show(lv::Dialog& dlg, bool autoFreqRange, double startFreq, double stopFreq, bool autoRBW, double rbw,
            bool significantDecimals);
  // Reads the boxes and fields; a text without a number keeps the value it
  // showed.
  void Read(const lv::Dialog& dlg, size_t maxChars, bool& autoFreqRange, double& startFreq, double& stopFreq,
            bool& autoRBW, double& rbw) const;

 private:
  SpanIds ids_;
  std::unique_ptr<CWUnitsButton> startUnits_;
  std::unique_ptr<CWUnitsButton> stopUnits_;
  std::unique_ptr<CWUnitsButton> rbwUnits_;
};

// A CQMessageBox with severity 0 ("Information"), shown through the modal
// bridge (what the spectrogram dialog shows when it refuses an entry).
void ShowInformation(const std::wstring& text);

// Template pieces: a label, an edit, a hidden placeholder for a unit button,
// a check box, a group box, a push button, in dialog units.
lv::ControlTemplate Label(const wchar_t* text, int x, int y, int w, int h = 8);
lv::ControlTemplate Edit(int id, int x, int y, int w, int h = 12);
lv::ControlTemplate Placeholder(int id, int x, int y, int w, int h = 12);
lv::ControlTemplate Check(int id, const wchar_t* text, int x, int y, int w, int h = 10);
lv::ControlTemplate Group(const wchar_t* text, int x, int y, int w, int h);
lv::ControlTemplate Button(int id, const wchar_t* text, int x, int y, bool isDefault);
lv::ControlTemplate DropDown(int id, int x, int y, int w, int h);

// The "Measurement Averaging" group of the ACPR and power-in-band dialogs,
// its top at y: the "Averaging on" box and the number of averages.
void AddAveragingGroup(std::vector<lv::ControlTemplate>& controls, int onId, int numAvgsId, int y);

// The averaging those dialogs store: on only while the box is ticked and
// the text holds a number; a number of 0 or less counts as 1, and averaging
// that is off stores 1.
struct Averaging {
  bool on;
  int factor;
};
Averaging ReadAveraging(const lv::Dialog& dlg, int onId, int numAvgsId, size_t maxChars);

}  // namespace lv_plot_dlg

// The base of the five settings dialogs: an "Accept" button that calls
// OnAccept, a "Cancel" button, Escape and the close box that all end the
// dialog with 0 (so the owning window never applies a cancelled dialog), and
// a table of reactions: editing a field or clicking a unit button sets check
// boxes.
class CWPlotSettingsDlgBase : public lv::Dialog {
 public:
  CWPlotSettingsDlgBase(lv::DialogTemplate tmpl, int acceptId, int cancelId);

 protected:
  using Reaction = lv_plot_dlg::Reaction;
  void SetReactions(std::vector<Reaction> reactions) { reactions_ = std::move(reactions); }

  // Reads the controls, stores the values and ends the dialog (with 1) when
  // they are good.
  virtual void OnAccept() = 0;

  void OnButtonClicked(int id) override;
  void OnEditChanged(int id) override;
  void OnSelectionChanged(int id) override;
  void OnOK() override { OnAccept(); }
  void OnCancel() override { EndDialog(0); }

 private:
  void React(int source);

  int acceptId_;
  int cancelId_;
  std::vector<Reaction> reactions_;
};
