#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/interface/platform.h"
#include "platform/shared/journal.h"

namespace kelvane::app {

// The run's journal: every note as a line of the log an administrator asked
// for ("TIME<TAB>KIND<TAB>TEXT", the time in UTC), and a count of what was
// handed to the next restart (and what), and of the Installer's requests for
// one.
class RunLog final : public platform::Journal {
 public:
  explicit RunLog(platform::Kernel& kernel) : kernel_(kernel) {}

  // Opens the log once, for appending; fails as the file system does.
  void Open(platform::FileSystem& fso, const std::string& path);
  // For an unattended run that names no log: a new one in the system's
  // temporary folder, "Kelvane2010-YYYYMMDDTHHMMSSZ-PID.log" (another name
  // when that is taken), its path its first line. The path, or nothing when
  // none could be made: the run goes on without.
  std::optional<std::string> OpenDefault(platform::FileSystem& fso);
  void Note(std::string_view kind, const std::string& text) override;
  void Note(std::string_view kind, const std::vector<std::string>& fields) override;

  int handedToRestart() const { return static_cast<int>(handedToRestart_.size()); }
  int installerRestartsNeeded() const { return installerRestartsNeeded_; }
  // Whether the path is, or lies below, one handed to the next restart
  // (compared as Windows compares paths, without regard to ASCII case).
  bool HandedToRestart(std::string_view path) const;

 private:
  platform::Kernel& kernel_;
  std::unique_ptr<platform::TextStream> stream_;
  std::vector<std::string> handedToRestart_;
  int installerRestartsNeeded_ = 0;
};

}  // namespace kelvane::app
