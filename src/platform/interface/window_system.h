#pragma once

#include <string>

namespace kelvane::platform {

// The tool's three top-level windows.
enum class Window { Kelvane, Loading, Complete };

// The controls whose clicks the tool handles.
enum class Control { btnGo, Label2, Finish, Picture1 };

// What the window system reports to the tool, on the user-interface thread.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  virtual void Clicked(Control control) = 0;
  virtual void CloseRequested(Window window) = 0;
};

// The windows as the driver and the phases use them. A window is created the
// first time it is shown, and hidden windows keep their contents.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // Shows a window modeless and without an owner; returns at once.
  virtual void Show(Window window) = 0;
  virtual void Hide(Window window) = 0;
  // The progress line, lblLoading on Loading.
  virtual void SetProgressCaption(const std::string& text) = 0;
  virtual void RepaintProgress() = 0;
  // The completion label, lblComplete on Complete: what the run found at its
  // end. A window system without the completion window has nothing to set.
  virtual void SetCompletionText(const std::string& /*text*/) {}
  // A message box; returns when the user has closed it.
  virtual void ShowErrorBox(const std::string& title, const std::string& text) = 0;
  // Ends the tool: every window closes and no further event arrives; the
  // process ends with the exit code.
  virtual void EndTool(int exitCode) = 0;
  void EndTool() { EndTool(0); }
};

}  // namespace kelvane::platform
