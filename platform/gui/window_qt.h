// Platform-internal widgets of the layer's windows (Qt types). Only
// platform/gui includes this header.
#pragma once

#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QToolBar>
#include <QWidget>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/gui/drawing.h"
#include "platform/window_messages.h"

namespace lv {

// The three-image hand-over: the owner's back image goes in as pending, the
// GUI takes pending as its front image. No image is used by two threads.
struct FrameSlot {
  std::mutex mutex;
  Bitmap pending;
  bool fresh = false;
  // Owner: hands back over, receives the old pending image to draw into next.
  void Present(Bitmap& back);
  // GUI: takes the newest frame into front when there is one.
  bool TakeInto(Bitmap& front);
};

}  // namespace lv

namespace lv::gui_internal {

// Where a widget sends what happens to it.
struct WindowLink {
  uint32_t id = 0;
  std::shared_ptr<WindowMessageQueue> owner;
  bool ownerIsGui = false;
  std::shared_ptr<FrameSlot> slot;
  void Post(const WindowMessage& msg) const;
};

// The client area: paints the newest frame, sends mouse and keys.
class FrameView : public QWidget {
 public:
  FrameView(WindowLink link, QWidget* parent);
  Bitmap& Front() { return front_; }
  // Mouse capture: the view takes the mouse wherever the pointer is.
  void SetCaptured(bool captured);
  bool Captured() const { return captured_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void SendMouse(WindowMessageKind kind, QMouseEvent* event);
  void SendKey(WindowMessageKind kind, QKeyEvent* event);
  WindowLink link_;
  Bitmap front_;
  bool captured_ = false;
};

// The layer's key codes and modifier flags (window_messages.h) from Qt's and
// back (0 / Qt::Key_unknown for keys the layer does not name).
int32_t LayerKeyOf(int qtKey);
int QtKeyOf(int32_t layerKey);
int32_t LayerModifiersOf(Qt::KeyboardModifiers modifiers);
Qt::KeyboardModifiers QtModifiersOf(int32_t modifiers);

// The main frame: menu bar, toolbar, status bar, plot area.
class FrameWidget : public QMainWindow {
 public:
  explicit FrameWidget(WindowLink link);
  const WindowLink& Link() const { return link_; }
  QMdiArea* PlotArea() const { return plotArea_; }
  QToolBar* Toolbar() const { return toolbar_; }
  std::vector<QPointer<QLabel>>& Panes() { return panes_; }
  QSize lastApplied;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ReportSize();

  WindowLink link_;
  QMdiArea* plotArea_;
  QSize reportedPlotArea_;  // the plot area's size in the last size message
  QToolBar* toolbar_;
  std::vector<QPointer<QLabel>> panes_;
};

// A child frame window in the plot area.
class ChildWidget : public QMdiSubWindow {
 public:
  ChildWidget(WindowLink link, QWidget* parent);
  const WindowLink& Link() const { return link_; }
  FrameView* View() const { return view_; }
  QRect bounds;         // empty: no limit
  QRect lastApplied;    // the geometry the owner set last

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  bool KeepInBounds();
  WindowLink link_;
  FrameView* view_;
  bool clamping_ = false;
};

// Measures a child window's caption and frame once (GUI thread, at start-up,
// before any worker makes windows); ChildFrameInsets reads them anywhere.
void MeasureFrameInsets();
Size ChildFrameInsets();

// The widget of a window id (GUI thread); null when gone.
QWidget* WidgetOf(uint32_t id);
// Every window id with a widget now.
std::vector<uint32_t> WindowIds();

}  // namespace lv::gui_internal
