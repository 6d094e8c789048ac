// Platform-internal side of the GUI runtime and the modal bridge (Qt types).
// Only platform/gui includes this header.
#pragma once

#include <QObject>
#include <QWidget>
#include <functional>

namespace lv::gui_internal {

// The object the runtime's queued calls run on (lives on the GUI thread).
QObject* RuntimeObject();

// Runs fn on the GUI thread, after what is already queued there. From any
// thread; false (fn dropped) when the runtime is not started. Calls still
// queued when the runtime shuts down are dropped.
bool PostToGuiThread(std::function<void()> fn);

// Marks a modal wait or a bridged dialog as active / finished (GUI thread).
// When the last one finishes, the work deferred by DeferWhileModal runs.
void EnterModal();
void LeaveModal();

// Widgets the layer's windows created; the runtime deletes those still alive
// in the last step of shut-down.
void RegisterLayerWidget(QWidget* widget);

// The bridge's side of start-up and shut-down (the runtime calls them).
void OpenModalBridge();
void CloseModalBridge();
bool IsModalBridgeClosed();

// The test hooks' side: the next scripted answer (false when none is queued)
// and the observer of shown modal things (may be empty).
}  // namespace lv::gui_internal

#include "platform/gui/test_hooks.h"

namespace lv::gui_internal {
bool TakeScriptedAnswer(test_hooks::ScriptedAnswer& answer);
std::function<void(test_hooks::ShownModal&)> ModalShownObserver();
}  // namespace lv::gui_internal
