// Platform-internal: the GUI-thread half of dialogs and property sheets (the
// Qt widgets), shared by the dialog, sheet and test-hook sources. Only
// platform/gui includes this header.
#pragma once

#include <QDialog>
#include <QFont>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/dialog.h"
#include "platform/gui/dialog_test_hooks.h"
#include "platform/gui/modal_bridge.h"
#include "platform/gui/property_sheet.h"

class QPushButton;
class QTabWidget;

namespace lv::gui_internal {

using ModalDone = lv::ModalDone;

// The top-level widget of dialogs and sheets: Escape and the close box call
// cancel instead of closing directly (the owner decides whether it ends).
class DialogWidget : public QDialog {
 public:
  explicit DialogWidget(QWidget* parent = nullptr);
  std::function<void()> cancel;
  // Whose window this is (for the test hooks that find it when shown).
  Dialog* dialogOwner = nullptr;
  PropertySheet* sheetOwner = nullptr;
  void reject() override;
};

struct Control {
  int id = 0;
  ControlKind kind = ControlKind::kStaticText;
  uint32_t style = 0;
  QWidget* widget = nullptr;
  int extent = 0;  // list box horizontal extent
  DialogFont font;
};

struct DialogWindow {
  Dialog* owner = nullptr;
  QWidget* root = nullptr;          // the dialog widget, or a page's widget
  DialogWidget* dialog = nullptr;   // null for a page
  QFont font;
  Size base;
  std::vector<Control> controls;
  bool modal = false;
  ModalDone done;

  Control* Find(int id);
  const Control* Find(int id) const;

  // Builds the controls of the owner's template into root (GUI thread).
  static DialogWindow* Build(Dialog& owner, QWidget* root);
  // Adds one control at a pixel rectangle.
  Control* AddControl(const ControlTemplate& c, const QRect& rect);
  // Disconnects every control and deletes the widgets (later when inside
  // one of their signals).
  void Dispose(bool later);

  // Notifications from the widgets to the owner's handlers.
  void Clicked(int id);
  void EditChanged(int id);
  void SelectionChanged(int id);
  void CancelRequested();
  void Finished(int result);
};

struct SheetWindow {
  PropertySheet* owner = nullptr;
  DialogWidget* dialog = nullptr;
  QTabWidget* tabs = nullptr;
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  QPushButton* apply = nullptr;
  int current = -1;
  bool modal = false;
  ModalDone done;

  static SheetWindow* Build(PropertySheet& owner);
  void OkPressed();
  void CancelPressed();
  void ApplyPressed();
  void TabChanged(int index);
  void Finished(int result);
  void Dispose(bool later);

  enum class ApplyOutcome { kApplied, kRefused, kStayed };
  ApplyOutcome ApplyPages(PropertySheet* sheet);
};

// The layer font of a dialog font, and its base units.
QFont DialogQFont(const DialogFont& font);
Size BaseUnitsOf(const QFont& font);

// Shows a top-level window and brings it to the front.
void BringToFront(QWidget* w);

// Runs a handler; an exception goes to the failure hook.
void Guarded(const std::function<void()>& handler);


}  // namespace lv::gui_internal
