#pragma once

#include <string>
#include <vector>

#include "installer/uninstall_result.h"
#include "platform/interface/platform.h"

namespace kelvane::installer {

// What the uninstall phase needs to know of the run around it.
struct UninstallOptions {
  // The run's own log, when one is written: the Installer's log of each
  // product's removal is written beside it.
  std::string runLogPath;
};

// Uninstalls, one after the other, every per-machine Windows Installer
// product of Office 2010: every Office 14 product code but the kept ones,
// and, without Office's signature, every product whose name begins with
// "Microsoft Office". Another Office's products stay. Returns the
// Installer's answer for each product it took, in order.
std::vector<UninstallResult> UninstallMSIs(platform::Platform& platform, const UninstallOptions& options = {});

inline constexpr const char* kProductNamePrefix = "Microsoft Office";

// Whether the phase uninstalls the product: an Office 14 code that no kept
// product owns, or, for a code without Office's signature (or one that cannot
// be read), a name that begins with the prefix. A name that cannot be read
// counts as not matching.
bool IsOffice2010Product(platform::Product& product);
inline constexpr const char* kProductQuery = "Select * from Win32_Product";

// How long a product whose removal found another installation running (1618)
// waits for it before its one more try; as long as the unattended run waits
// before it starts.
inline constexpr unsigned kInstallerBusyWaitMilliseconds = 10 * 60 * 1000;

// The Installer's log of one product's removal, beside the run's log: the
// run's log's name without its extension, then the product code.
std::string InstallerLogPath(const std::string& runLogPath, const std::string& productCode);

// The journal's note for a product kept whole, once per product.
inline constexpr const char* kKeptNote = "kept";

// root\cimv2 on the named machine, joined piece by piece as the phase joins it.
inline std::string ProductServicesMoniker(const std::string& strComputer) {
  return std::string("winmgmts:") + "{impersonationLevel=impersonate}!\\\\" + strComputer + "\\root\\cimv2";
}

}  // namespace kelvane::installer
