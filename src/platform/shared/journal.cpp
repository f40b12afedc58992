#include "platform/shared/journal.h"

#include "platform/shared/error_box.h"

namespace kelvane::platform {

namespace {
thread_local Journal* current = nullptr;
}  // namespace

void Note(std::string_view kind, const std::string& text) {
  if (current) current->Note(kind, text);
}

void Note(std::string_view kind, const std::vector<std::string>& fields) {
  if (current) current->Note(kind, fields);
}

void Journal::Note(std::string_view kind, const std::vector<std::string>& fields) {
  std::string text;
  for (const auto& field : fields) text += (text.empty() ? "" : " ") + field;
  Note(kind, text);
}

void NoteSkipped(const Error& error) {
  const std::string failure = ErrorNumberText(error) + " " + error.description();
  if (error.operation().empty()) {
    Note("skipped", failure);
  } else {
    Note("skipped", std::vector<std::string>{error.operation(), error.argument(), failure});
  }
}

JournalScope::JournalScope(Journal& journal) : previous_(current) { current = &journal; }

JournalScope::~JournalScope() { current = previous_; }

}  // namespace kelvane::platform
