#include "platform/shared/installer_guid.h"
#include "platform/sim/image/text_case.h"
#include "platform/sim/installer_records.h"
#include "platform/sim/sim_product_services.h"
#include "platform/sim/windows_errors.h"

namespace kelvane::platform::sim {

namespace {

// A product object stays bound to its product code; once the product is
// gone, the object finds nothing.
constexpr long kUnknownProduct = 1605;
constexpr long kRestartNeeded = 3010;

class SimProduct final : public platform::Product {
 public:
  SimProduct(Machine& machine, std::string code) : machine_(machine), code_(std::move(code)) {}

  std::string Name() override {
    const InstalledProduct& product = Installed();
    machine_.Check(Operation::Name, product.name.value_or(code_), WmiNotFound());
    if (!product.name) throw WmiNotFound();
    return *product.name;
  }

  std::string ProductCode() override { return code_; }

  // As the Installer: a status faults.ini or products.ini names, with
  // nothing changed (a 3010 removes the product and asks for a restart);
  // 1605 for a product it no longer knows; or the product and its records
  // removed.
  long Uninstall(const std::string& installerLog) override {
    const InstalledProduct product = Installed();
    const std::string shownName = product.name.value_or(code_);
    machine_.Check(Operation::Uninstall, shownName, WmiGenericFailure());
    std::optional<long> status = machine_.UninstallStatus(shownName, code_);
    if (!status) status = product.uninstallFails;
    if (status && *status != kRestartNeeded) return *status;
    if (!IsRegistered(machine_, code_)) return kUnknownProduct;
    if (installerLog.empty()) {
      machine_.log().Append({"uninstall", shownName});
    } else {
      machine_.log().Append({"uninstall", shownName, installerLog});
    }
    for (const auto& key : product.removesKeys) machine_.registry().Remove(key);
    for (const auto& path : product.removesFolders) {
      if (const auto folder = machine_.drive().Find(path)) machine_.Delete(*folder, true);
    }
    RemoveProductRecords(machine_, code_);
    auto& products = machine_.products();
    std::erase_if(products, [&](const InstalledProduct& other) { return other.code == code_; });
    return status.value_or(0);
  }

 private:
  const InstalledProduct& Installed() const {
    for (const auto& product : machine_.products()) {
      if (product.code == code_) return product;
    }
    throw WmiNotFound();
  }

  Machine& machine_;
  std::string code_;
};

class SimProductServices final : public platform::ProductServices {
 public:
  explicit SimProductServices(Machine& machine) : machine_(machine) {}
  std::vector<std::unique_ptr<platform::Product>> ExecQuery(const std::string& query) override {
    machine_.Check(Operation::ExecQuery, query, WmiGenericFailure());
    if (!SameIgnoringAsciiCase(query, "Select * from Win32_Product")) {
      throw platform::Error(static_cast<long>(0x80041017), "Invalid query");
    }
    std::vector<std::unique_ptr<platform::Product>> products;
    // Per-machine products only: one a user installed for himself is his
    // own, and its uninstallation must not run with an administrator's rights.
    // The Installer lists a product while it is registered.
    for (const auto& product : machine_.products()) {
      if (!product.perUser && IsRegistered(machine_, product.code)) products.push_back(std::make_unique<SimProduct>(machine_, product.code));
    }
    return products;
  }
  std::vector<platform::PatchRegistration> EnumPatches() override {
    machine_.Check(Operation::EnumPatches, "", WmiGenericFailure());
    return RegisteredPatches(machine_);
  }
  std::string DecomposeDescriptor(const std::string& descriptor) override {
    const platform::Error invalid(static_cast<long>(0x80070057), "The parameter is incorrect.");
    machine_.Check(Operation::DecomposeDescriptor, descriptor, invalid);
    const auto product = platform::installer_guid::DescriptorProduct(descriptor);
    if (!product) throw invalid;
    return *product;
  }

 private:
  Machine& machine_;
};

}  // namespace

std::unique_ptr<platform::ProductServices> MakeProductServices(Machine& machine) {
  return std::make_unique<SimProductServices>(machine);
}

}  // namespace kelvane::platform::sim
