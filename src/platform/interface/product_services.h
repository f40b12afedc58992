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
  // Returns when the product is removed, with a status no caller reads.
  virtual long Uninstall() = 0;
};

// The WMI services of root\cimv2.
class ProductServices {
 public:
  virtual ~ProductServices() = default;
  // One product object per installed product, in the provider's order.
  virtual std::vector<std::unique_ptr<Product>> ExecQuery(const std::string& query) = 0;
};

}  // namespace kelvane::platform
