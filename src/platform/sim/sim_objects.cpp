#include "platform/sim/sim_objects.h"

#include "platform/shared/wmi_moniker.h"
#include "platform/sim/sim_file_system.h"
#include "platform/sim/sim_network.h"
#include "platform/sim/sim_product_services.h"
#include "platform/sim/sim_registry_provider.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/windows_errors.h"

namespace kelvane::platform::sim {

std::unique_ptr<platform::Shell> SimObjects::CreateShell() {
  machine_.Check(Operation::CreateObject, platform::kShellProgId, CannotCreateObject());
  return MakeShell(machine_);
}

std::unique_ptr<platform::FileSystem> SimObjects::CreateFileSystem() {
  machine_.Check(Operation::CreateObject, platform::kFileSystemProgId, CannotCreateObject());
  return MakeFileSystem(machine_);
}

std::unique_ptr<platform::Network> SimObjects::CreateNetwork() {
  machine_.Check(Operation::CreateObject, platform::kNetworkProgId, CannotCreateObject());
  return MakeNetwork(machine_);
}

std::unique_ptr<platform::RegistryProvider> SimObjects::GetRegistryProvider(const std::string& moniker, RegistryView view) {
  machine_.Check(Operation::GetObject, moniker, InvalidMoniker());
  RequireRegistryProviderMoniker(moniker);
  return MakeRegistryProvider(machine_, view);
}

std::unique_ptr<platform::ProductServices> SimObjects::GetProductServices(const std::string& moniker) {
  machine_.Check(Operation::GetObject, moniker, InvalidMoniker());
  RequireProductServicesMoniker(moniker);
  return MakeProductServices(machine_);
}

}  // namespace kelvane::platform::sim
