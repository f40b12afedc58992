#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/interface/window_system.h"
#include "platform/shared/window_model.h"
#include "platform/windows/ui/gdi_handle.h"
#include "platform/windows/ui/picture.h"

namespace kelvane::platform::windows::ui {

// The three windows as Win32 top-level windows, rendered from the window
// model, on the thread that creates this object (COM initialised there, for
// the pictures). The main window is created here; the others the first time
// they are needed. Clicks and close requests go to the events object while
// the message loop, or any modal loop, dispatches them.
class WindowsWindowSystem final : public WindowSystem {
 public:
  explicit WindowsWindowSystem(HINSTANCE instance);
  ~WindowsWindowSystem() override;
  WindowsWindowSystem(const WindowsWindowSystem&) = delete;
  WindowsWindowSystem& operator=(const WindowsWindowSystem&) = delete;

  void SetEvents(WindowEvents* events) { events_ = events; }

  // Dispatches messages until EndTool; returns the process's exit code.
  int RunMessageLoop();
  bool Ended() const { return ended_; }

  void Show(Window window) override;
  void Hide(Window window) override;
  void SetProgressCaption(const std::string& text) override;
  void RepaintProgress() override;
  void SetCompletionText(const std::string& text) override;
  void ShowErrorBox(const std::string& title, const std::string& text) override;
  void EndTool(int exitCode) override;
  using WindowSystem::EndTool;

  // The window's handle, or null while it does not exist (or after EndTool).
  HWND HandleOf(Window window) const;
  // A control's handle by its model name, or null.
  HWND ControlOf(Window window, std::string_view name) const;

 private:
  struct Form {
    const platform::WindowModel* model = nullptr;
    HWND handle = nullptr;
    std::vector<HWND> controls;  // parallel to model->controls; null for a line
    HWND lastFocus = nullptr;    // the control that had the focus when the window was left
  };

  Form& Ensure(Window window);
  void Create(Form& form);
  HWND HiddenOwner();
  HFONT FontFor(const platform::Font& font);
  const Picture& PictureFor(platform::Picture picture);
  Form* FormOf(HWND handle);
  const platform::ControlModel* ControlModelOf(const Form& form, HWND control) const;

  static LRESULT CALLBACK Procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(Form& form, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(const Form& form);
  void FocusControlOf(Form& form);
  void DrawControl(const Form& form, const DRAWITEMSTRUCT& item);

  HINSTANCE instance_;
  int dpi_;
  WindowEvents* events_ = nullptr;
  bool ended_ = false;
  int exitCode_ = 0;
  std::array<Form, 3> forms_;
  HWND hiddenOwner_ = nullptr;
  std::vector<std::pair<LOGFONTW, GdiHandle<HFONT>>> fonts_;
  std::map<platform::Picture, Picture> pictures_;
};

}  // namespace kelvane::platform::windows::ui
