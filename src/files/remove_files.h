#pragma once

#include <string_view>

#include "platform/interface/platform.h"

namespace kelvane::files {

// How the file phase goes about it: the windowed tool leaves the batch file
// for its resumed run and what is in use as it is; the unattended removal,
// which has no resumed run, hands what is in use in the machine's own folders to
// the next restart (never the user's own: the system deletes at start-up as
// SYSTEM, and would follow a link planted there meanwhile).
struct FileRemoval {
  bool writeBatchFile = true;
  bool handInUseToRestart = false;
};
inline constexpr FileRemoval kWindowedRemoval{};
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

// What the phase deletes, each below a folder the shell's reference names
// (the references spelt as the phase passes them to the shell).
inline constexpr const char* kCommonFilesReference = "%CommonProgramFiles%";
inline constexpr const char* kSharedTail = "\\Microsoft Shared\\";
inline constexpr const char* kSourceEngineFolder = "Source Engine";  // stays while another Office is installed
inline constexpr const char* kSharedFolders[] = {"Office14", kSourceEngineFolder};
inline constexpr const char* kStartMenuReference = "%AllUsersprofile%";
inline constexpr const char* kStartMenuGroupTail = "\\Start Menu\\Programs\\Microsoft Office\\";
inline constexpr const char* kAppDataReference = "%appdata%";
inline constexpr const char* kTemplateTails[] = {
    "\\Microsoft\\Templates\\Normal.dotm",
    "\\Microsoft\\Templates\\Normalemail.dotm",
    "\\Microsoft\\document building blocks\\1033\\Building Blocks.dotx",
};

// Where the installation caches are, and the ending that makes a folder there
// one of Office's.
inline constexpr const char* kCacheRoot = "C:\\MSOCache\\All Users";
inline constexpr const char* kCacheSuffix = "0FF1CE}-C";
// Whether the sweep deletes the cache folder: Office's, and not another Office's.
bool IsOffice2010Cache(std::string_view path);

// The batch file's two lines: they name the Office14 program folder the
// resumed run removes. The reference stays unexpanded, as for the command
// interpreter.
inline constexpr const char* kBatchLine1 = "@echo off";
inline constexpr const char* kProgramFolder = "%programfiles%\\Microsoft Office\\Office14";
inline constexpr const char* kBatchLine2 = "rd /S /Q \"%programfiles%\\Microsoft Office\\Office14\\\"";
static_assert(std::string_view(kBatchLine2).find(kProgramFolder) != std::string_view::npos,
              "the batch file removes the program folder");

}  // namespace kelvane::files
