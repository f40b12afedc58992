#pragma once

#include <memory>
#include <string>

#include "platform/interface/file_system.h"
#include "platform/interface/network.h"
#include "platform/interface/product_services.h"
#include "platform/interface/registry_provider.h"
#include "platform/interface/shell.h"

namespace kelvane::platform {

// Programmatic identifiers of the automation objects a phase creates.
inline constexpr const char* kShellProgId = "WScript.Shell";
inline constexpr const char* kFileSystemProgId = "Scripting.FileSystemObject";
inline constexpr const char* kNetworkProgId = "WScript.Network";

// Where a phase gets its automation objects: created by programmatic
// identifier, or bound by WMI moniker. Any of these can fail.
class Objects {
 public:
  virtual ~Objects() = default;
  virtual std::unique_ptr<Shell> CreateShell() = 0;
  virtual std::unique_ptr<FileSystem> CreateFileSystem() = 0;
  virtual std::unique_ptr<Network> CreateNetwork() = 0;
  // The registry provider in the program's own view, or in the given one.
  std::unique_ptr<RegistryProvider> GetRegistryProvider(const std::string& moniker) {
    return GetRegistryProvider(moniker, RegistryView::Program);
  }
  virtual std::unique_ptr<RegistryProvider> GetRegistryProvider(const std::string& moniker, RegistryView view) = 0;
  virtual std::unique_ptr<ProductServices> GetProductServices(const std::string& moniker) = 0;
};

}  // namespace kelvane::platform
