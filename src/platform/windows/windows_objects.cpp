#include "platform/shared/wmi_moniker.h"
#include "platform/windows/windows_file_system.h"
#include "platform/windows/windows_network.h"
#include "platform/windows/windows_platform.h"
#include "platform/windows/windows_product_services.h"
#include "platform/windows/windows_registry_provider.h"
#include "platform/windows/windows_shell.h"

namespace kelvane::platform::windows {

namespace {

class WindowsObjects final : public Objects {
 public:
  std::unique_ptr<Shell> CreateShell() override { return MakeShell(); }
  std::unique_ptr<FileSystem> CreateFileSystem() override { return MakeFileSystem(); }
  std::unique_ptr<Network> CreateNetwork() override { return MakeNetwork(); }

  using Objects::GetRegistryProvider;
  std::unique_ptr<RegistryProvider> GetRegistryProvider(const std::string& moniker, RegistryView view) override {
    RequireRegistryProviderMoniker(moniker);
    return ConnectRegistryProvider(view);
  }

  std::unique_ptr<ProductServices> GetProductServices(const std::string& moniker) override {
    RequireProductServicesMoniker(moniker);
    return MakeProductServices();
  }
};

}  // namespace

std::unique_ptr<Objects> MakeObjects() { return std::make_unique<WindowsObjects>(); }

}  // namespace kelvane::platform::windows
