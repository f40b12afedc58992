#pragma once

#include <string>

namespace kelvane::platform {

// The pieces of a WMI object path moniker:
// "winmgmts:{impersonationLevel=impersonate}!\\MACHINE\NAMESPACE[:CLASS]".
struct WmiMoniker {
  std::string machine;
  std::string nameSpace;  // "root\default"
  std::string className;  // empty when the moniker names only the namespace
};

// Parses the moniker; fails (MK_E_SYNTAX) on anything else.
WmiMoniker ParseMoniker(const std::string& moniker);

// The two providers the tool binds, read by one rule on every machine: the
// moniker must name this machine (".") and the provider's namespace and
// class, compared without regard to case, or binding fails as WMI fails.
void RequireRegistryProviderMoniker(const std::string& moniker);  // root\default:StdRegProv
void RequireProductServicesMoniker(const std::string& moniker);   // root\cimv2

}  // namespace kelvane::platform
