// The one call through which any thread runs a modal thing (dialog, message
// box, file or print dialog, the error dialog) on the GUI thread and gets its
// result.
//
// open() runs on the GUI thread; it shows a dialog non-blocking (open(), not
// exec()) and arranges for done(result) to be called exactly once when the
// dialog finishes (its finished signal). The bridge hands the result back on
// the first done call; later calls are ignored.
//
// From a worker, RunModal posts the request and blocks until the result comes
// back; the worker does not serve its queue meanwhile, as a modal loop does
// not. The dialog's handlers (button clicks, edit notifications) run on the GUI
// thread while the owner waits. From the GUI thread, RunModal runs open()
// directly and then serves events in the layer wait until done.
//
// Before the runtime starts, and once the bridge is closed at shut-down,
// RunModal returns cancelResult without opening anything; requests pending at
// the close return cancelResult and the dialogs they opened are rejected.
//
// Work that would start a blocking request on the GUI thread (a command, a
// timer) must not start it while a layer wait or a bridged dialog is active:
// give it to DeferWhileModal, which runs it at once when nothing modal is
// active and otherwise after the last active one has returned (nested waits
// return last-in first-out, so the deferred work runs once the outermost is
// done), in the order given.
#pragma once

#include <functional>

namespace lv {

using ModalDone = std::function<void(int result)>;
using ModalOpen = std::function<void(ModalDone done)>;

// Runs the modal thing that open() shows; returns its result, or cancelResult
// when the bridge is closed (or was never opened) or open() throws.
int RunModal(ModalOpen open, int cancelResult);

// Runs the work on the GUI thread now, or after every active modal wait and
// bridged dialog has returned. From another thread it is posted to the GUI
// thread and follows the same rule. Dropped after the bridge has closed.
void DeferWhileModal(std::function<void()> work);

// True on the GUI thread while a layer wait or a bridged dialog is active.
bool IsModalActive();
// How many bridged dialogs are open now (any thread may ask).
int OpenModalCount();

}  // namespace lv
