#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "common/ascii_case.h"
#include "platform/shared/edition_views.h"

namespace kelvane::files {

// Every folder, file and cache rule the file phase and the resumed run's
// program folder delete, with what a step needs to know. RemoveFiles,
// RemoveProgramFolder and the inventory all walk this list, so what is
// removed and what /check and report list cannot disagree.

enum class StepKind {
  Folder,  // one folder, deleted whole
  File,    // one file
  Caches,  // every folder directly below the path that IsOffice2010Cache takes
};

// Whose it is, and so whose rights delete it: the machine's with the
// administrator's, the user's own with the user's (impersonated).
enum class Owner { Machine, User };

// Which runs delete it: the file phase (the first run, the resumed run and the
// unattended pass alike), or the Office14 program folder, which Office's
// uninstallation leaves until the restart (the resumed run and the unattended
// pass).
enum class Runs { FilePhase, ProgramFolder };

// How the progress line announces it: "Removing PATH", "Removing: PATH", or
// not at all.
enum class ProgressStyle { None, Plain, Colon };

struct FileStep {
  StepKind kind;
  // What the path begins with, passed to the shell to expand as spelt here;
  // empty when the tail is the whole path.
  std::string_view reference;
  std::string_view tail;
  Owner owner;
  Runs runs;
  ProgressStyle progress;
  // Stays while another Office is installed: the Source Engine serves them
  // all, and Word and Outlook 2013 and later keep the user's styles, macros
  // and AutoText in the same templates.
  bool keptWhileAnotherOffice = false;

  // What stays of it because it is in use may be handed to the next restart:
  // only what lies below the system's Program Files folders, where only
  // administrators can change a folder on the way. The system deletes at
  // start-up as SYSTEM, and would follow a link planted meanwhile in the
  // user's own folders, or in C:\MSOCache, which any user may have made.
  constexpr bool HandedToRestartInUse() const {
    return owner == Owner::Machine && platform::DiffersByView(reference);
  }

  // The path, its reference expanded by expand(reference).
  template <class Expand>
  std::string PathWith(Expand&& expand) const {
    return (reference.empty() ? std::string() : std::string(expand(reference))) + std::string(tail);
  }

  // What lies in Program Files lies in each edition's view of it.
  bool InEachEditionView() const { return platform::DiffersByView(reference); }

  // The step's paths, one per view it lies in, the 32-bit view's first: the
  // program's own view through expand(reference), as always; the other view
  // of a 64-bit Windows from that view's folders.
  template <class Expand>
  std::vector<std::string> PathsIn(const std::vector<platform::EditionView>& editions, Expand&& expand) const {
    std::vector<std::string> paths;
    for (const platform::EditionView& view : editions) {
      if (view.registry == platform::RegistryView::Program) {
        paths.push_back(PathWith(expand));
      } else if (InEachEditionView()) {
        paths.push_back(platform::InView(view, std::string(reference)) + std::string(tail));
      }
    }
    return paths;
  }

  // The text the progress line shows for the path, as it always has.
  std::string ProgressText(const std::string& path) const {
    return (progress == ProgressStyle::Colon ? "Removing: " : "Removing ") + path;
  }
};

inline constexpr const char* kSourceEngineFolder = "Source Engine";

// Where the installation caches are, and the ending that makes a folder there
// one of Office's.
inline constexpr const char* kCacheRoot = "C:\\MSOCache\\All Users";
inline constexpr const char* kCacheSuffix = "0FF1CE}-C";

// The resumed run's program folder, as the batch file names it too.
inline constexpr const char* kProgramFolder = "%programfiles%\\Microsoft Office\\Office14";

// In the order the steps run and the inventory lists them.
inline constexpr std::array<FileStep, 8> kFilePlan{{
    {.kind = StepKind::Folder, .reference = kProgramFolder, .tail = "", .owner = Owner::Machine,
     .runs = Runs::ProgramFolder, .progress = ProgressStyle::None},
    {.kind = StepKind::Folder, .reference = "%CommonProgramFiles%", .tail = "\\Microsoft Shared\\Office14",
     .owner = Owner::Machine, .runs = Runs::FilePhase, .progress = ProgressStyle::Plain},
    {.kind = StepKind::Folder, .reference = "%CommonProgramFiles%", .tail = "\\Microsoft Shared\\Source Engine",
     .owner = Owner::Machine, .runs = Runs::FilePhase, .progress = ProgressStyle::Plain,
     .keptWhileAnotherOffice = true},
    {.kind = StepKind::Folder, .reference = "%AllUsersprofile%", .tail = "\\Start Menu\\Programs\\Microsoft Office\\",
     .owner = Owner::Machine, .runs = Runs::FilePhase, .progress = ProgressStyle::Plain},
    // The batch file is written just before this step, as it always was.
    {.kind = StepKind::Caches, .reference = "", .tail = kCacheRoot, .owner = Owner::Machine,
     .runs = Runs::FilePhase, .progress = ProgressStyle::Colon},
    {.kind = StepKind::File, .reference = "%appdata%", .tail = "\\Microsoft\\Templates\\Normal.dotm",
     .owner = Owner::User, .runs = Runs::FilePhase, .progress = ProgressStyle::Colon, .keptWhileAnotherOffice = true},
    {.kind = StepKind::File, .reference = "%appdata%", .tail = "\\Microsoft\\Templates\\Normalemail.dotm",
     .owner = Owner::User, .runs = Runs::FilePhase, .progress = ProgressStyle::Colon, .keptWhileAnotherOffice = true},
    {.kind = StepKind::File, .reference = "%appdata%",
     .tail = "\\Microsoft\\document building blocks\\1033\\Building Blocks.dotx", .owner = Owner::User,
     .runs = Runs::FilePhase, .progress = ProgressStyle::Colon, .keptWhileAnotherOffice = true},
}};

static_assert(!kFilePlan[4].HandedToRestartInUse() && kFilePlan[0].HandedToRestartInUse(),
              "the caches lie where any user can change a folder; the program folder does not");

}  // namespace kelvane::files
