#include "restart/resume_place.h"

#include <vector>

#include "common/paths.h"
#include "common/resume_state.h"
#include "files/restart_deletion.h"
#include "platform/shared/skip_if_fails.h"

namespace kelvane::restart {

using platform::Require;
using platform::SkipIfFails;

ResumePlace::ResumePlace(platform::Shell& shell)
    : programFiles_(shell.ExpandEnvironmentStrings(kProgramFilesReference)), folder_(programFiles_ + kToolFolderTail) {}

std::string ResumePlace::Record() const { return folder_ + "\\" + kResumeRecordName; }

std::string ResumePlace::CopyOf(const std::string& executablePath) const {
  return folder_ + "\\" + std::string(LeafName(executablePath));
}

bool ResumePlace::Holds(const std::string& executablePath) const { return IsDirectlyIn(executablePath, folder_); }

bool ResumePlace::ResumeDue(platform::FileSystem& fso) const { return fso.FileExists(Record()); }

std::string ResumePlace::InstallCopy(platform::FileSystem& fso, const std::string& executablePath) const {
  fso.CreateFolder(folder_);
  const std::string copy = CopyOf(executablePath);
  if (!SamePath(copy, executablePath)) fso.CopyFile(executablePath, copy);
  return copy;
}

void ResumePlace::RecordResume(platform::FileSystem& fso, const std::string& userSid) const {
  const auto record = fso.OpenTextFile(Record(), platform::kForWriting, true);
  Require(record).WriteLine(kResumeRecordText);
  record->WriteLine(std::string(kResumeRecordUser) + userSid);
  record->Close();
}

std::string ResumePlace::RecordedUser(platform::FileSystem& fso) const {
  std::string text;
  SkipIfFails([&] { text = Require(fso.OpenTextFile(Record(), platform::kForReading, false)).ReadAll(); });
  const auto at = text.find(kResumeRecordUser);
  if (at == std::string::npos) return {};
  const auto start = at + std::string_view(kResumeRecordUser).size();
  const auto end = text.find_first_of("\r\n", start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

void ResumePlace::Remove(platform::FileSystem& fso) const {
  // The record first: whatever else stays, the next start is a first run.
  SkipIfFails([&] { fso.DeleteFile(Record()); });
  std::unique_ptr<platform::Folder> folder;
  SkipIfFails([&] { folder = fso.GetFolder(folder_); });
  // A running copy cannot go while it runs: the system deletes it, then the
  // folder, when the machine next starts.
  if (folder) files::DeleteNowOrAtRestart(fso, files::RestartRoots({programFiles_}), *folder);
}

}  // namespace kelvane::restart
