// CWUnitsButton: the small push button beside a numeric edit field that shows
// the unit the field's number is written in ("MHz", "nsec", "Msps", ...). A
// left click pops up the menu of the units of the same kind; a choice changes
// the caption and tells the owning dialog with a click notification under the
// button's id. The owner converts between the stored value (base units:
// seconds, hertz, samples per second, points) and the typed number with
// GetMultiplier: shown = value / factor, stored = number * factor. A unit
// change does not rescale the typed number.
//
// The object may exist without a window (constructed with the owner, before
// the owner's dialog initialisation); Create puts the window in place of a
// placeholder control. Window work happens on the GUI thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/dialog.h"
#include "platform/gui/drawing.h"
#include "platform/gui/window.h"

class CWUnitsButton {
 public:
  // Unit codes (five families; the button keeps to the family of its code).
  enum : int32_t {
    kSec = 1, kMsec, kUsec, kNsec, kPsec,                      // time
    kHz = 6, kKHz, kMHz, kGHz,                                 // frequency
    kSps = 10, kKsps, kMsps, kGsps,                            // sample rate (first)
    kSps2 = 14, kKsps2, kMsps2, kGsps2,                        // sample rate (second)
    kPoints = 18, kKPoints, kMPoints, kGPoints,                // points
  };
  static constexpr int32_t kFirstCode = 1;
  static constexpr int32_t kLastCode = 21;
  // Menu commands 36200 to 36220 select codes 1 to 21 (table in the source).
  static constexpr uint32_t kFirstCommand = 36200;
  static constexpr uint32_t kLastCommand = 36220;
  // The unit text holds at most this many characters (with its terminator).
  static constexpr size_t kUnitTextChars = 16;

  explicit CWUnitsButton(int32_t unitCode);
  ~CWUnitsButton();
  CWUnitsButton(const CWUnitsButton&) = delete;
  CWUnitsButton& operator=(const CWUnitsButton&) = delete;

  // Creates the button window in place of the placeholder control
  // placeholderId of owner (its rectangle and id; the placeholder goes), with
  // the dialog font and the unit text as caption, shown, and builds the menu.
  // False when the owner has no window or no such placeholder.
  bool Create(lv::Dialog& owner, int placeholderId);
  bool HasWindow() const { return owner_ != nullptr; }
  int ControlId() const { return id_; }

  // Picks the unit of the current family that suits |value| and shows it.
  void SelectUnitsForValue(double value);
  // The factor of the current code (1 outside codes 1 to 21).
  double GetMultiplier() const;
  // Refills the unit text from the code (unchanged outside 1 to 21).
  void UpdateUnitsText();
  // Refills the menu with the current family, largest unit first.
  void BuildUnitsMenu();
  // Clears every check mark of the menu and checks the current unit.
  void CheckCurrentUnits();

  // Left button released over the button at point (button coordinates): the
  // ordinary click has reached the owner; now the menu pops up there.
  void OnLButtonUp(lv::Point point);
  // A menu command: sets the unit, the caption, and notifies the owner.
  void OnUnitsCommand(uint32_t command);

  int32_t GetUnitCode() const { return code_; }
  const std::wstring& GetUnitsText() const { return text_; }
  const std::vector<lv::MenuItem>& Menu() const { return menu_; }

  // The table: text, factor and menu command of a code (empty, 1 and 0
  // outside 1 to 21); the code of a command (0 outside the range).
  static const wchar_t* UnitText(int32_t code);
  static double UnitFactor(int32_t code);
  static uint32_t UnitCommand(int32_t code);
  static int32_t CodeOfCommand(uint32_t command);
  // The codes of code's family, largest unit first (empty outside 1 to 21).
  static std::vector<int32_t> FamilyCodes(int32_t code);

 private:
  void SetCaption();

  int32_t code_ = 1;
  std::vector<lv::MenuItem> menu_;
  std::wstring text_;
  lv::Dialog* owner_ = nullptr;
  int id_ = 0;
  // Expires with the object: the menu's wait serves the GUI thread, during
  // which the owner may delete the button.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};
