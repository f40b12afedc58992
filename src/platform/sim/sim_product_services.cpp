#include "platform/sim/image/text_case.h"
#include "platform/sim/sim_product_services.h"
#include "platform/sim/windows_errors.h"

namespace kelvane::platform::sim {

namespace {

// A product object stays bound to its product code; once the product is
// gone, the object finds nothing.
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

  long Uninstall(const std::string&) override {
    const InstalledProduct product = Installed();
    const std::string shownName = product.name.value_or(code_);
    machine_.Check(Operation::Uninstall, shownName, WmiGenericFailure());
    if (product.uninstallFails) return *product.uninstallFails;
    machine_.log().Append({"uninstall", shownName});
    for (const auto& key : product.removesKeys) machine_.registry().Remove(key);
    for (const auto& path : product.removesFolders) {
      if (const auto folder = machine_.drive().Find(path)) machine_.Delete(*folder, true);
    }
    auto& products = machine_.products();
    std::erase_if(products, [&](const InstalledProduct& other) { return other.code == code_; });
    return 0;
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
    if (!SameName(query, "Select * from Win32_Product")) throw platform::Error(static_cast<long>(0x80041017), "Invalid query");
    std::vector<std::unique_ptr<platform::Product>> products;
    // Per-machine products only: one a user installed for himself is his
    // own, and its uninstallation must not run with an administrator's rights.
    for (const auto& product : machine_.products()) {
      if (!product.perUser) products.push_back(std::make_unique<SimProduct>(machine_, product.code));
    }
    return products;
  }
  std::vector<platform::PatchRegistration> EnumPatches() override { throw platform::Error(static_cast<long>(0x80004001L), "Not implemented"); }
  std::string DecomposeDescriptor(const std::string&) override { throw platform::Error(static_cast<long>(0x80004001L), "Not implemented"); }

 private:
  Machine& machine_;
};

}  // namespace

std::unique_ptr<platform::ProductServices> MakeProductServices(Machine& machine) {
  return std::make_unique<SimProductServices>(machine);
}

}  // namespace kelvane::platform::sim
