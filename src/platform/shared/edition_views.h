#pragma once

#include <string>
#include <vector>

#include "common/ascii_case.h"
#include "platform/interface/kernel.h"

namespace kelvane::platform {

// The views Office 2010 may be installed in, the 32-bit one first. Where the
// machine cannot say, the program's own view alone, as on 32-bit Windows,
// and known (when given) is set false.
std::vector<EditionView> MachineEditionViews(Kernel& kernel, bool* known = nullptr);

// A path the plan spells from "%ProgramFiles%" or "%CommonProgramFiles%" in
// the given view: the program's own view leaves it to the shell, as it
// always has; another view's folders replace the reference. Any other
// reference is the same in every view, so only the program's own has it.
std::string InView(const EditionView& view, const std::string& spelt);

// The references the plan spells the two folders that differ by view with.
inline constexpr std::string_view kProgramFilesSpelt = "%ProgramFiles%";
inline constexpr std::string_view kCommonFilesSpelt = "%CommonProgramFiles%";

// Whether the spelling begins with one of them, without regard to case.
constexpr bool DiffersByView(std::string_view spelt) {
  return BeginsIgnoringAsciiCase(spelt, kProgramFilesSpelt) || BeginsIgnoringAsciiCase(spelt, kCommonFilesSpelt);
}

// A key's full name in the 32-bit view of a 64-bit Windows, as regedit shows
// it: HKEY_LOCAL_MACHINE\SOFTWARE's keys, its classes aside, under Wow6432Node.
std::string InWow6432Node(const std::string& fullName);

// A registry key's full name as regedit shows it in the view.
inline std::string KeyNameInView(const EditionView& view, const std::string& fullName) {
  return view.wow6432 ? InWow6432Node(fullName) : fullName;
}

}  // namespace kelvane::platform
