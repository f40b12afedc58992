#include "platform/recording/recording_shell.h"

#include "platform/interface/error.h"
#include "platform/recording/recording_platform.h"
#include "platform/shared/environment_references.h"

namespace kelvane::platform::recording {

namespace {

// The program a command line starts: its first word, quotes dropped.
std::string Program(const std::string& command) {
  if (!command.empty() && command[0] == '"') return command.substr(1, command.find('"', 1) - 1);
  return command.substr(0, command.find(' '));
}

class RecordingProcess final : public platform::Process {
 public:
  RecordingProcess(RecordingPlatform& recorder, std::string command) : recorder_(recorder), command_(std::move(command)) {}
  bool WaitForExit(unsigned timeoutMilliseconds) override {
    recorder_.Record("WaitForExit " + std::to_string(timeoutMilliseconds));
    recorder_.Check(Operation::WaitForExit, command_);
    return true;
  }

 private:
  RecordingPlatform& recorder_;
  std::string command_;
};

class RecordingShortcut final : public platform::Shortcut {
 public:
  RecordingShortcut(RecordingPlatform& recorder, std::string path) : recorder_(recorder), path_(std::move(path)) {}
  void SetTargetPath(const std::string& targetPath) override {
    recorder_.Record("TargetPath " + targetPath);
    recorder_.Check(Operation::SetTargetPath, targetPath);
    target_ = targetPath;
  }
  void SetWindowStyle(std::int16_t windowStyle) override {
    recorder_.Record("WindowStyle " + std::to_string(windowStyle));
    recorder_.Check(Operation::SetWindowStyle, std::to_string(windowStyle));
    style_ = windowStyle;
  }
  void Save() override {
    recorder_.Record("Save " + path_);
    recorder_.Check(Operation::Save, path_);
    auto& machine = recorder_.machine;
    const auto folder = machine.folders.find(Parent(path_));
    if (folder == machine.folders.end()) throw PathNotFound(path_);
    if (folder->second) throw PermissionDenied(path_);
    machine.files[path_] = RecordedFile{target_ + "|" + std::to_string(style_), false};
  }

 private:
  RecordingPlatform& recorder_;
  std::string path_;
  std::string target_;
  int style_ = 1;
};

class RecordingShell final : public platform::Shell {
 public:
  explicit RecordingShell(RecordingPlatform& recorder) : recorder_(recorder) {}

  std::string ExpandEnvironmentStrings(const std::string& text) override {
    recorder_.Record("ExpandEnvironmentStrings " + text);
    recorder_.Check(Operation::ExpandEnvironmentStrings, text);
    const auto& environment = recorder_.machine.environment;
    return platform::ExpandReferences(text, [&](std::string_view name) -> std::optional<std::string> {
      const auto value = environment.find(std::string(name));
      return value == environment.end() ? std::nullopt : std::optional<std::string>(value->second);
    });
  }

  std::unique_ptr<platform::Process> run(const std::string& command) override {
    recorder_.Record("run " + command);
    recorder_.Check(Operation::run, command);
    RequireFileNamed(Program(command));
    return std::make_unique<RecordingProcess>(recorder_, command);
  }

  void run(const std::string& address, std::int16_t windowStyle) override {
    recorder_.Record("open " + address + " | " + std::to_string(windowStyle));
    recorder_.Check(Operation::run, address);
    if (recorder_.machine.desktopShellGone && address.find(':') > 1) {
      throw platform::Error(platform::kCannotOpenAsUser, "The request is not supported.");
    }
    RequireFileNamed(address);
  }

  std::unique_ptr<platform::Shortcut> CreateShortcut(const std::string& linkPath) override {
    recorder_.Record("CreateShortcut " + linkPath);
    recorder_.Check(Operation::CreateShortcut, linkPath);
    return std::make_unique<RecordingShortcut>(recorder_, linkPath);
  }

 private:
  // A program or document named by its full path must be there; a name the
  // system looks up ("net", "shutdown") or an address is always found.
  void RequireFileNamed(const std::string& path) const {
    if (path.find(":\\") == 1 && !recorder_.machine.HasFile(path)) throw NotFound(path);
  }

  RecordingPlatform& recorder_;
};

}  // namespace

std::unique_ptr<platform::Shell> MakeRecordingShell(RecordingPlatform& recorder) {
  return std::make_unique<RecordingShell>(recorder);
}

}  // namespace kelvane::platform::recording
