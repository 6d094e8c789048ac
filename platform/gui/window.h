// Windows owned by threads.
//
// A window object belongs to the thread that creates it: its geometry, client
// size, visibility, title, menu, toolbar, cursor, bounding rectangle and
// off-screen frame are read there synchronously. Its Qt widget lives on the
// GUI thread and mirrors it asynchronously: every change is posted, no call
// here waits for the GUI thread, and a widget gone meanwhile drops the late
// update. What happens on the widget (commands from the menu, the toolbar or a
// pop-up menu, the close box, a user's resize, paint requests, mouse and
// keys) comes back as window messages in the owner's window-message queue
// (platform/window_messages.h) and reaches the handler given with
// SetMessageHandler on the owner's thread. A programmatic MoveSize does not
// come back as a size message.
//
// The frame is drawn by the owner into a bitmap (through ImageDc) and handed
// over with PresentFrame: the owner's back image, a pending image and the
// widget's front image are three separate images, so none is ever shared
// between threads.
//
// Creating a window needs no running event loop; its widget is made when the
// GUI thread next serves its events. No Qt type appears here.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/gui/drawing.h"
#include "platform/status_sink.h"
#include "platform/window_messages.h"

namespace lv {

enum class CursorKind : int32_t { kArrow, kCross, kSizeAll, kSizeHorizontal, kSizeVertical };

// One entry of a menu: a command item, a separator or a pop-up of entries.
struct MenuItem {
  uint32_t id = 0;  // command id of an item (0 for separators and pop-ups)
  std::wstring text;
  bool separator = false;
  bool popup = false;
  bool checkable = false;  // shows a check mark when checked
  bool checked = false;
  bool enabled = true;
  std::vector<MenuItem> children;  // of a pop-up

  static MenuItem Command(uint32_t id, std::wstring text) {
    MenuItem m;
    m.id = id;
    m.text = std::move(text);
    return m;
  }
  static MenuItem Separator() {
    MenuItem m;
    m.separator = true;
    return m;
  }
  static MenuItem Popup(std::wstring text, std::vector<MenuItem> children) {
    MenuItem m;
    m.popup = true;
    m.text = std::move(text);
    m.children = std::move(children);
    return m;
  }
};

// A toolbar button (24 x 24 image) or a separator.
struct ToolbarButton {
  uint32_t id = 0;
  Bitmap image;        // 24 x 24
  std::wstring text;   // the button's name
  std::wstring tooltip;
  bool separator = false;
  bool checkable = false;
};

class FrameWindow;

// The state both kinds of window share.
class LayerWindow {
 public:
  virtual ~LayerWindow();
  LayerWindow(const LayerWindow&) = delete;
  LayerWindow& operator=(const LayerWindow&) = delete;

  uint32_t Id() const { return id_; }

  // The owner's handler of this window's messages (owner thread). Before it
  // sees a size or move message the window's geometry already follows it.
  void SetMessageHandler(WindowMessageHandler handler);

  void SetTitle(const std::wstring& title);
  const std::wstring& Title() const { return title_; }

  // Shows or hides without waiting.
  void Show(bool visible);
  bool IsVisible() const { return visible_; }

  // Moves and sizes the window (in its parent: the screen for a frame, the
  // plot area for a child); a child is kept inside its bounding rectangle.
  // No size message comes back.
  void MoveSize(const Rect& geometry);
  const Rect& Geometry() const { return geometry_; }
  // The client area's size: the geometry less the caption and frame (for a
  // child measured once at start-up, then taken from each size report; a
  // frame's client is its plot area, known from its first size report).
  Size ClientSize() const;

  void SetCursor(CursorKind cursor);
  CursorKind Cursor() const { return cursor_; }
  // The text shown when the pointer rests over the client area ("" none);
  // windows that draw their own toolbar set it as the pointer moves.
  void SetToolTip(const std::wstring& text);
  const std::wstring& ToolTip() const { return toolTip_; }

  // Mouse capture (owner thread): while captured, moves and button messages
  // of the mouse reach this window wherever the pointer is, in client
  // coordinates (negative or past the client size outside it), until the
  // owner releases. A button release does not end a capture.
  void SetCapture();
  void ReleaseCapture();
  bool HasCapture() const { return captured_; }

  // Asks for a paint message (coalesced).
  void Invalidate();
  // Hands the finished frame over to the widget; frame receives an image to
  // draw the next frame into (the size of the one given, contents unknown).
  void PresentFrame(Bitmap& frame);

  // Shows a pop-up menu at a point of the client area; the chosen command
  // comes back as a command message.
  void TrackPopupMenu(const std::vector<MenuItem>& items, Point clientPoint);

 protected:
  LayerWindow(std::wstring title, const Rect& geometry);
  virtual Rect Clamp(const Rect& geometry) const { return geometry; }
  // Runs fn with the widget on the GUI thread, when it still exists.
  template <typename Fn>
  void Mirror(Fn fn);

  uint32_t id_;
  std::wstring title_;
  Rect geometry_;
  Size insets_{};  // outer size less client size
  bool visible_ = false;
  CursorKind cursor_ = CursorKind::kArrow;
  std::wstring toolTip_;
  bool captured_ = false;
  std::shared_ptr<WindowMessageQueue> ownerQueue_;
  std::shared_ptr<struct FrameSlot> slot_;
  friend class FrameWindow;
  friend class ChildWindow;
};

// A top-level frame window with a menu bar, a toolbar, a status bar and a
// plot area for child windows.
class FrameWindow : public LayerWindow, public StatusSink {
 public:
  FrameWindow(std::wstring title, const Rect& geometry);
  ~FrameWindow() override;

  // The menu bar: its pop-ups, replaced whole.
  void SetMenu(std::vector<MenuItem> popups);
  const std::vector<MenuItem>& Menu() const { return menu_; }
  // Changes at run time (false when no item has the id / no pop-up the index).
  bool SetMenuItemText(uint32_t id, const std::wstring& text);
  bool SetMenuItemChecked(uint32_t id, bool checked);
  bool SetMenuItemEnabled(uint32_t id, bool enabled);
  bool AppendMenuItem(size_t popupIndex, MenuItem item);
  const MenuItem* FindMenuItem(uint32_t id) const;

  void SetToolbar(std::vector<ToolbarButton> buttons);
  void SetToolbarButtonPressed(uint32_t id, bool pressed);

  // Status-bar panes ending at the given right edges (pixels; -1: to the end).
  void SetStatusPanes(const std::vector<int32_t>& rightEdges);
  // Any thread, never waits: the text is copied and posted.
  void SetPaneText(int pane, const wchar_t* text) override;

 private:
  void MirrorMenu();
  std::vector<MenuItem> menu_;
};

// A child frame window inside a frame's plot area: caption, close box,
// maximise box and sizing frame; hidden at creation. Its owner may be any
// thread (plot threads own theirs); the close box only sends the close
// message (the owner decides, e.g. to hide it).
class ChildWindow : public LayerWindow {
 public:
  ChildWindow(const FrameWindow& parent, std::wstring title, const Rect& geometry);
  ~ChildWindow() override;

  // Keeps the window inside the rectangle (plot-area coordinates) when moved
  // or sized, by the owner or the user. Empty: no limit.
  void SetBoundingRect(const Rect& bounds);
  const Rect& BoundingRect() const { return bounds_; }

 protected:
  Rect Clamp(const Rect& geometry) const override;

 private:
  Rect bounds_{};
  uint32_t parentId_;
};

// Keeps the rectangle inside the bounds: sized down to fit, then moved in.
// An empty bounds rectangle leaves it as it is.
Rect KeepInside(const Rect& r, const Rect& bounds);

}  // namespace lv
