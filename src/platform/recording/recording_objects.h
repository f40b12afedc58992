#pragma once

#include <memory>
#include <string>

#include "platform/interface/objects.h"

namespace kelvane::platform::recording {

class RecordingPlatform;

// Creates the automation objects by programmatic identifier and binds the
// two WMI monikers, each logged and failing as it is told to.
class RecordingObjects final : public platform::Objects {
 public:
  explicit RecordingObjects(RecordingPlatform& recorder) : recorder_(recorder) {}
  std::unique_ptr<platform::Shell> CreateShell() override;
  std::unique_ptr<platform::FileSystem> CreateFileSystem() override;
  std::unique_ptr<platform::Network> CreateNetwork() override;
  using platform::Objects::GetRegistryProvider;
  std::unique_ptr<platform::RegistryProvider> GetRegistryProvider(const std::string& moniker,
                                                                 platform::RegistryView view) override;
  std::unique_ptr<platform::ProductServices> GetProductServices(const std::string& moniker) override;

 private:
  void Create(const std::string& progId);
  void Bind(const std::string& moniker);

  RecordingPlatform& recorder_;
};

}  // namespace kelvane::platform::recording
