#pragma once

#include <string>

#include "platform/interface/platform.h"

namespace kelvane::restart {

// The tool's own folder under the machine's Program Files: the copy of the
// tool that the Startup shortcut starts, and the record that a resumed run is
// due. Only administrators can write there, so neither can be planted or
// replaced by an ordinary process before the next log-on.
class ResumePlace {
 public:
  // The folder as the shell expands the machine's Program Files; fails when
  // the expansion does.
  explicit ResumePlace(platform::Shell& shell);

  const std::string& folder() const { return folder_; }
  std::string Record() const;
  // Where the copy of the executable at `executablePath` lies.
  std::string CopyOf(const std::string& executablePath) const;
  // Whether the executable is a copy in this folder: the tool started from
  // its Startup shortcut.
  bool Holds(const std::string& executablePath) const;

  bool ResumeDue(platform::FileSystem& fso) const;
  // Copies the executable into the folder (unless it runs from there
  // already) and returns the copy's path. Every failure goes to the caller.
  std::string InstallCopy(platform::FileSystem& fso, const std::string& executablePath) const;
  // The record names the user who pressed Go (a SID; empty: nobody), so
  // that only that user's log-on finishes the run as the user's own.
  void RecordResume(platform::FileSystem& fso, const std::string& userSid) const;
  // The user the record names; empty when it names nobody or cannot be read.
  std::string RecordedUser(platform::FileSystem& fso) const;
  // Deletes the record, then the folder with the copy; what is in use (the
  // copy that is running) goes at the next restart. Failures are skipped.
  void Remove(platform::FileSystem& fso) const;

 private:
  std::string programFiles_;
  std::string folder_;
};

}  // namespace kelvane::restart
