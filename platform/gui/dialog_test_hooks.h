// Test hooks for dialogs and property sheets (used only by tests).
//
// A script answers the next modal dialog or sheet that opens: its steps run
// on the GUI thread once the window is shown, in order, through the real
// widgets (a click is a click of the Qt button, typing replaces an edit's
// text, picking selects an entry and reports it as a user's pick). Scripts
// join the modal bridge's queue of scripted answers (test_hooks.h): each modal
// thing shown takes the oldest answer; a script that meets a window that is
// not a Dialog or PropertySheet ends it with kIdCancel. The functions below
// the script act on a window at once (GUI thread).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/dialog.h"
#include "platform/gui/property_sheet.h"

namespace lv {

struct DialogStep {
  enum class Kind {
    kClick,     // click control id (a sheet: kIdOk, kIdCancel, kIdApply)
    kType,      // replace the text of edit id with text (an address control: dotted text)
    kCheck,     // click check box id when its state differs from value
    kPick,      // select entry value of list/drop-down/tab id (a sheet: page)
    kEscape,    // press Escape
    kCloseBox,  // close the window with its close box
    kSavePng,   // save the window as PNG to text (a UTF-8 path)
    kInspect,   // call inspect with the dialog (null for a sheet)
  };
  Kind kind = Kind::kClick;
  int id = 0;
  std::wstring text;
  int value = 0;
  std::function<void(Dialog*)> inspect;

  static DialogStep Click(int id) { return {Kind::kClick, id, {}, 0, {}}; }
  static DialogStep Type(int id, std::wstring text) { return {Kind::kType, id, std::move(text), 0, {}}; }
  static DialogStep Check(int id, int state) { return {Kind::kCheck, id, {}, state, {}}; }
  static DialogStep Pick(int id, int index) { return {Kind::kPick, id, {}, index, {}}; }
  static DialogStep Escape() { return {Kind::kEscape, 0, {}, 0, {}}; }
  static DialogStep CloseBox() { return {Kind::kCloseBox, 0, {}, 0, {}}; }
  static DialogStep SavePng(std::wstring path) { return {Kind::kSavePng, 0, std::move(path), 0, {}}; }
  static DialogStep Inspect(std::function<void(Dialog*)> f) { return {Kind::kInspect, 0, {}, 0, std::move(f)}; }
};

using DialogScript = std::vector<DialogStep>;

// Queues a script for the next modal dialog or sheet (any thread).
void AnswerNextDialog(DialogScript script);
// Drops every queued answer (scripts and the bridge's own); returns how many
// were still waiting.
int ClearDialogAnswers();

// At once, on the GUI thread.
bool RunDialogStep(Dialog& dialog, const DialogStep& step);
bool RunSheetStep(PropertySheet& sheet, const DialogStep& step);
bool ClickControl(Dialog& dialog, int id);
bool SaveDialogPng(Dialog& dialog, const std::string& path);
bool SaveSheetPng(PropertySheet& sheet, const std::string& path);

}  // namespace lv
