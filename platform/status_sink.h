// Where workers put status-bar texts. The main window's status bar
// implements it; setting a text never waits for the user-interface thread
// (the text is copied and posted), so a worker may call it while that thread
// waits on the worker.
#pragma once

namespace lv {

class StatusSink {
 public:
  virtual ~StatusSink() = default;
  virtual void SetPaneText(int pane, const wchar_t* text) = 0;
};

}  // namespace lv
