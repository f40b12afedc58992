#pragma once

#include <string>
#include <vector>

#include "platform/interface/product_services.h"
#include "platform/sim/machine.h"

namespace kelvane::platform::sim {

// Where the Windows Installer keeps its records, as Windows does: what it
// publishes of a product under SOFTWARE\Classes\Installer, and its own data
// under ...\CurrentVersion\Installer (UserData\<SID> per context, S-1-5-18
// for the machine).
inline const std::string kClassesInstaller = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Installer";
inline const std::string kInstallerData = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer";
inline const std::string kMachineData = kInstallerData + "\\UserData\\S-1-5-18";

// Whether the Installer knows the product: its Classes\Installer\Products
// key is there (a per-machine product's registration).
bool IsRegistered(const Machine& machine, const std::string& productCode);

// Every product's patches in every context, from the Patches key of each
// UserData\<SID>\Products\<packed>, in enumeration order.
std::vector<platform::PatchRegistration> RegisteredPatches(const Machine& machine);

// What the Installer removes with a per-machine product: its published
// keys, its UserData, its client value in every component and upgrade code
// (and what is left empty), its published descriptors, its patches that no
// other product lists, its uninstall entry, its cached package and icons.
void RemoveProductRecords(Machine& machine, const std::string& productCode);

}  // namespace kelvane::platform::sim
