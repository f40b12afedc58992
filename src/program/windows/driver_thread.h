#pragma once

#include <deque>
#include <functional>

#include "app/kelvane.h"
#include "platform/interface/window_system.h"
#include "program/windows/win32_sync.h"
#include "program/windows/window_thread_calls.h"

namespace kelvane::program {

using platform::Control;
using platform::Window;
using platform::WindowEvents;
using platform::WindowSystem;

// The removal driver on a thread of its own, with its own COM apartment, so
// that the window thread reads its messages all the time: Windows takes a
// window that answers nothing for 5 s as hung, ghosts it and offers to kill
// the tool in the middle of a removal. The driver itself stays single-
// threaded: its start and every event run here, one after the other, and it
// reaches the windows only through `windows` (WindowThreadCalls).
class DriverThread final : public WindowEvents {
 public:
  // Starts the thread, which creates the automation objects and runs the
  // tool's start (the load step).
  explicit DriverThread(WindowThreadCalls& windows);
  // Lets the running handler finish, then ends the thread. Called on the
  // window thread, which meanwhile still answers the handler's window calls.
  ~DriverThread() override;
  DriverThread(const DriverThread&) = delete;
  DriverThread& operator=(const DriverThread&) = delete;

  // From the window thread. An event waits for the start to finish, and one
  // that comes while another's handler is waiting or running waits its turn,
  // so that each click on a link opens its address and a Finish or close is
  // never lost. Only a Go is dropped then: the first Go hides its window at
  // once, so a second one was never meant, and must never start a second
  // removal. Once the tool has ended, no event is handled.
  void Clicked(Control control) override;
  void CloseRequested(Window window) override;

 private:
  using Task = std::function<void(app::Kelvane&)>;
  void Post(Task task, bool waitsForABusyHandler);
  void Run();
  // Runs the work; anything it throws (the driver handles the platform's
  // own failures itself) is shown in the error box, and the tool ends.
  void Guarded(const std::function<void()>& work);

  WindowThreadCalls& windows_;
  Lock mutex_;
  Condition wake_;
  std::deque<Task> tasks_;
  bool busy_ = false;  // an event's handler is waiting or running
  bool stopping_ = false;
  bool finished_ = false;
  Thread thread_;
};

}  // namespace kelvane::program
