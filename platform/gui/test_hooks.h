// Test hooks of the window layer (used only by tests).
//
// Scripted answers: a queue of answers the modal bridge applies, in order, to
// the next modal things shown through it. An answer runs on the GUI thread
// once the thing is shown (after open() has returned and its events have been
// served), sees the shown thing and finishes it, for instance by pressing a
// button. With no answer queued the thing stays open for a person (or for the
// test's own code) to answer.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/drawing.h"

namespace lv::test_hooks {

// The modal thing just shown, as an answer sees it.
class ShownModal {
 public:
  virtual ~ShownModal() = default;
  // Its window title ("" when none was found).
  virtual std::wstring Title() const = 0;
  // The Qt class name of its widget ("QMessageBox", "QFileDialog", ...; ""
  // when the bridge found no new top-level widget).
  virtual std::string KindName() const = 0;
  // Its top-level widget (a QWidget*), for answers written inside the window
  // layer and its tests; null when none was found.
  virtual void* Widget() const = 0;
  // Finishes it with the result: a dialog is finished through its own done(),
  // so its finished signal and handlers run; anything else is finished
  // through the bridge's done.
  virtual void Finish(int result) = 0;
};

using ScriptedAnswer = std::function<void(ShownModal& shown)>;

// Queues an answer for the next modal thing shown.
void PushAnswer(ScriptedAnswer answer);
// Queues the plainest answer: finish with the result.
void PushResult(int result);
// How many answers are still queued.
size_t PendingAnswers();
// Drops every queued answer.
void ClearAnswers();

// Answers for the common modal things (platform/gui/dialogs.h): press the
// message-box button with the id (kIdOk ...), or pick the file name in a
// file dialog ("" cancels it).
void PushMessageBoxAnswer(int buttonId);
void PushFileAnswer(const std::wstring& path);
// Answers the next print dialog with "print", into a PDF file.
void PushPrintToPdfAnswer(const std::string& utf8Path);

// Called (on the GUI thread) with every modal thing the bridge shows, before
// any scripted answer; empty removes it.
void SetModalShownObserver(std::function<void(ShownModal& shown)> observer);

// Windows of the layer, seen from the GUI thread (call them there, with the
// runtime started; windows made by workers appear once the GUI has served
// their creation).
//
// The id of the window with the title; 0 when none has it.
uint32_t FindWindowByTitle(const std::wstring& title);
// Every window id with a widget now.
std::vector<uint32_t> WindowIds();
// Triggers the frame's menu or toolbar action with the command id, as a click
// would (the command reaches the owner as a window message). False when the
// window has no such action.
bool SendCommand(uint32_t window, uint32_t command);
// The texts a person (or a screen reader) finds: title, status panes, the
// menu as "Popup/Item" paths ("-" for separators, "[x] " before a checked
// item), the toolbar's tooltips.
std::wstring WindowTitle(uint32_t window);
std::vector<std::wstring> StatusPaneTexts(uint32_t frame);
std::vector<std::wstring> MenuTexts(uint32_t frame);
std::vector<std::wstring> ToolbarTooltips(uint32_t frame);
// The tooltip of a window's client area.
std::wstring WindowToolTip(uint32_t window);
// The widget's state: visible, geometry in its parent.
bool IsShown(uint32_t window);
Rect WidgetGeometry(uint32_t window);
// Moves and sizes the widget as a user's drag would, or presses its close box.
bool UserMoveSize(uint32_t window, const Rect& geometry);
bool UserClose(uint32_t window);
// Saves the window (a frame with its menu, toolbar, status bar and children)
// as a PNG file. False when there is no such window or the file cannot be
// written.
bool SaveWindowPng(uint32_t window, const std::string& utf8Path);
// Repaints the window's client area at once (takes the newest frame handed
// over and draws it), as the event loop would on its next paint. False when
// there is no such window.
bool RepaintNow(uint32_t window);

// Real Qt mouse events for a child window's client area, routed as the
// window system would: to the window when the point (client coordinates) is
// inside its client area or the window holds the mouse capture; otherwise
// the event goes elsewhere and false comes back. button: 1 left, 2 right,
// 3 middle (0 for a move); buttons: the held buttons after the event (bit 0
// left, bit 1 right, bit 2 middle); modifiers: kModShift ... flags.
enum class MouseAction { kMove, kPress, kRelease, kDoubleClick };
bool SendMouse(uint32_t window, MouseAction action, Point clientPoint, int button, uint32_t buttons,
               int32_t modifiers);
// A real key press or release (layer key code kKey... or 'A'..'Z', and
// kMod... flags) to the client area of a child window. False when there is
// no such window or the key has no Qt code.
bool SendKey(uint32_t window, bool press, int32_t key, int32_t modifiers);

}  // namespace lv::test_hooks
