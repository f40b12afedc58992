#pragma once

#include <string>

namespace kelvane::platform::windows {

// The pieces of a WMI object path moniker:
// "winmgmts:{impersonationLevel=impersonate}!\\MACHINE\NAMESPACE[:CLASS]".
struct WmiMoniker {
  std::string machine;
  std::string nameSpace;  // "root\default"
  std::string className;  // empty when the moniker names only the namespace
};

// Parses the moniker; fails (MK_E_SYNTAX) on anything else.
WmiMoniker ParseMoniker(const std::string& moniker);

// Fails unless the moniker names the local machine and the given namespace
// and class (empty: no class), compared without regard to case.
WmiMoniker RequireMoniker(const std::string& moniker, const std::string& nameSpace, const std::string& className);

}  // namespace kelvane::platform::windows
