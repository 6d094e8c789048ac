#include "platform/gui/window.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStatusBar>
#include <QLayout>
#include <algorithm>
#include <atomic>
#include <unordered_map>
#include <utility>

#include "platform/gui/gui_runtime.h"
#include "platform/gui/gui_runtime_qt.h"
#include "platform/gui/qt_bridge.h"
#include "platform/gui/window_qt.h"

namespace lv {

void FrameSlot::Present(Bitmap& back) {
  std::lock_guard<std::mutex> lock(mutex);
  std::swap(back, pending);
  fresh = true;
  if (back.IsNull() || back.Width() != pending.Width() || back.Height() != pending.Height()) {
    back = Bitmap(pending.Width(), pending.Height());
  }
}

bool FrameSlot::TakeInto(Bitmap& front) {
  std::lock_guard<std::mutex> lock(mutex);
  if (!fresh) {
    return false;
  }
  std::swap(front, pending);
  fresh = false;
  return true;
}

namespace gui_internal {

namespace {
std::unordered_map<uint32_t, QPointer<QWidget>> g_widgets;  // GUI thread only
// The caption and frame of a child window (outer less client size), measured
// once on the GUI thread at start-up, read by owners on any thread.
std::atomic<int32_t> g_childInsetX{0};
std::atomic<int32_t> g_childInsetY{0};

void Register(uint32_t id, QWidget* widget) {
  g_widgets[id] = widget;
  RegisterLayerWidget(widget);
}

QString ToQ(const std::wstring& text) { return ToQString(text); }

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }
Rect FromQRect(const QRect& r) { return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

uint32_t ButtonsOf(Qt::MouseButtons b) {
  return ((b & Qt::LeftButton) ? 1u : 0u) | ((b & Qt::RightButton) ? 2u : 0u) | ((b & Qt::MiddleButton) ? 4u : 0u);
}
int32_t ButtonNumber(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 3;
    default: return 0;
  }
}

void FillMenu(QMenu* menu, const std::vector<MenuItem>& items, const WindowLink& link);

void ConfigureAction(QAction* action, const MenuItem& item, const WindowLink& link) {
  action->setData(item.id);
  action->setCheckable(item.checkable || item.checked);
  action->setChecked(item.checked);
  action->setEnabled(item.enabled);
  const uint32_t id = item.id;
  QObject::connect(action, &QAction::triggered, [link, id] {
    link.Post(WindowMessage{link.id, WindowMessageKind::kCommand, static_cast<int32_t>(id)});
  });
}

void AddItem(QMenu* menu, const MenuItem& item, const WindowLink& link) {
  if (item.separator) {
    menu->addSeparator();
  } else if (item.popup) {
    QMenu* sub = menu->addMenu(ToQ(item.text));
    FillMenu(sub, item.children, link);
  } else {
    ConfigureAction(menu->addAction(ToQ(item.text)), item, link);
  }
}

void FillMenu(QMenu* menu, const std::vector<MenuItem>& items, const WindowLink& link) {
  for (const MenuItem& item : items) {
    AddItem(menu, item, link);
  }
}

Qt::CursorShape ShapeOf(CursorKind kind) {
  switch (kind) {
    case CursorKind::kCross: return Qt::CrossCursor;
    case CursorKind::kSizeAll: return Qt::SizeAllCursor;
    case CursorKind::kSizeHorizontal: return Qt::SizeHorCursor;
    case CursorKind::kSizeVertical: return Qt::SizeVerCursor;
    default: return Qt::ArrowCursor;
  }
}

FrameView* ViewOf(QWidget* w) {
  if (auto* child = dynamic_cast<ChildWidget*>(w)) {
    return child->View();
  }
  return nullptr;
}
}  // namespace

void MeasureFrameInsets() {
  QMdiArea area;
  area.resize(800, 600);
  auto* probe = new ChildWidget(WindowLink{0, std::make_shared<WindowMessageQueue>(), false, std::make_shared<FrameSlot>()},
                                nullptr);
  area.addSubWindow(probe);
  probe->resize(400, 300);
  probe->ensurePolished();
  if (probe->layout() != nullptr) {
    probe->layout()->activate();
  }
  const QSize client = probe->View()->size();
  if (client.width() > 0 && client.width() < 400 && client.height() > 0 && client.height() < 300) {
    g_childInsetX = 400 - client.width();
    g_childInsetY = 300 - client.height();
  }
}

Size ChildFrameInsets() { return Size{g_childInsetX.load(), g_childInsetY.load()}; }

QWidget* WidgetOf(uint32_t id) {
  auto it = g_widgets.find(id);
  return it == g_widgets.end() ? nullptr : it->second.data();
}

std::vector<uint32_t> WindowIds() {
  std::vector<uint32_t> ids;
  for (auto& [id, widget] : g_widgets) {
    if (widget) {
      ids.push_back(id);
    }
  }
  std::sort(ids.begin(), ids.end());
  return ids;
}

void WindowLink::Post(const WindowMessage& msg) const {
  owner->Post(msg);
  if (ownerIsGui) {
    PostToGuiThread([] { DispatchWindowMessages(); });
  }
}

FrameView::FrameView(WindowLink link, QWidget* parent) : QWidget(parent), link_(std::move(link)) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void FrameView::paintEvent(QPaintEvent*) {
  link_.slot->TakeInto(front_);
  QPainter painter(this);
  if (front_.IsNull()) {
    painter.fillRect(rect(), Qt::white);
    return;
  }
  painter.drawImage(QPoint(0, 0), *front_.Image());
  if (front_.Width() < width() || front_.Height() < height()) {
    painter.fillRect(QRect(front_.Width(), 0, width() - front_.Width(), height()), Qt::white);
    painter.fillRect(QRect(0, front_.Height(), front_.Width(), height() - front_.Height()), Qt::white);
  }
}

namespace {
struct KeyPair {
  int qt;
  int32_t layer;
};
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, kKeyBackspace}, {Qt::Key_Tab, kKeyTab},       {Qt::Key_Return, kKeyReturn},
    {Qt::Key_Enter, kKeyReturn},        {Qt::Key_Escape, kKeyEscape}, {Qt::Key_PageUp, kKeyPageUp},
    {Qt::Key_PageDown, kKeyPageDown},   {Qt::Key_End, kKeyEnd},       {Qt::Key_Home, kKeyHome},
    {Qt::Key_Left, kKeyLeft},           {Qt::Key_Up, kKeyUp},         {Qt::Key_Right, kKeyRight},
    {Qt::Key_Down, kKeyArrowDown},      {Qt::Key_Insert, kKeyInsert}, {Qt::Key_Delete, kKeyDelete},
    {Qt::Key_Space, ' '},
};
}  // namespace

int32_t LayerKeyOf(int qtKey) {
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
    return qtKey;  // Qt's codes for these are their upper-case characters
  }
  for (const KeyPair& k : kKeys) {
    if (k.qt == qtKey) {
      return k.layer;
    }
  }
  return 0;
}

int QtKeyOf(int32_t layerKey) {
  if ((layerKey >= 'A' && layerKey <= 'Z') || (layerKey >= '0' && layerKey <= '9')) {
    return layerKey;
  }
  for (const KeyPair& k : kKeys) {
    if (k.layer == layerKey) {
      return k.qt;
    }
  }
  return Qt::Key_unknown;
}

int32_t LayerModifiersOf(Qt::KeyboardModifiers m) {
  return ((m & Qt::ShiftModifier) ? kModShift : 0) | ((m & Qt::ControlModifier) ? kModControl : 0) |
         ((m & Qt::AltModifier) ? kModAlt : 0);
}

Qt::KeyboardModifiers QtModifiersOf(int32_t m) {
  Qt::KeyboardModifiers q;
  if (m & kModShift) q |= Qt::ShiftModifier;
  if (m & kModControl) q |= Qt::ControlModifier;
  if (m & kModAlt) q |= Qt::AltModifier;
  return q;
}

void FrameView::SetCaptured(bool captured) {
  captured_ = captured;
  // A real grab needs a shown widget; one shown later grabs in showEvent.
  if (captured && isVisible()) {
    grabMouse();
  } else if (!captured && QWidget::mouseGrabber() == this) {
    releaseMouse();
  }
}

void FrameView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (captured_) {
    grabMouse();
  }
}

void FrameView::hideEvent(QHideEvent* event) {
  if (QWidget::mouseGrabber() == this) {
    releaseMouse();  // a hidden widget must not hold the mouse; the flag stays
  }
  QWidget::hideEvent(event);
}

void FrameView::SendMouse(WindowMessageKind kind, QMouseEvent* event) {
  WindowMessage msg{link_.id, kind};
  msg.a = ButtonNumber(event->button());
  msg.b = LayerModifiersOf(event->modifiers());
  msg.x = static_cast<int32_t>(event->position().x());
  msg.y = static_cast<int32_t>(event->position().y());
  msg.buttons = ButtonsOf(event->buttons());
  link_.Post(msg);
}

void FrameView::mouseMoveEvent(QMouseEvent* e) { SendMouse(WindowMessageKind::kMouseMove, e); }
void FrameView::mousePressEvent(QMouseEvent* e) { SendMouse(WindowMessageKind::kMouseDown, e); }
void FrameView::mouseReleaseEvent(QMouseEvent* e) { SendMouse(WindowMessageKind::kMouseUp, e); }
void FrameView::mouseDoubleClickEvent(QMouseEvent* e) { SendMouse(WindowMessageKind::kMouseDoubleClick, e); }
void FrameView::SendKey(WindowMessageKind kind, QKeyEvent* e) {
  const int32_t key = LayerKeyOf(e->key());
  if (key == 0) {
    e->ignore();  // not a key the layer names (a lone modifier, media keys ...)
    return;
  }
  link_.Post(WindowMessage{link_.id, kind, key, LayerModifiersOf(e->modifiers())});
}
void FrameView::keyPressEvent(QKeyEvent* e) { SendKey(WindowMessageKind::kKeyDown, e); }
void FrameView::keyReleaseEvent(QKeyEvent* e) { SendKey(WindowMessageKind::kKeyUp, e); }

FrameWidget::FrameWidget(WindowLink link) : link_(std::move(link)) {
  plotArea_ = new QMdiArea(this);
  plotArea_->setBackground(QBrush(QColor(128, 128, 128)));
  setCentralWidget(plotArea_);
  // The plot area also changes without the frame changing size: when the
  // toolbar or status bar first appear, or show and hide. The owner learns
  // its client size from those changes too.
  plotArea_->installEventFilter(this);
  toolbar_ = addToolBar(QStringLiteral("Toolbar"));
  toolbar_->setIconSize(QSize(24, 24));
  toolbar_->setMovable(false);
  statusBar();
}

void FrameWidget::closeEvent(QCloseEvent* event) {
  // The owner decides (the main window asks before it ends the program).
  event->ignore();
  link_.Post(WindowMessage{link_.id, WindowMessageKind::kClose});
}

void FrameWidget::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (event->size() == lastApplied) {
    return;
  }
  ReportSize();
}

bool FrameWidget::eventFilter(QObject* watched, QEvent* event) {
  // A plot area that changed while the frame kept the owner's size (bars laid
  // out) is news to the owner, not an echo of its own MoveSize.
  if (watched == plotArea_ && event->type() == QEvent::Resize && size() == lastApplied &&
      plotArea_->size() != reportedPlotArea_) {
    ReportSize();
  }
  return QMainWindow::eventFilter(watched, event);
}

void FrameWidget::ReportSize() {
  const QSize client = plotArea_->size();
  reportedPlotArea_ = client;
  link_.Post(WindowMessage{link_.id, WindowMessageKind::kSize, client.width(), client.height(), width(), height()});
}

ChildWidget::ChildWidget(WindowLink link, QWidget* parent) : QMdiSubWindow(parent), link_(link) {
  view_ = new FrameView(link, this);
  setWidget(view_);
  setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setOption(QMdiSubWindow::RubberBandResize, false);
}

void ChildWidget::closeEvent(QCloseEvent* event) {
  // The close box only tells the owner; the owner hides or destroys.
  event->ignore();
  link_.Post(WindowMessage{link_.id, WindowMessageKind::kClose});
}

bool ChildWidget::KeepInBounds() {
  if (clamping_ || bounds.isEmpty() || isMaximized()) {
    return false;
  }
  const Rect wanted = KeepInside(FromQRect(geometry()), FromQRect(bounds));
  if (ToQRect(wanted) == geometry()) {
    return false;
  }
  clamping_ = true;
  setGeometry(ToQRect(wanted));
  clamping_ = false;
  return true;
}

void ChildWidget::resizeEvent(QResizeEvent* event) {
  QMdiSubWindow::resizeEvent(event);
  if (clamping_) {
    return;
  }
  KeepInBounds();
  if (geometry() == lastApplied) {
    return;  // the owner's own size: no echo
  }
  const QSize client = view_->size();
  const Rect g = FromQRect(geometry());
  link_.Post(WindowMessage{link_.id, WindowMessageKind::kSize, client.width(), client.height(), g.Width(), g.Height()});
  link_.Post(WindowMessage{link_.id, WindowMessageKind::kMove, g.left, g.top});
  link_.Post(WindowMessage{link_.id, WindowMessageKind::kPaint});
}

void ChildWidget::moveEvent(QMoveEvent* event) {
  QMdiSubWindow::moveEvent(event);
  if (clamping_) {
    return;
  }
  KeepInBounds();
  if (geometry() == lastApplied) {
    return;
  }
  link_.Post(WindowMessage{link_.id, WindowMessageKind::kMove, geometry().left(), geometry().top()});
}

}  // namespace gui_internal

using gui_internal::ChildWidget;
using gui_internal::FrameWidget;
using gui_internal::WidgetOf;

Rect KeepInside(const Rect& r, const Rect& bounds) {
  if (bounds.IsEmpty()) {
    return r;
  }
  const int32_t w = std::min(r.Width(), bounds.Width());
  const int32_t h = std::min(r.Height(), bounds.Height());
  const int32_t left = std::clamp(r.left, bounds.left, bounds.right - w);
  const int32_t top = std::clamp(r.top, bounds.top, bounds.bottom - h);
  return Rect{left, top, left + w, top + h};
}

template <typename Fn>
void LayerWindow::Mirror(Fn fn) {
  const uint32_t id = id_;
  auto run = [id, fn = std::move(fn)]() mutable {
    if (QWidget* w = WidgetOf(id)) {
      fn(w);
    }
  };
  if (IsGuiThread()) {
    run();
  } else {
    gui_internal::PostToGuiThread(std::move(run));
  }
}

LayerWindow::LayerWindow(std::wstring title, const Rect& geometry)
    : id_(NewWindowId()),
      title_(std::move(title)),
      geometry_(geometry),
      ownerQueue_(ThisThreadWindowQueue()),
      slot_(std::make_shared<FrameSlot>()) {}

LayerWindow::~LayerWindow() {
  SetWindowMessageHandler(id_, nullptr);
  Mirror([](QWidget* w) { w->deleteLater(); });
}

void LayerWindow::SetMessageHandler(WindowMessageHandler handler) {
  if (!handler) {
    SetWindowMessageHandler(id_, nullptr);
    return;
  }
  SetWindowMessageHandler(id_, [this, handler = std::move(handler)](const WindowMessage& m) {
    if (m.kind == WindowMessageKind::kSize) {
      insets_ = Size{m.x - m.a, m.y - m.b};
      geometry_.right = geometry_.left + m.x;
      geometry_.bottom = geometry_.top + m.y;
    } else if (m.kind == WindowMessageKind::kMove) {
      const int32_t w = geometry_.Width();
      const int32_t h = geometry_.Height();
      geometry_ = Rect{m.a, m.b, m.a + w, m.b + h};
    } else if (m.kind == WindowMessageKind::kShow) {
      visible_ = m.a != 0;
    }
    handler(m);
  });
}

Size LayerWindow::ClientSize() const {
  return Size{std::max(0, geometry_.Width() - insets_.cx), std::max(0, geometry_.Height() - insets_.cy)};
}

void LayerWindow::SetTitle(const std::wstring& title) {
  title_ = title;
  Mirror([title](QWidget* w) { w->setWindowTitle(gui_internal::ToQString(title)); });
}

void LayerWindow::Show(bool visible) {
  visible_ = visible;
  if (visible) {
    Invalidate();
  }
  Mirror([visible](QWidget* w) { w->setVisible(visible); });
}

void LayerWindow::MoveSize(const Rect& geometry) {
  geometry_ = Clamp(geometry);
  const Rect g = geometry_;
  Mirror([g](QWidget* w) {
    const QRect r(g.left, g.top, g.Width(), g.Height());
    if (auto* child = dynamic_cast<ChildWidget*>(w)) {
      child->lastApplied = r;
    } else if (auto* frame = dynamic_cast<FrameWidget*>(w)) {
      frame->lastApplied = r.size();
    }
    w->setGeometry(r);
  });
}

void LayerWindow::SetCursor(CursorKind cursor) {
  cursor_ = cursor;
  Mirror([cursor](QWidget* w) {
    if (QWidget* view = gui_internal::ViewOf(w)) {
      view->setCursor(gui_internal::ShapeOf(cursor));
    } else {
      w->setCursor(gui_internal::ShapeOf(cursor));
    }
  });
}

void LayerWindow::SetToolTip(const std::wstring& text) {
  if (text == toolTip_) {
    return;
  }
  toolTip_ = text;
  Mirror([tip = gui_internal::ToQString(text)](QWidget* w) {
    QWidget* view = gui_internal::ViewOf(w);
    (view != nullptr ? view : w)->setToolTip(tip);
  });
}

namespace {
void MirrorCapture(QWidget* w, bool captured) {
  if (auto* view = dynamic_cast<gui_internal::FrameView*>(gui_internal::ViewOf(w))) {
    view->SetCaptured(captured);
  }
}
}  // namespace

void LayerWindow::SetCapture() {
  captured_ = true;
  Mirror([](QWidget* w) { MirrorCapture(w, true); });
}

void LayerWindow::ReleaseCapture() {
  captured_ = false;
  Mirror([](QWidget* w) { MirrorCapture(w, false); });
}

void LayerWindow::Invalidate() { ownerQueue_->Post(WindowMessage{id_, WindowMessageKind::kPaint}); }

void LayerWindow::PresentFrame(Bitmap& frame) {
  slot_->Present(frame);
  Mirror([](QWidget* w) {
    if (QWidget* view = gui_internal::ViewOf(w)) {
      view->update();
    }
  });
}

void LayerWindow::TrackPopupMenu(const std::vector<MenuItem>& items, Point clientPoint) {
  gui_internal::WindowLink link{id_, ownerQueue_, false, slot_};
  Mirror([items, clientPoint, link](QWidget* w) mutable {
    link.ownerIsGui = IsGuiThread() && link.owner == ThisThreadWindowQueue();
    QWidget* view = gui_internal::ViewOf(w);
    QWidget* anchor = view != nullptr ? view : w;
    auto* menu = new QMenu(anchor);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    gui_internal::FillMenu(menu, items, link);
    menu->popup(anchor->mapToGlobal(QPoint(clientPoint.x, clientPoint.y)));
  });
}

namespace {
gui_internal::WindowLink LinkFor(uint32_t id, const std::shared_ptr<WindowMessageQueue>& owner,
                                 const std::shared_ptr<FrameSlot>& slot) {
  return gui_internal::WindowLink{id, owner, IsGuiThread(), slot};
}
}  // namespace

FrameWindow::FrameWindow(std::wstring title, const Rect& geometry) : LayerWindow(std::move(title), geometry) {
  gui_internal::WindowLink link = LinkFor(id_, ownerQueue_, slot_);
  const std::wstring t = title_;
  const Rect g = geometry_;
  auto make = [link, t, g]() {
    auto* w = new FrameWidget(link);
    w->setWindowTitle(gui_internal::ToQString(t));
    w->lastApplied = QSize(g.Width(), g.Height());
    w->setGeometry(g.left, g.top, g.Width(), g.Height());
    gui_internal::Register(link.id, w);
  };
  if (IsGuiThread()) {
    make();
  } else {
    gui_internal::PostToGuiThread(make);
  }
}

FrameWindow::~FrameWindow() = default;

namespace {
MenuItem* FindIn(std::vector<MenuItem>& items, uint32_t id) {
  for (MenuItem& item : items) {
    if (!item.popup && !item.separator && item.id == id) {
      return &item;
    }
    if (MenuItem* found = FindIn(item.children, id)) {
      return found;
    }
  }
  return nullptr;
}
}  // namespace

void FrameWindow::SetMenu(std::vector<MenuItem> popups) {
  menu_ = std::move(popups);
  MirrorMenu();
}

const MenuItem* FrameWindow::FindMenuItem(uint32_t id) const {
  return FindIn(const_cast<std::vector<MenuItem>&>(menu_), id);
}

bool FrameWindow::SetMenuItemText(uint32_t id, const std::wstring& text) {
  MenuItem* item = FindIn(menu_, id);
  if (item == nullptr) {
    return false;
  }
  item->text = text;
  MirrorMenu();
  return true;
}

bool FrameWindow::SetMenuItemChecked(uint32_t id, bool checked) {
  MenuItem* item = FindIn(menu_, id);
  if (item == nullptr) {
    return false;
  }
  item->checkable = true;
  item->checked = checked;
  MirrorMenu();
  return true;
}

bool FrameWindow::SetMenuItemEnabled(uint32_t id, bool enabled) {
  MenuItem* item = FindIn(menu_, id);
  if (item == nullptr) {
    return false;
  }
  item->enabled = enabled;
  MirrorMenu();
  return true;
}

bool FrameWindow::AppendMenuItem(size_t popupIndex, MenuItem item) {
  if (popupIndex >= menu_.size() || !menu_[popupIndex].popup) {
    return false;
  }
  menu_[popupIndex].children.push_back(std::move(item));
  MirrorMenu();
  return true;
}

void FrameWindow::MirrorMenu() {
  // The whole bar is rebuilt from a copy of the model: menus are small and
  // change seldom, and a rebuild cannot drift from the model.
  std::vector<MenuItem> copy = menu_;
  Mirror([copy](QWidget* w) {
    auto* frame = dynamic_cast<FrameWidget*>(w);
    if (frame == nullptr) {
      return;
    }
    QMenuBar* bar = frame->menuBar();
    bar->clear();
    for (const MenuItem& popup : copy) {
      if (popup.popup) {
        QMenu* menu = bar->addMenu(gui_internal::ToQString(popup.text));
        gui_internal::FillMenu(menu, popup.children, frame->Link());
      } else if (!popup.separator) {
        // A command right on the bar.
        gui_internal::ConfigureAction(bar->addAction(gui_internal::ToQString(popup.text)), popup, frame->Link());
      }
    }
  });
}

void FrameWindow::SetToolbar(std::vector<ToolbarButton> buttons) {
  Mirror([buttons](QWidget* w) {
    auto* frame = dynamic_cast<FrameWidget*>(w);
    if (frame == nullptr) {
      return;
    }
    QToolBar* bar = frame->Toolbar();
    bar->clear();
    for (const ToolbarButton& b : buttons) {
      if (b.separator) {
        bar->addSeparator();
        continue;
      }
      QIcon icon;
      if (!b.image.IsNull()) {
        icon = QIcon(QPixmap::fromImage(*b.image.Image()));
      }
      QAction* action = bar->addAction(icon, gui_internal::ToQString(b.text.empty() ? b.tooltip : b.text));
      action->setToolTip(gui_internal::ToQString(b.tooltip));
      action->setData(b.id);
      action->setCheckable(b.checkable);
      const gui_internal::WindowLink link = frame->Link();
      const uint32_t id = b.id;
      QObject::connect(action, &QAction::triggered, [link, id] {
        link.Post(WindowMessage{link.id, WindowMessageKind::kCommand, static_cast<int32_t>(id)});
      });
    }
  });
}

void FrameWindow::SetToolbarButtonPressed(uint32_t id, bool pressed) {
  Mirror([id, pressed](QWidget* w) {
    if (auto* frame = dynamic_cast<FrameWidget*>(w)) {
      for (QAction* a : frame->Toolbar()->actions()) {
        if (a->data().toUInt() == id) {
          a->setCheckable(true);
          a->setChecked(pressed);
        }
      }
    }
  });
}

void FrameWindow::SetStatusPanes(const std::vector<int32_t>& rightEdges) {
  Mirror([rightEdges](QWidget* w) {
    auto* frame = dynamic_cast<FrameWidget*>(w);
    if (frame == nullptr) {
      return;
    }
    for (QPointer<QLabel>& pane : frame->Panes()) {
      delete pane.data();
    }
    frame->Panes().clear();
    int32_t left = 0;
    for (int32_t edge : rightEdges) {
      auto* label = new QLabel(frame->statusBar());
      label->setFrameShape(QFrame::Panel);
      label->setFrameShadow(QFrame::Sunken);
      if (edge < 0) {
        frame->statusBar()->addWidget(label, 1);
      } else {
        label->setFixedWidth(std::max(0, edge - left));
        frame->statusBar()->addWidget(label, 0);
        left = edge;
      }
      frame->Panes().emplace_back(label);
    }
  });
}

void FrameWindow::SetPaneText(int pane, const wchar_t* text) {
  const std::wstring copy = text != nullptr ? text : L"";
  const uint32_t id = id_;
  // Always posted, from any thread: the caller never waits for the GUI.
  gui_internal::PostToGuiThread([id, pane, copy] {
    if (auto* frame = dynamic_cast<FrameWidget*>(WidgetOf(id))) {
      if (pane >= 0 && static_cast<size_t>(pane) < frame->Panes().size() && frame->Panes()[pane]) {
        frame->Panes()[pane]->setText(gui_internal::ToQString(copy));
      }
    }
  });
}

ChildWindow::ChildWindow(const FrameWindow& parent, std::wstring title, const Rect& geometry)
    : LayerWindow(std::move(title), geometry), parentId_(parent.Id()) {
  insets_ = gui_internal::ChildFrameInsets();
  gui_internal::WindowLink link = LinkFor(id_, ownerQueue_, slot_);
  const std::wstring t = title_;
  const Rect g = geometry_;
  const uint32_t parentId = parentId_;
  auto make = [link, t, g, parentId]() {
    auto* frame = dynamic_cast<FrameWidget*>(WidgetOf(parentId));
    if (frame == nullptr) {
      return;
    }
    auto* w = new ChildWidget(link, nullptr);
    w->setWindowTitle(gui_internal::ToQString(t));
    frame->PlotArea()->addSubWindow(w);
    w->hide();  // hidden at creation; the owner shows it
    w->lastApplied = QRect(g.left, g.top, g.Width(), g.Height());
    w->setGeometry(w->lastApplied);
    gui_internal::Register(link.id, w);
  };
  if (IsGuiThread()) {
    make();
  } else {
    gui_internal::PostToGuiThread(make);
  }
}

ChildWindow::~ChildWindow() = default;

void ChildWindow::SetBoundingRect(const Rect& bounds) {
  bounds_ = bounds;
  geometry_ = Clamp(geometry_);
  const Rect g = geometry_;
  Mirror([bounds, g](QWidget* w) {
    if (auto* child = dynamic_cast<ChildWidget*>(w)) {
      child->bounds = QRect(bounds.left, bounds.top, bounds.Width(), bounds.Height());
      child->lastApplied = QRect(g.left, g.top, g.Width(), g.Height());
      child->setGeometry(child->lastApplied);
    }
  });
}

Rect ChildWindow::Clamp(const Rect& geometry) const { return KeepInside(geometry, bounds_); }

}  // namespace lv
