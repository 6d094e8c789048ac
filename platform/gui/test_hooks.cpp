#include "platform/gui/test_hooks.h"

#include <deque>
#include <mutex>

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QMenu>
#include <QAbstractItemView>
#include <QApplication>
#include <QEventLoop>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>
#include <cstdio>

#include "platform/gui/gui_runtime_qt.h"
#include "platform/gui/test_hooks_qt.h"
#include "platform/gui/window_qt.h"

namespace lv::test_hooks {

namespace {
std::mutex g_mutex;
std::deque<ScriptedAnswer> g_answers;
std::function<void(ShownModal&)> g_observer;
}  // namespace

void PushAnswer(ScriptedAnswer answer) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_answers.push_back(std::move(answer));
}

void PushResult(int result) {
  PushAnswer([result](ShownModal& shown) { shown.Finish(result); });
}

void PushMessageBoxAnswer(int buttonId) {
  PushAnswer([buttonId](ShownModal& shown) {
    auto* box = qobject_cast<QMessageBox*>(static_cast<QWidget*>(shown.Widget()));
    if (box == nullptr) {
      shown.Finish(buttonId);
      return;
    }
    static constexpr struct {
      int id;
      QMessageBox::StandardButton button;
    } kMap[] = {{1, QMessageBox::Ok}, {2, QMessageBox::Cancel}, {3, QMessageBox::Abort}, {4, QMessageBox::Retry},
                {5, QMessageBox::Ignore}, {6, QMessageBox::Yes}, {7, QMessageBox::No}};
    for (const auto& e : kMap) {
      if (e.id == buttonId) {
        if (QAbstractButton* b = box->button(e.button)) {
          b->click();  // as a person would: the box finishes with that button
          return;
        }
      }
    }
    box->reject();  // no such button: as Escape
  });
}

void AnswerFileDialog(QFileDialog* dialog, const std::wstring& path, int filterIndex) {
  const QStringList filters = dialog->nameFilters();
  if (filterIndex >= 0 && filterIndex < filters.size()) {
    dialog->selectNameFilter(filters[filterIndex]);
  }
  // Typed into the name field, as a person would: the dialog's own checks
  // (existing file, default extension, replace question) then apply. The
  // dialog resolves a typed name against the folder its file model lists,
  // which a thread of its own fills: wait (briefly) until the folder is
  // listed, so that neither a half-listed folder nor an entry selected on
  // the way stands for the typed name.
  const QFileInfo info(QString::fromStdWString(path));
  const QString folder = info.absolutePath();
  auto* model = dialog->findChild<QFileSystemModel*>();
  const bool listed = model != nullptr && QFileInfo(model->rootPath()) == QFileInfo(folder) &&
                      model->rowCount(model->index(folder)) > 0;
  if (model != nullptr && !listed) {
    QEventLoop loop;
    QTimer cap;
    cap.setSingleShot(true);
    QObject::connect(&cap, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(model, &QFileSystemModel::directoryLoaded, &loop, [&loop, folder](const QString& loaded) {
      if (QFileInfo(loaded) == QFileInfo(folder)) {
        loop.quit();
      }
    });
    dialog->setDirectory(folder);
    cap.start(1000);
    loop.exec();
  } else {
    dialog->setDirectory(folder);
  }
  if (auto* view = dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"))) {
    view->clearSelection();
  }
  if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
    edit->setText(info.fileName());
  } else {
    dialog->selectFile(info.absoluteFilePath());
  }
  // A check that refuses the name opens a message box inside accept(); no
  // script answers it, so it is closed, reported and the dialog cancelled
  // rather than left waiting for a person.
  QPointer<QFileDialog> guarded(dialog);
  QTimer::singleShot(0, dialog, [guarded] {
    if (!guarded) {
      return;
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (box != nullptr && box->isVisible() && box->parentWidget() == guarded.data()) {
        std::fprintf(stderr, "file dialog refused the scripted name: %s\n", qPrintable(box->text()));
        box->reject();
        QMetaObject::invokeMethod(guarded.data(), "reject", Qt::QueuedConnection);
      }
    }
  });
  QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);  // as the Open/Save button
}

void PushFileAnswer(const std::wstring& path) {
  PushAnswer([path](ShownModal& shown) {
    auto* dialog = qobject_cast<QFileDialog*>(static_cast<QWidget*>(shown.Widget()));
    if (dialog == nullptr || path.empty()) {
      shown.Finish(2);
      return;
    }
    AnswerFileDialog(dialog, path, -1);
  });
}

void PushPrintToPdfAnswer(const std::string& utf8Path) {
  PushAnswer([utf8Path](ShownModal& shown) {
    auto* dialog = qobject_cast<QPrintDialog*>(static_cast<QWidget*>(shown.Widget()));
    if (dialog == nullptr) {
      shown.Finish(0);
      return;
    }
    dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
    dialog->printer()->setOutputFileName(QString::fromStdString(utf8Path));
    dialog->done(QDialog::Accepted);  // the printer keeps the PDF output set here
  });
}

size_t PendingAnswers() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_answers.size();
}

void ClearAnswers() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_answers.clear();
}

void SetModalShownObserver(std::function<void(ShownModal&)> observer) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_observer = std::move(observer);
}

namespace {

QString Q(const std::wstring& text) {
  return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size()));
}

QAction* FindAction(const QList<QAction*>& actions, uint32_t command) {
  for (QAction* action : actions) {
    if (QMenu* menu = action->menu()) {
      if (QAction* found = FindAction(menu->actions(), command)) {
        return found;
      }
    } else if (!action->isSeparator() && action->data().isValid() && action->data().toUInt() == command) {
      return action;
    }
  }
  return nullptr;
}

void CollectMenu(const QList<QAction*>& actions, const QString& prefix, std::vector<std::wstring>& out) {
  for (QAction* action : actions) {
    if (action->isSeparator()) {
      out.push_back((prefix + QStringLiteral("-")).toStdWString());
    } else if (QMenu* menu = action->menu()) {
      CollectMenu(menu->actions(), prefix + action->text() + QStringLiteral("/"), out);
    } else {
      const QString mark = action->isChecked() ? QStringLiteral("[x] ") : QString();
      out.push_back((prefix + mark + action->text()).toStdWString());
    }
  }
}

}  // namespace

uint32_t FindWindowByTitle(const std::wstring& title) {
  for (uint32_t id : gui_internal::WindowIds()) {
    if (gui_internal::WidgetOf(id)->windowTitle() == Q(title)) {
      return id;
    }
  }
  return 0;
}

std::vector<uint32_t> WindowIds() { return gui_internal::WindowIds(); }

bool SendCommand(uint32_t window, uint32_t command) {
  auto* frame = dynamic_cast<gui_internal::FrameWidget*>(gui_internal::WidgetOf(window));
  if (frame == nullptr) {
    return false;
  }
  QAction* action = FindAction(frame->menuBar()->actions(), command);
  if (action == nullptr) {
    action = FindAction(frame->Toolbar()->actions(), command);
  }
  if (action == nullptr || !action->isEnabled()) {
    return false;
  }
  action->trigger();
  return true;
}

std::wstring WindowTitle(uint32_t window) {
  QWidget* w = gui_internal::WidgetOf(window);
  return w != nullptr ? w->windowTitle().toStdWString() : std::wstring();
}

std::wstring WindowToolTip(uint32_t window) {
  QWidget* w = gui_internal::WidgetOf(window);
  if (w == nullptr) {
    return std::wstring();
  }
  auto* child = dynamic_cast<gui_internal::ChildWidget*>(w);
  QWidget* view = child != nullptr ? child->View() : nullptr;
  return (view != nullptr ? view : w)->toolTip().toStdWString();
}

std::vector<std::wstring> StatusPaneTexts(uint32_t frame) {
  std::vector<std::wstring> texts;
  if (auto* f = dynamic_cast<gui_internal::FrameWidget*>(gui_internal::WidgetOf(frame))) {
    for (auto& pane : f->Panes()) {
      texts.push_back(pane ? pane->text().toStdWString() : std::wstring());
    }
  }
  return texts;
}

std::vector<std::wstring> MenuTexts(uint32_t frame) {
  std::vector<std::wstring> texts;
  if (auto* f = dynamic_cast<gui_internal::FrameWidget*>(gui_internal::WidgetOf(frame))) {
    CollectMenu(f->menuBar()->actions(), QString(), texts);
  }
  return texts;
}

std::vector<std::wstring> ToolbarTooltips(uint32_t frame) {
  std::vector<std::wstring> texts;
  if (auto* f = dynamic_cast<gui_internal::FrameWidget*>(gui_internal::WidgetOf(frame))) {
    for (QAction* a : f->Toolbar()->actions()) {
      if (!a->isSeparator()) {
        texts.push_back(a->toolTip().toStdWString());
      }
    }
  }
  return texts;
}

bool IsShown(uint32_t window) {
  QWidget* w = gui_internal::WidgetOf(window);
  return w != nullptr && w->isVisible();
}

Rect WidgetGeometry(uint32_t window) {
  QWidget* w = gui_internal::WidgetOf(window);
  if (w == nullptr) {
    return Rect{};
  }
  const QRect g = w->geometry();
  return Rect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

bool UserMoveSize(uint32_t window, const Rect& geometry) {
  QWidget* w = gui_internal::WidgetOf(window);
  if (w == nullptr) {
    return false;
  }
  w->setGeometry(geometry.left, geometry.top, geometry.Width(), geometry.Height());
  return true;
}

bool UserClose(uint32_t window) {
  QWidget* w = gui_internal::WidgetOf(window);
  if (w == nullptr) {
    return false;
  }
  w->close();
  return true;
}

bool SaveWindowPng(uint32_t window, const std::string& utf8Path) {
  QWidget* w = gui_internal::WidgetOf(window);
  if (w == nullptr) {
    return false;
  }
  return w->grab().save(QString::fromStdString(utf8Path), "PNG");
}

bool RepaintNow(uint32_t window) {
  QWidget* w = gui_internal::WidgetOf(window);
  if (w == nullptr) {
    return false;
  }
  if (auto* child = dynamic_cast<gui_internal::ChildWidget*>(w)) {
    child->View()->repaint();
  } else {
    w->repaint();
  }
  return true;
}

namespace {
Qt::MouseButton QtButtonOf(int button) {
  switch (button) {
    case 1: return Qt::LeftButton;
    case 2: return Qt::RightButton;
    case 3: return Qt::MiddleButton;
    default: return Qt::NoButton;
  }
}
Qt::MouseButtons QtButtonsOf(uint32_t buttons) {
  Qt::MouseButtons b;
  if (buttons & 1u) b |= Qt::LeftButton;
  if (buttons & 2u) b |= Qt::RightButton;
  if (buttons & 4u) b |= Qt::MiddleButton;
  return b;
}
gui_internal::FrameView* ChildView(uint32_t window) {
  auto* child = dynamic_cast<gui_internal::ChildWidget*>(gui_internal::WidgetOf(window));
  return child != nullptr ? child->View() : nullptr;
}
}  // namespace

bool SendMouse(uint32_t window, MouseAction action, Point clientPoint, int button, uint32_t buttons,
               int32_t modifiers) {
  gui_internal::FrameView* view = ChildView(window);
  if (view == nullptr) {
    return false;
  }
  const QPoint local(clientPoint.x, clientPoint.y);
  const bool captured = view->Captured() || QWidget::mouseGrabber() == view;
  if (!captured && !view->rect().contains(local)) {
    return false;  // another widget's event
  }
  QEvent::Type type = QEvent::MouseMove;
  switch (action) {
    case MouseAction::kMove: type = QEvent::MouseMove; break;
    case MouseAction::kPress: type = QEvent::MouseButtonPress; break;
    case MouseAction::kRelease: type = QEvent::MouseButtonRelease; break;
    case MouseAction::kDoubleClick: type = QEvent::MouseButtonDblClick; break;
  }
  const QPointF localF(local);
  QMouseEvent event(type, localF, localF, QPointF(view->mapToGlobal(local)),
                    action == MouseAction::kMove ? Qt::NoButton : QtButtonOf(button), QtButtonsOf(buttons),
                    gui_internal::QtModifiersOf(modifiers));
  QApplication::sendEvent(view, &event);
  return true;
}

bool SendKey(uint32_t window, bool press, int32_t key, int32_t modifiers) {
  gui_internal::FrameView* view = ChildView(window);
  const int qtKey = gui_internal::QtKeyOf(key);
  if (view == nullptr || qtKey == Qt::Key_unknown) {
    return false;
  }
  QString text;
  if (key >= 'A' && key <= 'Z') {
    text = QChar((modifiers & kModShift) ? key : key - 'A' + 'a');
  }
  QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, qtKey, gui_internal::QtModifiersOf(modifiers), text);
  QApplication::sendEvent(view, &event);
  return true;
}

}  // namespace lv::test_hooks

namespace lv::gui_internal {

bool TakeScriptedAnswer(test_hooks::ScriptedAnswer& answer) {
  std::lock_guard<std::mutex> lock(test_hooks::g_mutex);
  if (test_hooks::g_answers.empty()) {
    return false;
  }
  answer = std::move(test_hooks::g_answers.front());
  test_hooks::g_answers.pop_front();
  return true;
}

std::function<void(test_hooks::ShownModal&)> ModalShownObserver() {
  std::lock_guard<std::mutex> lock(test_hooks::g_mutex);
  return test_hooks::g_observer;
}

}  // namespace lv::gui_internal
