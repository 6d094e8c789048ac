#include "platform/gui/popup_menu.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <deque>
#include <memory>
#include <mutex>

#include "platform/gui/dialog_window.h"
#include "platform/gui/qt_bridge.h"

namespace lv {

class DialogControlAccess {
 public:
  static gui_internal::DialogWindow* Window(Dialog& d) { return d.window_; }
};

namespace {

std::mutex g_answerMutex;
std::deque<PopupMenuAnswer> g_answers;

QWidget* ControlWidget(Dialog& dialog, int id) {
  gui_internal::DialogWindow* win = DialogControlAccess::Window(dialog);
  if (win == nullptr) {
    return nullptr;
  }
  gui_internal::Control* c = win->Find(id);
  return c != nullptr ? c->widget : nullptr;
}

// Lets the control process a left-button release first, then calls the
// handler with the release point (only when released over the control).
class ReleaseFilter : public QObject {
 public:
  ReleaseFilter(QWidget* control, ControlReleaseHandler handler)
      : QObject(control), control_(control), handler_(std::move(handler)) {
    setObjectName(QStringLiteral("lv_release_filter"));
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (inside_ || watched != control_ || event->type() != QEvent::MouseButtonRelease) {
      return false;
    }
    auto* me = static_cast<QMouseEvent*>(event);
    if (me->button() != Qt::LeftButton) {
      return false;
    }
    const QPoint p = me->position().toPoint();
    const bool over = control_->rect().contains(p);
    // The control's own processing (its click) comes first.
    QPointer<QWidget> guard(control_);
    QPointer<ReleaseFilter> self(this);
    inside_ = true;
    QCoreApplication::sendEvent(control_, event);
    if (self.isNull()) {
      return true;
    }
    inside_ = false;
    if (over && !guard.isNull()) {
      ControlReleaseHandler handler = handler_;  // the handler may replace ours
      gui_internal::Guarded([&handler, p] { handler(Point{p.x(), p.y()}); });
    }
    return true;
  }

 private:
  QWidget* control_;
  ControlReleaseHandler handler_;
  bool inside_ = false;
};

class ShownMenu : public ShownPopupMenu {
 public:
  ShownMenu(QMenu* menu, QWidget* control, const std::vector<MenuItem>& items)
      : menu_(menu), control_(control), items_(items) {}
  const std::vector<MenuItem>& Items() const override { return items_; }
  Point Position() const override {
    const QPoint p = control_->mapFromGlobal(menu_->pos());
    return Point{p.x(), p.y()};
  }
  bool SavePng(const std::string& path) const override {
    return menu_->grab().save(QString::fromStdString(path), "PNG");
  }

 private:
  QMenu* menu_;
  QWidget* control_;
  const std::vector<MenuItem>& items_;
};

bool Choosable(const std::vector<MenuItem>& items, uint32_t command) {
  for (const MenuItem& m : items) {
    if (!m.separator && !m.popup && m.enabled && m.id == command && command != 0) {
      return true;
    }
  }
  return false;
}

bool TakeAnswer(PopupMenuAnswer& answer) {
  std::lock_guard<std::mutex> lock(g_answerMutex);
  if (g_answers.empty()) {
    return false;
  }
  answer = std::move(g_answers.front());
  g_answers.pop_front();
  return true;
}

}  // namespace

bool SetControlReleaseHandler(Dialog& dialog, int id, ControlReleaseHandler handler) {
  QWidget* w = ControlWidget(dialog, id);
  if (w == nullptr) {
    return false;
  }
  for (QObject* child : w->children()) {
    if (auto* old = dynamic_cast<ReleaseFilter*>(child)) {
      w->removeEventFilter(old);
      old->deleteLater();
    }
  }
  if (handler) {
    w->installEventFilter(new ReleaseFilter(w, std::move(handler)));
  }
  return true;
}

uint32_t TrackControlPopupMenu(Dialog& dialog, int id, Point controlPoint, const std::vector<MenuItem>& given) {
  // A copy: the caller's list may go while the menu waits.
  const std::vector<MenuItem> items = given;
  QWidget* w = ControlWidget(dialog, id);
  if (w == nullptr) {
    return 0;
  }
  // Parentless, so that a control deleted while the menu is open does not
  // take the menu with it.
  auto menu = std::make_unique<QMenu>();
  menu->setFont(w->font());
  for (const MenuItem& m : items) {
    if (m.separator) {
      menu->addSeparator();
      continue;
    }
    QAction* a = menu->addAction(gui_internal::ToQString(m.text));
    a->setData(static_cast<uint32_t>(m.id));
    a->setCheckable(m.checkable || m.checked);
    a->setChecked(m.checked);
    a->setEnabled(m.enabled && !m.popup);
  }
  const QPoint global = w->mapToGlobal(QPoint(controlPoint.x, controlPoint.y));
  QPointer<QWidget> guard(w);
  PopupMenuAnswer answer;
  uint32_t command = 0;
  if (TakeAnswer(answer)) {
    menu->popup(global);
    QCoreApplication::processEvents();
    if (guard.isNull()) {
      return 0;
    }
    ShownMenu shown(menu.get(), w, items);
    try {
      command = answer(shown);
    } catch (...) {
      command = 0;
    }
    menu->close();
  } else {
    QAction* chosen = menu->exec(global);
    command = chosen != nullptr ? chosen->data().toUInt() : 0;
  }
  if (guard.isNull()) {
    return 0;  // the control went while the menu was open
  }
  return Choosable(items, command) ? command : 0;
}

bool NotifyControlClicked(Dialog& dialog, int id) {
  gui_internal::DialogWindow* win = DialogControlAccess::Window(dialog);
  if (win == nullptr || win->Find(id) == nullptr) {
    return false;
  }
  win->Clicked(id);
  return true;
}

void AnswerNextPopupMenu(PopupMenuAnswer answer) {
  std::lock_guard<std::mutex> lock(g_answerMutex);
  g_answers.push_back(std::move(answer));
}

int ClearPopupMenuAnswers() {
  std::lock_guard<std::mutex> lock(g_answerMutex);
  const int n = static_cast<int>(g_answers.size());
  g_answers.clear();
  return n;
}

bool MouseClickControl(Dialog& dialog, int id, Point controlPoint) {
  QWidget* w = ControlWidget(dialog, id);
  if (w == nullptr || !w->isEnabled()) {
    return false;
  }
  const QPointF local(controlPoint.x, controlPoint.y);
  const QPointF global = QPointF(w->mapToGlobal(QPoint(controlPoint.x, controlPoint.y)));
  QPointer<QWidget> guard(w);
  QMouseEvent press(QEvent::MouseButtonPress, local, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &press);
  if (guard.isNull()) {
    return true;
  }
  QMouseEvent release(QEvent::MouseButtonRelease, local, local, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(w, &release);
  return true;
}

}  // namespace lv
