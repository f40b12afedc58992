#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

#include "platform/interface/window_system.h"
#include "platform/windows/ui/windows_window_system.h"
#include "program/windows/win32_sync.h"

namespace kelvane::program {

using platform::Control;
using platform::Window;
using platform::WindowEvents;
using platform::WindowSystem;
using platform::windows::ui::WindowsWindowSystem;

// The windows as the removal driver's own thread uses them: every call is
// carried to the window thread and has completed there when it returns, so
// the order of texts and the "set, then repaint at once" of the progress line
// stay exactly as the driver makes them, while the window thread goes on
// reading its messages. A failure there is thrown here.
class WindowThreadCalls final : public WindowSystem {
 public:
  // On the window thread, before the windows exist, so that the driver can
  // start its work while they are being created.
  WindowThreadCalls();
  ~WindowThreadCalls() override;
  WindowThreadCalls(const WindowThreadCalls&) = delete;
  WindowThreadCalls& operator=(const WindowThreadCalls&) = delete;

  void Show(Window window) override;
  void Hide(Window window) override;
  void SetProgressCaption(const std::string& text) override;
  void RepaintProgress() override;
  void SetCompletionText(const std::string& text) override;
  void ShowErrorBox(const std::string& title, const std::string& text) override;
  void EndTool(int exitCode) override;

  // The windows, created on the window thread: calls made before wait for them.
  void Attach(WindowsWindowSystem& windows);
  // From now on every call returns at once, as once the tool has ended: the
  // window thread stops reading messages after this.
  void Close();
  // Whether the tool has been ended (EndTool): no further event is handled.
  bool Ended() const { return ended_; }

 private:
  void Call(const std::function<void()>& operation);
  static LRESULT CALLBACK Procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

  WindowsWindowSystem& Windows();

  Lock mutex_;
  Condition attached_;
  WindowsWindowSystem* windows_ = nullptr;
  DWORD windowThread_;
  HWND receiver_;  // a message-only window of the window thread
  std::atomic<bool> closed_{false};
  std::atomic<bool> ended_{false};
};

}  // namespace kelvane::program
