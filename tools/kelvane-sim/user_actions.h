#pragma once

#include <deque>
#include <iosfwd>
#include <optional>
#include <string>

#include "platform/sim/sim_window_system.h"

namespace kelvane::sim_tool {

// One thing the user does: click a control, or close a window by its close box.
struct UserAction {
  enum class Kind { Click, Close } kind;
  platform::Control control = platform::Control::btnGo;
  platform::Window window = platform::Window::Kelvane;
  std::string text;  // as given, for messages
};

// "btnGo", "Label2", "Finish", "Picture1", "close:Kelvane", "close:Complete",
// "close:Loading"; nothing for anything else.
std::optional<UserAction> ParseUserAction(const std::string& text);

// The window whose control it is, or that it closes.
platform::Window TargetWindow(const UserAction& action);

// Where the user's actions come from.
class User {
 public:
  virtual ~User() = default;
  // The next action for the tool showing these windows; nothing: the user
  // leaves the tool as it is.
  virtual std::optional<UserAction> Next(const platform::sim::SimWindowSystem& windows) = 0;
};

// Actions given on the command line, each taken once it can be.
class ScriptedUser final : public User {
 public:
  explicit ScriptedUser(std::deque<UserAction> actions, std::ostream& notes)
      : actions_(std::move(actions)), notes_(notes) {}
  std::optional<UserAction> Next(const platform::sim::SimWindowSystem& windows) override;
  // Notes every action left over: the tool ended, or never started.
  void ReportUndone();

 private:
  std::deque<UserAction> actions_;
  std::ostream& notes_;
};

// The windows drawn as text, and actions read from the keyboard.
class InteractiveUser final : public User {
 public:
  InteractiveUser(std::istream& in, std::ostream& out) : in_(in), out_(out) {}
  std::optional<UserAction> Next(const platform::sim::SimWindowSystem& windows) override;

 private:
  std::istream& in_;
  std::ostream& out_;
};

}  // namespace kelvane::sim_tool
