// CWSorvekApp: the program's application object.
//
// InitInstance brings the system up in a fixed order: the window layer's
// runtime on the calling thread (which becomes the GUI thread) and the error
// dialog's window, the new-handler (an allocation failure becomes CQError
// code 1), the processor dispatch, the application type, directories and
// settings, the main window "Lumvard Sorvek", and then the workers, one at a
// time with a pause after each: the data manager, the instrument manager, the
// engine and, per transmitter 1 to 4, the time-domain, persistence-spectrum,
// spectrogram and spectrum plot threads (those the plot-thread factory makes;
// see sorvek_threads.h). Each worker announces itself to the main window,
// which hands it its context and, once every worker started has announced
// itself, recalls the startup settings.
//
// The shut-down sequence (Exit or the close box) runs on the GUI thread: the
// window layer closes its modal bridge and ends the event loop; the data
// manager, the instrument manager (which releases the board on its own
// thread) and the engine, then each transmitter's time-domain,
// persistence-spectrum, spectrum and spectrogram threads get their quit
// message in that order, each followed by a pause; after a final pause every
// worker is joined with a time limit. A worker that does not end in time is
// reported on standard error and its object is never deleted (deleting a
// running thread's object would pull its data from under it); every joined
// worker's object is deleted once, by the application object.
#pragma once

#include <memory>
#include <vector>

#include "app/main_window.h"
#include "app/sorvek_threads.h"

class CWSorvekApp {
 public:
  struct Options {
    CWSorvekTimings timings;
    CWPlotThreadFactory plotThreads = DefaultPlotThreadFactory();
    // The error dialog's window presents errors (false: whatever presenter
    // is installed stays, as tests that record errors need).
    bool installErrorWindow = true;
  };

  CWSorvekApp();
  explicit CWSorvekApp(Options options);
  // Deletes the joined workers (data manager, instrument manager, engine,
  // then the time-domain, persistence-spectrum, spectrum and spectrogram
  // tables).
  ~CWSorvekApp();
  CWSorvekApp(const CWSorvekApp&) = delete;
  CWSorvekApp& operator=(const CWSorvekApp&) = delete;

  // True when the main window and every worker object were made.
  bool InitInstance();
  // Runs the event loop until the shut-down sequence has ended it.
  int Run();
  int ExitInstance();

  // The shut-down sequence (GUI thread; runs once).
  void ShutDown();
  bool HasShutDown() const { return shutDown_; }
  // Workers that did not end within the join limit.
  int UnjoinedWorkers() const { return unjoined_; }

  CWSorvekMainWndw* MainWindow() { return mainWnd_.get(); }
  CWSorvekThreads& Threads() { return threads_; }
  // The order in which the workers were started and told to quit.
  const std::vector<CWUIThread*>& StartOrder() const { return startOrder_; }
  const std::vector<CWUIThread*>& QuitOrder() const { return quitOrder_; }

 private:
  void StopWorkers();
  void QuitAndPause(std::unique_ptr<CWUIThread>& thread);

  Options options_;
  CWSorvekThreads threads_;
  std::unique_ptr<CWSorvekMainWndw> mainWnd_;
  std::vector<CWUIThread*> startOrder_;
  std::vector<CWUIThread*> quitOrder_;
  bool runtimeStarted_ = false;
  bool shutDown_ = false;
  int unjoined_ = 0;
};
