#include "platform/gui/dialog_test_hooks.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QPointer>

#include "platform/gui/dialog_window.h"
#include "platform/gui/qt_bridge.h"
#include "platform/gui/test_hooks.h"
#include "platform/text.h"

namespace lv {

class DialogTestAccess {
 public:
  static gui_internal::DialogWindow* Window(Dialog& d) { return d.window_; }
  static gui_internal::SheetWindow* Window(PropertySheet& s) { return s.window_; }
  static const std::vector<PropertyPage*>& Pages(PropertySheet& s) { return s.pages_; }
};

namespace {

bool SavePng(QWidget* w, const std::string& path) {
  if (w == nullptr) {
    return false;
  }
  return w->grab().save(QString::fromStdString(path), "PNG");
}

void PressEscape(QWidget* w) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &press);
}

}  // namespace

void AnswerNextDialog(DialogScript script) {
  test_hooks::PushAnswer([script = std::move(script)](test_hooks::ShownModal& shown) {
    auto* widget = static_cast<QWidget*>(shown.Widget());
    auto* top = dynamic_cast<gui_internal::DialogWidget*>(widget);
    if (top == nullptr || (top->dialogOwner == nullptr && top->sheetOwner == nullptr)) {
      // Not one of ours: the script cannot apply; end the thing as cancelled.
      shown.Finish(kIdCancel);
      return;
    }
    QPointer<QWidget> guard(widget);
    Dialog* dialog = top->dialogOwner;
    PropertySheet* sheet = top->sheetOwner;
    for (const DialogStep& step : script) {
      // A step that ended the window ends the script.
      if (guard.isNull() || !guard->isVisible()) {
        return;
      }
      if (dialog != nullptr && DialogTestAccess::Window(*dialog) == nullptr) {
        return;
      }
      if (sheet != nullptr && DialogTestAccess::Window(*sheet) == nullptr) {
        return;
      }
      gui_internal::Guarded([&] {
        if (dialog != nullptr) {
          RunDialogStep(*dialog, step);
        } else {
          RunSheetStep(*sheet, step);
        }
      });
    }
  });
}

int ClearDialogAnswers() {
  const int n = static_cast<int>(test_hooks::PendingAnswers());
  test_hooks::ClearAnswers();
  return n;
}

bool RunDialogStep(Dialog& dialog, const DialogStep& step) {
  gui_internal::DialogWindow* win = DialogTestAccess::Window(dialog);
  if (win == nullptr) {
    return false;
  }
  using Kind = DialogStep::Kind;
  gui_internal::Control* c = win->Find(step.id);
  switch (step.kind) {
    case Kind::kClick:
      return ClickControl(dialog, step.id);
    case Kind::kType:
      if (c != nullptr && c->kind == ControlKind::kIpAddress && c->widget->isEnabled()) {
        return dialog.SetItemText(step.id, step.text);  // dotted text into the four fields
      }
      if (c == nullptr || c->kind != ControlKind::kEdit || !c->widget->isEnabled()) {
        return false;
      }
      static_cast<QLineEdit*>(c->widget)->setText(gui_internal::ToQString(step.text));
      return true;
    case Kind::kCheck:
      if (c == nullptr || (c->kind != ControlKind::kCheckBox && c->kind != ControlKind::kRadioButton)) {
        return false;
      }
      if (dialog.GetCheck(step.id) != (step.value != 0 ? kChecked : kUnchecked)) {
        static_cast<QAbstractButton*>(c->widget)->click();
      }
      return true;
    case Kind::kPick: {
      if (c == nullptr || !c->widget->isEnabled() || step.value < 0 || step.value >= dialog.GetCount(step.id)) {
        return false;
      }
      if (c->kind == ControlKind::kDropDownList) {
        auto* combo = static_cast<QComboBox*>(c->widget);
        combo->setCurrentIndex(step.value);
        emit combo->activated(step.value);  // what a user's pick reports
        return true;
      }
      if (c->kind == ControlKind::kListBox) {
        auto* list = static_cast<QListWidget*>(c->widget);
        if (list->selectionMode() == QAbstractItemView::NoSelection) {
          return false;
        }
        list->setCurrentRow(step.value);
        return true;
      }
      if (c->kind == ControlKind::kTabControl) {
        static_cast<QTabWidget*>(c->widget)->setCurrentIndex(step.value);
        return true;
      }
      return false;
    }
    case Kind::kEscape:
      if (win->dialog == nullptr) {
        return false;
      }
      PressEscape(win->dialog);
      return true;
    case Kind::kCloseBox:
      if (win->dialog == nullptr) {
        return false;
      }
      win->dialog->close();
      return true;
    case Kind::kSavePng:
      return SaveDialogPng(dialog, WideToUtf8(step.text));
    case Kind::kInspect:
      if (step.inspect) {
        step.inspect(&dialog);
      }
      return true;
  }
  return false;
}

bool RunSheetStep(PropertySheet& sheet, const DialogStep& step) {
  gui_internal::SheetWindow* win = DialogTestAccess::Window(sheet);
  if (win == nullptr) {
    return false;
  }
  using Kind = DialogStep::Kind;
  switch (step.kind) {
    case Kind::kClick: {
      QPushButton* b = step.id == kIdOk       ? win->ok
                       : step.id == kIdCancel ? win->cancel
                       : step.id == kIdApply  ? win->apply
                                              : nullptr;
      if (b != nullptr) {
        if (!b->isEnabled() || !b->isVisible()) {
          return false;
        }
        b->click();
        return true;
      }
      break;  // a page's control
    }
    case Kind::kPick:
      if (step.id == 0) {
        if (step.value < 0 || step.value >= win->tabs->count()) {
          return false;
        }
        win->tabs->setCurrentIndex(step.value);  // as a click on the tab
        return true;
      }
      break;
    case Kind::kEscape:
      PressEscape(win->dialog);
      return true;
    case Kind::kCloseBox:
      win->dialog->close();
      return true;
    case Kind::kSavePng:
      return SaveSheetPng(sheet, WideToUtf8(step.text));
    case Kind::kInspect:
      if (step.inspect) {
        step.inspect(nullptr);
      }
      return true;
    default:
      break;
  }
  // A page's control: the active page first, then the others.
  const auto& pages = DialogTestAccess::Pages(sheet);
  const int active = sheet.GetActiveIndex();
  if (active >= 0 && pages[static_cast<size_t>(active)]->HasControl(step.id)) {
    return RunDialogStep(*pages[static_cast<size_t>(active)], step);
  }
  for (PropertyPage* page : pages) {
    if (page->HasControl(step.id)) {
      return RunDialogStep(*page, step);
    }
  }
  return false;
}

bool ClickControl(Dialog& dialog, int id) {
  gui_internal::DialogWindow* win = DialogTestAccess::Window(dialog);
  gui_internal::Control* c = win != nullptr ? win->Find(id) : nullptr;
  if (c == nullptr) {
    return false;
  }
  auto* b = qobject_cast<QAbstractButton*>(c->widget);
  // A click reaches only an enabled, visible button, as a mouse click would.
  if (b == nullptr || !b->isEnabled() || b->isHidden()) {
    return false;
  }
  b->click();
  return true;
}

bool SaveDialogPng(Dialog& dialog, const std::string& path) {
  gui_internal::DialogWindow* win = DialogTestAccess::Window(dialog);
  return win != nullptr && SavePng(win->root, path);
}

bool SaveSheetPng(PropertySheet& sheet, const std::string& path) {
  gui_internal::SheetWindow* win = DialogTestAccess::Window(sheet);
  return win != nullptr && SavePng(win->dialog, path);
}


}  // namespace lv
