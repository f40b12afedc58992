#include "app/run_log.h"

#include <algorithm>

#include "common/ascii_case.h"
#include "common/text.h"
#include "platform/interface/error.h"

namespace kelvane::app {

bool RunLog::HandedToRestart(std::string_view path) const {
  for (const std::string& handed : handedToRestart_) {
    if (path.size() < handed.size() || !SameIgnoringAsciiCase(path.substr(0, handed.size()), handed)) continue;
    if (path.size() == handed.size() || path[handed.size()] == '\\' || handed.ends_with('\\')) return true;
  }
  return false;
}

void RunLog::Open(platform::FileSystem& fso, const std::string& path) { stream_ = fso.OpenLog(path, false); }

std::optional<std::string> RunLog::OpenDefault(platform::FileSystem& fso) {
  try {
    // The system's own folders: the Installer's folder lies in the Windows
    // folder, whose Temp only administrators can change what is in.
    const std::string installer = fso.InstallerFolder();
    const auto cut = installer.find_last_of('\\');
    if (cut == std::string::npos) return std::nullopt;
    std::string stamp;
    for (char c : kernel_.UtcTime().substr(0, 19)) {
      if (c != '-' && c != ':') stamp += c;
    }
    const std::string stem =
        installer.substr(0, cut) + "\\Temp\\Kelvane2010-" + stamp + "Z-" + std::to_string(kernel_.ProcessId());
    for (int attempt = 1; attempt <= 9; ++attempt) {
      std::string path = stem;
      if (attempt > 1) path.append("-").append(std::to_string(attempt));
      path.append(".log");
      // Anything already at a name (a file, a folder, a link any user may
      // have made in that folder) is passed by for the next one.
      try {
        stream_ = fso.OpenLog(path, true);
      } catch (const platform::Error&) {
        continue;
      }
      Note("log", path);
      return path;
    }
  } catch (const platform::Error&) {
  }
  return std::nullopt;
}

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
