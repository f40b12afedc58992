#pragma once

#include <string_view>

#include "files/file_plan.h"
#include "platform/interface/platform.h"

namespace kelvane::files {

// How the file phase goes about it: the windowed tool leaves the batch file
// for its resumed run and what is in use as it is; the unattended removal,
// which has no resumed run, hands what is in use in the machine's own folders to
// the next restart (never the user's own: the system deletes at start-up as
// SYSTEM, and would follow a link planted there meanwhile).
// A resumed run started by another administrator than the one who pressed
// Go takes only the machine's own: nothing of that user's is theirs to lose.
struct FileRemoval {
  bool writeBatchFile = true;
  bool handInUseToRestart = false;
  bool usersOwn = true;
};
inline constexpr FileRemoval kWindowedRemoval{};
inline constexpr FileRemoval kMachineWideRemoval{.writeBatchFile = false, .usersOwn = false};
inline constexpr FileRemoval kUnattendedRemoval{.writeBatchFile = false, .handInUseToRestart = true};

// Deletes Office's shared folders, its Start-menu group, its cache folders and
// the user's templates, and writes the resume batch file. A failure while it
// sets up goes to the caller; after that every failing step is skipped.
void RemoveFiles(platform::Platform& platform, const FileRemoval& how = kWindowedRemoval);

// The resumed run's first step: deletes the Office14 program folder, which
// Office's uninstallation leaves until the restart, with the administrator's
// rights and through the same deletion as every other folder (the batch
// file, which names it too, lies where anyone can change it and is never
// run). Every failing step is skipped.
void RemoveProgramFolder(platform::Platform& platform, const FileRemoval& how = kWindowedRemoval);

// Whether the sweep deletes the cache folder: Office's, and not another Office's.
bool IsOffice2010Cache(std::string_view path);

// The batch file's two lines: they name the Office14 program folder the
// resumed run removes. The reference stays unexpanded, as for the command
// interpreter.
inline constexpr const char* kBatchLine1 = "@echo off";
inline constexpr const char* kBatchLine2 = "rd /S /Q \"%programfiles%\\Microsoft Office\\Office14\\\"";
static_assert(std::string_view(kBatchLine2).find(kProgramFolder) != std::string_view::npos,
              "the batch file removes the program folder");

}  // namespace kelvane::files
