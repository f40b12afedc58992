#include "program/windows/window_thread_calls.h"

#include <exception>

#include "platform/windows/win_error.h"

namespace kelvane::program {

namespace {

constexpr wchar_t kReceiverClass[] = L"Kelvane2010WindowThreadCalls";
constexpr UINT kCallMessage = WM_APP + 1;

struct Request {
  const std::function<void()>* operation;
  std::exception_ptr failure;
};

}  // namespace

WindowThreadCalls::WindowThreadCalls() : windowThread_(GetCurrentThreadId()) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW receiver{};
  receiver.cbSize = sizeof receiver;
  receiver.lpfnWndProc = &WindowThreadCalls::Procedure;
  receiver.hInstance = instance;
  receiver.lpszClassName = kReceiverClass;
  if (!RegisterClassExW(&receiver) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) throw platform::windows::LastWin32Error();
  receiver_ = CreateWindowExW(0, kReceiverClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (!receiver_) throw platform::windows::LastWin32Error();
}

WindowThreadCalls::~WindowThreadCalls() { DestroyWindow(receiver_); }

void WindowThreadCalls::Attach(WindowsWindowSystem& windows) {
  {
    Held lock(mutex_);
    windows_ = &windows;
  }
  attached_.WakeAll();
}

void WindowThreadCalls::Close() {
  {
    Held lock(mutex_);
    closed_ = true;
  }
  attached_.WakeAll();
}

WindowsWindowSystem& WindowThreadCalls::Windows() { return *windows_; }

void WindowThreadCalls::Show(Window window) { Call([&] { Windows().Show(window); }); }
void WindowThreadCalls::Hide(Window window) { Call([&] { Windows().Hide(window); }); }
void WindowThreadCalls::SetCompletionText(const std::string& text) {
  Call([&] { Windows().SetCompletionText(text); });
}

void WindowThreadCalls::SetProgressCaption(const std::string& text) {
  Call([&] { Windows().SetProgressCaption(text); });
}
void WindowThreadCalls::RepaintProgress() { Call([&] { Windows().RepaintProgress(); }); }
void WindowThreadCalls::ShowErrorBox(const std::string& title, const std::string& text) {
  Call([&] { Windows().ShowErrorBox(title, text); });
}
void WindowThreadCalls::EndTool(int exitCode) {
  ended_ = true;
  Call([&] { Windows().EndTool(exitCode); });
}

void WindowThreadCalls::Call(const std::function<void()>& operation) {
  if (GetCurrentThreadId() == windowThread_) {
    operation();
    return;
  }
  {
    Held lock(mutex_);
    attached_.Wait(mutex_, [&] { return windows_ != nullptr || closed_; });
  }
  if (closed_) return;
  Request request{&operation, nullptr};
  // Returns once the window thread has run the operation; 0 only when the
  // receiver is gone with the window thread's end, when there is nothing
  // left to show.
  if (!SendMessageW(receiver_, kCallMessage, 0, reinterpret_cast<LPARAM>(&request))) return;
  if (request.failure) std::rethrow_exception(request.failure);
}

LRESULT CALLBACK WindowThreadCalls::Procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kCallMessage) return DefWindowProcW(handle, message, wParam, lParam);
  auto& request = *reinterpret_cast<Request*>(lParam);
  // Nothing thrown may cross the window procedure: it goes back to the caller.
  try {
    (*request.operation)();
  } catch (...) {
    request.failure = std::current_exception();
  }
  return 1;
}

}  // namespace kelvane::program
