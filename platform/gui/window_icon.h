// Window icons: the picture a desktop shows for a window (its task bar entry,
// the window switcher, the caption of a child window).
//
// A WindowIcon holds one picture at several sizes, each decoded from PNG file
// data, with its transparency. Icons are values: copies share their images,
// which never change once added to an icon (adding makes new ones), so an icon
// may be handed to and held by any thread.
//
// SetWindowIcon gives a layer window its large icon, posted like the window's
// other changes (any thread, never waits). SetApplicationIcon makes an icon
// the one of every window and dialog that has none of its own (GUI thread,
// after the runtime has started). No Qt type appears here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gui/bitmap.h"

namespace lv {

class LayerWindow;

class WindowIcon {
 public:
  WindowIcon();  // the null icon: no picture
  ~WindowIcon();
  WindowIcon(const WindowIcon& other);
  WindowIcon& operator=(const WindowIcon& other);

  // Adds one size of the picture from the bytes of a PNG file. False, and the
  // icon unchanged, when the bytes are not a picture.
  bool AddPng(const void* data, size_t size);
  bool IsNull() const;
  // The widths of the sizes held, smallest first.
  std::vector<int32_t> Sizes() const;
  // The picture of a size held over white (the null bitmap for another size).
  Bitmap ImageOver(int32_t width, Color background = 0xFFFFFF) const;

 private:
  friend struct WindowIconAccess;
  struct Images;
  std::shared_ptr<const Images> images_;
};

// The window's large icon; a null icon takes the window's own icon away.
void SetWindowIcon(const LayerWindow& window, const WindowIcon& icon);
// The icon of every window without one of its own (GUI thread; false
// elsewhere or before the runtime has started).
bool SetApplicationIcon(const WindowIcon& icon);

namespace test_hooks {
// The widths of the sizes of the icon the window's widget was given (GUI
// thread); empty when it has none of its own or no widget.
std::vector<int32_t> WindowIconSizes(uint32_t window);
// The same for the application's icon.
std::vector<int32_t> ApplicationIconSizes();
}  // namespace test_hooks

}  // namespace lv
