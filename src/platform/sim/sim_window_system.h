#pragma once

#include <set>
#include <string>

#include "platform/interface/window_system.h"
#include "platform/sim/machine.h"

namespace kelvane::platform::sim {

// The three windows as state the host can look at, each change logged to
// events.log. The message box is closed by the user at once.
class SimWindowSystem final : public platform::WindowSystem {
 public:
  explicit SimWindowSystem(Machine& machine) : machine_(machine) {}

  void Show(platform::Window window) override;
  void Hide(platform::Window window) override;
  void SetProgressCaption(const std::string& text) override;
  void RepaintProgress() override;
  void SetCompletionText(const std::string& text) override;
  void ShowErrorBox(const std::string& title, const std::string& text) override;
  void EndTool(int exitCode) override;

  bool IsVisible(platform::Window window) const { return visible_.count(window) > 0; }
  const std::set<platform::Window>& visible() const { return visible_; }
  const std::string& progressCaption() const { return progressCaption_; }
  bool ended() const { return ended_; }
  int exitCode() const { return exitCode_; }

 private:
  Machine& machine_;
  std::set<platform::Window> visible_;
  std::string progressCaption_ = "Loading Please Wait...";
  bool ended_ = false;
  int exitCode_ = 0;
};

}  // namespace kelvane::platform::sim
