#pragma once

#include <string>

#include "image_builder.h"

namespace kelvane::sim_tool {

// The traces a full installation of Office 2010 leaves on a Windows 7
// machine in every place the tool cleans, and beside them things that must
// survive: other programs' folders and keys, near-miss names, a product
// that is not Office, the user's own files.
void AddOffice2010(ImageBuilder& image);

// One of Office's Windows Installer products, with a folder its
// uninstallation removes.
struct OfficeProduct {
  std::string code;
  std::string name;
  std::string removesFolder;
  std::string version;
};

// The product and the registrations the Installer keeps for it: its
// uninstall entry and its packed product keys, which its uninstallation
// takes away again.
void AddInstalledProduct(ImageBuilder& image, const OfficeProduct& product);

// A product code in the Windows Installer's packed form: the first three
// groups reversed, the two digits of every later byte swapped.
std::string PackedGuid(const std::string& braced);

// Office 2010's upgrade code, packed, and where the Installer keeps the
// machine's components' clients.
inline const std::string kOffice2010UpgradeCode = "1011C000000000000000000000F01FEC";
inline const std::string kMachineComponents =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Components\\";

}  // namespace kelvane::sim_tool
