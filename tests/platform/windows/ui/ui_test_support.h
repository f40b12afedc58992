#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/interface/window_system.h"
#include "platform/shared/window_model.h"

namespace kelvane::ui_test {

// The built kelvane2010.exe (Windows path), from --program=.
std::wstring& ProgramPath();

// Dispatches whatever is queued for this thread, for a short while.
inline void Pump(DWORD milliseconds = 50) {
  const DWORD start = GetTickCount();
  MSG message;
  do {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(5);
  } while (GetTickCount() - start < milliseconds);
}

inline std::wstring TextOf(HWND window) {
  wchar_t text[512] = L"";
  GetWindowTextW(window, text, 512);
  return text;
}

inline SIZE ClientSizeOf(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return {rect.right, rect.bottom};
}

// A control's rectangle in its parent's client coordinates.
inline RECT RectInParent(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Records the events the windows deliver, in order.
class RecordedEvents final : public platform::WindowEvents {
 public:
  std::vector<std::string> log;
  platform::WindowSystem* endOnFinish = nullptr;
  bool failOnClose = false;

  void Clicked(platform::Control control) override {
    log.push_back("click " + std::string(platform::ControlName(control)));
    if (control == platform::Control::Finish && endOnFinish) endOnFinish->EndTool();
  }
  void CloseRequested(platform::Window window) override {
    log.push_back("close " + std::string(platform::WindowName(window)));
    if (failOnClose) throw std::runtime_error("handler failed");
  }
};

}  // namespace kelvane::ui_test
