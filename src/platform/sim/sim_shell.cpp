#include "platform/sim/sim_shell.h"

#include "platform/sim/command_interpreter.h"
#include "platform/sim/image/atomic_write.h"
#include "platform/sim/image/shell_link.h"
#include "platform/sim/windows_errors.h"

namespace kelvane::platform::sim {

namespace {

class SimShortcut final : public platform::Shortcut {
 public:
  SimShortcut(Machine& machine, std::string path) : machine_(machine), path_(std::move(path)) {}
  void SetTargetPath(const std::string& targetPath) override {
    machine_.Check(Operation::SetTargetPath, targetPath, UnspecifiedError());
    link_.targetPath = targetPath;
  }
  void SetWindowStyle(std::int16_t windowStyle) override {
    machine_.Check(Operation::SetWindowStyle, std::to_string(windowStyle), UnspecifiedError());
    link_.showCommand = static_cast<std::uint32_t>(windowStyle);
  }
  // Replaces a shortcut of the same name; the folder must exist and be
  // writable, as the shell needs it.
  void Save() override {
    machine_.Check(Operation::Save, path_, AccessDenied());
    const auto parsed = ParseWindowsPath(path_);
    const auto place = parsed ? machine_.drive().PlaceFor(*parsed) : std::nullopt;
    if (!place) throw PathNotFound();
    if (Drive::IsReadOnly(place->host.parent_path()) || Drive::IsReadOnly(place->host) || Drive::IsFolder(*place)) {
      throw AccessDenied();
    }
    WriteFileAtomically(place->host, WriteShellLink(link_));
    machine_.log().Append({"shortcut", path_, link_.targetPath, std::to_string(link_.showCommand)});
  }

 private:
  Machine& machine_;
  std::string path_;
  ShellLink link_;
};

class SimShell final : public platform::Shell {
 public:
  explicit SimShell(Machine& machine) : machine_(machine) {}

  std::string ExpandEnvironmentStrings(const std::string& text) override {
    machine_.Check(Operation::ExpandEnvironmentStrings, text, UnspecifiedError());
    return machine_.Expand(text);
  }
  std::unique_ptr<platform::Process> run(const std::string& command) override {
    machine_.Check(Operation::run, command, FileNotFound());
    return StartCommand(machine_, command, [&] { machine_.log().Append({"run", command}); });
  }
  void run(const std::string& address, std::int16_t windowStyle) override {
    machine_.Check(Operation::run, address, NoAssociation());
    // A document on the drive must be there; an address always has a handler.
    if (ParseWindowsPath(address) && !machine_.drive().Find(address)) throw FileNotFound();
    machine_.log().Append({"open", address, std::to_string(windowStyle)});
  }
  std::unique_ptr<platform::Shortcut> CreateShortcut(const std::string& linkPath) override {
    machine_.Check(Operation::CreateShortcut, linkPath, UnspecifiedError());
    return std::make_unique<SimShortcut>(machine_, linkPath);
  }

 private:
  Machine& machine_;
};

}  // namespace

std::unique_ptr<platform::Shell> MakeShell(Machine& machine) { return std::make_unique<SimShell>(machine); }

}  // namespace kelvane::platform::sim
