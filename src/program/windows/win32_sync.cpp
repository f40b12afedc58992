#include "program/windows/win32_sync.h"

#include <process.h>

#include "platform/windows/win_error.h"

namespace kelvane::program {

Thread::Thread(std::function<void()> body) : body_(std::move(body)) {
  // The C runtime's own start, so that its per-thread state is there.
  handle_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Thread::Start, this, 0, nullptr));
  if (!handle_) throw platform::windows::LastWin32Error();
}

void Thread::Join() {
  if (!handle_) return;
  WaitForSingleObject(handle_, INFINITE);
  CloseHandle(handle_);
  handle_ = nullptr;
}

unsigned __stdcall Thread::Start(void* self) {
  static_cast<Thread*>(self)->body_();
  return 0;
}

}  // namespace kelvane::program
