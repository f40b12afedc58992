#pragma once

#include <string>
#include <vector>

namespace kelvane::installer {

// What the Installer answered for one product the uninstall phase took.
struct UninstallResult {
  std::string productCode;  // braced
  std::string name;
  long status;  // the Installer's status, or kUninstallCallFailed
};

// The uninstall call itself failed (the product object could not be had):
// no status of the Installer's.
inline constexpr long kUninstallCallFailed = -1;

// What follows from the Installer's answer for a product.
enum class Verdict {
  Removed,        // 0, 1605: gone, and its records with it
  RestartNeeded,  // 3010: removed; a restart finishes it
  Remains,        // 1601, 1602, 1625, a 1618 that stays: never scrubbed; reported
  Scrub,          // 1603, 1612, 1619, 1620, 1635, 1636, a failed call, or 0/1605 with records left
};

// The verdict for a status, given whether the product's Installer records
// (UserData\S-1-5-18\Products\<packed>) are still there afterwards.
Verdict Judge(long status, bool recordsRemain);

}  // namespace kelvane::installer
