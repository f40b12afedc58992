#pragma once

#include "platform/interface/objects.h"
#include "platform/sim/machine.h"

namespace kelvane::platform::sim {

// Creates the automation objects by programmatic identifier and binds the
// two WMI monikers the tool uses; a fault makes either fail.
class SimObjects final : public platform::Objects {
 public:
  explicit SimObjects(Machine& machine) : machine_(machine) {}
  std::unique_ptr<platform::Shell> CreateShell() override;
  std::unique_ptr<platform::FileSystem> CreateFileSystem() override;
  std::unique_ptr<platform::Network> CreateNetwork() override;
  std::unique_ptr<platform::RegistryProvider> GetRegistryProvider(const std::string& moniker, RegistryView view) override;
  using platform::Objects::GetRegistryProvider;
  std::unique_ptr<platform::ProductServices> GetProductServices(const std::string& moniker) override;

 private:
  Machine& machine_;
};

}  // namespace kelvane::platform::sim
