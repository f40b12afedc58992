#include "platform/shared/journal.h"

#include "platform/shared/error_box.h"

namespace kelvane::platform {

namespace {
thread_local Journal* current = nullptr;
}  // namespace

void Note(std::string_view kind, const std::string& text) {
  if (current) current->Note(kind, text);
}

void NoteSkipped(const Error& error) { Note("skipped", ErrorNumberText(error) + " " + error.description()); }

JournalScope::JournalScope(Journal& journal) : previous_(current) { current = &journal; }

JournalScope::~JournalScope() { current = previous_; }

}  // namespace kelvane::platform
