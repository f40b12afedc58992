#include "program/windows/driver_thread.h"

#include <windows.h>
#include <objbase.h>

#include <exception>

#include "platform/interface/error.h"
#include "platform/interface/platform.h"
#include "platform/windows/ui/failure_barrier.h"
#include "platform/windows/windows_platform.h"

namespace kelvane::program {

DriverThread::DriverThread(WindowThreadCalls& windows) : windows_(windows), thread_([this] { Run(); }) {}

DriverThread::~DriverThread() {
  {
    Held lock(mutex_);
    stopping_ = true;
  }
  wake_.WakeAll();
  // A window call the driver made just before the end waits for this thread
  // to take it: take sent messages until the driver has finished.
  for (;;) {
    {
      Held lock(mutex_);
      if (finished_) break;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_SENDMESSAGE);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  thread_.Join();
}

void DriverThread::Clicked(Control control) {
  Post([control](app::Kelvane& kelvane) { kelvane.Clicked(control); }, control != Control::btnGo);
}

void DriverThread::CloseRequested(Window window) {
  Post([window](app::Kelvane& kelvane) { kelvane.CloseRequested(window); }, true);
}

void DriverThread::Post(Task task, bool waitsForABusyHandler) {
  {
    Held lock(mutex_);
    if (stopping_ || windows_.Ended() || (busy_ && !waitsForABusyHandler)) return;
    busy_ = true;
    tasks_.push_back(std::move(task));
  }
  wake_.WakeAll();
}

void DriverThread::Run() {
  // The automation objects are apartment-threaded, on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Guarded([&] {
    const auto objects = platform::windows::MakeObjects();
    const auto kernel = platform::windows::MakeKernel();
    platform::Platform machine{*objects, *kernel, windows_};
    app::Kelvane kelvane(machine);
    kelvane.Start();
    for (;;) {
      Task task;
      {
        Held lock(mutex_);
        wake_.Wait(mutex_, [&] { return stopping_ || !tasks_.empty(); });
        if (tasks_.empty()) break;
        task = std::move(tasks_.front());
        tasks_.pop_front();
      }
      // The start, or an event before this one, may have ended the tool.
      if (!windows_.Ended()) Guarded([&] { task(kelvane); });
      Held lock(mutex_);
      if (windows_.Ended()) tasks_.clear();
      busy_ = !tasks_.empty();
    }
  });
  if (SUCCEEDED(com)) CoUninitialize();
  Held lock(mutex_);
  finished_ = true;
}

void DriverThread::Guarded(const std::function<void()>& work) {
  try {
    work();
  } catch (...) {
    platform::windows::ui::ShowFailureAndEnd(windows_, std::current_exception());
  }
}

}  // namespace kelvane::program
