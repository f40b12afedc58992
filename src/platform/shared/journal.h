#pragma once

#include <string>
#include <string_view>

namespace kelvane::platform {

// What a run did, for the log an administrator reads: the driver sets one for
// the thread the phases run on, and the phases and helpers note into it. With
// none set, a note goes nowhere.
class Journal {
 public:
  virtual ~Journal() = default;
  // One thing done: a kind ("progress", "skipped", "uninstall",
  // "delete at restart", ...) and what it was.
  virtual void Note(std::string_view kind, const std::string& text) = 0;
};

// The kind of note for an item handed to the next start to delete: the run
// counts them to know whether a restart is left to finish it.
inline constexpr std::string_view kDeletedAtRestart = "delete at restart";

// The kind of note for a product whose uninstall the Installer finished but
// that needs a restart (its status 3010): the unattended run exits 3010 then.
inline constexpr std::string_view kInstallerRestartNeeded = "installer restart";

// Notes into the running thread's journal, if it has one.
void Note(std::string_view kind, const std::string& text);
class Error;
void NoteSkipped(const Error& error);

// Sets the journal of the running thread for as long as it lives.
class JournalScope {
 public:
  explicit JournalScope(Journal& journal);
  ~JournalScope();
  JournalScope(const JournalScope&) = delete;
  JournalScope& operator=(const JournalScope&) = delete;

 private:
  Journal* previous_;
};

}  // namespace kelvane::platform
