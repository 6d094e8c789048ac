// Dialogs built from control tables (dialog_template.h), on real Qt widgets.
//
// A Dialog lives in two halves: this object, which any thread may own, and
// its window with the controls, which lives on the GUI thread only. Modal:
// DoModal from any thread opens the window on the GUI thread through the
// modal bridge and returns the end code when the window has finished (a
// worker waits; the GUI thread serves a nested loop meanwhile). Modeless:
// Create on the GUI thread builds the window hidden; Show shows and hides it.
//
// OnInitDialog and the notification handlers (OnButtonClicked, OnEditChanged,
// OnSelectionChanged, OnOK, OnCancel) run on the GUI thread. For a modal
// dialog the owning thread is parked in DoModal all that time, so the
// handlers may use the dialog's own fields freely. The control accessors are
// for the GUI thread too (handlers, OnInitDialog, modeless owners); on a
// dialog without a window, or for an unknown id, they do nothing and answer
// empty values.
//
// Escape and the close box send kIdCancel (OnCancel ends with kIdCancel);
// OnButtonClicked sends kIdOk to OnOK and kIdCancel to OnCancel.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/dialog_template.h"
#include "platform/gui/drawing.h"

namespace lv {

namespace gui_internal {
struct DialogWindow;
struct SheetWindow;
}

// Whether windows can be shown at all (the Qt application object exists).
bool WindowSystemAvailable();
// Whether the calling thread is the GUI thread.
bool OnGuiThread();

// Check states.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;

class Dialog {
 public:
  explicit Dialog(DialogTemplate tmpl);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog modally and returns its end code (kIdCancel when no
  // window system is available or the bridge is shut down).
  int DoModal();

  // Modeless (GUI thread): builds the window hidden and runs OnInitDialog.
  // False when there is no window system or the window already exists.
  bool Create();
  void Show(bool show);
  bool IsVisible() const;
  // Deletes the window (GUI thread); Create may build it again.
  void Destroy();
  bool HasWindow() const;

  // Ends a modal dialog with the code; hides a modeless one and keeps the
  // code (Result).
  void EndDialog(int result);
  int Result() const { return result_; }

  const DialogTemplate& Template() const { return template_; }
  std::wstring GetCaption() const;
  void SetCaption(std::wstring_view caption);

  // Pixels of the dialog's font: the base units, and a template rectangle.
  Size BaseUnits() const;
  Rect MapDialogRect(int x, int y, int w, int h) const;
  // Client size in pixels.
  Size ClientSize() const;

  // Controls by id.
  bool HasControl(int id) const;
  std::wstring GetItemText(int id) const;
  bool SetItemText(int id, std::wstring_view text);  // an edit reports the change
  int GetCheck(int id) const;                         // kUnchecked / kChecked
  bool SetCheck(int id, int state);                   // reports nothing
  bool EnableItem(int id, bool enable);
  bool IsItemEnabled(int id) const;
  bool ShowItem(int id, bool show);
  bool IsItemVisible(int id) const;
  // The control's rectangle in client pixels (an empty one for an unknown id).
  Rect GetItemRect(int id) const;
  bool MoveItem(int id, const Rect& pixels);
  bool SetItemFont(int id, const DialogFont& font);
  DialogFont GetItemFont(int id) const;
  DialogFont GetFont() const { return template_.font; }
  bool SetFocusTo(int id);

  // List boxes, drop-down lists and tab controls.
  bool ResetContent(int id);
  int AddString(int id, std::wstring_view text);  // index, or -1
  int GetCount(int id) const;
  std::wstring GetListText(int id, int index) const;
  int GetCurSel(int id) const;         // -1 when none
  bool SetCurSel(int id, int index);   // -1 clears; reports nothing
  // List box: the width in pixels its horizontal scroll bar spans.
  bool SetHorizontalExtent(int id, int pixels);
  int GetHorizontalExtent(int id) const;

  // Adds a control at run time at a pixel rectangle of the client area (a
  // control that takes over a placeholder's place and id takes the
  // placeholder's id: the placeholder is removed). Gets the dialog's font.
  bool CreateControl(const ControlTemplate& control, const Rect& pixels);

 protected:
  // After the controls exist and before the window shows. The return value
  // is kept for the classic meaning (true: default focus).
  virtual bool OnInitDialog() { return true; }
  // Push buttons, check boxes and radio buttons clicked by the user.
  virtual void OnButtonClicked(int id);
  // An edit's text changed (typed or set).
  virtual void OnEditChanged(int /*id*/) {}
  // The user picked another entry of a list box, drop-down list or tab.
  virtual void OnSelectionChanged(int /*id*/) {}
  virtual void OnOK() { EndDialog(kIdOk); }
  virtual void OnCancel() { EndDialog(kIdCancel); }

 private:
  friend struct gui_internal::DialogWindow;
  friend struct gui_internal::SheetWindow;
  friend class PropertySheet;
  friend class DialogTestAccess;
  friend class DialogControlAccess;
  friend class IpAddressAccess;

  DialogTemplate template_;
  int result_ = kIdCancel;
  gui_internal::DialogWindow* window_ = nullptr;  // GUI thread
  bool embedded_ = false;                         // a property page
};

// Handlers that throw: the exception is caught where the layer called the
// handler (it must not cross Qt's event loop) and given to this hook on the
// GUI thread. The default writes a line to standard error. Returns the
// previous hook.
using DialogFailureHook = std::function<void(std::exception_ptr)>;
DialogFailureHook SetDialogFailureHook(DialogFailureHook hook);

}  // namespace lv
