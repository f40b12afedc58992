#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kelvane::platform {

// One installed Windows Installer product (Win32_Product).
class Product {
 public:
  virtual ~Product() = default;
  virtual std::string Name() = 0;
  // Its braced product code (IdentifyingNumber).
  virtual std::string ProductCode() = 0;
  // Removes the product and returns the Installer's status (0, 1605 already
  // gone, 3010 a restart is needed to finish, 1603, 1612 the source or the
  // cached package is missing, ...). The Installer is never allowed to
  // restart the machine itself (REBOOT=ReallySuppress). With installerLog,
  // the Installer writes its own log of the removal to that file.
  virtual long Uninstall(const std::string& installerLog) = 0;
};

// One patch as the Installer lists it for one product it is applied to; both
// codes braced.
struct PatchRegistration {
  std::string patchCode;
  std::string productCode;
};

// The WMI services of root\cimv2.
class ProductServices {
 public:
  virtual ~ProductServices() = default;
  // One product object per installed product, in the provider's order.
  virtual std::vector<std::unique_ptr<Product>> ExecQuery(const std::string& query) = 0;
  // Every patch of every product the Installer knows, in every context (per
  // machine, and per user for every user), one entry per patch and product
  // (MsiEnumPatchesEx).
  virtual std::vector<PatchRegistration> EnumPatches() = 0;
  // The braced product code a published component's descriptor (a darwin
  // descriptor, as Installer\Components values hold them) belongs to
  // (MsiDecomposeDescriptor); fails for one that cannot be decomposed.
  virtual std::string DecomposeDescriptor(const std::string& descriptor) = 0;
};

}  // namespace kelvane::platform
