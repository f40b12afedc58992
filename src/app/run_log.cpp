#include "app/run_log.h"

#include "common/text.h"
#include "platform/interface/error.h"

namespace kelvane::app {

void RunLog::Open(platform::FileSystem& fso, const std::string& path) { stream_ = fso.OpenLog(path); }

void RunLog::Note(std::string_view kind, const std::string& text) {
  if (kind == platform::kDeletedAtRestart) ++handedToRestart_;
  if (!stream_) return;
  // A log that cannot be written any more must not stop the removal.
  try {
    stream_->WriteLine(kernel_.UtcTime() + "\t" + TabField(kind) + "\t" + TabField(text));
  } catch (const platform::Error&) {
  }
}

}  // namespace kelvane::app
