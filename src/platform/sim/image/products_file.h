#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvane::platform::sim {

// One installed Windows Installer product of products.ini.
struct InstalledProduct {
  std::string code;                 // the section name
  std::optional<std::string> name;  // nothing: the name cannot be read
  std::vector<std::string> removesKeys;
  std::vector<std::string> removesFolders;
  std::optional<long> uninstallFails;  // the status an uninstallation reports
  bool perUser = false;                // installed for one user: never listed
};

// Throws ImageError for a malformed line, a key outside a product, an
// unknown key or a status that is not a number.
std::vector<InstalledProduct> ParseProducts(const std::string& text, const std::string& fileName);
std::string FormatProducts(const std::vector<InstalledProduct>& products);

}  // namespace kelvane::platform::sim
