#pragma once

#include <string>

#include "platform/interface/platform.h"

namespace kelvane::installer {

// Uninstalls, one after the other, every Windows Installer product whose
// name begins with "Microsoft Office", except another Office's.
void UninstallMSIs(platform::Platform& platform);

inline constexpr const char* kProductNamePrefix = "Microsoft Office";

// Whether the phase uninstalls the product: its name begins with the prefix
// and its code is no other Office's. A name that cannot be read counts as not
// matching.
bool IsOffice2010Product(platform::Product& product);
inline constexpr const char* kProductQuery = "Select * from Win32_Product";

// root\cimv2 on the named machine, joined piece by piece as the phase joins it.
inline std::string ProductServicesMoniker(const std::string& strComputer) {
  return std::string("winmgmts:") + "{impersonationLevel=impersonate}!\\\\" + strComputer + "\\root\\cimv2";
}

}  // namespace kelvane::installer
