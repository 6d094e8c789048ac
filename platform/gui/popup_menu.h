// Pop-up menus of dialog controls: a control that reports where the left
// mouse button was released over it, a menu tracked at a point of a control
// that returns the chosen command, and the click notification a control sends
// to its dialog. With the test hooks that answer such a menu.
//
// Everything here runs on the GUI thread (handlers, OnInitDialog, modeless
// owners), on a dialog whose window exists.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/dialog.h"
#include "platform/gui/drawing.h"
#include "platform/gui/window.h"

namespace lv {

// Called with the release point in the control's own coordinates, after the
// control has done its own processing of the release (a push button has sent
// its ordinary click to the dialog by then).
using ControlReleaseHandler = std::function<void(Point controlPoint)>;

// Installs (or, with an empty handler, removes) the left-button release
// handler of control id. False when the dialog has no window or no such
// control. A handler that throws goes to the dialog failure hook.
bool SetControlReleaseHandler(Dialog& dialog, int id, ControlReleaseHandler handler);

// Shows items as a pop-up menu at a point of control id (control
// coordinates) and waits for the choice, serving the GUI thread meanwhile.
// Returns the command id chosen, 0 when the menu was dismissed (or the
// control does not exist). Separators and disabled items cannot be chosen;
// an item shows a check box only when it is checkable, a check mark when it
// is checked (the classic menus' look: a mark beside the checked item only).
uint32_t TrackControlPopupMenu(Dialog& dialog, int id, Point controlPoint, const std::vector<MenuItem>& items);

// Sends the control's click notification to its dialog, as a button does
// (the dialog's OnButtonClicked with id). False without such a control.
bool NotifyControlClicked(Dialog& dialog, int id);

// ---- test hooks (used only by tests) --------------------------------------

// The pop-up menu just shown, as an answer sees it.
class ShownPopupMenu {
 public:
  virtual ~ShownPopupMenu() = default;
  // The items as shown (texts, check marks, commands), in order.
  virtual const std::vector<MenuItem>& Items() const = 0;
  // Where the menu's top-left corner is, in the control's coordinates.
  virtual Point Position() const = 0;
  // Saves the open menu as PNG (a UTF-8 path).
  virtual bool SavePng(const std::string& path) const = 0;
};

// An answer returns the command to choose, or 0 to dismiss the menu.
using PopupMenuAnswer = std::function<uint32_t(const ShownPopupMenu& shown)>;

// Queues an answer for the next pop-up menu tracked (any thread); menus
// take the oldest answer. With none queued the menu waits for a person.
void AnswerNextPopupMenu(PopupMenuAnswer answer);
// Drops queued answers; returns how many were still waiting.
int ClearPopupMenuAnswers();

// Presses and releases the left mouse button over control id at a point of
// the control (real mouse events, GUI thread).
bool MouseClickControl(Dialog& dialog, int id, Point controlPoint);

}  // namespace lv
