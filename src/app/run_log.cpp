#include "app/run_log.h"

#include "common/text.h"
#include "platform/interface/error.h"

namespace kelvane::app {

void RunLog::Open(platform::FileSystem& fso, const std::string& path) { stream_ = fso.OpenLog(path); }

void RunLog::Note(std::string_view kind, const std::string& text) { Note(kind, std::vector<std::string>{text}); }

void RunLog::Note(std::string_view kind, const std::vector<std::string>& fields) {
  if (kind == platform::kDeletedAtRestart) ++handedToRestart_;
  if (!stream_) return;
  std::string line = kernel_.UtcTime() + "\t" + TabField(kind);
  for (const auto& field : fields) line.append("\t").append(TabField(field));
  // A log that cannot be written any more must not stop the removal.
  try {
    stream_->WriteLine(line);
  } catch (const platform::Error&) {
  }
}

}  // namespace kelvane::app
