#pragma once

#include <memory>
#include <string>

#include "platform/interface/platform.h"
#include "platform/shared/journal.h"

namespace kelvane::app {

// The run's journal: every note as a line of the log an administrator asked
// for ("TIME<TAB>KIND<TAB>TEXT", the time in UTC), and a count of what was
// handed to the next restart.
class RunLog final : public platform::Journal {
 public:
  explicit RunLog(platform::Kernel& kernel) : kernel_(kernel) {}

  // Opens the log once, for appending; fails as the file system does.
  void Open(platform::FileSystem& fso, const std::string& path);
  void Note(std::string_view kind, const std::string& text) override;
  void Note(std::string_view kind, const std::vector<std::string>& fields) override;

  int handedToRestart() const { return handedToRestart_; }

 private:
  platform::Kernel& kernel_;
  std::unique_ptr<platform::TextStream> stream_;
  int handedToRestart_ = 0;
};

}  // namespace kelvane::app
