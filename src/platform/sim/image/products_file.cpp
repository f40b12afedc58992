#include "platform/sim/image/products_file.h"

#include "platform/sim/image/image_error.h"
#include "platform/sim/image/ini_file.h"
#include "platform/sim/image/text_case.h"

namespace kelvane::platform::sim {

std::vector<InstalledProduct> ParseProducts(const std::string& text, const std::string& fileName) {
  const IniFile ini = ParseIni(text, fileName);
  std::vector<InstalledProduct> products;
  for (const auto& section : ini.sections) products.push_back({section, std::nullopt, {}, {}, std::nullopt});
  for (const auto& entry : ini.entries) {
    InstalledProduct* product = nullptr;
    for (auto& candidate : products) {
      if (candidate.code == entry.section) product = &candidate;
    }
    if (!product || entry.section.empty()) throw ImageError(fileName, entry.line, "a key outside a product: " + entry.key);
    if (SameIgnoringAsciiCase(entry.key, "Name")) {
      product->name = entry.value;
    } else if (SameIgnoringAsciiCase(entry.key, "RemovesKey")) {
      product->removesKeys.push_back(entry.value);
    } else if (SameIgnoringAsciiCase(entry.key, "RemovesFolder")) {
      product->removesFolders.push_back(entry.value);
    } else if (SameIgnoringAsciiCase(entry.key, "PerUser")) {
      product->perUser = SameIgnoringAsciiCase(entry.value, "yes");
    } else if (SameIgnoringAsciiCase(entry.key, "UninstallFails")) {
      try {
        std::size_t used = 0;
        product->uninstallFails = std::stol(entry.value, &used, 0);
        if (used != entry.value.size()) throw std::invalid_argument(entry.value);
      } catch (const std::exception&) {
        throw ImageError(fileName, entry.line, "UninstallFails= takes a status number, not: " + entry.value);
      }
    } else {
      throw ImageError(fileName, entry.line, "unknown key: " + entry.key);
    }
  }
  return products;
}

std::string FormatProducts(const std::vector<InstalledProduct>& products) {
  std::string text;
  for (const auto& product : products) {
    if (!text.empty()) text += "\n";
    text += "[" + product.code + "]\n";
    if (product.name) text += "Name=" + *product.name + "\n";
    for (const auto& key : product.removesKeys) text += "RemovesKey=" + key + "\n";
    for (const auto& folder : product.removesFolders) text += "RemovesFolder=" + folder + "\n";
    if (product.uninstallFails) text += "UninstallFails=" + std::to_string(*product.uninstallFails) + "\n";
    if (product.perUser) text += "PerUser=yes\n";
  }
  return text;
}

}  // namespace kelvane::platform::sim
