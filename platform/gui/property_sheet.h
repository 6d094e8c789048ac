// Property sheets: a window with one tab per page (each page a control table)
// and the buttons OK, Cancel and Apply below.
//
// Pages are Dialogs embedded in the sheet's tab widget; the sheet does not
// own them. The sheet is as large as its largest page. OK gives every page
// that exists OnApply (which clears its modified state) and then the sheet's
// OnOK; Apply, enabled while a page is modified, gives every page OnApply;
// Cancel, Escape and the close box give every page OnReset and then the
// sheet's OnCancel. A modal sheet ends with the code; a modeless one hides.
//
// Threads as for Dialog: the window and every handler live on the GUI
// thread; DoModal may be called from any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/dialog.h"

namespace lv {

// The ids of the sheet's own buttons.
inline constexpr int kIdApply = 0x3021;

class PropertySheet;
namespace gui_internal {
struct SheetWindow;
}

class PropertyPage : public Dialog {
 public:
  explicit PropertyPage(DialogTemplate tmpl);

  // Marks the page changed (enables the sheet's Apply) or unchanged.
  void SetModified(bool modified = true);
  bool IsModified() const { return modified_; }

  // Handlers (GUI thread).
  // The page becomes the visible tab; false keeps the previous one.
  virtual bool OnSetActive() { return true; }
  // The page stops being the visible tab (or OK is pressed); false keeps it.
  virtual bool OnKillActive() { return true; }
  // OK or Apply: take over the page's values. The default clears the
  // modified state; false stops OK.
  virtual bool OnApply();
  // Cancel: the default clears the modified state.
  virtual void OnReset();

 private:
  friend class PropertySheet;
  friend struct gui_internal::SheetWindow;
  bool modified_ = false;
  PropertySheet* sheet_ = nullptr;
};

class PropertySheet {
 public:
  explicit PropertySheet(std::wstring caption, DialogFont font = {});
  virtual ~PropertySheet();
  PropertySheet(const PropertySheet&) = delete;
  PropertySheet& operator=(const PropertySheet&) = delete;

  // Before the window exists: pages in tab order (not owned).
  void AddPage(PropertyPage* page);
  int GetPageCount() const { return static_cast<int>(pages_.size()); }
  PropertyPage* GetPage(int index) const;

  int DoModal();
  bool Create();  // modeless, hidden (GUI thread)
  void Show(bool show);
  bool IsVisible() const;
  void Destroy();
  bool HasWindow() const;
  void EndDialog(int result);
  int Result() const { return result_; }

  bool SetActivePage(int index);
  int GetActiveIndex() const;
  bool SetTabText(int index, std::wstring_view text);
  std::wstring GetTabText(int index) const;
  std::wstring GetCaption() const { return caption_; }
  bool IsApplyEnabled() const;
  // Pixel rectangle of a sheet button (kIdOk, kIdCancel, kIdApply) in the
  // sheet's client area.
  Rect GetButtonRect(int id) const;
  Size ClientSize() const;

 protected:
  virtual bool OnInitDialog() { return true; }
  // After the pages applied: the default ends with kIdOk.
  virtual void OnOK() { EndDialog(kIdOk); }
  virtual void OnCancel() { EndDialog(kIdCancel); }
  // After the pages applied on Apply.
  virtual void OnApplied() {}

 private:
  friend struct gui_internal::SheetWindow;
  friend class PropertyPage;
  friend class DialogTestAccess;
  void PageModified();

  std::wstring caption_;
  DialogFont font_;
  std::vector<PropertyPage*> pages_;
  int result_ = kIdCancel;
  int initialPage_ = 0;
  gui_internal::SheetWindow* window_ = nullptr;
};

}  // namespace lv
