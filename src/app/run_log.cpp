#include "app/run_log.h"

#include <algorithm>

#include "common/text.h"
#include "platform/interface/error.h"

namespace kelvane::app {

namespace {

bool SameAsciiFolded(std::string_view a, std::string_view b) {
  const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return fold(x) == fold(y); });
}

}  // namespace

bool RunLog::HandedToRestart(std::string_view path) const {
  for (const std::string& handed : handedToRestart_) {
    if (path.size() < handed.size() || !SameAsciiFolded(path.substr(0, handed.size()), handed)) continue;
    if (path.size() == handed.size() || path[handed.size()] == '\\' || handed.ends_with('\\')) return true;
  }
  return false;
}

void RunLog::Open(platform::FileSystem& fso, const std::string& path) { stream_ = fso.OpenLog(path); }

void RunLog::Note(std::string_view kind, const std::string& text) { Note(kind, std::vector<std::string>{text}); }

void RunLog::Note(std::string_view kind, const std::vector<std::string>& fields) {
  if (kind == platform::kDeletedAtRestart && !fields.empty()) handedToRestart_.push_back(fields.front());
  if (kind == platform::kInstallerRestartNeeded) ++installerRestartsNeeded_;
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
