#pragma once

#include <string>
#include <vector>

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

// Whether the spelling begins with a reference to Program Files, Common
// Files or not, without regard to case: the paths that differ by view.
bool DiffersByView(std::string_view spelt);

// A registry key's full name as regedit shows it in the view: the 32-bit
// view's HKEY_LOCAL_MACHINE\SOFTWARE keys under Wow6432Node.
std::string KeyNameInView(const EditionView& view, const std::string& fullName);

}  // namespace kelvane::platform
